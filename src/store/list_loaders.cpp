#include "store/list_loaders.h"

#include "store/reminder_records.h"
#include "store/session_records.h"

namespace tallowby::store {
namespace {

bool loadInto(Lines& list, const std::filesystem::path& path) {
    auto lines = readLines(path);
    if (!lines)
        return false;
    list = std::move(*lines);
    return true;
}

} // namespace

bool loadConfigList(RuleLists& lists, const std::filesystem::path& path) {
    return loadInto(lists.ConfigLines, path);
}

bool loadProfileList(RuleLists& lists, const std::filesystem::path& path) {
    return loadInto(lists.ProfileLines, path);
}

bool loadSessionList(RuleLists& lists, const std::filesystem::path& path) {
    if (!loadInto(lists.SessionLines, path))
        return false;
    lists.SessionCount = sessionCount(lists.SessionLines.size());
    return true;
}

bool loadWholeDayList(RuleLists& lists, const std::filesystem::path& path) {
    return loadInto(lists.WholeDayLines, path);
}

bool loadReminderList(RuleLists& lists, const std::filesystem::path& path) {
    const bool read = loadInto(lists.ReminderLines, path);
    lists.ReminderCount = reminderCount(lists.ReminderLines.size());
    return read;
}

} // namespace tallowby::store
