#pragma once
// The pause dialog: the rules rest for one to ten minutes and then run again by themselves.
// Pausing can demand the check code.
#include <QDialog>
#include <functional>

#include "store/text_file.h"
#include "ui/common/check_guard.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace tallowby::ui {

class Tfrm_checkcode;

class Tfrm_pause : public QDialog {
    Q_OBJECT

  public:
    // Stops the rules and starts the pause of the given minutes (the main window's part: the stop
    // without its own code, the menu, the pause timer, its end time and the hosts file).
    using BeginPause = std::function<void(int minutes)>;

    // configLines is the main window's ConfigLines; its "Checkcode to Pause" line is read at every
    // Ok.
    Tfrm_pause(const store::Lines& configLines, Tfrm_checkcode& checkcode, CheckGuard& guard,
               BeginPause beginPause, QWidget* parent = nullptr);

    // The chosen number of minutes.
    int minutes() const;

    // The caption shown while the pause runs: "Pause for 1 minute", "Pause for 5 minutes".
    QString pauseText() const;
    static QString pauseText(const QString& minutesText);

    QLabel* lb_pausefor = nullptr;
    QComboBox* cbox_pause = nullptr;
    QLabel* lb_minutes = nullptr;
    QPushButton* btn_ok = nullptr;
    QPushButton* btn_cancel = nullptr;

  public slots:
    void btn_okClick();
    void btn_cancelClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();

    const store::Lines& configLines_;
    Tfrm_checkcode& checkcode_;
    CheckGuard& guard_;
    BeginPause beginPause_;
};

} // namespace tallowby::ui
