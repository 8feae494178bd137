#include "ui/restraint/unt_torun.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "store/text_file.h"
#include "ui/common/fixed_dialog.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/common/named_widgets.h"

namespace tallowby::ui {

Tfrm_toRun::Tfrm_toRun(std::function<void()> yesAndSave, std::function<void()> run, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), yesAndSave_(std::move(yesAndSave)), run_(std::move(run)) {
    setObjectName(QStringLiteral("frm_toRun"));
    setWindowTitle(QStringLiteral("Tallowby"));
    setModal(true);
    buildControls();
}

void Tfrm_toRun::buildControls() {
    TB_CREATE(lb_question, QStringLiteral("Tallowby is not running, start to run?"));
    // The doubled ampersand shows as one "&" and gives the button no mnemonic.
    TB_CREATE(btn_yesSave, QStringLiteral("Yes && Save"));
    btn_yesSave->setDefault(true);
    TB_CREATE(btn_Yes, QStringLiteral("Yes"));
    btn_Yes->setAutoDefault(false);
    TB_CREATE(btn_no, QStringLiteral("No"));
    btn_no->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btn_yesSave);
    buttons->addWidget(btn_Yes);
    buttons->addWidget(btn_no);

    auto* window = new QVBoxLayout(this);
    window->addWidget(lb_question, 0, Qt::AlignHCenter);
    window->addSpacing(8);
    window->addLayout(buttons);
    window->setSizeConstraint(QLayout::SetFixedSize);

    connect(btn_yesSave, &QPushButton::clicked, this, &Tfrm_toRun::btn_yesSaveClick);
    connect(btn_Yes, &QPushButton::clicked, this, &Tfrm_toRun::btn_YesClick);
    connect(btn_no, &QPushButton::clicked, this, &Tfrm_toRun::btn_noClick);
}

void Tfrm_toRun::btn_yesSaveClick() {
    try {
        if (yesAndSave_)
            yesAndSave_();
    } catch (const store::FileError& error) {
        // The setting could not be stored: say why and let the user answer again.
        showMessage(this, fromBytes(error.what()));
        return;
    }
    accept();
}

void Tfrm_toRun::btn_YesClick() {
    if (run_)
        run_();
    accept();
}

// Esc and the frame's close box end here too (QDialog's reject), which is the same as No.
void Tfrm_toRun::btn_noClick() {
    reject();
}

} // namespace tallowby::ui
