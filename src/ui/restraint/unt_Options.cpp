#include "ui/restraint/unt_Options.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <utility>

#include "platform/autostart.h"
#include "platform/system_monitors.h"
#include "store/config_lines.h"
#include "store/line_values.h"
#include "ui/common/file_failure.h"
#include "ui/common/fixed_dialog.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/common/named_widgets.h"
#include "ui/restraint/unt_checkcode.h"

namespace tallowby::ui {
namespace {

// Room in a frame for the window manager's icon and buttons beside the title.
constexpr int kFrameButtonsRoom = 120;

// A box's width follows its text, and "Options saved." alone leaves the frame too narrow for the
// title: while it lives, a box that is about to be shown gets its text room for the title. (On
// Show, before the box works out its size.)
class SavedBoxRoom : public QObject {
  public:
    SavedBoxRoom() { qApp->installEventFilter(this); }
    ~SavedBoxRoom() override { qApp->removeEventFilter(this); }
    SavedBoxRoom(const SavedBoxRoom&) = delete;
    SavedBoxRoom& operator=(const SavedBoxRoom&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = event->type() == QEvent::Show ? qobject_cast<QMessageBox*>(watched) : nullptr;
        auto* text = box ? box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")) : nullptr;
        if (text) {
            QFont title = box->font();
            title.setBold(true);
            text->setMinimumWidth(QFontMetrics(title).horizontalAdvance(box->windowTitle()) +
                                  kFrameButtonsRoom);
        }
        return false;
    }
};

using store::ConfigLine;

const QStringList kBitsItems = {"5", "10", "20", "40", "60", "80", "100", "150", "200", "300"};
constexpr int kDefaultBitsIndex = 1; // "10"

int wholeNumber(const std::string& text, bool* isNumber) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())).trimmed().toInt(isNumber);
}

QString labels(bool terminal) {
    return QString::fromStdString(platform::systemMonitorLabels(terminal));
}

QString systemMonitorsHint() {
    return QStringLiteral("While the rules run, ends every second: %1; in a terminal: %2.")
        .arg(labels(false), labels(true));
}

QString websitesStayHint() {
    return QStringLiteral("While the rules run, a session's websites stay blocked until the session "
                          "ends, and whole-day websites until midnight, through Stop, Pause and Exit. "
                          "The hosts file keeps the time, so neither the check code nor ending Tallowby "
                          "lifts them. Turning this off lifts nothing that is already kept.");
}

void showReadError(QWidget* parent, const store::FileError& error) {
    showMessage(parent, fileFailureText(QStringLiteral("read"), error));
}

} // namespace

QString Tfrm_Options::systemMonitorsText() {
    return QStringLiteral("Block Task Manager ends these programs every second while the rules run:\n\n"
                          "%1.\n\n"
                          "In a terminal (the program is ended, the terminal stays): %2.\n\n"
                          "They are recognised under any file name: a renamed copy is known by its "
                          "content, a script by the interpreter's command line. A system monitor that "
                          "runs as another user cannot be ended; Tallowby says so once.")
        .arg(labels(false), labels(true));
}

