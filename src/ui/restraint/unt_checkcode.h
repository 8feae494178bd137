#pragma once
// The check-code dialog: shows a fresh random code that cannot be selected or copied and lets the
// guarded action run once the code has been typed back exactly.
#include <QDialog>
#include <QHash>
#include <functional>
#include <string>

#include "ui/common/check_guard.h"
#include "ui/common/run_state_controls.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tallowby::ui {

class Tfrm_checkcode : public QDialog, public RunStateControls {
    Q_OBJECT

  public:
    // The configured code length as written in the configuration (its "bits" line).
    using LengthText = std::function<std::string()>;
    // A new code of the given number of characters.
    using CodeSource = std::function<std::string(int)>;

    // Without a code source, codes come from the generator seeded from the high-resolution counter.
    Tfrm_checkcode(CheckGuard& guard, LengthText lengthText, CodeSource codeSource = {},
                   QWidget* parent = nullptr);

    // What a correct code re-invokes for a purpose (after setting that purpose's flag).
    void setReinvoke(const QString& purpose, std::function<void()> action);

    // Asks for the code for this purpose, above the window that asks (asker; nullptr: the modal
    // window on show, if any), and returns once the dialog has closed: true when this request's code
    // was typed right. A request while the code is on show for another one takes its place: the
    // earlier request ends as if cancelled (its action is not carried out, and it may be asked for
    // again), and the dialog opens anew with a fresh code for the later one. So no request is ever
    // swallowed, and a code only ever allows the action it was shown for.
    bool ask(const QString& purpose, QWidget* asker = nullptr);

    // The number of characters a code gets for a length text. A text that is not a whole number
    // (only a hand-edited configuration has one) counts as 10, the length the options offer by
    // default; an absurd length is held to kMaxCodeLength so the window can still be built.
    static int codeLength(const std::string& lengthText);
    static constexpr int kDefaultCodeLength = 10;
    static constexpr int kMaxCodeLength = 10000;

    // The layout's fixed measures.
    static constexpr int kMinimumWidth = 370;
    static constexpr int kMinimumEditWidth = 340;
    static constexpr int kButtonStep = 76;

    QLabel* lb_checkcode = nullptr;
    QLineEdit* edt_checkcode = nullptr;
    QPushButton* btn_OK = nullptr;

    // A pause that ended while the code was asked for leaves OK disabled; a stop enables it again.
    QList<QWidget*> enabledWhenStopped() override;
    QPushButton* btn_cancel = nullptr;
    QPushButton* btn_retry = nullptr;

  public slots:
    void btn_retryClick();
    void btn_OKClick();
    void btn_cancelClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void FormShow();
    void placeControls();
    void dispatch();

    CheckGuard& guard_;
    LengthText lengthText_;
    CodeSource codeSource_;
    QHash<QString, std::function<void()>> reinvoke_;
    // The purpose the dialog was shown with.
    QString shownPurpose_;
    // Counts the requests, so that one taken over by a later one knows it.
    int requests_ = 0;
};

} // namespace tallowby::ui
