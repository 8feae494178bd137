// Run, Stop, Pause and Exit: the rules' switch, the guarded ways out, and the user interface that
// tells the two states apart.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QTime>
#include <QTimer>
#include <map>
#include <optional>

#include "store/config_lines.h"
#include "ui/common/file_failure.h"
#include "ui/common/message_box.h"
#include "ui/common/system_clock.h"
#include "ui/main/hosts_failure_text.h"
#include "ui/main/untmain.h"
#include "ui/main/whole_day_panel.h"
#include "ui/restraint/untAbout.h"
#include "ui/restraint/unt_Options.h"
#include "ui/restraint/unt_checkcode.h"
#include "ui/restraint/unt_pause.h"
#include "ui/restraint/unt_torun.h"

namespace tallowby::ui {
namespace {

constexpr std::int64_t kMinuteMs = 60'000;

const QColor kRunningGreen(0, 128, 0);
const QColor kStoppedRed(255, 0, 0);
const QColor kNoteBlue(0, 0, 255);

// Made once for each colour: the blinking notice asks for one of two every second. Only the two
// roles are set, so a widget takes every other colour from its parent as before. (Starting from
// widget->palette() would cost more than the change itself: that call works out whether the window
// is active.)
const QPalette& textPalette(const QColor& colour) {
    static std::map<QRgb, QPalette> made;
    const auto [found, added] = made.try_emplace(colour.rgba());
    if (added) {
        found->second.setColor(QPalette::WindowText, colour);
        // Group-box captions are drawn in the Text colour.
        found->second.setColor(QPalette::Text, colour);
    }
    return found->second;
}

// The status and the notes are given their colour every second, mostly the colour they have: a
// palette set anew, even an equal one, costs working out the widget's natural palette, and a group
// box hands it on to every child. So a colour is set only when it changes.
void setTextColour(QWidget* widget, const QColor& colour) {
    static const char* const kColourProperty = "tallowbyTextColour";
    const QVariant shown = widget->property(kColourProperty);
    if (shown.isValid() && shown.toUInt() == colour.rgba())
        return;
    widget->setProperty(kColourProperty, colour.rgba());
    widget->setPalette(textPalette(colour));
}

int secondsOf(const engine::LocalDateTime& time) {
    return static_cast<int>(time.msOfDay / 1000 % 60);
}

// "hh:mm:ss" of a span; a span that has run out shows zero.
QString clockSpan(std::int64_t milliseconds) {
    const int seconds = static_cast<int>(std::max<std::int64_t>(milliseconds, 0) / 1000);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

bool Tfrmmain::isRunning() const {
    return timer_tofocuson->isActive();
}

bool Tfrmmain::isPaused() const {
    return T_pause->isActive();
}

bool Tfrmmain::askCheckCode(const QString& purpose) {
    if (!dialogs.frm_checkcode)
        return false;
    return dialogs.frm_checkcode->ask(purpose);
}

void Tfrmmain::m_runClick() {
    timer_tofocuson->start();
    // The blinking notice keeps step with the tick and the status animation (which Running starts
    // now), so their labels change together and the window is repainted once a second, not twice.
    T_mm_note->start();
    Running(true);
    m_run->setEnabled(false);
    M_stop->setEnabled(true);
    M_pause->setEnabled(true);
    T_pause->stop();
    // The start-up Run comes while the box about a failed write at start may still be open: the same
    // failure is not told twice.
    WriteWholeDayHosts(true);
    HostsRefreshPending = true;
}

void Tfrmmain::M_stopClick() {
    if (store::configFlag(ConfigLines, store::ConfigLine::CheckCodeToStop) && !checkGuard.StopConfirmed) {
        // A correct code sets StopConfirmed and comes back here.
        askCheckCode(purpose::Stop);
        return;
    }
    checkGuard.StopConfirmed = false;
    timer_tofocuson->stop();
    ++stopCount_;
    // What falls due while the rules are off is skipped: the first tick after a quick Run must not
    // take up where the last one before the Stop ended.
    tickState_.answeredUntil.reset();
    Running(false);
    m_run->setEnabled(true);
    M_stop->setEnabled(false);
    M_pause->setEnabled(false);
    writeHostsFile({});
    offerEarlyLiftSoon();
}

void Tfrmmain::m_exitClick() {
    if (store::configFlag(ConfigLines, store::ConfigLine::CheckCodeToExit) && !checkGuard.ExitConfirmed) {
        askCheckCode(purpose::Exit);
        return;
    }
    checkGuard.ExitConfirmed = false;
    ExitAllowed = true;
    close();
}

void Tfrmmain::closeEvent(QCloseEvent* event) {
    event->ignore();
    // The session manager closes the program's windows as the session ends: that is no Exit of the
    // user's, and nobody is there to type a code.
    if (sessionEnding_ && !event->spontaneous())
        ExitAllowed = true;
    if (!ExitAllowed) {
        // The frame's close box (the window system's request) puts the window away; a close asked
        // for from inside the program goes the way of Exit, with its check code.
        if (event->spontaneous()) {
            // Without a notification area the window is minimised instead, and the minimise puts
            // it away (changeEvent): putting it away here as well would ask, or run, twice.
            if (!trayAvailable() && !isMinimized())
                showMinimized();
            else
                QTimer::singleShot(0, this, &Tfrmmain::putAway);
            return;
        }
        // The close() that Exit makes has no effect while this close is under way: this one
        // goes on in its place once Exit allows it.
        m_exitClick();
        if (!ExitAllowed)
            return;
    }
    // Exit always ends the program: a hosts file that cannot be written must not keep it running
    // until only a kill ends it. The user is told what stays behind.
    timer_tofocuson->stop();
    T_pause->stop();
    ++stopCount_;
    trayIcon->hide();
    hide();
    event->accept();
    if (sessionEnding_) {
        liftWebsiteBlocksForEnd();
        QCoreApplication::quit();
        return;
    }
    // An early lift the user said yes to is seen through first: the program, hidden by now, ends
    // once its outcome is known (carryOnLift), so the answer given is never lost.
    if (!liftUnderWay_)
        endProgram(true);
}

void Tfrmmain::endProgram(bool offerLift) {
    if (const std::optional<store::FileError> failure = liftWebsiteBlocksForEnd()) {
        showMessage(nullptr, hostsFailureText(*failure, HostsWriteMoment::ProgramEnd));
    } else if (offerLift) {
        offerEarlyLift();
        if (liftUnderWay_)
            return;
    }
    QCoreApplication::quit();
}

void Tfrmmain::endWithSession() {
    sessionEnding_ = true;
    close();
}

std::optional<store::FileError> Tfrmmain::liftWebsiteBlocksForEnd() {
    if (websiteBlocksLifted_)
        return std::nullopt;
    websiteBlocksLifted_ = true;
    hostsWanted_ = {};
    try {
        enforcement_.hosts.writeAndWait({});
    } catch (const store::FileError& error) {
        return error;
    }
    return std::nullopt;
}

void Tfrmmain::M_pauseClick() {
    if (dialogs.frm_pause)
        dialogs.frm_pause->exec();
}

void Tfrmmain::beginPause(int minutes) {
    // One code (or none) is enough for a pause: the stop it makes asks for no code of its own.
    checkGuard.StopConfirmed = true;
    M_pause->setEnabled(false);
    M_stopClick();
    T_pause->setInterval(static_cast<int>(minutes * kMinuteMs));
    T_pause->start();
    PauseEndTime = wallClockMs(clock().now()) + minutes * kMinuteMs;
    writeHostsFile({});
}

void Tfrmmain::T_pauseTimer() {
    T_pause->stop();
    m_run->trigger();
}

void Tfrmmain::Running(bool running) {
    if (running) {
        lb_note1->setText(QStringLiteral("Please stop run before edit."));
        timer_running->start();
        setRunIcon(paths_.runningIcon());
        setEditingEnabled(false);
        return;
    }
    lb_note1->clear();
    timer_running->stop();
    lb_running->setText(QStringLiteral("No Run"));
    setStatusColour(kStoppedRed);
    setRunIcon(paths_.stoppedIcon());
    setEditingEnabled(true);
    for (const QPointer<QWidget>& control : enabledWhenStopped_) {
        if (control)
            control->setEnabled(true);
    }
}

void Tfrmmain::setEditingEnabled(bool enabled) {
    for (const QPointer<QWidget>& control : editingControls_) {
        if (control)
            control->setEnabled(enabled);
    }
}

void Tfrmmain::setStatusColour(const QColor& colour) {
    setTextColour(gbox_status, colour);
    setTextColour(lb_running, colour);
}

void Tfrmmain::setRunIcon(const std::filesystem::path& iconFile) {
    const QIcon icon(QString::fromStdString(iconFile.string()));
    // An icon file that is missing or unreadable leaves the picture as it was.
    if (icon.availableSizes().isEmpty())
        return;
    QApplication::setWindowIcon(icon);
    setWindowIcon(icon);
    // A window that waits in the notification area shows its state there.
    trayIcon->setIcon(icon);
}

void Tfrmmain::timer_runningTimer() {
    static const QString kFrames[] = {QStringLiteral("Running"), QStringLiteral("Running."),
                                      QStringLiteral("Running.."), QStringLiteral("Running...")};
    setStatusColour(kRunningGreen);
    lb_running->setText(kFrames[secondsOf(clock().now()) % 4]);
}

void Tfrmmain::T_mm_noteTimer() {
    const engine::LocalDateTime now = clock().now();
    const QColor colour = secondsOf(now) % 2 == 0 ? kNoteBlue : QColor(Qt::black);
    // An empty note has nothing to blink; repainting it would only repaint the box behind it.
    for (QLabel* note : {lb_note1, lb_note2}) {
        if (!note->text().isEmpty())
            setTextColour(note, colour);
    }
    if (!T_pause->isActive())
        return;
    if (dialogs.frm_pause)
        gb_today->setTitle(dialogs.frm_pause->pauseText());
    lb_today->setText(QStringLiteral("Countdown  ") + clockSpan(PauseEndTime - wallClockMs(now)));
}

} // namespace tallowby::ui
