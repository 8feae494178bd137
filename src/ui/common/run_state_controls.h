#pragma once
// A window whose controls follow the run state: the rules' files change only while the rules are
// stopped, so every window that edits them hands its controls to the main window's Running.
#include <QList>

class QWidget;

namespace tallowby::ui {

class RunStateControls {
  public:
    virtual ~RunStateControls() = default;
    // Disabled while the rules run, enabled when they stop.
    virtual QList<QWidget*> editingControls() { return {}; }
    // Only enabled when the rules stop (nothing disables them).
    virtual QList<QWidget*> enabledWhenStopped() { return {}; }
};

} // namespace tallowby::ui
