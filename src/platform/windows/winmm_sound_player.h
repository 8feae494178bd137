#pragma once
// Alert sounds through the system's own multimedia calls (winmm), nothing else installed: WAV by
// PlaySound, MIDI by MCI's sequencer and MP3 by MCI's MPEG device, which on Windows decodes through
// DirectShow.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "os/windows/file_handle.h"
#include "platform/sound_player.h"

namespace tallowby::platform::windows {

// One per program: PlaySound plays one sound per process, so two players would cut each other off.
// Used from one thread only (the UI thread); winmm's own threads do the playing.
class WinmmSoundPlayer : public SoundPlayer {
  public:
    WinmmSoundPlayer();
    ~WinmmSoundPlayer() override;
    WinmmSoundPlayer(const WinmmSoundPlayer&) = delete;
    WinmmSoundPlayer& operator=(const WinmmSoundPlayer&) = delete;

    // Only a regular file of at most the alert sounds' size is played, and it stays open, shared
    // for reading only, while it plays: the players open it again by name, and meanwhile no one can
    // replace, change or remove it. false, silently, without an output device for its kind.
    bool play(const std::filesystem::path& file) override;
    // A WAV file plays until its length has passed since it was started (PlaySound cannot be
    // asked); MCI says itself whether its device still plays.
    bool playing() const override;
    void stop() override;

  private:
    enum class Playing { Nothing, Wave, Mci };

    bool playWave(const std::filesystem::path& file, std::string_view head, std::uintmax_t size);
    bool playMci(const std::filesystem::path& file, const wchar_t* device);

    Playing playing_ = Playing::Nothing;
    std::optional<os::windows::UniqueHandle> file_;
    std::chrono::steady_clock::time_point waveEnds_{};
    // The MCI device's alias, one of this player's own.
    std::wstring alias_;
};

} // namespace tallowby::platform::windows
