#pragma once
// Every window of the program, created once at start-up in the program's fixed order (the main
// window first, so every file is loaded before any dialog exists) and wired to each other.
#include <QWidget>
#include <memory>
#include <vector>

#include "engine/clock.h"
#include "store/program_paths.h"
#include "ui/common/enforcement.h"
#include "ui/main/program_dialogs.h"

namespace tallowby::ui {
class Tfrmmain;
} // namespace tallowby::ui

namespace tallowby::app {

struct ProgramWindows {
    ProgramWindows();
    ProgramWindows(ProgramWindows&&) noexcept;
    ProgramWindows& operator=(ProgramWindows&&) noexcept;
    // The dialogs go first, in the reverse of their creation order, the main window last.
    ~ProgramWindows();
    void close();

    std::unique_ptr<ui::Tfrmmain> frmmain;
    // The dialogs in creation order; ui::ProgramDialogs (frmmain->dialogs) names them.
    std::vector<std::unique_ptr<QWidget>> dialogs;
};

// Creates the windows (the main window's creation loads the program folder's files), connects the
// dialogs' callbacks and the check code's re-invocations, and then starts the main window's
// timers. The clock is the wall clock unless a test passes its own. Throws what the main window's
// creation throws.
ProgramWindows createProgramWindows(const store::ProgramPaths& paths, ui::Enforcement enforcement,
                                    std::unique_ptr<engine::Clock> clock = nullptr);

} // namespace tallowby::app
