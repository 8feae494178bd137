#include "ui/rules/unt_sessionAdd.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/edit_rules.h"
#include "store/time_of_day.h"
#include "ui/common/fixed_dialog.h"
#include "ui/common/time_items.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/common/named_widgets.h"
#include "ui/main/session_panel.h"

namespace tallowby::ui {
namespace {

QComboBox* fixedChoice(QComboBox* box, const QStringList& items) {
    box->addItems(items);
    box->setEditable(false);
    return box;
}

void presetTime(QComboBox* hours, QComboBox* minutes, const std::string& time) {
    std::int64_t ms = 0;
    try {
        ms = store::parseTimeOfDay(time);
    } catch (const store::TimeFormatError&) {
        return;
    }
    const auto totalMinutes = static_cast<int>(ms / 60'000);
    hours->setCurrentIndex(totalMinutes / 60);
    minutes->setCurrentIndex(totalMinutes % 60 / kMinuteStep);
}

std::string timeOf(const QComboBox* hours, const QComboBox* minutes) {
    return toBytes(hours->currentText() + QStringLiteral(":") + minutes->currentText());
}

} // namespace

Tfrm_sessionAdd::Tfrm_sessionAdd(const RuleBook& book, SessionPanel& panel, const engine::Clock& clock,
                                 QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), book_(book), panel_(panel) {
    setObjectName(QStringLiteral("frm_sessionAdd"));
    setWindowTitle(QStringLiteral("Add Session"));
    setModal(true);
    buildControls();
    const int hour = static_cast<int>(clock.now().msOfDay / 3'600'000 % 24);
    cbb_starthour->setCurrentIndex(hour);
    cbb_endHour->setCurrentIndex(hour);
    cbb_startMinute->setCurrentIndex(0);
    cbb_endMinute->setCurrentIndex(0);
}

void Tfrm_sessionAdd::buildControls() {
    TB_CREATE(lb_start, QStringLiteral("Start Time:"));
    TB_CREATE(lb_startHour, QStringLiteral("Hour"));
    TB_CREATE(lb_startMinute, QStringLiteral("Minute"));
    TB_CREATE(lb_end, QStringLiteral("End Time:"));
    TB_CREATE(lb_endHour, QStringLiteral("Hour"));
    TB_CREATE(lb_endMinute, QStringLiteral("Minute"));
    fixedChoice(TB_CREATE(cbb_starthour), hourItems());
    fixedChoice(TB_CREATE(cbb_startMinute), minuteItems());
    fixedChoice(TB_CREATE(cbb_endHour), hourItems());
    fixedChoice(TB_CREATE(cbb_endMinute), minuteItems());
    // A screen reader reads a list by its label; the number it shows says nothing of what it is.
    lb_startHour->setBuddy(cbb_starthour);
    lb_startMinute->setBuddy(cbb_startMinute);
    lb_endHour->setBuddy(cbb_endHour);
    lb_endMinute->setBuddy(cbb_endMinute);
    TB_CREATE(btn_ok, QStringLiteral("OK"));
    btn_ok->setDefault(true);
    TB_CREATE(btn_cancel, QStringLiteral("Cancel"));
    btn_cancel->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(lb_startHour, 0, 1);
    grid->addWidget(lb_startMinute, 0, 2);
    grid->addWidget(lb_start, 1, 0);
    grid->addWidget(cbb_starthour, 1, 1);
    grid->addWidget(cbb_startMinute, 1, 2);
    grid->addWidget(lb_endHour, 2, 1);
    grid->addWidget(lb_endMinute, 2, 2);
    grid->addWidget(lb_end, 3, 0);
    grid->addWidget(cbb_endHour, 3, 1);
    grid->addWidget(cbb_endMinute, 3, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_ok);
    buttons->addWidget(btn_cancel);
    auto* window = new QVBoxLayout(this);
    window->addLayout(grid);
    window->addLayout(buttons);
    window->setSizeConstraint(QLayout::SetFixedSize);

    connect(btn_ok, &QPushButton::clicked, this, &Tfrm_sessionAdd::btn_okClick);
    connect(btn_cancel, &QPushButton::clicked, this, &Tfrm_sessionAdd::btn_cancelClick);
}

QList<QWidget*> Tfrm_sessionAdd::editingControls() {
    return {btn_ok};
}

void Tfrm_sessionAdd::presetTimes(const std::string& start, const std::string& end) {
    presetTime(cbb_starthour, cbb_startMinute, start);
    presetTime(cbb_endHour, cbb_endMinute, end);
}

std::string Tfrm_sessionAdd::startTime() const {
    return timeOf(cbb_starthour, cbb_startMinute);
}

std::string Tfrm_sessionAdd::endTime() const {
    return timeOf(cbb_endHour, cbb_endMinute);
}

void Tfrm_sessionAdd::showEvent(QShowEvent* event) {
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void Tfrm_sessionAdd::btn_okClick() {
    const std::string start = startTime();
    const std::string end = endTime();
    const int skipped = panel_.EditingSession ? panel_.selectedSessionIndex() : -1;
    std::optional<std::string> failure;
    try {
        failure = engine::ValidateSessionTime(book_.lists().SessionLines, start, end, skipped);
    } catch (const store::TimeFormatError& error) {
        failure = error.what();
    }
    if (failure) {
        showMessage(this, fromBytes(*failure));
        return;
    }
    const bool stored =
        panel_.EditingSession ? panel_.saveSelectedSessionTimes(start, end) : panel_.addSession(start, end);
    if (stored)
        accept();
}

void Tfrm_sessionAdd::btn_cancelClick() {
    reject();
}

} // namespace tallowby::ui
