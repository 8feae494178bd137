// The shutdown warning with a fake sound player and shutdown command: minimised it keeps its sound
// and close timer, and its cancel asks for the code above itself, even over a Stop code on show.
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include "folder_rule_book.h"
#include "modal_answer.h"
#include "platform/sound/fake_sound_player.h"
#include "platform/system/fake_system.h"
#include "program_folder_fixture.h"
#include "store/line_values.h"
#include "ui/alarms/alert_sound.h"
#include "ui/alarms/unt_shutdown.h"
#include "ui/restraint/unt_checkcode.h"

namespace tallowby::test {
namespace {

class ShutdownWarningTest : public testing::Test {
  protected:
    ShutdownWarningTest() {
        folder.write(folder.paths().reminderFile("Work"), {"1111111", "22:30", "1", "1", "1"});
        store::loadReminderList(book.rules, folder.paths().reminderFile("Work"));
    }

    TempProgramFolder folder;
    FolderRuleBook book{folder.paths()};
    platform::FakeSoundPlayer player;
    ui::AlertSound sound{player};
    ui::CheckGuard guard;
    ui::Tfrm_checkcode checkcode{guard, [] { return std::string("5"); }};
    platform::FakeShutdown shutdown;
    bool commandStarted = false;
    ui::Tfrm_shutdown warning{book, sound, checkcode, guard, shutdown, commandStarted};
    MessageLog messages;

    void enterCode() {
        checkcode.edt_checkcode->setText(checkcode.lb_checkcode->text());
        checkcode.btn_OK->click();
    }
};

template <typename Event> void sendSpontaneous(QWidget* window) {
    Event event;
    QSpontaneKeyEvent::setSpontaneous(&event);
    // notify(), unlike sendEvent(), keeps the event spontaneous.
    QCoreApplication::instance()->notify(window, &event);
}

TEST_F(ShutdownWarningTest, MinimisedAndRestoredItKeepsItsSoundAndCloseTimer) {
    whenModal([&](QDialog*) {
        const int starts = static_cast<int>(player.started.size());
        sendSpontaneous<QHideEvent>(&warning);
        sendSpontaneous<QShowEvent>(&warning);
        EXPECT_TRUE(player.playing());
        EXPECT_EQ(player.started.size(), static_cast<size_t>(starts)) << "the sound did not start again";
        EXPECT_TRUE(warning.t_sound->isActive());
        EXPECT_TRUE(warning.t_close->isActive());
        warning.btn_ok->click();
    });
    warning.showWarning(QStringLiteral("Reminder for shutdown at 22:30"), true);
    EXPECT_FALSE(player.playing());
    EXPECT_FALSE(warning.t_close->isActive());
}

TEST_F(ShutdownWarningTest, ACancelOverAStopCodeAsksAboveTheWarningAndIsCarriedOut) {
    int stops = 0;
    checkcode.setReinvoke(ui::purpose::Stop, [&] { ++stops; });
    whenModal([&](QDialog*) {
        // The warning pops up over the Stop code; its cancel takes the code's place.
        whenModal([&](QDialog*) {
            whenModal([&](QDialog*) {
                EXPECT_EQ(checkcode.parentWidget(), &warning);
                EXPECT_TRUE(checkcode.isVisible());
                enterCode();
            });
            warning.btn_cancel->click();
        });
        warning.showWarning(QStringLiteral("Reminder for shutdown at 22:30"), false);
    });
    EXPECT_FALSE(checkcode.ask(ui::purpose::Stop));
    EXPECT_EQ(stops, 0);
    EXPECT_FALSE(warning.isVisible());
    EXPECT_EQ(store::lineAt(book.lists().ReminderLines, 0), "0");
    EXPECT_EQ(messages.texts, QStringList{QStringLiteral("Done.\nNo timer to shutdown now.")});
}

} // namespace
} // namespace tallowby::test
