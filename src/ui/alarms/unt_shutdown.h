#pragma once
// The shutdown warning: ten minutes before the automatic shutdown it says so, plays the shutdown
// alert sound, and lets the user acknowledge it or cancel the shutdown (behind the check code when
// the profile asks for it).
#include <QDialog>
#include <filesystem>

#include "ui/common/check_guard.h"
#include "ui/common/rule_book.h"

class QLabel;
class QPushButton;
class QTimer;

namespace tallowby::platform {
class ShutdownCommand;
}

namespace tallowby::ui {

class AlertSound;
class Tfrm_checkcode;

class Tfrm_shutdown : public QDialog {
    Q_OBJECT

  public:
    // commandStarted is the main window's record that the shutdown command has been handed on
    // today: a cancel then also calls off the shutdown the system already counts down to.
    Tfrm_shutdown(RuleBook& book, AlertSound& sound, Tfrm_checkcode& checkcode, CheckGuard& guard,
                  platform::ShutdownCommand& shutdown, bool& commandStarted, QWidget* parent = nullptr);

    // Shows the warning modally with this caption; its sound repeats while repeatSound is set.
    void showWarning(const QString& caption, bool repeatSound);

    static constexpr int kSoundBeatMs = 500;
    static constexpr int kCloseAfterMs = 180000;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* btn_ok = nullptr;
    QPushButton* btn_cancel = nullptr;
    QTimer* t_sound = nullptr;
    QTimer* t_close = nullptr;

  public slots:
    void btn_okClick();
    void btn_cancelClick();
    void t_soundTimer();
    void t_closeTimer();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void buildControls();
    std::filesystem::path soundFile() const;

    RuleBook& book_;
    AlertSound& sound_;
    Tfrm_checkcode& checkcode_;
    CheckGuard& guard_;
    platform::ShutdownCommand& shutdown_;
    bool& commandStarted_;
    bool repeatSound_ = false;
};

} // namespace tallowby::ui
