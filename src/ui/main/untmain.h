#pragma once
// The main window: header, session panel, whole-day panel and menus. It owns every rule list of
// the program for the whole run and drives the one-second tick.
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "engine/clock.h"
#include "engine/tick.h"
#include "store/load_report.h"
#include "store/program_paths.h"
#include "store/rule_lists.h"
#include "ui/alarms/alert_sound.h"
#include "ui/common/check_guard.h"
#include "ui/common/enforcement.h"
#include "ui/common/rule_book.h"
#include "ui/common/run_state_controls.h"
#include "ui/main/header_box.h"
#include "ui/main/program_dialogs.h"
#include "ui/main/session_panel.h"
#include "ui/main/whole_day_panel.h"

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

class Tfrmmain : public QMainWindow, public RuleBook {
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
    // day and website changes). quietRetry as for writeHostsFile.
    void WriteWholeDayHosts(bool quietRetry = false);
    // Writes the hosts file with the localhost line and these sites, and remembers them for the
    // tick. A failure is shown to the user and gives false; the caller skips what depended on the
    // write. The tick tries again every second until a write works: with quietRetry its failures
    // are shown once, not every second.
    bool writeHostsFile(const std::vector<std::string>& sites, bool quietRetry = false);
    // What a write of these sites asks of the hosts file now: with their locks when the options keep
    // website blocks until their session ends.
    platform::BlockRequest hostsRequest(const std::vector<std::string>& sites) const;
    // Lifts, while the rules are off, a website whose lock has ended (a timer calls it every 15 s).
    void checkWebsiteLocks();

    // The desktop session is ending under the program (the system asks it to end, or its display
    // is gone): the website blocks are lifted and it ends, without a check code and without a
    // word, since nobody is there to answer. The next log-on's start puts back what the rules say.
    void endWithSession();
    // The blocks lifted on the spot, as the program ends: by Exit, or with no time left for the
    // message loop (the display connection lost). Only the first call writes; the failure, if any,
    // for the caller to tell when someone is there to read it.
    std::optional<store::FileError> liftWebsiteBlocksForEnd();

    // ConfigLines line 0, or "" while no configuration names a profile or it names one that is not a
    // plain file name.
    std::string currentProfile() const;
    // ConfigLines line 10 ("Start to Icon") is on: the window is not shown at start.
    bool startsToIcon() const;

    // The whole-day panel as the sweeps and the hosts writer read it.
    engine::WholeDayPanel wholeDayPanel() const;

    // Shows or hides the whole-day panel and the notice panel, with the matching client width
    // (step 4 of LoadConfiglist; also the menu item's job).
    void showWholeDayPanel(bool shown);

    // A window made after this one: its controls follow the run state from now on.
    void addRunStateControls(RunStateControls& window);
    // Starts the timers: the status blink and, shortly after, the rules. Only once every window
    // exists, so the first Run disables the editing controls of all of them.
    void startTimers();

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
    // "Yes && Save" of the not-running prompt: always run when the window is put away, then run.
    void toRunYesAndSave();
    void Content1Click();
    void About2Click();
    void M_showoptionsClick();
    void M_showprofilesClick();
    void gb_profileClick();
    void lb_profileClick();
    void M_reminderClick();
    void M_shutdownClick();
    void M_wholedayeventsClick();
    // Writes these lines as "config.db" and reloads ConfigLines from it, so memory follows the
    // file. false when the write failed (the user has been told; ConfigLines is unchanged).
    bool SaveConfig(const store::Lines& lines);

    // --- The rule book: how every window changes a rule file.
    const store::RuleLists& lists() const override { return lists_; }
    const store::ProgramPaths& paths() const override { return paths_; }
    using RuleBook::save;
    bool save(RuleFile file, const Change& change) override;
    void reload(RuleFile file) override;
    void reloadProfile() override;
    std::filesystem::path ruleFilePath(RuleFile file) const;

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

    // --- State kept between ticks.
    int& CurrentSessionIndex;
    bool& HostsRefreshPending;
    bool& AlarmSoundFlag;

    // --- The guard protocol's purpose and flags, shared with every dialog that asks for the code.
    CheckGuard checkGuard;
    // Set by Exit once exiting may proceed; the close handler lets the window go only then.
    bool ExitAllowed = false;
    // The shutdown command has been handed on and not called off: cancelling the shutdown from its
    // warning must then call it off too.
    bool ShutdownCommandStarted = false;
    // The one alert sound every pop-up shares.
    AlertSound alertSound;
    // Wall-clock milliseconds (wallClockMs) at which the running pause ends.
    std::int64_t PauseEndTime = 0;
    // Cleared by StartToIcon when the window waits in the notification area: the program does not
    // show it at start.
    bool ShowMainForm = true;

