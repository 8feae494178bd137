#pragma once
// The whole-day panel ("Whole Day Events"): the profile's one whole-day record, whose rules apply
// all day on its week days before any session. Every change is stored in the whole-day file at once.
#include <QGroupBox>
#include <array>
#include <functional>

#include "engine/tick.h"
#include "ui/common/rule_book.h"
#include "ui/common/run_state_controls.h"
#include "ui/main/rule_controls.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tallowby::ui {

struct ProgramDialogs;

class WholeDayPanel : public QGroupBox, public RunStateControls {
    Q_OBJECT

  public:
    // websitesChanged runs after a change of the week days or the websites: the hosts file follows.
    WholeDayPanel(RuleBook& book, const ProgramDialogs& dialogs, std::function<void()> websitesChanged,
                  QWidget* parent = nullptr);

    // Fills the panel from WholeDayLines (after every load of the whole-day file that read lines).
    void showWholeDay();
    // Writes the panel as the whole-day file and reloads it; false when the write failed.
    bool SaveWholeDay();

    // The panel as the tick reads it.
    engine::WholeDayPanel rules() const;

    QList<QWidget*> editingControls() override;
    QList<QWidget*> enabledWhenStopped() override;
    std::array<QCheckBox*, 7> dayBoxes() const;

    bool LoadingWholeDayPanel = false;

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

  public slots:
    // One handler for the seven week-day boxes.
    void cb_w0Click();
    void rb_wohledayblockClick();
    void rb_wholedayFocusClick();
    void btn_wholedayprocessAddClick();
    void btn_wholedayprocessDelClick();
    void btn_wholedaydomainAddClick();
    void btn_wholedaydomainDelClick();

  private:
    // The save after a rule dialog closes; nothing while the rules run.
    bool saveAfterDialog();
    void buildControls();
    RuleControlSet ruleControls() const;
    void saveModeChange();

    RuleBook& book_;
    const ProgramDialogs& dialogs_;
    std::function<void()> websitesChanged_;
};

} // namespace tallowby::ui
