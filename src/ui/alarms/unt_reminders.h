#pragma once
// The reminders editor ("Reminders Setup"): the current profile's reminders by time, the details of
// the selected one, adding, removing, sorting and updating them, and the alert sound every reminder
// pop-up plays. It keeps nothing of its own: every change goes to the file at once and the list is
// rebuilt from the reloaded lines.
#include <QDialog>
#include <array>
#include <functional>

#include "store/week_days.h"
#include "ui/common/rule_book.h"
#include "ui/common/run_state_controls.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tallowby::ui {

class Tfrm_reminders : public QDialog, public RunStateControls {
    Q_OBJECT

  public:
    // The hour list starts at the current hour and the minutes at "00"; afterwards both keep their
    // choice between openings.
    explicit Tfrm_reminders(RuleBook& book, QWidget* parent = nullptr);

    // Add, Remove, Sort, Save and Browse write the profile's files, so they wait until the rules stop.
    QList<QWidget*> editingControls() override;

    // Tests: when set, Browse asks this instead of opening a file dialog (an empty answer is a
    // cancelled dialog); nullptr restores the dialog. The shutdown setup's Browse asks it too.
    static void setFileChooser(std::function<QString()> chooser);

    // The alert sound's full path; lb_sound may show it shortened.
    QString soundPath() const { return soundPath_; }

    // The width lb_sound keeps; a longer path gives way in the middle, so its file name stays in view.
    static constexpr int kSoundLabelWidth = 420;

    QGroupBox* gb_reminderlist = nullptr;
    QListWidget* lbox_reminders = nullptr;
    QPushButton* btn_remove = nullptr;
    QPushButton* btn_sort = nullptr;

    QGroupBox* gb_details = nullptr;
    QGroupBox* gb_weekDay = nullptr;
    QCheckBox* cb_sun = nullptr;
    QCheckBox* cb_Mon = nullptr;
    QCheckBox* cb_Tue = nullptr;
    QCheckBox* cb_wed = nullptr;
    QCheckBox* cb_Thu = nullptr;
    QCheckBox* cb_fri = nullptr;
    QCheckBox* cb_sat = nullptr;
    QPlainTextEdit* memo_sub = nullptr;
    QCheckBox* cb_playsound = nullptr;
    QPushButton* btn_save = nullptr;

    QGroupBox* gb_addReminder = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* cbb_starthour = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* cbb_startMinute = nullptr;
    QCheckBox* cb_sound = nullptr;
    QPushButton* btn_add = nullptr;
    QGroupBox* gb_addWeekDay = nullptr;
    QCheckBox* cb_w0 = nullptr;
    QCheckBox* cb_w1 = nullptr;
    QCheckBox* cb_w2 = nullptr;
    QCheckBox* cb_w3 = nullptr;
    QCheckBox* cb_w4 = nullptr;
    QCheckBox* cb_w5 = nullptr;
    QCheckBox* cb_w6 = nullptr;
    QGroupBox* gb_subject = nullptr;
    QPlainTextEdit* memo_subadd = nullptr;

    QGroupBox* gb_sound = nullptr;
    QLabel* lb_sound = nullptr;
    QPushButton* btn_sound = nullptr;

    // The selected row, or -1.
    int selectedRow() const;

  public slots:
    void LoadReminderList();
    void lbox_remindersClick();
    void NoReminder();
    void btn_addClick();
    void btn_removeClick();
    void btn_sortClick();
    void btn_saveClick();
    void btn_soundClick();
    void lb_soundClick();

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    QGroupBox* buildReminderList();
    QGroupBox* buildDetails();
    QGroupBox* buildAddReminder();
    QGroupBox* buildSound();
    void selectRow(int row);
    void showSoundPath(const QString& path);
    bool saveReminders(const store::Lines& lines);

    std::array<QCheckBox*, 7> detailDays() const;
    std::array<QCheckBox*, 7> newDays() const;

    RuleBook& book_;
    QString soundPath_;
};

} // namespace tallowby::ui
