// Start-up, Run, Stop, Pause and Exit through the program's own windows: the state each leaves
// behind, the hosts file after each, and the check code in front of the guarded ones.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "shell_fixture.h"
#include "support/sim_clock.h"
#include "ui/common/message_box.h"
#include "ui/common/system_clock.h"
#include "ui/main/website_locks.h"
#include "ui/restraint/unt_Options.h"
#include "ui/restraint/unt_checkcode.h"
#include "ui/restraint/unt_pause.h"

namespace tallowby::test {
namespace {

using store::ConfigLine;

const std::vector<std::string> kWholeDaySites = {"social.example"};
const std::vector<std::string> kSessionSites = {"news.example", "social.example"};

QColor textColour(const QWidget* widget) {
    return widget->palette().color(QPalette::WindowText);
}

class RunStateTest : public ShellTest {
  protected:
    // Every control Running switches, in the main window and in the dialogs.
    std::vector<QWidget*> editingControls() const {
        std::vector<QWidget*> controls = {main->gb_sessionAll->btn_sessionAdd,
                                          main->gb_sessionAll->btn_clear,
                                          main->gb_sessionAll->cb_sun,
                                          main->gb_sessionAll->gb_weekDay,
                                          main->gb_wholeday->cb_w6,
                                          main->gb_wholeday->rb_wholedayFocus,
                                          main->gb_wholeday->btn_wholedaydomainDel};
        for (QWidget* control : windows.frmmain->dialogs.frm_Options->editingControls())
            controls.push_back(control);
        return controls;
    }

    void expectRunning() const {
        EXPECT_TRUE(main->isRunning());
        EXPECT_FALSE(main->m_run->isEnabled());
        EXPECT_TRUE(main->M_stop->isEnabled());
        EXPECT_TRUE(main->M_pause->isEnabled());
        EXPECT_FALSE(main->T_pause->isActive());
        EXPECT_TRUE(main->timer_running->isActive());
        EXPECT_EQ(main->lb_note1->text(), "Please stop run before edit.");
        for (QWidget* control : editingControls())
            EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
        EXPECT_EQ(iconKey(main->windowIcon()), runIconKey());
    }

    void expectStopped() const {
        EXPECT_FALSE(main->isRunning());
        EXPECT_TRUE(main->m_run->isEnabled());
        EXPECT_FALSE(main->M_stop->isEnabled());
        EXPECT_FALSE(main->M_pause->isEnabled());
        EXPECT_FALSE(main->timer_running->isActive());
        EXPECT_EQ(main->lb_running->text(), "No Run");
        EXPECT_EQ(textColour(main->lb_running), QColor(255, 0, 0));
        EXPECT_EQ(main->gbox_status->palette().color(QPalette::Text), QColor(255, 0, 0));
        EXPECT_TRUE(main->lb_note1->text().isEmpty());
        for (QWidget* control : editingControls())
            EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
        for (QWidget* control : {static_cast<QWidget*>(main->gb_sessionAll->lbox_processList),
                                 static_cast<QWidget*>(windows.frmmain->dialogs.frm_Options->gb_options),
                                 static_cast<QWidget*>(windows.frmmain->dialogs.frm_checkcode->btn_OK)})
            EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
        EXPECT_EQ(iconKey(main->windowIcon()), stoppedIconKey());
        EXPECT_TRUE(hostsHasOnlyLocalhost());
    }

