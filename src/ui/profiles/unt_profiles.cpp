#include "ui/profiles/unt_profiles.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "store/config_lines.h"
#include "store/profile_files.h"
#include "ui/common/fixed_dialog.h"
#include "ui/common/list_entries.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/common/named_widgets.h"

namespace tallowby::ui {
namespace {

constexpr int kListWidth = 220;
constexpr int kListHeight = 180;

const std::string& defaultProfile(const store::RuleLists& lists) {
    return store::configValue(lists.ConfigLines, store::ConfigLine::Profile);
}

} // namespace

Tfrm_profiles::Tfrm_profiles(RuleBook& book, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), book_(book) {
    setObjectName(QStringLiteral("frm_profiles"));
    setWindowTitle(QStringLiteral("Profiles"));
    setModal(true);
    buildControls();
}

void Tfrm_profiles::buildControls() {
    TB_CREATE(Label1, QStringLiteral("Default:"));
    TB_CREATE(lb_default, QStringLiteral("None"));
    lb_default->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* defaultRow = new QHBoxLayout;
    defaultRow->addWidget(Label1);
    defaultRow->addWidget(lb_default, 1);

    TB_CREATE(gb_profiles, QStringLiteral("Profile list"));
    TB_CREATE(lbox_profilelist);
    lbox_profilelist->setAccessibleName(QStringLiteral("Profile list"));
    lbox_profilelist->setSelectionMode(QAbstractItemView::SingleSelection);
    lbox_profilelist->setMinimumSize(kListWidth, kListHeight);
    auto* listBox = new QVBoxLayout(gb_profiles);
    listBox->addWidget(lbox_profilelist);

    TB_CREATE(btn_add, QStringLiteral("Add"));
    TB_CREATE(btn_copy, QStringLiteral("Copy"));
    TB_CREATE(btn_remove, QStringLiteral("Remove"));
    TB_CREATE(btn_rename, QStringLiteral("Rename"));
    TB_CREATE(btn_default, QStringLiteral("Set defualt"));
    TB_CREATE(btn_exit, QStringLiteral("Exit"));
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {btn_add, btn_copy, btn_remove, btn_rename, btn_default}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    btn_exit->setAutoDefault(false);
    buttons->addWidget(btn_exit);

    auto* body = new QHBoxLayout;
    body->addWidget(gb_profiles, 1);
    body->addLayout(buttons);
    auto* window = new QVBoxLayout(this);
    window->addLayout(defaultRow);
    window->addLayout(body);
    window->setSizeConstraint(QLayout::SetFixedSize);

    connect(btn_add, &QPushButton::clicked, this, &Tfrm_profiles::btn_addClick);
    connect(btn_copy, &QPushButton::clicked, this, &Tfrm_profiles::btn_copyClick);
    connect(btn_remove, &QPushButton::clicked, this, &Tfrm_profiles::btn_removeClick);
    connect(btn_rename, &QPushButton::clicked, this, &Tfrm_profiles::btn_renameClick);
    connect(btn_default, &QPushButton::clicked, this, &Tfrm_profiles::btn_defaultClick);
    connect(btn_exit, &QPushButton::clicked, this, &Tfrm_profiles::btn_exitClick);
}

QList<QWidget*> Tfrm_profiles::editingControls() {
    return {btn_add, btn_copy, btn_remove, btn_rename, btn_default};
}

void Tfrm_profiles::showEvent(QShowEvent* event) {
    refresh();
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void Tfrm_profiles::refresh() {
    const store::RuleLists& lists = book_.lists();
    setListEntries(lbox_profilelist, lists.ProfileLines);
    lb_default->setText(fromBytes(defaultProfile(lists)));
    const auto& names = lists.ProfileLines;
    const auto last = std::find(names.rbegin(), names.rend(), defaultProfile(lists));
    if (last != names.rend())
        lbox_profilelist->setCurrentRow(static_cast<int>(names.rend() - last) - 1);
    else if (!names.empty())
        lbox_profilelist->setCurrentRow(0);
}

int Tfrm_profiles::selectedRow() const {
    const QList<QListWidgetItem*> selected = lbox_profilelist->selectedItems();
    if (selected.isEmpty())
        return -1;
    const int row = lbox_profilelist->row(selected.first());
    // The rows are ProfileLines' entries; a list that changed behind the dialog has no such row.
    return row < static_cast<int>(book_.lists().ProfileLines.size()) ? row : -1;
}

QString Tfrm_profiles::askNewName() {
    return askText(this, QStringLiteral("New name"), QStringLiteral("Input new name:")).value_or(QString());
}

void Tfrm_profiles::apply(store::ProfileChange& change) {
    // The rules may have started again while a name or a question was asked: nothing changes then.
    if (!btn_add->isEnabled()) {
        change.undo();
        return;
    }
    if (change.failure) {
        showMessage(this, fromBytes(*change.failure));
        return;
    }
    const store::Lines oldConfig = book_.lists().ConfigLines;
    if (change.configLines && !book_.save(RuleFile::Config, *change.configLines)) {
        change.undo();
        return;
    }
    if (!book_.save(RuleFile::Profiles, change.profileLines)) {
        // config.db may name the new profile by now: its files go only once it names the old one again,
        // so that either way the default profile has its files.
        if (!change.configLines || book_.save(RuleFile::Config, oldConfig))
            change.undo();
        refresh();
        return;
    }
    if (const auto failure = change.finish())
        showMessage(this, fromBytes(*failure));
    refresh();
}

void Tfrm_profiles::btn_addClick() {
    const QString typed = askNewName();
    auto change = store::addProfile(book_.paths(), book_.lists().ProfileLines, toBytes(typed));
    apply(change);
}

void Tfrm_profiles::btn_copyClick() {
    const int row = selectedRow();
    if (row < 0) {
        showMessage(this, QStringLiteral("Please select profile to be copied."));
        return;
    }
    auto change =
        store::copyProfile(book_.paths(), book_.lists().ProfileLines, static_cast<std::size_t>(row));
    apply(change);
}

void Tfrm_profiles::btn_removeClick() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const store::RuleLists& lists = book_.lists();
    // Nothing is deleted before the list is written, so the refusal of the default comes first and the
    // question after it.
    auto change = store::removeProfile(book_.paths(), lists.ProfileLines, lists.ConfigLines,
                                       static_cast<std::size_t>(row));
    if (!change.failure && !askYesNo(this, QStringLiteral("Confirm to remove profile: ") +
                                               lbox_profilelist->item(row)->text() + QStringLiteral(" ?")))
        return;
    apply(change);
}

void Tfrm_profiles::btn_renameClick() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString typed = askNewName();
    const store::RuleLists& lists = book_.lists();
    auto change = store::renameProfile(book_.paths(), lists.ProfileLines, lists.ConfigLines,
                                       static_cast<std::size_t>(row), toBytes(typed));
    apply(change);
}

void Tfrm_profiles::btn_defaultClick() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const std::string name = book_.lists().ProfileLines[static_cast<std::size_t>(row)];
    if (name == defaultProfile(book_.lists()))
        return;
    store::Lines config = book_.lists().ConfigLines;
    store::setConfigValue(config, store::ConfigLine::Profile, name);
    if (!book_.save(RuleFile::Config, config))
        return;
    book_.reloadProfile();
    refresh();
}

void Tfrm_profiles::btn_exitClick() {
    reject();
}

} // namespace tallowby::ui
