#include "ui/main/untmain.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include "platform/system/folder_attribute.h"
#include "store/config_lines.h"
#include "store/list_loaders.h"
#include "store/load_report.h"
#include "store/profile_repair.h"
#include "store/report_text.h"
#include "store/session_records.h"
#include "store/sound_list.h"
#include "store/stale_temporaries.h"
#include "store/whole_day_record.h"
#include "ui/common/file_failure.h"
#include "ui/common/list_entries.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/common/named_widgets.h"
#include "ui/common/system_clock.h"
#include "ui/main/hosts_failure_text.h"
#include "ui/main/main_tick_actions.h"
#include "ui/main/session_panel.h"
#include "ui/main/website_locks.h"
#include "ui/main/whole_day_panel.h"

namespace tallowby::ui {
namespace {

constexpr int kTickMilliseconds = 1000;
constexpr int kWebsiteLockCheckMilliseconds = 15 * 1000;
constexpr int kStartDelayMilliseconds = 100;
constexpr int kClientMargin = 4;

bool isProfileFile(RuleFile file) {
    return store::ruleFileKind(file).ofProfile;
}

int rightEdge(const QWidget* widget) {
    return widget->geometry().x() + widget->geometry().width();
}

} // namespace

Tfrmmain::Tfrmmain(store::ProgramPaths paths, Enforcement enforcement, std::unique_ptr<engine::Clock> clock,
                   QWidget* parent)
    : QMainWindow(parent), paths_(std::move(paths)), enforcement_(std::move(enforcement)),
      clock_(clock ? std::move(clock) : std::make_unique<SystemClock>()), ConfigLines(lists_.ConfigLines),
      ProfileLines(lists_.ProfileLines), SessionLines(lists_.SessionLines), SessionCount(lists_.SessionCount),
      WholeDayLines(lists_.WholeDayLines), ReminderLines(lists_.ReminderLines),
      ReminderCount(lists_.ReminderCount), SoundLines(lists_.SoundLines),
      CurrentSessionIndex(tickState_.CurrentSessionIndex),
      HostsRefreshPending(tickState_.HostsRefreshPending), AlarmSoundFlag(tickState_.AlarmSoundFlag),
      alertSound(enforcement_.sound) {
    // The single-instance check comes before this window exists: the program entry ends a second
    // instance before it reads a single file.
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("Tallowby"));
    // Only the system menu and the close box: the window has one size per panel setting.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    // Every hint is given its ten seconds on screen where it is set (setHint); Qt has no
    // application-wide hint duration.
    buildControls();
    addRunStateControls(*gb_sessionAll);
    addRunStateControls(*gb_wholeday);
    buildTrayIcon();
    buildTimers();
    connectHandlers();
    // The stopped icon until the rules first run, so the window and a tray icon registered at
    // start have a picture.
    setRunIcon(paths_.stoppedIcon());

    ExitAllowed = false;
    checkGuard.ExitConfirmed = false;
    checkGuard.StopConfirmed = false;
    checkGuard.OptionsSaveConfirmed = false;
    recordClientSizes();
    showWholeDayPanel(false);
    HostsRefreshPending = true;
    gb_today->setTitle(QStringLiteral("Today"));
    if (enforcement_.enableDebugPrivilege)
        enforcement_.enableDebugPrivilege();
    // While a cancelled shutdown waits for the system's answer the windows keep painting and the
    // tick keeps running; clicks wait, so the cancel is not asked for twice meanwhile.
    enforcement_.shutdown.setWhileWaiting(
        [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    // Called on the writing thread: the window is reached through the message loop, and only while
    // it is there.
    // Locks are measured on the clock the rules read.
    enforcement_.hosts.setNow([clock = clock_.get()] { return epochSeconds(engine::localMs(clock->now())); });
    enforcement_.hosts.setPrivilegedWriteEnded([window = QPointer<Tfrmmain>(this)] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [window] {
                if (window)
                    window->hostsWriteEnded();
            },
            Qt::QueuedConnection);
    });

    // Start-up problems wait for the main window (tellStartupProblems): a box now would stand alone.
    starting_ = true;
    loadRuleFiles();
    // The rule files were last written by this program, perhaps by a run that was killed mid-write.
    // After the lists are read: a listed profile's files are never taken for left-overs.
    repairProfileLists();
    removeStaleTemporaryFiles();
    WriteWholeDayHosts();
    loadGuarded([this] { LoadSound(); });
    // Once the message loop runs: the program has made every window and shown this one (or put it
    // into the notification area) by then.
    QTimer::singleShot(0, this, &Tfrmmain::tellStartupProblems);
    CurrentSessionIndex = -1;

