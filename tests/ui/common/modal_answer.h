#pragma once
// Answering the modal windows a handler opens, without sleeping: the answer runs inside the
// window's own modal loop, and message boxes are recorded instead of shown.
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;

namespace tallowby::test {

// Runs answer on the next modal dialog once its modal loop runs. The answer must close it.
void whenModal(std::function<void(QDialog*)> answer);

// While it lives, every message (and every question answered by ui::setNextAnswer) is recorded
// instead of shown.
class MessageLog {
  public:
    MessageLog();
    ~MessageLog();
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    QStringList texts;
};

} // namespace tallowby::test
