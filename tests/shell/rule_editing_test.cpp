// Making, changing and removing rules through the panels and the rule dialogs of the program's own
// windows: after every click the profile's files say exactly what the window shows.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "shell_fixture.h"
#include "support/file_bytes.h"
#include "ui/common/message_box.h"
#include "ui/rules/unknown_program_question.h"
#include "ui/rules/unt_addprocess.h"
#include "ui/rules/unt_domainadd.h"
#include "ui/rules/unt_sessionAdd.h"
#include "ui/rules/unt_wholedayAddprocess.h"

namespace tallowby::test {
namespace {

class RuleEditingTest : public ShellTest {
  protected:
    void SetUp() override {
        start();
        main->M_stopClick();
        sessions = main->gb_sessionAll;
        wholeDay = main->gb_wholeday;
    }

    std::string sessionFile() const { return testsupport::readFile(folder.paths().sessionFile("Work")); }
    std::string wholeDayFile() const { return testsupport::readFile(folder.paths().wholeDayFile("Work")); }
    static std::string crlf(const store::Lines& lines) { return store::joinLines(lines); }

    // Opens the session time dialog through the button and answers it with these times; a refused
    // time leaves the dialog open, and it is then cancelled.
    void sessionDialog(QPushButton* opener, const char* start, const char* end) {
        whenModal([start, end](QDialog* dialog) {
            auto* times = qobject_cast<ui::Tfrm_sessionAdd*>(dialog);
            ASSERT_TRUE(times);
            const QString s = QString::fromLatin1(start), e = QString::fromLatin1(end);
            times->cbb_starthour->setCurrentText(s.left(2));
            times->cbb_startMinute->setCurrentText(s.right(2));
            times->cbb_endHour->setCurrentText(e.left(2));
            times->cbb_endMinute->setCurrentText(e.right(2));
            times->btn_ok->click();
            if (times->isVisible())
                times->btn_cancel->click();
        });
        opener->click();
    }

    void websiteDialog(QPushButton* opener, const QString& typed) {
        whenModal([typed](QDialog* dialog) {
            auto* website = qobject_cast<ui::Tfrm_domainAdd*>(dialog);
            ASSERT_TRUE(website);
            website->edt_domain->setText(typed);
            website->btn_add->click();
            if (website->isVisible())
                website->btn_cancel->click();
        });
        opener->click();
    }

