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

#include "ui/common/named_widgets.h"
#include "ui/main/untmain.h"

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

QHBoxLayout* row(std::initializer_list<QWidget*> widgets, bool stretchAtEnd = true) {
    auto* layout = new QHBoxLayout;
    for (QWidget* widget : widgets)
        layout->addWidget(widget);
    if (stretchAtEnd)
        layout->addStretch();
    return layout;
}

// The week days, the process list with its mode and the website list: the same controls in the
// session panel and in the whole-day panel.
struct RuleControls {
    Slot<QGroupBox> dayGroup;
    std::array<Slot<QCheckBox>, 7> days;
    Slot<QGroupBox> processGroup;
    Slot<QLabel> modeLabel;
    Slot<QRadioButton> block;
    Slot<QRadioButton> focus;
    Slot<QListWidget> processes;
    Slot<QPushButton> processAdd;
    Slot<QPushButton> processDel;
    Slot<QGroupBox> websiteGroup;
    Slot<QListWidget> websites;
    Slot<QPushButton> websiteAdd;
    Slot<QPushButton> websiteDel;
};

// A group holding a list over its Add and Del buttons.
QGroupBox* listGroup(QGroupBox* box, QListWidget* list, QPushButton* add, QPushButton* del) {
    auto* layout = new QVBoxLayout(box);
    list->setMinimumSize(kListWidth, kListHeight);
    layout->addWidget(list, 1);
    layout->addLayout(row({compact(add), compact(del)}));
    return box;
}

// Week days across the top, the process and website groups side by side below.
QGridLayout* buildRuleControls(const RuleControls& c) {
    static const char* const dayCaptions[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    QGroupBox* days = c.dayGroup.create(QStringLiteral("Week Days"));
    setHint(days, QStringLiteral("Select days want to RUN rules"));
    auto* dayRow = new QHBoxLayout(days);
    for (std::size_t day = 0; day < c.days.size(); ++day)
        dayRow->addWidget(c.days[day].create(QString::fromLatin1(dayCaptions[day])));
    dayRow->addStretch();

    QGroupBox* processes =
        listGroup(c.processGroup.create(QStringLiteral("Process List")), c.processes.create(),
                  c.processAdd.create(QStringLiteral("Add")), c.processDel.create(QStringLiteral("Del")));
    QRadioButton* block = c.block.create(QStringLiteral("Block"));
    setHint(block, QStringLiteral("Block below process"));
    QRadioButton* focus = c.focus.create(QStringLiteral("Focus"));
    setHint(focus, QStringLiteral("Allow only below process"));
    auto* processLayout = static_cast<QVBoxLayout*>(processes->layout());
    processLayout->insertLayout(0, row({c.modeLabel.create(QStringLiteral("Mode:")), block, focus}));

    QGroupBox* websites =
        listGroup(c.websiteGroup.create(QStringLiteral("Blocked Website List")), c.websites.create(),
                  c.websiteAdd.create(QStringLiteral("Add")), c.websiteDel.create(QStringLiteral("Del")));

    auto* grid = new QGridLayout;
    grid->addWidget(days, 0, 0, 1, 2);
    grid->addWidget(processes, 1, 0);
    grid->addWidget(websites, 1, 1);
    grid->setRowStretch(1, 1);
    return grid;
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
    TB_CREATE(lb_sessionList);
    lb_sessionList->setMinimumSize(kSessionListWidth, kListHeight);
    connect(lb_sessionList, &QListWidget::itemSelectionChanged, this, &Tfrmmain::lb_sessionListClick);
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

    QGridLayout* rules =
        buildRuleControls({TB_SLOT(gb_weekDay),
                           {TB_SLOT(cb_sun), TB_SLOT(cb_Mon), TB_SLOT(cb_Tue), TB_SLOT(cb_wed),
                            TB_SLOT(cb_Thu), TB_SLOT(cb_fri), TB_SLOT(cb_sat)},
                           TB_SLOT(gb_processList),
                           TB_SLOT(lb_mode),
                           TB_SLOT(rb_blockMode),
                           TB_SLOT(rb_dedicatedMode),
                           TB_SLOT(lbox_processList),
                           TB_SLOT(btn_processAdd),
                           TB_SLOT(btn_processDel),
                           TB_SLOT(gb_blockedDomain),
                           TB_SLOT(Lbox_domainlist),
                           TB_SLOT(btn_domainAdd),
                           TB_SLOT(btn_domainDel)});
    rb_blockMode->setChecked(true);

    TB_CREATE(gb_sessionAll, QStringLiteral("Session Events"));
    auto* layout = new QHBoxLayout(gb_sessionAll);
    layout->addWidget(gb_sessionList);
    layout->addLayout(rules, 1);
    return gb_sessionAll;
}

QGroupBox* Tfrmmain::buildWholeDayPanel() {
    QGridLayout* rules = buildRuleControls({TB_SLOT(fb_wholedayweekdays),
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
                                            TB_SLOT(btn_wholedaydomainDel)});
    rb_wholedayFocus->setChecked(true);

    TB_CREATE(gb_wholeday, QStringLiteral("Whole Day Events"));
    setHint(gb_wholeday, QStringLiteral("Whole Day Events have higher priority than Session events"));
    gb_wholeday->setLayout(rules);
    return gb_wholeday;
}

void Tfrmmain::buildMenus() {
    QMenuBar* bar = menuBar();
    auto submenu = [bar](QMenu* menu, std::initializer_list<QAction*> items) {
        for (QAction* item : items) {
            if (item)
                menu->addAction(item);
            else
                menu->addSeparator();
        }
        bar->addMenu(menu);
    };
    // Top-level items without a submenu act directly from the menu bar.
    bar->addAction(TB_CREATE(m_run, QStringLiteral("Run"), this));
    bar->addAction(TB_CREATE(M_stop, QStringLiteral("Stop"), this));
    bar->addAction(TB_CREATE(M_pause, QStringLiteral("Pause"), this));
    submenu(TB_CREATE(M_profiles, QStringLiteral("Profiles"), this),
            {TB_CREATE(M_showprofiles, QStringLiteral("Profiles"), this)});
    submenu(TB_CREATE(M_mReminder, QStringLiteral("Reminders"), this),
            {TB_CREATE(M_reminder, QStringLiteral("Reminders"), this),
             TB_CREATE(M_shutdown, QStringLiteral("Auto shutdown"), this)});
    submenu(TB_CREATE(M_options, QStringLiteral("Options"), this),
            {TB_CREATE(M_showoptions, QStringLiteral("Options"), this),
             TB_CREATE(M_wholedayevents, QStringLiteral("Show whole day events"), this)});
    M_wholedayevents->setCheckable(true);
    submenu(TB_CREATE(m_help, QStringLiteral("Help"), this),
            {TB_CREATE(Content1, QStringLiteral("Content"), this),
             TB_CREATE(Onlinehelp1, QStringLiteral("Online help"), this), nullptr,
             TB_CREATE(About2, QStringLiteral("About"), this)});
    // There is no online help page to open; the installed help page is the help.
    Onlinehelp1->setVisible(false);
    bar->addAction(TB_CREATE(m_exit, QStringLiteral("Exit"), this));
}

std::array<QCheckBox*, 7> Tfrmmain::sessionDayBoxes() const {
    return {cb_sun, cb_Mon, cb_Tue, cb_wed, cb_Thu, cb_fri, cb_sat};
}

std::array<QCheckBox*, 7> Tfrmmain::wholeDayBoxes() const {
    return {cb_w0, cb_w1, cb_w2, cb_w3, cb_w4, cb_w5, cb_w6};
}

} // namespace tallowby::ui
