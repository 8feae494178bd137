#include "os/replace_file.h"

namespace tallowby::os {

void replaceFileContents(const std::filesystem::path& path, std::string_view bytes) {
    detail::replaceFile(path, bytes, nullptr);
}

bool replaceFileIfUnchanged(const std::filesystem::path& path, std::string_view bytes,
                            const FileStamp& expected) {
    return detail::replaceFile(path, bytes, &expected);
}

} // namespace tallowby::os
