// Reminders and the automatic shutdown as the running program fires them: the pop-ups the tick
// opens, the sound they play, and what the shutdown warning's two answers leave behind.
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "shell_fixture.h"
#include "support/file_bytes.h"
#include "ui/alarms/unt_reminderShow.h"
#include "ui/alarms/unt_shutdown.h"

namespace tallowby::test {
namespace {

// The shutdown settings (every day at 09:45, sound on, check code to cancel as given) and two
// reminders a minute apart.
store::Lines reminderFile(const std::string& codeToCancel) {
    return {"1111111",    "09:45", "1",       "1",
            codeToCancel,                                //
            "09:31",      "1",     "0100000", "Stretch", //
            "09:32",      "0",     "1111111", "Drink some water"};
}

class AlarmsTest : public ShellTest {
  protected:
    void startWith(const std::string& codeToCancel) {
        folder.write(folder.paths().reminderFile("Work"), reminderFile(codeToCancel));
        start();
        startUpRun();
    }
    // Two ticks a second apart around the minute, on Monday or days later: the second one's second
    // holds hh:mm:00.
    void tickAt(int hour, int minute, int daysLater = 0) {
        clock->set(engine::kit::at(2026, 12, 7 + daysLater, engine::kit::hms(hour, minute, 0, 200)));
        clock->advance(-1000);
        main->timer_tofocusonTimer();
        clock->advance(1000);
        main->timer_tofocusonTimer();
    }
    store::Lines reminders() const {
        return store::readLines(folder.paths().reminderFile("Work")).value_or(store::Lines{});
    }
    ui::Tfrm_shutdown* warning() const { return main->dialogs.frm_shutdown; }
    std::string shutdownSound() const { return folder.paths().defaultShutdownSound().string(); }
};

TEST_F(AlarmsTest, EachReminderGetsItsOwnPopUpWithItsSound) {
    startWith("0");
    QStringList seen;
    whenModal([&](QDialog* first) {
        auto* stretch = qobject_cast<ui::Tfrm_reminderShow*>(first);
        ASSERT_TRUE(stretch);
        // The next reminder falls due while this one is still open.
        whenModal([&](QDialog* second) {
            auto* water = qobject_cast<ui::Tfrm_reminderShow*>(second);
            ASSERT_TRUE(water);
            seen << water->windowTitle() << water->Memo_sub->toPlainText();
            water->btn_OK->click();
        });
        tickAt(9, 32);
        seen << stretch->windowTitle() << stretch->Memo_sub->toPlainText();
        stretch->btn_OK->click();
    });
    tickAt(9, 31);
    EXPECT_EQ(seen, (QStringList{"Reminder - It's time 09:32", "Drink some water",
                                 "Reminder - It's time 09:31", "Stretch"}));
    ASSERT_EQ(enforcement.sound.started.size(), 2u);
    EXPECT_EQ(enforcement.sound.started[0], folder.paths().defaultReminderSound());
    EXPECT_FALSE(enforcement.sound.playing()) << "the sound stops with the last pop-up";
}

TEST_F(AlarmsTest, AReminderDueWhileStoppedIsSkippedEvenAfterAQuickRun) {
    startWith("0");
    clock->set(monday(9, 30, 58, 500));
    main->timer_tofocusonTimer();
    main->M_stopClick();
    clock->set(monday(9, 31, 1));
    main->m_runClick();
    EXPECT_EQ(unexpectedModals([&] { main->timer_tofocusonTimer(); }), 0);
}

TEST_F(AlarmsTest, TheWarningComesTenMinutesAheadAndTheShutdownAtItsTime) {
    startWith("0");
    whenModal([&](QDialog* dialog) {
        EXPECT_EQ(dialog, warning());
        EXPECT_EQ(dialog->windowTitle(), "Reminder for shutdown at 09:45");
        EXPECT_EQ(enforcement.sound.started.back(), shutdownSound());
        warning()->btn_ok->click();
    });
    tickAt(9, 35);
    EXPECT_EQ(enforcement.shutdown.starts, 0);
    tickAt(9, 45);
    EXPECT_EQ(enforcement.shutdown.starts, 1);
    EXPECT_EQ(reminders(), reminderFile("0")) << "\"I'm aware\" writes nothing";
}

TEST_F(AlarmsTest, CancellingAsksForTheCodeAndSwitchesTheShutdownOff) {
    startWith("1");
    whenModal([&](QDialog* dialog) {
        ASSERT_EQ(dialog, warning());
        answerCheckCode(CodeAnswer::Correct);
        warning()->btn_cancel->click();
    });
    tickAt(9, 35);
    store::Lines expected = reminderFile("1");
    expected[0] = "0";
    EXPECT_EQ(reminders(), expected);
    EXPECT_EQ(messages.texts.last(), "Done.\nNo timer to shutdown now.");
    tickAt(9, 45);
    EXPECT_EQ(enforcement.shutdown.starts, 0);
    EXPECT_EQ(enforcement.shutdown.cancels, 0);
}

TEST_F(AlarmsTest, ACancelAfterTheCommandRanCallsItOffAndSaysWhetherItWorked) {
    startWith("0");
    for (const bool works : {true, false}) {
        SCOPED_TRACE(works);
        enforcement.shutdown.cancelWorks = works;
        // Each round plans the shutdown again, on a day of its own: a day's shutdown comes once.
        const int day = works ? 0 : 1;
        ASSERT_TRUE(main->save(ui::RuleFile::Reminders, reminderFile("0")));
        whenModal([&](QDialog*) {
            tickAt(9, 45, day); // the warning is still open when the time comes
            warning()->btn_cancel->click();
        });
        tickAt(9, 35, day);
        EXPECT_EQ(enforcement.shutdown.cancels, works ? 1 : 2);
        EXPECT_EQ(main->ShutdownCommandStarted, !works);
        EXPECT_EQ(messages.texts.last().startsWith("Done."), works) << messages.texts.last().toStdString();
    }
}

TEST_F(AlarmsTest, ACancelThatCannotBeWrittenLeavesTheWarningToTryAgain) {
    startWith("0");
    const auto file = folder.paths().reminderFile("Work");
    whenModal([&](QDialog* dialog) {
        ASSERT_EQ(dialog, warning());
        std::filesystem::remove(file);
        std::filesystem::create_directory(file); // nothing can be renamed over a folder
        warning()->btn_cancel->click();
        EXPECT_TRUE(warning()->isVisible());
        EXPECT_FALSE(messages.texts.isEmpty());
        EXPECT_FALSE(messages.texts.last().startsWith("Done.")) << messages.texts.join("|").toStdString();
        warning()->btn_ok->click();
    });
    tickAt(9, 35);
}

} // namespace
} // namespace tallowby::test
