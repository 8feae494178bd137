#include "desktop_session.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tallowby::app {
namespace {

bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Qt's word that its platform could not be opened comes as a fatal message, after warnings that
// name the display; only the first warning is worth the line.
QByteArray& firstPlatformWarning() {
    static QByteArray warning;
    return warning;
}

void whileOpening(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool platform = context.category != nullptr && QByteArray(context.category).startsWith("qt.qpa");
    if (type == QtFatalMsg) {
        const QByteArray why =
            firstPlatformWarning().isEmpty() ? message.toLocal8Bit() : firstPlatformWarning();
        std::_Exit(refuseWithoutDesktop(why.toStdString()));
    }
    if (platform && type >= QtWarningMsg) {
        if (firstPlatformWarning().isEmpty())
            firstPlatformWarning() = message.toLocal8Bit();
        return;
    }
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace

int refuseWithoutDesktop(const std::string& why) {
    std::fprintf(stderr, "tallowby: Tallowby needs a desktop session: %s\n", why.c_str());
    std::fflush(stderr);
    return 1;
}

std::string whyNoDesktopSession() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string chosen = platform != nullptr ? platform : "";
    const bool opensDisplay = chosen.empty() || chosen.starts_with("xcb") || chosen.starts_with("wayland");
    if (!opensDisplay || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY"))
        return {};
    return "neither DISPLAY nor WAYLAND_DISPLAY names a display";
}

std::unique_ptr<QApplication> openDesktop(int& argc, char** argv) {
    const QtMessageHandler before = qInstallMessageHandler(whileOpening);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(before);
    // Opened after all: what was said on the way is Qt's to say as usual.
    if (!firstPlatformWarning().isEmpty())
        qWarning("%s", firstPlatformWarning().constData());
    return app;
}

} // namespace tallowby::app
