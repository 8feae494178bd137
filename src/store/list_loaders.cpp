#include "store/list_loaders.h"

#include "store/reminder_records.h"
#include "store/session_records.h"

namespace tallowby::store {
namespace {

bool loadInto(RuleLists& lists, RuleFile file, Lines& list, const std::filesystem::path& path,
              const std::filesystem::path& root) {
    auto lines = readLines(path, root, &lists.readStamp(file));
    if (!lines)
        return false;
    list = std::move(*lines);
    return true;
}

} // namespace

bool loadConfigList(RuleLists& lists, const std::filesystem::path& path, const std::filesystem::path& root) {
    return loadInto(lists, RuleFile::Config, lists.ConfigLines, path, root);
}

bool loadProfileList(RuleLists& lists, const std::filesystem::path& path, const std::filesystem::path& root) {
    return loadInto(lists, RuleFile::Profiles, lists.ProfileLines, path, root);
}

bool loadSessionList(RuleLists& lists, const std::filesystem::path& path, const std::filesystem::path& root) {
    if (!loadInto(lists, RuleFile::Sessions, lists.SessionLines, path, root))
        return false;
    lists.SessionCount = sessionCount(lists.SessionLines.size());
    return true;
}

bool loadWholeDayList(RuleLists& lists, const std::filesystem::path& path,
                      const std::filesystem::path& root) {
    return loadInto(lists, RuleFile::WholeDay, lists.WholeDayLines, path, root);
}

bool loadReminderList(RuleLists& lists, const std::filesystem::path& path,
                      const std::filesystem::path& root) {
    const bool read = loadInto(lists, RuleFile::Reminders, lists.ReminderLines, path, root);
    lists.ReminderCount = reminderCount(lists.ReminderLines.size());
    return read;
}

} // namespace tallowby::store
