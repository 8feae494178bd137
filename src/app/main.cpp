// Tallowby: the program entry. A folder build keeps all its data in the folder of its executable;
// the sandbox build keeps the machine's files (hosts, autostart folder, shutdown) inside that folder
// as well. An installed program keeps the user's data in the user's data folder, filled at every
// start with whatever of the installation's default files it lacks, and hands the hosts file writes
// an ordinary user may not make to its privileged helper.
#include <QApplication>
#include <QFile>
#include <exception>
#include <memory>

#include "platform/debug_privilege.h"
#include "platform/hosts/hosts_file.h"
#include "platform/linux/procfs_processes.h"
#include "platform/linux/sdl_sound_player.h"
#include "platform/linux/xdg_desktop_entries.h"
#include "platform/single_instance.h"
#include "platform/system/default_files.h"
#include "platform/linux/pkexec_hosts_write.h"
#include "platform/system/program_place.h"
#include "platform/system/session_type.h"
#include "platform/system/system_operations.h"
#include "platform/x11/x11_platform.h"
#include "program_windows.h"
#include "session_end.h"
#include "store/program_paths.h"
#include "store/text_file.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/main/untmain.h"

#ifndef TALLOWBY_SANDBOX
#define TALLOWBY_SANDBOX 0
#endif

namespace {

constexpr char kTitle[] = "Tallowby";

void refuseStart(const std::string& why) {
    tallowby::ui::showMessage(nullptr, tallowby::ui::fromBytes("Tallowby cannot start: " + why));
}

} // namespace

int main(int argc, char** argv) {
    using namespace tallowby;
    QApplication app(argc, argv);
    // The application title. No display name: Qt would append it to every window's caption, and
    // the captions are compared exactly (the process pickers leave out their own window by its
    // caption).
    QApplication::setApplicationName(QString::fromLatin1(kTitle));
    // Hidden in the notification area, the program has no visible window; only Exit ends it.
    QApplication::setQuitOnLastWindowClosed(false);

    const platform::UserFolders user = platform::UserFolders::fromEnvironment();
    const platform::ProgramPlace place = platform::locateProgram(
        QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(), user);
    if (place.dataFolder.empty()) {
        refuseStart("it has no folder for its data: neither XDG_DATA_HOME nor HOME names a folder.");
        return 1;
    }

    // One program per data folder: a second start ends here, before it has read or written any file
    // and before it has a window or a timer. The lock lives for the whole run.
    const auto instance = platform::SingleInstance::acquire(
        platform::SingleInstance::nameFor(kTitle, place.dataFolder), place.dataFolder);
    if (!instance)
        return 0;
    if (!instance->holdsLock()) {
        refuseStart("it could not take the lock that keeps a second Tallowby from writing the same files: " +
                    instance->failure() + ".");
        return 1;
    }
    if (place.kind == platform::ProgramKind::Installed) {
        try {
            platform::fillWithDefaults(place.defaultsFolder, place.dataFolder);
        } catch (const store::FileError& error) {
            refuseStart("it could not lay out its data folder " + place.dataFolder.string() + ": " +
                        error.path().string() + ": " + error.what());
            return 1;
        }
    }

    const store::ProgramPaths paths(place.dataFolder, place.defaultsFolder);
    const platform::SystemPaths system = platform::SystemPaths::forPlace(place, user, TALLOWBY_SANDBOX);
    // The sandbox promises to keep inside its own folder: a link at its hosts path may not lead out.
    platform::HostsFile hosts(system.hostsFile, std::string(platform::nativeLineEnd()),
                              system.sandbox() ? place.dataFolder : std::filesystem::path());
    // The sandbox's hosts file is its own to write; only the machine's may need an administrator.
    if (const std::filesystem::path helper = platform::hostsHelperFor(place);
        !system.sandbox() && !helper.empty())
        hosts.setPrivilegedWrite(std::make_shared<platform::BackgroundHostsWrite>(
            platform::PkexecHostsWrite(platform::PkexecHostsWrite::optionsFor(helper, system.hostsFile))));
    platform::XdgDesktopEntries applications(platform::XdgDesktopEntries::dataFolders());
    platform::x11::X11Platform desktop({}, &applications);
    const auto shutdown = platform::makeShutdown(system);
    const auto autostart = platform::makeAutoStart(system, platform::autostartProgramFor(place));
    platform::SdlSoundPlayer sound;
    ui::Enforcement enforcement{desktop.sweepPlatform(),
                                desktop.killer(),
                                std::move(hosts),
                                *shutdown,
                                *autostart,
                                platform::ownProcessId(),
                                platform::EnableDebugPrivilege,
                                sound,
                                applications,
                                platform::runsInWaylandSession()};

    app::ProgramWindows windows;
    try {
        windows = app::createProgramWindows(paths, std::move(enforcement));
    } catch (const std::exception& error) {
        ui::showMessage(nullptr, ui::fromBytes(error.what()));
        return 1;
    }
    app::liftBlocksWhenSessionEnds(*windows.frmmain);
    if (windows.frmmain->ShowMainForm)
        windows.frmmain->show();
    return QApplication::exec();
}
