// The shutdown warning with a fake sound player and shutdown command: minimised it keeps its sound
// and close timer.
#include <QCoreApplication>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include "folder_rule_book.h"
#include "modal_answer.h"
#include "platform/fake/fake_sound_player.h"
#include "platform/fake/fake_system.h"
#include "program_folder_fixture.h"
#include "ui/alarms/alert_sound.h"
#include "ui/alarms/unt_shutdown.h"
#include "ui/restraint/unt_checkcode.h"

namespace tallowby::test {
namespace {

class ShutdownWarningTest : public testing::Test {
  protected:
    TempProgramFolder folder;
    FolderRuleBook book{folder.paths()};
    platform::FakeSoundPlayer player;
    ui::AlertSound sound{player};
    ui::CheckGuard guard;
    ui::Tfrm_checkcode checkcode{guard, [] { return std::string("5"); }};
    platform::FakeShutdown shutdown;
    bool commandStarted = false;
    ui::Tfrm_shutdown warning{book, sound, checkcode, guard, shutdown, commandStarted};
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

} // namespace
} // namespace tallowby::test
