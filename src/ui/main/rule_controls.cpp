#include "ui/main/rule_controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/common/day_boxes.h"
#include "ui/common/list_entries.h"

namespace tallowby::ui {
namespace {

constexpr int kListWidth = 150;
constexpr int kListHeight = 170;

QHBoxLayout* row(std::initializer_list<QWidget*> widgets) {
    auto* layout = new QHBoxLayout;
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    layout->addStretch();
    return layout;
}

// A group holding a list over its Add and Del buttons.
QGroupBox* listGroup(QGroupBox* box, QListWidget* list, QPushButton* add, QPushButton* del) {
    auto* layout = new QVBoxLayout(box);
    list->setMinimumSize(kListWidth, kListHeight);
    layout->addWidget(list, 1);
    layout->addLayout(row({compactButton(add), compactButton(del)}));
    return box;
}

} // namespace

QPushButton* compactButton(QPushButton* button) {
    reserveTextWidth(button, {button->text()}, 22);
    return button;
}

QGridLayout* buildRuleControls(const RuleControlSlots& c) {
    QGroupBox* days = c.dayGroup.create(QStringLiteral("Week Days"));
    setHint(days, QStringLiteral("Select days want to RUN rules"));
    auto* dayRow = new QHBoxLayout(days);
    for (QCheckBox* day : createDayBoxes(c.days))
        dayRow->addWidget(day);
    dayRow->addStretch();

    QGroupBox* processes =
        listGroup(c.processGroup.create(QStringLiteral("Process List")), c.processes.create(),
                  c.processAdd.create(QStringLiteral("Add")), c.processDel.create(QStringLiteral("Del")));
    QRadioButton* block = c.block.create(QStringLiteral("Block"));
    setHint(block, QStringLiteral("Block below process"));
    QRadioButton* focus = c.focus.create(QStringLiteral("Focus"));
    setHint(focus, QStringLiteral("Allow only below process"));
    auto* processLayout = static_cast<QVBoxLayout*>(processes->layout());
    processLayout->insertLayout(0, row({c.modeLabel.create(QStringLiteral("Mode:")), block, focus}));

    QGroupBox* websites =
        listGroup(c.websiteGroup.create(QStringLiteral("Blocked Website List")), c.websites.create(),
                  c.websiteAdd.create(QStringLiteral("Add")), c.websiteDel.create(QStringLiteral("Del")));

    auto* grid = new QGridLayout;
    grid->addWidget(days, 0, 0, 1, 2);
    grid->addWidget(processes, 1, 0);
    grid->addWidget(websites, 1, 1);
    grid->setRowStretch(1, 1);
    return grid;
}

void showRuleFields(const RuleControlSet& controls, const store::RuleFields& fields) {
    showWeekDays(controls.days, fields.weekDays);
    (fields.blockMode ? controls.block : controls.focus)->setChecked(true);
    setListEntries(controls.processes, fields.processes);
    setListEntries(controls.websites, fields.websites);
}

store::RuleFields ruleFieldsOf(const RuleControlSet& controls) {
    store::RuleFields fields;
    fields.weekDays = weekDaysOf(controls.days);
    fields.blockMode = controls.block->isChecked();
    fields.processes = listEntries(controls.processes);
    fields.websites = listEntries(controls.websites);
    return fields;
}

bool removeSelectedEntry(QListWidget* list) {
    const int row = list->currentRow();
    if (row < 0 || !list->item(row)->isSelected())
        return false;
    delete list->takeItem(row);
    return true;
}

} // namespace tallowby::ui
