#include "store/stale_temporaries.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "store/posix_io.h"

namespace tallowby::store {
namespace {

constexpr std::size_t kNameKept = 200;

bool isSuffixChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

} // namespace

std::string temporaryName(std::string_view name, std::string_view suffix) {
    return "." + std::string(name.substr(0, kNameKept)) + "." + std::string(suffix);
}

bool isTemporaryNameOf(std::string_view entry, std::string_view name) {
    if (entry.size() < 3 + kTemporarySuffixLength || entry.front() != '.')
        return false;
    const std::string_view suffix = entry.substr(entry.size() - kTemporarySuffixLength);
    if (!std::ranges::all_of(suffix, isSuffixChar) || entry[entry.size() - kTemporarySuffixLength - 1] != '.')
        return false;
    const std::string_view stem = entry.substr(1, entry.size() - kTemporarySuffixLength - 2);
    if (name.empty())
        return !stem.empty();
    return stem == name.substr(0, kNameKept);
}

int removeStaleTemporaries(const std::filesystem::path& folder, std::string_view name,
                           std::chrono::system_clock::time_point before) {
    posix_io::UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid())
        return 0;
    DIR* stream = ::fdopendir(::dup(dir.get()));
    if (stream == nullptr)
        return 0;
    const auto beforeSeconds =
        std::chrono::duration_cast<std::chrono::seconds>(before.time_since_epoch()).count();
    int removed = 0;
    while (const dirent* entry = ::readdir(stream)) {
        if (!isTemporaryNameOf(entry->d_name, name))
            continue;
        struct stat info {};
        if (::fstatat(dir.get(), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode) ||
            info.st_uid != ::geteuid() || info.st_mtim.tv_sec >= beforeSeconds)
            continue;
        if (::unlinkat(dir.get(), entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(stream);
    return removed;
}

} // namespace tallowby::store
