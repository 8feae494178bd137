#pragma once
// The Options dialog: edits the program-wide settings of "config.db" and registers the start-up
// companion with the machine's autostart. Saving can itself demand the check code.
#include <QDialog>
#include <QList>
#include <array>
#include <filesystem>
#include <functional>
#include <utility>

#include "store/config_lines.h"
#include "store/text_file.h"
#include "ui/common/check_guard.h"
#include "ui/common/rule_book.h"
#include "ui/common/run_state_controls.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace tallowby::platform {
class AutoStart;
}

namespace tallowby::ui {

class Tfrm_checkcode;

class Tfrm_Options : public QDialog, public RunStateControls {
    Q_OBJECT

  public:
    struct Callbacks {
        // The main window's LoadConfiglist of "config.db" (Refresh): reloads ConfigLines from the
        // file and applies the whole-day line to the main window.
        std::function<void()> loadConfigList;
        // Shows or hides the main window's whole-day panel (the last step of LoadConfig).
        std::function<void(bool)> applyWholeDayPanel;
    };

    // The book's ConfigLines are read at every show and save; a save rewrites "config.db" through
    // the book.
    Tfrm_Options(RuleBook& book, platform::AutoStart& autoStart, Tfrm_checkcode& checkcode, CheckGuard& guard,
                 Callbacks callbacks, QWidget* parent = nullptr);

    // Sets every control from ConfigLines and applies the whole-day line to the main window.
    void LoadConfig();

    // The controls disabled while the rules run (Cancel stays usable).
    QList<QWidget*> editingControls() override;
    QList<QWidget*> enabledWhenStopped() override;

    // The item cmb_bits shows for a code-length line; any other text shows "10".
    static int bitsIndex(const std::string& lengthText);
    // The item cmb_action shows for a window-action line; a text that is not an item's index shows
    // the first item.
    static int actionIndex(const std::string& actionText);
    // What btn_whichMonitors shows: every program Block Task Manager ends, by the names users know.
    static QString systemMonitorsText();

    QGroupBox* gb_options = nullptr;
    QCheckBox* cb_start = nullptr;
    QCheckBox* cb_toIcon = nullptr;
    QCheckBox* cb_tskmanager = nullptr;
    // Lists the programs Block Task Manager ends; usable whether or not the rules run.
    QPushButton* btn_whichMonitors = nullptr;
    QCheckBox* cb_SessionReminder = nullptr;
    QCheckBox* cb_SessionEnd = nullptr;
    QCheckBox* cb_checkPause = nullptr;
    QCheckBox* cb_checkstop = nullptr;
    QCheckBox* cb_checkexit = nullptr;
    QCheckBox* cb_checksave = nullptr;
    // Website blocks stay until their session ends: lifting them early needs an administrator.
    QCheckBox* cb_websitesStay = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* cmb_bits = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* cmb_action = nullptr;
    QPushButton* btn_optionsSave = nullptr;
    QPushButton* btn_optionsReset = nullptr;
    QPushButton* btn_cancel = nullptr;

  public slots:
    void btn_optionsSaveClick();
    void btn_optionsResetClick();
    void btn_cancelClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    store::Lines savedLines() const;
    bool writeOptions();
    void reloadConfigList();
    std::array<std::pair<QCheckBox*, store::ConfigLine>, 10> flagBoxes() const;

    const store::Lines& configLines() const { return book_.lists().ConfigLines; }

    RuleBook& book_;
    platform::AutoStart& autoStart_;
    Tfrm_checkcode& checkcode_;
    CheckGuard& guard_;
    Callbacks callbacks_;
    // The last save could not write the file.
    bool saveFailed_ = false;
};

} // namespace tallowby::ui
