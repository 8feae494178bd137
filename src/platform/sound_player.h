#pragma once
// Playing an alert sound: one sound at a time, started and stopped by the program's pop-ups.
#include <filesystem>
#include <memory>

namespace tallowby::platform {

class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;

    // Stops what is playing and plays the file from its beginning, without waiting for it. false
    // when the file cannot be played (missing, unreadable, not a sound this player knows, or no
    // audio device on the machine): nothing plays then.
    virtual bool play(const std::filesystem::path& file) = 0;

    // Whether the sound started last is still playing (false once it has ended or was stopped).
    virtual bool playing() const = 0;

    // Stops the sound at once; nothing when nothing plays.
    virtual void stop() = 0;
};

// The player of the system the program is built for: SDL2_mixer's on Linux, winmm's on Windows.
std::unique_ptr<SoundPlayer> makeSoundPlayer();

} // namespace tallowby::platform
