// Shows the main window in one of its states, as the user sees it, for screenshots:
//   shell_gallery running | stopped | pause
// The program folder is a temporary one with a small profile; the clock stands still on a Monday
// morning, so every shot shows the same texts.
#include <QApplication>
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

int main(int argc, char** argv) {
    using namespace tallowby;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallowby"));
    const std::string state = argc > 1 ? argv[1] : "";
    if (state != "running" && state != "stopped" && state != "pause") {
        std::fprintf(stderr, "usage: shell_gallery running | stopped | pause\n");
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
    if (state == "stopped") {
        main.M_stopClick();
    } else if (state == "pause") {
        main.beginPause(5);
        time.advance(83'000);
        main.T_mm_noteTimer();
    }
    main.show();
    return QApplication::exec();
}
