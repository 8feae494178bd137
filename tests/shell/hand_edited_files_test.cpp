// Files edited by hand, or left behind, as the program meets them at start: what could not be read is
// told once the main window is there, in one message; the rest is in force; nothing outside the
// profiles folder is read; a killed writer's leftovers are cleared.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <ostream>
#include <random>
#include <sys/stat.h>

#include "shell_fixture.h"
#include "support/file_bytes.h"
#include "ui/common/long_message.h"
#include "ui/common/message_box.h"

namespace tallowby::test {
namespace {

namespace fs = std::filesystem;
using store::ConfigLine;

class HandEditedFilesTest : public ShellTest {
  protected:
    // The messages shown by the time the message loop has run once after start-up; none may come
    // while the windows are being made.
    QStringList startAndSettle() {
        ui::setMessageHook([this](const QString& text) {
            EXPECT_NE(main, nullptr) << "a box before the main window: " << text.toStdString();
            messages.texts << text;
        });
        start();
        return messages.texts;
    }
};

TEST_F(HandEditedFilesTest, SkippedRecordsAreToldOnceAndTheReadableRulesRun) {
    const auto& paths = folder.paths();
    // A good session, one whose end cannot be read, and a record cut off by hand.
    folder.write(paths.sessionFile("Work"), {"09:00", "12:00", "0100000", "1", "code.exe;", "news.example;",
                                             "13:00", "25:00", "0100000", "0", "", "", "14:00", "15:00"});
    const QStringList told = startAndSettle();
    ASSERT_EQ(told.size(), 1) << told.join('|').toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("session 2 (13:00-25:00) is not enforced")));
    EXPECT_TRUE(told[0].contains(QStringLiteral("the last 2 lines do not make a whole session")));
    EXPECT_TRUE(told[0].contains(QString::fromStdString(paths.sessionFile("Work").string())));

    startUpRun();
    main->timer_tofocusonTimer();
    EXPECT_EQ(blockedSites(), (std::vector<std::string>{"news.example", "social.example"}));
    // Saving the sessions reloads the file with the same problems: they were told already.
    main->gb_sessionAll->selectSession(0);
    main->M_stopClick();
    ASSERT_TRUE(main->save(ui::RuleFile::Sessions, main->SessionLines));
    EXPECT_EQ(messages.texts.size(), 1);
}

// What start-up showed of its message box, seen from inside the box's own loop.
struct ShownBox {
    bool seen = false;
    QString title;
    QString text;
    bool withinScreen = false;
    bool okWithinScreen = false;
};

// A rule file no editor writes: a line of megabytes, or noise.
struct Noise {
    const char* what;
    bool wholeDay; // else the session file
    std::string bytes;
    const char* told; // a piece of the message
};

void PrintTo(const Noise& noise, std::ostream* out) {
    *out << noise.what;
}

class StartUpReportTest : public HandEditedFilesTest, public testing::WithParamInterface<Noise> {};

TEST_P(StartUpReportTest, TheBoxFitsTheScreenAndExitAnswers) {
    const Noise& noise = GetParam();
    const auto& paths = folder.paths();
    testsupport::writeFile(noise.wholeDay ? paths.wholeDayFile("Work") : paths.sessionFile("Work"),
                           noise.bytes);
    ui::setMessageHook(nullptr); // the real box
    ShownBox shown;
    whenModal([&shown](QDialog* box) {
        shown.seen = true;
        shown.title = box->windowTitle();
        const QRect screen = box->screen()->availableGeometry();
        shown.withinScreen = screen.contains(box->frameGeometry());
        auto* ok = box->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        shown.okWithinScreen =
            ok->isVisible() && screen.contains(QRect(ok->mapToGlobal(QPoint()), ok->size()));
        if (auto* plain = qobject_cast<QMessageBox*>(box))
            shown.text = plain->text();
        else if (auto* report = dynamic_cast<ui::LongMessageBox*>(box))
            shown.text = report->summary()->text() + "\n\n" + report->details()->toPlainText();
        ok->click();
    });
    start({}, true);
    ASSERT_TRUE(shown.seen);
    EXPECT_EQ(shown.title, QStringLiteral("Tallowby"));
    EXPECT_TRUE(shown.withinScreen);
    EXPECT_TRUE(shown.okWithinScreen);
    EXPECT_TRUE(shown.text.startsWith(QStringLiteral("Some of the rules could not be read")))
        << shown.text.toStdString();
    EXPECT_TRUE(shown.text.contains(QLatin1String(noise.told))) << shown.text.toStdString();
    EXPECT_LT(shown.text.size(), 16 * 1024);
    EXPECT_FALSE(shown.text.contains(QChar(0)));

    main->m_exit->trigger();
    EXPECT_TRUE(main->ExitAllowed);
    EXPECT_FALSE(main->isVisible());
}

