#include "store/text_file.h"

#include <cerrno>

#include "store/rule_limits.h"

namespace tallowby::store {

std::string describeFailure(std::string_view action, const FileError& error) {
    return "Could not " + std::string(action) + " " + error.path().string() + ": " + error.what() + ".";
}

std::optional<Lines> readLines(const std::filesystem::path& path, const std::filesystem::path& root,
                               std::optional<os::FileStamp>* stamp) {
    try {
        const std::optional<os::RegularFile> file = os::readOwnFile(root, path, kMaxRuleFileBytes);
        if (stamp != nullptr)
            *stamp = file ? std::optional(file->stamp) : std::nullopt;
        if (!file)
            return std::nullopt;
        return splitLines(file->bytes);
    } catch (const FileError& error) {
        // A folder is not a file: this happens for the whole-day file of a profile with an empty
        // name, whose path is the profiles folder itself. The start-up report tells of a folder in a
        // rule file's place (checkLoadedLists).
        if (error.code() == EISDIR) {
            if (stamp != nullptr)
                *stamp = std::nullopt;
            return std::nullopt;
        }
        throw;
    }
}

void writeLines(const std::filesystem::path& path, const Lines& lines, const std::filesystem::path& root) {
    os::replaceOwnFile(root, path, joinLines(lines));
}

} // namespace tallowby::store
