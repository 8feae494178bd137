#pragma once
// Loading the rule files into the main window's lists. Each loader replaces its list with the file's
// lines when a file exists at the path and leaves the list as it was when none does; it returns
// whether a file was read. A file that exists but cannot be read throws FileError. root: the data
// folder the file lies in, as readLines takes it.
#include <filesystem>

#include "store/rule_lists.h"

namespace tallowby::store {

bool loadConfigList(RuleLists& lists, const std::filesystem::path& path,
                    const std::filesystem::path& root = {});
bool loadProfileList(RuleLists& lists, const std::filesystem::path& path,
                     const std::filesystem::path& root = {});

// Also sets SessionCount (only when a file was read).
bool loadSessionList(RuleLists& lists, const std::filesystem::path& path,
                     const std::filesystem::path& root = {});

bool loadWholeDayList(RuleLists& lists, const std::filesystem::path& path,
                      const std::filesystem::path& root = {});

// Also recomputes ReminderCount, from whatever ReminderLines hold afterwards.
bool loadReminderList(RuleLists& lists, const std::filesystem::path& path,
                      const std::filesystem::path& root = {});

} // namespace tallowby::store