std::string noiseBytes(std::size_t size) {
    std::mt19937 random(20261208);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    RuleFiles, StartUpReportTest,
    testing::Values(Noise{"a 4 MiB time", false,
                          std::string((4 << 20) - 64, '9') + "\r\n12:00\r\n1111111\r\n0\r\n\r\n\r\n",
                          "9999999999...\" is not a time of day"},
                    Noise{"a 4 MiB website", true,
                          "1111111\r\n0\r\n\r\n" + std::string((4 << 20) - 64, 'w') + ";\r\n",
                          "wwwwwwwwww...\" in the whole-day website list is not a host name"},
                    Noise{"64 KiB of noise", false, noiseBytes(64 * 1024), " more."}));

TEST_F(HandEditedFilesTest, ALongEntryShowsItsBeginningAndIsSavedWhole) {
    const fs::path file = folder.paths().wholeDayFile("Work");
    const std::string site(300, 'w');
    folder.write(file, {"0100000", "0", "game.exe;", "social.example;" + site + ";"});
    start();
    const QListWidget* sites = main->gb_wholeday->lb_wholedaydomain;
    ASSERT_EQ(sites->count(), 2);
    EXPECT_EQ(sites->item(1)->text(), QString(200, QLatin1Char('w')) + QStringLiteral("..."));
    main->gb_wholeday->cb_w0->click();
    EXPECT_EQ(store::readLines(file),
              (store::Lines{"1100000", "0", "game.exe;", "social.example;" + site + ";"}));
}

// A rule file edited by hand while the program runs: the next save from the window reads it again,
// says which file changed, and makes the user's change on what the file holds now.
TEST_F(HandEditedFilesTest, AHandEditMadeAfterStartSurvivesTheNextChangeAndIsTold) {
    const auto& paths = folder.paths();
    folder.write(paths.sessionFile("Work"), {"09:00", "12:00", "0100000", "1", "code.exe;", "news.example;",
                                             "13:00", "14:00", "0100000", "0", "", ""});
    start();
    main->M_stopClick();
    messages.texts.clear();
    // A website for session 1, Saturday and a program for session 2, a third session.
    const store::Lines sessions{"09:00", "12:00", "0100000", "1", "code.exe;", "news.example;video.example;",
                                "13:00", "14:00", "0100001", "0", "chat.exe;", "",
                                "15:00", "16:00", "1000000", "0", "",          ""};
    const store::Lines wholeDay{"0100000", "0", "game.exe;", "social.example;forum.example;"};
    testsupport::writeFile(paths.sessionFile("Work"), store::joinLines(sessions));
    testsupport::writeFile(paths.wholeDayFile("Work"), store::joinLines(wholeDay));

    ui::SessionPanel* panel = main->gb_sessionAll;
    panel->selectSession(1);
    panel->lb_sessionListClick();
    panel->cb_Tue->click();
    store::Lines expected = sessions;
    expected[8] = "0110001";
    EXPECT_EQ(store::readLines(paths.sessionFile("Work")), expected);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith(QString::fromStdString(paths.sessionFile("Work").string()) +
                                             QStringLiteral(" was changed outside Tallowby")));
    // The panel shows the session as the file has it now; the next change has nothing to tell.
    EXPECT_EQ(panel->selectedSessionIndex(), 1);
    EXPECT_EQ(panel->lbox_processList->count(), 1);
    EXPECT_EQ(panel->lb_sessionList->count(), 3);
    panel->cb_wed->click();
    expected[8] = "0111001";
    EXPECT_EQ(store::readLines(paths.sessionFile("Work")), expected);
    EXPECT_EQ(messages.texts.size(), 1);

    main->gb_wholeday->cb_w3->click();
    EXPECT_EQ(store::readLines(paths.wholeDayFile("Work")),
              (store::Lines{"0101000", "0", "game.exe;", "social.example;forum.example;"}));
    ASSERT_EQ(messages.texts.size(), 2);
    EXPECT_TRUE(messages.texts[1].startsWith(QString::fromStdString(paths.wholeDayFile("Work").string())));

    // A session taken away by hand is not made again by a change to it.
    const store::Lines first(sessions.begin(), sessions.begin() + 6);
    testsupport::writeFile(paths.sessionFile("Work"), store::joinLines(first));
    panel->cb_Thu->click();
    EXPECT_EQ(store::readLines(paths.sessionFile("Work")), first);
    ASSERT_EQ(messages.texts.size(), 4);
    EXPECT_EQ(messages.texts[3],
              QStringLiteral("Failed - the session 13:00-14:00 is no longer in the file: nothing was changed."));
}

