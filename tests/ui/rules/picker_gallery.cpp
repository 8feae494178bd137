// Shows one process picker over the programs really running on the display, for screenshots:
// picker_gallery session | wholeday; or Browse's list of the installed applications:
// picker_gallery applications; or the question about a name that reaches nothing, with what this
// machine offers for it: picker_gallery question. It starts a few X clients of its own first and minimises
// them, so the picker lists real windows while only the picker is on screen; one listed program is then
// picked with "<<" so the selection shows a name as the process list reports it.
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <sys/prctl.h>

#include "platform/linux/xdg_desktop_entries.h"
#include "platform/x11/x11_platform.h"
#include "ui/rules/application_chooser.h"
#include "ui/rules/program_suggestions.h"
#include "ui/rules/unknown_program_question.h"
#include "ui/rules/unt_addprocess.h"
#include "ui/rules/unt_wholedayAddprocess.h"

namespace {

using namespace tallowby;

struct Client {
    QString program;
    QStringList arguments;
    std::string title; // what its window is listed as
};

// The clients end with the gallery, however it is ended.
void startClient(const Client& client, std::vector<std::unique_ptr<QProcess>>& started) {
    auto process = std::make_unique<QProcess>();
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process->start(client.program, client.arguments);
    if (process->waitForStarted())
        started.push_back(std::move(process));
    else
        std::fprintf(stderr, "picker_gallery: %s did not start\n", qPrintable(client.program));
}

// Waits until every client's window is listed (or a few seconds have passed) and minimises them.
void minimiseWhenListed(platform::x11::X11Platform& x11, const std::vector<Client>& clients) {
    QElapsedTimer waited;
    waited.start();
    std::vector<platform::TopLevelWindow> windows;
    const auto listed = [&](const Client& client) {
        return std::ranges::any_of(windows, [&](const auto& window) { return window.title == client.title; });
    };
    do {
        QThread::msleep(100);
        windows = x11.windows().topLevelWindows();
    } while (!std::ranges::all_of(clients, listed) && waited.elapsed() < 5000);
    for (const auto& window : windows)
        if (std::ranges::any_of(clients, [&](const Client& client) { return window.title == client.title; }))
            x11.commander().post(window.id, platform::WindowCommand::Minimize);
}

void pick(ui::Tfrm_AddProcess& picker, const QString& title) {
    // A row is the window's title followed by the name "<<" records.
    const auto rows = picker.lb_programlist->findItems(title + "   [", Qt::MatchStartsWith);
    if (rows.isEmpty())
        return;
    picker.lb_programlist->setCurrentItem(rows.first());
    picker.btn_select->click();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string which = argc > 1 ? argv[1] : "";
    if (which != "session" && which != "wholeday" && which != "applications" && which != "question") {
        std::fprintf(stderr, "usage: picker_gallery session | wholeday | applications | question\n");
        return 2;
    }
    // A slip of XTerm's name, asked about with the machine's own applications and programs.
    if (which == "question") {
        platform::XdgDesktopEntries installed(platform::XdgDesktopEntries::dataFolders());
        platform::x11::X11Platform x11({}, &installed);
        const std::string typed = "xtrem";
        ui::UnknownProgramQuestion question(
            QString::fromStdString(typed),
            QStringLiteral("No program named \"xtrem\" is installed or running. Did you mean one of these?"),
            ui::suggestionsFor(typed, x11.programNamer(), installed.applications(), {},
                               platform::searchPathFolders()));
        question.show();
        return app.exec();
    }
    // Browse's list of the applications installed on this machine, filtered as a user narrows it.
    if (which == "applications") {
        platform::XdgDesktopEntries installed(platform::XdgDesktopEntries::dataFolders());
        std::vector<platform::DesktopEntry> shown;
        std::ranges::copy_if(installed.applications(), std::back_inserter(shown),
                             [](const platform::DesktopEntry& entry) { return entry.shown; });
        ui::ApplicationChooser chooser(shown);
        chooser.show();
        return app.exec();
    }

    const std::vector<Client> clients = {
        {"xclock", {}, "xclock"},
        {TALLOWBY_TESTWIN_PATH, {"Quarterly report.ods - Spreadsheet"}, "Quarterly report.ods - Spreadsheet"},
        {"xeyes", {}, "xeyes"},
        {TALLOWBY_TESTWIN_PATH, {"Inbox (3) - Mail"}, "Inbox (3) - Mail"},
        {"xlogo", {}, "xlogo"},
    };
    std::vector<std::unique_ptr<QProcess>> started;
    for (const Client& client : clients)
        startClient(client, started);
    platform::XdgDesktopEntries entries(platform::XdgDesktopEntries::dataFolders());
    platform::x11::X11Platform x11({}, &entries);
    minimiseWhenListed(x11, clients);

    platform::ProgramNamer& namer = x11.programNamer();
    QListWidget mainList;
    std::unique_ptr<ui::Tfrm_AddProcess> picker;
    if (which == "session") {
        mainList.addItems({"steam", "firefox-esr"});
        picker =
            std::make_unique<ui::Tfrm_AddProcess>(&mainList, x11.windows(), x11.processes(), namer, entries);
    } else {
        mainList.addItems({"minecraft-launcher"});
        picker = std::make_unique<ui::Tfrm_WholedayAddProcess>(&mainList, x11.windows(), x11.processes(),
                                                               namer, entries);
    }
    picker->show();
    pick(*picker, "xeyes");
    pick(*picker, "Inbox (3) - Mail");
    return app.exec();
}