Tfrm_Options::Tfrm_Options(RuleBook& book, platform::AutoStart& autoStart, Tfrm_checkcode& checkcode,
                           CheckGuard& guard, Callbacks callbacks, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), book_(book), autoStart_(autoStart), checkcode_(checkcode),
      guard_(guard), callbacks_(std::move(callbacks)) {
    setObjectName(QStringLiteral("frm_Options"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);
    buildControls();
    checkcode_.setReinvoke(purpose::OptionsSave, [this] { btn_optionsSaveClick(); });
}

void Tfrm_Options::buildControls() {
    TB_CREATE(gb_options, this);
    auto* column = new QVBoxLayout(gb_options);
    const auto addBox = [&](QCheckBox* box) { column->addWidget(box); };
    addBox(TB_CREATE(cb_start, QStringLiteral("Start with Windows")));
    addBox(TB_CREATE(cb_toIcon, QStringLiteral("Start to Icon")));
    // Which programs count is a long list: the box's hint and a small button beside it name them.
    TB_CREATE(cb_tskmanager, QStringLiteral("Block Task Manager"));
    setHint(cb_tskmanager, systemMonitorsHint());
    TB_CREATE(btn_whichMonitors, QStringLiteral("Which programs?"));
    btn_whichMonitors->setAutoDefault(false);
    btn_whichMonitors->setAccessibleName(QStringLiteral("Which programs does Block Task Manager end?"));
    setHint(btn_whichMonitors, systemMonitorsHint());
    auto* taskManagerRow = new QHBoxLayout;
    taskManagerRow->addWidget(cb_tskmanager);
    taskManagerRow->addWidget(btn_whichMonitors);
    taskManagerRow->addStretch(1);
    column->addLayout(taskManagerRow);
    addBox(TB_CREATE(cb_SessionReminder, QStringLiteral("Reminder 10m before Session")));
    setHint(cb_SessionReminder, QStringLiteral("Reminder 10 minute before each session start"));
    addBox(TB_CREATE(cb_SessionEnd, QStringLiteral("Reminder each session End")));
    addBox(TB_CREATE(cb_checkPause, QStringLiteral("Checkcode to Pause")));
    addBox(TB_CREATE(cb_checkstop, QStringLiteral("Checkcode to Stop")));
    addBox(TB_CREATE(cb_checkexit, QStringLiteral("Checkcode to Exit")));
    addBox(TB_CREATE(cb_checksave, QStringLiteral("Checkcode to save  Options")));
    addBox(TB_CREATE(cb_websitesStay, QStringLiteral("Website blocks stay until the session ends (lifting "
                                                     "them early needs an administrator's password)")));
    setHint(cb_websitesStay, websitesStayHint());

    auto* choices = new QGridLayout;
    TB_CREATE(Label4, QStringLiteral("Checkcode bits"));
    TB_CREATE(cmb_bits);
    cmb_bits->addItems(kBitsItems);
    TB_CREATE(Label1, QStringLiteral("Block Windows"));
    TB_CREATE(cmb_action);
    cmb_action->addItems({QStringLiteral("Minimize to tray"), QStringLiteral("Close Window")});
    choices->addWidget(Label4, 0, 0);
    choices->addWidget(cmb_bits, 0, 1);
    choices->addWidget(Label1, 1, 0);
    choices->addWidget(cmb_action, 1, 1);
    choices->setColumnStretch(1, 1);
    column->addLayout(choices);

    TB_CREATE(btn_optionsSave, QStringLiteral("Save"));
    btn_optionsSave->setDefault(true);
    TB_CREATE(btn_optionsReset, QStringLiteral("Refresh"));
    btn_optionsReset->setAutoDefault(false);
    TB_CREATE(btn_cancel, QStringLiteral("Cancel"));
    btn_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btn_optionsSave);
    buttons->addWidget(btn_optionsReset);
    buttons->addWidget(btn_cancel);

    auto* window = new QVBoxLayout(this);
    window->addWidget(gb_options);
    window->addLayout(buttons);
    // The window keeps the size its contents ask for: nothing is ever clipped or stretched.
    window->setSizeConstraint(QLayout::SetFixedSize);

    connect(btn_optionsSave, &QPushButton::clicked, this, &Tfrm_Options::btn_optionsSaveClick);
    connect(btn_optionsReset, &QPushButton::clicked, this, &Tfrm_Options::btn_optionsResetClick);
    connect(btn_cancel, &QPushButton::clicked, this, &Tfrm_Options::btn_cancelClick);
    connect(btn_whichMonitors, &QPushButton::clicked, this,
            [this] { showMessage(this, systemMonitorsText()); });
}

QList<QWidget*> Tfrm_Options::editingControls() {
    return {btn_optionsSave, btn_optionsReset, cb_start,   cb_toIcon,      cb_tskmanager, cb_checkstop,
            cb_checkexit,    cb_checksave,     Label4,     cmb_bits,       cb_checkPause, cb_SessionReminder,
            cb_SessionEnd,   Label1,           cmb_action, cb_websitesStay};
}

QList<QWidget*> Tfrm_Options::enabledWhenStopped() {
    return {gb_options};
}

int Tfrm_Options::bitsIndex(const std::string& lengthText) {
    bool isNumber = false;
    const int bits = wholeNumber(lengthText, &isNumber);
    const int index = isNumber ? static_cast<int>(kBitsItems.indexOf(QString::number(bits))) : -1;
    return index >= 0 ? index : kDefaultBitsIndex;
}

