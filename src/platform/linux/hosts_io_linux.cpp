// The hosts writer's operations of Linux's own: the mount table of /proc, the user and the machine.
#include "platform/hosts_io.h"

#include <climits>
#include <fstream>
#include <unistd.h>

namespace tallowby::platform::hosts_io {

namespace {

// Undoes the octal escapes (\040 for a space and so on) of a path in /proc/self/mountinfo.
std::string unescapeMountPath(std::string_view field) {
    std::string path;
    path.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string_view digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string_view::npos) {
                path += static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 + (digits[2] - '0'));
                i += 3;
                continue;
            }
        }
        path += field[i];
    }
    return path;
}

// The fifth field of a mountinfo line is the mount point.
std::string mountPointOf(const std::string& line) {
    std::size_t start = 0;
    for (int field = 0; field < 4; ++field) {
        start = line.find(' ', start);
        if (start == std::string::npos)
            return {};
        ++start;
    }
    const std::size_t end = line.find(' ', start);
    return unescapeMountPath(std::string_view(line).substr(start, end - start));
}

} // namespace

std::string thisUser() {
    return std::to_string(::getuid());
}

std::string machineName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

bool isMountPoint(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::canonical(path, error);
    if (error)
        return false;
    std::ifstream mounts("/proc/self/mountinfo");
    for (std::string line; std::getline(mounts, line);) {
        if (mountPointOf(line) == absolute.native())
            return true;
    }
    return false;
}

} // namespace tallowby::platform::hosts_io
