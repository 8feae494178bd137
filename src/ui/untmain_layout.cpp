// The main window's controls: names, captions, hints and layout. Behaviour lives in untmain.cpp.
#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "named_widgets.h"
#include "untmain.h"

namespace tallowby::ui {
namespace {

constexpr int kOuterMargin = 4; // the client area ends 4 pixels after the panels
constexpr int kListWidth = 150;
constexpr int kListHeight = 170;
constexpr int kSessionListWidth = 104;

// Small "Add"/"Del" buttons as on a compact tool window, not the style's wide default.
QPushButton* compact(QPushButton* button) {
    reserveTextWidth(button, {button->text()}, 22);
    return button;
}

QListWidget* sizedList(QListWidget* list, int width) {
    list->setMinimumSize(width, kListHeight);
    return list;
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets, bool stretchAtEnd = true) {
    auto* layout = new QHBoxLayout;
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    if (stretchAtEnd)
        layout->addStretch();
    return layout;
}

QGroupBox* dayBox(QGroupBox* box, const std::array<QCheckBox*, 7>& days) {
    auto* layout = new QHBoxLayout(box);
    for (QCheckBox* day : days)
        layout->addWidget(day);
    layout->addStretch();
    return box;
}

// A group holding a list over its Add and Del buttons, optionally under a "Mode:" row.
void fillListGroup(QGroupBox* box, QLayout* modeRow, QListWidget* list, QPushButton* add, QPushButton* del) {
    auto* layout = new QVBoxLayout(box);
    if (modeRow)
        layout->addLayout(modeRow);
    layout->addWidget(list, 1);
    layout->addLayout(row({compact(add), compact(del)}));
}

QGroupBox* headerBox(QGroupBox* box, std::initializer_list<QWidget*> labels) {
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(8, 2, 8, 4);
    for (QWidget* label : labels)
        layout->addWidget(label);
    return box;
}

} // namespace

void Tfrmmain::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("client"));
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(kOuterMargin, kOuterMargin, kOuterMargin, kOuterMargin);
    grid->addWidget(buildHeaderStrip(), 0, 0);
    grid->addWidget(buildNotePanel(), 0, 1);
    grid->addWidget(buildSessionPanel(), 1, 0);
    grid->addWidget(buildWholeDayPanel(), 1, 1);
    setCentralWidget(central);
    buildMenus();
}

QWidget* Tfrmmain::buildHeaderStrip() {
    TB_CREATE(lb_running, QStringLiteral("No Run"));
    reserveTextWidth(lb_running, {QStringLiteral("Running..."), QStringLiteral("No Run")});
    TB_CREATE(gbox_status, QStringLiteral("Status"));
    setHint(gbox_status, QStringLiteral("Please stop before configuration"));

    TB_CREATE(lb_today);
    reserveTextWidth(lb_today,
                     {QStringLiteral("12/31/2026  Wednesday"), QStringLiteral("Countdown  00:10:00")});
    TB_CREATE(lb_clock);
    reserveTextWidth(lb_clock, {QStringLiteral("00-00-00")});
    TB_CREATE(gb_today, QStringLiteral("Today"));

    TB_CREATE(lb_current, QStringLiteral("No session"));
    reserveTextWidth(lb_current, {QStringLiteral("00:00-00:00"), QStringLiteral("No session")});
    TB_CREATE(gb_head, QStringLiteral("Session"));
    setHint(gb_head, QStringLiteral("Click go to session details"));

    TB_CREATE(lb_profile, QStringLiteral("No profile"));
    reserveTextWidth(lb_profile, {QStringLiteral("No profile"), QStringLiteral("Weekday profile")});
    TB_CREATE(gb_profile, QStringLiteral("Profile"));
    setHint(gb_profile, QStringLiteral("Click to show all profiles"));

    auto* strip = new QWidget;
    strip->setObjectName(QStringLiteral("headerStrip"));
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(headerBox(gbox_status, {lb_running}));
    layout->addWidget(headerBox(gb_today, {lb_today, lb_clock}));
    layout->addWidget(headerBox(gb_head, {lb_current}));
    layout->addWidget(headerBox(gb_profile, {lb_profile}), 1);
    // The pause replaces the caption with "Pause for 10 minutes"; keep room for it.
    reserveTextWidth(gb_today, {QStringLiteral("Pause for 10 minutes")}, 24);
    gb_today->setMinimumWidth(std::max(gb_today->minimumWidth(), gb_today->minimumSizeHint().width()));
    return strip;
}

QGroupBox* Tfrmmain::buildNotePanel() {
    TB_CREATE(lb_note1);
    reserveTextWidth(lb_note1, {QStringLiteral("Please stop run before edit.")});
    TB_CREATE(lb_note2);
    lb_note2->setEnabled(false);
    TB_CREATE(gb_note, QStringLiteral(" "));
    return headerBox(gb_note, {lb_note1, lb_note2});
}

