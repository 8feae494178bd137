#pragma once
// The reminder pop-up: a small window on top of the others that shows one fired reminder's subject
// in large type and plays the reminder alert sound until it is answered. The tick makes one per
// fired reminder, so two reminders due together each keep their own window, text and sound setting.
#include <QDialog>
#include <filesystem>

class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace tallowby::ui {

class AlertSound;

class Tfrm_reminderShow : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kSoundBeatMs = 500;
    // An unanswered pop-up goes away by itself after three minutes.
    static constexpr int kCloseAfterMs = 180000;

    // soundFile is the reminder alert sound ("sound.db" line 0); defaultSound plays when it cannot.
    Tfrm_reminderShow(AlertSound& sound, std::filesystem::path soundFile, std::filesystem::path defaultSound,
                      QWidget* parent = nullptr);
    ~Tfrm_reminderShow() override;

    // Shows the reminder and waits until the pop-up is closed. The sound always plays once;
    // repeatSound (the reminder's play-sound flag) plays it again each time it ends.
    void showReminder(const QString& caption, const QString& subject, bool repeatSound);

    QPlainTextEdit* Memo_sub = nullptr;
    QPushButton* btn_OK = nullptr;
    QTimer* t_sound = nullptr; // repeats the sound
    QTimer* t_close = nullptr; // closes an unanswered pop-up

  public slots:
    void btn_OKClick();
    void t_soundTimer();
    void t_closeTimer();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    AlertSound& sound_;
    std::filesystem::path soundFile_;
    std::filesystem::path defaultSound_;
    bool repeatSound_ = false;
};

} // namespace tallowby::ui
