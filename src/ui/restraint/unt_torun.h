#pragma once
// The prompt shown when the window is put away while the rules are stopped: run them now, and
// optionally always run them when the window is put away.
#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace tallowby::ui {

class Tfrm_toRun : public QDialog {
    Q_OBJECT

  public:
    // yesAndSave stores "run when hidden" in the configuration, writes and reloads it, then runs
    // the rules; run only runs them.
    Tfrm_toRun(std::function<void()> yesAndSave, std::function<void()> run, QWidget* parent = nullptr);

    QLabel* lb_question = nullptr;
    QPushButton* btn_yesSave = nullptr;
    QPushButton* btn_Yes = nullptr;
    QPushButton* btn_no = nullptr;

  public slots:
    void btn_yesSaveClick();
    void btn_YesClick();
    void btn_noClick();

  private:
    void buildControls();

    std::function<void()> yesAndSave_;
    std::function<void()> run_;
};

} // namespace tallowby::ui
