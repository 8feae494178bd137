// Alert sounds through winmm under Wine (or Windows): what a file is and how long a WAV file plays,
// and the player's refusals. Wine here has no output device, so nothing is heard: play() is shown
// to say so rather than to claim a sound.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include "platform/sound_player.h"
#include "platform/windows/sound_file_kind.h"
#include "store/rule_limits.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace tallowby::platform::windows {
namespace {

using std::chrono::milliseconds;
using namespace std::string_literals;

std::string little(std::uint32_t value, int bytes) {
    std::string text;
    for (int i = 0; i < bytes; ++i)
        text += static_cast<char>(value >> (8 * i) & 0xFF);
    return text;
}

std::string chunk(std::string_view id, std::string_view body) {
    return std::string(id) + little(static_cast<std::uint32_t>(body.size()), 4) + std::string(body) +
           (body.size() % 2 ? std::string(1, '\0') : "");
}

// A PCM WAV file: 16-bit samples at the rate, `samples` bytes of silence, what `before` holds in
// between. claimed: the data chunk's size when it says more than it holds.
std::string wave(std::uint32_t rate, std::uint16_t channels, std::uint32_t samples,
                 std::string_view before = {}, std::uint32_t claimed = 0) {
    const std::string format = little(1, 2) + little(channels, 2) + little(rate, 4) +
                               little(rate * channels * 2, 4) + little(channels * 2, 2) + little(16, 2);
    std::string body = "WAVE" + chunk("fmt ", format) + std::string(before);
    body += claimed ? "data" + little(claimed, 4) + std::string(samples, '\0')
                    : chunk("data", std::string(samples, '\0'));
    return "RIFF" + little(static_cast<std::uint32_t>(body.size()), 4) + body;
}

struct LengthCase {
    const char* what;
    std::string file;
    std::optional<milliseconds> length;
};

TEST(WinmmSound, AWaveFilesLengthIsItsSamplesOverItsRate) {
    const std::string noFormat = "RIFF" + little(12, 4) + "WAVE" + chunk("data", std::string(100, '\0'));
    const LengthCase cases[] = {
        {"a second, mono", wave(8000, 1, 16000), milliseconds(1000)},
        {"half a second, stereo", wave(44100, 2, 88200), milliseconds(500)},
        {"tags of an odd size before the samples", wave(8000, 1, 8000, chunk("LIST", "INFOabc")),
         milliseconds(500)},
        {"more samples claimed than held", wave(8000, 1, 8000, {}, 1'000'000), milliseconds(500)},
        {"no format", noFormat, std::nullopt},
        {"no rate", wave(0, 1, 16000), std::nullopt},
        {"no WAV file", "MThd" + std::string(100, '\0'), std::nullopt},
    };
    for (const LengthCase& c : cases)
        EXPECT_EQ(waveLength(c.file, c.file.size()), c.length) << c.what;
    // Samples that start beyond what was read: the rest of the file.
    EXPECT_EQ(waveLength(wave(8000, 1, 0).substr(0, 36), 36 + 8 + 16000), milliseconds(1000));
}

TEST(WinmmSound, AFileIsToldByItsFirstBytesAndAnMp3AlsoByItsName) {
    const struct {
        std::string head;
        const char* name;
        SoundFileKind kind;
    } cases[] = {
        {wave(8000, 1, 10), "alert.mp3", SoundFileKind::Wave},
        {"MThd\0\0\0\6"s, "alert.wav", SoundFileKind::Midi},
        {"ID3\3\0"s, "alert", SoundFileKind::Mp3},
        {"\xFF\xFB\x90\x64", "alert", SoundFileKind::Mp3},
        {"no tag, no frame", "Alert.MP3", SoundFileKind::Mp3},
        {"RIFF\0\0\0\0AVI LIST"s, "clip.avi", SoundFileKind::Other},
        {"just some text", "alert.wav", SoundFileKind::Other},
    };
    for (const auto& c : cases)
        EXPECT_EQ(soundFileKind(c.head, c.name), c.kind) << c.name << ": " << c.head;
}

TEST(WinmmSound, WhatIsNoPlayableSoundFileIsRefused) {
    const testsupport::TempFolder folder;
    testsupport::writeFile(folder / "empty.wav", "");
    testsupport::writeFile(folder / "text.wav", "just some text\r\n");
    testsupport::writeFile(folder / "clip.avi", "RIFF\0\0\0\0AVI LIST"s);
    testsupport::writeFile(folder / "huge.wav", wave(8000, 1, 16000));
    std::filesystem::resize_file(folder / "huge.wav", store::kMaxSoundFileBytes + 1);
    std::filesystem::create_directory(folder / "folder.wav");
    const std::unique_ptr<SoundPlayer> player = makeSoundPlayer();
    for (const char* name : {"missing.wav", "empty.wav", "text.wav", "clip.avi", "huge.wav", "folder.wav"}) {
        EXPECT_FALSE(player->play(folder / name)) << name;
        EXPECT_FALSE(player->playing()) << name;
    }
    EXPECT_FALSE(player->play(L"NUL")); // a device, not a file
}

TEST(WinmmSound, ASoundPlaysOnlyWithAnOutputDeviceAndStopsAtOnce) {
    const testsupport::TempFolder folder;
    testsupport::writeFile(folder / "alert.wav", wave(8000, 1, 80000)); // five seconds
    testsupport::writeFile(folder / "alert.mid", "MThd" + little(6, 4) + std::string(6, '\0'));
    testsupport::writeFile(folder / "alert.mp3", "ID3\3\0\0\0\0\0\0"s);
    const std::unique_ptr<SoundPlayer> player = makeSoundPlayer();
    const bool waveOut = ::waveOutGetNumDevs() > 0;
    std::cout << "output devices: wave " << ::waveOutGetNumDevs() << ", MIDI " << ::midiOutGetNumDevs()
              << "\n";
    ASSERT_EQ(player->play(folder / "alert.wav"), waveOut);
    EXPECT_EQ(player->playing(), waveOut);
    if (waveOut) { // the file is held while it plays
        EXPECT_FALSE(::DeleteFileW((folder / "alert.wav").c_str()));
    }
    player->stop();
    EXPECT_FALSE(player->playing());
    EXPECT_TRUE(::DeleteFileW((folder / "alert.wav").c_str()));
    if (::midiOutGetNumDevs() == 0) {
        EXPECT_FALSE(player->play(folder / "alert.mid"));
    }
    if (!waveOut) {
        EXPECT_FALSE(player->play(folder / "alert.mp3"));
    }
    EXPECT_FALSE(player->playing());
}

} // namespace
} // namespace tallowby::platform::windows
