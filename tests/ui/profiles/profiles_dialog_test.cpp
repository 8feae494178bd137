// The profile manager driven through its buttons over a real program folder: what the list files
// hold afterwards, the messages, and a list file that cannot be written.
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include "folder_rule_book.h"
#include "modal_answer.h"
#include "program_folder_fixture.h"
#include "store/list_loaders.h"
#include "store/profile_files.h"
#include "support/file_bytes.h"
#include "ui/profiles/unt_profiles.h"

namespace tallowby::test {
namespace {

namespace fs = std::filesystem;
using testsupport::readFile;

class ProfilesDialogTest : public testing::Test {
  protected:
    TempProgramFolder folder;
    const store::ProgramPaths& paths = folder.paths();
    FolderRuleBook book{paths, "Home"};
    MessageLog messages;
    ui::Tfrm_profiles dialog{book};

    void SetUp() override {
        folder.write(paths.configFile(), {"Home", "1", "0"});
        writeProfiles({"Home", "Work"});
        for (const std::string name : {"Home", "Work"})
            for (const fs::path& file : store::profileFiles(paths, name))
                folder.write(file, {file.filename().string()});
        store::loadConfigList(book.rules, paths.configFile());
    }
    void TearDown() override { ui::setNextText(std::nullopt); }

    void writeProfiles(const store::Lines& names) {
        folder.write(paths.profileListFile(), names);
        store::loadProfileList(book.rules, paths.profileListFile());
    }
    QStringList rows() const {
        QStringList rows;
        for (int i = 0; i < dialog.lbox_profilelist->count(); ++i)
            rows << dialog.lbox_profilelist->item(i)->text();
        return rows;
    }
    void select(int row) { dialog.lbox_profilelist->setCurrentRow(row); }
    void click(QPushButton* button, std::optional<QString> typed) {
        ui::setNextText(typed);
        button->click();
    }
    std::string profileList() const { return readFile(paths.profileListFile()); }
};

TEST_F(ProfilesDialogTest, ShowingSelectsTheLastRowOfTheDefaultElseTheFirst) {
    EXPECT_EQ(dialog.lb_default->text(), QStringLiteral("None"));
    writeProfiles({"Home", "Work", "Home", "Spare"});
    dialog.show();
    EXPECT_EQ(rows(), QStringList({"Home", "Work", "Home", "Spare"}));
    EXPECT_EQ(dialog.lb_default->text(), QStringLiteral("Home"));
    EXPECT_EQ(dialog.lbox_profilelist->currentRow(), 2);
    book.rules.ConfigLines[0] = "Gone";
    dialog.refresh();
    EXPECT_EQ(dialog.lbox_profilelist->currentRow(), 0);
}

TEST_F(ProfilesDialogTest, AddAppendsTrimmedNamesAndRefusesTheRest) {
    dialog.show();
    const QString prompt = QStringLiteral("Input new name:");
    const std::pair<QString, QStringList> cases[] = {
        {"  Study ", {prompt}},
        {"Study", {prompt, "Failed - profile name already exists."}},
        {"study", {prompt}},
    };
    for (const auto& [typed, expected] : cases) {
        messages.texts.clear();
        click(dialog.btn_add, typed);
        EXPECT_EQ(messages.texts, expected) << typed.toStdString();
    }
    EXPECT_EQ(profileList(), "Home\r\nWork\r\nStudy\r\nstudy\r\n");
    EXPECT_EQ(rows(), QStringList({"Home", "Work", "Study", "study"}));
    EXPECT_EQ(readFile(paths.reminderFile("Study")), "0000000\r\n22:30\r\n1\r\n1\r\n1\r\n");
    EXPECT_EQ(dialog.lbox_profilelist->currentRow(), 0) << "the default stays selected";
}

TEST_F(ProfilesDialogTest, TheInputBoxStartsEmptyAndCancelMeansNoName) {
    dialog.show();
    for (const bool ok : {true, false}) {
        whenModal([ok](QDialog* box) {
            auto* input = qobject_cast<QInputDialog*>(box);
            ASSERT_TRUE(input);
            EXPECT_EQ(input->windowTitle(), QStringLiteral("New name"));
            EXPECT_EQ(input->textValue(), QString());
            input->setTextValue(QStringLiteral("Study"));
            ok ? input->accept() : input->reject();
        });
        dialog.btn_add->click();
    }
    EXPECT_EQ(rows(), QStringList({"Home", "Work", "Study"}));
    EXPECT_EQ(messages.texts, QStringList{"Failed - Please type profile name."});
}

TEST_F(ProfilesDialogTest, CopyAndRemoveTheSelectedRow) {
    dialog.show();
    dialog.lbox_profilelist->clearSelection();
    dialog.btn_copy->click();
    dialog.btn_remove->click();
    EXPECT_EQ(messages.texts, QStringList{"Please select profile to be copied."});

    select(1);
    dialog.btn_copy->click();
    EXPECT_EQ(rows(), QStringList({"Home", "Work", "Work_copy"}));
    EXPECT_EQ(readFile(paths.sessionFile("Work_copy")), "Work.db\r\n");

    const QString question = QStringLiteral("Confirm to remove profile: Work_copy ?");
    messages.texts.clear();
    for (const bool yes : {false, true}) {
        select(2);
        ui::setNextAnswer(yes);
        dialog.btn_remove->click();
    }
    EXPECT_EQ(messages.texts, QStringList({question, question}));
    EXPECT_EQ(profileList(), "Home\r\nWork\r\n");
    EXPECT_FALSE(fs::exists(paths.wholeDayFile("Work_copy")));

    messages.texts.clear();
    select(0);
    dialog.btn_remove->click();
    EXPECT_EQ(messages.texts, QStringList{"Failed - Can not remove default profile."});
}

TEST_F(ProfilesDialogTest, RenameOfTheDefaultRenamesItInBothListFiles) {
    dialog.show();
    click(dialog.btn_rename, QStringLiteral("Base"));
    EXPECT_EQ(dialog.lb_default->text(), QStringLiteral("Base"));
    EXPECT_EQ(readFile(paths.configFile()), "Base\r\n1\r\n0\r\n");
    EXPECT_EQ(profileList(), "Base\r\nWork\r\n");
    EXPECT_EQ(readFile(paths.reminderFile("Base")), "Home.rem\r\n");
    EXPECT_FALSE(fs::exists(paths.reminderFile("Home")));
}

TEST_F(ProfilesDialogTest, SetDefaultSwitchesProfilesOnlyForAnotherRow) {
    dialog.show();
    dialog.btn_default->click();
    EXPECT_EQ(book.profileReloads, 0);
    select(1);
    dialog.btn_default->click();
    EXPECT_EQ(book.profileReloads, 1);
    EXPECT_EQ(readFile(paths.configFile()), "Work\r\n1\r\n0\r\n");
    EXPECT_EQ(dialog.lb_default->text(), QStringLiteral("Work"));
    EXPECT_EQ(dialog.lbox_profilelist->currentRow(), 1);
}

TEST_F(ProfilesDialogTest, AListFileThatCannotBeWrittenTakesTheFilesBack) {
    dialog.show();
    fs::remove(paths.profileListFile());
    fs::create_directory(paths.profileListFile());
    click(dialog.btn_add, QStringLiteral("Study"));
    click(dialog.btn_rename, QStringLiteral("Base"));
    EXPECT_EQ(messages.texts, QStringList({"Input new name:", "it is a folder, not a regular file",
                                           "Input new name:", "it is a folder, not a regular file"}));
    EXPECT_EQ(readFile(paths.configFile()), "Home\r\n1\r\n0\r\n");
    EXPECT_EQ(dialog.lb_default->text(), QStringLiteral("Home"));
    EXPECT_EQ(readFile(paths.reminderFile("Home")), "Home.rem\r\n");
    for (const std::string name : {"Study", "Base"})
        for (const fs::path& file : store::profileFiles(paths, name))
            EXPECT_FALSE(fs::exists(file)) << file;
}

} // namespace
} // namespace tallowby::test
