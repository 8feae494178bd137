#include "ui/alarms/unt_reminderShow.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTextOption>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "ui/alarms/alert_sound.h"
#include "ui/common/fixed_dialog.h"
#include "ui/common/named_widgets.h"
#include "ui/common/pop_ups.h"

namespace tallowby::ui {
namespace {

constexpr int kSubjectPoints = 14;
constexpr int kSubjectWidth = 320;
constexpr int kSubjectHeight = 110;

} // namespace

Tfrm_reminderShow::Tfrm_reminderShow(AlertSound& sound, std::filesystem::path soundFile,
                                     std::filesystem::path defaultSound, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags | Qt::WindowStaysOnTopHint), sound_(sound),
      soundFile_(std::move(soundFile)), defaultSound_(std::move(defaultSound)) {
    setObjectName(QStringLiteral("frm_reminderShow"));
    setWindowTitle(QStringLiteral("Reminder"));
    setModal(true);

    TB_CREATE(Memo_sub);
    Memo_sub->setReadOnly(true);
    Memo_sub->setFrameShape(QFrame::NoFrame);
    Memo_sub->setFixedSize(kSubjectWidth, kSubjectHeight);
    Memo_sub->setAccessibleName(QStringLiteral("Subject"));
    // Enter and Space must reach "OK"; the text can still be selected with the mouse.
    Memo_sub->setFocusPolicy(Qt::NoFocus);
    QFont large = Memo_sub->font();
    large.setPointSize(kSubjectPoints);
    Memo_sub->setFont(large);
    QTextOption centred = Memo_sub->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    Memo_sub->document()->setDefaultTextOption(centred);
    // The text lies on the window itself, not in a field to type into.
    QPalette face = Memo_sub->palette();
    face.setColor(QPalette::Base, palette().color(QPalette::Window));
    Memo_sub->setPalette(face);

    TB_CREATE(btn_OK, QStringLiteral("OK"));
    btn_OK->setDefault(true);

    TB_CREATE(t_sound, this);
    t_sound->setInterval(kSoundBeatMs);
    TB_CREATE(t_close, this);
    t_close->setInterval(kCloseAfterMs);
    t_close->setSingleShot(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_OK);
    buttons->addStretch();
    auto* window = new QVBoxLayout(this);
    window->addWidget(Memo_sub);
    window->addLayout(buttons);
    window->setSizeConstraint(QLayout::SetFixedSize);

    connect(btn_OK, &QPushButton::clicked, this, &Tfrm_reminderShow::btn_OKClick);
    connect(t_sound, &QTimer::timeout, this, &Tfrm_reminderShow::t_soundTimer);
    connect(t_close, &QTimer::timeout, this, &Tfrm_reminderShow::t_closeTimer);
}

Tfrm_reminderShow::~Tfrm_reminderShow() {
    // Another pop-up made later at the same address must not find itself holding this one's sound.
    sound_.stop(this);
}

void Tfrm_reminderShow::showReminder(const QString& caption, const QString& subject, bool repeatSound) {
    setWindowTitle(caption);
    Memo_sub->setPlainText(subject);
    repeatSound_ = repeatSound;
    openFor(this, nullptr, true);
    exec();
}

void Tfrm_reminderShow::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        popUpShowing(this);
        sound_.start(this, soundFile_, defaultSound_);
        t_sound->start();
        // Counted from this showing: a timer left running from an earlier one could close the
        // pop-up the moment it appears.
        t_close->start();
    }
    QDialog::showEvent(event);
    btn_OK->setFocus();
}

void Tfrm_reminderShow::hideEvent(QHideEvent* event) {
    // Minimising hides the window too, but the reminder is still unanswered.
    if (!event->spontaneous()) {
        t_sound->stop();
        t_close->stop();
        sound_.stop(this);
        popUpHidden(this);
    }
    QDialog::hideEvent(event);
}

void Tfrm_reminderShow::btn_OKClick() {
    accept();
}

void Tfrm_reminderShow::t_soundTimer() {
    if (repeatSound_)
        sound_.repeatIfEnded(this, soundFile_, defaultSound_);
}

void Tfrm_reminderShow::t_closeTimer() {
    if (isVisible())
        reject();
}

} // namespace tallowby::ui
