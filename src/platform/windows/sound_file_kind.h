#pragma once
// What a sound file is, told from its first bytes: which of the system's players takes it, and for a
// WAV file how long it plays (the system's PlaySound does not say when it has ended).
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace tallowby::platform::windows {

enum class SoundFileKind {
    Wave, // RIFF WAVE: PlaySound
    Midi, // a standard MIDI file: MCI's sequencer
    Mp3,  // MCI's MPEG device (DirectShow's decoder)
    Other,
};

// head: the file's first bytes (kSoundHeadBytes or the whole file when shorter). MP3 has no
// signature: a file that starts with neither an ID3 tag nor a frame header is known by its name.
// A video (RIFF AVI) is Other: its player would open a window of its own for the picture.
SoundFileKind soundFileKind(std::string_view head, const std::filesystem::path& file);

// How much of a file is read to tell its kind and a WAV file's length: the format and the start of
// the samples come within the first few hundred bytes but for a long list of tags before them.
inline constexpr std::size_t kSoundHeadBytes = 64 * 1024;

// How long a WAV file plays: its sample bytes (the "data" chunk, cut to what the file holds) over
// the format's bytes per second. Nothing when head has no format chunk or no rate; when the samples
// start beyond head, all the rest of the file is taken for them.
std::optional<std::chrono::milliseconds> waveLength(std::string_view head, std::uintmax_t fileSize);

} // namespace tallowby::platform::windows
