#include "platform/linux/xdg_desktop_entries.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>
#include <tuple>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "os/files.h"
#include "platform/user_folders.h"

namespace tallowby::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kEntryGroup = "[Desktop Entry]";
constexpr std::string_view kSuffix = ".desktop";
// A menu tree deeper or larger than this is no menu tree; the rest is left unread.
constexpr int kDeepestFolder = 8;
constexpr std::size_t kMostFiles = 20000;
// A folder changed less than this long ago may change again without its time moving on.
constexpr std::int64_t kSettleNs = 2'000'000'000;

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

std::int64_t nowNs() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The escapes of a string value: \s, \n, \t, \r and \\.
std::string unescaped(std::string_view value) {
    std::string text;
    text.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's':
            text += ' ';
            break;
        case 'n':
            text += '\n';
            break;
        case 't':
            text += '\t';
            break;
        case 'r':
            text += '\r';
            break;
        case '\\':
            text += '\\';
            break;
        // Not a string escape: left for the Exec quoting rules, which read \" inside quotes.
        default:
            text += '\\';
            text += value[i];
            break;
        }
    }
    return text;
}

bool isTrue(std::string_view value) {
    return value == "true" || value == "1";
}

std::string fileNameOf(const std::string& word) {
    const auto slash = word.find_last_of('/');
    return slash == std::string::npos ? word : word.substr(slash + 1);
}

} // namespace

