#include "program_windows.h"

#include "store/config_lines.h"
#include "ui/common/check_guard.h"
#include "ui/main/untmain.h"
#include "ui/restraint/untAbout.h"
#include "ui/restraint/unt_Options.h"
#include "ui/restraint/unt_checkcode.h"
#include "ui/restraint/unt_pause.h"
#include "ui/restraint/unt_torun.h"

namespace tallowby::app {

ProgramWindows::ProgramWindows() = default;
ProgramWindows::ProgramWindows(ProgramWindows&&) noexcept = default;
ProgramWindows& ProgramWindows::operator=(ProgramWindows&&) noexcept = default;

ProgramWindows::~ProgramWindows() {
    frm_pause.reset();
    frm_Options.reset();
    frm_toRun.reset();
    frm_checkcode.reset();
    frmAbout.reset();
    frmmain.reset();
}

ProgramWindows createProgramWindows(const store::ProgramPaths& paths, ui::Enforcement enforcement,
                                    std::unique_ptr<engine::Clock> clock) {
    ProgramWindows windows;
    windows.frmmain = std::make_unique<ui::Tfrmmain>(paths, std::move(enforcement), std::move(clock));
    ui::Tfrmmain& main = *windows.frmmain;
    ui::CheckGuard& guard = main.checkGuard;

    windows.frmAbout = std::make_unique<ui::TfrmAbout>(&main);
    // The windows of the session and whole-day rules (process pickers, the session time dialog,
    // the website dialogs) take their places here.

    windows.frm_checkcode = std::make_unique<ui::Tfrm_checkcode>(
        guard, [&main] { return store::configValue(main.ConfigLines, store::ConfigLine::CheckCodeLength); });
    ui::Tfrm_checkcode& checkcode = *windows.frm_checkcode;
    // A correct code re-invokes the action that asked: Exit and Stop here; the Options dialog's
    // Save ("OptiinSave") and the pause dialog's Ok ("Pause") register themselves as they are made.
    checkcode.setReinvoke(ui::purpose::Exit, [&main] { main.m_exitClick(); });
    checkcode.setReinvoke(ui::purpose::Stop, [&main] { main.M_stopClick(); });

    // The profile manager, the reminders editor, the reminder pop-up and the shutdown warning take
    // their places here. The shutdown warning registers its cancel for "ShutdownCheck"
    // (ui::purpose::ShutdownCancel) with the check code as it is made.

    windows.frm_toRun =
        std::make_unique<ui::Tfrm_toRun>([&main] { main.toRunYesAndSave(); }, [&main] { main.m_runClick(); });

    const std::filesystem::path configFile = paths.configFile();
    ui::Tfrm_Options::Callbacks optionsCallbacks{[&main, configFile] { main.LoadConfiglist(configFile); },
                                                 [&main](bool shown) { main.showWholeDayPanel(shown); }};
    windows.frm_Options =
        std::make_unique<ui::Tfrm_Options>(main.ConfigLines, configFile, main.enforcement().autostart,
                                           checkcode, guard, std::move(optionsCallbacks));

    // The automatic-shutdown setup takes its place here.

    windows.frm_pause = std::make_unique<ui::Tfrm_pause>(main.ConfigLines, checkcode, guard,
                                                         [&main](int minutes) { main.beginPause(minutes); });

    main.attachDialogs({windows.frmAbout.get(), windows.frm_checkcode.get(), windows.frm_toRun.get(),
                        windows.frm_Options.get(), windows.frm_pause.get()});
    return windows;
}

} // namespace tallowby::app
