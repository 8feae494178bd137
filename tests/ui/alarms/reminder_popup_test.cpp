// The reminder pop-up with a fake sound player: which sound it plays, when it plays it again, that
// every way of closing it stops the sound, and that two pop-ups open at once keep their own text.
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <vector>

#include "modal_answer.h"
#include "platform/fake/fake_sound_player.h"
#include "ui/alarms/alert_sound.h"
#include "ui/alarms/unt_reminderShow.h"

namespace tallowby::test {
namespace {

using Paths = std::vector<std::filesystem::path>;
using ui::Tfrm_reminderShow;

const std::filesystem::path kChime = "/sounds/chime.wav";
const std::filesystem::path kGong = "/sounds/gong.wav";
const std::filesystem::path kDefault = "/program/sound/rmd.wav";

class ReminderPopupTest : public testing::Test {
  protected:
    platform::FakeSoundPlayer player;
    ui::AlertSound sound{player};

    void expectSilentAndIdle(const Tfrm_reminderShow& popup) {
        EXPECT_FALSE(player.playing());
        EXPECT_EQ(sound.holder(), nullptr);
        EXPECT_FALSE(popup.t_sound->isActive());
        EXPECT_FALSE(popup.t_close->isActive());
        EXPECT_FALSE(popup.isVisible());
    }
};

enum class Closed { ByOk, ByCloseBox, ByTimer };

TEST_F(ReminderPopupTest, PlaysTheChosenSoundOrTheDefaultRepeatsOnlyWhenAskedAndStopsOnClosing) {
    struct Case {
        bool chimePlays;
        bool repeat;
        Closed closed;
        Paths afterOneEnding;
    };
    const Case cases[] = {
        {true, false, Closed::ByOk, {kChime}},
        {true, true, Closed::ByCloseBox, {kChime, kChime}},
        {false, false, Closed::ByTimer, {kChime, kDefault}},
        {false, true, Closed::ByTimer, {kChime, kDefault, kChime, kDefault}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.chimePlays << c.repeat << static_cast<int>(c.closed));
        player.started.clear();
        player.unplayable = c.chimePlays ? std::set<std::filesystem::path>{} : std::set{kChime};
        Tfrm_reminderShow popup(sound, kChime, kDefault);
        EXPECT_EQ(popup.t_close->interval(), Tfrm_reminderShow::kCloseAfterMs);
        if (c.closed == Closed::ByTimer)
            popup.t_close->setInterval(200);
        whenModal([&](QDialog*) {
            EXPECT_EQ(popup.windowTitle(), "Reminder - It's time 14:30");
            EXPECT_EQ(popup.Memo_sub->toPlainText(), "Call the dentist");
            EXPECT_EQ(popup.focusWidget(), popup.btn_OK);
            EXPECT_TRUE(popup.t_sound->isActive());
            popup.t_soundTimer(); // still playing: no new start
            player.finish();
            popup.t_soundTimer();
            EXPECT_EQ(player.started, c.afterOneEnding);
            if (c.closed == Closed::ByOk)
                popup.btn_OK->click();
            else if (c.closed == Closed::ByCloseBox)
                popup.close();
        });
        const int stops = player.stops;
        popup.showReminder("Reminder - It's time 14:30", "Call the dentist", c.repeat);
        EXPECT_EQ(player.stops, stops + 1);
        expectSilentAndIdle(popup);
    }
}

TEST_F(ReminderPopupTest, TheCloseTimerCountsFromEachShowing) {
    // Made long before its reminder fires, as at program start: a timer counted from then would
    // close each showing early.
    Tfrm_reminderShow popup(sound, kChime, kDefault);
    popup.t_close->setInterval(1000);
    for (const char* subject : {"First", "Second"}) {
        SCOPED_TRACE(subject);
        QEventLoop idle;
        QTimer::singleShot(800, &idle, &QEventLoop::quit);
        idle.exec();
        whenModal([&](QDialog*) { QTimer::singleShot(400, &popup, [&popup] { popup.btn_OK->click(); }); });
        popup.showReminder("Reminder - It's time 09:00", subject, false);
        EXPECT_EQ(popup.result(), QDialog::Accepted) << "closed by its timer before OK";
    }
}

TEST_F(ReminderPopupTest, TwoPopUpsOpenAtOnceKeepTheirOwnTextAndSound) {
    Tfrm_reminderShow first(sound, kChime, kDefault);
    Tfrm_reminderShow second(sound, kGong, kDefault);
    whenModal([&](QDialog*) {
        whenModal([&](QDialog*) {
            EXPECT_EQ(first.windowTitle(), "Reminder - It's time 10:00");
            EXPECT_EQ(first.Memo_sub->toPlainText(), "Coffee");
            EXPECT_EQ(second.windowTitle(), "Reminder - It's time 10:05");
            EXPECT_EQ(second.Memo_sub->toPlainText(), "Meeting");
            EXPECT_EQ(sound.holder(), &second);
            first.t_soundTimer(); // the later pop-up's sound is not cut off
            EXPECT_EQ(player.started, Paths({kChime, kGong}));
            second.btn_OK->click();
        });
        second.showReminder("Reminder - It's time 10:05", "Meeting", false);
        EXPECT_FALSE(player.playing());
        EXPECT_TRUE(first.isVisible());
        first.t_soundTimer(); // the one still open takes its sound back
        EXPECT_EQ(player.started, Paths({kChime, kGong, kChime}));
        EXPECT_EQ(first.Memo_sub->toPlainText(), "Coffee");
        first.btn_OK->click();
    });
    first.showReminder("Reminder - It's time 10:00", "Coffee", true);
    expectSilentAndIdle(first);
    expectSilentAndIdle(second);
}

TEST_F(ReminderPopupTest, ALaterPopUpStandsBesideTheEarlierAndBlocksNothing) {
    Tfrm_reminderShow first(sound, kChime, kDefault);
    Tfrm_reminderShow second(sound, kGong, kDefault);
    whenModal([&](QDialog*) {
        whenModal([&](QDialog*) {
            EXPECT_FALSE(second.frameGeometry().intersects(first.frameGeometry()));
            EXPECT_EQ(first.windowModality(), Qt::ApplicationModal);
            // Window-modal to no window: the earlier pop-up still answers.
            EXPECT_EQ(second.windowModality(), Qt::WindowModal);
            EXPECT_EQ(second.parentWidget(), nullptr);
            second.btn_OK->click();
        });
        second.showReminder("Reminder - It's time 10:05", "Meeting", false);
        first.btn_OK->click();
    });
    first.showReminder("Reminder - It's time 10:00", "Coffee", false);
}

} // namespace
} // namespace tallowby::test
