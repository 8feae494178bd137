#include "ui/main/main_tick_actions.h"

#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <utility>

#include "platform/process_killer.h"
#include "platform/system_monitors.h"
#include "store/line_values.h"
#include "ui/alarms/unt_reminderShow.h"
#include "ui/alarms/unt_shutdown.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/main/session_panel.h"
#include "ui/main/untmain.h"

namespace tallowby::ui {

MainTickActions::MainTickActions(Tfrmmain& window)
    : window_(window), stopCountAtStart_(window.stopCount()),
      sweeps_(window.enforcement().sweep, window.enforcement().ownProcess) {}

MainTickActions::~MainTickActions() {
    showHeldTexts();
}

void MainTickActions::showHeldTexts() {
    if (currentSession_)
        window_.lb_current->setText(*std::exchange(currentSession_, std::nullopt));
}

void MainTickActions::beforePopUp() {
    showHeldTexts();
    // The user may take minutes over the pop-up: later sweeps of this tick look at the windows again.
    sweeps_.forgetWindows();
}

bool MainTickActions::rulesStoppedSinceTickBegan() const {
    return window_.stopCount() != stopCountAtStart_;
}

void MainTickActions::showHeader(const engine::HeaderTexts& texts) {
    window_.lb_clock->setText(fromBytes(texts.clock));
    window_.lb_profile->setText(fromBytes(texts.profile));
    window_.gb_today->setTitle(fromBytes(texts.todayCaption));
    window_.lb_today->setText(fromBytes(texts.today));
}

void MainTickActions::showCurrentSession(const std::string& text) {
    // Every tick says "No session" first and names the current session later. The label takes only
    // the text the tick ends with, so a label that keeps its text is neither laid out nor repainted.
    currentSession_ = fromBytes(text);
}

bool MainTickActions::sessionListHasSelection() {
    return window_.gb_sessionAll->selectedSessionIndex() >= 0;
}

void MainTickActions::clearSessionPanel() {
    window_.gb_sessionAll->Nosession();
}

void MainTickActions::killTaskManager() {
    if (rulesStoppedSinceTickBegan())
        return;
    const platform::KillReport report = platform::KillTaskManager(window_.enforcement().killer);
    // The killer reports a process it may not end only the first time it finds it, so this stops
    // the tick once per such process, not every second.
    if (report.refused.empty())
        return;
    QStringList lines;
    for (const platform::RefusedProcess& process : report.refused) {
        const platform::SystemMonitor* monitor = platform::systemMonitorFor(process.name);
        const QString name = monitor ? fromBytes(std::string(monitor->label)) : fromBytes(process.name);
        lines << QStringLiteral(
                     "System monitor %1 (process %2) belongs to another user; Tallowby cannot end it.")
                     .arg(name)
                     .arg(process.pid);
    }
    beforePopUp();
    showPopUpMessage(lines.join(QLatin1Char('\n')));
}

void MainTickActions::showReminder(const std::string& caption, const std::string& subject) {
    // A pop-up of its own for every reminder: one due while another is still open gets a window
    // beside it instead of taking over its text.
    beforePopUp();
    const store::ProgramPaths& paths = window_.programPaths();
    Tfrm_reminderShow popUp(window_.alertSound, store::lineAt(window_.SoundLines, 0),
                            paths.defaultReminderSound());
    popUp.showReminder(fromBytes(caption), fromBytes(subject), window_.AlarmSoundFlag);
}

void MainTickActions::showShutdownWarning(const std::string& caption) {
    beforePopUp();
    if (Tfrm_shutdown* warning = window_.dialogs.frm_shutdown)
        warning->showWarning(fromBytes(caption), window_.AlarmSoundFlag);
}

void MainTickActions::startShutdown() {
    if (window_.enforcement().shutdown.start())
        window_.ShutdownCommandStarted = true;
}

void MainTickActions::sweepWindows(const engine::SweepRule& rule) {
    if (rulesStoppedSinceTickBegan())
        return;
    sweeps_.sweep(rule);
}

void MainTickActions::showNotice(const std::string& text) {
    beforePopUp();
    // The notices break their lines with a lone CR.
    QString shown = fromBytes(text);
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    showPopUpMessage(shown);
}

bool MainTickActions::writeHosts(const std::vector<std::string>& sites) {
    // Stop has left the hosts file with the localhost line alone; it stays so.
    if (rulesStoppedSinceTickBegan())
        return false;
    return window_.writeHostsFile(sites, true);
}

bool MainTickActions::hostsHold(const std::vector<std::string>& sites) {
    return window_.enforcement().hosts.holds(window_.hostsRequest(sites));
}

} // namespace tallowby::ui
