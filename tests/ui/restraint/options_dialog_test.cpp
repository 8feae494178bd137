// The Options dialog against a temporary "config.db": what a save writes, the check code in front
// of it, the autostart entry, and what the controls show for each line.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <vector>

#include "engine/check_code.h"
#include "folder_rule_book.h"
#include "modal_answer.h"
#include "platform/fake/fake_system.h"
#include "store/config_lines.h"
#include "ui/common/message_box.h"
#include "ui/restraint/unt_Options.h"
#include "ui/restraint/unt_checkcode.h"

namespace tallowby::test {
namespace {

using store::ConfigLine;
using ui::Tfrm_checkcode;
using ui::Tfrm_Options;

const QString kSaved = QStringLiteral("Options saved.");

// Every flag off except the ones a test turns on; code length 10; minimise.
store::Lines quietConfig() {
    return {"Work", "0", "0", "0", "0", "0", "0", "10", "0", "1", "0", "2", "0", "0"};
}

// The same with "Checkcode to save  Options" on.
store::Lines saveGuardedConfig() {
    store::Lines lines = quietConfig();
    lines[6] = "1";
    return lines;
}

class OptionsDialogTest : public testing::Test {
  protected:
    QTemporaryDir dir;
    store::ProgramPaths paths{std::filesystem::path(dir.path().toStdString())};
    std::filesystem::path configPath = paths.configFile();
    FolderRuleBook book{paths};
    store::Lines& ConfigLines = book.rules.ConfigLines;
    ui::CheckGuard guard;
    platform::FakeAutoStart autoStart;
    std::uint32_t seed = 1;
    Tfrm_checkcode checkcode{guard,
                             [this] { return store::configValue(ConfigLines, ConfigLine::CheckCodeLength); },
                             [this](int count) { return engine::Checkcode(count, seed++); }};
    int loads = 0;
    std::vector<bool> wholeDayShown;
    Tfrm_Options options{book,
                         autoStart,
                         checkcode,
                         guard,
                         {[this] {
                              ++loads;
                              if (auto lines = store::readLines(configPath))
                                  ConfigLines = *lines;
                          },
                          [this](bool shown) { wholeDayShown.push_back(shown); }}};
    MessageLog messages;

