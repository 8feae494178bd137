#include "platform/windows/winmm_sound_player.h"

#include <atomic>
#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include "platform/windows/sound_file_kind.h"
#include "store/rule_limits.h"

namespace tallowby::platform::windows {
namespace {

bool mci(const std::wstring& command) {
    return ::mciSendStringW(command.c_str(), nullptr, 0, nullptr) == 0;
}

// The file's first kSoundHeadBytes (or all of it) and its size, from the open handle; nothing when
// it is no regular file within the alert sounds' bound.
std::optional<std::pair<std::string, std::uintmax_t>> checkedHead(HANDLE file) {
    LARGE_INTEGER size{};
    // A folder does not open at all without backup semantics; this leaves out devices and pipes.
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileSizeEx(file, &size) || size.QuadPart <= 0 ||
        static_cast<std::uintmax_t>(size.QuadPart) > store::kMaxSoundFileBytes)
        return std::nullopt;
    std::string head(std::min<std::uintmax_t>(kSoundHeadBytes, static_cast<std::uintmax_t>(size.QuadPart)),
                     '\0');
    DWORD read = 0;
    if (!::ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &read, nullptr))
        return std::nullopt;
    head.resize(read);
    return std::pair{std::move(head), static_cast<std::uintmax_t>(size.QuadPart)};
}

} // namespace

WinmmSoundPlayer::WinmmSoundPlayer() {
    static std::atomic<unsigned> players{0};
    alias_ = L"tallowby_alert_" + std::to_wstring(++players);
}

WinmmSoundPlayer::~WinmmSoundPlayer() {
    stop();
}

bool WinmmSoundPlayer::play(const std::filesystem::path& file) {
    stop();
    os::windows::UniqueHandle opened(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!opened.valid())
        return false;
    const auto head = checkedHead(opened.get());
    if (!head)
        return false;
    file_.emplace(opened.release());
    bool started = false;
    switch (soundFileKind(head->first, file)) {
    case SoundFileKind::Wave:
        started = playWave(file, head->first, head->second);
        break;
    case SoundFileKind::Midi:
        started = ::midiOutGetNumDevs() > 0 && playMci(file, L"sequencer");
        break;
    case SoundFileKind::Mp3:
        started = ::waveOutGetNumDevs() > 0 && playMci(file, L"mpegvideo");
        break;
    case SoundFileKind::Other:
        break;
    }
    if (!started)
        stop();
    return started;
}

bool WinmmSoundPlayer::playWave(const std::filesystem::path& file, std::string_view head,
                                std::uintmax_t size) {
    const auto length = waveLength(head, size);
    // Without an output device PlaySound may still say yes to an asynchronous sound.
    if (!length || ::waveOutGetNumDevs() == 0 ||
        !::PlaySoundW(file.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT))
        return false;
    playing_ = Playing::Wave;
    waveEnds_ = std::chrono::steady_clock::now() + *length;
    return true;
}

bool WinmmSoundPlayer::playMci(const std::filesystem::path& file, const wchar_t* device) {
    // A Windows path holds no quotation mark, so quoting it is enough.
    if (!mci(L"open \"" + file.wstring() + L"\" type " + device + L" alias " + alias_))
        return false;
    playing_ = Playing::Mci;
    return mci(L"play " + alias_);
}

bool WinmmSoundPlayer::playing() const {
    switch (playing_) {
    case Playing::Nothing:
        return false;
    case Playing::Wave:
        return std::chrono::steady_clock::now() < waveEnds_;
    case Playing::Mci: {
        wchar_t mode[32] = {};
        return ::mciSendStringW((L"status " + alias_ + L" mode").c_str(), mode, 32, nullptr) == 0 &&
               std::wstring_view(mode) == L"playing";
    }
    }
    return false;
}

void WinmmSoundPlayer::stop() {
    switch (playing_) {
    case Playing::Nothing:
        break;
    case Playing::Wave:
        ::PlaySoundW(nullptr, nullptr, 0);
        break;
    case Playing::Mci:
        mci(L"close " + alias_);
        break;
    }
    playing_ = Playing::Nothing;
    file_.reset();
}

} // namespace tallowby::platform::windows
