#pragma once
// The main window: header, session panel, whole-day panel and menus. It owns every rule list of
// the program for the whole run and drives the one-second tick.
#include <QMainWindow>
#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "enforcement.h"
#include "engine/clock.h"
#include "engine/tick.h"
#include "store/program_paths.h"
#include "store/rule_lists.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QTimer;

namespace tallowby::ui {

class MainTickActions;

class Tfrmmain : public QMainWindow {
    Q_OBJECT

  public:
    // Creates the window and loads the program folder's files (the window's FormCreate). The clock
    // is the local wall clock unless a test passes its own.
    Tfrmmain(store::ProgramPaths paths, Enforcement enforcement,
             std::unique_ptr<engine::Clock> clock = nullptr, QWidget* parent = nullptr);
    ~Tfrmmain() override;

    const store::ProgramPaths& programPaths() const { return paths_; }
    Enforcement& enforcement() { return enforcement_; }
    const engine::Clock& clock() const { return *clock_; }

    // --- Loaders: each reads its file through the store and then brings the widgets in line. A
    // missing file leaves the list and the widgets as they were.
    void LoadConfiglist(const std::filesystem::path& path);
    void LoadprofileList(const std::filesystem::path& path);
    void LoadSessionList(const std::filesystem::path& path);
    void LoadWholedayList(const std::filesystem::path& path);
    void LoadReminderList(const std::filesystem::path& path);
    void LoadSound();

    // Writes the hosts file from the whole-day rules alone (at start-up, by Run, after whole-day
    // day and website changes).
    void WriteWholeDayHosts();
    // Writes the hosts file with the localhost line and these sites. A failure is shown to the user
    // and gives false; the caller skips what depended on the write.
    bool writeHostsFile(const std::vector<std::string>& sites);

    // ConfigLines line 0, or "" while no configuration names a profile.
    const std::string& currentProfile() const;
    // ConfigLines line 10 ("Start to Icon") is on: the window is not shown at start.
    bool startsToIcon() const;

    // The whole-day panel as the sweeps and the hosts writer read it.
    engine::WholeDayPanel wholeDayPanel() const;

    // The selected entry of lb_sessionList, -1 for none; selectSession(-1) clears the selection.
    int selectedSessionIndex() const;
    void selectSession(int index);

    // Shows or hides the whole-day panel and the notice panel, with the matching client width
    // (step 4 of LoadConfiglist; also the menu item's job).
    void showWholeDayPanel(bool shown);

    // With no session selected while the rules run, the session panel shows nothing: the week-day
    // boxes are unchecked and both lists emptied.
    void Nosession();

  private:
    store::ProgramPaths paths_;
    Enforcement enforcement_;
    std::unique_ptr<engine::Clock> clock_;
    store::RuleLists lists_;
    engine::TickState tickState_;

  public:
    // --- The in-memory lists, under the names every dialog uses.
    store::Lines& ConfigLines;
    store::Lines& ProfileLines;
    store::Lines& SessionLines;
    int& SessionCount;
    store::Lines& WholeDayLines;
    store::Lines& ReminderLines;
    int& ReminderCount;
    store::Lines& SoundLines;
    const store::RuleLists& ruleLists() const { return lists_; }

    // --- State kept between ticks.
    int& CurrentSessionIndex;
    bool& HostsRefreshPending;
    bool& AlarmSoundFlag;

    // Set while a loader fills a panel, so the panel's click handlers do not write back.
    bool LoadingSessionPanel = false;
    bool LoadingWholeDayPanel = false;

    // Client widths with and without the whole-day panel, and the client height (recorded once).
    int WideClientWidth = 0;
    int NarrowClientWidth = 0;
    int ClientHeight = 0;

    // --- Header strip.
    QGroupBox* gbox_status = nullptr;
    QLabel* lb_running = nullptr;
    QGroupBox* gb_today = nullptr;
    QLabel* lb_today = nullptr;
    QLabel* lb_clock = nullptr;
    QGroupBox* gb_head = nullptr;
    QLabel* lb_current = nullptr;
    QGroupBox* gb_profile = nullptr;
    QLabel* lb_profile = nullptr;
    QGroupBox* gb_note = nullptr;
    QLabel* lb_note1 = nullptr;
    QLabel* lb_note2 = nullptr;

