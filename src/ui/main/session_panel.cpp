#include "ui/main/session_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <stdexcept>

#include "store/line_values.h"
#include "store/session_records.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/main/program_dialogs.h"
#include "ui/rules/unt_addprocess.h"
#include "ui/rules/unt_domainadd.h"
#include "ui/rules/unt_sessionAdd.h"

namespace tallowby::ui {
namespace {

constexpr int kSessionListWidth = 104;
constexpr int kListHeight = 170;

} // namespace

SessionPanel::SessionPanel(RuleBook& book, const ProgramDialogs& dialogs,
                           std::function<void()> websitesChanged, QWidget* parent)
    : QGroupBox(QStringLiteral("Session Events"), parent), book_(book), dialogs_(dialogs),
      websitesChanged_(std::move(websitesChanged)) {
    setObjectName(QStringLiteral("gb_sessionAll"));
    buildControls();
}

void SessionPanel::buildControls() {
    TB_CREATE(lb_sessionList);
    lb_sessionList->setMinimumSize(kSessionListWidth, kListHeight);
    TB_CREATE(btn_sessionAdd, QStringLiteral("Add"));
    setHint(btn_sessionAdd, QStringLiteral("Add one new session"));
    TB_CREATE(btn_sessionDel, QStringLiteral("Del"));
    setHint(btn_sessionDel, QStringLiteral("Remove one session"));
    TB_CREATE(btn_clear, QStringLiteral("Clear"));
    setHint(btn_clear, QStringLiteral("Clear session list, all sessions will be removed"));
    TB_CREATE(btn_edit, QStringLiteral("Edit"));
    setHint(btn_edit, QStringLiteral("Edit selected session"));
    TB_CREATE(gb_sessionList, QStringLiteral("Session List"));
    auto* listLayout = new QGridLayout(gb_sessionList);
    listLayout->addWidget(lb_sessionList, 0, 0, 1, 2);
    listLayout->addWidget(compactButton(btn_sessionAdd), 1, 0);
    listLayout->addWidget(compactButton(btn_sessionDel), 1, 1);
    listLayout->addWidget(compactButton(btn_edit), 2, 0);
    listLayout->addWidget(compactButton(btn_clear), 2, 1);
    listLayout->setRowStretch(0, 1);

    QGridLayout* rules =
        buildRuleControls({TB_SLOT(gb_weekDay),
                           {TB_SLOT(cb_sun), TB_SLOT(cb_Mon), TB_SLOT(cb_Tue), TB_SLOT(cb_wed),
                            TB_SLOT(cb_Thu), TB_SLOT(cb_fri), TB_SLOT(cb_sat)},
                           TB_SLOT(gb_processList),
                           TB_SLOT(lb_mode),
                           TB_SLOT(rb_blockMode),
                           TB_SLOT(rb_dedicatedMode),
                           TB_SLOT(lbox_processList),
                           TB_SLOT(btn_processAdd),
                           TB_SLOT(btn_processDel),
                           TB_SLOT(gb_blockedDomain),
                           TB_SLOT(Lbox_domainlist),
                           TB_SLOT(btn_domainAdd),
                           TB_SLOT(btn_domainDel)});
    rb_blockMode->setChecked(true);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(gb_sessionList);
    layout->addLayout(rules, 1);

    connect(lb_sessionList, &QListWidget::itemSelectionChanged, this, &SessionPanel::lb_sessionListClick);
    connect(lb_sessionList, &QListWidget::itemDoubleClicked, this, &SessionPanel::lb_sessionListDblClick);
    // toggled, not clicked: a box changed by the keyboard or a screen reader is stored like a click.
    // The panel's own showing of a session sets LoadingSessionPanel.
    for (QCheckBox* day : dayBoxes())
        connect(day, &QCheckBox::toggled, this, &SessionPanel::ruleControlClick);
    // Of two radio buttons only the one turned on stores the change.
    for (QRadioButton* mode : {rb_blockMode, rb_dedicatedMode})
        connect(mode, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                ruleControlClick();
        });
    connect(btn_processAdd, &QPushButton::clicked, this, &SessionPanel::btn_processAddClick);
    connect(btn_processDel, &QPushButton::clicked, this, &SessionPanel::btn_processDelClick);
    connect(btn_domainAdd, &QPushButton::clicked, this, &SessionPanel::btn_domainAddClick);
    connect(btn_domainDel, &QPushButton::clicked, this, &SessionPanel::btn_domainDelClick);
    connect(btn_sessionAdd, &QPushButton::clicked, this, &SessionPanel::btn_sessionAddClick);
    connect(btn_edit, &QPushButton::clicked, this, &SessionPanel::btn_editClick);
    connect(btn_sessionDel, &QPushButton::clicked, this, &SessionPanel::btn_sessionDelClick);
    connect(btn_clear, &QPushButton::clicked, this, &SessionPanel::btn_clearClick);
}

