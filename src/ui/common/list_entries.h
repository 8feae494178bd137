#pragma once
// List boxes that show a rule list: one entry per line of text, in list order.
#include <QListWidget>
#include <string>
#include <vector>

#include "ui/common/local_text.h"

namespace tallowby::ui {

inline void setListEntries(QListWidget* list, const std::vector<std::string>& entries) {
    list->clear();
    for (const std::string& entry : entries)
        list->addItem(fromBytes(entry));
}

inline std::vector<std::string> listEntries(const QListWidget* list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list->count(); ++i)
        entries.push_back(toBytes(list->item(i)->text()));
    return entries;
}

} // namespace tallowby::ui