    ui::SessionPanel* sessions = nullptr;
    ui::WholeDayPanel* wholeDay = nullptr;
};

const store::Lines kWork{"09:00", "12:00", "0100000", "1", "code.exe;", "news.example;"};

TEST_F(RuleEditingTest, ASessionIsAddedSortedInChangedEditedInPlaceAndDeleted) {
    // A hand-edited file: a cut-off record at the end, and no line break after its last line.
    testsupport::writeFile(folder.paths().sessionFile("Work"), crlf(kWork) + "17:00");
    main->LoadSessionList(folder.paths().sessionFile("Work"));
    sessionDialog(sessions->btn_sessionAdd, "07:00", "08:00");
    const store::Lines added{"07:00", "08:00", "1111111", "0", "", ""};
    EXPECT_EQ(sessionFile(), crlf({"07:00", "08:00", "1111111", "0", "", "", "09:00", "12:00", "0100000", "1",
                                   "code.exe;", "news.example;"}));
    EXPECT_EQ(sessions->selectedSessionIndex(), 0);
    EXPECT_TRUE(sessions->cb_sat->isChecked());
    EXPECT_TRUE(sessions->rb_blockMode->isChecked());

    sessions->cb_sat->click();
    sessions->rb_dedicatedMode->click();
    websiteDialog(sessions->btn_domainAdd, QStringLiteral("  games.example "));
    EXPECT_TRUE(main->HostsRefreshPending);
    store::Lines expected = {"07:00", "08:00", "1111110", "1", "", "games.example;"};
    expected.insert(expected.end(), kWork.begin(), kWork.end());
    EXPECT_EQ(sessionFile(), crlf(expected));

    // Edit by double click: preset from the record, new times kept in place, not re-sorted.
    whenModal([](QDialog* dialog) {
        auto* times = static_cast<ui::Tfrm_sessionAdd*>(dialog);
        EXPECT_EQ(times->windowTitle(), "Edit Session");
        EXPECT_EQ(times->startTime(), "09:00");
        EXPECT_EQ(times->endTime(), "12:00");
        times->cbb_starthour->setCurrentText("05");
        times->cbb_endHour->setCurrentText("06");
        times->btn_ok->click();
    });
    sessions->selectSession(1);
    emit sessions->lb_sessionList->itemDoubleClicked(sessions->lb_sessionList->item(1));
    expected[6] = "05:00";
    expected[7] = "06:00";
    EXPECT_EQ(sessionFile(), crlf(expected));
    EXPECT_EQ(sessions->lb_sessionList->item(1)->text(), "05:00-06:00");

    ui::setNextAnswer(false);
    sessions->btn_sessionDel->click();
    EXPECT_EQ(sessionFile(), crlf(expected));
    ui::setNextAnswer(true);
    sessions->btn_sessionDel->click();
    EXPECT_EQ(messages.texts.last(), "Confirm to delete session 05:00-06:00 ?");
    EXPECT_EQ(sessionFile(), crlf(store::Lines(expected.begin(), expected.begin() + 6)));
    EXPECT_EQ(sessions->selectedSessionIndex(), 0) << "the new last entry";

    ui::setNextAnswer(true);
    sessions->btn_clear->click();
    EXPECT_EQ(sessionFile(), "");
    EXPECT_EQ(sessions->lb_sessionList->count(), 0);
}

TEST_F(RuleEditingTest, RefusedInputShowsItsMessageAndStoresNothing) {
    const std::string before = sessionFile();
    sessionDialog(sessions->btn_sessionAdd, "08:00", "09:05");
    sessionDialog(sessions->btn_sessionAdd, "10:00", "10:00");
    sessions->selectSession(0);
    websiteDialog(sessions->btn_domainAdd, QStringLiteral("a;b"));
    sessions->selectSession(-1);
    for (QPushButton* needsSelection :
         {sessions->btn_processAdd, sessions->btn_domainAdd, sessions->btn_edit, sessions->btn_sessionDel})
        needsSelection->click();
    EXPECT_EQ(messages.texts,
              (QStringList{
                  "Failed - end time overlaped with session 09:00:12:00",
                  "Failed - start time should be earlier than end time.",
                  "Failed - Website should be a host name of at least 4 characters, such as www.example.com: "
                  "letters, digits, \"-\" and \".\" only.",
                  "Please select session first.", "Please select session first.",
                  "Please select session to be modified.", "Please select session to be deleted."}));
    EXPECT_EQ(sessionFile(), before);
}

TEST_F(RuleEditingTest, WholeDayChangesReachTheFileAndTheHostsFile) {
    wholeDay->cb_w1->click(); // today, Monday, off
    EXPECT_EQ(wholeDayFile(), crlf({"0000000", "0", "game.exe;", "social.example;"}));
    EXPECT_TRUE(hostsHasOnlyLocalhost());
    wholeDay->cb_w1->click();
    websiteDialog(wholeDay->btn_wholedaydomainAdd, QStringLiteral("video.example"));
    EXPECT_EQ(blockedSites(), (std::vector<std::string>{"social.example", "video.example"}));
    wholeDay->rb_wholedayFocus->click();
    wholeDay->lb_wholedayprocess->setCurrentRow(0);
    wholeDay->btn_wholedayprocessDel->click();
    EXPECT_EQ(wholeDayFile(), crlf({"0100000", "1", "", "social.example;video.example;"}));
    EXPECT_TRUE(wholeDay->rules().focus);
}

TEST_F(RuleEditingTest, ABoxToggledWithoutAClickIsSavedLikeOne) {
    sessions->selectSession(0);
    // What a screen reader's toggle does: toggled, not clicked.
    sessions->cb_Mon->toggle();
    sessions->rb_blockMode->toggle();
    wholeDay->cb_w0->toggle();
    wholeDay->rb_wholedayFocus->toggle();
    EXPECT_EQ(sessionFile(), crlf({"09:00", "12:00", "0000000", "0", "code.exe;", "news.example;"}));
    EXPECT_EQ(wholeDayFile(), crlf({"1100000", "1", "game.exe;", "social.example;"}));
}

TEST_F(RuleEditingTest, APickerLeftOpenAcrossTheEndOfAPauseChangesNothing) {
    main->m_runClick();
    main->beginPause(1);
    sessions->selectSession(0);
    const std::string before = sessionFile();
    whenModal([&](QDialog* dialog) {
        auto* picker = qobject_cast<ui::Tfrm_AddProcess*>(dialog);
        ASSERT_TRUE(picker);
        picker->lb_processlist->setCurrentRow(0);
        picker->btn_delete->click(); // while paused
        main->T_pauseTimer();
        for (QPushButton* button :
             {picker->btn_select, picker->btn_delete, picker->btn_add, picker->btn_browse, picker->btn_save})
            EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
        picker->edt_progress->setText("mpv");
        picker->btn_addClick(); // as a click that was already on its way
        EXPECT_EQ(picker->lb_processlist->count(), 0);
        picker->bnt_close->click();
    });
    sessions->btn_processAdd->click();
    EXPECT_TRUE(main->isRunning());
    EXPECT_EQ(sessionFile(), before);
    EXPECT_EQ(sessions->lbox_processList->count(), 1);
}

TEST_F(RuleEditingTest, TheProcessPickersAskWithTheModeOfTheirRule) {
    // The session is in Focus mode, the whole day in Block mode.
    const QString focus = QStringLiteral("In Focus mode");
    sessions->selectSession(0);
    for (QPushButton* opener : {sessions->btn_processAdd, wholeDay->btn_wholedayprocessAdd}) {
        QString asked;
        whenModal([&asked](QDialog* dialog) {
            auto* picker = qobject_cast<ui::Tfrm_AddProcess*>(dialog);
            ASSERT_TRUE(picker);
            picker->edt_progress->setText(QStringLiteral("zzqqxx"));
            whenModal([&asked](QDialog* question) {
                auto* asking = qobject_cast<ui::UnknownProgramQuestion*>(question);
                ASSERT_TRUE(asking);
                asked = asking->lb_question->text();
                asking->btn_back->click();
            });
            picker->btn_add->click();
            picker->btn_save->click();
        });
        opener->click();
        ASSERT_FALSE(asked.isEmpty());
        EXPECT_EQ(asked.contains(focus), opener == sessions->btn_processAdd);
    }
}

TEST_F(RuleEditingTest, AFailedWriteIsReportedOnceAndThePanelShowsTheFileAgain) {
    const auto file = folder.paths().sessionFile("Work");
    std::filesystem::remove(file);
    std::filesystem::create_directory(file); // nothing can be renamed over a folder
    sessions->selectSession(0);
    sessions->cb_sun->click();
    EXPECT_EQ(messages.texts.size(), 1);
    EXPECT_FALSE(sessions->cb_sun->isChecked()) << "the panel shows what the file still says";
}

TEST_F(RuleEditingTest, WhileRunningEveryEditorIsLockedAndOpeningOneLeavesTheRulesRunning) {
    startUpRun();
    const ui::ProgramDialogs& dialogs = main->dialogs;
    for (QWidget* locked :
         {static_cast<QWidget*>(dialogs.frm_sessionAdd->btn_ok),
          static_cast<QWidget*>(dialogs.frm_domainAdd->btn_add),
          static_cast<QWidget*>(dialogs.frm_WholeDayDomainAdd->btn_add),
          static_cast<QWidget*>(dialogs.frm_AddProcess->btn_save),
          static_cast<QWidget*>(dialogs.frm_WholedayAddProcess->btn_save),
          static_cast<QWidget*>(sessions->cb_sun), static_cast<QWidget*>(wholeDay->btn_wholedaydomainDel)})
        EXPECT_FALSE(locked->isEnabled()) << locked->objectName().toStdString();
    sessions->selectSession(0);
    whenModal([](QDialog* dialog) { static_cast<ui::Tfrm_sessionAdd*>(dialog)->btn_cancel->click(); });
    emit sessions->lb_sessionList->itemDoubleClicked(sessions->lb_sessionList->item(0));
    EXPECT_TRUE(main->isRunning());
}

} // namespace
} // namespace tallowby::test
