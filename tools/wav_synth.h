#pragma once
// Alert sounds for the program folder, synthesised so that the installation carries no recordings.
#include <cstdint>
#include <string>
#include <vector>

namespace tallowby::tools {

struct Tone {
    double startSeconds = 0;
    double seconds = 0;
    double frequency = 440;
    // Relative strength of the fundamental and each following harmonic.
    std::vector<double> harmonics{1.0};
    // Exponential fade per second; 0 keeps the level flat (a beep instead of a bell).
    double decayPerSecond = 0;
};

constexpr int kSampleRate = 22050;

// Mono 16-bit samples of the mixed tones, peak-normalised so that no mix can clip.
std::vector<std::int16_t> synthesise(const std::vector<Tone>& tones, double totalSeconds,
                                     int sampleRate = kSampleRate);

// A complete RIFF/WAVE file (PCM, mono, 16-bit, little-endian) holding the samples.
std::string wavBytes(const std::vector<std::int16_t>& samples, int sampleRate = kSampleRate);

// The two alert sounds the program expects: a bright two-tone chime for reminders and a low
// three-beep alarm for the shutdown warning.
std::string reminderChimeWav();
std::string shutdownAlarmWav();

} // namespace tallowby::tools
