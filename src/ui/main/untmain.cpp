#include "ui/main/untmain.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include "platform/system/folder_attribute.h"
#include "store/config_lines.h"
#include "store/list_loaders.h"
#include "store/session_records.h"
#include "store/sound_list.h"
#include "store/whole_day_record.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/common/named_widgets.h"
#include "ui/common/system_clock.h"
#include "ui/main/main_tick_actions.h"
#include "ui/restraint/untAbout.h"
#include "ui/restraint/unt_Options.h"
#include "ui/restraint/unt_checkcode.h"
#include "ui/restraint/unt_pause.h"
#include "ui/restraint/unt_torun.h"

namespace tallowby::ui {
namespace {

constexpr int kTickMilliseconds = 1000;
constexpr int kStartDelayMilliseconds = 100;
constexpr int kClientMargin = 4;

void fillList(QListWidget* list, const std::vector<std::string>& entries) {
    list->clear();
    for (const std::string& entry : entries)
        list->addItem(fromBytes(entry));
}

std::vector<std::string> listEntries(const QListWidget* list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list->count(); ++i)
        entries.push_back(toBytes(list->item(i)->text()));
    return entries;
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
      HostsRefreshPending(tickState_.HostsRefreshPending), AlarmSoundFlag(tickState_.AlarmSoundFlag) {
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
    addEditingControls(mainEditingControls());
    addEnabledWhenStopped(mainEnabledWhenStopped());
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

    // The profile's files are named by the configuration, so it is read first.
    LoadConfiglist(paths_.configFile());
    LoadprofileList(paths_.profileListFile());
    // Without a profile name there are no profile files to read (the name alone would make the
    // whole-day path the profiles folder itself).
    const bool haveProfile = !currentProfile().empty();
    if (haveProfile) {
        LoadSessionList(paths_.sessionFile(currentProfile()));
        LoadWholedayList(paths_.wholeDayFile(currentProfile()));
    }
    WriteWholeDayHosts();
    if (haveProfile)
        LoadReminderList(paths_.reminderFile(currentProfile()));
    LoadSound();
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

Tfrmmain::~Tfrmmain() = default;

void Tfrmmain::buildTimers() {
    TB_CREATE(timer_tofocuson, this);
    timer_tofocuson->setInterval(kTickMilliseconds);
    // Queued: a QTimer does not fire again while its own slot sits in a modal exec(), but the
    // tick must keep running underneath a notice or a reminder.
    connect(timer_tofocuson, &QTimer::timeout, this, [this] {
        QMetaObject::invokeMethod(this, &Tfrmmain::timer_tofocusonTimer, Qt::QueuedConnection);
    });
    timer_tofocuson->start();

    TB_CREATE(timer_running, this);
    timer_running->setInterval(kTickMilliseconds);
    connect(timer_running, &QTimer::timeout, this, &Tfrmmain::timer_runningTimer);

    TB_CREATE(T_mm_note, this);
    T_mm_note->setInterval(kTickMilliseconds);
    connect(T_mm_note, &QTimer::timeout, this, &Tfrmmain::T_mm_noteTimer);
    T_mm_note->start();

    // Fires once the message loop runs: the rules start shortly after start-up.
    TB_CREATE(timer_minimize, this);
    timer_minimize->setInterval(kStartDelayMilliseconds);
    timer_minimize->setSingleShot(true);
    connect(timer_minimize, &QTimer::timeout, this, &Tfrmmain::timer_minimizeTimer);
    timer_minimize->start();

    TB_CREATE(T_pause, this);
    T_pause->setSingleShot(true);
    connect(T_pause, &QTimer::timeout, this, &Tfrmmain::T_pauseTimer);
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
    if (!store::loadConfigList(lists_, path))
        return;
    lb_profile->setText(fromBytes(store::configValue(ConfigLines, store::ConfigLine::Profile)));
    showWholeDayPanel(store::configFlag(ConfigLines, store::ConfigLine::ShowWholeDay));
}

void Tfrmmain::LoadprofileList(const std::filesystem::path& path) {
    store::loadProfileList(lists_, path);
}

void Tfrmmain::LoadSessionList(const std::filesystem::path& path) {
    if (!store::loadSessionList(lists_, path))
        return;
    lb_sessionList->clear();
    for (int i = 0; i < SessionCount; ++i)
        lb_sessionList->addItem(fromBytes(store::sessionCaption(SessionLines, i)));
}

void Tfrmmain::lb_sessionListClick() {
    const int index = selectedSessionIndex();
    if (index < 0)
        return;
    // The panel's own click handlers must not write back what is only being shown.
    LoadingSessionPanel = true;
    const store::SessionFields fields = store::sessionFields(SessionLines, index);
    const auto boxes = sessionDayBoxes();
    for (std::size_t day = 0; day < boxes.size(); ++day)
        boxes[day]->setChecked(fields.weekDays[day]);
    (fields.blockMode ? rb_blockMode : rb_dedicatedMode)->setChecked(true);
    fillList(lbox_processList, fields.processes);
    fillList(Lbox_domainlist, fields.websites);
    LoadingSessionPanel = false;
}

void Tfrmmain::LoadWholedayList(const std::filesystem::path& path) {
    LoadingWholeDayPanel = true;
    if (store::loadWholeDayList(lists_, path) && !WholeDayLines.empty()) {
        const store::WholeDayFields fields = store::decodeWholeDay(WholeDayLines);
        fillList(lb_wholedayprocess, fields.processes);
        fillList(lb_wholedaydomain, fields.websites);
        const auto boxes = wholeDayBoxes();
        for (std::size_t day = 0; day < boxes.size(); ++day)
            boxes[day]->setChecked(fields.weekDays[day]);
        (fields.blockMode ? rb_wohledayblock : rb_wholedayFocus)->setChecked(true);
    }
    LoadingWholeDayPanel = false;
}

void Tfrmmain::WriteWholeDayHosts() {
    writeHostsFile(engine::wholeDayHostsSites(lists_, wholeDayPanel(), clock_->now()));
}

bool Tfrmmain::writeHostsFile(const std::vector<std::string>& sites) {
    try {
        enforcement_.hosts.write(sites);
        return true;
    } catch (const store::FileError& error) {
        reportError(error);
        return false;
    }
}

void Tfrmmain::LoadReminderList(const std::filesystem::path& path) {
    store::loadReminderList(lists_, path);
}

void Tfrmmain::LoadSound() {
    store::loadSound(lists_, paths_);
}

const std::string& Tfrmmain::currentProfile() const {
    return store::configValue(ConfigLines, store::ConfigLine::Profile);
}

bool Tfrmmain::startsToIcon() const {
    return store::configFlag(ConfigLines, store::ConfigLine::StartToIcon);
}

engine::WholeDayPanel Tfrmmain::wholeDayPanel() const {
    return {listEntries(lb_wholedayprocess), listEntries(lb_wholedaydomain), rb_wholedayFocus->isChecked()};
}

int Tfrmmain::selectedSessionIndex() const {
    const int row = lb_sessionList->currentRow();
    return row >= 0 && lb_sessionList->item(row)->isSelected() ? row : -1;
}

void Tfrmmain::selectSession(int index) {
    if (index >= 0 && index < lb_sessionList->count()) {
        lb_sessionList->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        return;
    }
    lb_sessionList->clearSelection();
    lb_sessionList->setCurrentRow(-1);
}

void Tfrmmain::Nosession() {
    for (QCheckBox* day : sessionDayBoxes())
        day->setChecked(false);
    lbox_processList->clear();
    Lbox_domainlist->clear();
}

void Tfrmmain::timer_tofocusonTimer() {
    try {
        const engine::WholeDayPanel panel = wholeDayPanel();
        const engine::TickInputs inputs{lists_, panel, timer_tofocuson->interval(),
                                        enforcement_.ownExecutableName};
        MainTickActions actions(*this);
        engine::runTick(inputs, tickState_, *clock_, actions);
    } catch (const std::exception& error) {
        reportError(error);
    }
}

void Tfrmmain::reportError(const std::exception& error) {
    // Ticks keep coming while the box is open; one box at a time is enough.
    if (reportingError_)
        return;
    reportingError_ = true;
    showMessage(this, fromBytes(error.what()));
    reportingError_ = false;
}

} // namespace tallowby::ui
