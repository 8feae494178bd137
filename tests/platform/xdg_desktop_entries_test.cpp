// The installed applications read from desktop entries in data folders of the test's own, and from
// the machine's /usr/share where the packages the tests install put theirs.
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "platform/linux/xdg_desktop_entries.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace tallowby::platform {
namespace {

namespace fs = std::filesystem;
using testsupport::writeFile;

std::string entry(const std::string& keys) {
    return "# comment\n[Desktop Entry]\nType=Application\n" + keys + "\n[Desktop Action new]\nExec=other\n";
}

const DesktopEntry* find(const std::vector<DesktopEntry>& entries, const std::string& id) {
    for (const DesktopEntry& found : entries)
        if (found.id == id)
            return &found;
    return nullptr;
}

// Sets a folder's time an hour back, as a folder nobody touched for an hour, or ahead, as a folder
// unpacked from an archive made by a machine whose clock was fast.
void age(const fs::path& folder, int hours = -1) {
    fs::last_write_time(folder, fs::file_time_type::clock::now() + std::chrono::hours(hours));
}

class XdgDesktopEntriesTest : public testing::Test {
  protected:
    void write(const fs::path& dataFolder, const std::string& relative, const std::string& text) {
        const fs::path file = dataFolder / "applications" / relative;
        fs::create_directories(file.parent_path());
        writeFile(file, text);
    }

