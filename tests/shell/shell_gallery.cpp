// Shows the main window in one of its states, as the user sees it, for screenshots:
//   shell_gallery running | stopped | pause | overlap | website
// The program folder is a temporary one with a small profile; the clock stands still on a Monday
// morning, so every shot shows the same texts.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>

#include "app/program_windows.h"
#include "fake_enforcement.h"
#include "program_folder.h"
#include "store/text_file.h"
#include "support/sim_clock.h"
#include "ui/main/untmain.h"
#include "ui/rules/unt_domainadd.h"
#include "ui/rules/unt_sessionAdd.h"

int main(int argc, char** argv) {
    using namespace tallowby;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallowby"));
    const std::string state = argc > 1 ? argv[1] : "";
    const QStringList states{"running", "stopped", "pause", "overlap", "website"};
    if (!states.contains(QString::fromStdString(state))) {
        std::fprintf(stderr, "usage: shell_gallery running | stopped | pause | overlap | website\n");
        return 2;
    }

    QTemporaryDir dir;
    const store::ProgramPaths paths(dir.path().toStdString());
    tools::layOutProgramFolder(paths.folder());
    store::writeLines(paths.configFile(),
                      {"Work", "0", "1", "1", "0", "1", "1", "10", "0", "1", "0", "2", "1", "0"});
    store::writeLines(paths.profileListFile(), {"Default", "Work"});
    store::writeLines(paths.sessionFile("Work"), {"09:00", "12:00", "0111110", "1", "code.exe;libreoffice;",
                                                  "news.example;video.example;", "13:30", "17:00", "0111110",
                                                  "0", "steam;", "games.example;"});
    store::writeLines(paths.wholeDayFile("Work"), {"0111110", "0", "solitaire;", "social.example;"});

    test::FakeEnforcement enforcement(paths.folder() / "hosts");
    auto clock = std::make_unique<test::SimClock>();
    test::SimClock& time = *clock;
    time.set(test::monday(9, 41, 22));
    app::ProgramWindows windows = app::createProgramWindows(paths, enforcement.make(), std::move(clock));
    ui::Tfrmmain& main = *windows.frmmain;
    main.timer_minimize->stop();

    main.m_runClick();
    main.timer_tofocusonTimer();
    main.gb_headClick();
    if (state == "stopped" || state == "overlap" || state == "website") {
        main.M_stopClick();
    } else if (state == "pause") {
        main.beginPause(5);
        time.advance(83'000);
        main.T_mm_noteTimer();
    }
    main.show();
    // The rule dialogs over the stopped window: a new session that runs into the morning one, and
    // a website for the selected session.
    ui::Tfrm_sessionAdd* times = main.dialogs.frm_sessionAdd;
    ui::Tfrm_domainAdd* website = main.dialogs.frm_domainAdd;
    if (state == "overlap") {
        QTimer::singleShot(500, times, [times] {
            times->presetTimes("08:00", "09:30");
            QTimer::singleShot(300, times, [times] { times->btn_ok->click(); });
            times->exec();
        });
    } else if (state == "website") {
        QTimer::singleShot(500, website, [website] {
            QTimer::singleShot(300, website,
                               [website] { website->edt_domain->setText("forum.example.org"); });
            website->exec();
        });
    }
    return QApplication::exec();
}
