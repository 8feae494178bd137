#pragma once
// Widget construction where the object name always equals the member that holds the widget, so
// tests and later dialogs can find a control by the name the rules use for it.
#include <QFontMetrics>
#include <QGroupBox>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <initializer_list>
#include <type_traits>
#include <utility>

namespace tallowby::ui {

template <typename T, typename... Args> T* makeNamed(const char* name, Args&&... args) {
    auto* object = new T(std::forward<Args>(args)...);
    object->setObjectName(QString::fromLatin1(name));
    // A group inside another group is otherwise read out under the outer group's caption, so a
    // screen reader would call every group of a panel by the panel's name.
    if constexpr (std::is_base_of_v<QGroupBox, T>)
        object->setAccessibleName(object->title());
    return object;
}

// member = new <member's type>(args...) named after the member.
#define TB_CREATE(member, ...)                                                                               \
    (member = ::tallowby::ui::makeNamed<std::remove_pointer_t<decltype(member)>>(#member __VA_OPT__(, )      \
                                                                                     __VA_ARGS__))

// A member still to be created, with its name: lets one helper build the same group of controls
// for two panels whose members have different names.
template <typename T> struct Slot {
    T*& member;
    const char* name;

    template <typename... Args> T* create(Args&&... args) const {
        member = makeNamed<T>(name, std::forward<Args>(args)...);
        return member;
    }
};

#define TB_SLOT(member) (::tallowby::ui::Slot<std::remove_pointer_t<decltype(member)>>{member, #member})

// Hints stay up for ten seconds, long enough to read the longer ones.
constexpr int kHintMilliseconds = 10000;

inline void setHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setToolTipDuration(kHintMilliseconds);
}

// The widget keeps room for the widest text it will ever show, so the fixed-size window never
// clips a text that appears later (a countdown, a status, the notice).
inline void reserveTextWidth(QWidget* widget, std::initializer_list<QString> samples, int padding = 4) {
    const QFontMetrics metrics(widget->font());
    int widest = 0;
    for (const QString& sample : samples)
        widest = std::max(widest, metrics.horizontalAdvance(sample));
    widget->setMinimumWidth(std::max(widget->minimumWidth(), widest + padding));
}

} // namespace tallowby::ui
