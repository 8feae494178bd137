#pragma once
// The installed applications, read from the desktop entries in the XDG data folders'
// applications/ folders, as the desktop's menus read them.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <sys/types.h>

#include "platform/desktop_entries.h"

namespace tallowby::platform {

class XdgDesktopEntries : public DesktopEntries {
  public:
    // A file larger than this is no desktop entry; it is not read.
    static constexpr std::uintmax_t kLargestEntry = 256 * 1024;

    // The data folders in order of precedence, each holding an applications/ folder; the menu names
    // are read in the languages given ("de_DE", "de"), as userLanguages() gives them.
    explicit XdgDesktopEntries(std::vector<std::filesystem::path> dataFolders,
                               std::vector<std::string> languages = userLanguages());

    // The user's data folder ($XDG_DATA_HOME, else ~/.local/share), then the system's
    // ($XDG_DATA_DIRS, else /usr/local/share and /usr/share); relative paths are left out, as the
    // base directory rules ask.
    static std::vector<std::filesystem::path> dataFolders();

    // The user's languages as desktop entries name their translations, most specific first:
    // "de_DE@euro", "de_DE", "de@euro", "de" for LANG=de_DE.UTF-8@euro; from $LANGUAGE, else
    // $LC_ALL, $LC_MESSAGES or $LANG. None for the C locale.
    static std::vector<std::string> userLanguages();

    // Looks at each applications folder and its subfolders (one stat each) and reads the entries
    // again only when one of them changed.
    const std::vector<DesktopEntry>& applications() override;

    // How often the entries were read, for the tests of the look before reading.
    int readings() const override { return readings_; }

  private:
    // What a folder looked like when the entries were read; a missing folder has inode 0.
    struct FolderStamp {
        std::filesystem::path folder;
        dev_t device = 0;
        ino_t inode = 0;
        std::int64_t modifiedNs = 0;
    };

    bool changed() const;
    void read();

    std::vector<std::filesystem::path> dataFolders_;
    std::vector<std::string> languages_;
    std::vector<FolderStamp> stamps_;
    // A folder changed too recently to trust its time: one more change within the file system's
    // clock step would leave the time as it is, so the next call reads again.
    bool unsettled_ = true;
    std::vector<DesktopEntry> applications_;
    int readings_ = 0;
};

// One desktop entry's text as far as the program uses it: the keys of its [Desktop Entry] group.
// The id is left to the caller, who knows the file's place.
struct ParsedDesktopEntry {
    DesktopEntry entry;
    std::string type;
    bool hidden = false;
};
ParsedDesktopEntry parseDesktopEntry(std::string_view text, const std::vector<std::string>& languages = {});

// The words of an Exec line (or of a shell command), up to `most`: separated by spaces, a quoted
// one may hold spaces and backslash-escaped quotes; single quotes are read as a shell reads them.
std::vector<std::string> execWords(std::string_view exec, std::size_t most);

// The index of the word naming the program a command runs, past "env", its options and
// VAR=value settings; words.size() when there is none.
std::size_t programWordIndex(const std::vector<std::string>& words);

} // namespace tallowby::platform
