#include "platform/windows/start_menu_shortcuts.h"

#include <algorithm>
#include <cwctype>
#include <string>
#include <system_error>
#include <windows.h>
// After windows.h, which they need.
#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/program_files.h"
#include "platform/windows/known_folders.h"
#include "platform/windows/wide_text.h"

namespace tallowby::platform::windows {
namespace {

namespace fs = std::filesystem;

bool isShortcut(const fs::path& file) {
    std::wstring extension = file.extension().wstring();
    std::ranges::transform(extension, extension.begin(), [](wchar_t c) { return std::towlower(c); });
    return extension == L".lnk";
}

// COM for the calling thread while it lives, in whatever model the thread already has.
class ComUse {
  public:
    ComUse() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComUse(const ComUse&) = delete;
    ComUse& operator=(const ComUse&) = delete;
    ~ComUse() {
        if (initialised_)
            ::CoUninitialize();
    }

  private:
    bool initialised_;
};

template <class T> struct Released {
    T* object = nullptr;
    Released() = default;
    Released(const Released&) = delete;
    Released& operator=(const Released&) = delete;
    ~Released() {
        if (object != nullptr)
            object->Release();
    }
};

// Every folder and file under the roots, the roots included.
template <class Visit> void walk(const std::vector<fs::path>& roots, Visit visit) {
    for (const fs::path& root : roots) {
        std::error_code error;
        if (!fs::is_directory(root, error))
            continue;
        visit(root, true);
        for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error),
             end;
             !error && it != end; it.increment(error))
            visit(it->path(), it->is_directory(error));
    }
}

} // namespace

fs::path shortcutTarget(const fs::path& shortcut) {
    const ComUse com;
    Released<IShellLinkW> link;
    Released<IPersistFile> file;
    wchar_t target[MAX_PATH + 1] = {};
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link.object))) ||
        FAILED(link.object->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.object))) ||
        FAILED(file.object->Load(shortcut.c_str(), STGM_READ)) ||
        link.object->GetPath(target, MAX_PATH, nullptr, 0) != S_OK)
        return {};
    return fs::path(target);
}

std::vector<fs::path> StartMenuShortcuts::startMenuFolders() {
    std::vector<fs::path> folders;
    for (const KNOWNFOLDERID* id : {&FOLDERID_Programs, &FOLDERID_CommonPrograms}) {
        if (fs::path folder = knownFolder(id); !folder.empty())
            folders.push_back(std::move(folder));
    }
    return folders;
}

StartMenuShortcuts::Stamps StartMenuShortcuts::stamps() const {
    Stamps stamps;
    // Each folder and shortcut with the time it last changed: Wine does not always show a shortcut
    // added to a folder in the folder's time.
    walk(folders_, [&](const fs::path& path, bool folder) {
        std::error_code error;
        if (folder || isShortcut(path))
            stamps.emplace_back(path, fs::last_write_time(path, error));
    });
    return stamps;
}

const std::vector<DesktopEntry>& StartMenuShortcuts::applications() {
    Stamps now = stamps();
    if (everRead_ && now == read_)
        return entries_;
    entries_.clear();
    walk(folders_, [&](const fs::path& path, bool folder) {
        if (folder || !isShortcut(path))
            return;
        const fs::path target = shortcutTarget(path);
        if (target.empty() || !isProgramFile(target))
            return;
        DesktopEntry entry;
        entry.id = utf8Of(target.filename().wstring());
        entry.name = utf8Of(path.stem().wstring());
        entry.program = entry.id;
        entry.programPath = utf8Of(target.wstring());
        entries_.push_back(std::move(entry));
    });
    read_ = std::move(now);
    everRead_ = true;
    return entries_;
}

} // namespace tallowby::platform::windows
