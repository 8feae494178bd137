#pragma once
// Alert sounds through SDL2_mixer: WAV, MP3, Ogg Vorbis, Opus, FLAC, tracker modules and MIDI (the
// latter through FluidSynth with the installed General MIDI sound font).
#include <chrono>
#include <filesystem>

#include "platform/sound_player.h"

// SDL stays out of the callers' includes.
struct _Mix_Music;
struct SDL_RWops;

namespace tallowby::platform {

// One per program: SDL_mixer has a single music stream, so two players would cut each other off.
// Used from one thread only (the UI thread); SDL's own audio thread does the playing.
class SdlSoundPlayer : public SoundPlayer {
  public:
    SdlSoundPlayer() = default;
    // Stops the sound and closes the audio device and SDL's audio subsystem.
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer&) = delete;
    SdlSoundPlayer& operator=(const SdlSoundPlayer&) = delete;

    // SDL2_mixer is loaded and the audio device opened on the first play, not before: a program that
    // never sounds an alert never holds either. Only regular files are read, so a FIFO or a device
    // file under a sound's name cannot block the UI. Without SDL2_mixer or a usable audio device
    // this is false, silently.
    bool play(const std::filesystem::path& file) override;
    // Cheap enough to poll: one lock of the mixer, no system call.
    bool playing() const override;
    void stop() override;

  private:
    bool openDevice();

    bool deviceOpen_ = false;
    // After a failed open the device is tried again only after a while: looking for sound servers
    // and cards can take a noticeable moment, and an alert is repeated every few seconds.
    std::chrono::steady_clock::time_point nextOpenAttempt_{};
    _Mix_Music* music_ = nullptr;
    // The open file the music streams from; it must outlive the music.
    SDL_RWops* source_ = nullptr;
};

} // namespace tallowby::platform
