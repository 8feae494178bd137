#include "program_folder.h"

#include <algorithm>

#include "ico_file.h"
#include "icon_art.h"
#include "store/profile_defaults.h"
#include "store/program_paths.h"
#include "wav_synth.h"

namespace tallowby::tools {
namespace {

class FolderWriter {
  public:
    std::vector<std::filesystem::path> written;

    void linesIfMissing(const std::filesystem::path& path, const store::Lines& lines) {
        if (std::filesystem::exists(path))
            return;
        store::writeLines(path, lines);
        written.push_back(path);
    }

    void bytes(const std::filesystem::path& path, const std::string& content) {
        std::filesystem::create_directories(path.parent_path());
        store::replaceFileContents(path, content);
        written.push_back(path);
    }
};

std::string iconFile(IconState state) {
    return icoBytes({drawIcon(state, 64), drawIcon(state, 32), drawIcon(state, 16)});
}

} // namespace

store::Lines firstRunConfig() {
    return {kFirstProfile, "0", "0", "1", "1", "1", "1", "10", "0", "1", "0", "2", "1", "0", "0"};
}

std::vector<std::filesystem::path> layOutProgramFolder(const std::filesystem::path& folder) {
    const store::ProgramPaths paths(folder);
    std::filesystem::create_directories(paths.profilesFolder());
    FolderWriter writer;
    writer.linesIfMissing(paths.configFile(), firstRunConfig());
    writer.linesIfMissing(paths.profileListFile(), {kFirstProfile});

    const store::Lines profiles = store::readLines(paths.profileListFile()).value_or(store::Lines{});
    if (std::find(profiles.begin(), profiles.end(), kFirstProfile) != profiles.end()) {
        writer.linesIfMissing(paths.wholeDayFile(kFirstProfile), store::newWholeDayLines());
        writer.linesIfMissing(paths.sessionFile(kFirstProfile), store::newSessionLines());
        writer.linesIfMissing(paths.reminderFile(kFirstProfile), store::newReminderLines());
    }

    writer.bytes(paths.defaultReminderSound(), reminderChimeWav());
    writer.bytes(paths.defaultShutdownSound(), shutdownAlarmWav());
    writer.bytes(paths.runningIcon(), iconFile(IconState::Running));
    writer.bytes(paths.stoppedIcon(), iconFile(IconState::Stopped));
    return writer.written;
}

} // namespace tallowby::tools
