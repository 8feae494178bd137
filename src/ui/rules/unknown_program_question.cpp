#include "ui/rules/unknown_program_question.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/common/fixed_dialog.h"
#include "ui/common/named_widgets.h"

namespace tallowby::ui {
namespace {

constexpr int kNameRole = Qt::UserRole;
constexpr int kWidth = 480;
constexpr int kRowSpare = 4;

} // namespace

UnknownProgramQuestion::UnknownProgramQuestion(const QString& typed, const QString& question,
                                               const std::vector<ProgramSuggestion>& suggestions,
                                               QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), typed_(typed) {
    setObjectName(QStringLiteral("frm_unknownProgram"));
    setWindowTitle(QStringLiteral("Tallowby"));
    setModal(true);

    TB_CREATE(lb_question, question);
    lb_question->setWordWrap(true);
    TB_CREATE(lb_suggestions);
    lb_suggestions->setAccessibleName(QStringLiteral("Programs it may be"));
    for (const ProgramSuggestion& suggestion : suggestions) {
        auto* item = new QListWidgetItem(suggestion.reaches, lb_suggestions);
        item->setData(kNameRole, suggestion.name);
    }
    lb_suggestions->setVisible(!suggestions.empty());
    // As high as its few rows: the question and its answers stay together.
    if (!suggestions.empty())
        lb_suggestions->setFixedHeight(lb_suggestions->sizeHintForRow(0) * lb_suggestions->count() +
                                       2 * lb_suggestions->frameWidth() + kRowSpare);
    TB_CREATE(btn_useSuggestion, QStringLiteral("Add selected"));
    btn_useSuggestion->setVisible(!suggestions.empty());
    btn_useSuggestion->setEnabled(false);
    TB_CREATE(btn_keepTyped, QStringLiteral("Add \"%1\" as typed").arg(typed));
    TB_CREATE(btn_back, QStringLiteral("Back"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_useSuggestion);
    buttons->addWidget(btn_keepTyped);
    buttons->addWidget(btn_back);
    auto* window = new QVBoxLayout(this);
    window->addWidget(lb_question);
    window->addWidget(lb_suggestions);
    window->addLayout(buttons);
    for (QPushButton* button : {btn_useSuggestion, btn_keepTyped, btn_back})
        button->setAutoDefault(false);
    btn_back->setDefault(true);
    setFixedWidth(kWidth);

    connect(lb_suggestions, &QListWidget::itemSelectionChanged, this,
            &UnknownProgramQuestion::lb_suggestionsChange);
    connect(lb_suggestions, &QListWidget::itemActivated, this,
            &UnknownProgramQuestion::btn_useSuggestionClick);
    connect(btn_useSuggestion, &QPushButton::clicked, this, &UnknownProgramQuestion::btn_useSuggestionClick);
    connect(btn_keepTyped, &QPushButton::clicked, this, &UnknownProgramQuestion::btn_keepTypedClick);
    connect(btn_back, &QPushButton::clicked, this, &UnknownProgramQuestion::reject);
    // Nothing is chosen for the user: the keyboard starts on Back, Tab leads to the names, an arrow
    // chooses one, and Enter then adds what was chosen.
    lb_suggestions->setCurrentItem(nullptr);
    lb_suggestions->clearSelection();
    btn_back->setFocus();
}

void UnknownProgramQuestion::lb_suggestionsChange() {
    const bool selected = !lb_suggestions->selectedItems().isEmpty();
    btn_useSuggestion->setEnabled(selected);
    btn_useSuggestion->setDefault(selected);
    btn_back->setDefault(!selected);
}

void UnknownProgramQuestion::btn_useSuggestionClick() {
    const QList<QListWidgetItem*> selected = lb_suggestions->selectedItems();
    if (selected.isEmpty())
        return;
    chosen_ = selected.first()->data(kNameRole).toString();
    accept();
}

void UnknownProgramQuestion::btn_keepTypedClick() {
    chosen_ = typed_;
    accept();
}

} // namespace tallowby::ui
