#pragma once
// The temporary files that safe replacement writes beside a file are renamed into place or removed
// by the writer; a writer that was killed leaves its file behind for good. Those are removed at
// start: only regular files of this user, of exactly a temporary name's shape, last written before
// the given time, so no write under way (of another program sharing the folder) loses its file.
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "os/temporary_name.h"

namespace tallowby::store {

// The name safe replacement gives its temporary file for the file called name (see the floor's
// os/temporary_name.h).
using os::kTemporarySeparator;
using os::kTemporarySuffixLength;
using os::temporaryName;

// Whether entry is a temporary file of the file called name (any file when name is empty), in the
// current shape or in the shape earlier versions wrote: "." + name + "." + the suffix.
bool isTemporaryNameOf(std::string_view entry, std::string_view name);

// Removes the stale temporary files in folder that belong to the file called name; returns how
// many. Failures are ignored: a file left over does no harm.
int removeStaleTemporaries(const std::filesystem::path& folder, std::string_view name,
                           std::chrono::system_clock::time_point before);

// The same for the profiles folder, where the files of the listed profiles stay whatever they are
// named: any file's temporary in the current shape goes, one in the earlier shape only when it
// belongs to a listed profile's file (".study.Summer" is the whole-day file of the profile of that
// name, not a temporary file of "study", unless "study" is a profile too).
int removeStaleProfileTemporaries(const std::filesystem::path& folder,
                                  const std::vector<std::string>& profiles,
                                  std::chrono::system_clock::time_point before);

} // namespace tallowby::store