    void writeConfig(const store::Lines& lines) {
        store::writeLines(configPath, lines);
        ConfigLines = lines;
    }
    std::string fileBytes() const {
        std::ifstream in(configPath, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    void answerWithTheCode() {
        whenModal([this](QDialog*) {
            checkcode.edt_checkcode->setText(checkcode.lb_checkcode->text());
            checkcode.btn_OK->click();
        });
    }
    void answerWithCancel() {
        whenModal([this](QDialog*) { checkcode.btn_cancel->click(); });
    }
};

TEST_F(OptionsDialogTest, ShowingSetsEveryControlFromItsLine) {
    writeConfig({"Work", "1", "0", "1", "yes", "1", " 1", "300", "1", "0", "1", "2", "", "1"});
    options.show();
    EXPECT_TRUE(options.cb_start->isChecked());
    EXPECT_FALSE(options.cb_tskmanager->isChecked());
    EXPECT_TRUE(options.cb_SessionReminder->isChecked());
    EXPECT_FALSE(options.cb_checkstop->isChecked()) << "only exactly \"1\" is on";
    EXPECT_TRUE(options.cb_checkexit->isChecked());
    EXPECT_FALSE(options.cb_checksave->isChecked());
    EXPECT_TRUE(options.cb_checkPause->isChecked());
    EXPECT_TRUE(options.cb_toIcon->isChecked());
    EXPECT_FALSE(options.cb_SessionEnd->isChecked());
    EXPECT_EQ(options.cmb_bits->currentText(), QStringLiteral("300"));
    EXPECT_EQ(options.cmb_action->currentText(), QStringLiteral("Close Window"));
    EXPECT_EQ(wholeDayShown, std::vector<bool>({false}));
    options.hide();
}

TEST_F(OptionsDialogTest, LengthAndActionLinesMapToTheirItems) {
    const std::vector<std::pair<std::string, int>> bits = {
        {"5", 0},   {"10", 1},  {"20", 2},  {"40", 3}, {"60", 4},  {"80", 5}, {"100", 6},
        {"150", 7}, {"200", 8}, {"300", 9}, {"7", 1},  {"abc", 1}, {"", 1},   {"010", 1}};
    for (const auto& [line, index] : bits)
        EXPECT_EQ(Tfrm_Options::bitsIndex(line), index) << line;
    // The dialog shows what the tick does: only exactly "0" minimises.
    const std::vector<std::pair<std::string, int>> actions = {{"0", 0}, {"1", 1},  {"", 1},  {"x", 1},
                                                              {"5", 1}, {" 0", 1}, {"00", 1}};
    for (const auto& [line, index] : actions)
        EXPECT_EQ(Tfrm_Options::actionIndex(line), index) << line;
}

TEST_F(OptionsDialogTest, SaveWritesEveryLineCopyingTheUneditedOnes) {
    store::Lines lines = {"My profile", "0",   "0", "0", "0", "0", "0",     "10",
                          "0",          "yes", "0", "2", "0", "0", "extra", "more"};
    writeConfig(lines);
    options.show();
    options.cb_tskmanager->setChecked(true);
    options.cb_checkstop->setChecked(true);
    options.cb_SessionEnd->setChecked(true);
    options.cmb_bits->setCurrentText(QStringLiteral("150"));
    options.cmb_action->setCurrentText(QStringLiteral("Close Window"));
    options.cb_websitesStay->setChecked(true);
    options.btn_optionsSave->click();

    EXPECT_EQ(fileBytes(),
              "My profile\r\n0\r\n1\r\n0\r\n1\r\n0\r\n0\r\n150\r\n0\r\nyes\r\n0\r\n2\r\n1\r\n1\r\n1\r\n");
    EXPECT_EQ(messages.texts, QStringList{kSaved});
    EXPECT_FALSE(options.isVisible());
    EXPECT_EQ(options.result(), QDialog::Accepted);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(ConfigLines.size(), 15u);
    EXPECT_EQ(options.cmb_bits->currentText(), QStringLiteral("150")) << "LoadConfig ran after the reload";
}

TEST_F(OptionsDialogTest, ShortConfigurationIsCompletedWithEmptyLines) {
    writeConfig({"Work", "1", "0"});
    options.show();
    options.btn_optionsSave->click();
    const auto written = store::readLines(configPath);
    ASSERT_TRUE(written);
    ASSERT_EQ(written->size(), 15u);
    EXPECT_EQ((*written)[0], "Work");
    EXPECT_EQ((*written)[7], "10");
    EXPECT_EQ((*written)[9], "");
    EXPECT_EQ((*written)[11], "");
    // A missing window line closes windows in the tick, and the dialog showed and kept just that.
    EXPECT_EQ((*written)[13], "1");
    EXPECT_EQ((*written)[14], "0");
}

TEST_F(OptionsDialogTest, StartWithWindowsAddsOrRemovesTheAutostartEntry) {
    writeConfig(quietConfig());
    options.show();
    options.cb_start->setChecked(true);
    options.btn_optionsSave->click();
    EXPECT_EQ(autoStart.adds, 1);
    EXPECT_EQ(autoStart.dels, 0);
    EXPECT_TRUE(autoStart.present);

    options.show();
    EXPECT_TRUE(options.cb_start->isChecked());
    options.cb_start->setChecked(false);
    options.btn_optionsSave->click();
    EXPECT_EQ(autoStart.adds, 1);
    EXPECT_EQ(autoStart.dels, 1);
    EXPECT_FALSE(autoStart.present);

    // A refused registration changes nothing about the save itself.
    autoStart.failWrites = true;
    options.show();
    options.cb_start->setChecked(true);
    options.btn_optionsSave->click();
    EXPECT_EQ(store::readLines(configPath)->at(1), "1");
    EXPECT_EQ(messages.texts.count(kSaved), 3);
}

TEST_F(OptionsDialogTest, CancelledCheckCodeLeavesTheFileAndRestoresTheControls) {
    writeConfig(saveGuardedConfig());
    const std::string before = fileBytes();
    options.show();
    options.cb_tskmanager->setChecked(true);
    options.cmb_bits->setCurrentText(QStringLiteral("40"));
    answerWithCancel();
    options.btn_optionsSave->click();

    EXPECT_EQ(fileBytes(), before);
    EXPECT_TRUE(options.isVisible());
    EXPECT_FALSE(options.cb_tskmanager->isChecked());
    EXPECT_EQ(options.cmb_bits->currentText(), QStringLiteral("10"));
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(guard.CheckPurpose, ui::purpose::OptionsSave);
    EXPECT_FALSE(guard.OptionsSaveConfirmed);
    EXPECT_EQ(autoStart.adds + autoStart.dels, 0);
    options.hide();
}

TEST_F(OptionsDialogTest, TheSavedBoxIsWideEnoughForItsTitle) {
    ui::setMessageHook(nullptr); // the real box
    writeConfig(store::Lines(14, "0"));
    int width = 0, titleWidth = 0;
    whenModal([&](QDialog* box) {
        QFont bold = box->font();
        bold.setBold(true);
        width = box->width();
        titleWidth = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
        box->accept();
    });
    options.show();
    options.btn_optionsSave->click();
    EXPECT_GT(width, titleWidth + 100);
}

TEST_F(OptionsDialogTest, CorrectCodeSavesWhileTheCheckCodeDialogIsStillOpen) {
    writeConfig(saveGuardedConfig());
    bool checkcodeOpenAtMessage = false;
    ui::setMessageHook([&](const QString& text) {
        messages.texts << text;
        checkcodeOpenAtMessage = checkcode.isVisible();
    });
    options.show();
    options.cb_SessionReminder->setChecked(true);
    answerWithTheCode();
    options.btn_optionsSave->click();

    EXPECT_EQ(messages.texts, QStringList{kSaved});
    EXPECT_TRUE(checkcodeOpenAtMessage);
    EXPECT_FALSE(checkcode.isVisible());
    EXPECT_FALSE(options.isVisible());
    EXPECT_FALSE(guard.OptionsSaveConfirmed);
    EXPECT_EQ(store::readLines(configPath)->at(3), "1");
    EXPECT_TRUE(options.cb_SessionReminder->isChecked());
}

TEST_F(OptionsDialogTest, ACodedSaveThatCannotWriteKeepsTheChoicesToTryAgain) {
    writeConfig(saveGuardedConfig());
    options.show();
    options.cb_tskmanager->setChecked(true);
    options.cmb_action->setCurrentText(QStringLiteral("Close Window"));
    // Nothing can be renamed over a folder.
    std::filesystem::remove(configPath);
    std::filesystem::create_directory(configPath);
    answerWithTheCode();
    options.btn_optionsSave->click();

    EXPECT_TRUE(options.isVisible());
    EXPECT_TRUE(options.cb_tskmanager->isChecked());
    EXPECT_EQ(options.cmb_action->currentText(), QStringLiteral("Close Window"));
    EXPECT_EQ(messages.texts.size(), 1);
    EXPECT_FALSE(messages.texts.contains(kSaved));
    options.hide();
}

TEST_F(OptionsDialogTest, ClearingTheSaveSwitchStillAsksThenLaterSavesDoNot) {
    writeConfig(saveGuardedConfig());
    const std::string before = fileBytes();
    options.show();
    options.cb_checksave->setChecked(false);
    answerWithCancel();
    options.btn_optionsSave->click();
    EXPECT_EQ(fileBytes(), before) << "the switch is read before anything is written";

    options.cb_checksave->setChecked(false);
    answerWithTheCode();
    options.btn_optionsSave->click();
    EXPECT_EQ(store::readLines(configPath)->at(6), "0");

    const std::uint32_t codesDrawn = seed;
    options.show();
    options.cb_checkexit->setChecked(true);
    options.btn_optionsSave->click();
    EXPECT_EQ(seed, codesDrawn) << "no check code was shown";
    EXPECT_EQ(store::readLines(configPath)->at(5), "1");
}

TEST_F(OptionsDialogTest, WriteFailureIsReportedAndTheDialogStaysOpen) {
    ConfigLines = quietConfig();
    const std::filesystem::path missing = configPath.parent_path() / "gone" / "config.db";
    FolderRuleBook gone{store::ProgramPaths(missing.parent_path())};
    gone.rules.ConfigLines = quietConfig();
    Tfrm_Options failing(gone, autoStart, checkcode, guard, {[this] { ++loads; }, {}});
    failing.show();
    failing.cb_start->setChecked(true);
    failing.btn_optionsSave->click();

    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_NE(messages.texts[0], kSaved);
    EXPECT_FALSE(messages.texts[0].isEmpty());
    EXPECT_TRUE(failing.isVisible());
    EXPECT_TRUE(failing.cb_start->isChecked()) << "the entries stay for another try";
    EXPECT_EQ(autoStart.adds, 0);
    EXPECT_EQ(loads, 0);
    EXPECT_FALSE(std::filesystem::exists(missing));
    failing.hide();
}

TEST_F(OptionsDialogTest, RefreshRereadsTheFileAndChangesNoControl) {
    writeConfig(quietConfig());
    options.show();
    options.cb_checkexit->setChecked(true);
    store::Lines changed = quietConfig();
    changed[0] = "Other";
    store::writeLines(configPath, changed);
    options.btn_optionsReset->click();
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(ConfigLines[0], "Other");
    EXPECT_TRUE(options.cb_checkexit->isChecked());
    EXPECT_TRUE(options.isVisible());

    // The next save copies the re-read profile name.
    options.btn_optionsSave->click();
    EXPECT_EQ(store::readLines(configPath)->at(0), "Other");
}

TEST_F(OptionsDialogTest, CancelClosesWithoutWriting) {
    writeConfig(quietConfig());
    const std::string before = fileBytes();
    options.show();
    options.cb_start->setChecked(true);
    options.btn_cancel->click();
    EXPECT_FALSE(options.isVisible());
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(autoStart.adds + autoStart.dels, 0);
}

TEST_F(OptionsDialogTest, ControlsStandInOrderAndShowTheirWholeCaptions) {
    writeConfig(quietConfig());
    options.show();
    EXPECT_EQ(options.windowTitle(), QStringLiteral("Options"));
    const QList<QWidget*> ordered = {options.cb_start,           options.cb_toIcon,     options.cb_tskmanager,
                                     options.cb_SessionReminder, options.cb_SessionEnd, options.cb_checkPause,
                                     options.cb_checkstop,       options.cb_checkexit,  options.cb_checksave,
                                     options.cb_websitesStay,    options.cmb_bits,      options.cmb_action};
    int previousTop = -1;
    for (QWidget* control : ordered) {
        const QRect place(control->mapTo(&options, QPoint(0, 0)), control->size());
        EXPECT_GT(place.top(), previousTop) << control->objectName().toStdString();
        previousTop = place.top();
        EXPECT_TRUE(options.gb_options->isAncestorOf(control));
        EXPECT_TRUE(options.rect().contains(place)) << control->objectName().toStdString();
        EXPECT_GE(control->width(), control->sizeHint().width()) << control->objectName().toStdString();
    }
    EXPECT_EQ(options.cb_checksave->text(), QStringLiteral("Checkcode to save  Options"));
    EXPECT_EQ(options.cb_websitesStay->text(), QStringLiteral("Website blocks stay until the session ends "
                                                              "(lifting them early needs an administrator's "
                                                              "password)"));
    EXPECT_TRUE(options.btn_optionsSave->isDefault());

    QStringList names;
    for (const QWidget* control : options.editingControls())
        names << control->objectName();
    EXPECT_EQ(names, QStringList({"btn_optionsSave", "btn_optionsReset", "cb_start", "cb_toIcon",
                                  "cb_tskmanager", "cb_checkstop", "cb_checkexit", "cb_checksave", "Label4",
                                  "cmb_bits", "cb_checkPause", "cb_SessionReminder", "cb_SessionEnd",
                                  "Label1", "cmb_action", "cb_websitesStay"}));
    options.hide();
}

} // namespace
} // namespace tallowby::test
