// The window shell: what closing and minimising do, the notification-area icon, the header's
// clicks, the help and the dialogs the menus open.
#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
#include <QWindowStateChangeEvent>

#include "store/config_lines.h"
#include "ui/alarms/unt_autoshutdown.h"
#include "ui/alarms/unt_reminders.h"
#include "ui/common/message_box.h"
#include "ui/common/named_widgets.h"
#include "ui/main/session_panel.h"
#include "ui/main/untmain.h"
#include "ui/main/whole_day_panel.h"
#include "ui/profiles/unt_profiles.h"
#include "ui/restraint/untAbout.h"
#include "ui/restraint/unt_Options.h"
#include "ui/restraint/unt_checkcode.h"
#include "ui/restraint/unt_pause.h"
#include "ui/restraint/unt_torun.h"

namespace tallowby::ui {
namespace {

const QString kWaylandNotice =
    QStringLiteral("This desktop is a Wayland session. Tallowby can minimise or close only the windows "
                   "of programs that run under XWayland; the windows of programs that use Wayland "
                   "directly cannot be minimised or closed. Blocking websites works as usual.");

} // namespace

void Tfrmmain::buildTrayIcon() {
    TB_CREATE(trayIcon, this);
    trayIcon->setToolTip(QStringLiteral("Tallowby"));
    TB_CREATE(PopupMenu1, this);
    PopupMenu1->addAction(TB_CREATE(RestoreWindow1, QStringLiteral("Open"), this));
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(TB_CREATE(pop_close, QStringLiteral("Exit"), this));
    trayIcon->setContextMenu(PopupMenu1);
    connect(trayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // The right button opens PopupMenu1 by itself.
        if (reason == QSystemTrayIcon::Trigger)
            RestoreFromIcon();
    });
    connect(RestoreWindow1, &QAction::triggered, this, &Tfrmmain::RestoreFromIcon);
    connect(pop_close, &QAction::triggered, this, &Tfrmmain::m_exitClick);
}

void Tfrmmain::connectHandlers() {
    connect(m_run, &QAction::triggered, this, &Tfrmmain::m_runClick);
    connect(M_stop, &QAction::triggered, this, &Tfrmmain::M_stopClick);
    connect(M_pause, &QAction::triggered, this, &Tfrmmain::M_pauseClick);
    connect(m_exit, &QAction::triggered, this, &Tfrmmain::m_exitClick);
    connect(M_showoptions, &QAction::triggered, this, &Tfrmmain::M_showoptionsClick);
    connect(M_showprofiles, &QAction::triggered, this, &Tfrmmain::M_showprofilesClick);
    connect(M_reminder, &QAction::triggered, this, &Tfrmmain::M_reminderClick);
    connect(M_shutdown, &QAction::triggered, this, &Tfrmmain::M_shutdownClick);
    connect(M_wholedayevents, &QAction::triggered, this, &Tfrmmain::M_wholedayeventsClick);
    connect(Content1, &QAction::triggered, this, &Tfrmmain::Content1Click);
    connect(About2, &QAction::triggered, this, &Tfrmmain::About2Click);
    // The session manager asks before it closes the windows at log-off.
    connect(qGuiApp, &QGuiApplication::commitDataRequest, this, [this] { sessionEnding_ = true; });
    // Group boxes and labels have no click of their own.
    for (QWidget* header : {static_cast<QWidget*>(gb_head), static_cast<QWidget*>(lb_current),
                            static_cast<QWidget*>(gbox_status), static_cast<QWidget*>(lb_running),
                            static_cast<QWidget*>(gb_profile), static_cast<QWidget*>(lb_profile)})
        header->installEventFilter(this);
}

void Tfrmmain::addRunStateControls(RunStateControls& window) {
    // A window made while the rules already run starts in the running state.
    const bool running = timer_tofocuson && timer_tofocuson->isActive();
    for (QWidget* control : window.editingControls()) {
        editingControls_.append(control);
        control->setEnabled(!running);
    }
    for (QWidget* control : window.enabledWhenStopped())
        enabledWhenStopped_.append(control);
}

bool Tfrmmain::trayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void Tfrmmain::timer_minimizeTimer() {
    // A second instance never gets here: the program entry ends it before any window exists.
    timer_minimize->stop();
    m_runClick();
    gb_headClick();
    if (dialogs.frm_Options)
        dialogs.frm_Options->LoadConfig();
    if (enforcement_.waylandSession) {
        // Once a start, after the start-up Run: the rules already run while the user reads it.
        QTimer::singleShot(0, this, [this] { showMessage(this, kWaylandNotice); });
    }
}