    platform::setFolderHidden(paths_.folder());
    if (store::configFlag(ConfigLines, store::ConfigLine::StartWithSystem))
        enforcement_.autostart.AddAutoStart();
    else
        enforcement_.autostart.DelAutoStart();
    gb_wholeday->setEnabled(true);

    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    if (startsToIcon())
        StartToIcon();
}

Tfrmmain::~Tfrmmain() {
    enforcement_.hosts.setPrivilegedWriteEnded({});
}

void Tfrmmain::buildTimers() {
    TB_CREATE(timer_tofocuson, this);
    timer_tofocuson->setInterval(kTickMilliseconds);
    // Queued: a QTimer does not fire again while its own slot sits in a modal exec(), but the
    // tick must keep running underneath a notice or a reminder.
    connect(timer_tofocuson, &QTimer::timeout, this, &Tfrmmain::queueTick);

    TB_CREATE(timer_running, this);
    timer_running->setInterval(kTickMilliseconds);
    connect(timer_running, &QTimer::timeout, this, &Tfrmmain::timer_runningTimer);

    TB_CREATE(T_mm_note, this);
    T_mm_note->setInterval(kTickMilliseconds);
    connect(T_mm_note, &QTimer::timeout, this, &Tfrmmain::T_mm_noteTimer);

    // Fires once the message loop runs: the rules start shortly after start-up.
    TB_CREATE(timer_minimize, this);
    timer_minimize->setInterval(kStartDelayMilliseconds);
    timer_minimize->setSingleShot(true);
    connect(timer_minimize, &QTimer::timeout, this, &Tfrmmain::timer_minimizeTimer);

    TB_CREATE(T_pause, this);
    T_pause->setSingleShot(true);
    connect(T_pause, &QTimer::timeout, this, &Tfrmmain::T_pauseTimer);

    // A website kept until its session's end is lifted then even while the rules are off, when no
    // tick looks. The time is the wall clock's, so a machine that slept lifts it soon after waking.
    auto* websiteLocks = new QTimer(this);
    websiteLocks->setInterval(kWebsiteLockCheckMilliseconds);
    connect(websiteLocks, &QTimer::timeout, this, &Tfrmmain::checkWebsiteLocks);
    websiteLocks->start();
}

void Tfrmmain::queueTick() {
    // A tick queued just before Stop, a pause or Exit must not act after it.
    QMetaObject::invokeMethod(
        this,
        [this, stops = stopCount_] {
            if (stops == stopCount_)
                timer_tofocusonTimer();
        },
        Qt::QueuedConnection);
}

void Tfrmmain::startTimers() {
    timer_tofocuson->start();
    T_mm_note->start();
    timer_minimize->start();
}

void Tfrmmain::tellStartupProblems() {
    tellUnreadRules();
    starting_ = false;
    if (!startupMessages_.isEmpty())
        showMessage(this, startupMessages_.join(QStringLiteral("\n\n")));
    startupMessages_.clear();
}

void Tfrmmain::repairProfileLists() {
    const store::ProfileRepair repair = store::repairProfiles(paths_, ProfileLines, ConfigLines);
    if (repair.profileLines)
        save(RuleFile::Profiles, *repair.profileLines);
    if (!repair.told.empty())
        tell(QStringLiteral("A change of profiles was cut short before Tallowby last ended.\n\n") +
             fromBytes(store::problemList(repair.told)));
}

void Tfrmmain::removeStaleTemporaryFiles() {
    const auto now = std::chrono::system_clock::now();
    for (const auto& file : {paths_.configFile(), paths_.profileListFile(), paths_.soundFile()})
        store::removeStaleTemporaries(file.parent_path(), file.filename().string(), now);
    // Every file in the profiles folder is a rule file.
    std::vector<std::string> profiles = ProfileLines;
    profiles.push_back(currentProfile());
    store::removeStaleProfileTemporaries(paths_.profilesFolder(), profiles, now);
    const std::filesystem::path& hosts = enforcement_.hosts.path();
    store::removeStaleTemporaries(hosts.parent_path(), hosts.filename().string(), now);
}

