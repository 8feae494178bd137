#pragma once
// List boxes that show a rule list: one entry per line of text, in list order.
#include <QListWidget>
#include <string>
#include <vector>

#include "ui/common/local_text.h"

namespace tallowby::ui {

// An entry longer than a list box lays out in a moment (a hand edit can make one of megabytes)
// shows its beginning; its item keeps the whole entry in this role, and that is what is saved.
inline constexpr int kWholeEntryRole = Qt::UserRole + 16;
inline constexpr qsizetype kShownEntryCharacters = 200;

inline void setListEntries(QListWidget* list, const std::vector<std::string>& entries) {
    list->clear();
    for (const std::string& entry : entries) {
        const QString text = fromBytes(entry);
        auto* item = new QListWidgetItem(list);
        if (text.size() <= kShownEntryCharacters) {
            item->setText(text);
            continue;
        }
        item->setText(text.left(kShownEntryCharacters) + QStringLiteral("..."));
        item->setData(kWholeEntryRole, text);
    }
}

inline std::vector<std::string> listEntries(const QListWidget* list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list->count(); ++i) {
        const QVariant whole = list->item(i)->data(kWholeEntryRole);
        entries.push_back(toBytes(whole.isValid() ? whole.toString() : list->item(i)->text()));
    }
    return entries;
}

} // namespace tallowby::ui
