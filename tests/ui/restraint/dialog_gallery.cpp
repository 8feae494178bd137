// Shows one restraint dialog as the user sees it, for screenshots: dialogs_gallery checkcode <n> |
// options | pause. The code is drawn from a fixed seed so every shot shows the same code.
#include <QApplication>
#include <QDialog>
#include <cstdio>
#include <memory>
#include <string>

#include "engine/check_code.h"
#include "folder_rule_book.h"
#include "platform/fake/fake_system.h"
#include "ui/restraint/unt_Options.h"
#include "ui/restraint/unt_checkcode.h"
#include "ui/restraint/unt_pause.h"

int main(int argc, char** argv) {
    using namespace tallowby;
    QApplication app(argc, argv);
    const std::string which = argc > 1 ? argv[1] : "";

    test::FolderRuleBook book{store::ProgramPaths("/nonexistent")};
    store::Lines& configLines = book.rules.ConfigLines;
    configLines = {"Work", "1", "1", "1", "1", "1", "1", argc > 2 ? argv[2] : "10",
                   "0",    "0", "1", "2", "0", "0"};
    ui::CheckGuard guard;
    platform::FakeAutoStart autoStart;
    ui::Tfrm_checkcode checkcode(
        guard, [&] { return configLines[7]; }, [](int count) { return engine::Checkcode(count, 20261207u); });
    ui::Tfrm_Options options(book, autoStart, checkcode, guard, {});
    ui::Tfrm_pause pause(configLines, checkcode, guard, {});

    QDialog* shown = nullptr;
    if (which == "checkcode")
        shown = &checkcode;
    else if (which == "options")
        shown = &options;
    else if (which == "pause")
        shown = &pause;
    if (!shown) {
        std::fprintf(stderr, "usage: dialogs_gallery checkcode <length> | options | pause\n");
        return 2;
    }
    shown->show();
    return app.exec();
}