int Tfrm_Options::actionIndex(const std::string& actionText) {
    return store::closesWindows(actionText) ? 1 : 0;
}

void Tfrm_Options::showEvent(QShowEvent* event) {
    LoadConfig();
    QDialog::showEvent(event);
}

std::array<std::pair<QCheckBox*, ConfigLine>, 10> Tfrm_Options::flagBoxes() const {
    return {{{cb_start, ConfigLine::StartWithSystem},
             {cb_tskmanager, ConfigLine::BlockTaskManager},
             {cb_SessionReminder, ConfigLine::SessionReminder},
             {cb_checkstop, ConfigLine::CheckCodeToStop},
             {cb_checkexit, ConfigLine::CheckCodeToExit},
             {cb_checksave, ConfigLine::CheckCodeToSave},
             {cb_checkPause, ConfigLine::CheckCodeToPause},
             {cb_toIcon, ConfigLine::StartToIcon},
             {cb_SessionEnd, ConfigLine::SessionEndReminder},
             {cb_websitesStay, ConfigLine::WebsiteBlocksStay}}};
}

void Tfrm_Options::LoadConfig() {
    for (const auto& [box, line] : flagBoxes())
        box->setChecked(store::configFlag(configLines(), line));
    cmb_bits->setCurrentIndex(bitsIndex(store::configValue(configLines(), ConfigLine::CheckCodeLength)));
    if (callbacks_.applyWholeDayPanel)
        callbacks_.applyWholeDayPanel(store::configFlag(configLines(), ConfigLine::ShowWholeDay));
    cmb_action->setCurrentIndex(actionIndex(store::configValue(configLines(), ConfigLine::WindowAction)));
}

store::Lines Tfrm_Options::savedLines() const {
    // The lines no control edits are copied as ConfigLines holds them; a short configuration reads
    // its missing lines as empty, and the file is completed to its full length.
    store::Lines lines(store::kConfigLineCount);
    for (const ConfigLine copied :
         {ConfigLine::Profile, ConfigLine::ShowWholeDay, ConfigLine::RunsWhenHidden})
        store::setConfigValue(lines, copied, store::configValue(configLines(), copied));
    for (const auto& [box, line] : flagBoxes())
        store::setConfigValue(lines, line, store::flagText(box->isChecked()));
    store::setConfigValue(lines, ConfigLine::CheckCodeLength, toBytes(cmb_bits->currentText()));
    store::setConfigValue(lines, ConfigLine::WindowAction, cmb_action->currentIndex() == 0 ? "0" : "1");
    return lines;
}

bool Tfrm_Options::writeOptions() {
    if (!book_.save(RuleFile::Config, savedLines()))
        return false;
    // The autostart entry follows line 1 once the line is in the file: a failed write leaves both
    // as they were. Its own failures are not the user's concern here; start-up applies it again.
    if (cb_start->isChecked())
        autoStart_.AddAutoStart();
    else
        autoStart_.DelAutoStart();
    return true;
}

void Tfrm_Options::btn_optionsSaveClick() {
    // The switch is read before anything is written, so a save that clears it still asks.
    if (store::configFlag(configLines(), ConfigLine::CheckCodeToSave) && !guard_.OptionsSaveConfirmed) {
        checkcode_.ask(purpose::OptionsSave);
        // A correct code saved from inside ask(); when that write failed, the user's choices stay
        // on screen to be saved again.
        if (saveFailed_) {
            saveFailed_ = false;
            return;
        }
    } else {
        guard_.OptionsSaveConfirmed = false;
        saveFailed_ = !writeOptions();
        if (saveFailed_)
            return;
        {
            const SavedBoxRoom room;
            showMessage(this, QStringLiteral("Options saved."));
        }
        accept();
    }
    reloadConfigList();
    LoadConfig();
}

void Tfrm_Options::reloadConfigList() {
    try {
        if (callbacks_.loadConfigList)
            callbacks_.loadConfigList();
    } catch (const store::FileError& error) {
        showReadError(this, error);
    }
}

void Tfrm_Options::btn_optionsResetClick() {
    reloadConfigList();
}

void Tfrm_Options::btn_cancelClick() {
    reject();
}

} // namespace tallowby::ui
