#pragma once
// The question the process picker asks about a name no installed or running program answers to:
// the names it may have been meant for, each with the application it reaches, to pick from; or the
// name as typed; or back to the typing. Nothing is added that the user did not choose: Enter goes
// back until a suggestion is selected.
#include <QDialog>
#include <QString>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace tallowby::ui {

struct ProgramSuggestion {
    QString name;    // what is added when chosen
    QString reaches; // "LibreOffice Writer — soffice.bin"
};

class UnknownProgramQuestion : public QDialog {
    Q_OBJECT

  public:
    UnknownProgramQuestion(const QString& typed, const QString& question,
                           const std::vector<ProgramSuggestion>& suggestions, QWidget* parent = nullptr);

    // After exec(): the name to add; empty when the user went back.
    const QString& chosen() const { return chosen_; }

    QLabel* lb_question = nullptr;
    QListWidget* lb_suggestions = nullptr;
    QPushButton* btn_useSuggestion = nullptr;
    QPushButton* btn_keepTyped = nullptr;
    QPushButton* btn_back = nullptr;

  public slots:
    void btn_useSuggestionClick();
    void btn_keepTypedClick();
    void lb_suggestionsChange();

  private:
    QString typed_;
    QString chosen_;
};

} // namespace tallowby::ui
