#include "modal_answer.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>
#include <utility>

#include "ui/common/message_box.h"

namespace tallowby::test {
namespace {

constexpr int kAttempts = 1000;

void answerWhenModal(std::function<void(QDialog*)> answer, int attemptsLeft) {
    QTimer::singleShot(0, [answer = std::move(answer), attemptsLeft]() mutable {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog) {
            answer(dialog);
            return;
        }
        if (attemptsLeft > 0)
            answerWhenModal(std::move(answer), attemptsLeft - 1);
        else
            ADD_FAILURE() << "no modal dialog was opened";
    });
}

} // namespace

void whenModal(std::function<void(QDialog*)> answer) {
    answerWhenModal(std::move(answer), kAttempts);
}

MessageLog::MessageLog() {
    ui::setMessageHook([this](const QString& text) { texts << text; });
}

MessageLog::~MessageLog() {
    ui::setMessageHook(nullptr);
    ui::setNextAnswer(std::nullopt);
    ui::setNextText(std::nullopt);
}

} // namespace tallowby::test
