// Session notices shown by the tick: once, in the tick whose second holds their moment, and with
// the rules still acting underneath while one stays open.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "shell_fixture.h"
#include "ui/common/message_box.h"

namespace tallowby::test {
namespace {

using platform::FakePost;
using store::ConfigLine;

// A Focus session until 08:59 that closes the game, and the 09:00 session the notice is about.
class NoticeTest : public ShellTest {
  protected:
    NoticeTest() {
        setConfig(ConfigLine::SessionReminder, "1");
        setConfig(ConfigLine::SessionEndReminder, "1");
        folder.write(folder.paths().sessionFile("Work"),
                     {"08:00", "08:59", "1111111", "1", "code.exe;", "", "09:00", "10:00", "0100000", "0",
                      "game.exe;", "news.example;"});
        // No whole-day day today: only the session sweeps act.
        folder.write(folder.paths().wholeDayFile("Work"), {"0000000", "0", "", ""});
    }

    void tickAt(const engine::LocalDateTime& time) {
        clock->set(time);
        main->timer_tofocusonTimer();
    }

    int gamePosts() const {
        int posts = 0;
        for (const FakePost& post : enforcement.desktop.posts)
            posts += post.window == 2 ? 1 : 0;
        return posts;
    }
};

TEST_F(NoticeTest, PreSessionNoticeComesOnceInTheTickThatHoldsItsMoment) {
    start();
    startUpRun();
    main->timer_tofocuson->stop();
    for (const auto& time : {monday(8, 49, 59), monday(8, 49, 59, 500), monday(8, 50, 0, 500),
                             monday(8, 50, 1), monday(8, 51, 0)})
        tickAt(time);
    EXPECT_EQ(messages.texts, QStringList{"Please mind Session 09:00-10:00 will start in 10 minutes.\n"
                                          "Below process will be blocked:\n"
                                          "game.exe;\n"
                                          "Below website will be blocked:\n"
                                          "news.example;"});
}

TEST_F(NoticeTest, SessionEndNoticeComesAtItsEndWithTheWholeDayRulesOnAWholeDayDay) {
    folder.write(folder.paths().wholeDayFile("Work"), {"0100000", "1", "code.exe;", ""});
    start();
    startUpRun();
    main->timer_tofocuson->stop();
    tickAt(monday(9, 59, 59));
    EXPECT_TRUE(messages.texts.isEmpty());
    tickAt(monday(10, 0, 0));
    tickAt(monday(10, 0, 1));
    EXPECT_EQ(messages.texts, QStringList{"Please mind Session 09:00-10:00 ended, the seesion content was:\n"
                                          "Below process blocked:\n"
                                          "game.exe;\n"
                                          "Below website be blocked:\n"
                                          "news.example;\n"
                                          "\n"
                                          "For whole day events:\n"
                                          "Only below process allowed:\n"
                                          "code.exe;\n"
                                          "Website blocked:\n"
                                          "None"});
}

// The tick's own timer keeps firing while a notice waits for its OK: the ticks that fall due run
// inside the notice's modal loop and keep the Focus rule acting on the game's window.
TEST_F(NoticeTest, FocusRuleKeepsActingWhileANoticeStaysOpen) {
    ui::setMessageHook(nullptr); // a real message box, with its own modal loop
    start();
    startUpRun();
    // A short interval so that several ticks pass quickly; each tick window is 50 ms wide, and the
    // clock moves one second per tick, so the notice's moment lies in the first tick alone.
    main->timer_tofocuson->stop();
    main->timer_tofocuson->setInterval(50);
    constexpr int kNestedTicks = 4;

    QMessageBox* notice = nullptr; // lives only while it is open
    QString noticeText;
    bool closed = false;
    int postsWhenShown = -1;
    bool otherWindow = false;
    QTimer watch;
    QElapsedTimer waited;
    // Once the notice is open this runs inside its loop: after each tick that swept, the clock
    // moves on a second; after enough ticks the notice is closed.
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!notice) {
            notice = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (notice) {
                postsWhenShown = gamePosts();
                noticeText = notice->text();
            }
            return;
        }
        otherWindow = otherWindow || QApplication::activeModalWidget() != notice;
        const int nested = gamePosts() - postsWhenShown;
        if (clock->now().msOfDay < monday(8, 50, 0).msOfDay + (nested + 1) * 1000LL)
            clock->advance(1000);
        if (nested >= kNestedTicks || waited.elapsed() > 10'000) {
            watch.stop();
            closed = true;
            notice->accept();
        }
    });
    watch.start(5);
    waited.start();

    clock->set(monday(8, 50, 0));
    main->timer_tofocuson->start();
    QElapsedTimer overall;
    overall.start();
    while (!closed && overall.elapsed() < 15'000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    main->timer_tofocuson->stop();

    // The 08:50:00 tick swept before its notice, the nested ticks swept on underneath it, and none
    // of them opened the notice again.
    ASSERT_TRUE(closed);
    EXPECT_TRUE(noticeText.startsWith("Please mind Session 09:00-10:00 will start"));
    EXPECT_EQ(postsWhenShown, 1);
    EXPECT_GE(gamePosts() - postsWhenShown, kNestedTicks);
    EXPECT_FALSE(otherWindow);
    EXPECT_NE(main->lb_clock->text().toStdString(), "08-50-00");
}

// Stop while a notice is open: the tick that opened it must not block or close anything after.
TEST_F(NoticeTest, StopWhileANoticeIsOpenEndsWhatThatTickStillHadToDo) {
    // 08:00-09:00 ends as 09:00-10:00 begins; the first one's end notice comes before the second
    // one's start writes its sites and sweeps.
    folder.write(folder.paths().sessionFile("Work"),
                 {"08:00", "09:00", "0100000", "1", "code.exe;", "news.example;", "09:00", "10:00", "0100000",
                  "0", "game.exe;", "games.example;"});
    start();
    startUpRun();
    main->timer_tofocuson->stop();
    ui::setMessageHook([this](const QString&) { main->M_stopClick(); });
    tickAt(monday(9, 0, 0));
    EXPECT_FALSE(main->isRunning());
    EXPECT_TRUE(hostsHasOnlyLocalhost());
    EXPECT_TRUE(enforcement.desktop.posts.empty());
    EXPECT_EQ(main->lb_current->text(), "09:00-10:00");
}

} // namespace
} // namespace tallowby::test
