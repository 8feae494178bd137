// The process pickers over fake windows and processes: what the window list offers, which program
// a picked row adds, typed and browsed names, and what reaches the main window's list.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/edit_rules.h"
#include "modal_answer.h"
#include "platform/fake/fake_platform.h"
#include "platform/linux/path_launchers.h"
#include "platform/linux/xdg_desktop_entries.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "ui/common/message_box.h"
#include "ui/rules/application_chooser.h"
#include "ui/rules/unknown_program_question.h"
#include "ui/rules/unt_addprocess.h"
#include "ui/rules/unt_wholedayAddprocess.h"

namespace tallowby::test {
namespace {

using ui::Tfrm_AddProcess;
using ui::Tfrm_WholedayAddProcess;

const QString kSession = QStringLiteral("Add Process - Session events");
const QString kWholeDay = QStringLiteral("Add Process - Whole day events");

QStringList rows(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

// A window's names as the test gives them by process; else its executable's name alone. Names and
// files are followed on the test's own search path.
class FakeNamer : public platform::ProgramNamer {
  public:
    FakeNamer(platform::FakePlatform& desktop, platform::ProgramLaunchers& launchers)
        : desktop_(desktop), launchers_(launchers) {}
    platform::ProgramNames namesOf(const platform::TopLevelWindow& window) override {
        const auto given = names.find(window.pid);
        return given != names.end() ? given->second : desktop_.namer.namesOf(window);
    }
    platform::ProgramReach reachOf(std::string_view listed) override { return launchers_.reachOf(listed); }
    platform::ProgramReach reachOfFile(const std::filesystem::path& file) override {
        return launchers_.reachOfFile(file);
    }
    std::map<platform::ProcessId, platform::ProgramNames> names;

  private:
    platform::FakePlatform& desktop_;
    platform::ProgramLaunchers& launchers_;
};

class ProcessPickerTest : public testing::Test {
  protected:
    // The search path is the test's own folder, so what the machine has installed plays no part.
    ProcessPickerTest() : path_(qgetenv("PATH")) {
        qputenv("PATH", QByteArray::fromStdString(programs.path()));
    }
    ~ProcessPickerTest() override {
        Tfrm_AddProcess::setFileChooser(nullptr);
        qputenv("PATH", path_);
    }

    template <typename Picker = Tfrm_AddProcess> std::unique_ptr<Tfrm_AddProcess> make() {
        return std::make_unique<Picker>(&target, desktop, desktop, namer, desktop);
    }
    // Types the name and presses Enter.
    static void enter(Tfrm_AddProcess& picker, const QString& typed) {
        picker.edt_progress->setText(typed);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(picker.edt_progress, &enter);
    }
    void program(const std::string& name, const std::string& text = "#!/bin/sh\n") {
        testsupport::writeFile(programs / name, text);
        std::filesystem::permissions(programs / name, std::filesystem::perms::owner_all);
    }

    testsupport::TempFolder programs;
    platform::FakePlatform desktop;
    platform::PathLaunchers launchers{{programs.path()}, &desktop};
    FakeNamer namer{desktop, launchers};
    QListWidget target;
    MessageLog messages;

  private:
    QByteArray path_;
};

// Untitled windows are listed by their program; Tallowby's own windows are left out.
TEST_F(ProcessPickerTest, ListsVisibleWindowsTopmostFirstExceptTheDesktopAndTallowbysOwn) {
    const auto own = static_cast<platform::ProcessId>(QCoreApplication::applicationPid());
    desktop.processes = {{21, "xterm"}, {own, "Tallowby"}};
    desktop.windows = {
        {11, "", true, 21},
        {12, "Tallowby", true, own},
        {13, "", true, own},
        {1, "Editor", true, 11},
        {2, "", true, 12},
        {3, "Hidden", false, 13},
        {4, "Program Manager", true, 14},
        {5, kSession.toStdString(), true, 15},
        {6, kWholeDay.toStdString(), true, 16},
        {7, "Editor", true, 17},
        {8, "Program Manager 2", true, 18},
        {9, std::string(300, 'x'), true, 19},
        {10, std::string(253, 'y') + "\xF0\x9F\x98\x80", true, 20}}; // an emoji's halves at 254
    const std::pair<std::unique_ptr<Tfrm_AddProcess>, QString> pickers[] = {
        {make(), kWholeDay}, {make<Tfrm_WholedayAddProcess>(), kSession}};
    for (const auto& [picker, otherCaption] : pickers) {
        const QStringList expected = {"[xterm]",           "Editor",          otherCaption,     "Editor",
                                      "Program Manager 2", QString(254, 'x'), QString(253, 'y')};
        EXPECT_EQ(rows(picker->lb_programlist), expected) << picker->windowTitle().toStdString();
    }
}

TEST_F(ProcessPickerTest, SelectAddsTheProgramOfThePickedRowsOwnWindow) {
    const std::vector<platform::TopLevelWindow> twoTerminals = {{1, "Terminal", true, 11},
                                                                {2, "Terminal", true, 22}};
    const platform::ProcessSnapshot processes = {{33, "other"}, {11, "xterm"}, {22, "kitty"}};
    desktop.windows = twoTerminals;
    desktop.processes = processes;
    auto picker = make();
    picker->btn_select->click();
    picker->lb_programlistDblClick();
    EXPECT_TRUE(rows(picker->lb_processlist).isEmpty()) << "nothing was selected";
    EXPECT_TRUE(messages.texts.isEmpty());

    for (const int row : {1, 0, 1}) {
        picker->lb_programlist->setCurrentRow(row);
        picker->btn_select->click();
    }
    EXPECT_EQ(rows(picker->lb_processlist), QStringList({"kitty", "xterm", "kitty"}));
    picker->lb_programlistDblClick();
    EXPECT_EQ(messages.texts, QStringList{"Terminal   [kitty]"});

    // What became of the picked window since it was listed; each time nothing is added.
    const std::vector<std::function<void()>> changes = {
        [&] { desktop.windows.pop_back(); },   // it closed
        [&] { desktop.windows[1].pid = 33; },  // its id went to another program
        [&] { desktop.processes.pop_back(); }, // the process has just ended
    };
    for (const auto& change : changes) {
        desktop.windows = twoTerminals;
        desktop.processes = processes;
        change();
        picker->lb_programlist->setCurrentRow(1);
        picker->btn_select->click();
        EXPECT_EQ(picker->lb_processlist->count(), 3);
    }
}

TEST_F(ProcessPickerTest, TypedNamesAreTrimmedAndCheckedBeforeTheyAreAdded) {
    const QString refusal = QString::fromStdString(*engine::processEntryFailure(""));
    const struct {
        QString typed;
        QString added; // empty: refused
    } cases[] = {{"  Firefox-ESR\t", "Firefox-ESR"},
                 {"gimp-2.10", "gimp-2.10"},
                 {"vlc", "vlc"},
                 {"", ""},
                 {"a/b/c", ""},
                 {"ab;cd", ""},
                 {"ab\ncd", ""}};
    desktop.entries = {{.id = "firefox-esr"}, {.id = "gimp", .program = "gimp-2.10"}, {.id = "vlc"}};
    auto picker = make();
    picker->show();
    for (const auto& [typed, added] : cases) {
        messages.texts.clear();
        const QStringList before = rows(picker->lb_processlist);
        enter(*picker, typed);
        SCOPED_TRACE(typed.toStdString());
        const bool refused = added.isEmpty();
        EXPECT_EQ(messages.texts, refused ? QStringList{refusal} : QStringList{});
        EXPECT_EQ(picker->edt_progress->text(), refused ? typed : QString());
        EXPECT_EQ(rows(picker->lb_processlist), refused ? before : before + QStringList{added});
        EXPECT_TRUE(picker->isVisible());
    }
}

TEST_F(ProcessPickerTest, RemovingKeepsTheSelectionInPlace) {
    const struct {
        QStringList entries;
        int selected;
        QStringList left;
        int selectedAfter;
    } cases[] = {{{"aaaa", "bbbb", "cccc"}, 1, {"aaaa", "cccc"}, 1},
                 {{"aaaa", "bbbb", "cccc"}, 2, {"aaaa", "bbbb"}, 1},
                 {{"aaaa"}, 0, {}, -1},
                 {{"aaaa", "bbbb"}, -1, {"aaaa", "bbbb"}, -1}};
    auto picker = make();
    for (const auto& [entries, selected, left, selectedAfter] : cases) {
        picker->lb_processlist->clear();
        picker->lb_processlist->addItems(entries);
        picker->lb_processlist->setCurrentRow(selected);
        picker->btn_delete->click();
        EXPECT_EQ(rows(picker->lb_processlist), left);
        const auto selection = picker->lb_processlist->selectedItems();
        EXPECT_EQ(selection.isEmpty() ? -1 : picker->lb_processlist->row(selection.first()), selectedAfter);
    }
}

TEST_F(ProcessPickerTest, TheTwoPickersDifferInShowResetAndCancel) {
    const struct {
        std::function<std::unique_ptr<Tfrm_AddProcess>()> make;
        QString caption;
        bool refreshesOnShow, focusesAfterReset, cancelKeeps;
    } pickers[] = {
        {[this] { return make(); }, kSession, true, true, true},
        {[this] { return make<Tfrm_WholedayAddProcess>(); }, kWholeDay, false, false, false},
    };
    for (const auto& expected : pickers) {
        desktop.windows = {{1, "Mail", true, 11}};
        target.clear();
        target.addItems({"firefox", "thunderbird"});
        auto picker = expected.make();
        SCOPED_TRACE(expected.caption.toStdString());

        desktop.windows.push_back({2, "Calendar", true, 12});
        whenModal([&](QDialog*) {
            EXPECT_EQ(rows(picker->lb_processlist), rows(&target)) << "the working copy starts from the list";
            EXPECT_EQ(picker->lb_programlist->count(), expected.refreshesOnShow ? 2 : 1);
            picker->edt_progress->setText("typed");
            picker->btn_cancel->click();
            EXPECT_EQ(picker->edt_progress->text(), QString());
            EXPECT_EQ(picker->focusWidget() == picker->edt_progress, expected.focusesAfterReset);
            picker->lb_processlist->addItem("steam");
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(picker.get(), &escape);
        });
        picker->exec();
        const QStringList cancelled = expected.cancelKeeps ? QStringList{"firefox", "thunderbird", "steam"}
                                                           : QStringList{"firefox", "thunderbird"};
        EXPECT_EQ(rows(&target), cancelled);

        // The close box drops the edits of both; OK keeps them.
        picker->show();
        picker->lb_processlist->clear();
        picker->close();
        EXPECT_EQ(rows(&target), cancelled);
        picker->show();
        delete picker->lb_processlist->takeItem(0);
        picker->btn_save->click();
        EXPECT_FALSE(picker->isVisible());
        EXPECT_EQ(rows(&target), cancelled.mid(1));
    }
}

TEST_F(ProcessPickerTest, BrowseOffersTheNameOfTheProgramThatRuns) {
    testsupport::TempFolder folder;
    const auto program = folder / "real-program";
    testsupport::writeFile(program, "#!/bin/sh\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    std::filesystem::create_symlink(program, folder / "alias");
    testsupport::writeFile(folder / "notes.txt", "text");
    std::filesystem::create_symlink(folder / "nowhere", folder / "dangling");
    const auto local = [&](const char* name) { return QString::fromStdString((folder / name).string()); };
    const struct {
        QString chosen;
        QString edit; // what the edit holds afterwards
        bool refused;
    } cases[] = {{local("alias"), "real-program", false},
                 {local("notes.txt"), "kept", true},
                 {local("dangling"), "kept", true},
                 {QString::fromStdString(folder.path().string()), "kept", true},
                 {"", "kept", false}};
    auto picker = make();
    for (const auto& [chosen, edit, refused] : cases) {
        messages.texts.clear();
        picker->edt_progress->setText("kept");
        Tfrm_AddProcess::setFileChooser([&] { return chosen; });
        picker->btn_browse->click();
        SCOPED_TRACE(chosen.toStdString());
        EXPECT_EQ(picker->edt_progress->text(), edit);
        EXPECT_EQ(messages.texts,
                  refused ? QStringList{"Failed - " + chosen + " is not a program file."} : QStringList{});
        EXPECT_EQ(picker->lb_processlist->count(), 0) << "browsing only fills in the name";
    }
}

TEST_F(ProcessPickerTest, EachWindowShowsTheNameThatSelectRecords) {
    desktop.windows = {{1, "Untitled 1 - LibreOffice Writer", true, 11}, {2, "Terminal", true, 12}};
    desktop.processes = {{11, "soffice.bin"}, {12, "xterm"}};
    namer.names[11] = {.executable = "soffice.bin", .application = "libreoffice-writer", .all = {}};
    auto picker = make();
    EXPECT_EQ(rows(picker->lb_programlist),
              QStringList({"Untitled 1 - LibreOffice Writer   [libreoffice-writer]", "Terminal   [xterm]"}));
    for (const int row : {0, 1}) {
        picker->lb_programlist->setCurrentRow(row);
        picker->btn_select->click();
    }
    EXPECT_EQ(rows(picker->lb_processlist), QStringList({"libreoffice-writer", "xterm"}));
}

TEST_F(ProcessPickerTest, ANameNothingAnswersToIsAskedAboutWithTheLikeliestMeanings) {
    program("mytool", "\x7f"
                      "ELF");
    program("write", "\x7f"
                     "ELF");
    program("soffice", "\x7f"
                       "ELF");
    std::filesystem::create_symlink(programs / "soffice", programs / "libreoffice");
    program("lowriter", "#!/bin/sh\nexec soffice --writer \"$@\"\n");
    program("unfollowed", "#!/bin/sh\nsoffice \"$@\"\n");
    desktop.entries = {{.id = "firefox-esr",
                        .name = "Firefox ESR",
                        .menuNames = {"Firefox ESR", "Web Browser"},
                        .program = "firefox-esr"},
                       {.id = "libreoffice-writer",
                        .name = "LibreOffice Writer",
                        .menuNames = {"LibreOffice Writer", "Word Processor"},
                        .program = "libreoffice"},
                       {.id = "org.videolan.VLC",
                        .name = "VLC media player",
                        .menuNames = {"VLC media player"},
                        .program = "vlc"}};
    desktop.windows = {{1, "Document", true, 11}};
    desktop.processes = {{11, "soffice.bin"}, {12, "tray-daemon"}};
    namer.names[11] = {.executable = "soffice.bin",
                       .application = "libreoffice-writer",
                       .all = {"soffice.bin", "libreoffice-writer"}};
    const QString unknown = QStringLiteral("No program named \"%1\" is installed or running.");
    const QString focus =
        QStringLiteral(" In Focus mode its windows are not spared: a program listed under a "
                       "name it does not answer to is minimised too.");
    const QString meant = QStringLiteral(" Did you mean one of these?");
    enum Answer { First, Typed, Back, Enter, NotAsked };
    const struct {
        QString typed;
        bool focusMode;
        Answer answer;
        QString added; // empty: nothing
        QString question;
        QStringList offered;
    } cases[] = {
        {"writer",
         false,
         First,
         "LibreOffice Writer",
         unknown.arg("writer") + meant,
         {"LibreOffice Writer — soffice.bin", "write — write", "lowriter — soffice.bin"}},
        {"firefox",
         true,
         Typed,
         "firefox",
         unknown.arg("firefox") + focus + meant,
         {"Firefox ESR — firefox-esr"}},
        {"web browser x",
         false,
         Back,
         "",
         unknown.arg("web browser x") + meant,
         {"Firefox ESR — firefox-esr"}},
        {"firefx", false, Enter, "", unknown.arg("firefx") + meant, {"Firefox ESR — firefox-esr"}},
        {"unfollowed", false, Typed, "unfollowed", unknown.arg("unfollowed"), {}},
        {"zzqqxx", false, Back, "", unknown.arg("zzqqxx"), {}},
        // Installed, followed on the search path, running: nothing to ask.
        {"ORG.videolan.vlc", false, NotAsked, "ORG.videolan.vlc", "", {}},
        {"vlc media player", false, NotAsked, "vlc media player", "", {}},
        {"word processor", false, NotAsked, "word processor", "", {}},
        {"MyTool", false, NotAsked, "MyTool", "", {}},
        {"lowriter", false, NotAsked, "lowriter", "", {}},
        {"LibreOffice-Writer", true, NotAsked, "LibreOffice-Writer", "", {}},
        {"tray-daemon", false, NotAsked, "tray-daemon", "", {}},
    };
    auto picker = make();
    picker->show();
    for (const auto& [typed, focusMode, answer, added, question, offered] : cases) {
        SCOPED_TRACE(typed.toStdString());
        picker->lb_processlist->clear();
        picker->setFocusMode(focusMode);
        QString asked;
        QStringList listed;
        if (answer != NotAsked)
            whenModal([&, answer = answer](QDialog* dialog) {
                auto* question = qobject_cast<ui::UnknownProgramQuestion*>(dialog);
                ASSERT_NE(question, nullptr);
                asked = question->lb_question->text();
                listed = rows(question->lb_suggestions);
                EXPECT_TRUE(question->lb_suggestions->selectedItems().isEmpty())
                    << "nothing chosen for the user";
                if (answer == First) {
                    question->lb_suggestions->setCurrentRow(0);
                    question->btn_useSuggestion->click();
                } else if (answer == Typed) {
                    question->btn_keepTyped->click();
                } else if (answer == Back) {
                    question->btn_back->click();
                } else {
                    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                    QApplication::sendEvent(question, &enter);
                    if (question->isVisible())
                        question->reject();
                }
            });
        enter(*picker, typed);
        EXPECT_EQ(rows(picker->lb_processlist), added.isEmpty() ? QStringList() : QStringList{added});
        EXPECT_EQ(asked, question);
        EXPECT_EQ(listed, offered);
        EXPECT_EQ(picker->edt_progress->text(), added.isEmpty() ? typed : QString());
    }
}

// The machine's own programs (scripts/install-deps.sh installs them) as a person names them from the
// menu: a menu name, a launcher or a program file is taken at once; a slip is asked about with the
// application meant first.
TEST_F(ProcessPickerTest, RealDebianProgramsAreTakenByTheirMenuNamesOrOfferedFirst) {
    platform::XdgDesktopEntries installed({"/usr/share"});
    qputenv("PATH", "/usr/bin:/bin:/usr/games");
    platform::PathLaunchers machine(platform::searchPathFolders(), &installed);
    FakeNamer named(desktop, machine);
    const auto has = [&](const char* id) {
        return std::ranges::any_of(installed.applications(),
                                   [&](const platform::DesktopEntry& entry) { return entry.id == id; });
    };
    if (!has("debian-xterm") || !has("lxtask") || !has("display-im6.q16") ||
        !std::filesystem::exists("/usr/games/nethack"))
        GTEST_SKIP() << "xterm, lxtask, imagemagick or nethack-console is not installed";
    const struct {
        QString typed;
        QString first; // empty: taken without a question
    } cases[] = {
        {"XTerm", ""},
        {"uxterm", ""},
        {"x-terminal-emulator", ""},
        {"task manager", ""},
        {"ImageMagick (color depth=q16)", ""},
        {"display", ""},
        {"nethack", ""},
        {"xtrem", "XTerm — xterm"},
        {"Task Manger", "Task Manager — lxtask"},
        {"imagemagik", "ImageMagick (color depth=q16) — display-im6.q16"},
        {"nethak", "NetHack (No GUI) — nethack-console"},
        {"netHack (no gui)", ""},
    };
    Tfrm_AddProcess picker(&target, desktop, desktop, named, installed);
    picker.show();
    for (const auto& [typed, first] : cases) {
        SCOPED_TRACE(typed.toStdString());
        picker.lb_processlist->clear();
        QStringList offered;
        if (!first.isEmpty())
            whenModal([&](QDialog* dialog) {
                auto* question = qobject_cast<ui::UnknownProgramQuestion*>(dialog);
                ASSERT_NE(question, nullptr);
                offered = rows(question->lb_suggestions);
                question->lb_suggestions->setCurrentRow(0);
                question->btn_useSuggestion->click();
            });
        enter(picker, typed);
        ASSERT_EQ(picker.lb_processlist->count(), 1);
        if (first.isEmpty()) {
            EXPECT_EQ(picker.lb_processlist->item(0)->text(), typed);
        } else {
            ASSERT_FALSE(offered.isEmpty());
            EXPECT_EQ(offered.first(), first) << offered.join(" | ").toStdString();
            EXPECT_LE(offered.size(), 5);
            EXPECT_EQ(picker.lb_processlist->item(0)->text(), first.section(QStringLiteral(" — "), 0, 0));
        }
    }
}

TEST_F(ProcessPickerTest, BrowseOffersTheApplicationsAndTakesALauncherToItsEntry) {
    program("lo-launcher");
    program("idle");
    program("own-script");
    program("tool", "\x7f"
                    "ELF");
    std::filesystem::create_symlink(programs / "lo-launcher", programs / "libreoffice");
    program("term");
    program("term.wrapper", "#!/usr/bin/perl -w\nexec('term', @ARGV);\n");
    std::filesystem::create_symlink(programs / "term.wrapper", programs / "x-terminal");
    const auto runs = [](const char* id, const char* name, const std::string& path, bool shown = true) {
        platform::DesktopEntry entry{.id = id, .name = name, .programPath = path, .shown = shown};
        entry.program = std::filesystem::path(path).filename().string();
        return entry;
    };
    desktop.entries = {runs("libreoffice-writer", "LibreOffice Writer", "libreoffice"),
                       runs("libreoffice-startcenter", "LibreOffice", "libreoffice"),
                       runs("idle", "IDLE", (programs / "idle").string()),
                       runs("idle-hidden", "IDLE", (programs / "idle").string(), false),
                       runs("org.example.Term", "Terminal", "term")};
    const auto local = [&](const char* name) { return QString::fromStdString((programs / name).string()); };
    const struct {
        QString filter; // empty: a program file instead
        QString file;
        QString edit;
    } cases[] = {{"WRITER", "", "libreoffice-writer"},
                 // A suite's launcher: the name the windows of each of its parts answer to.
                 {"", local("libreoffice"), "libreoffice"},
                 {"", local("lo-launcher"), "libreoffice"},
                 {"", local("idle"), "idle"},
                 {"", local("own-script"), "own-script"}, // asked about: a script that runs nothing
                 // An alternative for a wrapper script that hands over to an application by name.
                 {"", local("x-terminal"), "org.example.Term"},
                 {"", local("tool"), "tool"}};
    auto picker = make();
    picker->show();
    for (const auto& [filter, file, edit] : cases) {
        SCOPED_TRACE(edit.toStdString());
        QStringList listed;
        whenModal([&](QDialog* dialog) {
            auto* chooser = qobject_cast<ui::ApplicationChooser*>(dialog);
            ASSERT_NE(chooser, nullptr);
            listed = rows(chooser->lb_applications);
            chooser->edt_filter->setText(filter);
            (filter.isEmpty() ? chooser->btn_programFile : chooser->btn_choose)->click();
        });
        Tfrm_AddProcess::setFileChooser([&] { return file; });
        picker->btn_browse->click();
        EXPECT_EQ(listed, QStringList({"IDLE   [idle]", "LibreOffice   [libreoffice-startcenter]",
                                       "LibreOffice Writer   [libreoffice-writer]",
                                       "Terminal   [org.example.Term]"}));
        EXPECT_EQ(picker->edt_progress->text(), edit);
        // A browsed program is asked about only when it leads nowhere.
        const bool leadsNowhere = edit == "own-script";
        bool asked = false;
        if (leadsNowhere)
            whenModal([&](QDialog* dialog) {
                asked = true;
                dialog->reject();
            });
        picker->lb_processlist->clear();
        enter(*picker, edit);
        EXPECT_EQ(asked, leadsNowhere);
        EXPECT_EQ(rows(picker->lb_processlist), leadsNowhere ? QStringList() : QStringList{edit});
    }
}

TEST_F(ProcessPickerTest, NarrowOrLowWindowsSnapBackToTheDesignedSize) {
    const struct {
        QSize asked, kept;
    } cases[] = {{{600, 300}, {540, 380}},
                 {{640, 381}, {540, 381}},
                 {{641, 380}, {641, 380}},
                 {{700, 500}, {700, 500}}};
    auto picker = make();
    picker->show();
    for (const auto& [asked, kept] : cases) {
        picker->resize(asked);
        EXPECT_EQ(picker->size(), kept) << asked.width() << "x" << asked.height();
    }
}

} // namespace
} // namespace tallowby::test