    void pauseFor(const QString& minutes) {
        ui::Tfrm_pause* pause = windows.frmmain->dialogs.frm_pause.data();
        whenModal([pause, minutes](QDialog*) {
            pause->cbox_pause->setCurrentText(minutes);
            pause->btn_ok->click();
        });
        main->M_pauseClick();
    }
};

TEST_F(RunStateTest, StartUpLoadsAppliesTheSettingsAndRunsShortlyAfter) {
    setConfig(ConfigLine::StartWithSystem, "1");
    setConfig(ConfigLine::CheckCodeToStop, "1");
    start();
    EXPECT_EQ(enforcement.debugPrivilegeRequests, 1);
    EXPECT_EQ(enforcement.autostart.adds, 1);
    EXPECT_EQ(enforcement.autostart.dels, 0);
    EXPECT_EQ(blockedSites(), kWholeDaySites);
    EXPECT_TRUE(main->gb_wholeday->isEnabled());
    EXPECT_TRUE(main->ShowMainForm);
    EXPECT_EQ(iconKey(main->windowIcon()), stoppedIconKey());
    // The tick timer is on once every window exists; the start-up Run is due once the message
    // loop runs.
    EXPECT_TRUE(main->isRunning());
    EXPECT_EQ(main->timer_minimize->interval(), 100);
    EXPECT_TRUE(main->timer_minimize->isSingleShot());

    main->timer_tofocusonTimer();
    main->HostsRefreshPending = false;
    startUpRun();
    expectRunning();
    EXPECT_FALSE(main->timer_minimize->isActive());
    EXPECT_TRUE(main->HostsRefreshPending);
    // LoadConfig has set the Options dialog from the file.
    EXPECT_TRUE(windows.frmmain->dialogs.frm_Options->cb_checkstop->isChecked());
    EXPECT_TRUE(windows.frmmain->dialogs.frm_Options->cb_start->isChecked());
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(RunStateTest, InAWaylandSessionTheUserIsToldOnceWhatCannotBeEnforced) {
    enforcement.waylandSession = true;
    start();
    startUpRun();
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains("Wayland")) << messages.texts[0].toStdString();
    EXPECT_TRUE(messages.texts[0].contains("websites")) << "the websites are blocked all the same";
    expectRunning();
}

TEST_F(RunStateTest, StartWithSystemOffRemovesTheAutostartEntry) {
    start();
    EXPECT_EQ(enforcement.autostart.adds, 0);
    EXPECT_EQ(enforcement.autostart.dels, 1);
}

TEST_F(RunStateTest, StopWithoutItsSwitchStopsAtOnceAndRunRestores) {
    start();
    startUpRun();
    main->timer_tofocusonTimer();
    EXPECT_EQ(blockedSites(), kSessionSites);

    main->M_stop->trigger();
    expectStopped();
    EXPECT_EQ(main->stopCount(), 1);

    main->m_run->trigger();
    expectRunning();
    EXPECT_EQ(blockedSites(), kWholeDaySites);
    main->timer_tofocusonTimer();
    EXPECT_EQ(blockedSites(), kSessionSites);
}

TEST_F(RunStateTest, GuardedStopActsOnlyAfterTheRightCode) {
    setConfig(ConfigLine::CheckCodeToStop, "1");
    start();
    startUpRun();
    main->timer_tofocusonTimer();

    for (CodeAnswer refused : {CodeAnswer::Cancel, CodeAnswer::WrongThenCancel}) {
        answerCheckCode(refused);
        main->M_stopClick();
        expectRunning();
        EXPECT_EQ(blockedSites(), kSessionSites);
        EXPECT_EQ(main->checkGuard.CheckPurpose, ui::purpose::Stop);
        EXPECT_FALSE(main->checkGuard.StopConfirmed);
    }
    EXPECT_EQ(messages.texts, QStringList{"Failed - please double check."});

    answerCheckCode(CodeAnswer::Correct);
    main->M_stopClick();
    expectStopped();
    EXPECT_FALSE(main->checkGuard.StopConfirmed);
}

TEST_F(RunStateTest, ExitWithoutItsSwitchLiftsTheBlocksAndEnds) {
    start();
    startUpRun();
    main->timer_tofocuson->stop();
    main->timer_tofocusonTimer();
    main->show();
    main->m_exit->trigger();
    EXPECT_TRUE(main->ExitAllowed);
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(hostsHasOnlyLocalhost());
    EXPECT_FALSE(main->isRunning());
}

TEST_F(RunStateTest, GuardedExitCancelledKeepsTheProgramAndItsBlocks) {
    setConfig(ConfigLine::CheckCodeToExit, "1");
    start();
    startUpRun();
    main->timer_tofocusonTimer();
    main->show();

    answerCheckCode(CodeAnswer::Cancel);
    main->m_exitClick();
    EXPECT_FALSE(main->ExitAllowed);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(blockedSites(), kSessionSites);
    expectRunning();

    answerCheckCode(CodeAnswer::Correct);
    main->m_exitClick();
    EXPECT_TRUE(main->ExitAllowed);
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(hostsHasOnlyLocalhost());
}

TEST_F(RunStateTest, ExitWhoseHostsWriteFailsStillEndsAndSaysWhatStaysBlocked) {
    start();
    startUpRun();
    main->show();
    // A folder where the hosts file should be: it can be neither read nor replaced.
    std::filesystem::remove(enforcement.hostsPath);
    std::filesystem::create_directory(enforcement.hostsPath);
    main->m_exitClick();
    EXPECT_TRUE(main->ExitAllowed);
    EXPECT_FALSE(main->isVisible());
    EXPECT_FALSE(main->isRunning());
    ASSERT_EQ(messages.texts.size(), 1);
    const QString& told = messages.texts.front();
    EXPECT_TRUE(told.startsWith(QStringLiteral("Could not write the hosts file ") +
                                QString::fromStdString(enforcement.hostsPath.string()) +
                                QStringLiteral(": ")))
        << told.toStdString();
    EXPECT_TRUE(told.endsWith(QStringLiteral("stay blocked until the file can be written.")))
        << told.toStdString();
}

TEST_F(RunStateTest, WebsitesKeptUntilTheirSessionEndsOutlastStopPauseAndExitUntilTheirTimeOrAnEarlyLift) {
    setConfig(ConfigLine::WebsiteBlocksStay, "1");
    start();
    startUpRun();
    main->timer_tofocusonTimer();
    // The session's site until its end at 12:00, the whole-day site until midnight.
    const auto until = [](int day, int hours) {
        return ui::epochSeconds(engine::localMs(engine::kit::at(2026, 12, day, engine::kit::hms(hours, 0))));
    };
    const std::vector<platform::BlockLine> kept = {{"news.example", until(7, 12)},
                                                   {"social.example", until(8, 0)}};
    const auto keptLines = [this] {
        std::vector<platform::BlockLine> lines = blockLines();
        std::ranges::sort(lines, {}, &platform::BlockLine::site);
        return lines;
    };
    EXPECT_EQ(keptLines(), kept);

    // Stop and a pause lift nothing kept; the question says what stays, and No keeps it.
    for (const auto& lift : std::vector<std::function<void()>>{[this] { main->M_stop->trigger(); },
                                                               [this] { pauseFor(QStringLiteral("5")); }}) {
        if (!main->isRunning())
            main->m_run->trigger();
        messages.texts.clear();
        ui::setNextAnswer(false);
        lift();
        QCoreApplication::processEvents();
        EXPECT_EQ(keptLines(), kept);
        ASSERT_EQ(messages.texts.size(), 1);
        for (const char* line : {"news.example until 12:00\n", "social.example until midnight\n"})
            EXPECT_TRUE(messages.texts[0].contains(line)) << messages.texts[0].toStdString();
    }
    main->T_pause->stop();

    // Its time come, the session's site goes while the rules are off; the whole-day one stays.
    clock->set(engine::kit::at(2026, 12, 7, engine::kit::hms(12, 0, 1)));
    main->checkWebsiteLocks();
    EXPECT_EQ(blockedSites(), std::vector<std::string>{"social.example"});

    // An early lift is asked for with an administrator's password; Exit offers it too.
    ui::setNextAnswer(true);
    main->m_exitClick();
    EXPECT_TRUE(hostsHasOnlyLocalhost());
}

// A lock that ends another day is told with its day, so "until 11:05" never means tomorrow's.
TEST(LockEndText, NamesTheDayOfALockThatEndsAnotherDay) {
    const auto at = [](int day, int hours, int minutes) {
        return ui::epochSeconds(
            engine::localMs(engine::kit::at(2026, 12, day, engine::kit::hms(hours, minutes))));
    };
    const std::int64_t now = at(7, 22, 30);
    const std::vector<std::pair<std::int64_t, QString>> cases = {
        {at(7, 23, 5), "23:05"},
        {at(8, 0, 0), "midnight"},
        {at(8, 11, 5), "tomorrow 11:05"},
        {at(9, 0, 0), "Wed 9 Dec 00:00"},
        {at(10, 9, 0), "Thu 10 Dec 09:00"},
    };
    for (const auto& [until, text] : cases)
        EXPECT_EQ(ui::lockEndText(until, now), text) << text.toStdString();
}

TEST_F(RunStateTest, ATickQueuedBeforeStopOrPauseActsOnNothing) {
    start();
    startUpRun();
    main->timer_tofocuson->stop();
    main->queueTick();
    main->M_stopClick();
    const int listings = enforcement.desktop.windowListings;
    QCoreApplication::processEvents();
    EXPECT_TRUE(hostsHasOnlyLocalhost());
    EXPECT_EQ(enforcement.desktop.windowListings, listings);
    EXPECT_TRUE(enforcement.desktop.posts.empty());
}

TEST_F(RunStateTest, ACloseAskedForInsideTheProgramGoesTheWayOfExit) {
    setConfig(ConfigLine::CheckCodeToExit, "1");
    start();
    startUpRun();
    main->timer_tofocusonTimer();
    main->show();
    answerCheckCode(CodeAnswer::Cancel);
    EXPECT_FALSE(main->close());
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->checkGuard.CheckPurpose, ui::purpose::Exit);
    EXPECT_EQ(blockedSites(), kSessionSites);

