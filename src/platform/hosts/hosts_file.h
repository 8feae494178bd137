#pragma once
// The system hosts file, through which the listed websites are made to resolve to this machine.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::platform {

// The line end of the system's own text files, for the program's lines (the path of the hosts file
// is in SystemPaths).
std::string_view nativeLineEnd();

class HostsFile {
  public:
    // 0 when new files can be made and renamed in the folder, else the errno that refuses them.
    using FolderProbe = std::function<int(const std::filesystem::path& folder)>;

    // lineEnd ends the program's own lines; the user's lines keep theirs.
    HostsFile(std::filesystem::path path, std::string lineEnd);

    // Makes the program's block hold the localhost line and one line per site, in order; the rest
    // of the file stays as it is. A missing file is created. The file is replaced atomically, or,
    // where its folder refuses new files or the file is a mount point, rewritten in place. Throws
    // store::FileError with the system's description when the file cannot be read or written; the
    // file then keeps its old content.
    void write(const std::vector<std::string>& sites) const;

    const std::filesystem::path& path() const { return path_; }

    // Lets tests reach the in-place route without a folder that really refuses files.
    void setFolderProbe(FolderProbe probe) { folderProbe_ = std::move(probe); }

  private:
    std::filesystem::path path_;
    std::string lineEnd_;
    FolderProbe folderProbe_;
};

} // namespace tallowby::platform
