// The check-code dialog alone: the guard protocol as every guarded action uses it, the entry check,
// what Cancel leaves behind, and the layout that follows the code's width.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

#include "engine/check_code.h"
#include "modal_answer.h"
#include "ui/restraint/unt_checkcode.h"

namespace tallowby::test {
namespace {

using ui::CheckGuard;
using ui::Tfrm_checkcode;

const QString kFailed = QStringLiteral("Failed - please double check.");

void pressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

class CheckCodeDialogTest : public testing::Test {
  protected:
    std::string length = "10";
    std::uint32_t seed = 1;
    CheckGuard guard;
    Tfrm_checkcode dialog{guard, [this] { return length; },
                          [this](int count) { return engine::Checkcode(count, seed++); }};
    MessageLog messages;

    void enter(const QString& text) {
        dialog.edt_checkcode->setText(text);
        dialog.btn_OK->click();
    }
    QString code() const { return dialog.lb_checkcode->text(); }
};

// A guarded action of the shape every guarded handler has: it acts when its switch is off or its
// flag is set, and otherwise asks for the code.
struct GuardedAction {
    CheckGuard& guard;
    Tfrm_checkcode& dialog;
    QString purpose;
    bool CheckGuard::*flag;
    bool switchOn = true;
    int runs = 0;
    bool ranWhileDialogOpen = false;

    void invoke() {
        if (!switchOn || guard.*flag) {
            guard.*flag = false;
            ++runs;
            ranWhileDialogOpen = dialog.isVisible();
            return;
        }
        guard.CheckPurpose = purpose;
        dialog.exec();
    }
};

struct PurposeCase {
    const char* name;
    QString purpose;
    bool CheckGuard::*flag;
};

class CheckCodePurposeTest : public CheckCodeDialogTest, public testing::WithParamInterface<PurposeCase> {
  protected:
    GuardedAction action{guard, dialog, GetParam().purpose, GetParam().flag};
    void SetUp() override {
        dialog.setReinvoke(GetParam().purpose, [this] { action.invoke(); });
    }

