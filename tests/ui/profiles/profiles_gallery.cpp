// Shows the profile manager as the user sees it, for the screenshot: three profiles, the second of
// them the default. The dialog shows the lists alone, so no program folder is needed.
#include <QApplication>

#include "folder_rule_book.h"
#include "ui/profiles/unt_profiles.h"

int main(int argc, char** argv) {
    using namespace tallowby;
    QApplication app(argc, argv);

    test::FolderRuleBook book{store::ProgramPaths("/nonexistent")};
    book.rules.ConfigLines = {"Work", "1", "0"};
    book.rules.ProfileLines = {"Home", "Work", "Weekend"};
    ui::Tfrm_profiles dialog(book);
    dialog.show();
    return app.exec();
}
