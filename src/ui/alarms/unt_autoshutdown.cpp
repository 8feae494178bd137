#include "ui/alarms/unt_autoshutdown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "store/line_values.h"
#include "store/shutdown_settings.h"
#include "ui/alarms/sound_choice.h"
#include "ui/common/day_boxes.h"
#include "ui/common/fixed_dialog.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/common/named_widgets.h"
#include "ui/common/time_items.h"

namespace tallowby::ui {
namespace {

constexpr int kSoundLabelWidth = 300;

// The item equal to the text; a text that is no item leaves the list as it was.
void selectItem(QComboBox* list, const std::string& text) {
    const int index = list->findText(fromBytes(text));
    if (index >= 0)
        list->setCurrentIndex(index);
}

const std::string& shutdownSound(const store::Lines& soundLines) {
    return store::lineAt(soundLines, 1);
}

} // namespace

Tfrm_autoShutdown::Tfrm_autoShutdown(RuleBook& book, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), book_(book) {
    setObjectName(QStringLiteral("frm_autoShutdown"));
    setWindowTitle(QStringLiteral("Auto shutdown setup"));
    setModal(true);
    buildControls();
    cbb_endminute->setCurrentIndex(0);
    FormShow();
}

void Tfrm_autoShutdown::buildControls() {
    TB_CREATE(gb_weekDay, QStringLiteral("Week days"));
    setHint(gb_weekDay, QStringLiteral("Select days want to RUN rules"));
    auto* days = new QHBoxLayout(gb_weekDay);
    for (QCheckBox* day : createDayBoxes({TB_SLOT(cb_sun), TB_SLOT(cb_Mon), TB_SLOT(cb_Tue), TB_SLOT(cb_wed),
                                          TB_SLOT(cb_Thu), TB_SLOT(cb_fri), TB_SLOT(cb_sat)}))
        days->addWidget(day);

    TB_CREATE(Label6, QStringLiteral("Hour"));
    TB_CREATE(cbb_endhour);
    cbb_endhour->addItems(hourItems());
    Label6->setBuddy(cbb_endhour);
    TB_CREATE(Label7, QStringLiteral("Minute"));
    TB_CREATE(cbb_endminute);
    cbb_endminute->addItems(minuteItems());
    Label7->setBuddy(cbb_endminute);
    auto* time = new QGridLayout;
    time->addWidget(Label6, 0, 0);
    time->addWidget(Label7, 0, 1);
    time->addWidget(cbb_endhour, 1, 0);
    time->addWidget(cbb_endminute, 1, 1);
    time->setColumnStretch(2, 1);

    TB_CREATE(cb_10m, QStringLiteral("Remind 10m ahead"));
    TB_CREATE(cb_shutsound, QStringLiteral("Play sound"));
    TB_CREATE(cb_cancel, QStringLiteral("Checkcode to cancel"));
    auto* switches = new QVBoxLayout;
    switches->addWidget(cb_10m);
    switches->addWidget(cb_shutsound);
    switches->addWidget(cb_cancel);
    auto* timeAndSwitches = new QHBoxLayout;
    timeAndSwitches->addLayout(time, 1);
    timeAndSwitches->addLayout(switches);

    TB_CREATE(gb_sound, QStringLiteral("Alert sound"));
    TB_CREATE(lb_sound);
    lb_sound->setMinimumWidth(kSoundLabelWidth);
    lb_sound->setTextInteractionFlags(Qt::NoTextInteraction);
    lb_sound->installEventFilter(this);
    TB_CREATE(btn_sound, QStringLiteral("Browse"));
    btn_sound->setAutoDefault(false);
    auto* sound = new QHBoxLayout(gb_sound);
    sound->addWidget(lb_sound, 1);
    sound->addWidget(btn_sound);

    TB_CREATE(btn_save, QStringLiteral("Save"));
    btn_save->setDefault(true);
    TB_CREATE(btn_res, QStringLiteral("Refresh"));
    btn_res->setAutoDefault(false);
    TB_CREATE(btn_Cancel, QStringLiteral("Close"));
    btn_Cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_save);
    buttons->addWidget(btn_res);
    buttons->addWidget(btn_Cancel);

    auto* window = new QVBoxLayout(this);
    window->addWidget(gb_weekDay);
    window->addLayout(timeAndSwitches);
    window->addWidget(gb_sound);
    window->addLayout(buttons);
    window->setSizeConstraint(QLayout::SetFixedSize);

    connect(btn_save, &QPushButton::clicked, this, &Tfrm_autoShutdown::btn_saveClick);
    connect(btn_res, &QPushButton::clicked, this, &Tfrm_autoShutdown::btn_resClick);
    connect(btn_sound, &QPushButton::clicked, this, &Tfrm_autoShutdown::btn_soundClick);
    connect(btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::array<QCheckBox*, 7> Tfrm_autoShutdown::dayBoxes() const {
    return {cb_sun, cb_Mon, cb_Tue, cb_wed, cb_Thu, cb_fri, cb_sat};
}

QList<QWidget*> Tfrm_autoShutdown::editingControls() {
    return {btn_save, btn_res, btn_sound};
}

void Tfrm_autoShutdown::showEvent(QShowEvent* event) {
    // A hand edit of the reminder file made while the program ran is shown and kept by Save.
    book_.reload(RuleFile::Reminders);
    book_.reload(RuleFile::Sound);
    FormShow();
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void Tfrm_autoShutdown::FormShow() {
    const store::ShutdownSettings settings = store::shutdownSettings(book_.lists().ReminderLines);
    showWeekDays(dayBoxes(), settings.weekDays);
    selectItem(cbb_endhour, settings.time.substr(0, 2));
    selectItem(cbb_endminute,
               settings.time.size() >= 2 ? settings.time.substr(settings.time.size() - 2) : "");
    cb_10m->setChecked(settings.remindAhead);
    cb_shutsound->setChecked(settings.playSound);
    cb_cancel->setChecked(settings.checkCodeToCancel);
    lb_sound->setText(fromBytes(shutdownSound(book_.lists().SoundLines)));
}

void Tfrm_autoShutdown::btn_resClick() {
    FormShow();
}

void Tfrm_autoShutdown::btn_saveClick() {
    store::ShutdownSettings settings;
    settings.weekDays = weekDaysOf(dayBoxes());
    settings.time = toBytes(cbb_endhour->currentText() + QStringLiteral(":") + cbb_endminute->currentText());
    settings.remindAhead = cb_10m->isChecked();
    settings.playSound = cb_shutsound->isChecked();
    settings.checkCodeToCancel = cb_cancel->isChecked();
    if (book_.save(RuleFile::Reminders, store::saveShutdownSettings(book_.lists().ReminderLines, settings)))
        showMessage(this, QStringLiteral("Saved."));
}

void Tfrm_autoShutdown::btn_soundClick() {
    const auto chosen = chooseSoundFile(this, lb_sound->text());
    // The rules may have started again while the file dialog was open.
    if (!chosen || !btn_sound->isEnabled())
        return;
    const store::Lines& sounds = book_.lists().SoundLines;
    if (book_.save(RuleFile::Sound, {store::lineAt(sounds, 0), toBytes(*chosen)}))
        lb_sound->setText(fromBytes(shutdownSound(book_.lists().SoundLines)));
}

void Tfrm_autoShutdown::lb_soundClick() {
    showMessage(this, lb_sound->text());
}

bool Tfrm_autoShutdown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lb_sound && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        lb_soundClick();
    return QDialog::eventFilter(watched, event);
}

} // namespace tallowby::ui
