#pragma once
// Plain text-line files: every rule file, the configuration and the lists are stored this way.
// Bytes are kept exactly as they are; only the line ends are interpreted.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::store {

using Lines = std::vector<std::string>;

// CR, LF and CR LF each end a line; a line break at the very end adds no empty line.
Lines splitLines(std::string_view bytes);

// Every line followed by CR LF.
std::string joinLines(const Lines& lines);

// A file that could not be read or written. what() is the system's description of the failure,
// for showing to the user; path() names the file; code() is the errno behind it (0 when none).
class FileError : public std::runtime_error {
  public:
    FileError(std::filesystem::path path, const std::string& description, int code = 0);
    const std::filesystem::path& path() const { return path_; }
    int code() const { return code_; }

  private:
    std::filesystem::path path_;
    int code_;
};

// "Could not <action> <path>: <reason>.": a failure in words that name the file and what was
// being done to it, never the bare reason.
std::string describeFailure(std::string_view action, const FileError& error);

// The file's lines, or nothing when no file exists at the path. Throws FileError when it exists but
// cannot be read.
std::optional<Lines> readLines(const std::filesystem::path& path);

// Replaces the file with exactly these lines (CR LF ends). A complete temporary file is written
// beside the old one and renamed over it, so a failed or interrupted write leaves the previous file
// intact. Throws FileError.
void writeLines(const std::filesystem::path& path, const Lines& lines);

// The same replacement for arbitrary bytes; keeps the owner and mode of a file that is replaced (the
// owner only where the caller may give files away) and gives a new file 0666 less the umask. A link
// is followed: its target gets the contents. A file that is a mount point cannot be renamed over and
// is rewritten in place instead, the one case in which a failed write can leave it partly written.
void replaceFileContents(const std::filesystem::path& path, std::string_view bytes);

// Writes the bytes over an existing file's content through the same inode: one write of the bytes
// with NUL bytes over whatever old bytes run on beyond them, then truncate to the new length, then
// flush to the disk. Not atomic, but a process killed between the steps leaves the old bytes, the
// new ones, or the new ones followed by NUL bytes (never old lines after new ones, never a file cut
// short). The path names the file itself: a link, a named pipe or any other kind of file that is not
// a regular file is refused. Only for files that cannot be replaced, such as a mounted file.
void rewriteFileInPlace(const std::filesystem::path& path, std::string_view bytes);

} // namespace tallowby::store
