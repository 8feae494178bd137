#pragma once
// The process picker of the whole-day rules: the session picker over the whole-day list, with a
// lighter touch. It lists the windows only when created and on Refresh, Reset leaves the keyboard
// where it was, and Cancel drops the edits.
#include "ui/rules/unt_addprocess.h"

namespace tallowby::ui {

class Tfrm_WholedayAddProcess : public Tfrm_AddProcess {
    Q_OBJECT

  public:
    Tfrm_WholedayAddProcess(QListWidget* target, platform::WindowLister& windows,
                            platform::ProcessLister& processes, platform::ProgramNamer& namer,
                            platform::DesktopEntries& entries, QWidget* parent = nullptr);
};

} // namespace tallowby::ui
