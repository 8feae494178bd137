// The main window's controls: names, captions, hints and layout; the two panels are classes of
// their own. Behaviour lives in untmain.cpp.
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
#include "ui/main/session_panel.h"
#include "ui/main/untmain.h"
#include "ui/main/whole_day_panel.h"

namespace tallowby::ui {
namespace {

constexpr int kOuterMargin = 4; // the client area ends 4 pixels after the panels

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
    // A change of the sessions' websites reaches the hosts file at the next tick; a change of the
    // whole-day days or websites at once as well.
    gb_sessionAll = new SessionPanel(*this, dialogs, [this] { HostsRefreshPending = true; });
    gb_wholeday = new WholeDayPanel(*this, dialogs, [this] {
        WriteWholeDayHosts();
        HostsRefreshPending = true;
    });
    grid->addWidget(gb_sessionAll, 1, 0);
    grid->addWidget(gb_wholeday, 1, 1);
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
    // The status, the clock and (in a pause) the countdown change their text every second. Held at
    // the size kept for their widest text, a label repaints alone when its text changes; one free to
    // change its size would have the whole window laid out again, every second.
    for (QLabel* ticking : {lb_running, lb_today, lb_clock})
        ticking->setFixedSize(ticking->minimumWidth(), ticking->sizeHint().height());

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

} // namespace tallowby::ui
