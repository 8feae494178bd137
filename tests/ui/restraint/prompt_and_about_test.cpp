// The not-running prompt's answers and the About box.
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

#include "modal_answer.h"
#include "store/text_file.h"
#include "ui/restraint/untAbout.h"
#include "ui/restraint/unt_torun.h"

namespace tallowby::test {
namespace {

class ToRunPromptTest : public testing::Test {
  protected:
    int saves = 0;
    int runs = 0;
    bool saveFails = false;
    ui::Tfrm_toRun prompt{[this] {
                              if (saveFails)
                                  throw store::FileError("config.db", "File access denied");
                              ++saves;
                          },
                          [this] { ++runs; }};
    MessageLog messages;
};

TEST_F(ToRunPromptTest, EachAnswerCallsItsOwnActionAndCloses) {
    whenModal([this](QDialog*) { prompt.btn_yesSave->click(); });
    EXPECT_EQ(prompt.exec(), QDialog::Accepted);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(runs, 0) << "storing the setting runs the rules itself";

    whenModal([this](QDialog*) { prompt.btn_Yes->click(); });
    EXPECT_EQ(prompt.exec(), QDialog::Accepted);
    EXPECT_EQ(runs, 1);

    whenModal([this](QDialog*) { prompt.btn_no->click(); });
    EXPECT_EQ(prompt.exec(), QDialog::Rejected);
    whenModal([this](QDialog*) { prompt.close(); });
    EXPECT_EQ(prompt.exec(), QDialog::Rejected);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(ToRunPromptTest, AFailedSaveIsReportedAndThePromptStaysOpen) {
    saveFails = true;
    prompt.show();
    prompt.btn_yesSave->click();
    EXPECT_EQ(messages.texts, QStringList{QStringLiteral("File access denied")});
    EXPECT_TRUE(prompt.isVisible());
    prompt.btn_no->click();
}

TEST_F(ToRunPromptTest, CaptionsShowOneAmpersandWithoutAShortcut) {
    EXPECT_EQ(prompt.windowTitle(), QStringLiteral("Tallowby"));
    EXPECT_EQ(prompt.lb_question->text(), QStringLiteral("Tallowby is not running, start to run?"));
    EXPECT_EQ(prompt.btn_yesSave->text(), QStringLiteral("Yes && Save"));
    EXPECT_TRUE(QKeySequence::mnemonic(prompt.btn_yesSave->text()).isEmpty());
    EXPECT_TRUE(prompt.btn_yesSave->isDefault());
    EXPECT_EQ(prompt.btn_Yes->text(), QStringLiteral("Yes"));
    EXPECT_EQ(prompt.btn_no->text(), QStringLiteral("No"));
}

TEST(AboutBox, ShowsNameAndVersionAndNoMakerAddress) {
    ui::TfrmAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(about.lb_title->text(), QStringLiteral("Tallowby"));
    EXPECT_EQ(about.Label2->text(), QStringLiteral("Version: 5.09.03"));
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        EXPECT_FALSE(label->text().contains(QLatin1Char('@')));
        EXPECT_FALSE(label->text().contains(QStringLiteral("http")));
    }
    whenModal([&](QDialog*) { about.Button1->click(); });
    EXPECT_EQ(about.exec(), QDialog::Rejected);
}

} // namespace
} // namespace tallowby::test
