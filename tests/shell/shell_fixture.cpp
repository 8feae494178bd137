#include "shell_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "program_folder.h"
#include "ui/restraint/unt_checkcode.h"

namespace tallowby::test {
ShellTest::ShellTest() {
    tools::layOutProgramFolder(folder.folder());
    // Nothing guarded, the whole-day panel shown, ask to run when put away while stopped.
    config_ = {"Work", "0", "0", "0", "0", "0", "0", "10", "0", "1", "0", "2", "0", "1"};
    const auto& paths = folder.paths();
    folder.write(paths.profileListFile(), {"Default", "Work"});
    // Mondays 09:00-12:00, Focus on code.exe; whole-day Block of a game and a site on Mondays.
    folder.write(paths.sessionFile("Work"), {"09:00", "12:00", "0100000", "1", "code.exe;", "news.example;"});
    folder.write(paths.wholeDayFile("Work"), {"0100000", "0", "game.exe;", "social.example;"});
    enforcement.desktop.windows = {{1, "Editor", true, 10}, {2, "Game", true, 11}};
    enforcement.desktop.processes = {{10, "code.exe"}, {11, "game.exe"}};
}

void ShellTest::setConfig(store::ConfigLine line, const std::string& value) {
    store::setConfigValue(config_, line, value);
}

void ShellTest::start(const std::function<void()>& beforeWindows, bool shown) {
    folder.write(folder.paths().configFile(), config_);
    if (beforeWindows)
        beforeWindows();
    auto fixed = std::make_unique<SimClock>();
    clock = fixed.get();
    clock->set(monday(9, 30, 5));
    windows = app::createProgramWindows(folder.paths(), enforcement.make(), std::move(fixed));
    main = windows.frmmain.get();
    main->timer_minimize->stop();
    main->T_mm_note->stop();
    if (shown)
        main->show();
    // What start-up has to tell is told once the message loop runs.
    QCoreApplication::processEvents();
}

void ShellTest::startUpRun() {
    main->timer_minimizeTimer();
}

std::vector<std::string> ShellTest::blockedSites() const {
    std::vector<std::string> sites;
    for (const platform::BlockLine& line : blockLines())
        if (line.site != "localhost")
            sites.push_back(line.site);
    return sites;
}

std::vector<platform::BlockLine> ShellTest::blockLines() const {
    std::string content;
    for (const std::string& line : store::readLines(enforcement.hostsPath).value_or(store::Lines{}))
        content += line + "\n";
    return platform::blockLines(content);
}

store::Lines ShellTest::configFile() const {
    return store::readLines(folder.paths().configFile()).value_or(store::Lines{});
}

void ShellTest::answerCheckCode(CodeAnswer answer) {
    ui::Tfrm_checkcode* checkcode = windows.frmmain->dialogs.frm_checkcode.data();
    whenModal([checkcode, answer](QDialog* dialog) {
        ASSERT_EQ(dialog, checkcode);
        if (answer == CodeAnswer::Cancel) {
            checkcode->btn_cancel->click();
            return;
        }
        const QString typed = checkcode->lb_checkcode->text();
        checkcode->edt_checkcode->setText(answer == CodeAnswer::Correct ? typed
                                                                        : typed + QStringLiteral("x"));
        checkcode->btn_OK->click();
        if (answer == CodeAnswer::WrongThenCancel)
            checkcode->btn_cancel->click();
    });
}

int ShellTest::unexpectedModals(const std::function<void()>& action) {
    int opened = 0;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&opened] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            ++opened;
            dialog->reject();
        }
    });
    watch.start();
    action();
    QCoreApplication::processEvents();
    return opened;
}

QString ShellTest::iconKey(const QIcon& icon) {
    const QImage image = icon.pixmap(32, 32).toImage();
    return QString::number(qHashBits(image.constBits(), static_cast<size_t>(image.sizeInBytes())));
}

QString ShellTest::runIconKey() const {
    return iconKey(QIcon(QString::fromStdString(folder.paths().runningIcon().string())));
}

QString ShellTest::stoppedIconKey() const {
    return iconKey(QIcon(QString::fromStdString(folder.paths().stoppedIcon().string())));
}

} // namespace tallowby::test
