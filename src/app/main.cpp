// Tallowby: the program entry. A folder build keeps all its data in the folder of its executable;
// the sandbox build keeps the machine's files (hosts, autostart folder, shutdown) inside that folder
// as well. An installed program keeps the user's data in the user's data folder, filled at every
// start with whatever of the installation's default files it lacks, and hands the hosts file writes
// an ordinary user may not make to its privileged helper.
#include <QApplication>
#include <QFile>
#include <exception>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "command_line.h"
#include "desktop_session.h"
#include "platform/debug_privilege.h"
#include "platform/single_instance.h"
#include "platform/system/default_files.h"
#include "platform/system/desktop_system.h"
#include "platform/system/program_place.h"
#include "platform/system/session_type.h"
#include "platform/system/system_operations.h"
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
    if (const std::optional<int> status = app::answerCommandLine(argc, argv, std::cout, std::cerr))
        return *status;
    if (const std::string why = app::whyNoDesktopSession(); !why.empty())
        return app::refuseWithoutDesktop(why);
    const std::unique_ptr<QApplication> application = app::openDesktop(argc, argv);
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
    const auto instance = platform::SingleInstance::acquire(kTitle, place.dataFolder);
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
    const auto desktop = platform::makeDesktopSystem();
    const auto shutdown = platform::makeShutdown(system);
    const auto autostart = platform::makeAutoStart(system, platform::autostartProgramFor(place));
    ui::Enforcement enforcement{desktop->sweepPlatform(),
                                desktop->killer(),
                                platform::makeHostsFile(place, system),
                                *shutdown,
                                *autostart,
                                desktop->ownProcess(),
                                platform::EnableDebugPrivilege,
                                desktop->sound(),
                                desktop->applications(),
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