void Tfrmmain::loadGuarded(const std::function<void()>& load) {
    try {
        load();
    } catch (const store::FileError& error) {
        loadFailures_.unreadable(error);
    }
}

void Tfrmmain::loadRuleFiles() {
    loadFailures_ = {};
    // The profile's files are named by the configuration, so it is read first.
    loadGuarded([this] { LoadConfiglist(paths_.configFile()); });
    loadGuarded([this] { LoadprofileList(paths_.profileListFile()); });
    // A file the profile lacks must not leave another profile's rules in force.
    lists_.SessionLines.clear();
    lists_.SessionCount = 0;
    lists_.WholeDayLines.clear();
    lists_.ReminderLines.clear();
    lists_.ReminderCount = 0;
    for (const RuleFile file : {RuleFile::Sessions, RuleFile::WholeDay, RuleFile::Reminders})
        lists_.readStamp(file).reset();
    gb_sessionAll->showSessionList();
    gb_wholeday->showWholeDay();
    // Without a usable profile name there are no profile files to read: an empty name would make
    // the whole-day path the profiles folder itself, and "../x" a file outside it.
    const std::string profile = currentProfile();
    if (profile.empty())
        return;
    loadGuarded([this, &profile] { LoadSessionList(paths_.sessionFile(profile)); });
    loadGuarded([this, &profile] { LoadWholedayList(paths_.wholeDayFile(profile)); });
    loadGuarded([this, &profile] { LoadReminderList(paths_.reminderFile(profile)); });
}

void Tfrmmain::tellUnreadRules() {
    store::LoadReport report = loadFailures_;
    store::checkLoadedLists(report, {ConfigLines, SessionLines, WholeDayLines, ReminderLines}, paths_);
    store::checkSoundFiles(report, paths_);
    // Every problem counts as told, listed or not: the count said there were more.
    std::vector<std::string> fresh;
    for (const std::string& problem : report.problems()) {
        if (toldProblems_.insert(problem).second)
            fresh.push_back(problem);
    }
    if (fresh.empty())
        return;
    tell(QStringLiteral("Some of the rules could not be read and are not in force; the rest are.\n\n") +
         fromBytes(store::problemList(fresh)));
}

void Tfrmmain::tell(const QString& text) {
    if (starting_) {
        if (!startupMessages_.contains(text))
            startupMessages_ << text;
        return;
    }
    // Ticks keep coming while the box is open; one box at a time is enough.
    if (reportingError_)
        return;
    reportingError_ = true;
    showMessage(this, text);
    reportingError_ = false;
}

bool Tfrmmain::save(RuleFile file, const Change& change) {
    if (isProfileFile(file) && currentProfile().empty()) {
        showMessage(this,
                    QStringLiteral("Failed - no profile is loaded, so there is no rule file to save to."));
        return false;
    }
    const std::filesystem::path path = ruleFilePath(file);
    if (file == RuleFile::Config || file == RuleFile::Profiles) {
        // These come with the installation; one made from nothing would hold empty lines that name
        // no profile.
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
            tell(QStringLiteral("Failed - %1 is missing, so nothing was saved: Tallowby does not make "
                                "this file from nothing. Put it back (reinstalling Tallowby brings it) "
                                "and try again.")
                     .arg(QString::fromStdString(path.string())));
            return false;
        }
    }
    if (!readAgainIfChanged(file))
        return false;
    store::Lines lines;
    try {
        lines = change(store::ruleFileLines(lists_, file));
    } catch (const std::exception& refused) {
        tell(fromBytes(refused.what()));
        return false;
    }
    try {
        store::writeLines(path, lines, paths_.folder());
        loadFile(file);
    } catch (const store::FileError& error) {
        tell(fileFailureText(QStringLiteral("save ") + fileWhat(file) + QStringLiteral(" to"), error,
                             QStringLiteral("Nothing was changed.")));
        return false;
    }
    // A reload can bring to light what the file held beside the change (a record cut off by hand).
    tellUnreadRules();
    return true;
}

