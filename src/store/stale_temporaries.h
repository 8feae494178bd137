#pragma once
// The temporary files that safe replacement writes beside a file (".<name>.XXXXXX") are renamed
// into place or removed by the writer; a writer that was killed leaves its file behind for good.
// Those are removed at start: only regular files of this user, of exactly that name pattern, last
// written before the given time, so no write under way (of another program sharing the folder)
// loses its file.
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tallowby::store {

// The name safe replacement gives its temporary file for the file called name: "." + the first 200
// bytes of name (room for the rest within a 255-byte file name) + "." + a suffix of
// kTemporarySuffixLength letters or digits.
inline constexpr std::size_t kTemporarySuffixLength = 6;
std::string temporaryName(std::string_view name, std::string_view suffix);

// Whether entry is a temporary file of the file called name (any file when name is empty).
bool isTemporaryNameOf(std::string_view entry, std::string_view name);

// Removes the stale temporary files in folder that belong to the file called name (to any file when
// name is empty); returns how many. Failures are ignored: a file left over does no harm.
int removeStaleTemporaries(const std::filesystem::path& folder, std::string_view name,
                           std::chrono::system_clock::time_point before);

} // namespace tallowby::store
