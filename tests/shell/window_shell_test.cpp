// The window shell where the desktop has no notification area (Qt's offscreen platform): closing
// and minimising never end the program, the rules run or are asked for first, and the header, the
// help and the menus do their part.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QUrl>
#include <QWindow>

#include "shell_fixture.h"
#include "ui/restraint/untAbout.h"
#include "ui/restraint/unt_Options.h"
#include "ui/restraint/unt_pause.h"
#include "ui/restraint/unt_torun.h"

namespace tallowby::test {
namespace {

using store::ConfigLine;

// Records what the program asks the desktop to open instead of opening it.
class UrlRecorder : public QObject {
    Q_OBJECT

  public:
    UrlRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> opened;

  public slots:
    void open(const QUrl& url) { opened << url; }
};

class WindowShellTest : public ShellTest {
  protected:
    // What the window system sends when the user clicks the frame's close box.
    void closeBox() {
        QCloseEvent close;
        QApplication::sendEvent(main->windowHandle(), &close);
        QCoreApplication::processEvents();
    }

    void startShown() {
        start();
        startUpRun();
        main->show();
        QCoreApplication::processEvents();
    }

    void answerToRun(QPushButton* ui::Tfrm_toRun::*button) {
        ui::Tfrm_toRun* prompt = windows.frmmain->dialogs.frm_toRun.data();
        whenModal([prompt, button](QDialog* dialog) {
            ASSERT_EQ(dialog, prompt);
            (prompt->*button)->click();
        });
    }