bool Tfrmmain::readAgainIfChanged(RuleFile file) {
    if (!store::changedSinceRead(file, lists_, paths_, currentProfile()))
        return true;
    try {
        // A file gone, or a folder in its place, holds no edit to keep: the write tells what it meets.
        if (!loadFile(file))
            return true;
    } catch (const store::FileError& error) {
        tell(fileFailureText(QStringLiteral("save ") + fileWhat(file) + QStringLiteral(" to"), error,
                             QStringLiteral("Nothing was changed.")));
        return false;
    }
    tell(QStringLiteral("%1 was changed outside Tallowby since it was read. It has been read again, and "
                        "your change is made to what it holds now.")
             .arg(QString::fromStdString(ruleFilePath(file).string())));
    return true;
}

bool Tfrmmain::loadFile(RuleFile file) {
    if (!store::loadRuleFile(file, lists_, paths_, currentProfile()))
        return false;
    showLoaded(file);
    return true;
}

void Tfrmmain::showLoaded(RuleFile file) {
    if (file == RuleFile::Config) {
        lb_profile->setText(fromBytes(store::shownProfileName(ConfigLines)));
        showWholeDayPanel(store::configFlag(ConfigLines, store::ConfigLine::ShowWholeDay));
    } else if (file == RuleFile::Sessions) {
        gb_sessionAll->showSessionList();
    } else if (file == RuleFile::WholeDay && !WholeDayLines.empty()) {
        gb_wholeday->showWholeDay();
    }
}

void Tfrmmain::reload(RuleFile file) {
    if (isProfileFile(file) && currentProfile().empty())
        return;
    try {
        loadFile(file);
    } catch (const store::FileError& error) {
        // The list stays as it was read last.
        tell(fileFailureText(QStringLiteral("read ") + fileWhat(file) + QStringLiteral(" from"), error,
                             QStringLiteral("What was read before is shown.")));
        return;
    }
    tellUnreadRules();
}

QString Tfrmmain::fileWhat(RuleFile file) {
    return fromBytes(std::string(store::ruleFileKind(file).what));
}

std::filesystem::path Tfrmmain::ruleFilePath(RuleFile file) const {
    return store::ruleFilePath(file, paths_, currentProfile());
}

void Tfrmmain::reloadProfile() {
    loadRuleFiles();
    tellUnreadRules();
    CurrentSessionIndex = -1;
}

void Tfrmmain::recordClientSizes() {
    ensurePolished();
    QLayout* client = centralWidget()->layout();
    client->setGeometry(QRect(QPoint(0, 0), client->minimumSize()));
    WideClientWidth = rightEdge(gb_wholeday) + kClientMargin;
    NarrowClientWidth = rightEdge(gb_sessionAll) + kClientMargin;
    ClientHeight = gb_sessionAll->geometry().y() + gb_sessionAll->geometry().height() + kClientMargin;
}

void Tfrmmain::setClientWidth(int width) {
    setFixedSize(width, menuBar()->heightForWidth(width) + ClientHeight);
}

void Tfrmmain::showWholeDayPanel(bool shown) {
    M_wholedayevents->setChecked(shown);
    gb_wholeday->setVisible(shown);
    gb_note->setVisible(shown);
    setClientWidth(shown ? WideClientWidth : NarrowClientWidth);
}

void Tfrmmain::LoadConfiglist(const std::filesystem::path& path) {
    if (store::loadConfigList(lists_, path, paths_.folder()))
        showLoaded(RuleFile::Config);
}

void Tfrmmain::LoadprofileList(const std::filesystem::path& path) {
    store::loadProfileList(lists_, path, paths_.folder());
}

void Tfrmmain::LoadSessionList(const std::filesystem::path& path) {
    if (store::loadSessionList(lists_, path, paths_.folder()))
        showLoaded(RuleFile::Sessions);
}

void Tfrmmain::LoadWholedayList(const std::filesystem::path& path) {
    if (store::loadWholeDayList(lists_, path, paths_.folder()))
        showLoaded(RuleFile::WholeDay);
}

void Tfrmmain::WriteWholeDayHosts(bool quietRetry) {
    writeHostsFile(engine::wholeDayHostsSites(lists_, wholeDayPanel(), clock_->now()), quietRetry);
}

platform::BlockRequest Tfrmmain::hostsRequest(const std::vector<std::string>& sites) const {
    return ui::hostsRequest(sites, lists_, wholeDayPanel(), CurrentSessionIndex, clock_->now());
}

