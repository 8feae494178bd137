#pragma once
// The week days, the process list with its mode and the website list: the same controls in the
// session panel and in the whole-day panel, built once and read and shown the same way.
#include <QGridLayout>
#include <array>

#include "store/rule_fields.h"
#include "ui/common/named_widgets.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tallowby::ui {

// The members to create, under each panel's own names.
struct RuleControlSlots {
    Slot<QGroupBox> dayGroup;
    std::array<Slot<QCheckBox>, 7> days;
    Slot<QGroupBox> processGroup;
    Slot<QLabel> modeLabel;
    Slot<QRadioButton> block;
    Slot<QRadioButton> focus;
    Slot<QListWidget> processes;
    Slot<QPushButton> processAdd;
    Slot<QPushButton> processDel;
    Slot<QGroupBox> websiteGroup;
    Slot<QListWidget> websites;
    Slot<QPushButton> websiteAdd;
    Slot<QPushButton> websiteDel;
};

// Creates the controls and lays them out: week days across the top, the process and website groups
// side by side below.
QGridLayout* buildRuleControls(const RuleControlSlots& slots);

// Small "Add"/"Del" buttons as on a compact tool window, not the style's wide default.
QPushButton* compactButton(QPushButton* button);

// The controls that hold one record's rules.
struct RuleControlSet {
    std::array<QCheckBox*, 7> days; // Sunday first
    QRadioButton* block;
    QRadioButton* focus;
    QListWidget* processes;
    QListWidget* websites;
};

void showRuleFields(const RuleControlSet& controls, const store::RuleFields& fields);
store::RuleFields ruleFieldsOf(const RuleControlSet& controls);

// Removes the selected entry of a list; false when nothing was selected.
bool removeSelectedEntry(QListWidget* list);

} // namespace tallowby::ui
