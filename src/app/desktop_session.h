#pragma once
// Tallowby is a desktop program: started where no desktop can be reached (a console, a cron job, an
// ssh login without X forwarding) it says so in one line and ends with status 1, instead of Qt's
// own abort, whose advice to reinstall the program is wrong.
#include <QApplication>
#include <memory>
#include <string>

namespace tallowby::app {

// Why no desktop session can be used, before one is tried: neither DISPLAY nor WAYLAND_DISPLAY
// names a display while Qt is to open one (QT_QPA_PLATFORM unset, xcb or wayland). Empty when
// there is nothing against trying.
std::string whyNoDesktopSession();

// Says in one line why the program cannot start without a desktop session; the exit status, 1.
int refuseWithoutDesktop(const std::string& why);

// The application, made with the display opened; a display that cannot be opened ends the program
// here with its one line and status 1.
std::unique_ptr<QApplication> openDesktop(int& argc, char** argv);

} // namespace tallowby::app
