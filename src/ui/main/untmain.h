#pragma once
// The main window: header, session panel, whole-day panel and menus. It owns every rule list of
// the program for the whole run and drives the one-second tick.
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/clock.h"
#include "engine/tick.h"
#include "store/program_paths.h"
#include "store/rule_lists.h"
#include "ui/common/check_guard.h"
#include "ui/common/enforcement.h"

class QAction;
class QCheckBox;
class QColor;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QSystemTrayIcon;
class QTimer;

namespace tallowby::ui {

class Tfrm_checkcode;
class Tfrm_Options;
class Tfrm_pause;
class Tfrm_toRun;
class TfrmAbout;

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

    // --- The dialogs the main window opens, created after it (the program's window order). None of
    // them is owned here. Their editing controls join the main window's in Running.
    struct Dialogs {
        TfrmAbout* about = nullptr;
        Tfrm_checkcode* checkcode = nullptr;
        Tfrm_toRun* toRun = nullptr;
        Tfrm_Options* options = nullptr;
        Tfrm_pause* pause = nullptr;
    };
    void attachDialogs(const Dialogs& dialogs);
    // Controls of a later window that Running(true) disables and Running(false) enables, and
    // controls that only Running(false) touches (it enables them).
    void addEditingControls(const QList<QWidget*>& controls);
    void addEnabledWhenStopped(const QList<QWidget*>& controls);

    // --- Run state.
    bool isRunning() const;
    bool isPaused() const;
    void m_runClick();
    void M_stopClick();  // guarded by "Checkcode to Stop"
    void m_exitClick();  // guarded by "Checkcode to Exit"
    void M_pauseClick(); // shows the pause dialog
    void beginPause(int minutes);
    void T_pauseTimer();
    void Running(bool running);
    void timer_runningTimer();
    void T_mm_noteTimer();
    void timer_minimizeTimer();
    // How many times the rules were stopped (Stop, a pause, Exit) since start-up. A tick that finds
    // a different count after a modal window of its own has closed acts on nothing any more.
    int stopCount() const { return stopCount_; }

    // --- The window shell.
    // What the frame's close box and a minimise do: maybe run or ask to run, then put the window
    // away.
    void putAway();
    void HideToIcon();
    void RestoreFromIcon();
    void StartToIcon();
    void gb_headClick();
    // Fills the session panel from the selected record: its week days, mode and both lists.
    void lb_sessionListClick();
    // "Yes && Save" of the not-running prompt: always run when the window is put away, then run.
    void toRunYesAndSave();
    void Content1Click();
    void About2Click();
    void M_showoptionsClick();
    void M_wholedayeventsClick();
    // Writes these lines as "config.db" and reloads ConfigLines from it, so memory follows the
    // file. false when the write failed (the user has been told; ConfigLines is unchanged).
    bool SaveConfig(const store::Lines& lines);

    // Whether this desktop has a notification area to put the window into.
    static bool trayAvailable();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

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

    // --- The guard protocol's purpose and flags, shared with every dialog that asks for the code.
    CheckGuard checkGuard;
    // Set by Exit once exiting may proceed; the close handler lets the window go only then.
    bool ExitAllowed = false;
    // Wall-clock milliseconds (wallClockMs) at which the running pause ends.
    std::int64_t PauseEndTime = 0;
    // Cleared by StartToIcon when the window waits in the notification area: the program does not
    // show it at start.
    bool ShowMainForm = true;

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

    // --- Notification-area icon and its menu.
    QSystemTrayIcon* trayIcon = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* RestoreWindow1 = nullptr;
    QAction* pop_close = nullptr;

    // --- Timers.
    QTimer* timer_tofocuson = nullptr;
    QTimer* timer_running = nullptr;
    QTimer* T_mm_note = nullptr;
    QTimer* timer_minimize = nullptr;
    QTimer* T_pause = nullptr;

    // --- The dialogs (see attachDialogs); null until attached.
    QPointer<TfrmAbout> frmAbout;
    QPointer<Tfrm_checkcode> frm_checkcode;
    QPointer<Tfrm_toRun> frm_toRun;
    QPointer<Tfrm_Options> frm_Options;
    QPointer<Tfrm_pause> frm_pause;

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
    void buildTrayIcon();
    void buildTimers();
    void connectHandlers();
    void recordClientSizes();
    void setClientWidth(int width);
    void reportError(const std::exception& error);
    void setRunIcon(const std::filesystem::path& iconFile);
    void setStatusColour(const QColor& colour);
    void setEditingEnabled(bool enabled);
    QList<QWidget*> mainEditingControls() const;
    QList<QWidget*> mainEnabledWhenStopped() const;
    // Asks for the check code for a purpose; false when there is no check-code dialog to ask with.
    bool askCheckCode(const QString& purpose);

    QList<QPointer<QWidget>> editingControls_;
    QList<QPointer<QWidget>> enabledWhenStopped_;
    int stopCount_ = 0;
    bool reportingError_ = false;
};

} // namespace tallowby::ui