    // Client widths with and without the whole-day panel, and the client height (recorded once).
    int WideClientWidth = 0;
    int NarrowClientWidth = 0;
    int ClientHeight = 0;

    // --- Header strip. The boxes around labels that change every second are HeaderBoxes.
    HeaderBox* gbox_status = nullptr;
    QLabel* lb_running = nullptr;
    HeaderBox* gb_today = nullptr;
    QLabel* lb_today = nullptr;
    QLabel* lb_clock = nullptr;
    QGroupBox* gb_head = nullptr;
    QLabel* lb_current = nullptr;
    QGroupBox* gb_profile = nullptr;
    QLabel* lb_profile = nullptr;
    HeaderBox* gb_note = nullptr;
    QLabel* lb_note1 = nullptr;
    QLabel* lb_note2 = nullptr;

    // --- The two panels: the sessions and the whole-day rules.
    SessionPanel* gb_sessionAll = nullptr;
    WholeDayPanel* gb_wholeday = nullptr;

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

    // --- Every dialog, filled in as the program makes them.
    ProgramDialogs dialogs;

  public slots:
    // One tick of the rules. timer_tofocuson reaches it through a queued call (queueTick), so a
    // modal window opened inside a tick does not hold up the ticks that fall due meanwhile.
    void timer_tofocusonTimer();
    void queueTick();

  private:
    void buildControls();
    QWidget* buildHeaderStrip();
    QGroupBox* buildNotePanel();
    void buildMenus();
    void buildTrayIcon();
    void buildTimers();
    void connectHandlers();
    void recordClientSizes();
    void setClientWidth(int width);
    // Shows a problem in one box at a time; during start-up it waits for the main window.
    void tell(const QString& text);
    void hostsWriteEnded();
    // Asks whether websites that stay locked after Stop, a pause or Exit are to be lifted early
    // (with an administrator's password), and starts lifting them; nothing when none stay, or while
    // a lift the user asked for is still under way. The password dialog waits beside the window.
    void offerEarlyLift();
    void offerEarlyLiftSoon();
    // Hands the early lift to the hosts file, or learns how it went once it has ended, and then
    // tells a failure and writes what is wanted by now.
    void carryOnLift();
    // The last steps of Exit, once no early lift is under way: the program's last hosts write, the
    // offer of an early lift (when offerLift), and the end of the message loop once its outcome is
    // known.
    void endProgram(bool offerLift);
    // Tells the user once about each rule the loaded lists leave unread.
    void tellUnreadRules();
    void tellStartupProblems();
    // Reads config.db, the profile list and the named profile's files afresh; a file that cannot be
    // read is noted for tellUnreadRules and the rest are read.
    void loadRuleFiles();
    void loadGuarded(const std::function<void()>& load);
    // A profile operation killed half-way: the lists put right, its leftover files removed or told.
    void repairProfileLists();
    void removeStaleTemporaryFiles();
    static QString fileWhat(RuleFile file);
    // A file edited by hand since its list was read is read again and the user told which; false
    // when it cannot be read any more (the user has been told why).
    bool readAgainIfChanged(RuleFile file);
    // Reads the file into its list and brings the widgets that show it in line; whether a file was
    // there to read.
    bool loadFile(RuleFile file);
    void showLoaded(RuleFile file);
    void setRunIcon(const std::filesystem::path& iconFile);
    void setStatusColour(const QColor& colour);
    void setEditingEnabled(bool enabled);
    // Asks for the check code for a purpose; false when there is no check-code dialog to ask with.
    bool askCheckCode(const QString& purpose);

    QList<QPointer<QWidget>> editingControls_;
    QList<QPointer<QWidget>> enabledWhenStopped_;
    int stopCount_ = 0;
    bool hostsFailureShown_ = false;
    // What the last hosts write was asked to block: asked for again when a write under way ends.
    platform::BlockRequest hostsWanted_;
    bool earlyLiftOffered_ = false;
    // The early lift the user said yes to, until its outcome is known. No other hosts write is
    // started meanwhile: its outcome would take the lift's place.
    std::optional<platform::BlockRequest> liftUnderWay_;
    bool websiteBlocksLifted_ = false;
    bool sessionEnding_ = false;
    bool reportingError_ = false;
    bool starting_ = false;
    QStringList startupMessages_;
    store::LoadReport loadFailures_;
    std::set<std::string> toldProblems_;
};

} // namespace tallowby::ui