// Single quotes are not in the desktop entry rules but appear in hand-written files.
std::vector<std::string> execWords(std::string_view exec, std::size_t most) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (words.size() < most) {
        while (i < exec.size() && (exec[i] == ' ' || exec[i] == '\t'))
            ++i;
        if (i == exec.size())
            break;
        std::string word;
        while (i < exec.size() && exec[i] != ' ' && exec[i] != '\t') {
            const char c = exec[i++];
            if (c == '"') {
                while (i < exec.size() && exec[i] != '"') {
                    if (exec[i] == '\\' && i + 1 < exec.size())
                        ++i;
                    word += exec[i++];
                }
                ++i; // the closing quote
            } else if (c == '\'') {
                while (i < exec.size() && exec[i] != '\'')
                    word += exec[i++];
                ++i;
            } else if (c == '\\' && i < exec.size()) {
                word += exec[i++];
            } else {
                word += c;
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::size_t programWordIndex(const std::vector<std::string>& words) {
    std::size_t at = 0;
    if (at < words.size() && fileNameOf(words[at]) == "env") {
        ++at;
        while (at < words.size()) {
            const std::string& word = words[at];
            if (word == "-u" || word == "--unset" || word == "-C" || word == "--chdir")
                at += 2;
            else if (word.starts_with('-') || word.find('=') != std::string::npos)
                ++at;
            else
                break;
        }
    }
    return std::min(at, words.size());
}

namespace {

// The word naming the program Exec runs, past "env", its options and VAR=value settings.
std::string programWord(std::string_view exec) {
    // Enough for "env -u A -u B X=1 Y=2 program" and the like; a longer prefix is not a launcher's.
    const std::vector<std::string> words = execWords(exec, 32);
    const std::size_t at = programWordIndex(words);
    return at < words.size() ? words[at] : std::string();
}

bool listsCategory(std::string_view categories, std::string_view wanted) {
    while (!categories.empty()) {
        const auto end = categories.find(';');
        if (trimmed(categories.substr(0, end)) == wanted)
            return true;
        if (end == std::string_view::npos)
            break;
        categories.remove_prefix(end + 1);
    }
    return false;
}

// The folder lies where reading a file can do something else than give its text.
bool specialFolder(const fs::path& folder) {
    std::error_code error;
    const std::string real = fs::canonical(folder, error).string();
    if (error)
        return true;
    return std::ranges::any_of(
        std::initializer_list<std::string_view>{"/dev", "/proc", "/sys"}, [&real](std::string_view root) {
            return real.starts_with(root) && (real.size() == root.size() || real[root.size()] == '/');
        });
}

// The text of a regular file no larger than the limit; nothing for anything else. A link is
// followed, but a device, a pipe or a socket it leads to is never opened.
std::optional<std::string> smallFileText(const fs::path& file) {
    try {
        if (std::optional<os::RegularFile> read = os::readRegularFile(file, XdgDesktopEntries::kLargestEntry);
            read && !read->bytes.empty())
            return std::move(read->bytes);
    } catch (const os::FileError&) {
    }
    return std::nullopt;
}

struct FoundFile {
    std::string id;
    fs::path path;
};

} // namespace

namespace {

// "Name[de_DE]" with "de_DE" among the languages: the key's translation the user reads.
bool translationOf(std::string_view key, std::string_view base, const std::vector<std::string>& languages) {
    if (!key.starts_with(base) || key.size() < base.size() + 3 || key[base.size()] != '[' ||
        !key.ends_with(']'))
        return false;
    const std::string_view language = key.substr(base.size() + 1, key.size() - base.size() - 2);
    return std::ranges::find(languages, language) != languages.end();
}

void addMenuName(std::vector<std::string>& names, std::string name) {
    if (!name.empty() && std::ranges::find(names, name) == names.end())
        names.push_back(std::move(name));
}

} // namespace

ParsedDesktopEntry parseDesktopEntry(std::string_view text, const std::vector<std::string>& languages) {
    ParsedDesktopEntry parsed;
    std::vector<std::string> translatedNames;
    std::string genericName;
    std::vector<std::string> translatedGenericNames;
    std::set<std::string, std::less<>> seenKeys;
    bool inGroup = false;
    bool groupDone = false;
    while (!text.empty() && !groupDone) {
        const auto end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.starts_with('[')) {
            // Only the first [Desktop Entry] group counts; the actions' groups follow it.
            groupDone = inGroup;
            inGroup = line == kEntryGroup;
            continue;
        }
        const auto equals = line.find('=');
        if (!inGroup || line.starts_with('#') || equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (!seenKeys.emplace(key).second)
            continue;
        DesktopEntry& entry = parsed.entry;
        if (key == "Type") {
            parsed.type = unescaped(value);
        } else if (key == "Name") {
            entry.name = unescaped(value);
        } else if (key == "GenericName") {
            genericName = unescaped(value);
        } else if (translationOf(key, "Name", languages)) {
            translatedNames.push_back(unescaped(value));
        } else if (translationOf(key, "GenericName", languages)) {
            translatedGenericNames.push_back(unescaped(value));
        } else if (key == "Exec") {
            entry.programPath = programWord(unescaped(value));
            entry.program = fileNameOf(entry.programPath);
        } else if (key == "StartupWMClass") {
            entry.startupWmClass = unescaped(value);
        } else if (key == "Terminal") {
            entry.terminal = isTrue(value);
        } else if (key == "Categories") {
            entry.terminalEmulator = listsCategory(value, "TerminalEmulator");
        } else if (key == "NoDisplay") {
            entry.shown = !isTrue(value);
        } else if (key == "Hidden") {
            parsed.hidden = isTrue(value);
        }
    }
    std::vector<std::string>& names = parsed.entry.menuNames;
    addMenuName(names, parsed.entry.name);
    for (std::string& name : translatedNames)
        addMenuName(names, std::move(name));
    addMenuName(names, std::move(genericName));
    for (std::string& name : translatedGenericNames)
        addMenuName(names, std::move(name));
    return parsed;
}

XdgDesktopEntries::XdgDesktopEntries(std::vector<fs::path> dataFolders, std::vector<std::string> languages)
    : dataFolders_(std::move(dataFolders)), languages_(std::move(languages)) {}

std::vector<std::string> XdgDesktopEntries::userLanguages() {
    std::vector<std::string> settings;
    const auto setting = [](const char* variable) {
        const char* value = std::getenv(variable);
        return std::string(value != nullptr ? value : "");
    };
    std::string list = setting("LANGUAGE");
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (std::string value = setting(variable); !value.empty()) {
            // LANGUAGE counts only beside a locale that is not C, as gettext reads it.
            if (value == "C" || value == "POSIX" || value.starts_with("C."))
                return {};
            list += ":" + value;
            break;
        }
    std::vector<std::string> languages;
    const auto add = [&languages](std::string language) {
        if (!language.empty() && std::ranges::find(languages, language) == languages.end())
            languages.push_back(std::move(language));
    };
    std::string_view rest = list;
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        std::string locale(rest.substr(0, colon));
        rest.remove_prefix(colon == std::string_view::npos ? rest.size() : colon + 1);
        std::string modifier;
        if (const auto at = locale.find('@'); at != std::string::npos) {
            modifier = locale.substr(at);
            locale.resize(at);
        }
        if (const auto dot = locale.find('.'); dot != std::string::npos)
            locale.resize(dot);
        const std::string language = locale.substr(0, locale.find('_'));
        if (!modifier.empty())
            add(locale + modifier);
        add(locale);
        if (!modifier.empty())
            add(language + modifier);
        add(language);
    }
    return languages;
}

std::vector<fs::path> XdgDesktopEntries::dataFolders() {
    std::vector<fs::path> folders;
    const auto add = [&folders](const fs::path& folder) {
        if (folder.is_absolute() && std::ranges::find(folders, folder) == folders.end())
            folders.push_back(folder);
    };
    add(UserFolders::fromEnvironment().dataFolder());
    const char* set = std::getenv("XDG_DATA_DIRS");
    std::string_view dirs = set != nullptr && *set != '\0' ? set : "/usr/local/share/:/usr/share/";
    while (!dirs.empty()) {
        const auto colon = dirs.find(':');
        add(fs::path(dirs.substr(0, colon)).lexically_normal());
        if (colon == std::string_view::npos)
            break;
        dirs.remove_prefix(colon + 1);
    }
    return folders;
}

const std::vector<DesktopEntry>& XdgDesktopEntries::applications() {
    if (unsettled_ || changed())
        read();
    return applications_;
}

bool XdgDesktopEntries::changed() const {
    return std::ranges::any_of(stamps_, [](const FolderStamp& stamp) {
        struct stat status {};
        if (::stat(stamp.folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
            return stamp.inode != 0;
        return status.st_dev != stamp.device || status.st_ino != stamp.inode ||
               nanoseconds(status.st_mtim) != stamp.modifiedNs;
    });
}

void XdgDesktopEntries::read() {
    ++readings_;
    stamps_.clear();
    applications_.clear();
    const std::int64_t startedNs = nowNs();
    unsettled_ = false;
    // An id is decided by the first data folder that has it, whatever that file says.
    std::set<std::string, std::less<>> decided;
    std::size_t filesSeen = 0;
    for (const fs::path& dataFolder : dataFolders_) {
        const fs::path top = dataFolder / "applications";
        std::vector<FoundFile> files;
        // Folders to look into with their id prefix and depth.
        std::vector<std::tuple<fs::path, std::string, int>> pending;
        struct stat status {};
        if (::stat(top.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
            stamps_.push_back({top});
            continue;
        }
        if (specialFolder(top)) {
            stamps_.push_back({top, status.st_dev, status.st_ino, nanoseconds(status.st_mtim)});
            continue;
        }
        pending.emplace_back(top, "", 0);
        while (!pending.empty()) {
            auto [folder, prefix, depth] = std::move(pending.back());
            pending.pop_back();
            if (::stat(folder.c_str(), &status) != 0)
                continue;
            stamps_.push_back({folder, status.st_dev, status.st_ino, nanoseconds(status.st_mtim)});
            // A time far ahead of the clock is no risk: the next change sets the folder's time to now.
            const std::int64_t modified = nanoseconds(status.st_mtim);
            unsettled_ = unsettled_ || (modified > startedNs - kSettleNs && modified < startedNs + kSettleNs);
            std::error_code error;
            for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error), end;
                 !error && it != end && filesSeen < kMostFiles; it.increment(error)) {
                ++filesSeen;
                const std::string name = it->path().filename().string();
                std::error_code typeError;
                // A linked folder is not entered: it could lead in a circle or out of the tree.
                if (it->is_directory(typeError) && !it->is_symlink(typeError)) {
                    if (depth < kDeepestFolder)
                        pending.emplace_back(it->path(), prefix + name + "-", depth + 1);
                } else if (name.size() > kSuffix.size() && name.ends_with(kSuffix)) {
                    files.push_back({prefix + name.substr(0, name.size() - kSuffix.size()), it->path()});
                }
            }
        }
        // The same order on every reading, whatever order the folders list their files in.
        std::ranges::sort(files, {}, &FoundFile::path);
        for (const FoundFile& file : files) {
            if (decided.contains(file.id))
                continue;
            const std::optional<std::string> text = smallFileText(file.path);
            if (!text)
                continue;
            decided.insert(file.id);
            ParsedDesktopEntry parsed = parseDesktopEntry(*text, languages_);
            if (parsed.hidden || parsed.type != "Application")
                continue;
            parsed.entry.id = file.id;
            applications_.push_back(std::move(parsed.entry));
        }
    }
}

} // namespace tallowby::platform