TEST_F(HandEditedFilesTest, AProfileNameThatLeavesTheProfilesFolderLoadsNoFiles) {
    const fs::path outside =
        folder.folder().parent_path() / (folder.folder().filename().string() + "-outside");
    fs::create_directories(outside);
    testsupport::writeFile(outside / "x.db", "09:00\r\n12:00\r\n1111111\r\n0\r\n\r\nstolen.example;\r\n");
    setConfig(ConfigLine::Profile, "../../" + outside.filename().string() + "/x");
    const QStringList told = startAndSettle();
    fs::remove_all(outside);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QStringLiteral("which is not a plain file name: no rules are loaded")));
    EXPECT_TRUE(main->SessionLines.empty());
    EXPECT_FALSE(main->save(ui::RuleFile::Sessions, store::Lines{}));
    startUpRun();
    main->timer_tofocusonTimer();
    EXPECT_TRUE(hostsHasOnlyLocalhost());
}

TEST_F(HandEditedFilesTest, UnreadableFilesAndAFailedHostsWriteMakeOneMessageAfterTheWindowComes) {
    const auto& paths = folder.paths();
    fs::remove(paths.wholeDayFile("Work"));
    ASSERT_EQ(::mkfifo(paths.wholeDayFile("Work").c_str(), 0600), 0);
    fs::create_directory(enforcement.hostsPath);
    const QStringList told = startAndSettle();
    ASSERT_EQ(told.size(), 1) << told.join('|').toStdString();
    EXPECT_TRUE(told[0].contains(QStringLiteral("Could not read ") +
                                 QString::fromStdString(paths.wholeDayFile("Work").string()) +
                                 QStringLiteral(": it is a named pipe, not a regular file.")));
    EXPECT_TRUE(told[0].contains(QStringLiteral("Could not write the hosts file ") +
                                 QString::fromStdString(enforcement.hostsPath.string())));
    // The sessions were read all the same.
    EXPECT_EQ(main->gb_sessionAll->lb_sessionList->count(), 1);
    // The Run that follows start-up meets the same failure: it is not told again.
    startUpRun();
    EXPECT_EQ(messages.texts.size(), 1);
}

TEST_F(HandEditedFilesTest, AFailedSaveOfTheWholeDayPanelSwitchLeavesTheWindowAsTheFileHasIt) {
    start();
    QCoreApplication::processEvents();
    ASSERT_TRUE(main->M_wholedayevents->isChecked());
    // Nothing can be renamed over a folder, not even by root.
    const fs::path config = folder.paths().configFile();
    fs::remove(config);
    fs::create_directory(config);
    main->M_wholedayevents->trigger();
    EXPECT_TRUE(main->M_wholedayevents->isChecked());
    EXPECT_FALSE(main->gb_wholeday->isHidden());
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith(QStringLiteral("Could not save the settings to ") +
                                             QString::fromStdString(config.string())));
}

TEST_F(HandEditedFilesTest, NoSettingsFileIsMadeFromNothing) {
    start();
    const fs::path config = folder.paths().configFile();
    fs::remove(config);
    const bool shown = main->M_wholedayevents->isChecked();
    main->M_wholedayevents->trigger();
    EXPECT_FALSE(fs::exists(config));
    EXPECT_EQ(main->M_wholedayevents->isChecked(), shown);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(
        messages.texts[0].startsWith(QStringLiteral("Failed - ") + QString::fromStdString(config.string())));
}

TEST_F(HandEditedFilesTest, AKilledWritersLeftoversAreClearedAtStart) {
    const auto& paths = folder.paths();
    const fs::path leftovers[] = {folder.folder() / ".config.db.Ab12Cd",
                                  paths.profilesFolder() / ".Work.db.Zz99Yy",
                                  enforcement.hostsPath.parent_path() / ".hosts.Qq11Ww"};
    for (const fs::path& file : leftovers) {
        testsupport::writeFile(file, "half");
        const timespec old[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 60, 0}};
        ::utimensat(AT_FDCWD, file.c_str(), old, 0);
    }
    testsupport::writeFile(folder.folder() / ".mine.Ab12Cd", "not the program's");
    start();
    for (const fs::path& file : leftovers)
        EXPECT_FALSE(fs::exists(file)) << file;
    EXPECT_TRUE(fs::exists(folder.folder() / ".mine.Ab12Cd"));
}

} // namespace
} // namespace tallowby::test
