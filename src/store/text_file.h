#pragma once
// Plain text-line files: every rule file, the configuration and the lists are stored this way.
// Bytes are kept exactly as they are; only the line ends are interpreted.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/files.h"

namespace tallowby::store {

using Lines = std::vector<std::string>;

// CR, LF and CR LF each end a line; a line break at the very end adds no empty line.
Lines splitLines(std::string_view bytes);

// Every line followed by CR LF.
std::string joinLines(const Lines& lines);

// A file that could not be read or written: the floor's error, as every reader and writer of the
// store throws it.
using os::FileError;

// "Could not <action> <path>: <reason>.": a failure in words that name the file and what was
// being done to it, never the bare reason.
std::string describeFailure(std::string_view action, const FileError& error);

// The file's lines, or nothing when no file exists at the path. Throws FileError when it exists but
// cannot be read: when it is no regular file (a link, a named pipe, a device), or larger than a rule
// file may be (kMaxRuleFileBytes), it is not read at all. A folder is no file: nothing. root is the
// data folder the file lies in (empty: its own folder): no link on the way from it is followed
// (the floor's readOwnFile). stamp, where given, receives the stamp of the file read (nothing when
// none was there).
std::optional<Lines> readLines(const std::filesystem::path& path, const std::filesystem::path& root = {},
                               std::optional<os::FileStamp>* stamp = nullptr);

// Replaces the file with exactly these lines (CR LF ends). A complete temporary file is written
// beside the old one and renamed over it, so a failed or interrupted write leaves the previous file
// intact. Only a regular file in the data folder is replaced, never through a link (the floor's
// replaceOwnFile). Throws FileError.
void writeLines(const std::filesystem::path& path, const Lines& lines,
                const std::filesystem::path& root = {});

// The same replacement for arbitrary bytes, and the rewrite in place for a file that cannot be
// replaced (see the floor's os/files.h).
using os::replaceFileContents;
using os::rewriteFileInPlace;

} // namespace tallowby::store
