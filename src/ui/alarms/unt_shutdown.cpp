#include "ui/alarms/unt_shutdown.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/shutdown.h"
#include "store/line_values.h"
#include "store/shutdown_settings.h"
#include "ui/alarms/alert_sound.h"
#include "ui/common/fixed_dialog.h"
#include "ui/common/message_box.h"
#include "ui/common/named_widgets.h"
#include "ui/common/pop_ups.h"
#include "ui/restraint/unt_checkcode.h"

namespace tallowby::ui {
namespace {

constexpr int kWarningPointSize = 16;

QLabel* largeText(QLabel* label) {
    QFont font = label->font();
    font.setPointSize(kWarningPointSize);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

Tfrm_shutdown::Tfrm_shutdown(RuleBook& book, AlertSound& sound, Tfrm_checkcode& checkcode, CheckGuard& guard,
                             platform::ShutdownCommand& shutdown, bool& commandStarted, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags | Qt::WindowStaysOnTopHint), book_(book), sound_(sound),
      checkcode_(checkcode), guard_(guard), shutdown_(shutdown), commandStarted_(commandStarted) {
    setObjectName(QStringLiteral("frm_shutdown"));
    setWindowTitle(QStringLiteral("Reminder for shutdown"));
    setModal(true);
    buildControls();
    guard_.ShutdownCancelConfirmed = false;
    checkcode_.setReinvoke(purpose::ShutdownCancel, [this] { btn_cancelClick(); });
}

void Tfrm_shutdown::buildControls() {
    largeText(TB_CREATE(Label1, QStringLiteral("Computer will be shutdown in 10 minutes")));
    largeText(TB_CREATE(Label2, QStringLiteral("Make sure to save your works before that")));
    TB_CREATE(btn_ok, QStringLiteral("I'm aware"));
    btn_ok->setDefault(true);
    TB_CREATE(btn_cancel, QStringLiteral("Cancel the shutdown"));
    btn_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_ok);
    buttons->addWidget(btn_cancel);
    buttons->addStretch();
    auto* window = new QVBoxLayout(this);
    window->addWidget(Label1);
    window->addWidget(Label2);
    window->addSpacing(8);
    window->addLayout(buttons);
    window->setSizeConstraint(QLayout::SetFixedSize);

    TB_CREATE(t_sound, this);
    t_sound->setInterval(kSoundBeatMs);
    TB_CREATE(t_close, this);
    t_close->setInterval(kCloseAfterMs);
    t_close->setSingleShot(true);

    connect(btn_ok, &QPushButton::clicked, this, &Tfrm_shutdown::btn_okClick);
    connect(btn_cancel, &QPushButton::clicked, this, &Tfrm_shutdown::btn_cancelClick);
    connect(t_sound, &QTimer::timeout, this, &Tfrm_shutdown::t_soundTimer);
    connect(t_close, &QTimer::timeout, this, &Tfrm_shutdown::t_closeTimer);
}

std::filesystem::path Tfrm_shutdown::soundFile() const {
    return store::lineAt(book_.lists().SoundLines, 1);
}

void Tfrm_shutdown::showWarning(const QString& caption, bool repeatSound) {
    setWindowTitle(caption);
    repeatSound_ = repeatSound;
    openFor(this, nullptr, true);
    exec();
}

void Tfrm_shutdown::showEvent(QShowEvent* event) {
    // Restored from a minimise, the warning is still the same showing.
    if (!event->spontaneous()) {
        popUpShowing(this);
        sound_.start(this, soundFile(), book_.paths().defaultShutdownSound());
        t_sound->start();
        // Counted from this showing: a warning must never vanish the moment it appears.
        t_close->start();
    }
    QDialog::showEvent(event);
    btn_ok->setFocus();
}

void Tfrm_shutdown::hideEvent(QHideEvent* event) {
    // Minimising hides the window too, but the warning is still unanswered.
    if (!event->spontaneous()) {
        t_sound->stop();
        t_close->stop();
        sound_.stop(this);
        popUpHidden(this);
    }
    QDialog::hideEvent(event);
}

void Tfrm_shutdown::t_soundTimer() {
    if (repeatSound_)
        sound_.repeatIfEnded(this, soundFile(), book_.paths().defaultShutdownSound());
}

void Tfrm_shutdown::t_closeTimer() {
    // The user typing the code to cancel is answering: the warning waits for that answer.
    if (checkcode_.isVisible() && checkcode_.parentWidget() == this) {
        t_close->start();
        return;
    }
    if (isVisible())
        reject();
}

void Tfrm_shutdown::btn_okClick() {
    accept();
}

void Tfrm_shutdown::btn_cancelClick() {
    if (store::isOn(store::lineAt(book_.lists().ReminderLines, 4)) && !guard_.ShutdownCancelConfirmed) {
        // A correct code comes back here with the flag set; giving up leaves the warning open. The
        // code opens above the warning, even over a code already on show for something else.
        checkcode_.ask(purpose::ShutdownCancel, this);
        return;
    }
    guard_.ShutdownCancelConfirmed = false;
    // The warning stays open until the profile no longer plans the shutdown: a cancel that could
    // not be written can be tried again.
    if (!book_.save(RuleFile::Reminders, store::cancelShutdown(book_.lists().ReminderLines)))
        return;
    QString outcome = QStringLiteral("Done.\nNo timer to shutdown now.");
    if (commandStarted_) {
        if (shutdown_.cancel()) {
            commandStarted_ = false;
            outcome = QStringLiteral("Done.\nThe shutdown that had already begun is called off.");
        } else {
            outcome = QStringLiteral("Failed - the shutdown has already begun and could not be called off. "
                                     "Save your work now.");
        }
    }
    accept();
    // Above the check code when that is still on show (the cancel runs inside its OK).
    showMessage(nullptr, outcome);
}

} // namespace tallowby::ui
