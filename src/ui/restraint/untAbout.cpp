#include "ui/restraint/untAbout.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/common/fixed_dialog.h"
#include "ui/common/named_widgets.h"

namespace tallowby::ui {

// The box names no mail or web address: the program has no maker's pages of its own to point at.
TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent, kFixedDialogFlags) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);

    TB_CREATE(lb_title, QStringLiteral("Tallowby"));
    QFont titleFont = lb_title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
    titleFont.setBold(true);
    lb_title->setFont(titleFont);
    TB_CREATE(Label2, QStringLiteral("Version: 5.09.03"));
    TB_CREATE(Button1, QStringLiteral("OK"));
    Button1->setDefault(true);

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(40, 20, 40, 16);
    window->addWidget(lb_title, 0, Qt::AlignHCenter);
    window->addWidget(Label2, 0, Qt::AlignHCenter);
    window->addSpacing(12);
    window->addWidget(Button1, 0, Qt::AlignHCenter);
    window->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, &TfrmAbout::Button1Click);
}

void TfrmAbout::Button1Click() {
    reject();
}

} // namespace tallowby::ui
