#pragma once
// The one alert sound of the program: several pop-ups can be open at once (a reminder over another,
// the shutdown warning over a reminder), but one sound plays at a time. The pop-up that asked last
// holds it; when it closes, the sound stops, and a pop-up still open that repeats its sound takes it
// back at its next beat.
#include <filesystem>

#include "platform/sound_player.h"

namespace tallowby::ui {

class AlertSound {
  public:
    explicit AlertSound(platform::SoundPlayer& player) : player_(player) {}

    // Plays the file for this pop-up, or the fallback when the file cannot be played. Remembers
    // both, so a repeat plays the same sound.
    void start(const void* owner, const std::filesystem::path& file, const std::filesystem::path& fallback);
    // A pop-up whose sound repeats, at each beat: when its sound has ended (or another pop-up's
    // has), plays its own again.
    void repeatIfEnded(const void* owner, const std::filesystem::path& file,
                       const std::filesystem::path& fallback);
    // The pop-up closes: its sound stops at once. Nothing when another pop-up holds the sound.
    void stop(const void* owner);

    const void* holder() const { return holder_; }

  private:
    platform::SoundPlayer& player_;
    const void* holder_ = nullptr;
};

} // namespace tallowby::ui
