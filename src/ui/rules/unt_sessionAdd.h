#pragma once
// The session time dialog: the start and end of a new session, or new times for the selected one,
// checked against the profile's other sessions before anything is stored.
#include <QDialog>
#include <string>

#include "engine/clock.h"
#include "ui/common/rule_book.h"
#include "ui/common/run_state_controls.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace tallowby::ui {

class SessionPanel;

class Tfrm_sessionAdd : public QDialog, public RunStateControls {
    Q_OBJECT

  public:
    // Both hours start at the clock's current hour and both minutes at "00"; afterwards the lists
    // keep their choice between openings.
    Tfrm_sessionAdd(const RuleBook& book, SessionPanel& panel, const engine::Clock& clock,
                    QWidget* parent = nullptr);

    // Sets the four lists from "HH:MM" texts (the opener's preset in edit mode). A text that is not
    // a time leaves its lists as they were.
    void presetTimes(const std::string& start, const std::string& end);
    std::string startTime() const;
    std::string endTime() const;

    QList<QWidget*> editingControls() override;

    QLabel* lb_start = nullptr;
    QLabel* lb_startHour = nullptr;
    QLabel* lb_startMinute = nullptr;
    QLabel* lb_end = nullptr;
    QLabel* lb_endHour = nullptr;
    QLabel* lb_endMinute = nullptr;
    QComboBox* cbb_starthour = nullptr;
    QComboBox* cbb_startMinute = nullptr;
    QComboBox* cbb_endHour = nullptr;
    QComboBox* cbb_endMinute = nullptr;
    QPushButton* btn_ok = nullptr;
    QPushButton* btn_cancel = nullptr;

  public slots:
    void btn_okClick();
    void btn_cancelClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();

    const RuleBook& book_;
    SessionPanel& panel_;
};

} // namespace tallowby::ui
