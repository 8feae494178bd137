#pragma once
// Window conventions the program's small modal dialogs share: a fixed border with a title and a
// close box only, and placement in the middle of the screen.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tallowby::ui {

inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                                     Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                     Qt::WindowCloseButtonHint;

// Centres the window on its screen's work area; a window wider than the screen overhangs both
// sides equally.
inline void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window->move(area.x() + (area.width() - window->width()) / 2,
                 area.y() + (area.height() - window->height()) / 2);
}

} // namespace tallowby::ui
