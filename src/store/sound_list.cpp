#include "store/sound_list.h"

#include <system_error>

#include "store/line_values.h"

namespace tallowby::store {
namespace {

bool namesExistingFile(const std::string& entry) {
    if (entry.empty())
        return false;
    std::error_code error;
    const auto status = std::filesystem::status(entry, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

void defaultIfMissing(Lines& lines, std::size_t index, const std::filesystem::path& fallback) {
    if (!namesExistingFile(lineAt(lines, static_cast<std::ptrdiff_t>(index))))
        setLine(lines, index, fallback.string());
}

} // namespace

bool loadSound(RuleLists& lists, const ProgramPaths& paths) {
    auto lines = readLines(paths.soundFile());
    if (lines)
        lists.SoundLines = std::move(*lines);
    defaultIfMissing(lists.SoundLines, 0, paths.defaultReminderSound());
    defaultIfMissing(lists.SoundLines, 1, paths.defaultShutdownSound());
    return lines.has_value();
}

void saveSound(RuleLists& lists, const ProgramPaths& paths) {
    writeLines(paths.soundFile(), {lineAt(lists.SoundLines, 0), lineAt(lists.SoundLines, 1)});
    loadSound(lists, paths);
}

} // namespace tallowby::store
