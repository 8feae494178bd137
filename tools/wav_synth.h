#pragma once
// Alert sounds for the program folder, synthesised so that the installation carries no recordings.
#include <cstdint>
#include <string>
#include <vector>

namespace tallowby::tools {

// One sine component of a tone.
struct Partial {
    // Multiple of the tone's frequency; struck bars and bells have overtones that are not whole.
    double ratio = 1;
    double level = 1;
    // Fades on top of the tone's own decay: the upper partials of anything struck die first, which is
    // what keeps a chime from sounding like a buzzer.
    double extraDecayPerSecond = 0;
};

struct Tone {
    double startSeconds = 0;
    double seconds = 0;
    double frequency = 440;
    std::vector<Partial> partials{Partial{}};
    // Exponential fade per second; 0 keeps the level flat (a beep instead of a bell).
    double decayPerSecond = 0;
    // Smooth (raised-cosine) fades at both ends: a sound that starts or stops on a non-zero sample
    // clicks in the speaker. A few milliseconds are inaudible as a fade; tens of ms soften the blow.
    double attackSeconds = 0.006;
    double releaseSeconds = 0.006;
};

constexpr int kSampleRate = 22050;
// The loudest sample of every sound, as a fraction of full scale (-3 dBFS): loud enough to be heard
// over other audio, with room left for resampling in the sound server without clipping.
constexpr double kPeakLevel = 0.7079;

// Mono 16-bit samples of the mixed tones, scaled so that the loudest sample sits at kPeakLevel.
std::vector<std::int16_t> synthesise(const std::vector<Tone>& tones, double totalSeconds,
                                     int sampleRate = kSampleRate);

// A complete RIFF/WAVE file (PCM, mono, 16-bit, little-endian) holding the samples.
std::string wavBytes(const std::vector<std::int16_t>& samples, int sampleRate = kSampleRate);

// The two alert sounds the program expects, made to be told apart without looking: a soft, high,
// rising three-note chime that rings out for reminders, and a lower, sustained, falling three-note
// call with clear gaps for the shutdown warning.
std::string reminderChimeWav();
std::string shutdownAlarmWav();

} // namespace tallowby::tools
