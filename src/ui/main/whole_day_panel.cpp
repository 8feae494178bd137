#include "ui/main/whole_day_panel.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "store/whole_day_record.h"
#include "ui/common/list_entries.h"
#include "ui/main/program_dialogs.h"
#include "ui/rules/unt_domainadd.h"
#include "ui/rules/unt_wholedayAddprocess.h"

namespace tallowby::ui {

WholeDayPanel::WholeDayPanel(RuleBook& book, const ProgramDialogs& dialogs,
                             std::function<void()> websitesChanged, QWidget* parent)
    : QGroupBox(QStringLiteral("Whole Day Events"), parent), book_(book), dialogs_(dialogs),
      websitesChanged_(std::move(websitesChanged)) {
    setObjectName(QStringLiteral("gb_wholeday"));
    setHint(this, QStringLiteral("Whole Day Events have higher priority than Session events"));
    buildControls();
}

void WholeDayPanel::buildControls() {
    setLayout(buildRuleControls({TB_SLOT(fb_wholedayweekdays),
                                 {TB_SLOT(cb_w0), TB_SLOT(cb_w1), TB_SLOT(cb_w2), TB_SLOT(cb_w3),
                                  TB_SLOT(cb_w4), TB_SLOT(cb_w5), TB_SLOT(cb_w6)},
                                 TB_SLOT(gb_wholedayProcess),
                                 TB_SLOT(lb_wholedayMode),
                                 TB_SLOT(rb_wohledayblock),
                                 TB_SLOT(rb_wholedayFocus),
                                 TB_SLOT(lb_wholedayprocess),
                                 TB_SLOT(btn_wholedayprocessAdd),
                                 TB_SLOT(btn_wholedayprocessDel),
                                 TB_SLOT(fb_wholedaydomain),
                                 TB_SLOT(lb_wholedaydomain),
                                 TB_SLOT(btn_wholedaydomainAdd),
                                 TB_SLOT(btn_wholedaydomainDel)}));
    rb_wholedayFocus->setChecked(true);

    // toggled, not clicked: a box changed by the keyboard or a screen reader is stored like a click.
    // The panel's own showing of the file sets LoadingWholeDayPanel.
    for (QCheckBox* day : dayBoxes())
        connect(day, &QCheckBox::toggled, this, &WholeDayPanel::cb_w0Click);
    // Of two radio buttons only the one turned on stores the change.
    connect(rb_wohledayblock, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            rb_wohledayblockClick();
    });
    connect(rb_wholedayFocus, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            rb_wholedayFocusClick();
    });
    connect(btn_wholedayprocessAdd, &QPushButton::clicked, this, &WholeDayPanel::btn_wholedayprocessAddClick);
    connect(btn_wholedayprocessDel, &QPushButton::clicked, this, &WholeDayPanel::btn_wholedayprocessDelClick);
    connect(btn_wholedaydomainAdd, &QPushButton::clicked, this, &WholeDayPanel::btn_wholedaydomainAddClick);
    connect(btn_wholedaydomainDel, &QPushButton::clicked, this, &WholeDayPanel::btn_wholedaydomainDelClick);
}

std::array<QCheckBox*, 7> WholeDayPanel::dayBoxes() const {
    return {cb_w0, cb_w1, cb_w2, cb_w3, cb_w4, cb_w5, cb_w6};
}

RuleControlSet WholeDayPanel::ruleControls() const {
    return {dayBoxes(), rb_wohledayblock, rb_wholedayFocus, lb_wholedayprocess, lb_wholedaydomain};
}

QList<QWidget*> WholeDayPanel::editingControls() {
    QList<QWidget*> controls{btn_wholedayprocessAdd, btn_wholedayprocessDel, btn_wholedaydomainAdd,
                             btn_wholedaydomainDel,  rb_wohledayblock,       rb_wholedayFocus};
    for (QCheckBox* day : dayBoxes())
        controls.append(day);
    return controls;
}

QList<QWidget*> WholeDayPanel::enabledWhenStopped() {
    return {this, lb_wholedayprocess, lb_wholedaydomain};
}

void WholeDayPanel::showWholeDay() {
    LoadingWholeDayPanel = true;
    showRuleFields(ruleControls(), store::decodeWholeDay(book_.lists().WholeDayLines));
    LoadingWholeDayPanel = false;
}

bool WholeDayPanel::SaveWholeDay() {
    // What the panel has against what was read is the user's change, made on what the file holds
    // when it is written.
    const store::WholeDayFields before = store::decodeWholeDay(book_.lists().WholeDayLines);
    const store::WholeDayFields edited = ruleFieldsOf(ruleControls());
    if (book_.save(RuleFile::WholeDay,
                   [&](const store::Lines& now) { return store::changeWholeDay(now, before, edited); }))
        return true;
    // The user has been told; the panel goes back to what the file still says.
    showWholeDay();
    return false;
}

bool WholeDayPanel::saveAfterDialog() {
    // A dialog left open across the end of a pause closes while the rules run: they are not
    // changed then, and the panel shows what the file says.
    if (btn_wholedayprocessAdd->isEnabled())
        return SaveWholeDay();
    showWholeDay();
    return false;
}

engine::WholeDayPanel WholeDayPanel::rules() const {
    return {listEntries(lb_wholedayprocess), listEntries(lb_wholedaydomain), rb_wholedayFocus->isChecked()};
}

void WholeDayPanel::cb_w0Click() {
    if (LoadingWholeDayPanel)
        return;
    SaveWholeDay();
    websitesChanged_();
}

void WholeDayPanel::saveModeChange() {
    if (!LoadingWholeDayPanel)
        SaveWholeDay();
}

void WholeDayPanel::rb_wohledayblockClick() {
    saveModeChange();
}

void WholeDayPanel::rb_wholedayFocusClick() {
    saveModeChange();
}

void WholeDayPanel::btn_wholedayprocessAddClick() {
    if (!dialogs_.frm_WholedayAddProcess)
        return;
    dialogs_.frm_WholedayAddProcess->setFocusMode(rb_wholedayFocus->isChecked());
    dialogs_.frm_WholedayAddProcess->exec();
    saveAfterDialog();
}

void WholeDayPanel::btn_wholedayprocessDelClick() {
    if (removeSelectedEntry(lb_wholedayprocess))
        SaveWholeDay();
}

void WholeDayPanel::btn_wholedaydomainAddClick() {
    if (!dialogs_.frm_WholeDayDomainAdd)
        return;
    dialogs_.frm_WholeDayDomainAdd->exec();
    saveAfterDialog();
    websitesChanged_();
}

void WholeDayPanel::btn_wholedaydomainDelClick() {
    // Selected or not, the file and the hosts file are written again.
    removeSelectedEntry(lb_wholedaydomain);
    SaveWholeDay();
    websitesChanged_();
}

} // namespace tallowby::ui
