#include "store/sound_list.h"

#include <iterator>
#include <optional>
#include <system_error>

#include "store/line_values.h"
#include "store/rule_limits.h"

namespace tallowby::store {
namespace {

std::optional<std::uintmax_t> fileSize(const std::string& entry) {
    if (entry.empty())
        return std::nullopt;
    std::error_code error;
    const auto status = std::filesystem::status(entry, error);
    if (error || !std::filesystem::exists(status) || std::filesystem::is_directory(status))
        return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(entry, error);
    return error ? 0 : size;
}

bool tooLargeToPlay(const std::string& entry) {
    const std::optional<std::uintmax_t> size = fileSize(entry);
    return size && *size > kMaxSoundFileBytes;
}

// A file that is not there, or too large to be played, gives way to the default sound.
void defaultIfMissing(Lines& lines, std::size_t index, const std::filesystem::path& fallback) {
    const std::string& entry = lineAt(lines, static_cast<std::ptrdiff_t>(index));
    if (!fileSize(entry) || tooLargeToPlay(entry))
        setLine(lines, index, fallback.string());
}

} // namespace

bool loadSound(RuleLists& lists, const ProgramPaths& paths) {
    auto lines = readLines(paths.soundFile(), paths.folder(), &lists.readStamp(RuleFile::Sound));
    if (lines)
        lists.SoundLines = std::move(*lines);
    defaultIfMissing(lists.SoundLines, 0, paths.defaultReminderSound());
    defaultIfMissing(lists.SoundLines, 1, paths.defaultShutdownSound());
    return lines.has_value();
}

void checkSoundFiles(LoadReport& report, const ProgramPaths& paths) {
    std::optional<Lines> lines;
    try {
        lines = readLines(paths.soundFile(), paths.folder());
    } catch (const FileError& error) {
        report.unreadable(error);
        return;
    }
    if (!lines)
        return;
    const char* const kinds[] = {"reminder", "shutdown"};
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        const std::string& entry = lineAt(*lines, static_cast<std::ptrdiff_t>(i));
        if (tooLargeToPlay(entry))
            report.add(paths.soundFile().string() + ": the " + kinds[i] + " sound " + entry +
                       " is larger than " + std::to_string(kMaxSoundFileBytes / (1024 * 1024)) +
                       " MiB and is not played; the default sound is.");
    }
}

void saveSound(RuleLists& lists, const ProgramPaths& paths) {
    writeLines(paths.soundFile(), {lineAt(lists.SoundLines, 0), lineAt(lists.SoundLines, 1)}, paths.folder());
    loadSound(lists, paths);
}

} // namespace tallowby::store
