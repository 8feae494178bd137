// The window shell on a desktop with a notification area (Xvfb, openbox and trayer): the window
// goes into the tray, and the tray icon brings it back or ends the program.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWindow>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "shell_fixture.h"
#include "support/child_process.h"
#include "support/wait_until.h"

namespace tallowby::test {
namespace {

using store::ConfigLine;
using testsupport::waitUntil;
using namespace std::chrono_literals;

// Waits while the program's own events keep being handled.
bool waitWithEvents(const std::function<bool()>& condition, std::chrono::milliseconds deadline = 10s) {
    return waitUntil(
        [&condition] {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            return condition();
        },
        deadline);
}

// Runs xdotool on the test's display; the program keeps handling its events meanwhile, as it would
// while a user clicks.
void xdotool(const std::vector<std::string>& args) {
    testsupport::ChildProcess tool("xdotool", args);
    std::optional<int> status;
    ASSERT_TRUE(waitWithEvents([&] { return (status = tool.waitForExit(0ms)).has_value(); }));
    ASSERT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

// Where the tray host has put the icon. Qt knows the icon's size but, once the icon's window is
// embedded in the tray host's, no longer its place on screen: the X server does.
QPoint trayIconCentre() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qstrcmp(widget->metaObject()->className(), "QSystemTrayIconSys") != 0 || !widget->isVisible())
            continue;
        testsupport::ChildProcess tool("xdotool",
                                       {"getwindowgeometry", "--shell", std::to_string(widget->winId())},
                                       {.captureStdout = true});
        std::map<std::string, int> values;
        while (const auto line = tool.readLine(10s)) {
            const auto equals = line->find('=');
            if (equals != std::string::npos)
                values[line->substr(0, equals)] = std::atoi(line->c_str() + equals + 1);
        }
        return {values["X"] + values["WIDTH"] / 2, values["Y"] + values["HEIGHT"] / 2};
    }
    ADD_FAILURE() << "no tray icon window";
    return {};
}

void clickAt(const QPoint& point, int button) {
    xdotool(
        {"mousemove", std::to_string(point.x()), std::to_string(point.y()), "click", std::to_string(button)});
}

class TrayTest : public ShellTest {
  protected:
    void startShown() {
        start();
        startUpRun();
        main->show();
        ASSERT_TRUE(
            waitWithEvents([this] { return main->isVisible() && main->windowHandle()->isExposed(); }));
    }

    void expectInTray() {
        ASSERT_TRUE(waitWithEvents([this] { return main->isHidden() && trayIconPlaced(); }));
        EXPECT_EQ(main->trayIcon->toolTip(), "Tallowby");
        EXPECT_EQ(iconKey(main->trayIcon->icon()), iconKey(main->windowIcon()));
    }

    // The tray host has embedded the icon and given it a place on screen.
    bool trayIconPlaced() const {
        return main->trayIcon->isVisible() && main->trayIcon->geometry().isValid() &&
               !main->trayIcon->geometry().isEmpty();
    }
};

TEST_F(TrayTest, TheCloseBoxPutsTheWindowIntoTheTray) {
    ASSERT_TRUE(ui::Tfrmmain::trayAvailable());
    startShown();
    // Alt+F4 makes openbox ask the window to close, as its close button does.
    xdotool({"windowactivate", "--sync", std::to_string(main->winId()), "key", "--clearmodifiers", "alt+F4"});
    expectInTray();
    EXPECT_TRUE(main->isRunning());
    EXPECT_FALSE(main->ExitAllowed);
    EXPECT_EQ(iconKey(main->trayIcon->icon()), runIconKey());
}

TEST_F(TrayTest, ALeftClickOnTheIconBringsTheWindowBackWithTheCurrentSession) {
    startShown();
    main->timer_tofocusonTimer();
    ASSERT_EQ(main->CurrentSessionIndex, 0);
    main->gb_sessionAll->selectSession(-1);
    main->HideToIcon();
    expectInTray();
    // A click the tray host was not yet ready for is made again, as a user would, at the place the
    // icon has now: the host may move the icon after embedding it.
    ASSERT_TRUE(waitWithEvents(
        [&] {
            clickAt(trayIconCentre(), 1);
            return waitWithEvents([this] { return main->isVisible(); }, 3s);
        },
        30s));
    EXPECT_FALSE(main->trayIcon->isVisible());
    EXPECT_EQ(main->gb_sessionAll->selectedSessionIndex(), 0);
}

TEST_F(TrayTest, TheIconsMenuOpensAtTheCursorAndItsExitEndsTheProgram) {
    startShown();
    main->HideToIcon();
    expectInTray();
    // The tray host may still move the icon after embedding it (from the screen's corner to its
    // place in the tray): a click that missed is made again where the icon is now, as a user would.
    QPoint cursor;
    ASSERT_TRUE(waitWithEvents(
        [&] {
            cursor = trayIconCentre();
            clickAt(cursor, 3);
            return waitWithEvents([this] { return main->PopupMenu1->isVisible(); }, 3s);
        },
        30s));
    // At the cursor: one of the menu's corners is there, give or take the few pixels by which the
    // menu is pushed back inside the screen's edge.
    const QRect menu = main->PopupMenu1->geometry();
    int nearest = INT_MAX;
    for (const QPoint corner : {menu.topLeft(), menu.topRight(), menu.bottomLeft(), menu.bottomRight()})
        nearest = std::min(nearest, (corner - cursor).manhattanLength());
    EXPECT_LE(nearest, 16);
    const QList<QAction*> items = main->PopupMenu1->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "Open");
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), "Exit");

    const QRect exitItem = main->PopupMenu1->actionGeometry(main->pop_close);
    clickAt(main->PopupMenu1->mapToGlobal(exitItem.center()), 1);
    ASSERT_TRUE(waitWithEvents([this] { return main->ExitAllowed; }));
    EXPECT_TRUE(hostsHasOnlyLocalhost());
    EXPECT_FALSE(main->trayIcon->isVisible());
}

TEST_F(TrayTest, MinimisingPutsTheWindowIntoTheTrayToo) {
    startShown();
    main->showMinimized();
    expectInTray();
}

TEST_F(TrayTest, StartToIconShowsOnlyTheIconAndRuns) {
    setConfig(ConfigLine::StartToIcon, "1");
    start();
    EXPECT_FALSE(main->ShowMainForm);
    expectInTray();
    EXPECT_EQ(iconKey(main->trayIcon->icon()), stoppedIconKey());
    startUpRun();
    EXPECT_TRUE(main->isRunning());
    EXPECT_TRUE(main->isHidden());
    // The icon in the tray is the only sign of the state: it follows Run and Stop.
    EXPECT_EQ(iconKey(main->trayIcon->icon()), runIconKey());
    main->M_stopClick();
    EXPECT_EQ(iconKey(main->trayIcon->icon()), stoppedIconKey());
}

} // namespace
} // namespace tallowby::test
