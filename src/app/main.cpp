// Tallowby: the program entry. All data lives in the folder of the executable; the sandbox build
// keeps the machine's files (hosts, autostart folder, shutdown) inside that folder as well.
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <exception>
#include <memory>

#include "platform/hosts/hosts_file.h"
#include "platform/linux/procfs_processes.h"
#include "platform/system/system_operations.h"
#include "platform/x11/x11_platform.h"
#include "store/program_paths.h"
#include "ui/untmain.h"

#ifndef TALLOWBY_SANDBOX
#define TALLOWBY_SANDBOX 0
#endif

int main(int argc, char** argv) {
    using namespace tallowby;
    QApplication app(argc, argv);
    // The application title. No display name: Qt would append it to every window's caption, and
    // the captions are compared exactly (the rules spare their own main window by its caption).
    QApplication::setApplicationName(QStringLiteral("Tallowby"));

    const std::filesystem::path folder =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    const store::ProgramPaths paths(folder);
    const platform::SystemPaths system = platform::SystemPaths::forProgram(folder, TALLOWBY_SANDBOX);

    platform::x11::X11Platform desktop;
    const auto shutdown = platform::makeShutdown(system);
    const auto autostart = platform::makeAutoStart(system, folder);
    ui::Enforcement enforcement{desktop.sweepPlatform(),
                                desktop.killer(),
                                platform::HostsFile(system.hostsFile, std::string(platform::nativeLineEnd())),
                                *shutdown,
                                *autostart,
                                platform::ownExecutableName()};

    std::unique_ptr<ui::Tfrmmain> frmmain;
    try {
        frmmain = std::make_unique<ui::Tfrmmain>(paths, std::move(enforcement));
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Tallowby"), QString::fromLocal8Bit(error.what()));
        return 1;
    }
    if (!frmmain->startsToIcon())
        frmmain->show();
    return QApplication::exec();
}