    answerCheckCode(CodeAnswer::Correct);
    EXPECT_TRUE(main->close());
    EXPECT_TRUE(main->ExitAllowed);
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(hostsHasOnlyLocalhost());
}

TEST_F(RunStateTest, PauseStopsWithoutTheStopCodeCountsDownAndRunsAgain) {
    setConfig(ConfigLine::CheckCodeToStop, "1");
    start();
    startUpRun();
    main->timer_tofocusonTimer();

    // Checkcode to Pause is off: the stop a pause makes asks for no code of its own.
    EXPECT_EQ(unexpectedModals([this] { pauseFor(QStringLiteral("1")); }), 0);
    EXPECT_FALSE(main->isRunning());
    EXPECT_TRUE(main->isPaused());
    EXPECT_TRUE(main->m_run->isEnabled());
    EXPECT_FALSE(main->M_stop->isEnabled());
    EXPECT_FALSE(main->M_pause->isEnabled());
    EXPECT_EQ(main->T_pause->interval(), 60'000);
    EXPECT_EQ(main->PauseEndTime, ui::wallClockMs(monday(9, 31, 5)));
    EXPECT_TRUE(hostsHasOnlyLocalhost());
    EXPECT_FALSE(main->checkGuard.StopConfirmed);

    main->T_mm_noteTimer();
    EXPECT_EQ(main->gb_today->title(), "Pause for 1 minute");
    EXPECT_EQ(main->lb_today->text(), "Countdown  00:01:00");
    clock->advance(25'000);
    main->T_mm_noteTimer();
    EXPECT_EQ(main->lb_today->text(), "Countdown  00:00:35");

    main->T_pauseTimer();
    expectRunning();
    main->timer_tofocusonTimer();
    EXPECT_EQ(main->gb_today->title(), "Today");
    EXPECT_EQ(blockedSites(), kSessionSites);
}

TEST_F(RunStateTest, RunDuringAPauseEndsItAtOnce) {
    start();
    startUpRun();
    pauseFor(QStringLiteral("10"));
    main->T_mm_noteTimer();
    EXPECT_EQ(main->gb_today->title(), "Pause for 10 minutes");
    EXPECT_EQ(main->lb_today->text(), "Countdown  00:10:00");

    main->m_run->trigger();
    expectRunning();
    EXPECT_FALSE(main->isPaused());
    // The countdown is no longer drawn; the next tick puts the date back.
    main->lb_today->clear();
    main->T_mm_noteTimer();
    EXPECT_TRUE(main->lb_today->text().isEmpty());
}

TEST_F(RunStateTest, StatusAnimatesWithTheSecondsAndNoticesBlink) {
    start();
    startUpRun();
    const char* frames[] = {"Running", "Running.", "Running..", "Running..."};
    for (int second = 0; second < 8; ++second) {
        clock->set(monday(10, 0, second));
        main->timer_runningTimer();
        EXPECT_EQ(main->lb_running->text(), frames[second % 4]);
        EXPECT_EQ(textColour(main->lb_running), QColor(0, 128, 0));
        main->T_mm_noteTimer();
        const QColor expected = second % 2 == 0 ? QColor(0, 0, 255) : QColor(0, 0, 0);
        EXPECT_EQ(textColour(main->lb_note1), expected) << second;
        EXPECT_EQ(main->lb_note2->text(), "") << "an empty note has nothing to blink";
    }
    EXPECT_TRUE(main->T_mm_note->interval() == 1000 && main->timer_running->interval() == 1000);
}

TEST_F(RunStateTest, AMissingIconKeepsThePictureItHad) {
    std::filesystem::remove(folder.paths().runningIcon());
    start();
    startUpRun();
    EXPECT_TRUE(main->isRunning());
    EXPECT_EQ(iconKey(main->windowIcon()), stoppedIconKey());
    EXPECT_TRUE(messages.texts.isEmpty());
}

} // namespace
} // namespace tallowby::test
