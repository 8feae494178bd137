#include "ui/rules/unt_domainadd.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/edit_rules.h"
#include "ui/common/fixed_dialog.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/common/named_widgets.h"

namespace tallowby::ui {
namespace {

constexpr int kEditWidth = 260;

} // namespace

Tfrm_domainAdd::Tfrm_domainAdd(QListWidget* target, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), target_(target) {
    setObjectName(QStringLiteral("frm_domainAdd"));
    setWindowTitle(QStringLiteral("Website to be locked"));
    setModal(true);

    TB_CREATE(edt_domain, QString::fromLatin1(kSampleWebsite));
    edt_domain->setMinimumWidth(kEditWidth);
    edt_domain->setAccessibleName(QStringLiteral("Website name"));
    TB_CREATE(btn_add, QStringLiteral("Add"));
    btn_add->setDefault(true);
    TB_CREATE(btn_reset, QStringLiteral("Reset"));
    btn_reset->setAutoDefault(false);
    TB_CREATE(btn_cancel, QStringLiteral("Close"));
    btn_cancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_add);
    buttons->addWidget(btn_reset);
    buttons->addWidget(btn_cancel);
    auto* window = new QVBoxLayout(this);
    window->addWidget(edt_domain);
    window->addLayout(buttons);
    window->setSizeConstraint(QLayout::SetFixedSize);

    connect(btn_add, &QPushButton::clicked, this, &Tfrm_domainAdd::btn_addClick);
    connect(btn_reset, &QPushButton::clicked, this, &Tfrm_domainAdd::btn_resetClick);
    connect(btn_cancel, &QPushButton::clicked, this, &Tfrm_domainAdd::btn_cancelClick);
}

QList<QWidget*> Tfrm_domainAdd::editingControls() {
    return {btn_add};
}

void Tfrm_domainAdd::showEvent(QShowEvent* event) {
    edt_domain->setText(QString::fromLatin1(kSampleWebsite));
    edt_domain->selectAll();
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void Tfrm_domainAdd::btn_addClick() {
    const std::string name = engine::trimEntry(toBytes(edt_domain->text()));
    if (name.empty())
        return;
    // A name the list format cannot hold would vanish, with every entry after it, when the file is
    // read back: it is refused here, and the dialog stays open for a correction.
    if (const auto failure = engine::websiteEntryFailure(name)) {
        showMessage(this, fromBytes(*failure));
        return;
    }
    target_->addItem(fromBytes(name));
    accept();
}

void Tfrm_domainAdd::btn_resetClick() {
    edt_domain->clear();
}

void Tfrm_domainAdd::btn_cancelClick() {
    reject();
}

Tfrm_WholeDayDomainAdd::Tfrm_WholeDayDomainAdd(QListWidget* target, QWidget* parent)
    : Tfrm_domainAdd(target, parent) {
    setObjectName(QStringLiteral("frm_WholeDayDomainAdd"));
}

} // namespace tallowby::ui
