#include "session_end.h"

#include <QCoreApplication>
#include <QPointer>
#include <cstdlib>

#include "platform/end_request.h"

namespace tallowby::app {
namespace {

QPointer<ui::Tfrmmain> windowToLift;

// A lost display ends the process from inside Qt with exit(): no message loop turns again.
void liftAtExit() {
    if (windowToLift)
        windowToLift->liftWebsiteBlocksForEnd();
}

} // namespace

void liftBlocksWhenSessionEnds(ui::Tfrmmain& window) {
    windowToLift = &window;
    std::atexit(liftAtExit);
    // Qt on Windows ends the message loop itself when the session ends, and the process may be gone
    // soon after: whatever quits the loop lifts the blocks first (Exit has lifted them already).
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, liftAtExit);
    platform::catchEndRequest([] {
        // From the catching thread into the message loop, where the window lives; the request is
        // answered once the window has ended, as Windows may end the process then.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] {
                if (windowToLift)
                    windowToLift->endWithSession();
            },
            Qt::BlockingQueuedConnection);
    });
}

} // namespace tallowby::app
