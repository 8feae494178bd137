#include "program_windows.h"

#include <type_traits>

#include "store/config_lines.h"
#include "ui/alarms/unt_autoshutdown.h"
#include "ui/alarms/unt_reminders.h"
#include "ui/alarms/unt_shutdown.h"
#include "ui/common/check_guard.h"
#include "ui/main/session_panel.h"
#include "ui/main/untmain.h"
#include "ui/main/whole_day_panel.h"
#include "ui/profiles/unt_profiles.h"
#include "ui/restraint/untAbout.h"
#include "ui/restraint/unt_Options.h"
#include "ui/restraint/unt_checkcode.h"
#include "ui/restraint/unt_pause.h"
#include "ui/restraint/unt_torun.h"
#include "ui/rules/unt_addprocess.h"
#include "ui/rules/unt_domainadd.h"
#include "ui/rules/unt_sessionAdd.h"
#include "ui/rules/unt_wholedayAddprocess.h"

namespace tallowby::app {
namespace {

// Makes one dialog: the program keeps it, the main window's dialog list names it, and its
// controls follow the run state.
template <typename Dialog, typename... Args>
Dialog& make(ProgramWindows& windows, QPointer<Dialog>& entry, Args&&... args) {
    auto dialog = std::make_unique<Dialog>(std::forward<Args>(args)...);
    Dialog& made = *dialog;
    entry = &made;
    if constexpr (std::is_base_of_v<ui::RunStateControls, Dialog>)
        windows.frmmain->addRunStateControls(made);
    windows.dialogs.push_back(std::move(dialog));
    return made;
}

} // namespace

ProgramWindows::ProgramWindows() = default;
ProgramWindows::ProgramWindows(ProgramWindows&&) noexcept = default;
ProgramWindows& ProgramWindows::operator=(ProgramWindows&& other) noexcept {
    if (this != &other) {
        // The windows held until now go as the destructor lets them go: member by member, the main
        // window would go before the dialogs that hang on it.
        close();
        frmmain = std::move(other.frmmain);
        dialogs = std::move(other.dialogs);
    }
    return *this;
}

ProgramWindows::~ProgramWindows() {
    close();
}

void ProgramWindows::close() {
    while (!dialogs.empty())
        dialogs.pop_back();
    frmmain.reset();
}

ProgramWindows createProgramWindows(const store::ProgramPaths& paths, ui::Enforcement enforcement,
                                    std::unique_ptr<engine::Clock> clock) {
    ProgramWindows windows;
    windows.frmmain = std::make_unique<ui::Tfrmmain>(paths, std::move(enforcement), std::move(clock));
    ui::Tfrmmain& main = *windows.frmmain;
    ui::ProgramDialogs& dialogs = main.dialogs;
    ui::CheckGuard& guard = main.checkGuard;
    ui::SessionPanel& sessions = *main.gb_sessionAll;
    ui::WholeDayPanel& wholeDay = *main.gb_wholeday;
    platform::SweepPlatform desktop = main.enforcement().sweep;

    make(windows, dialogs.frmAbout, &main);
    make(windows, dialogs.frm_sessionAdd, main, sessions, main.clock());
    platform::ProgramNamer& namer = main.enforcement().sweep.namer;
    platform::DesktopEntries& applications = main.enforcement().desktopEntries;
    make(windows, dialogs.frm_AddProcess, sessions.lbox_processList, desktop.windows, desktop.processes,
         namer, applications);
    make(windows, dialogs.frm_WholedayAddProcess, wholeDay.lb_wholedayprocess, desktop.windows,
         desktop.processes, namer, applications);
    make(windows, dialogs.frm_domainAdd, sessions.Lbox_domainlist);
    make(windows, dialogs.frm_WholeDayDomainAdd, wholeDay.lb_wholedaydomain);

    ui::Tfrm_checkcode& checkcode = make(windows, dialogs.frm_checkcode, guard, [&main] {
        return store::configValue(main.ConfigLines, store::ConfigLine::CheckCodeLength);
    });
    // A correct code re-invokes the action that asked: Exit and Stop here; the Options dialog's
    // Save ("OptiinSave") and the pause dialog's Ok ("Pause") register themselves as they are made.
    checkcode.setReinvoke(ui::purpose::Exit, [&main] { main.m_exitClick(); });
    checkcode.setReinvoke(ui::purpose::Stop, [&main] { main.M_stopClick(); });

    make(windows, dialogs.frm_profiles, main);
    make(windows, dialogs.frm_reminders, main);
    // The warning registers its cancel for "ShutdownCheck" with the check code as it is made. The
    // reminder pop-ups are made one per reminder as they fall due.
    make(windows, dialogs.frm_shutdown, main, main.alertSound, checkcode, guard, main.enforcement().shutdown,
         main.ShutdownCommandStarted);

    make(
        windows, dialogs.frm_toRun, [&main] { main.toRunYesAndSave(); }, [&main] { main.m_runClick(); });

    const std::filesystem::path configFile = paths.configFile();
    make(windows, dialogs.frm_Options, main, main.enforcement().autostart, checkcode, guard,
         ui::Tfrm_Options::Callbacks{[&main, configFile] { main.LoadConfiglist(configFile); },
                                     [&main](bool shown) { main.showWholeDayPanel(shown); }});

    make(windows, dialogs.frm_autoShutdown, main);

    make(windows, dialogs.frm_pause, main.ConfigLines, checkcode, guard,
         [&main](int minutes) { main.beginPause(minutes); });

    main.startTimers();
    return windows;
}

} // namespace tallowby::app
