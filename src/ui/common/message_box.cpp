#include "ui/common/message_box.h"

#include <QHideEvent>
#include <QInputDialog>
#include <QMessageBox>
#include <QShowEvent>
#include <utility>

#include "ui/common/long_message.h"
#include "ui/common/pop_ups.h"

namespace tallowby::ui {
namespace {

const QString kTitle = QStringLiteral("Tallowby");

std::function<void(const QString&)>& messageHook() {
    static std::function<void(const QString&)> hook;
    return hook;
}

std::optional<bool>& nextAnswer() {
    static std::optional<bool> answer;
    return answer;
}

std::optional<std::optional<QString>>& nextText() {
    static std::optional<std::optional<QString>> reply;
    return reply;
}

// A box opened above the window that asked for it, or as one of the tick's pop-ups.
template <class Window> class OpenedFor : public Window {
  public:
    template <class... Args>
    OpenedFor(QWidget* asker, bool popUp, Args&&... args) : Window(std::forward<Args>(args)...) {
        openFor(this, ownerFor(asker), popUp);
    }

  protected:
    void showEvent(QShowEvent* event) override {
        // The box takes its size here, so it is placed after.
        Window::showEvent(event);
        if (isPopUp(this) && !event->spontaneous())
            popUpShowing(this);
    }
    void hideEvent(QHideEvent* event) override {
        if (!event->spontaneous())
            popUpHidden(this);
        Window::hideEvent(event);
    }
};

class Box : public OpenedFor<QMessageBox> {
  public:
    Box(Icon icon, const QString& text, StandardButtons buttons, QWidget* asker, bool popUp = false)
        : OpenedFor<QMessageBox>(asker, popUp, icon, kTitle, text, buttons) {}
};

// A plain box for a message that fits one, else a box that keeps a long one within the screen.
void showOkBox(QWidget* asker, const QString& text, bool popUp) {
    if (fitsPlainBox(text)) {
        Box box(QMessageBox::NoIcon, text, QMessageBox::Ok, asker, popUp);
        box.exec();
        return;
    }
    OpenedFor<LongMessageBox> box(asker, popUp, text, nullptr);
    box.exec();
}

// The answer a test gave before the question, used once; the question still reaches the hook.
std::optional<bool> answerGivenBefore(const QString& text) {
    if (!nextAnswer())
        return std::nullopt;
    const bool answer = *nextAnswer();
    nextAnswer().reset();
    if (messageHook())
        messageHook()(text);
    return answer;
}

} // namespace

void showMessage(QWidget* parent, const QString& text) {
    if (messageHook()) {
        messageHook()(text);
        return;
    }
    showOkBox(parent, text, false);
}

void showPopUpMessage(const QString& text) {
    if (messageHook()) {
        messageHook()(text);
        return;
    }
    showOkBox(nullptr, text, true);
}

void setMessageHook(std::function<void(const QString&)> hook) {
    messageHook() = std::move(hook);
}

bool askYesNo(QWidget* parent, const QString& text) {
    if (const std::optional<bool> given = answerGivenBefore(text))
        return *given;
    Box box(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<bool> askYesNoCancel(QWidget* parent, const QString& text) {
    if (const std::optional<bool> given = answerGivenBefore(text))
        return *given;
    Box box(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return true;
    case QMessageBox::No:
        return false;
    default:
        return std::nullopt;
    }
}

void setNextAnswer(std::optional<bool> answer) {
    nextAnswer() = answer;
}

std::optional<QString> askText(QWidget* parent, const QString& title, const QString& prompt) {
    if (nextText()) {
        const std::optional<QString> reply = *nextText();
        nextText().reset();
        if (messageHook())
            messageHook()(prompt);
        return reply;
    }
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

void setNextText(std::optional<std::optional<QString>> reply) {
    nextText() = std::move(reply);
}

} // namespace tallowby::ui
