#include "ui/common/message_box.h"

#include <QMessageBox>
#include <utility>

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

} // namespace

void showMessage(QWidget* parent, const QString& text) {
    if (messageHook()) {
        messageHook()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, kTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

void setMessageHook(std::function<void(const QString&)> hook) {
    messageHook() = std::move(hook);
}

bool askYesNo(QWidget* parent, const QString& text) {
    if (nextAnswer()) {
        const bool answer = *nextAnswer();
        nextAnswer().reset();
        if (messageHook())
            messageHook()(text);
        return answer;
    }
    QMessageBox box(QMessageBox::Question, kTitle, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void setNextAnswer(std::optional<bool> answer) {
    nextAnswer() = answer;
}

} // namespace tallowby::ui
