#include "platform/system/default_files.h"

#include <cerrno>
#include <string>
#include <system_error>

#include "os/files.h"
#include "store/profile_files.h"
#include "store/program_paths.h"
#include "store/rule_limits.h"
#include "store/text_file.h"

namespace tallowby::platform {
namespace {

namespace fs = std::filesystem;

std::string fileBytes(const fs::path& file) {
    std::optional<os::RegularFile> read = os::readRegularFile(file, store::kMaxRuleFileBytes);
    if (!read)
        os::throwFileError(file, ENOENT);
    return std::move(read->bytes);
}

bool present(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

class Filler {
  public:
    Filler(const fs::path& defaults, const fs::path& data) : defaults_(defaults), data_(data) {}

    void copyIfMissing(const fs::path& relative) {
        const fs::path target = data_ / relative;
        if (present(target))
            return;
        const std::string bytes = fileBytes(defaults_ / relative);
        os::makePrivateFolders(target.parent_path());
        // The replacement writes a whole temporary file and renames it into place. Under the lock
        // nobody else can have made the file since the look above; a link put on the way is refused.
        os::replaceOwnFile(data_, target, bytes);
        copied_.push_back(relative);
    }

    std::vector<fs::path> copied() && { return std::move(copied_); }

  private:
    fs::path defaults_;
    fs::path data_;
    std::vector<fs::path> copied_;
};

} // namespace

std::vector<fs::path> fillWithDefaults(const fs::path& defaultsFolder, const fs::path& dataFolder) {
    os::makePrivateFolders(dataFolder);
    Filler filler(defaultsFolder, dataFolder);
    // Relative names, the same in both folders.
    const store::ProgramPaths in({});

    // An installation without its folder would leave the program without rules to read.
    std::error_code error;
    if (!fs::is_directory(defaultsFolder, error))
        throw store::FileError(defaultsFolder, "the installation's folder of default files is not there",
                               error ? error.value() : ENOENT);
    // Only the files the user changes: the help page, the sounds and the icons are read from the
    // installation, so that an upgrade reaches every user.
    for (const fs::path& file : {in.configFile(), in.profileListFile(), in.soundFile()}) {
        if (present(defaultsFolder / file))
            filler.copyIfMissing(file);
    }

    // By now the data folder has a profile list: the user's own, or the installation's. One that is
    // not a regular file (a link, say) is told by the window once it is there, and lists nothing here.
    store::Lines profiles;
    try {
        profiles = store::readLines(dataFolder / in.profileListFile(), dataFolder).value_or(store::Lines{});
    } catch (const store::FileError&) {
    }
    for (const std::string& profile : profiles) {
        // A list line that could not be a profile's file name would reach outside the profiles folder.
        if (profile.empty() || store::profileNameReadFailure(profile))
            continue;
        for (const fs::path& file : store::profileFiles(in, profile)) {
            if (!present(defaultsFolder / file))
                continue;
            // A profiles folder that is a link out of the data folder gets nothing; the window tells
            // of the files it cannot read there.
            try {
                filler.copyIfMissing(file);
            } catch (const store::FileError& error) {
                if (error.code() != 0)
                    throw;
            }
        }
    }
    return std::move(filler).copied();
}

} // namespace tallowby::platform
