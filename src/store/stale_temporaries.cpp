#include "store/stale_temporaries.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <string>
#include <system_error>

#include "os/files.h"
#include "os/path_text.h"

namespace tallowby::store {
namespace {

// Earlier versions put a dot before the suffix, which a profile's own file can have too.
constexpr char kOldSeparator = '.';

bool isSuffixChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// The name of the file entry is a temporary of, when it has the shape with this separator.
std::optional<std::string_view> stemOf(std::string_view entry, char separator) {
    if (entry.size() < 3 + kTemporarySuffixLength || entry.front() != '.')
        return std::nullopt;
    const std::string_view suffix = entry.substr(entry.size() - kTemporarySuffixLength);
    if (!std::ranges::all_of(suffix, isSuffixChar) ||
        entry[entry.size() - kTemporarySuffixLength - 1] != separator)
        return std::nullopt;
    return entry.substr(1, entry.size() - kTemporarySuffixLength - 2);
}

bool isKeptNameOf(std::string_view stem, std::string_view name) {
    return stem == name.substr(0, os::kTemporaryNameKept);
}

int removeStale(const std::filesystem::path& folder, std::chrono::system_clock::time_point before,
                const std::function<bool(std::string_view)>& isTemporary) {
    const auto beforeNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::duration_cast<std::chrono::seconds>(before.time_since_epoch()))
                              .count();
    int removed = 0;
    for (const std::string& name : os::listFolder(folder)) {
        if (!isTemporary(name))
            continue;
        const std::filesystem::path file = folder / os::pathFromUtf8(name);
        const std::optional<os::FileInfo> info = os::fileInfo(file);
        if (!info || info->kind != os::FileKind::Regular || !info->ownedByMe ||
            info->stamp.modifiedNs >= beforeNs)
            continue;
        std::error_code error;
        if (std::filesystem::remove(file, error))
            ++removed;
    }
    return removed;
}

} // namespace

bool isTemporaryNameOf(std::string_view entry, std::string_view name) {
    for (const char separator : {kTemporarySeparator, kOldSeparator}) {
        const std::optional<std::string_view> stem = stemOf(entry, separator);
        if (stem && (name.empty() ? !stem->empty() : isKeptNameOf(*stem, name)))
            return true;
    }
    return false;
}

int removeStaleTemporaries(const std::filesystem::path& folder, std::string_view name,
                           std::chrono::system_clock::time_point before) {
    return removeStale(folder, before,
                       [name](std::string_view entry) { return isTemporaryNameOf(entry, name); });
}

int removeStaleProfileTemporaries(const std::filesystem::path& folder,
                                  const std::vector<std::string>& profiles,
                                  std::chrono::system_clock::time_point before) {
    // A profiles folder that is a link leads out of the data folder: nothing there is the program's.
    if (const auto info = os::fileInfo(folder, os::Links::NotFollowed);
        !info || info->kind != os::FileKind::Folder)
        return 0;
    std::vector<std::string> owned;
    for (const std::string& profile : profiles) {
        if (profile.empty())
            continue;
        for (const char* ending : {"", ".db", ".rem"})
            owned.push_back(profile + ending);
    }
    const auto ownedFile = [&owned](std::string_view entry) {
        return std::ranges::find(owned, entry) != owned.end();
    };
    return removeStale(folder, before, [&](std::string_view entry) {
        if (ownedFile(entry))
            return false;
        if (const auto stem = stemOf(entry, kTemporarySeparator))
            return !stem->empty();
        const auto stem = stemOf(entry, kOldSeparator);
        return stem &&
               std::ranges::any_of(owned, [&](const std::string& file) { return isKeptNameOf(*stem, file); });
    });
}

} // namespace tallowby::store
