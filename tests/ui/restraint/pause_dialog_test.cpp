// The pause dialog: the check code in front of a pause, the chosen minutes and the countdown's
// caption.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <vector>

#include "engine/check_code.h"
#include "modal_answer.h"
#include "ui/restraint/unt_checkcode.h"
#include "ui/restraint/unt_pause.h"

namespace tallowby::test {
namespace {

using ui::Tfrm_pause;

class PauseDialogTest : public testing::Test {
  protected:
    store::Lines ConfigLines = {"Work", "0", "0", "0", "1", "0", "0", "5", "0", "0", "0", "2", "0", "0"};
    ui::CheckGuard guard;
    std::uint32_t seed = 1;
    ui::Tfrm_checkcode checkcode{guard, [this] { return ConfigLines[7]; },
                                 [this](int count) { return engine::Checkcode(count, seed++); }};
    std::vector<int> pauses;
    Tfrm_pause pause{ConfigLines, checkcode, guard, [this](int minutes) { pauses.push_back(minutes); }};
    MessageLog messages;

    void guardOn() { ConfigLines[8] = "1"; }
};

TEST_F(PauseDialogTest, WithTheSwitchOffOkPausesAtOnce) {
    pause.show();
    EXPECT_EQ(pause.cbox_pause->currentText(), QStringLiteral("5"));
    pause.btn_ok->click();
    EXPECT_EQ(pauses, std::vector<int>({5}));
    EXPECT_FALSE(pause.isVisible());
    EXPECT_EQ(seed, 1u) << "no code was drawn, although Checkcode to Stop is on";
}

TEST_F(PauseDialogTest, CancelledCodeKeepsThePauseDialogOpenAndCorrectCodePausesOnce) {
    guardOn();
    pause.show();
    pause.cbox_pause->setCurrentText(QStringLiteral("10"));
    whenModal([this](QDialog*) { checkcode.btn_cancel->click(); });
    pause.btn_ok->click();
    EXPECT_TRUE(pauses.empty());
    EXPECT_TRUE(pause.isVisible());
    EXPECT_EQ(guard.CheckPurpose, ui::purpose::Pause);
    EXPECT_FALSE(guard.PauseConfirmed);

    whenModal([this](QDialog*) {
        checkcode.edt_checkcode->setText(checkcode.lb_checkcode->text());
        checkcode.btn_OK->click();
    });
    pause.btn_ok->click();
    EXPECT_EQ(pauses, std::vector<int>({10}));
    EXPECT_FALSE(pause.isVisible());
    EXPECT_FALSE(checkcode.isVisible());
    EXPECT_FALSE(guard.PauseConfirmed);
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(PauseDialogTest, WrongCodeThenCancelLeavesTheRulesRunning) {
    guardOn();
    pause.show();
    whenModal([this](QDialog*) {
        checkcode.edt_checkcode->setText(checkcode.lb_checkcode->text() + QStringLiteral("x"));
        checkcode.btn_OK->click();
        checkcode.close();
    });
    pause.btn_ok->click();
    EXPECT_TRUE(pauses.empty());
    EXPECT_EQ(messages.texts, QStringList{QStringLiteral("Failed - please double check.")});
    pause.hide();
}

TEST_F(PauseDialogTest, CancelChangesNothingAndTheListKeepsItsLastChoice) {
    pause.show();
    pause.cbox_pause->setCurrentText(QStringLiteral("1"));
    pause.btn_cancel->click();
    EXPECT_TRUE(pauses.empty());
    EXPECT_FALSE(pause.isVisible());

    pause.show();
    EXPECT_EQ(pause.cbox_pause->currentText(), QStringLiteral("1"));
    pause.btn_ok->click();
    EXPECT_EQ(pauses, std::vector<int>({1}));
}

TEST_F(PauseDialogTest, CaptionTextsAndChoices) {
    EXPECT_EQ(Tfrm_pause::pauseText(QStringLiteral("1")), QStringLiteral("Pause for 1 minute"));
    EXPECT_EQ(Tfrm_pause::pauseText(QStringLiteral("2")), QStringLiteral("Pause for 2 minutes"));
    EXPECT_EQ(Tfrm_pause::pauseText(QStringLiteral("10")), QStringLiteral("Pause for 10 minutes"));
    pause.cbox_pause->setCurrentText(QStringLiteral("1"));
    EXPECT_EQ(pause.pauseText(), QStringLiteral("Pause for 1 minute"));

    QStringList items;
    for (int i = 0; i < pause.cbox_pause->count(); ++i)
        items << pause.cbox_pause->itemText(i);
    EXPECT_EQ(items, QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(pause.windowTitle(), QStringLiteral("Pause"));
    EXPECT_EQ(pause.lb_pausefor->text(), QStringLiteral("Pause for"));
    EXPECT_EQ(pause.lb_minutes->text(), QStringLiteral("Minutes"));
    EXPECT_TRUE(pause.btn_ok->isDefault());
}

} // namespace
} // namespace tallowby::test
