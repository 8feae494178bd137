// Tallowby: the program entry. All data lives in the folder of the executable.
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <exception>
#include <memory>

#include "store/program_paths.h"
#include "ui/untmain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The application title. No display name: Qt would append it to every window's caption, and
    // the captions are compared exactly (the rules spare their own main window by its caption).
    QApplication::setApplicationName(QStringLiteral("Tallowby"));

    const tallowby::store::ProgramPaths paths(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    std::unique_ptr<tallowby::ui::Tfrmmain> frmmain;
    try {
        frmmain = std::make_unique<tallowby::ui::Tfrmmain>(paths);
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Tallowby"), QString::fromLocal8Bit(error.what()));
        return 1;
    }
    if (!frmmain->startsToIcon())
        frmmain->show();
    return QApplication::exec();
}
