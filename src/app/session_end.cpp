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
    platform::catchEndRequest([] {
        // From the catching thread into the message loop, where the window lives.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [] {
                if (windowToLift)
                    windowToLift->endWithSession();
            },
            Qt::QueuedConnection);
    });
}

} // namespace tallowby::app
