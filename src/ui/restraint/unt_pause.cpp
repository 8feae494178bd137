#include "ui/restraint/unt_pause.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "store/config_lines.h"
#include "ui/common/fixed_dialog.h"
#include "ui/common/named_widgets.h"
#include "ui/restraint/unt_checkcode.h"

namespace tallowby::ui {

Tfrm_pause::Tfrm_pause(const store::Lines& configLines, Tfrm_checkcode& checkcode, CheckGuard& guard,
                       BeginPause beginPause, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), configLines_(configLines), checkcode_(checkcode), guard_(guard),
      beginPause_(std::move(beginPause)) {
    setObjectName(QStringLiteral("frm_pause"));
    setWindowTitle(QStringLiteral("Pause"));
    setModal(true);
    buildControls();
    checkcode_.setReinvoke(purpose::Pause, [this] { btn_okClick(); });
}

void Tfrm_pause::buildControls() {
    TB_CREATE(lb_pausefor, QStringLiteral("Pause for"));
    TB_CREATE(cbox_pause);
    for (int minutes = 1; minutes <= 10; ++minutes)
        cbox_pause->addItem(QString::number(minutes));
    cbox_pause->setCurrentText(QStringLiteral("5"));
    TB_CREATE(lb_minutes, QStringLiteral("Minutes"));
    auto* choice = new QHBoxLayout;
    choice->addWidget(lb_pausefor);
    choice->addWidget(cbox_pause);
    choice->addWidget(lb_minutes);
    choice->addStretch();

    TB_CREATE(btn_ok, QStringLiteral("Ok"));
    btn_ok->setDefault(true);
    TB_CREATE(btn_cancel, QStringLiteral("Cancel"));
    btn_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_ok);
    buttons->addWidget(btn_cancel);
    buttons->addStretch();

    auto* window = new QVBoxLayout(this);
    window->addLayout(choice);
    window->addSpacing(8);
    window->addLayout(buttons);
    window->setSizeConstraint(QLayout::SetFixedSize);

    connect(btn_ok, &QPushButton::clicked, this, &Tfrm_pause::btn_okClick);
    connect(btn_cancel, &QPushButton::clicked, this, &Tfrm_pause::btn_cancelClick);
}

void Tfrm_pause::showEvent(QShowEvent* event) {
    centreOnScreen(this);
    QDialog::showEvent(event);
}

int Tfrm_pause::minutes() const {
    return cbox_pause->currentText().toInt();
}

QString Tfrm_pause::pauseText() const {
    return pauseText(cbox_pause->currentText());
}

QString Tfrm_pause::pauseText(const QString& minutesText) {
    return QStringLiteral("Pause for ") + minutesText +
           (minutesText == QStringLiteral("1") ? QStringLiteral(" minute") : QStringLiteral(" minutes"));
}

void Tfrm_pause::btn_okClick() {
    if (store::configFlag(configLines_, store::ConfigLine::CheckCodeToPause) && !guard_.PauseConfirmed) {
        // A correct code comes back here with the flag set; otherwise this dialog simply stays open.
        checkcode_.ask(purpose::Pause);
        return;
    }
    guard_.PauseConfirmed = false;
    if (beginPause_)
        beginPause_(minutes());
    accept();
}

void Tfrm_pause::btn_cancelClick() {
    reject();
}

} // namespace tallowby::ui