    testsupport::TempFolder temp;
    const fs::path user = temp / "home-share";
    const fs::path system = temp / "usr-share";
};

TEST_F(XdgDesktopEntriesTest, ReadsTheKeysOfEachEntryTheFirstFolderWinning) {
    write(user, "vlc.desktop", entry("Name=VLC\nHidden=true"));
    write(user, "mine.desktop", entry("Name = My Editor \nExec=\"/opt/My Apps/editor\" --new %F"));
    write(system, "vlc.desktop", entry("Name=VLC media player\nExec=/usr/bin/vlc"));
    write(system, "kde/konsole.desktop",
          entry("Name=Konsole\nName[de]=Konsole DE\nExec=konsole\nCategories=Qt;System;TerminalEmulator;\n"
                "StartupWMClass=konsole"));
    write(system, "firefox-esr.desktop", entry("Name=Firefox ESR\nExec=env MOZ_X=1 A=b firefox-esr %u"));
    write(system, "htop.desktop", entry("Name=Htop\nExec=htop\nTerminal=true\nNoDisplay=true"));
    // A literal backslash in a quoted argument is four in the file.
    write(system, "escaped.desktop", entry(R"(Name=Tab\sName
Exec="/opt/a \"b\"/run\\\\me" x)"));
    write(system, "link.desktop", "[Desktop Entry]\nType=Link\nName=Site\nURL=https://example.org\n");
    write(system, "env-u.desktop", entry("Name=E\nExec=/usr/bin/env -u HOME X=1 game"));
    write(system, "notes.txt", entry("Name=Not an entry"));
    write(system, "big.desktop", entry("Name=Big\n#" + std::string(300 * 1024, 'x')));
    ::mkfifo((system / "applications" / "pipe.desktop").c_str(), 0600);
    fs::create_symlink("/dev/zero", system / "applications" / "zero.desktop");
    fs::create_symlink(user / "applications" / "mine.desktop", system / "applications" / "again.desktop");

    XdgDesktopEntries entries({user, system, temp / "missing"});
    const std::vector<DesktopEntry>& found = entries.applications();
    // Hidden by the user's folder though the system's has it, a link, no entry, too big, a pipe,
    // a device: none is an application.
    for (const char* id : {"vlc", "link", "notes", "big", "pipe", "zero"})
        EXPECT_EQ(find(found, id), nullptr) << id;
    const struct {
        const char* id;
        const char* name;
        const char* program;
        const char* programPath;
        bool terminal, terminalEmulator, shown;
        const char* wmClass;
    } cases[] = {
        {"mine", "My Editor", "editor", "/opt/My Apps/editor", false, false, true, ""},
        {"again", "My Editor", "editor", "/opt/My Apps/editor", false, false, true, ""},
        {"kde-konsole", "Konsole", "konsole", "konsole", false, true, true, "konsole"},
        {"firefox-esr", "Firefox ESR", "firefox-esr", "firefox-esr", false, false, true, ""},
        {"htop", "Htop", "htop", "htop", true, false, false, ""},
        {"escaped", "Tab Name", "run\\me", "/opt/a \"b\"/run\\me", false, false, true, ""},
        {"env-u", "E", "game", "game", false, false, true, ""},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.id);
        const DesktopEntry* got = find(found, expected.id);
        ASSERT_NE(got, nullptr);
        EXPECT_EQ(got->name, expected.name);
        EXPECT_EQ(got->program, expected.program);
        EXPECT_EQ(got->programPath, expected.programPath);
        EXPECT_EQ(got->terminal, expected.terminal);
        EXPECT_EQ(got->terminalEmulator, expected.terminalEmulator);
        EXPECT_EQ(got->shown, expected.shown);
        EXPECT_EQ(got->startupWmClass, expected.wmClass);
    }
    EXPECT_EQ(found.size(), 7U);
}

TEST_F(XdgDesktopEntriesTest, ReadsAgainOnlyWhenAFolderChanged) {
    write(system, "a.desktop", entry("Name=A\nExec=a"));
    write(system, "sub/b.desktop", entry("Name=B\nExec=b"));
    age(system / "applications" / "sub");
    age(system / "applications", +1);
    XdgDesktopEntries entries({user, system});
    EXPECT_EQ(entries.applications().size(), 2U);
    EXPECT_EQ(entries.applications().size(), 2U);
    EXPECT_EQ(entries.readings(), 1);

    // A new file in a subfolder; a folder that did not exist yet, hiding a system entry.
    write(system, "sub/c.desktop", entry("Name=C\nExec=c"));
    EXPECT_EQ(entries.applications().size(), 3U);
    write(user, "a.desktop", entry("Name=A\nHidden=true"));
    EXPECT_EQ(entries.applications().size(), 2U);
    EXPECT_EQ(find(entries.applications(), "a"), nullptr);
    age(user / "applications");
    age(system / "applications" / "sub");
    entries.applications();
    const int readings = entries.readings();
    EXPECT_EQ(entries.applications().size(), 2U);
    EXPECT_EQ(entries.readings(), readings) << "nothing changed since";
}

// The names a person reads in the menu: Name, its translation into their language, GenericName and
// its translation; other languages' are not theirs.
TEST(DesktopEntryMenuNames, NameAndGenericNameInTheUsersLanguage) {
    const std::string text = entry("Name=Image Viewer\nName[de]=Bildbetrachter\nName[fr]=Visionneur\n"
                                   "GenericName=Viewer\nGenericName[de_DE]=Betrachter\nName[de_AT]=Bilder\n"
                                   "Exec=eog %U");
    const struct {
        std::vector<std::string> languages;
        std::vector<std::string> names;
    } cases[] = {
        {{}, {"Image Viewer", "Viewer"}},
        {{"de_DE", "de"}, {"Image Viewer", "Bildbetrachter", "Viewer", "Betrachter"}},
        {{"de_AT", "de"}, {"Image Viewer", "Bildbetrachter", "Bilder", "Viewer"}},
        {{"fr"}, {"Image Viewer", "Visionneur", "Viewer"}},
    };
    for (const auto& [languages, names] : cases)
        EXPECT_EQ(parseDesktopEntry(text, languages).entry.menuNames, names)
            << testing::PrintToString(languages);
    EXPECT_EQ(parseDesktopEntry(entry("Exec=x")).entry.menuNames, std::vector<std::string>{})
        << "no name, none";
}

TEST(XdgUserLanguages, FromTheLocaleMostSpecificFirst) {
    const struct {
        const char* language;
        const char* lang;
        std::vector<std::string> languages;
    } cases[] = {
        {"", "de_DE.UTF-8@euro", {"de_DE@euro", "de_DE", "de@euro", "de"}},
        {"", "fr_FR.UTF-8", {"fr_FR", "fr"}},
        {"pt_BR:pt", "pt_BR.UTF-8", {"pt_BR", "pt"}},
        {"de", "C.UTF-8", {}},
        {"", "C", {}},
    };
    for (const auto& [language, lang, languages] : cases) {
        ::setenv("LANGUAGE", language, 1);
        ::unsetenv("LC_ALL");
        ::unsetenv("LC_MESSAGES");
        ::setenv("LANG", lang, 1);
        EXPECT_EQ(XdgDesktopEntries::userLanguages(), languages) << lang;
    }
    ::unsetenv("LANGUAGE");
    ::setenv("LANG", "C.UTF-8", 1);
}

TEST(XdgDataFolders, TheUsersFolderFirstThenTheSystemsAbsoluteOnes) {
    ::setenv("XDG_DATA_HOME", "/home/u/data", 1);
    ::setenv("XDG_DATA_DIRS", "/opt/share:relative:/usr/share/:/opt/share", 1);
    EXPECT_EQ(XdgDesktopEntries::dataFolders(),
              (std::vector<fs::path>{"/home/u/data", "/opt/share", "/usr/share/"}));
    ::setenv("XDG_DATA_DIRS", "", 1);
    EXPECT_EQ(XdgDesktopEntries::dataFolders(),
              (std::vector<fs::path>{"/home/u/data", "/usr/local/share/", "/usr/share/"}));
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_DATA_DIRS");
}

// The entries of xterm and IDLE (scripts/install-deps.sh installs both); x11-apps brings none.
TEST(XdgDesktopEntriesOfTheMachine, XtermAndIdle) {
    XdgDesktopEntries entries({"/usr/share"});
    const DesktopEntry* xterm = find(entries.applications(), "debian-xterm");
    const DesktopEntry* idle = find(entries.applications(), "idle");
    if (!xterm || !idle)
        GTEST_SKIP() << "xterm or idle is not installed";
    EXPECT_EQ(xterm->program, "xterm");
    EXPECT_EQ(xterm->startupWmClass, "XTerm");
    EXPECT_TRUE(xterm->terminalEmulator);
    EXPECT_EQ(idle->programPath, "/usr/bin/idle");
    EXPECT_EQ(idle->name, "IDLE");
    EXPECT_EQ(find(entries.applications(), "xlogo"), nullptr);
}

} // namespace
} // namespace tallowby::platform
