#pragma once
// Where the program's windows meet.
//
// A window opened for another one (a message, the check code) belongs to it: the window manager
// keeps it above its owner, and it stays on top of other programs' windows when its owner does, so
// an owner never hides what it opened.
//
// The windows the tick opens by itself (reminders, the shutdown warning, its notices) are pop-ups.
// They stay on top, and none of them ever blocks another: the first one blocks the rest of the
// program while it is up, a later one blocks nothing, so every pop-up on show answers. A later one
// is placed beside the earlier ones, so all of them stay in sight.
#include <Qt>

class QWidget;

namespace tallowby::ui {

// The window that a request from `asker` opens for: the asker's own window, or, for a request from
// no window, the modal window the user is answering, else the active window (if any). Never
// `opened` itself, nor a window that is not on show.
QWidget* ownerFor(QWidget* asker, const QWidget* opened = nullptr);

// Readies the hidden window `opened` to be shown modally for `owner` (nullptr: for nobody), or as
// a pop-up. Opened while pop-ups are on show for a window below them, it joins the pop-ups too.
void openFor(QWidget* opened, QWidget* owner, bool popUp = false);
// Whether openFor made the window a pop-up.
bool isPopUp(const QWidget* window);

// From a pop-up's own (not spontaneous) show and hide events: the first is centred on the screen,
// a later one placed beside those on show.
void popUpShowing(QWidget* popUp);
void popUpHidden(QWidget* popUp);
bool popUpsShown();

} // namespace tallowby::ui