    bool anyFlag() const {
        return guard.ExitConfirmed || guard.StopConfirmed || guard.OptionsSaveConfirmed ||
               guard.PauseConfirmed || guard.ShutdownCancelConfirmed;
    }
};

TEST_P(CheckCodePurposeTest, SwitchOffActsAtOnceWithoutTheDialog) {
    action.switchOn = false;
    action.invoke();
    EXPECT_EQ(action.runs, 1);
    EXPECT_TRUE(code().isEmpty()) << "the dialog was never shown";
    EXPECT_FALSE(anyFlag());
}

TEST_P(CheckCodePurposeTest, CorrectCodeRunsTheActionOnceWhileTheDialogIsOpen) {
    whenModal([this](QDialog*) { enter(code()); });
    action.invoke();
    EXPECT_EQ(action.runs, 1);
    EXPECT_TRUE(action.ranWhileDialogOpen);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(anyFlag()) << "the action clears its flag when it proceeds";
    EXPECT_EQ(guard.CheckPurpose, GetParam().purpose);
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_P(CheckCodePurposeTest, WrongEntriesAndCancelCarryOutNothing) {
    QString shownCode;
    whenModal([&](QDialog*) {
        shownCode = code();
        enter(code().toLower() == code() ? code().toUpper() : code().toLower());
        enter(code() + QStringLiteral(" "));
        enter(QStringLiteral(" ") + code());
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(code(), shownCode) << "a failed entry keeps the code";
        EXPECT_EQ(dialog.edt_checkcode->text(), QStringLiteral(" ") + shownCode) << "and the typed text";
        dialog.btn_cancel->click();
    });
    action.invoke();
    EXPECT_EQ(messages.texts, QStringList({kFailed, kFailed, kFailed}));
    EXPECT_EQ(action.runs, 0);
    EXPECT_FALSE(anyFlag());

    // The next attempt shows a new code, and that one is accepted.
    whenModal([&](QDialog*) {
        EXPECT_NE(code(), shownCode);
        EXPECT_TRUE(dialog.edt_checkcode->text().isEmpty());
        enter(code());
    });
    action.invoke();
    EXPECT_EQ(action.runs, 1);
}

TEST_P(CheckCodePurposeTest, EscapeAndTheFrameCloseCarryOutNothing) {
    whenModal([this](QDialog*) { pressKey(dialog.edt_checkcode, Qt::Key_Escape); });
    action.invoke();
    whenModal([this](QDialog*) { dialog.close(); });
    action.invoke();
    EXPECT_EQ(action.runs, 0);
    EXPECT_FALSE(anyFlag());
}

TEST_P(CheckCodePurposeTest, OnlyThePurposeAskingGetsItsFlag) {
    // Without a re-invocation registered the flag stays set, showing which one was chosen.
    Tfrm_checkcode bare(
        guard, [] { return std::string("5"); }, [](int count) { return std::string(count, 'x'); });
    guard.CheckPurpose = GetParam().purpose;
    whenModal([&](QDialog*) {
        bare.edt_checkcode->setText(QStringLiteral("xxxxx"));
        bare.btn_OK->click();
    });
    bare.exec();
    EXPECT_TRUE(guard.*GetParam().flag);
    guard.*GetParam().flag = false;
    EXPECT_FALSE(anyFlag());
}

INSTANTIATE_TEST_SUITE_P(
    AllPurposes, CheckCodePurposeTest,
    testing::Values(PurposeCase{"OptiinSave", ui::purpose::OptionsSave, &CheckGuard::OptionsSaveConfirmed},
                    PurposeCase{"ExitCheckCode", ui::purpose::Exit, &CheckGuard::ExitConfirmed},
                    PurposeCase{"Stop", ui::purpose::Stop, &CheckGuard::StopConfirmed},
                    PurposeCase{"ShutdownCheck", ui::purpose::ShutdownCancel,
                                &CheckGuard::ShutdownCancelConfirmed},
                    PurposeCase{"Pause", ui::purpose::Pause, &CheckGuard::PauseConfirmed}),
    [](const testing::TestParamInfo<PurposeCase>& info) { return std::string(info.param.name); });

TEST_F(CheckCodeDialogTest, EnterConfirmsThroughTheDefaultButton) {
    int runs = 0;
    guard.CheckPurpose = ui::purpose::Stop;
    dialog.setReinvoke(ui::purpose::Stop, [&] { ++runs; });
    whenModal([this](QDialog*) {
        dialog.edt_checkcode->setText(code());
        pressKey(dialog.edt_checkcode, Qt::Key_Return);
    });
    dialog.exec();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(guard.StopConfirmed);
}

TEST_F(CheckCodeDialogTest, AnUnknownPurposeSetsNothingAndCloses) {
    guard.CheckPurpose = QStringLiteral("stop");
    whenModal([this](QDialog*) { enter(code()); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_FALSE(guard.StopConfirmed);
}

TEST_F(CheckCodeDialogTest, ShowingAndRefreshDrawANewCodeOfTheConfiguredLength) {
    length = "20";
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Check code - 20 bits"));
    const QString first = code();
    EXPECT_EQ(first.size(), 20);
    dialog.edt_checkcode->setText(QStringLiteral("typed"));
    dialog.btn_retry->click();
    EXPECT_NE(code(), first);
    EXPECT_EQ(code().size(), 20);
    EXPECT_TRUE(dialog.edt_checkcode->text().isEmpty());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Check code - 20 bits"));
    dialog.hide();
}

TEST_F(CheckCodeDialogTest, LengthZeroGivesAnEmptyCodeThatAnEmptyEntryPasses) {
    length = "0";
    guard.CheckPurpose = ui::purpose::Exit;
    whenModal([this](QDialog*) {
        EXPECT_TRUE(code().isEmpty());
        enter(QString());
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(guard.ExitConfirmed);
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(CheckCodeDialogTest, AHandEditedLengthStillGivesAUsableCode) {
    EXPECT_EQ(Tfrm_checkcode::codeLength("300"), 300);
    EXPECT_EQ(Tfrm_checkcode::codeLength(" 40 "), 40);
    EXPECT_EQ(Tfrm_checkcode::codeLength("abc"), Tfrm_checkcode::kDefaultCodeLength);
    EXPECT_EQ(Tfrm_checkcode::codeLength(""), Tfrm_checkcode::kDefaultCodeLength);
    EXPECT_EQ(Tfrm_checkcode::codeLength("12abc"), Tfrm_checkcode::kDefaultCodeLength);
    EXPECT_EQ(Tfrm_checkcode::codeLength("-4"), 0);
    EXPECT_EQ(Tfrm_checkcode::codeLength("2000000000"), Tfrm_checkcode::kMaxCodeLength);

    length = "lots";
    dialog.show();
    EXPECT_EQ(code().size(), Tfrm_checkcode::kDefaultCodeLength);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Check code - lots bits"));
    dialog.hide();
}

TEST_F(CheckCodeDialogTest, TheCodeCannotBeSelectedAndIsNeverReadAsMarkup) {
    Tfrm_checkcode markup(
        guard, [] { return std::string("8"); }, [](int) { return std::string("<b>x</b>"); });
    markup.show();
    const QLabel* label = markup.lb_checkcode;
    EXPECT_EQ(label->text(), QStringLiteral("<b>x</b>"));
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(label->textInteractionFlags(), Qt::NoTextInteraction);
    EXPECT_EQ(label->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_TRUE(label->selectedText().isEmpty());
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(QStringLiteral("<b>x</b>")));
    EXPECT_EQ(label->font().pixelSize(), 13);
    EXPECT_EQ(markup.edt_checkcode->font().pixelSize(), 13);
    markup.hide();
}

// The layout: the window follows the label, never narrower than 370 pixels, with Cancel centred
// and the other two buttons one fixed step either side of it.
class CheckCodeLayoutTest : public CheckCodeDialogTest, public testing::WithParamInterface<const char*> {};

TEST_P(CheckCodeLayoutTest, TheCodeFitsOnOneLineAndTheButtonsSitAroundTheCentre) {
    length = GetParam();
    dialog.show();
    const QLabel* label = dialog.lb_checkcode;
    const int labelWidth = label->width();
    ASSERT_EQ(code().size(), std::stoi(length));
    EXPECT_GE(labelWidth, label->fontMetrics().horizontalAdvance(code()));
    EXPECT_LT(label->height(), 2 * label->fontMetrics().lineSpacing()) << "one line";
    EXPECT_TRUE(dialog.rect().contains(label->geometry())) << "the whole code inside the window";

    if (labelWidth + 30 < Tfrm_checkcode::kMinimumWidth) {
        EXPECT_EQ(dialog.width(), Tfrm_checkcode::kMinimumWidth);
        EXPECT_EQ(dialog.edt_checkcode->width(), Tfrm_checkcode::kMinimumEditWidth);
    } else {
        EXPECT_EQ(dialog.width(), labelWidth + 30);
        EXPECT_EQ(dialog.edt_checkcode->width(), labelWidth + 5);
    }
    EXPECT_TRUE(dialog.rect().contains(dialog.edt_checkcode->geometry()));

    const QRect cancel = dialog.btn_cancel->geometry();
    EXPECT_LE(std::abs(cancel.x() * 2 + cancel.width() - dialog.width()), 1) << "Cancel centred";
    EXPECT_EQ(dialog.btn_OK->x(), cancel.x() - Tfrm_checkcode::kButtonStep);
    EXPECT_EQ(dialog.btn_retry->x(), cancel.x() + Tfrm_checkcode::kButtonStep);
    EXPECT_LT(dialog.btn_OK->geometry().right(), cancel.left());
    EXPECT_LT(cancel.right(), dialog.btn_retry->geometry().left());
    for (const QPushButton* button : {dialog.btn_OK, dialog.btn_cancel, dialog.btn_retry}) {
        EXPECT_TRUE(dialog.rect().contains(button->geometry())) << button->objectName().toStdString();
        EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(button->text()) + 8)
            << "caption fits";
        EXPECT_GT(button->y(), dialog.edt_checkcode->geometry().bottom());
    }
    dialog.hide();
}

INSTANTIATE_TEST_SUITE_P(ShortestAndLongest, CheckCodeLayoutTest, testing::Values("5", "300"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string("Length") + info.param;
                         });

TEST_F(CheckCodeDialogTest, ARequestWhileTheCodeIsShownTakesItsPlaceAboveTheWindowAsking) {
    int stops = 0;
    int cancels = 0;
    dialog.setReinvoke(ui::purpose::Stop, [&] { ++stops; });
    dialog.setReinvoke(ui::purpose::ShutdownCancel, [&] { ++cancels; });
    QDialog warning(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    bool cancelConfirmed = false;
    whenModal([&](QDialog*) {
        const QString stopCode = code();
        // The shutdown warning asks over a Stop code that is on show.
        warning.show();
        whenModal([&](QDialog*) {
            EXPECT_NE(code(), stopCode) << "a fresh code for the new request";
            EXPECT_EQ(dialog.parentWidget(), &warning);
            EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << "above the warning";
            enter(code());
        });
        cancelConfirmed = dialog.ask(ui::purpose::ShutdownCancel, &warning);
        warning.hide();
    });
    EXPECT_FALSE(dialog.ask(ui::purpose::Stop)) << "the Stop request ended as if cancelled";
    EXPECT_TRUE(cancelConfirmed);
    EXPECT_EQ(stops, 0);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(dialog.parentWidget(), nullptr) << "owned by no window between requests";
}

} // namespace
} // namespace tallowby::test
