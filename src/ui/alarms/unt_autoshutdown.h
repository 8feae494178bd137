#pragma once
// The automatic shutdown setup ("Auto shutdown setup"): the week days and time at which the profile
// shuts the computer down, its three switches, and the shutdown alert sound.
#include <QDialog>
#include <array>

#include "ui/common/rule_book.h"
#include "ui/common/run_state_controls.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace tallowby::ui {

class Tfrm_autoShutdown : public QDialog, public RunStateControls {
    Q_OBJECT

  public:
    explicit Tfrm_autoShutdown(RuleBook& book, QWidget* parent = nullptr);

    // The controls from the stored settings (ReminderLines, SoundLines); unsaved changes go.
    void FormShow();

    QList<QWidget*> editingControls() override;
    std::array<QCheckBox*, 7> dayBoxes() const;

    QGroupBox* gb_weekDay = nullptr;
    QCheckBox* cb_sun = nullptr;
    QCheckBox* cb_Mon = nullptr;
    QCheckBox* cb_Tue = nullptr;
    QCheckBox* cb_wed = nullptr;
    QCheckBox* cb_Thu = nullptr;
    QCheckBox* cb_fri = nullptr;
    QCheckBox* cb_sat = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* cbb_endhour = nullptr;
    QLabel* Label7 = nullptr;
    QComboBox* cbb_endminute = nullptr;
    QCheckBox* cb_10m = nullptr;
    QCheckBox* cb_shutsound = nullptr;
    QCheckBox* cb_cancel = nullptr;
    QGroupBox* gb_sound = nullptr;
    QLabel* lb_sound = nullptr;
    QPushButton* btn_sound = nullptr;
    QPushButton* btn_save = nullptr;
    QPushButton* btn_res = nullptr;
    QPushButton* btn_Cancel = nullptr;

  public slots:
    void btn_saveClick();
    void btn_resClick();
    void btn_soundClick();
    void lb_soundClick();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();

    RuleBook& book_;
};

} // namespace tallowby::ui