QGroupBox* Tfrmmain::buildSessionPanel() {
    const QString daysHint = QStringLiteral("Select days want to RUN rules");

    TB_CREATE(lb_sessionList);
    sizedList(lb_sessionList, kSessionListWidth);
    TB_CREATE(btn_sessionAdd, QStringLiteral("Add"));
    setHint(btn_sessionAdd, QStringLiteral("Add one new session"));
    TB_CREATE(btn_sessionDel, QStringLiteral("Del"));
    setHint(btn_sessionDel, QStringLiteral("Remove one session"));
    TB_CREATE(btn_clear, QStringLiteral("Clear"));
    setHint(btn_clear, QStringLiteral("Clear session list, all sessions will be removed"));
    TB_CREATE(btn_edit, QStringLiteral("Edit"));
    setHint(btn_edit, QStringLiteral("Edit selected session"));
    TB_CREATE(gb_sessionList, QStringLiteral("Session List"));
    auto* listLayout = new QGridLayout(gb_sessionList);
    listLayout->addWidget(lb_sessionList, 0, 0, 1, 2);
    listLayout->addWidget(compact(btn_sessionAdd), 1, 0);
    listLayout->addWidget(compact(btn_sessionDel), 1, 1);
    listLayout->addWidget(compact(btn_edit), 2, 0);
    listLayout->addWidget(compact(btn_clear), 2, 1);
    listLayout->setRowStretch(0, 1);

    TB_CREATE(cb_sun, QStringLiteral("Sun"));
    TB_CREATE(cb_Mon, QStringLiteral("Mon"));
    TB_CREATE(cb_Tue, QStringLiteral("Tue"));
    TB_CREATE(cb_wed, QStringLiteral("Wed"));
    TB_CREATE(cb_Thu, QStringLiteral("Thu"));
    TB_CREATE(cb_fri, QStringLiteral("Fri"));
    TB_CREATE(cb_sat, QStringLiteral("Sat"));
    TB_CREATE(gb_weekDay, QStringLiteral("Week Days"));
    setHint(gb_weekDay, daysHint);
    dayBox(gb_weekDay, sessionDayBoxes());

    TB_CREATE(lb_mode, QStringLiteral("Mode:"));
    TB_CREATE(rb_blockMode, QStringLiteral("Block"));
    setHint(rb_blockMode, QStringLiteral("Block below process"));
    rb_blockMode->setChecked(true);
    TB_CREATE(rb_dedicatedMode, QStringLiteral("Focus"));
    setHint(rb_dedicatedMode, QStringLiteral("Allow only below process"));
    TB_CREATE(lbox_processList);
    TB_CREATE(btn_processAdd, QStringLiteral("Add"));
    TB_CREATE(btn_processDel, QStringLiteral("Del"));
    TB_CREATE(gb_processList, QStringLiteral("Process List"));
    fillListGroup(gb_processList, row({lb_mode, rb_blockMode, rb_dedicatedMode}),
                  sizedList(lbox_processList, kListWidth), btn_processAdd, btn_processDel);

    TB_CREATE(Lbox_domainlist);
    TB_CREATE(btn_domainAdd, QStringLiteral("Add"));
    TB_CREATE(btn_domainDel, QStringLiteral("Del"));
    TB_CREATE(gb_blockedDomain, QStringLiteral("Blocked Website List"));
    fillListGroup(gb_blockedDomain, nullptr, sizedList(Lbox_domainlist, kListWidth), btn_domainAdd,
                  btn_domainDel);

    TB_CREATE(gb_sessionAll, QStringLiteral("Session Events"));
    auto* rules = new QGridLayout;
    rules->addWidget(gb_weekDay, 0, 0, 1, 2);
    rules->addWidget(gb_processList, 1, 0);
    rules->addWidget(gb_blockedDomain, 1, 1);
    rules->setRowStretch(1, 1);
    auto* layout = new QHBoxLayout(gb_sessionAll);
    layout->addWidget(gb_sessionList);
    layout->addLayout(rules, 1);
    return gb_sessionAll;
}