void Tfrmmain::putAway() {
    const std::string& runsWhenHidden = store::configValue(ConfigLines, store::ConfigLine::RunsWhenHidden);
    if (runsWhenHidden == "1")
        m_runClick();
    if (runsWhenHidden == "2" && m_run->isEnabled() && !T_pause->isActive() && dialogs.frm_toRun)
        dialogs.frm_toRun->exec();
    HideToIcon();
}

void Tfrmmain::HideToIcon() {
    if (!trayAvailable()) {
        // No notification area on this desktop: an icon there could never be clicked, and a
        // hidden window would be lost. Minimised, the window stays reachable from the task bar.
        showMinimized();
        return;
    }
    QIcon icon = windowIcon();
    // A tray icon without a picture is not shown at all, and the window could not come back.
    if (icon.availableSizes().isEmpty())
        icon = style()->standardIcon(QStyle::SP_ComputerIcon);
    trayIcon->setIcon(icon);
    trayIcon->show();
    hide();
}

void Tfrmmain::RestoreFromIcon() {
    trayIcon->hide();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void Tfrmmain::StartToIcon() {
    if (!trayAvailable()) {
        // Without a notification area the program starts minimised instead (see HideToIcon).
        setWindowState(windowState() | Qt::WindowMinimized);
        return;
    }
    HideToIcon();
    ShowMainForm = false;
}

void Tfrmmain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isVisible() || !isMinimized())
        return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (change->oldState() & Qt::WindowMinimized)
        return;
    // After the window system has finished minimising: the prompt and the hiding come later.
    QTimer::singleShot(0, this, &Tfrmmain::putAway);
}

void Tfrmmain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The window system's own show events (a restore from minimised) are not the program showing
    // the window.
    if (!event->spontaneous())
        gb_headClick();
}

bool Tfrmmain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease ||
        static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return QMainWindow::eventFilter(watched, event);
    if (watched == gb_profile)
        gb_profileClick();
    else if (watched == lb_profile)
        lb_profileClick();
    else
        gb_headClick();
    return QMainWindow::eventFilter(watched, event);
}

void Tfrmmain::gb_headClick() {
    gb_sessionAll->selectSession(CurrentSessionIndex);
    gb_sessionAll->lb_sessionListClick();
}

void Tfrmmain::toRunYesAndSave() {
    store::Lines lines = ConfigLines;
    store::setConfigValue(lines, store::ConfigLine::RunsWhenHidden, "1");
    SaveConfig(lines);
    m_runClick();
}

bool Tfrmmain::SaveConfig(const store::Lines& lines) {
    return save(RuleFile::Config, lines);
}

void Tfrmmain::M_wholedayeventsClick() {
    const bool shown = gb_wholeday->isHidden();
    store::Lines lines = ConfigLines;
    store::setConfigValue(lines, store::ConfigLine::ShowWholeDay, shown ? "1" : "0");
    // The reload of a saved file shows or hides the panel; a failed save leaves the window, and the
    // menu item's tick, as the file still has them.
    if (!SaveConfig(lines))
        M_wholedayevents->setChecked(!shown);
}

void Tfrmmain::Content1Click() {
    // A missing page gives no message.
    const QString page = QString::fromStdString(paths_.helpPage().string());
    if (QFileInfo::exists(page))
        QDesktopServices::openUrl(QUrl::fromLocalFile(page));
}

void Tfrmmain::About2Click() {
    if (dialogs.frmAbout)
        dialogs.frmAbout->exec();
}

void Tfrmmain::M_showoptionsClick() {
    if (dialogs.frm_Options)
        dialogs.frm_Options->exec();
}

void Tfrmmain::M_showprofilesClick() {
    if (dialogs.frm_profiles)
        dialogs.frm_profiles->exec();
}

void Tfrmmain::gb_profileClick() {
    M_showprofilesClick();
}

void Tfrmmain::lb_profileClick() {
    M_showprofilesClick();
}

void Tfrmmain::M_reminderClick() {
    if (dialogs.frm_reminders)
        dialogs.frm_reminders->exec();
}

void Tfrmmain::M_shutdownClick() {
    if (dialogs.frm_autoShutdown)
        dialogs.frm_autoShutdown->exec();
}

} // namespace tallowby::ui
