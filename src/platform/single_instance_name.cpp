// The lock's name, the same on every system: a program folder gives the same name however its path
// is spelled.
#include <cinttypes>
#include <cstdio>

#include "os/path_text.h"
#include "platform/single_instance.h"

namespace tallowby::platform {
namespace {

// The same folder must give the same name however it was spelled ("dir/", "dir/../dir", a link).
std::string normalisedFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::weakly_canonical(folder, error);
    if (error)
        path = folder.lexically_normal();
    std::string text = os::utf8Of(path);
    while (text.size() > 1 &&
           (text.back() == '/' || text.back() == char(std::filesystem::path::preferred_separator)))
        text.pop_back();
    return text;
}

std::uint64_t fnv1a64(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

} // namespace

std::string SingleInstance::nameFor(std::string_view title, const std::filesystem::path& programFolder) {
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016" PRIx64, fnv1a64(normalisedFolder(programFolder)));
    return std::string(title) + "-" + digest;
}

} // namespace tallowby::platform