std::array<QCheckBox*, 7> SessionPanel::dayBoxes() const {
    return {cb_sun, cb_Mon, cb_Tue, cb_wed, cb_Thu, cb_fri, cb_sat};
}

RuleControlSet SessionPanel::ruleControls() const {
    return {dayBoxes(), rb_blockMode, rb_dedicatedMode, lbox_processList, Lbox_domainlist};
}

QList<QWidget*> SessionPanel::editingControls() {
    QList<QWidget*> controls{btn_sessionAdd, btn_sessionDel, btn_edit,        btn_clear,
                             btn_processAdd, btn_processDel, btn_domainAdd,   btn_domainDel,
                             gb_weekDay,     rb_blockMode,   rb_dedicatedMode};
    for (QCheckBox* day : dayBoxes())
        controls.append(day);
    return controls;
}

QList<QWidget*> SessionPanel::enabledWhenStopped() {
    return {gb_processList, gb_blockedDomain, lbox_processList, Lbox_domainlist};
}

void SessionPanel::showSessionList() {
    const store::Lines& lines = book_.lists().SessionLines;
    lb_sessionList->clear();
    for (int i = 0; i < book_.lists().SessionCount; ++i)
        lb_sessionList->addItem(fromBytes(store::sessionCaption(lines, i)));
}

int SessionPanel::selectedSessionIndex() const {
    const int row = lb_sessionList->currentRow();
    return row >= 0 && lb_sessionList->item(row)->isSelected() ? row : -1;
}

void SessionPanel::selectSession(int index) {
    if (index >= 0 && index < lb_sessionList->count()) {
        lb_sessionList->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        return;
    }
    lb_sessionList->clearSelection();
    lb_sessionList->setCurrentRow(-1);
}

void SessionPanel::selectSessionStartingAt(const std::string& start) {
    const QString prefix = fromBytes(start);
    for (int i = 0; i < lb_sessionList->count(); ++i) {
        if (lb_sessionList->item(i)->text().left(5) == prefix) {
            selectSession(i);
            return;
        }
    }
}

void SessionPanel::lb_sessionListClick() {
    const int index = selectedSessionIndex();
    if (index < 0)
        return;
    LoadingSessionPanel = true;
    showRuleFields(ruleControls(), store::sessionFields(book_.lists().SessionLines, index));
    LoadingSessionPanel = false;
}

void SessionPanel::Nosession() {
    for (QCheckBox* day : dayBoxes())
        day->setChecked(false);
    // Every tick asks for this while no session is selected: a list cleared when it is already
    // empty is still laid out and repainted again.
    for (QListWidget* list : {lbox_processList, Lbox_domainlist}) {
        if (list->count() > 0)
            list->clear();
    }
}

bool SessionPanel::saveSessions(const RuleBook::Change& change, const int& selectAfter) {
    if (!book_.save(RuleFile::Sessions, change)) {
        // The user has been told; the panel goes back to what the file still says.
        lb_sessionListClick();
        return false;
    }
    selectSession(selectAfter);
    lb_sessionListClick();
    return true;
}

namespace {

// Where the session read as index, with these times, is in the file now; refused, in words for the
// user, when a hand edit has taken it away.
int sessionNow(const store::Lines& now, int index, const std::pair<std::string, std::string>& was,
               const char* undone) {
    const int at = store::findSession(now, index, was.first, was.second);
    if (at < 0)
        throw std::runtime_error("Failed - the session " + was.first + "-" + was.second +
                                 " is no longer in the file: nothing was " + undone + ".");
    return at;
}

} // namespace

std::pair<std::string, std::string> SessionPanel::readTimes(int index) const {
    const store::Lines& read = book_.lists().SessionLines;
    const auto first = static_cast<std::ptrdiff_t>(6 * index);
    return {store::lineAt(read, first), store::lineAt(read, first + 1)};
}

bool SessionPanel::changeSelectedSession(const std::optional<std::pair<std::string, std::string>>& times) {
    const int index = selectedSessionIndex();
    if (index < 0)
        return false;
    // The session as it was read and as the panel has it now: the difference is the user's change,
    // made on the session with the same times in what the file holds when it is written.
    const std::pair<std::string, std::string> was = readTimes(index);
    const store::SessionFields before = store::sessionFields(book_.lists().SessionLines, index);
    const store::SessionFields edited = ruleFieldsOf(ruleControls());
    int savedAt = index;
    return saveSessions(
        [&, index](const store::Lines& now) {
            savedAt = sessionNow(now, index, was, "changed");
            store::Lines lines = store::changeSessionFields(now, savedAt, before, edited);
            if (times) {
                lines[6 * static_cast<std::size_t>(savedAt)] = times->first;
                lines[6 * static_cast<std::size_t>(savedAt) + 1] = times->second;
            }
            return lines;
        },
        savedAt);
}

