// The main window against a known program folder: what the loaders put into the widgets, and what
// one tick shows in the header.
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

#include "fake_enforcement.h"
#include "modal_answer.h"
#include "program_folder_fixture.h"
#include "support/sim_clock.h"
#include "ui/common/system_clock.h"
#include "ui/main/untmain.h"

namespace tallowby::test {
namespace {

using ui::Tfrmmain;

store::Lines config(const std::string& profile, const std::string& showWholeDay) {
    return {profile, "0", "0", "1", "1", "1", "1", "10", "0", showWholeDay, "0", "2", "1", "0"};
}

QStringList itemsOf(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

class MainWindowTest : public testing::Test {
  protected:
    TempProgramFolder folder;
    FakeEnforcement enforcement{folder.folder() / "hosts"};
    SimClock* clock = nullptr;
    // What the window tells once the message loop runs (the files' flaws it was made to read).
    MessageLog toldAtStart;
    std::unique_ptr<Tfrmmain> window;

    void writeWorkProfile(const std::string& showWholeDay = "1") {
        const auto& paths = folder.paths();
        folder.write(paths.configFile(), config("Work", showWholeDay));
        folder.write(paths.profileListFile(), {"Default", "Work"});
        // Two sessions and a trailing incomplete group, which is not a session.
        folder.write(paths.sessionFile("Work"),
                     {"09:00", "12:00", "0100000", "1", "code.exe;", "news.example;", "13:30", "15:00",
                      "1111111", "0", "", "", "17:00"});
        folder.write(paths.wholeDayFile("Work"),
                     {"0100001", "1", "firefox-esr;notepad.exe;", "example.com;ab;www.test.org;"});
        folder.write(paths.reminderFile("Work"),
                     {"0000000", "22:30", "1", "1", "1", "10:00", "1", "1111111", "Stretch"});
    }

    void open() {
        auto fixed = std::make_unique<SimClock>();
        clock = fixed.get();
        clock->set(monday(9, 30, 5));
        window = std::make_unique<Tfrmmain>(folder.paths(), enforcement.make(), std::move(fixed));
    }
};

TEST_F(MainWindowTest, LoadersFillListsAndPanels) {
    writeWorkProfile();
    open();

    EXPECT_EQ(window->lb_profile->text(), "Work");
    EXPECT_EQ(window->ProfileLines, (store::Lines{"Default", "Work"}));
    EXPECT_EQ(window->SessionCount, 2);
    EXPECT_EQ(window->SessionLines.size(), 13u);
    EXPECT_EQ(itemsOf(window->gb_sessionAll->lb_sessionList), (QStringList{"09:00-12:00", "13:30-15:00"}));
    EXPECT_EQ(window->gb_sessionAll->selectedSessionIndex(), -1);

    EXPECT_EQ(itemsOf(window->gb_wholeday->lb_wholedayprocess), (QStringList{"firefox-esr", "notepad.exe"}));
    // A short entry is read like any other, and so is everything after it.
    EXPECT_EQ(itemsOf(window->gb_wholeday->lb_wholedaydomain),
              (QStringList{"example.com", "ab", "www.test.org"}));
    const std::array<bool, 7> expectedDays{false, true, false, false, false, false, true};
    const auto boxes = window->gb_wholeday->dayBoxes();
    for (std::size_t day = 0; day < boxes.size(); ++day)
        EXPECT_EQ(boxes[day]->isChecked(), expectedDays[day]) << "day " << day;
    EXPECT_TRUE(window->gb_wholeday->rb_wholedayFocus->isChecked());
    EXPECT_FALSE(window->gb_wholeday->rb_wohledayblock->isChecked());
    EXPECT_FALSE(window->gb_wholeday->LoadingWholeDayPanel);

    const engine::WholeDayPanel panel = window->wholeDayPanel();
    EXPECT_EQ(panel.processes, (std::vector<std::string>{"firefox-esr", "notepad.exe"}));
    EXPECT_EQ(panel.domains, (std::vector<std::string>{"example.com", "ab", "www.test.org"}));
    EXPECT_TRUE(panel.focus);

    EXPECT_EQ(window->ReminderCount, 1);
    ASSERT_GE(window->SoundLines.size(), 2u);
    EXPECT_EQ(window->SoundLines[0], folder.paths().defaultReminderSound().string());
    EXPECT_EQ(window->SoundLines[1], folder.paths().defaultShutdownSound().string());
    EXPECT_EQ(window->CurrentSessionIndex, -1);
    EXPECT_TRUE(window->HostsRefreshPending);
}

TEST_F(MainWindowTest, ReloadingWholeDayFileSwitchesModeAndMissingFileKeepsPanel) {
    writeWorkProfile();
    open();
    const auto other = folder.paths().wholeDayFile("Other");
    folder.write(other, {"1", "0"}); // short: days and lists read as empty
    window->LoadWholedayList(other);
    EXPECT_TRUE(window->gb_wholeday->rb_wohledayblock->isChecked());
    EXPECT_EQ(window->gb_wholeday->lb_wholedayprocess->count(), 0);
    EXPECT_TRUE(window->gb_wholeday->cb_w0->isChecked());
    EXPECT_FALSE(window->gb_wholeday->cb_w1->isChecked());

    window->LoadWholedayList(folder.paths().wholeDayFile("Missing"));
    EXPECT_EQ(window->WholeDayLines, (store::Lines{"1", "0"}));
    EXPECT_TRUE(window->gb_wholeday->rb_wohledayblock->isChecked());
    EXPECT_FALSE(window->gb_wholeday->LoadingWholeDayPanel);
}

TEST_F(MainWindowTest, MissingSessionFileKeepsListAndEmptyFileClearsIt) {
    writeWorkProfile();
    open();
    window->LoadSessionList(folder.paths().sessionFile("Missing"));
    EXPECT_EQ(window->gb_sessionAll->lb_sessionList->count(), 2);

    const auto empty = folder.paths().sessionFile("Empty");
    folder.write(empty, {});
    window->gb_sessionAll->selectSession(1);
    window->LoadSessionList(empty);
    EXPECT_EQ(window->gb_sessionAll->lb_sessionList->count(), 0);
    EXPECT_EQ(window->SessionCount, 0);
    EXPECT_EQ(window->gb_sessionAll->selectedSessionIndex(), -1);
}

TEST_F(MainWindowTest, WithoutConfigurationNothingIsLoadedAndNothingBreaks) {
    open();
    EXPECT_TRUE(window->ConfigLines.empty());
    EXPECT_EQ(window->lb_profile->text(), "No profile");
    EXPECT_EQ(window->gb_sessionAll->lb_sessionList->count(), 0);
    EXPECT_FALSE(window->startsToIcon());
    window->timer_tofocusonTimer();
    EXPECT_EQ(window->lb_clock->text(), "09-30-05");
    EXPECT_EQ(window->lb_current->text(), "No session");
}

TEST_F(MainWindowTest, NoTimerRunsBeforeTheProgramHasMadeEveryWindow) {
    writeWorkProfile();
    open();
    // An error box at start-up runs a message loop: nothing may run the rules while the dialogs,
    // whose controls the rules must lock, do not exist yet.
    for (const QTimer* timer : {window->timer_tofocuson, window->timer_minimize, window->T_mm_note})
        EXPECT_FALSE(timer->isActive()) << timer->objectName().toStdString();
    window->startTimers();
    EXPECT_TRUE(window->timer_minimize->isActive());
}

TEST_F(MainWindowTest, WithoutAProfileNoRuleFileIsWrittenAndTheUserIsTold) {
    open();
    MessageLog messages;
    EXPECT_FALSE(window->save(ui::RuleFile::Sessions, {"09:00", "10:00", "1111111", "0", "", ""}));
    EXPECT_EQ(messages.texts.size(), 1);
    EXPECT_FALSE(std::filesystem::exists(folder.paths().sessionFile("")));
    EXPECT_EQ(window->gb_sessionAll->lb_sessionList->count(), 0);
}

TEST_F(MainWindowTest, SwitchingToAProfileWithoutFilesLeavesNoRuleOfTheOldOne) {
    writeWorkProfile();
    open();
    window->CurrentSessionIndex = 0;
    folder.write(folder.paths().configFile(), config("Empty", "1"));
    window->reloadProfile();
    EXPECT_EQ(window->lb_profile->text(), "Empty");
    EXPECT_EQ(window->SessionCount, 0);
    EXPECT_EQ(window->gb_sessionAll->lb_sessionList->count(), 0);
    EXPECT_EQ(window->ReminderCount, 0);
    const engine::WholeDayPanel panel = window->wholeDayPanel();
    EXPECT_TRUE(panel.processes.empty() && panel.domains.empty());
    EXPECT_TRUE(window->WholeDayLines.empty());
    EXPECT_EQ(window->CurrentSessionIndex, -1);
}

TEST_F(MainWindowTest, ProfileNamesKeepTheirBytes) {
    const std::string name = "B\xC3\xBCro"; // "Büro" in the locale's UTF-8
    folder.write(folder.paths().configFile(), config(name, "1"));
    folder.write(folder.paths().wholeDayFile(name), {"0000000", "1", "caf\xC3\xA9.exe;", ""});
    open();
    EXPECT_EQ(window->lb_profile->text(), QString::fromUtf8("B\xC3\xBCro"));
    EXPECT_EQ(window->wholeDayPanel().processes, (std::vector<std::string>{"caf\xC3\xA9.exe"}));
}

class WholeDayPanelVisibility : public MainWindowTest, public testing::WithParamInterface<const char*> {};

TEST_P(WholeDayPanelVisibility, OnlyExactlyOneShowsThePanelAtTheWideWidth) {
    writeWorkProfile(GetParam());
    open();
    const bool shown = std::string(GetParam()) == "1";
    EXPECT_EQ(window->gb_wholeday->isHidden(), !shown);
    EXPECT_EQ(window->gb_note->isHidden(), !shown);
    EXPECT_EQ(window->M_wholedayevents->isChecked(), shown);
    EXPECT_EQ(window->width(), shown ? window->WideClientWidth : window->NarrowClientWidth);
    EXPECT_LT(window->NarrowClientWidth, window->WideClientWidth);
}

INSTANTIATE_TEST_SUITE_P(ConfigLine9, WholeDayPanelVisibility, testing::Values("1", "0", "", "yes"));

TEST_F(MainWindowTest, EveryControlHasRoomForItsTextAtBothWidths) {
    writeWorkProfile();
    open();
    window->show();
    for (bool wide : {true, false}) {
        window->showWholeDayPanel(wide);
        QCoreApplication::processEvents();
        const QRect client = window->centralWidget()->rect();
        for (QWidget* control : window->centralWidget()->findChildren<QWidget*>()) {
            if (control->isHidden() || !control->isVisibleTo(window.get()) || control->objectName().isEmpty())
                continue;
            QSize needed = control->minimumSizeHint().expandedTo(control->minimumSize());
            // Push buttons are kept narrower than the style's wide default; their text must still fit.
            if (auto* button = qobject_cast<QPushButton*>(control))
                needed.setWidth(button->fontMetrics().horizontalAdvance(button->text()) + 16);
            EXPECT_GE(control->width(), needed.width()) << control->objectName().toStdString();
            EXPECT_GE(control->height(), needed.height()) << control->objectName().toStdString();
            const QRect inClient(control->mapTo(window->centralWidget(), QPoint(0, 0)), control->size());
            EXPECT_TRUE(client.contains(inClient)) << control->objectName().toStdString();
        }
    }
}

TEST_F(MainWindowTest, TickShowsClockDateAndCurrentSession) {
    writeWorkProfile();
    open();
    window->timer_tofocusonTimer();
    EXPECT_EQ(window->lb_clock->text(), "09-30-05");
    EXPECT_EQ(window->gb_today->title(), "Today");
    EXPECT_EQ(window->lb_today->text(), "12/07/2026  Monday");
    EXPECT_EQ(window->lb_profile->text(), "Work");
    EXPECT_EQ(window->lb_current->text(), "09:00-12:00");
    EXPECT_EQ(window->CurrentSessionIndex, 0);

    // 13:30-15:00 runs every day, the 09:00 session on Mondays only.
    clock->set(monday(12, 30, 0));
    window->timer_tofocusonTimer();
    EXPECT_EQ(window->lb_clock->text(), "12-30-00");
    EXPECT_EQ(window->lb_current->text(), "No session");
    EXPECT_EQ(window->CurrentSessionIndex, -1);

    clock->set({2026, 12, 8, 3, monday(9, 30, 0).msOfDay});
    window->timer_tofocusonTimer();
    EXPECT_EQ(window->lb_today->text(), "12/08/2026  Tuesday");
    EXPECT_EQ(window->lb_current->text(), "No session");
}

TEST_F(MainWindowTest, TickEmptiesTheSessionPanelOnlyWithoutSelection) {
    writeWorkProfile();
    open();
    auto fillPanel = [this] {
        window->gb_sessionAll->cb_Mon->setChecked(true);
        window->gb_sessionAll->lbox_processList->addItem("code.exe");
        window->gb_sessionAll->Lbox_domainlist->addItem("news.example");
    };
    fillPanel();
    window->gb_sessionAll->selectSession(0);
    window->timer_tofocusonTimer();
    EXPECT_TRUE(window->gb_sessionAll->cb_Mon->isChecked());
    EXPECT_EQ(window->gb_sessionAll->lbox_processList->count(), 1);

    window->gb_sessionAll->selectSession(-1);
    window->timer_tofocusonTimer();
    for (QCheckBox* day : window->gb_sessionAll->dayBoxes())
        EXPECT_FALSE(day->isChecked());
    EXPECT_EQ(window->gb_sessionAll->lbox_processList->count(), 0);
    EXPECT_EQ(window->gb_sessionAll->Lbox_domainlist->count(), 0);
}

TEST_F(MainWindowTest, SelectingASessionShowsItsRecordInThePanel) {
    writeWorkProfile();
    open();
    window->gb_sessionAll->selectSession(0);
    const std::array<bool, 7> mondayOnly{false, true, false, false, false, false, false};
    const auto days = window->gb_sessionAll->dayBoxes();
    for (std::size_t day = 0; day < days.size(); ++day)
        EXPECT_EQ(days[day]->isChecked(), mondayOnly[day]) << "day " << day;
    EXPECT_TRUE(window->gb_sessionAll->rb_dedicatedMode->isChecked());
    EXPECT_EQ(itemsOf(window->gb_sessionAll->lbox_processList), QStringList{"code.exe"});
    EXPECT_EQ(itemsOf(window->gb_sessionAll->Lbox_domainlist), QStringList{"news.example"});
    EXPECT_FALSE(window->gb_sessionAll->LoadingSessionPanel);

    window->gb_sessionAll->selectSession(1);
    for (QCheckBox* day : days)
        EXPECT_TRUE(day->isChecked());
    EXPECT_TRUE(window->gb_sessionAll->rb_blockMode->isChecked());
    EXPECT_EQ(window->gb_sessionAll->lbox_processList->count(), 0);
    EXPECT_EQ(window->gb_sessionAll->Lbox_domainlist->count(), 0);
}

TEST_F(MainWindowTest, TimerReachesTheTickThroughTheEventQueue) {
    writeWorkProfile();
    open();
    EXPECT_TRUE(window->lb_clock->text().isEmpty());
    // A queued call: nothing happens inside the timer's own signal, so a modal window opened by a
    // tick cannot hold the timer up.
    QMetaObject::invokeMethod(window->timer_tofocuson, "timeout", Qt::DirectConnection);
    EXPECT_TRUE(window->lb_clock->text().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(window->lb_clock->text(), "09-30-05");
}

// The caption a control shows, whatever its kind.
QString captionOf(const QObject* control) {
    if (auto* box = qobject_cast<const QGroupBox*>(control))
        return box->title();
    if (auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (auto* menu = qobject_cast<const QMenu*>(control))
        return menu->title();
    if (auto* action = qobject_cast<const QAction*>(control))
        return action->text();
    return {};
}

TEST_F(MainWindowTest, ControlsCarryTheirNamesAndCaptions) {
    writeWorkProfile();
    open();
    // clang-format off
    const std::pair<const char*, const char*> captions[] = {
        {"gbox_status", "Status"}, {"gb_head", "Session"}, {"gb_profile", "Profile"}, {"gb_note", " "},
        {"gb_sessionAll", "Session Events"}, {"gb_sessionList", "Session List"}, {"gb_weekDay", "Week Days"},
        {"gb_processList", "Process List"}, {"gb_blockedDomain", "Blocked Website List"},
        {"gb_wholeday", "Whole Day Events"}, {"fb_wholedayweekdays", "Week Days"},
        {"gb_wholedayProcess", "Process List"}, {"fb_wholedaydomain", "Blocked Website List"},
        {"btn_sessionAdd", "Add"}, {"btn_sessionDel", "Del"}, {"btn_clear", "Clear"}, {"btn_edit", "Edit"},
        {"btn_processAdd", "Add"}, {"btn_processDel", "Del"}, {"btn_domainAdd", "Add"}, {"btn_domainDel", "Del"},
        {"btn_wholedayprocessAdd", "Add"}, {"btn_wholedayprocessDel", "Del"},
        {"btn_wholedaydomainAdd", "Add"}, {"btn_wholedaydomainDel", "Del"},
        {"cb_sun", "Sun"}, {"cb_Mon", "Mon"}, {"cb_Tue", "Tue"}, {"cb_wed", "Wed"}, {"cb_Thu", "Thu"},
        {"cb_fri", "Fri"}, {"cb_sat", "Sat"}, {"cb_w0", "Sun"}, {"cb_w3", "Wed"}, {"cb_w6", "Sat"},
        {"rb_blockMode", "Block"}, {"rb_dedicatedMode", "Focus"},
        {"rb_wohledayblock", "Block"}, {"rb_wholedayFocus", "Focus"},
        {"m_run", "Run"}, {"M_stop", "Stop"}, {"M_pause", "Pause"}, {"M_profiles", "Profiles"},
        {"M_showprofiles", "Profiles"}, {"M_mReminder", "Reminders"}, {"M_reminder", "Reminders"},
        {"M_shutdown", "Auto shutdown"}, {"M_options", "Options"}, {"M_showoptions", "Options"},
        {"M_wholedayevents", "Show whole day events"}, {"m_help", "Help"}, {"Content1", "Content"},
        {"Onlinehelp1", "Online help"}, {"About2", "About"}, {"m_exit", "Exit"},
    };
    // clang-format on
    for (const auto& [name, caption] : captions) {
        const QObject* control = window->findChild<QObject*>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(captionOf(control), caption) << name;
    }
    EXPECT_EQ(window->windowTitle(), "Tallowby");
    EXPECT_EQ(window->gb_profile->toolTip(), "Click to show all profiles");
    EXPECT_EQ(window->gb_sessionAll->btn_clear->toolTip(),
              "Clear session list, all sessions will be removed");
    EXPECT_EQ(window->gb_wholeday->toolTip(), "Whole Day Events have higher priority than Session events");
}

TEST(SystemClockTest, WeekDaysCountFromSundayAndTimeFromMidnight) {
    struct Case {
        QDateTime time;
        int weekDay;
        std::int64_t msOfDay;
    };
    const Case cases[] = {
        {QDateTime(QDate(2026, 12, 6), QTime(23, 59, 59, 999)), 1, 86'399'999}, // Sunday
        {QDateTime(QDate(2026, 12, 7), QTime(0, 0)), 2, 0},                     // Monday
        {QDateTime(QDate(2026, 12, 12), QTime(9, 30, 5)), 7, 34'205'000},       // Saturday
    };
    for (const Case& c : cases) {
        const engine::LocalDateTime local = ui::toLocalDateTime(c.time);
        EXPECT_EQ(local.weekDay, c.weekDay) << c.time.toString().toStdString();
        EXPECT_EQ(local.msOfDay, c.msOfDay);
        EXPECT_EQ(local.year, c.time.date().year());
        EXPECT_EQ(local.month, c.time.date().month());
        EXPECT_EQ(local.day, c.time.date().day());
    }
}

} // namespace
} // namespace tallowby::test