    void clickOn(QWidget* widget) {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &release);
    }
};

TEST_F(WindowShellTest, CloseBoxMinimisesWithoutATrayAndNeverEnds) {
    ASSERT_FALSE(ui::Tfrmmain::trayAvailable());
    startShown();
    main->timer_tofocusonTimer();
    EXPECT_EQ(unexpectedModals([this] { closeBox(); }), 0);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(main->isMinimized());
    EXPECT_FALSE(main->ExitAllowed);
    EXPECT_TRUE(main->isRunning());
    EXPECT_FALSE(blockedSites().empty());
    EXPECT_FALSE(main->trayIcon->isVisible());
}

TEST_F(WindowShellTest, RunsWhenHiddenOneRunsTheStoppedRulesBeforePuttingAway) {
    setConfig(ConfigLine::RunsWhenHidden, "1");
    startShown();
    main->M_stopClick();
    EXPECT_EQ(unexpectedModals([this] { closeBox(); }), 0);
    EXPECT_TRUE(main->isRunning());
    EXPECT_TRUE(main->isMinimized());
}

TEST_F(WindowShellTest, RunsWhenHiddenTwoAsksOnlyWhenStoppedAndNotPaused) {
    startShown();
    // Running: nothing to ask.
    EXPECT_EQ(unexpectedModals([this] { closeBox(); }), 0);

    main->M_stopClick();
    answerToRun(&ui::Tfrm_toRun::btn_no);
    closeBox();
    EXPECT_FALSE(main->isRunning());
    EXPECT_TRUE(main->isMinimized());

    main->showNormal();
    main->m_runClick();
    ui::Tfrm_pause* pause = windows.frmmain->dialogs.frm_pause.data();
    whenModal([pause](QDialog*) { pause->btn_ok->click(); });
    main->M_pauseClick();
    ASSERT_TRUE(main->isPaused());
    EXPECT_EQ(unexpectedModals([this] { closeBox(); }), 0);
    EXPECT_TRUE(main->isPaused());
}

TEST_F(WindowShellTest, ClosingTheStoppedWindowAsksOnlyOnce) {
    startShown();
    main->M_stopClick();
    // Each prompt is turned down; a second one would be a second modal window.
    EXPECT_EQ(unexpectedModals([this] { closeBox(); }), 1);
    EXPECT_TRUE(main->isMinimized());
    EXPECT_FALSE(main->isRunning());
}

TEST_F(WindowShellTest, YesAndSaveStoresRunWhenHiddenAndRuns) {
    startShown();
    main->M_stopClick();
    const store::Lines before = configFile();
    answerToRun(&ui::Tfrm_toRun::btn_yesSave);
    closeBox();
    EXPECT_TRUE(main->isRunning());
    store::Lines expected = before;
    expected[11] = "1";
    EXPECT_EQ(configFile(), expected);
    EXPECT_EQ(main->ConfigLines, expected);

    // From now on a put-away runs without asking.
    main->showNormal();
    main->M_stopClick();
    EXPECT_EQ(unexpectedModals([this] { closeBox(); }), 0);
    EXPECT_TRUE(main->isRunning());
}

TEST_F(WindowShellTest, MinimisingTakesTheSameWay) {
    setConfig(ConfigLine::RunsWhenHidden, "1");
    startShown();
    main->M_stopClick();
    main->setWindowState(Qt::WindowMinimized);
    QCoreApplication::processEvents();
    EXPECT_TRUE(main->isRunning());
    EXPECT_TRUE(main->isMinimized());
}

TEST_F(WindowShellTest, StartToIconWithoutATrayStartsMinimisedAndRuns) {
    setConfig(ConfigLine::StartToIcon, "1");
    start();
    EXPECT_TRUE(main->ShowMainForm);
    main->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(main->isMinimized());
    EXPECT_EQ(unexpectedModals([this] { startUpRun(); }), 0);
    EXPECT_TRUE(main->isRunning());
}

TEST_F(WindowShellTest, HeaderClicksAndShowingSelectTheCurrentSession) {
    folder.write(folder.paths().sessionFile("Work"), {"08:00", "09:00", "1111111", "0", "", "", "09:00",
                                                      "12:00", "0100000", "1", "code.exe;", ""});
    start();
    startUpRun();
    main->timer_tofocusonTimer();
    ASSERT_EQ(main->CurrentSessionIndex, 1);
    for (QWidget* header :
         {static_cast<QWidget*>(main->gb_head), static_cast<QWidget*>(main->lb_current),
          static_cast<QWidget*>(main->gbox_status), static_cast<QWidget*>(main->lb_running)}) {
        main->gb_sessionAll->selectSession(0);
        clickOn(header);
        EXPECT_EQ(main->gb_sessionAll->selectedSessionIndex(), 1) << header->objectName().toStdString();
    }
    main->gb_sessionAll->selectSession(0);
    main->show();
    EXPECT_EQ(main->gb_sessionAll->selectedSessionIndex(), 1);

    clock->set(monday(13, 0));
    main->timer_tofocusonTimer();
    clickOn(main->gb_head);
    EXPECT_EQ(main->gb_sessionAll->selectedSessionIndex(), -1);
}

TEST_F(WindowShellTest, WholeDayMenuTogglesThePanelAndLineNine) {
    start();
    const store::Lines before = configFile();
    ASSERT_FALSE(main->gb_wholeday->isHidden());
    main->M_wholedayevents->trigger();
    EXPECT_TRUE(main->gb_wholeday->isHidden());
    EXPECT_FALSE(main->M_wholedayevents->isChecked());
    EXPECT_EQ(configFile()[9], "0");
    EXPECT_EQ(main->ConfigLines, configFile());

    main->M_wholedayevents->trigger();
    EXPECT_FALSE(main->gb_wholeday->isHidden());
    EXPECT_TRUE(main->M_wholedayevents->isChecked());
    EXPECT_EQ(configFile(), before);
}

TEST_F(WindowShellTest, HelpOpensTheInstalledPageAndSaysNothingWhenItIsMissing) {
    start();
    UrlRecorder urls;
    main->Content1->trigger();
    EXPECT_TRUE(urls.opened.isEmpty());
    EXPECT_TRUE(messages.texts.isEmpty());

    folder.write(folder.paths().helpPage(), {"<html></html>"});
    main->Content1->trigger();
    ASSERT_EQ(urls.opened.size(), 1);
    EXPECT_EQ(urls.opened[0].toLocalFile().toStdString(), folder.paths().helpPage().string());
    EXPECT_FALSE(main->Onlinehelp1->isVisible());
}

TEST_F(WindowShellTest, MenusOpenTheAboutBoxAndTheOptions) {
    start();
    QDialog* shown = nullptr;
    whenModal([&shown](QDialog* dialog) {
        shown = dialog;
        dialog->reject();
    });
    main->About2->trigger();
    EXPECT_EQ(shown, windows.frmmain->dialogs.frmAbout.data());

    whenModal([&shown](QDialog* dialog) {
        shown = dialog;
        dialog->reject();
    });
    main->M_showoptions->trigger();
    EXPECT_EQ(shown, windows.frmmain->dialogs.frm_Options.data());
}

} // namespace
} // namespace tallowby::test

#include "window_shell_test.moc"
