#include "wav_synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tallowby::tools {
namespace {

// A few milliseconds of ramp at both ends of every tone keep the speaker from clicking.
constexpr double kRampSeconds = 0.006;

double envelope(const Tone& tone, double t) {
    const double ramp = std::min({1.0, t / kRampSeconds, (tone.seconds - t) / kRampSeconds});
    return std::max(0.0, ramp) * std::exp(-tone.decayPerSecond * t);
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
            for (std::size_t h = 0; h < tone.harmonics.size(); ++h)
                value += tone.harmonics[h] *
                         std::sin(2 * std::numbers::pi * tone.frequency * static_cast<double>(h + 1) * t);
            mix[i] += value * envelope(tone, t);
        }
    }
    double peak = 0;
    for (double v : mix)
        peak = std::max(peak, std::abs(v));
    const double scale = peak > 0 ? 0.8 * 32767.0 / peak : 0.0;
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
    // "Ding-dong": E6 then C6, bell-like partials fading out.
    const std::vector<double> bell{1.0, 0.35, 0.12};
    const std::vector<Tone> tones{{0.0, 0.32, 1318.5, bell, 7.0}, {0.22, 0.38, 1046.5, bell, 6.0}};
    return wavBytes(synthesise(tones, 0.6));
}

std::string shutdownAlarmWav() {
    // Three flat, low beeps with odd harmonics: harder to ignore than the chime.
    const std::vector<double> buzz{1.0, 0.0, 0.3, 0.0, 0.15};
    std::vector<Tone> tones;
    for (int i = 0; i < 3; ++i)
        tones.push_back({i * 0.32, 0.2, 392.0, buzz, 0.0});
    return wavBytes(synthesise(tones, 0.84));
}

} // namespace tallowby::tools