    // --- Session panel.
    QGroupBox* gb_sessionAll = nullptr;
    QGroupBox* gb_sessionList = nullptr;
    QListWidget* lb_sessionList = nullptr;
    QPushButton* btn_sessionAdd = nullptr;
    QPushButton* btn_sessionDel = nullptr;
    QPushButton* btn_clear = nullptr;
    QPushButton* btn_edit = nullptr;
    QGroupBox* gb_weekDay = nullptr;
    QCheckBox* cb_sun = nullptr;
    QCheckBox* cb_Mon = nullptr;
    QCheckBox* cb_Tue = nullptr;
    QCheckBox* cb_wed = nullptr;
    QCheckBox* cb_Thu = nullptr;
    QCheckBox* cb_fri = nullptr;
    QCheckBox* cb_sat = nullptr;
    QGroupBox* gb_processList = nullptr;
    QLabel* lb_mode = nullptr;
    QRadioButton* rb_blockMode = nullptr;
    QRadioButton* rb_dedicatedMode = nullptr;
    QListWidget* lbox_processList = nullptr;
    QPushButton* btn_processAdd = nullptr;
    QPushButton* btn_processDel = nullptr;
    QGroupBox* gb_blockedDomain = nullptr;
    QListWidget* Lbox_domainlist = nullptr;
    QPushButton* btn_domainAdd = nullptr;
    QPushButton* btn_domainDel = nullptr;

    // --- Whole-day panel.
    QGroupBox* gb_wholeday = nullptr;
    QGroupBox* fb_wholedayweekdays = nullptr;
    QCheckBox* cb_w0 = nullptr;
    QCheckBox* cb_w1 = nullptr;
    QCheckBox* cb_w2 = nullptr;
    QCheckBox* cb_w3 = nullptr;
    QCheckBox* cb_w4 = nullptr;
    QCheckBox* cb_w5 = nullptr;
    QCheckBox* cb_w6 = nullptr;
    QGroupBox* gb_wholedayProcess = nullptr;
    QLabel* lb_wholedayMode = nullptr;
    QRadioButton* rb_wohledayblock = nullptr;
    QRadioButton* rb_wholedayFocus = nullptr;
    QListWidget* lb_wholedayprocess = nullptr;
    QPushButton* btn_wholedayprocessAdd = nullptr;
    QPushButton* btn_wholedayprocessDel = nullptr;
    QGroupBox* fb_wholedaydomain = nullptr;
    QListWidget* lb_wholedaydomain = nullptr;
    QPushButton* btn_wholedaydomainAdd = nullptr;
    QPushButton* btn_wholedaydomainDel = nullptr;

    // --- Main menu.
    QAction* m_run = nullptr;
    QAction* M_stop = nullptr;
    QAction* M_pause = nullptr;
    QMenu* M_profiles = nullptr;
    QAction* M_showprofiles = nullptr;
    QMenu* M_mReminder = nullptr;
    QAction* M_reminder = nullptr;
    QAction* M_shutdown = nullptr;
    QMenu* M_options = nullptr;
    QAction* M_showoptions = nullptr;
    QAction* M_wholedayevents = nullptr;
    QMenu* m_help = nullptr;
    QAction* Content1 = nullptr;
    QAction* Onlinehelp1 = nullptr;
    QAction* About2 = nullptr;
    QAction* m_exit = nullptr;

    // --- Timers.
    QTimer* timer_tofocuson = nullptr;

    // The week-day boxes in WeekDayString order (Sunday first).
    std::array<QCheckBox*, 7> sessionDayBoxes() const;
    std::array<QCheckBox*, 7> wholeDayBoxes() const;

  public slots:
    // One tick of the rules. timer_tofocuson reaches it through a queued call, so a modal window
    // opened inside a tick does not hold up the ticks that fall due meanwhile.
    void timer_tofocusonTimer();

  private:
    void buildControls();
    QWidget* buildHeaderStrip();
    QGroupBox* buildNotePanel();
    QGroupBox* buildSessionPanel();
    QGroupBox* buildWholeDayPanel();
    void buildMenus();
    void buildTimers();
    void recordClientSizes();
    void setClientWidth(int width);
    void loadCurrentProfile();
    void reportError(const std::exception& error);

    std::unique_ptr<MainTickActions> tickActions_;
    bool reportingError_ = false;
};

} // namespace tallowby::ui
