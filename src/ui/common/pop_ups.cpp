#include "ui/common/pop_ups.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <array>
#include <vector>

namespace tallowby::ui {
namespace {

constexpr char kPopUpProperty[] = "tallowbyPopUp";
// Between pop-ups placed side by side, and the step of a cascade when the screen is full.
constexpr int kGap = 8;
constexpr int kCascadeStep = 32;

// In the order they were shown; a pop-up that is destroyed while on show drops out by itself.
std::vector<QPointer<QWidget>>& shown() {
    static std::vector<QPointer<QWidget>> popUps;
    std::erase_if(popUps, [](const QPointer<QWidget>& popUp) { return popUp.isNull(); });
    return popUps;
}

bool staysOnTop(const QWidget* window) {
    return window && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

QRect availableArea(const QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// Where `popUp` goes: beside the latest pop-up that has room next to it, else a step down and to
// the right of the latest one.
QPoint placeBeside(const QWidget* popUp, const std::vector<QPointer<QWidget>>& others) {
    const QRect area = availableArea(popUp);
    const QWidget* latest = others.back();
    // The new window's frame is not known before the window manager has framed it: take the
    // earlier one's.
    const QSize frame = popUp->size() + (latest->frameGeometry().size() - latest->size());
    const auto free = [&](const QRect& spot) {
        return area.contains(spot) &&
               std::none_of(others.begin(), others.end(), [&](const QPointer<QWidget>& other) {
                   return other->frameGeometry().intersects(spot);
               });
    };
    for (auto other = others.rbegin(); other != others.rend(); ++other) {
        const QRect taken = (*other)->frameGeometry();
        const std::array<QPoint, 4> spots{
            QPoint(taken.left(), taken.bottom() + 1 + kGap),
            QPoint(taken.right() + 1 + kGap, taken.top()),
            QPoint(taken.left(), taken.top() - kGap - frame.height()),
            QPoint(taken.left() - kGap - frame.width(), taken.top()),
        };
        for (const QPoint& spot : spots) {
            if (free(QRect(spot, frame)))
                return spot;
        }
    }
    const QPoint step = latest->frameGeometry().topLeft() + QPoint(kCascadeStep, kCascadeStep);
    return {std::clamp(step.x(), area.left(), std::max(area.left(), area.right() + 1 - frame.width())),
            std::clamp(step.y(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height()))};
}

} // namespace

QWidget* ownerFor(QWidget* asker, const QWidget* opened) {
    QWidget* owner = asker ? asker->window() : QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    if (owner == opened || (owner && !owner->isVisible()))
        return nullptr;
    return owner;
}

void openFor(QWidget* opened, QWidget* owner, bool popUp) {
    // Opened under pop-ups for a window below them, it is one more of the tick's pop-ups.
    const bool joinsPopUps = popUp || (!staysOnTop(owner) && popUpsShown());
    if (joinsPopUps)
        owner = nullptr;
    Qt::WindowFlags flags = opened->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, joinsPopUps || staysOnTop(owner));
    // Owned, the window manager keeps it above its owner, wherever the owner stands.
    if (opened->parentWidget() != owner || opened->windowFlags() != flags)
        opened->setParent(owner, flags);
    opened->setProperty(kPopUpProperty, joinsPopUps);
    // Under pop-ups it blocks only its owner (owned by nobody: nothing), so every pop-up on show
    // still answers.
    opened->setWindowModality(popUpsShown() ? Qt::WindowModal : Qt::ApplicationModal);
}

bool isPopUp(const QWidget* window) {
    return window->property(kPopUpProperty).toBool();
}

void popUpShowing(QWidget* popUp) {
    std::vector<QPointer<QWidget>>& popUps = shown();
    if (std::find(popUps.begin(), popUps.end(), popUp) != popUps.end())
        return;
    if (popUps.empty()) {
        const QRect area = availableArea(popUp);
        popUp->move(area.x() + (area.width() - popUp->width()) / 2,
                    area.y() + (area.height() - popUp->height()) / 2);
    } else {
        // The spot is for the frame. The new window's client area is placed, with the frame the
        // earlier pop-up has: where a window that is not framed yet goes by move() differs
        // between window managers.
        const QWidget* latest = popUps.back();
        const QPoint frameCorner = latest->geometry().topLeft() - latest->frameGeometry().topLeft();
        popUp->setGeometry(QRect(placeBeside(popUp, popUps) + frameCorner, popUp->size()));
    }
    popUps.emplace_back(popUp);
}

void popUpHidden(QWidget* popUp) {
    std::erase(shown(), QPointer<QWidget>(popUp));
}

bool popUpsShown() {
    return !shown().empty();
}

} // namespace tallowby::ui
