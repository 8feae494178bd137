#pragma once
// Every window of the program, created once at start-up in the program's fixed order (the main
// window first, so every file is loaded before any dialog exists) and wired to each other.
#include <memory>

#include "engine/clock.h"
#include "store/program_paths.h"
#include "ui/common/enforcement.h"

namespace tallowby::ui {
class Tfrmmain;
class TfrmAbout;
class Tfrm_checkcode;
class Tfrm_toRun;
class Tfrm_Options;
class Tfrm_pause;
} // namespace tallowby::ui

namespace tallowby::app {

struct ProgramWindows {
    ProgramWindows();
    ProgramWindows(ProgramWindows&&) noexcept;
    ProgramWindows& operator=(ProgramWindows&&) noexcept;
    // The dialogs go first, the main window last.
    ~ProgramWindows();

    // In creation order.
    std::unique_ptr<ui::Tfrmmain> frmmain;
    std::unique_ptr<ui::TfrmAbout> frmAbout;
    std::unique_ptr<ui::Tfrm_checkcode> frm_checkcode;
    std::unique_ptr<ui::Tfrm_toRun> frm_toRun;
    std::unique_ptr<ui::Tfrm_Options> frm_Options;
    std::unique_ptr<ui::Tfrm_pause> frm_pause;
};

// Creates the windows (the main window's creation loads the program folder's files) and connects
// the dialogs' callbacks and the check code's re-invocations. The clock is the wall clock unless a
// test passes its own. Throws what the main window's creation throws.
ProgramWindows createProgramWindows(const store::ProgramPaths& paths, ui::Enforcement enforcement,
                                    std::unique_ptr<engine::Clock> clock = nullptr);

} // namespace tallowby::app
