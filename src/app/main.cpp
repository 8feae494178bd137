// Tallowby: the program entry. All data lives in the folder of the executable; the sandbox build
// keeps the machine's files (hosts, autostart folder, shutdown) inside that folder as well.
#include <QApplication>
#include <QFile>
#include <exception>

#include "platform/debug_privilege.h"
#include "platform/hosts/hosts_file.h"
#include "platform/linux/procfs_processes.h"
#include "platform/sound/sdl_sound_player.h"
#include "platform/system/session_type.h"
#include "platform/system/single_instance.h"
#include "platform/system/system_operations.h"
#include "platform/x11/x11_platform.h"
#include "program_windows.h"
#include "store/program_paths.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/main/untmain.h"

#ifndef TALLOWBY_SANDBOX
#define TALLOWBY_SANDBOX 0
#endif

namespace {

constexpr char kTitle[] = "Tallowby";

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

    const std::filesystem::path folder =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();

    // One program per folder: a second start ends here, before it has read or written any file
    // and before it has a window or a timer. The lock lives for the whole run.
    const auto instance =
        platform::SingleInstance::acquire(platform::SingleInstance::nameFor(kTitle, folder));
    if (!instance)
        return 0;
    if (!instance->holdsLock()) {
        ui::showMessage(nullptr, ui::fromBytes("Tallowby cannot start: it could not take the lock that "
                                               "keeps a second Tallowby from writing the same files: " +
                                               instance->failure() + "."));
        return 1;
    }

    const store::ProgramPaths paths(folder);
    const platform::SystemPaths system = platform::SystemPaths::forProgram(folder, TALLOWBY_SANDBOX);
    platform::x11::X11Platform desktop;
    const auto shutdown = platform::makeShutdown(system);
    const auto autostart = platform::makeAutoStart(system, folder);
    platform::SdlSoundPlayer sound;
    ui::Enforcement enforcement{desktop.sweepPlatform(),
                                desktop.killer(),
                                platform::HostsFile(system.hostsFile, std::string(platform::nativeLineEnd())),
                                *shutdown,
                                *autostart,
                                platform::ownProcessId(),
                                platform::EnableDebugPrivilege,
                                sound,
                                platform::runsInWaylandSession()};

    app::ProgramWindows windows;
    try {
        windows = app::createProgramWindows(paths, std::move(enforcement));
    } catch (const std::exception& error) {
        ui::showMessage(nullptr, ui::fromBytes(error.what()));
        return 1;
    }
    if (windows.frmmain->ShowMainForm)
        windows.frmmain->show();
    return QApplication::exec();
}
