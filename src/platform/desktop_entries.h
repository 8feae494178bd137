#pragma once
// The installed applications as the desktop's menus know them: their desktop entries.
#include <string>
#include <string_view>
#include <vector>

namespace tallowby::platform {

struct DesktopEntry {
    // The desktop file id without ".desktop" ("org.gnome.Terminal", "vlc"); a file in a subfolder of
    // applications/ has the folder names joined by "-" ("kde-foo" for kde/foo.desktop).
    std::string id{};
    // The menu name (Name= of the [Desktop Entry] group, untranslated).
    std::string name{};
    // Every name the menus show it by: Name=, GenericName= ("Web Browser") and their translations
    // into the user's language (Name[de]=), each once.
    std::vector<std::string> menuNames{};
    // The file name of the program Exec runs: its first word after "env" and VAR=value words, without
    // folder ("libreoffice", "firefox-esr"); empty when Exec is missing or cannot be read.
    std::string program{};
    // That word as written: a path ("/usr/lib/firefox-esr/firefox-esr") or a name looked up on PATH.
    std::string programPath{};
    // StartupWMClass=, empty when there is none.
    std::string startupWmClass{};
    // Terminal=true: the program runs inside a terminal window.
    bool terminal = false;
    // Categories= holds TerminalEmulator: the program is a terminal.
    bool terminalEmulator = false;
    // Shown in the menus (neither NoDisplay=true nor OnlyShowIn/NotShowIn hiding it everywhere).
    bool shown = true;
};

class DesktopEntries {
  public:
    virtual ~DesktopEntries() = default;
    // Every installed application (Type=Application, not Hidden=true), an entry in an earlier data
    // folder hiding one with the same id in a later folder. Read again only when a folder changed.
    virtual const std::vector<DesktopEntry>& applications() = 0;
    // Changes whenever applications() may have changed: what was worked out of them is stale.
    virtual int readings() const { return 0; }
};

} // namespace tallowby::platform
