#pragma once
// The in-memory lists that the main window owns for the whole run. Each holds its file's lines in
// file order and is addressed by line number; the counts are recomputed at every load.
#include <array>
#include <optional>

#include "store/text_file.h"

namespace tallowby::store {

// The program's files ("config.db", "profiles.db", "sound.db") and the current profile's files
// (sessions, whole day, reminders).
enum class RuleFile { Config, Profiles, Sound, Sessions, WholeDay, Reminders };
inline constexpr std::size_t kRuleFileCount = 6;

struct RuleLists {
    Lines ConfigLines;
    Lines ProfileLines;
    Lines SessionLines;
    int SessionCount = 0;
    Lines WholeDayLines;
    Lines ReminderLines;
    int ReminderCount = 0;
    Lines SoundLines;
    // The stamp of the file each list was last read from, by RuleFile; nothing while no file was
    // there to read. A save tells by it whether the file was changed by hand since.
    std::array<std::optional<os::FileStamp>, kRuleFileCount> readStamps;

    std::optional<os::FileStamp>& readStamp(RuleFile file) {
        return readStamps.at(static_cast<std::size_t>(file));
    }
    const std::optional<os::FileStamp>& readStamp(RuleFile file) const {
        return readStamps.at(static_cast<std::size_t>(file));
    }
};

} // namespace tallowby::store