bool SessionPanel::SaveSelectedSession() {
    return changeSelectedSession(std::nullopt);
}

bool SessionPanel::saveAfterDialog() {
    // A dialog left open across the end of a pause closes while the rules run: they are not
    // changed then, and the panel shows what the file says.
    if (btn_processAdd->isEnabled())
        return SaveSelectedSession();
    lb_sessionListClick();
    return false;
}

bool SessionPanel::addSession(const std::string& start, const std::string& end) {
    const bool saved = book_.save(RuleFile::Sessions, [&](const store::Lines& now) {
        return store::sortSessions(store::appendSession(now, start, end));
    });
    if (!saved)
        return false;
    selectSessionStartingAt(start);
    lb_sessionListClick();
    return true;
}

bool SessionPanel::saveSelectedSessionTimes(const std::string& start, const std::string& end) {
    return changeSelectedSession(std::pair(start, end));
}

void SessionPanel::ruleControlClick() {
    if (!LoadingSessionPanel)
        SaveSelectedSession();
}

bool SessionPanel::hasSelection(const QString& messageWithout) {
    if (selectedSessionIndex() >= 0)
        return true;
    showMessage(this, messageWithout);
    return false;
}

void SessionPanel::btn_processAddClick() {
    if (!hasSelection(QStringLiteral("Please select session first.")) || !dialogs_.frm_AddProcess)
        return;
    dialogs_.frm_AddProcess->setFocusMode(rb_dedicatedMode->isChecked());
    dialogs_.frm_AddProcess->exec();
    saveAfterDialog();
}

void SessionPanel::btn_processDelClick() {
    if (removeSelectedEntry(lbox_processList))
        SaveSelectedSession();
}

void SessionPanel::btn_domainAddClick() {
    if (!hasSelection(QStringLiteral("Please select session first.")) || !dialogs_.frm_domainAdd)
        return;
    dialogs_.frm_domainAdd->exec();
    saveAfterDialog();
    websitesChanged_();
}

void SessionPanel::btn_domainDelClick() {
    if (!removeSelectedEntry(Lbox_domainlist))
        return;
    SaveSelectedSession();
    websitesChanged_();
}

void SessionPanel::btn_sessionAddClick() {
    EditingSession = false;
    if (!dialogs_.frm_sessionAdd)
        return;
    dialogs_.frm_sessionAdd->setWindowTitle(QStringLiteral("Add Session"));
    dialogs_.frm_sessionAdd->exec();
}

void SessionPanel::btn_editClick() {
    EditingSession = true;
    if (!dialogs_.frm_sessionAdd)
        return;
    dialogs_.frm_sessionAdd->setWindowTitle(QStringLiteral("Edit Session"));
    if (!hasSelection(QStringLiteral("Please select session to be modified.")))
        return;
    const store::Lines& lines = book_.lists().SessionLines;
    const auto first = 6 * static_cast<std::size_t>(selectedSessionIndex());
    dialogs_.frm_sessionAdd->presetTimes(lines[first], lines[first + 1]);
    dialogs_.frm_sessionAdd->exec();
}

void SessionPanel::lb_sessionListDblClick() {
    btn_editClick();
}

void SessionPanel::btn_sessionDelClick() {
    if (!hasSelection(QStringLiteral("Please select session to be deleted.")))
        return;
    const int index = selectedSessionIndex();
    const QString question = QStringLiteral("Confirm to delete session ") +
                             lb_sessionList->item(index)->text() + QStringLiteral(" ?");
    if (!askYesNo(this, question))
        return;
    const std::pair<std::string, std::string> was = readTimes(index);
    int selectAfter = index;
    saveSessions(
        [&](const store::Lines& now) {
            const int at = sessionNow(now, index, was, "deleted");
            store::Lines lines = store::deleteSession(now, at);
            // The same place again, or the new last entry when the last one went.
            selectAfter = std::min(at, store::sessionCount(lines.size()) - 1);
            return lines;
        },
        selectAfter);
}

void SessionPanel::btn_clearClick() {
    if (!askYesNo(this, QStringLiteral("Confirm to clear the Session list? All sessions will be removed.")))
        return;
    // The panel keeps showing the rules it showed; only the list empties.
    book_.save(RuleFile::Sessions, store::clearSessions());
}

} // namespace tallowby::ui
