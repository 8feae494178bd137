#pragma once
// The program's plain message boxes, titled "Tallowby". Every window shows its messages through
// here, so tests can answer them without a modal loop.
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace tallowby::ui {

// A plain modal message box titled "Tallowby" with an OK button, above the window that asked
// (parent; nullptr: the modal window on show, if any) and owned by it (see pop_ups.h). A message
// too long for a plain box shows in one that stays within the screen (long_message.h).
void showMessage(QWidget* parent, const QString& text);

// The same box as one of the pop-ups the tick opens by itself: it stays on top, never keeps another
// pop-up from answering, and is placed beside those on show.
void showPopUpMessage(const QString& text);

// Tests: when a hook is set, showMessage calls it instead of opening a box (nullptr restores boxes).
void setMessageHook(std::function<void(const QString&)> hook);

// A Yes/No confirmation box titled "Tallowby"; true for Yes.
bool askYesNo(QWidget* parent, const QString& text);

// A Yes/No/Cancel question box titled "Tallowby": true for Yes, false for No, nothing for Cancel or
// the close box. setNextAnswer answers it too.
std::optional<bool> askYesNoCancel(QWidget* parent, const QString& text);

// Tests: the answer the next askYesNo gives without opening a box. It is used once; std::nullopt
// withdraws an answer not yet used. The question still reaches the message hook, if one is set, so
// a test can see what was asked.
void setNextAnswer(std::optional<bool> answer);

// An input box with OK and Cancel and an empty line to type in; the typed text, or std::nullopt for
// Cancel.
std::optional<QString> askText(QWidget* parent, const QString& title, const QString& prompt);

// Tests: what the next askText gives without opening a box, once: a text, or std::nullopt inside
// for Cancel. std::nullopt outside withdraws a reply not yet used. The prompt reaches the message
// hook, as a question does.
void setNextText(std::optional<std::optional<QString>> reply);

} // namespace tallowby::ui
