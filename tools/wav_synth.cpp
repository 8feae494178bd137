#include "wav_synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>
#include <utility>

namespace tallowby::tools {
namespace {

// 0 at x <= 0, 1 at x >= 1, and a half cosine between: no corner anywhere for the ear to hear.
double smoothRamp(double x) {
    return 0.5 - 0.5 * std::cos(std::numbers::pi * std::clamp(x, 0.0, 1.0));
}

double envelope(const Tone& tone, double t) {
    const double in = tone.attackSeconds > 0 ? smoothRamp(t / tone.attackSeconds) : 1.0;
    const double out = tone.releaseSeconds > 0 ? smoothRamp((tone.seconds - t) / tone.releaseSeconds) : 1.0;
    return in * out * std::exp(-tone.decayPerSecond * t);
}

void appendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

std::vector<std::int16_t> synthesise(const std::vector<Tone>& tones, double totalSeconds, int sampleRate) {
    const auto count = static_cast<std::size_t>(std::lround(totalSeconds * sampleRate));
    std::vector<double> mix(count, 0.0);
    for (const Tone& tone : tones) {
        const auto first = static_cast<std::size_t>(std::lround(tone.startSeconds * sampleRate));
        for (std::size_t i = first; i < count; ++i) {
            const double t = static_cast<double>(i - first) / sampleRate;
            if (t >= tone.seconds)
                break;
            double value = 0;
            for (const Partial& partial : tone.partials)
                value += partial.level * std::exp(-partial.extraDecayPerSecond * t) *
                         std::sin(2 * std::numbers::pi * tone.frequency * partial.ratio * t);
            mix[i] += value * envelope(tone, t);
        }
    }
    double peak = 0;
    for (double v : mix)
        peak = std::max(peak, std::abs(v));
    const double scale = peak > 0 ? kPeakLevel * 32767.0 / peak : 0.0;
    std::vector<std::int16_t> samples(count);
    std::transform(mix.begin(), mix.end(), samples.begin(),
                   [scale](double v) { return static_cast<std::int16_t>(std::lround(v * scale)); });
    return samples;
}

std::string wavBytes(const std::vector<std::int16_t>& samples, int sampleRate) {
    constexpr int kChannels = 1;
    constexpr int kBytesPerSample = 2;
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * kBytesPerSample);
    std::string out = "RIFF";
    appendLittleEndian(out, 36 + dataSize, 4);
    out += "WAVEfmt ";
    appendLittleEndian(out, 16, 4); // size of the PCM format block
    appendLittleEndian(out, 1, 2);  // PCM
    appendLittleEndian(out, kChannels, 2);
    appendLittleEndian(out, static_cast<std::uint32_t>(sampleRate), 4);
    appendLittleEndian(out, static_cast<std::uint32_t>(sampleRate * kChannels * kBytesPerSample), 4);
    appendLittleEndian(out, kChannels * kBytesPerSample, 2);
    appendLittleEndian(out, 8 * kBytesPerSample, 2);
    out += "data";
    appendLittleEndian(out, dataSize, 4);
    for (std::int16_t s : samples)
        appendLittleEndian(out, static_cast<std::uint16_t>(s), 2);
    return out;
}

std::string reminderChimeWav() {
    // G5, C6, E6 struck one after the other and left to ring into a C major chord, like a soft
    // mallet on metal bars: a bright octave and double octave that fade within a few tenths of a
    // second over a fundamental that lingers, then a long fade-out instead of a cut.
    const std::vector<Partial> bar{{1.0, 1.0}, {2.0, 0.22, 5.0}, {4.0, 0.1, 9.0}};
    constexpr double kLength = 1.4;
    std::vector<Tone> tones;
    for (const auto& [start, frequency] : {std::pair{0.0, 783.99}, {0.16, 1046.5}, {0.32, 1318.51}})
        tones.push_back({start, kLength - start, frequency, bar, 3.2, 0.008, 0.35});
    return wavBytes(synthesise(tones, kLength));
}

std::string shutdownAlarmWav() {
    // A4, F4, D4 falling, each held and then let go, with a clear gap between: lower, steadier and
    // more urgent than the chime. The reedy harmonics carry it over other sounds, but they mellow as
    // each note is held, and every note eases in and out rather than switching, so it calls without
    // barking.
    const std::vector<Partial> reed{
        {1.0, 1.0}, {2.0, 0.35, 2.0}, {3.0, 0.25, 3.0}, {4.0, 0.08, 4.0}, {5.0, 0.05, 6.0}};
    std::vector<Tone> tones;
    for (const auto& [start, seconds, frequency] :
         {std::tuple{0.0, 0.3, 440.0}, {0.4, 0.3, 349.23}, {0.8, 0.52, 293.66}})
        tones.push_back({start, seconds, frequency, reed, 1.2, 0.015, 0.06});
    return wavBytes(synthesise(tones, 1.35));
}

} // namespace tallowby::tools