bool Tfrmmain::writeHostsFile(const std::vector<std::string>& sites, bool quietRetry) {
    hostsWanted_ = hostsRequest(sites);
    if (liftUnderWay_) {
        // Written as soon as the lift has ended (carryOnLift), as a write under way would be.
        tickState_.hostsBlock = sites;
        return true;
    }
    try {
        // A write that waits on a password dialog goes on beside the window: the tick keeps asking,
        // and so does hostsWriteEnded as soon as it has ended. What depended on the write goes on.
        if (!enforcement_.hosts.write(hostsWanted_)) {
            tickState_.hostsBlock = sites;
            return true;
        }
    } catch (const store::FileError& error) {
        tickState_.hostsBlock.reset();
        if (!quietRetry || !hostsFailureShown_)
            tell(hostsFailureText(error,
                                  sites.empty() ? HostsWriteMoment::Lifting : HostsWriteMoment::Blocking));
        hostsFailureShown_ = true;
        return false;
    }
    tickState_.hostsBlock = sites;
    hostsFailureShown_ = false;
    return true;
}

void Tfrmmain::hostsWriteEnded() {
    if (liftUnderWay_)
        carryOnLift();
    else if (!ExitAllowed)
        writeHostsFile(hostsWanted_.sites, true);
}

void Tfrmmain::checkWebsiteLocks() {
    if (!timer_tofocuson->isActive() && !ExitAllowed && enforcement_.hosts.lockPassed())
        writeHostsFile(hostsWanted_.sites, true);
}

void Tfrmmain::offerEarlyLift() {
    earlyLiftOffered_ = false;
    // The yes already given is being carried out.
    if (liftUnderWay_)
        return;
    std::vector<platform::BlockLine> staying;
    try {
        staying = enforcement_.hosts.locksStaying(hostsWanted_);
    } catch (const store::FileError&) {
        // An unreadable file shows no locks; its writes tell the user why.
    }
    if (staying.empty() ||
        !askYesNo(isVisible() ? this : nullptr,
                  locksStayingQuestion(staying, epochSeconds(engine::localMs(clock_->now())))))
        return;
    platform::BlockRequest lift = hostsWanted_;
    lift.liftEarly = true;
    // A password dialog dismissed a minute ago is no reason not to show it when asked again.
    enforcement_.hosts.askAgain(lift);
    liftUnderWay_ = std::move(lift);
    carryOnLift();
}

void Tfrmmain::carryOnLift() {
    try {
        // false: the lift, or a write that was under way before it, still waits (on a password
        // dialog, say); hostsWriteEnded comes back here when it has ended.
        if (!enforcement_.hosts.write(*liftUnderWay_))
            return;
        liftUnderWay_.reset();
    } catch (const store::FileError& error) {
        liftUnderWay_.reset();
        showMessage(isVisible() ? this : nullptr, hostsFailureText(error, HostsWriteMoment::Lifting));
    }
    if (ExitAllowed)
        endProgram(false);
    else
        // What the rules want by now (Run may have come meanwhile), or what the lift left.
        writeHostsFile(hostsWanted_.sites, true);
}

void Tfrmmain::offerEarlyLiftSoon() {
    // After the handler that lifted the blocks has finished: a pause has its timer set by then.
    if (!earlyLiftOffered_) {
        earlyLiftOffered_ = true;
        QTimer::singleShot(0, this, &Tfrmmain::offerEarlyLift);
    }
}

void Tfrmmain::LoadReminderList(const std::filesystem::path& path) {
    store::loadReminderList(lists_, path, paths_.folder());
}

void Tfrmmain::LoadSound() {
    store::loadSound(lists_, paths_);
}

std::string Tfrmmain::currentProfile() const {
    return store::profileForFiles(ConfigLines);
}

bool Tfrmmain::startsToIcon() const {
    return store::configFlag(ConfigLines, store::ConfigLine::StartToIcon);
}

engine::WholeDayPanel Tfrmmain::wholeDayPanel() const {
    return gb_wholeday->rules();
}

void Tfrmmain::timer_tofocusonTimer() {
    try {
        const engine::WholeDayPanel panel = wholeDayPanel();
        const engine::TickInputs inputs{lists_, panel, timer_tofocuson->interval()};
        MainTickActions actions(*this);
        engine::runTick(inputs, tickState_, *clock_, actions);
    } catch (const std::exception& error) {
        tell(fromBytes(error.what()));
    }
}

} // namespace tallowby::ui
