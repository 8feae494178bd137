#pragma once
// The session panel ("Session Events"): the list of the profile's sessions and the rules of the
// selected one. Every change is stored in the session file at once; there is no Save step.
#include <QGroupBox>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>

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

class SessionPanel : public QGroupBox, public RunStateControls {
    Q_OBJECT

  public:
    // websitesChanged runs after a change of a session's websites: the hosts file follows at the
    // next tick.
    SessionPanel(RuleBook& book, const ProgramDialogs& dialogs, std::function<void()> websitesChanged,
                 QWidget* parent = nullptr);

    // Rebuilds lb_sessionList from SessionLines (after every load of the session file).
    void showSessionList();

    // The selected entry of lb_sessionList, -1 for none; selectSession(-1) clears the selection.
    int selectedSessionIndex() const;
    void selectSession(int index);
    // Selects the first session whose start time is this text.
    void selectSessionStartingAt(const std::string& start);

    // Fills the panel from the selected record; with none selected it keeps what it shows.
    void lb_sessionListClick();
    // With no session selected while the rules run, the panel shows nothing.
    void Nosession();

    // Stores the panel's days, mode and lists into the selected record and rewrites the file, then
    // shows the record as stored. Nothing without a selection; false when the write failed.
    bool SaveSelectedSession();
    // The session time dialog's two ways of storing: a new session (sorted in, then selected) and
    // new times for the selected session together with the panel's rules (kept in its place).
    bool addSession(const std::string& start, const std::string& end);
    bool saveSelectedSessionTimes(const std::string& start, const std::string& end);

    QList<QWidget*> editingControls() override;
    QList<QWidget*> enabledWhenStopped() override;
    std::array<QCheckBox*, 7> dayBoxes() const;

    // Set while the panel is filled from a record, so the panel's own handlers do not write back.
    bool LoadingSessionPanel = false;
    // The session time dialog edits the selected session (set) or adds one (clear).
    bool EditingSession = false;

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

  public slots:
    // The week-day boxes and the mode buttons: store the panel unless it is being filled.
    void ruleControlClick();
    void btn_processAddClick();
    void btn_processDelClick();
    void btn_domainAddClick();
    void btn_domainDelClick();
    void btn_sessionAddClick();
    void btn_editClick();
    void lb_sessionListDblClick();
    void btn_sessionDelClick();
    void btn_clearClick();

  private:
    // The save after a rule dialog closes; nothing while the rules run.
    bool saveAfterDialog();
    void buildControls();
    RuleControlSet ruleControls() const;
    bool hasSelection(const QString& messageWithout);
    // selectAfter is read once the change has run: the change may find its session elsewhere.
    bool saveSessions(const RuleBook::Change& change, const int& selectAfter);
    // The start and end of session index as read: what finds it again in the file as it is now.
    std::pair<std::string, std::string> readTimes(int index) const;
    // Stores the panel's change to the selected session, and new times where given.
    bool changeSelectedSession(const std::optional<std::pair<std::string, std::string>>& times);

    RuleBook& book_;
    const ProgramDialogs& dialogs_;
    std::function<void()> websitesChanged_;
};

} // namespace tallowby::ui
