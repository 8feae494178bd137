#include "ui/alarms/unt_reminders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTime>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "store/line_values.h"
#include "store/reminder_records.h"
#include "store/time_of_day.h"
#include "ui/alarms/sound_choice.h"
#include "ui/common/day_boxes.h"
#include "ui/common/fixed_dialog.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/common/named_widgets.h"
#include "ui/common/time_items.h"

namespace tallowby::ui {
namespace {

constexpr int kListWidth = 110;
constexpr int kMemoHeight = 72;
constexpr int kMemoWidth = 190;

void fixedChoice(QComboBox* box, const QStringList& items) {
    box->addItems(items);
    box->setEditable(false);
}

QGroupBox* weekDayBox(QGroupBox* box, const std::array<QCheckBox*, 7>& days) {
    auto* grid = new QGridLayout(box);
    for (int d = 0; d < 7; ++d)
        grid->addWidget(days[static_cast<std::size_t>(d)], d / 2, d % 2);
    return box;
}

} // namespace

Tfrm_reminders::Tfrm_reminders(RuleBook& book, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), book_(book) {
    setObjectName(QStringLiteral("frm_reminders"));
    setWindowTitle(QStringLiteral("Reminders Setup"));
    setModal(true);
    buildControls();
    cbb_starthour->setCurrentIndex(QTime::currentTime().hour());
    cbb_startMinute->setCurrentIndex(0);
}

void Tfrm_reminders::setFileChooser(std::function<QString()> chooser) {
    setSoundFileChooser(std::move(chooser));
}

QGroupBox* Tfrm_reminders::buildReminderList() {
    TB_CREATE(gb_reminderlist, QStringLiteral("Reminder List"));
    TB_CREATE(lbox_reminders);
    lbox_reminders->setSelectionMode(QAbstractItemView::SingleSelection);
    lbox_reminders->setFixedWidth(kListWidth);
    lbox_reminders->setAccessibleName(QStringLiteral("Reminders"));
    TB_CREATE(btn_remove, QStringLiteral("Remove"));
    TB_CREATE(btn_sort, QStringLiteral("Sort"));

    auto* column = new QVBoxLayout(gb_reminderlist);
    column->addWidget(lbox_reminders, 1);
    column->addWidget(btn_remove);
    column->addWidget(btn_sort);
    return gb_reminderlist;
}

QGroupBox* Tfrm_reminders::buildDetails() {
    TB_CREATE(gb_details);
    gb_details->setAccessibleName(QStringLiteral("Selected reminder"));
    TB_CREATE(gb_weekDay, QStringLiteral("Week days"));
    setHint(gb_weekDay, QStringLiteral("Select days want to RUN rules"));
    weekDayBox(gb_weekDay, createDayBoxes({TB_SLOT(cb_sun), TB_SLOT(cb_Mon), TB_SLOT(cb_Tue), TB_SLOT(cb_wed),
                                           TB_SLOT(cb_Thu), TB_SLOT(cb_fri), TB_SLOT(cb_sat)}));
    TB_CREATE(memo_sub);
    memo_sub->setReadOnly(true);
    memo_sub->setFixedSize(kMemoWidth, kMemoHeight);
    memo_sub->setAccessibleName(QStringLiteral("Subject"));
    TB_CREATE(cb_playsound, QStringLiteral("Play sound"));
    TB_CREATE(btn_save, QStringLiteral("Save"));

    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(cb_playsound);
    saveRow->addStretch();
    saveRow->addWidget(btn_save);
    auto* column = new QVBoxLayout(gb_details);
    column->addWidget(gb_weekDay);
    column->addWidget(memo_sub);
    column->addLayout(saveRow);
    column->addStretch();
    return gb_details;
}

QGroupBox* Tfrm_reminders::buildAddReminder() {
    TB_CREATE(gb_addReminder, QStringLiteral("Add Reminder"));
    TB_CREATE(Label1, QStringLiteral("Time:"));
    TB_CREATE(Label2, QStringLiteral("H"));
    TB_CREATE(cbb_starthour);
    fixedChoice(cbb_starthour, hourItems());
    TB_CREATE(Label3, QStringLiteral("M"));
    TB_CREATE(cbb_startMinute);
    fixedChoice(cbb_startMinute, minuteItems());
    // A screen reader reads a list by its label; the number it shows says nothing of what it is.
    Label2->setBuddy(cbb_starthour);
    Label3->setBuddy(cbb_startMinute);
    TB_CREATE(cb_sound, QStringLiteral("Play sound"));
    cb_sound->setChecked(true);
    TB_CREATE(btn_add, QStringLiteral("Add"));
    btn_add->setDefault(true);
    TB_CREATE(gb_addWeekDay, QStringLiteral("Week days"));
    createDayBoxes({TB_SLOT(cb_w0), TB_SLOT(cb_w1), TB_SLOT(cb_w2), TB_SLOT(cb_w3), TB_SLOT(cb_w4),
                    TB_SLOT(cb_w5), TB_SLOT(cb_w6)});
    for (QCheckBox* day : newDays())
        day->setChecked(true);
    weekDayBox(gb_addWeekDay, newDays());
    TB_CREATE(gb_subject, QStringLiteral("Subject"));
    TB_CREATE(memo_subadd);
    memo_subadd->setFixedSize(kMemoWidth, kMemoHeight);
    memo_subadd->setAccessibleName(QStringLiteral("New subject"));
    // Tab moves on to the next control: a subject is one line, it has no use for tab stops.
    memo_subadd->setTabChangesFocus(true);
    (new QVBoxLayout(gb_subject))->addWidget(memo_subadd);

    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(Label1);
    timeRow->addWidget(cbb_starthour);
    timeRow->addWidget(Label2);
    timeRow->addWidget(cbb_startMinute);
    timeRow->addWidget(Label3);
    timeRow->addStretch();
    auto* addRow = new QHBoxLayout;
    addRow->addWidget(cb_sound);
    addRow->addStretch();
    addRow->addWidget(btn_add);
    auto* column = new QVBoxLayout(gb_addReminder);
    column->addLayout(timeRow);
    column->addLayout(addRow);
    column->addWidget(gb_addWeekDay);
    column->addWidget(gb_subject);
    return gb_addReminder;
}

QGroupBox* Tfrm_reminders::buildSound() {
    TB_CREATE(gb_sound, QStringLiteral("Alert sound"));
    TB_CREATE(lb_sound);
    lb_sound->setFixedWidth(kSoundLabelWidth);
    lb_sound->setCursor(Qt::PointingHandCursor);
    lb_sound->installEventFilter(this);
    TB_CREATE(btn_sound, QStringLiteral("Browse"));
    auto* row = new QHBoxLayout(gb_sound);
    row->addWidget(lb_sound, 1);
    row->addWidget(btn_sound);
    return gb_sound;
}

void Tfrm_reminders::buildControls() {
    auto* top = new QHBoxLayout;
    top->addWidget(buildReminderList());
    top->addWidget(buildDetails());
    top->addWidget(buildAddReminder());
    auto* window = new QVBoxLayout(this);
    window->addLayout(top);
    window->addWidget(buildSound());
    window->setSizeConstraint(QLayout::SetFixedSize);

    // Enter adds a reminder; the other buttons act only when clicked.
    for (QPushButton* button : {btn_remove, btn_sort, btn_save, btn_sound})
        button->setAutoDefault(false);

    connect(lbox_reminders, &QListWidget::itemSelectionChanged, this, &Tfrm_reminders::lbox_remindersClick);
    connect(btn_add, &QPushButton::clicked, this, &Tfrm_reminders::btn_addClick);
    connect(btn_remove, &QPushButton::clicked, this, &Tfrm_reminders::btn_removeClick);
    connect(btn_sort, &QPushButton::clicked, this, &Tfrm_reminders::btn_sortClick);
    connect(btn_save, &QPushButton::clicked, this, &Tfrm_reminders::btn_saveClick);
    connect(btn_sound, &QPushButton::clicked, this, &Tfrm_reminders::btn_soundClick);
}

std::array<QCheckBox*, 7> Tfrm_reminders::detailDays() const {
    return {cb_sun, cb_Mon, cb_Tue, cb_wed, cb_Thu, cb_fri, cb_sat};
}

std::array<QCheckBox*, 7> Tfrm_reminders::newDays() const {
    return {cb_w0, cb_w1, cb_w2, cb_w3, cb_w4, cb_w5, cb_w6};
}

QList<QWidget*> Tfrm_reminders::editingControls() {
    return {btn_add, btn_remove, btn_sort, btn_save, btn_sound};
}

void Tfrm_reminders::showEvent(QShowEvent* event) {
    // A window restored from the task bar is shown again by the window system; only a new showing
    // starts over from the file.
    if (!event->spontaneous()) {
        centreOnScreen(this);
        // A reminder added by hand while the program ran is listed, and kept by the next write.
        book_.reload(RuleFile::Reminders);
        book_.reload(RuleFile::Sound);
        LoadReminderList();
        selectRow(lbox_reminders->count() - 1);
        lbox_remindersClick();
        NoReminder();
    }
    QDialog::showEvent(event);
}

bool Tfrm_reminders::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lb_sound && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lb_soundClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

int Tfrm_reminders::selectedRow() const {
    const QList<QListWidgetItem*> items = lbox_reminders->selectedItems();
    return items.isEmpty() ? -1 : lbox_reminders->row(items.first());
}

void Tfrm_reminders::selectRow(int row) {
    if (row < 0) {
        lbox_reminders->clearSelection();
        lbox_reminders->setCurrentRow(-1);
        return;
    }
    lbox_reminders->setCurrentRow(row);
}

void Tfrm_reminders::showSoundPath(const QString& path) {
    soundPath_ = path;
    lb_sound->setText(lb_sound->fontMetrics().elidedText(path, Qt::ElideMiddle, kSoundLabelWidth));
    lb_sound->setToolTip(path);
}

void Tfrm_reminders::LoadReminderList() {
    // The book reloads the lines after every write, and showing reads the file again, so they are
    // the file as it stands.
    const store::RuleLists& lists = book_.lists();
    lbox_reminders->clear();
    for (int i = 0; i < lists.ReminderCount; ++i)
        lbox_reminders->addItem(fromBytes(store::reminderRecord(lists.ReminderLines, i).time));
    showSoundPath(fromBytes(store::lineAt(lists.SoundLines, 0)));
}

void Tfrm_reminders::lbox_remindersClick() {
    const int row = selectedRow();
    const store::RuleLists& lists = book_.lists();
    if (row < 0 || row >= lists.ReminderCount)
        return;
    const store::ReminderRecord record = store::reminderRecord(lists.ReminderLines, row);
    showWeekDays(detailDays(), record.weekDays);
    cb_playsound->setChecked(record.playSound);
    memo_sub->setPlainText(fromBytes(record.subject));
}

void Tfrm_reminders::NoReminder() {
    if (selectedRow() >= 0)
        return;
    for (QCheckBox* day : detailDays())
        day->setChecked(false);
    cb_playsound->setChecked(false);
    memo_sub->clear();
}

bool Tfrm_reminders::saveReminders(const store::Lines& lines) {
    if (!book_.save(RuleFile::Reminders, lines))
        return false;
    LoadReminderList();
    return true;
}

void Tfrm_reminders::btn_addClick() {
    const QString key = cbb_starthour->currentText() + QStringLiteral(":") + cbb_startMinute->currentText();
    const store::Lines& lines = book_.lists().ReminderLines;
    if (store::findReminder(lines, toBytes(key)) >= 0) {
        showMessage(this, QStringLiteral("Failed - Reminder for ") + key + QStringLiteral(" exist."));
        return;
    }
    const QString subject = memo_subadd->toPlainText();
    if (subject.isEmpty()) {
        showMessage(this, QStringLiteral("Failed - No subject."));
        memo_subadd->setFocus();
        return;
    }
    const store::ReminderRecord record{toBytes(key), cb_sound->isChecked(), weekDaysOf(newDays()),
                                       toBytes(subject)};
    if (!saveReminders(store::addReminder(lines, record)))
        return;
    selectRow(lbox_reminders->count() - 1);
    lbox_remindersClick();
}

void Tfrm_reminders::btn_removeClick() {
    const int row = selectedRow();
    if (row < 0)
        return;
    if (!saveReminders(store::removeReminder(book_.lists().ReminderLines, row)))
        return;
    selectRow(std::min(row, lbox_reminders->count() - 1));
    lbox_remindersClick();
    NoReminder();
}

void Tfrm_reminders::btn_sortClick() {
    store::Lines sorted;
    try {
        sorted = store::sortReminders(book_.lists().ReminderLines);
    } catch (const store::TimeFormatError& error) {
        showMessage(this, fromBytes(error.what()));
        return;
    }
    if (!saveReminders(sorted))
        return;
    selectRow(lbox_reminders->count() - 1);
    lbox_remindersClick();
}

void Tfrm_reminders::btn_saveClick() {
    const int row = selectedRow();
    if (row < 0)
        return;
    const store::Lines& lines = book_.lists().ReminderLines;
    // The subject cannot be edited here; the stored line is written back as it was, byte for byte,
    // rather than through the memo's text, which would turn a non-breaking space into a blank.
    const std::string subject = store::reminderRecord(lines, row).subject;
    if (!saveReminders(
            store::saveReminder(lines, row, cb_playsound->isChecked(), weekDaysOf(detailDays()), subject)))
        return;
    selectRow(row);
    lbox_remindersClick();
    showMessage(this, QStringLiteral("Saved."));
}

void Tfrm_reminders::btn_soundClick() {
    // Cancel keeps the sound, and there is nothing to write.
    const auto chosen = chooseSoundFile(this, soundPath_);
    // The rules may have started again while the file dialog was open.
    if (!chosen || !btn_sound->isEnabled())
        return;
    const store::Lines& sounds = book_.lists().SoundLines;
    if (!book_.save(RuleFile::Sound, {toBytes(*chosen), store::lineAt(sounds, 1)}))
        return;
    showSoundPath(fromBytes(store::lineAt(book_.lists().SoundLines, 0)));
}

void Tfrm_reminders::lb_soundClick() {
    showMessage(this, soundPath_);
}

} // namespace tallowby::ui
