// The reminders editor through its widgets, over a temporary program folder: what each button
// writes to the reminder file and "sound.db", byte for byte, and what the list and details show.
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

#include "folder_rule_book.h"
#include "modal_answer.h"
#include "program_folder_fixture.h"
#include "store/list_loaders.h"
#include "store/sound_list.h"
#include "support/file_bytes.h"
#include "ui/alarms/unt_reminders.h"

namespace tallowby::test {
namespace {

using ui::Tfrm_reminders;

const store::Lines kSettings{"0111110", "06:30", "1", "0", "1"};

std::string crlf(const store::Lines& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

store::Lines withRecords(store::Lines head, std::initializer_list<store::Lines> records) {
    for (const store::Lines& record : records)
        head.insert(head.end(), record.begin(), record.end());
    return head;
}

const store::Lines kStretch{"07:05", "1", "1111100", "Stretch"};
const store::Lines kBed{"22:30", "0", "0000011", "Bed"};
const store::Lines kLunch{"12:15", "1", "0010000", "Lunch"};

class RemindersEditorTest : public testing::Test {
  protected:
    TempProgramFolder folder;
    FolderRuleBook book{folder.paths()};
    std::filesystem::path reminderFile = book.pathOf(ui::RuleFile::Reminders);
    MessageLog messages;
    Tfrm_reminders editor{book};

    // Shows the editor over this reminder file (none: no file).
    void open(const std::optional<store::Lines>& lines) {
        editor.hide();
        book.rules = {};
        std::filesystem::remove(reminderFile);
        if (lines)
            folder.write(reminderFile, *lines);
        store::loadReminderList(book.rules, reminderFile);
        store::loadSound(book.rules, folder.paths());
        messages.texts.clear();
        editor.show();
    }
    std::string file() const { return testsupport::readFile(reminderFile); }
    QStringList rows() const {
        QStringList texts;
        for (int row = 0; row < editor.lbox_reminders->count(); ++row)
            texts << editor.lbox_reminders->item(row)->text();
        return texts;
    }
    // The details as "days|sound|subject", days Sunday first.
    QString details() const {
        QString days;
        for (const QCheckBox* day : {editor.cb_sun, editor.cb_Mon, editor.cb_Tue, editor.cb_wed,
                                     editor.cb_Thu, editor.cb_fri, editor.cb_sat})
            days += day->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
        return days + (editor.cb_playsound->isChecked() ? "|1|" : "|0|") + editor.memo_sub->toPlainText();
    }
};

struct AddCase {
    const char* time;
    bool sound;
    const char* days;
    const char* typed;
    const char* stored;  // nullptr: refused
    const char* message; // when refused
};

TEST_F(RemindersEditorTest, AddAppendsTheRecordOrRefusesWithItsMessage) {
    const AddCase cases[] = {
        {"07:10", true, "1111111", "Water", "Water", nullptr}, // after 22:30: added last, not sorted
        {"00:55", false, "0100010", "Drink\nwater\n\nnow", "Drink water  now", nullptr},
        {"09:00", true, "1000000", "  ", "  ", nullptr},
        {"07:05", true, "0000001", "Other days", nullptr, "Failed - Reminder for 07:05 exist."},
        {"08:00", true, "1111111", "", nullptr, "Failed - No subject."},
    };
    for (const AddCase& c : cases) {
        SCOPED_TRACE(c.time);
        const store::Lines before = withRecords(kSettings, {kStretch, kBed});
        open(before);
        const QString time = QString::fromLatin1(c.time);
        editor.cbb_starthour->setCurrentText(time.left(2));
        editor.cbb_startMinute->setCurrentText(time.right(2));
        editor.cb_sound->setChecked(c.sound);
        const std::array<QCheckBox*, 7> days{editor.cb_w0, editor.cb_w1, editor.cb_w2, editor.cb_w3,
                                             editor.cb_w4, editor.cb_w5, editor.cb_w6};
        for (std::size_t d = 0; d < days.size(); ++d)
            days[d]->setChecked(c.days[d] == '1');
        editor.memo_subadd->setPlainText(QString::fromLatin1(c.typed));
        editor.btn_add->click();

        if (c.stored) {
            EXPECT_EQ(file(), crlf(withRecords(before, {{c.time, c.sound ? "1" : "0", c.days, c.stored}})));
            EXPECT_EQ(rows().last(), time);
            EXPECT_EQ(editor.selectedRow(), 2);
            EXPECT_EQ(details(), QString("%1|%2|%3").arg(c.days).arg(c.sound ? 1 : 0).arg(c.stored));
            EXPECT_EQ(editor.memo_subadd->toPlainText(), QString::fromLatin1(c.typed))
                << "the add group keeps";
            EXPECT_TRUE(messages.texts.isEmpty());
        } else {
            EXPECT_EQ(file(), crlf(before));
            EXPECT_EQ(messages.texts, QStringList{c.message});
        }
    }
    EXPECT_EQ(editor.focusWidget(), editor.memo_subadd) << "an empty subject is asked for";
}

TEST_F(RemindersEditorTest, ShowingReadsTheFileAgainSoAHandAddedReminderIsListedAndKept) {
    open(withRecords(kSettings, {kStretch}));
    editor.hide();
    folder.write(reminderFile, withRecords(kSettings, {kStretch, kBed})); // by hand, meanwhile
    editor.show();
    EXPECT_EQ(rows(), (QStringList{"07:05", "22:30"}));
    editor.cbb_starthour->setCurrentText("12");
    editor.cbb_startMinute->setCurrentText("15");
    editor.memo_subadd->setPlainText("Lunch");
    editor.btn_add->click();
    EXPECT_EQ(file(), crlf(withRecords(kSettings, {kStretch, kBed, {"12:15", "1", "1111111", "Lunch"}})));
}

TEST_F(RemindersEditorTest, OpeningShowsTheLastAndRemoveSelectsTheRowThatTakesItsPlace) {
    open(std::nullopt);
    EXPECT_EQ(rows(), QStringList());
    EXPECT_EQ(details(), "0000000|0|");
    EXPECT_EQ(editor.soundPath().toStdString(), folder.paths().defaultReminderSound().string());

    // A trailing incomplete group is no reminder.
    open(withRecords(kSettings, {kStretch, kBed, kLunch, {"23:00", "1"}}));
    EXPECT_EQ(rows(), QStringList({"07:05", "22:30", "12:15"}));
    EXPECT_EQ(details(), "0010000|1|Lunch");
    editor.lbox_reminders->setCurrentRow(1);
    EXPECT_EQ(details(), "0000011|0|Bed");
    // The middle row, then the last row twice, then the only one; nothing is asked.
    const std::pair<QStringList, QString> afterEach[] = {
        {{"07:05", "12:15"}, "0010000|1|Lunch"}, {{"07:05"}, "1111100|1|Stretch"}, {{}, "0000000|0|"}};
    for (const auto& [remaining, shown] : afterEach) {
        editor.btn_remove->click();
        EXPECT_EQ(rows(), remaining);
        EXPECT_EQ(editor.selectedRow(), remaining.size() - 1);
        EXPECT_EQ(details(), shown);
    }
    EXPECT_EQ(file(), crlf(withRecords(kSettings, {{"23:00", "1"}}))) << "removing leaves other lines be";
    EXPECT_TRUE(messages.texts.isEmpty());
    const int saves = book.saves;
    editor.btn_remove->click();
    EXPECT_EQ(book.saves, saves) << "nothing selected, nothing written";
}

TEST_F(RemindersEditorTest, SortOrdersTheFileByTimeOrLeavesItWhenATimeCannotBeRead) {
    open(withRecords(kSettings, {kBed, kStretch, kLunch}));
    editor.btn_sort->click();
    EXPECT_EQ(file(), crlf(withRecords(kSettings, {kStretch, kLunch, kBed})));
    EXPECT_EQ(rows(), QStringList({"07:05", "12:15", "22:30"}));
    EXPECT_EQ(details(), "0000011|0|Bed");
    EXPECT_TRUE(messages.texts.isEmpty());

    const store::Lines broken = withRecords(kSettings, {kBed, {"9 o'clock", "1", "1111111", "Late"}});
    open(broken);
    editor.btn_sort->click();
    EXPECT_EQ(file(), crlf(broken));
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains("9 o'clock")) << messages.texts[0].toStdString();
}

TEST_F(RemindersEditorTest, SaveStoresDaysAndSoundOfTheSelectedReminderOnly) {
    // A non-breaking space and a byte that is no UTF-8 must come back as they were.
    const store::Lines odd{"07:05", "1", "1111100", "Tea\xC2\xA0time \xE9"};
    open(withRecords(kSettings, {odd, kBed}));
    editor.lbox_reminders->setCurrentRow(0);
    editor.cb_sun->setChecked(false);
    editor.cb_sat->setChecked(true);
    editor.cb_playsound->setChecked(false);
    editor.btn_save->click();
    EXPECT_EQ(file(), crlf(withRecords(kSettings, {{"07:05", "0", "0111101", odd[3]}, kBed})));
    EXPECT_EQ(messages.texts, QStringList{"Saved."});
    EXPECT_EQ(editor.selectedRow(), 0);
    EXPECT_EQ(details().left(9), "0111101|0");

    editor.lbox_reminders->clearSelection();
    const int saves = book.saves;
    editor.btn_save->click();
    EXPECT_EQ(book.saves, saves);
}

TEST_F(RemindersEditorTest, BrowseWritesTwoSoundLinesOnlyForAReadableRegularFile) {
    const std::filesystem::path sounds = folder.folder() / "chimes";
    std::filesystem::create_directories(sounds / "folder.wav");
    for (const char* name : {"ding.wav", "shut.wav", "bell.wav", "two\nlines.wav"})
        testsupport::writeFile(sounds / name, "RIFF");
    ASSERT_EQ(::mkfifo((sounds / "pipe.wav").c_str(), 0600), 0);
    const std::string ding = (sounds / "ding.wav").string(), shut = (sounds / "shut.wav").string();
    const std::string before = crlf({ding, shut, "extra"});
    testsupport::writeFile(folder.paths().soundFile(), before);

    // Cancel; a FIFO, a folder, a missing file, a name that would split "sound.db"; a sound file.
    for (const std::string name : {"", "pipe.wav", "folder.wav", "gone.wav", "two\nlines.wav", "bell.wav"}) {
        SCOPED_TRACE(name);
        open(std::nullopt);
        const QString answer = name.empty() ? QString() : QString::fromStdString((sounds / name).string());
        Tfrm_reminders::setFileChooser([&] { return answer; });
        editor.btn_sound->click();
        const bool accepted = name == "bell.wav";
        EXPECT_EQ(testsupport::readFile(folder.paths().soundFile()),
                  accepted ? crlf({answer.toStdString(), shut}) : before);
        EXPECT_EQ(editor.soundPath(), accepted ? answer : QString::fromStdString(ding));
        EXPECT_EQ(messages.texts,
                  name.empty() || accepted
                      ? QStringList()
                      : QStringList{"Failed - " + answer + " is not a sound file that can be read."});
    }
    Tfrm_reminders::setFileChooser(nullptr);

    messages.texts.clear();
    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(editor.lb_sound, &click);
    EXPECT_EQ(messages.texts, QStringList{editor.soundPath()});
}

} // namespace
} // namespace tallowby::test