QGroupBox* Tfrmmain::buildWholeDayPanel() {
    TB_CREATE(cb_w0, QStringLiteral("Sun"));
    TB_CREATE(cb_w1, QStringLiteral("Mon"));
    TB_CREATE(cb_w2, QStringLiteral("Tue"));
    TB_CREATE(cb_w3, QStringLiteral("Wed"));
    TB_CREATE(cb_w4, QStringLiteral("Thu"));
    TB_CREATE(cb_w5, QStringLiteral("Fri"));
    TB_CREATE(cb_w6, QStringLiteral("Sat"));
    TB_CREATE(fb_wholedayweekdays, QStringLiteral("Week Days"));
    setHint(fb_wholedayweekdays, QStringLiteral("Select days want to RUN rules"));
    dayBox(fb_wholedayweekdays, wholeDayBoxes());

    TB_CREATE(lb_wholedayMode, QStringLiteral("Mode:"));
    TB_CREATE(rb_wohledayblock, QStringLiteral("Block"));
    setHint(rb_wohledayblock, QStringLiteral("Block below process"));
    TB_CREATE(rb_wholedayFocus, QStringLiteral("Focus"));
    setHint(rb_wholedayFocus, QStringLiteral("Allow only below process"));
    rb_wholedayFocus->setChecked(true);
    TB_CREATE(lb_wholedayprocess);
    TB_CREATE(btn_wholedayprocessAdd, QStringLiteral("Add"));
    TB_CREATE(btn_wholedayprocessDel, QStringLiteral("Del"));
    TB_CREATE(gb_wholedayProcess, QStringLiteral("Process List"));
    fillListGroup(gb_wholedayProcess, row({lb_wholedayMode, rb_wohledayblock, rb_wholedayFocus}),
                  sizedList(lb_wholedayprocess, kListWidth), btn_wholedayprocessAdd, btn_wholedayprocessDel);

    TB_CREATE(lb_wholedaydomain);
    TB_CREATE(btn_wholedaydomainAdd, QStringLiteral("Add"));
    TB_CREATE(btn_wholedaydomainDel, QStringLiteral("Del"));
    TB_CREATE(fb_wholedaydomain, QStringLiteral("Blocked Website List"));
    fillListGroup(fb_wholedaydomain, nullptr, sizedList(lb_wholedaydomain, kListWidth), btn_wholedaydomainAdd,
                  btn_wholedaydomainDel);

    TB_CREATE(gb_wholeday, QStringLiteral("Whole Day Events"));
    setHint(gb_wholeday, QStringLiteral("Whole Day Events have higher priority than Session events"));
    auto* layout = new QGridLayout(gb_wholeday);
    layout->addWidget(fb_wholedayweekdays, 0, 0, 1, 2);
    layout->addWidget(gb_wholedayProcess, 1, 0);
    layout->addWidget(fb_wholedaydomain, 1, 1);
    layout->setRowStretch(1, 1);
    return gb_wholeday;
}

void Tfrmmain::buildMenus() {
    QMenuBar* bar = menuBar();
    TB_CREATE(m_run, QStringLiteral("Run"), this);
    TB_CREATE(M_stop, QStringLiteral("Stop"), this);
    TB_CREATE(M_pause, QStringLiteral("Pause"), this);
    bar->addAction(m_run);
    bar->addAction(M_stop);
    bar->addAction(M_pause);

    TB_CREATE(M_profiles, QStringLiteral("Profiles"), this);
    TB_CREATE(M_showprofiles, QStringLiteral("Profiles"), this);
    M_profiles->addAction(M_showprofiles);
    bar->addMenu(M_profiles);

    TB_CREATE(M_mReminder, QStringLiteral("Reminders"), this);
    TB_CREATE(M_reminder, QStringLiteral("Reminders"), this);
    TB_CREATE(M_shutdown, QStringLiteral("Auto shutdown"), this);
    M_mReminder->addAction(M_reminder);
    M_mReminder->addAction(M_shutdown);
    bar->addMenu(M_mReminder);

    TB_CREATE(M_options, QStringLiteral("Options"), this);
    TB_CREATE(M_showoptions, QStringLiteral("Options"), this);
    TB_CREATE(M_wholedayevents, QStringLiteral("Show whole day events"), this);
    M_wholedayevents->setCheckable(true);
    M_options->addAction(M_showoptions);
    M_options->addAction(M_wholedayevents);
    bar->addMenu(M_options);

    TB_CREATE(m_help, QStringLiteral("Help"), this);
    TB_CREATE(Content1, QStringLiteral("Content"), this);
    TB_CREATE(Onlinehelp1, QStringLiteral("Online help"), this);
    TB_CREATE(About2, QStringLiteral("About"), this);
    m_help->addAction(Content1);
    m_help->addAction(Onlinehelp1);
    m_help->addSeparator();
    m_help->addAction(About2);
    bar->addMenu(m_help);

    TB_CREATE(m_exit, QStringLiteral("Exit"), this);
    bar->addAction(m_exit);
}

std::array<QCheckBox*, 7> Tfrmmain::sessionDayBoxes() const {
    return {cb_sun, cb_Mon, cb_Tue, cb_wed, cb_Thu, cb_fri, cb_sat};
}

std::array<QCheckBox*, 7> Tfrmmain::wholeDayBoxes() const {
    return {cb_w0, cb_w1, cb_w2, cb_w3, cb_w4, cb_w5, cb_w6};
}

} // namespace tallowby::ui
