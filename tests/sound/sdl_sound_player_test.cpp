// The SDL player on SDL's dummy audio driver (set in the test's environment), which takes sound at
// the pace of a real card: every kind of file a user may pick plays and ends by itself, everything
// else is refused at once and leaves the player silent. (Ogg Vorbis has no sample here: encoding
// one takes a page of libvorbis setup, for a decoder that is SDL_mixer's alone.)
#include <FLAC/stream_encoder.h>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "platform/linux/sdl_sound_player.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"
#include "wav_synth.h"

namespace tallowby::platform {
namespace {

using namespace std::chrono_literals;
using Samples = std::vector<std::int16_t>;

Samples beep() {
    return tools::synthesise({{0.0, 0.3, 660.0}}, 0.3);
}

std::string flac(const Samples& samples) {
    std::string out;
    FLAC__StreamEncoder* encoder = FLAC__stream_encoder_new();
    FLAC__stream_encoder_set_channels(encoder, 1);
    FLAC__stream_encoder_set_bits_per_sample(encoder, 16);
    FLAC__stream_encoder_set_sample_rate(encoder, tools::kSampleRate);
    const auto write = [](const FLAC__StreamEncoder*, const FLAC__byte buffer[], std::size_t bytes, unsigned,
                          unsigned, void* target) {
        static_cast<std::string*>(target)->append(reinterpret_cast<const char*>(buffer), bytes);
        return FLAC__STREAM_ENCODER_WRITE_STATUS_OK;
    };
    FLAC__stream_encoder_init_stream(encoder, write, nullptr, nullptr, nullptr, &out);
    const std::vector<FLAC__int32> wide(samples.begin(), samples.end());
    FLAC__stream_encoder_process_interleaved(encoder, wide.data(), static_cast<unsigned>(wide.size()));
    FLAC__stream_encoder_finish(encoder);
    FLAC__stream_encoder_delete(encoder);
    return out;
}

// Half a second of MPEG-1 Layer III, 44.1 kHz, 128 kbit/s, mono: side information and main data all
// zero, which decodes to silence but goes through the whole MP3 decoder.
std::string silentMp3() {
    std::string frame("\xFF\xFB\x90\xC0", 4);
    frame.resize(417, '\0'); // 144 * 128000 / 44100, no padding
    std::string out;
    for (int i = 0; i < 20; ++i)
        out += frame;
    return out;
}

// A Standard MIDI File: one track, 96 ticks a quarter note at the default 120 bpm, a piano playing
// C4 then G4 for a quarter of a second each.
std::string midi() {
    const std::string track{'\x00', '\xC0', '\x00',                                         // piano
                            '\x00', '\x90', '\x3C', '\x64', '\x30', '\x80', '\x3C', '\x40', // C4
                            '\x00', '\x90', '\x43', '\x64', '\x30', '\x80', '\x43', '\x40', // G4
                            '\x00', '\xFF', '\x2F', '\x00'};                                // end of track
    return std::string("MThd\0\0\0\6\0\0\0\1\0\x60", 14) + "MTrk" + std::string(3, '\0') +
           static_cast<char>(track.size()) + track;
}

class SdlSoundPlayerTest : public testing::Test {
  protected:
    std::filesystem::path write(const std::string& name, const std::string& bytes) {
        testsupport::writeFile(folder / name, bytes);
        return folder / name;
    }
    bool endsByItself() {
        return testsupport::waitUntil([this] { return !player.playing(); }, 20s);
    }

    testsupport::TempFolder folder;
    SdlSoundPlayer player;
};

struct Sound {
    const char* label;
    std::string name;
    std::string (*bytes)();
};

void PrintTo(const Sound& sound, std::ostream* out) {
    *out << sound.label;
}

class EveryKindOfSound : public SdlSoundPlayerTest, public testing::WithParamInterface<Sound> {};

TEST_P(EveryKindOfSound, PlaysAndEndsByItself) {
    ASSERT_TRUE(player.play(write(GetParam().name, GetParam().bytes())));
    EXPECT_TRUE(player.playing());
    EXPECT_TRUE(endsByItself());
}

INSTANTIATE_TEST_SUITE_P(
    SdlSoundPlayer, EveryKindOfSound,
    testing::Values(Sound{"ReminderWav", "rmd.wav", tools::reminderChimeWav},
                    Sound{"ShutdownWav", "shutd.wav", tools::shutdownAlarmWav},
                    Sound{"Flac", "beep.flac", [] { return flac(beep()); }},
                    Sound{"Mp3", "silence.mp3", silentMp3},
                    // Nothing in the content says MP3 here; the name does.
                    Sound{"Mp3AfterJunk", "after junk.mp3",
                          [] { return std::string(100, '\0') + silentMp3(); }},
                    Sound{"Midi", "two notes.mid", midi},
                    // The content counts, not the name; and a name need not even be UTF-8.
                    Sound{"WavUnderOtherName", "beep.sound", [] { return tools::wavBytes(beep()); }},
                    Sound{"NonUtf8Name", "Glöckchen \xff\xfe.wav", [] { return tools::wavBytes(beep()); }}),
    [](const testing::TestParamInfo<Sound>& info) { return std::string(info.param.label); });

TEST_F(SdlSoundPlayerTest, WhatIsNoSoundIsRefusedAtOnceAndStopsTheSoundBefore) {
    const std::string chimeBytes = tools::reminderChimeWav();
    const auto chime = write("rmd.wav", chimeBytes);
    std::filesystem::create_directory(folder / "folder.wav");
    ASSERT_EQ(::mkfifo((folder / "fifo.wav").c_str(), 0600), 0); // opening it to read would wait
    const std::filesystem::path refused[] = {
        folder / "missing.wav",
        folder / "folder.wav",
        folder / "fifo.wav",
        write("notes.txt", "Buy milk\nCall home\n"),
        write("notes.wav", "Buy milk\nCall home\n"),
        write("notes.mp3", "Buy milk\nCall home\n"),
        write("empty.ogg", ""),
        write("cut.wav", chimeBytes.substr(0, 40)),
    };
    for (const auto& file : refused) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(player.play(chime));
        EXPECT_FALSE(player.play(file));
        EXPECT_FALSE(player.playing());
    }
}

TEST_F(SdlSoundPlayerTest, StopSilencesAtOnceAndPlayStartsOver) {
    const auto chime = write("rmd.wav", tools::reminderChimeWav());
    const auto alarm = write("shutd.wav", tools::shutdownAlarmWav());
    EXPECT_FALSE(player.playing());
    player.stop(); // nothing to stop yet
    ASSERT_TRUE(player.play(chime));
    player.stop();
    EXPECT_FALSE(player.playing());
    player.stop();

    ASSERT_TRUE(player.play(chime)); // again after a stop, and over a sound that still plays
    ASSERT_TRUE(player.play(alarm));
    EXPECT_TRUE(player.playing());
    EXPECT_TRUE(endsByItself());
    ASSERT_TRUE(player.play(alarm)); // and again once it has ended
    EXPECT_TRUE(player.playing());
}

TEST_F(SdlSoundPlayerTest, LeavesTheProgramsSignalsAlone) {
    // The session ends the program with SIGTERM; SDL's event loop would catch it and keep it.
    const auto handler = [](int signal) {
        struct sigaction action {};
        ::sigaction(signal, nullptr, &action);
        return action.sa_handler;
    };
    const auto term = handler(SIGTERM);
    const auto interrupt = handler(SIGINT);
    ASSERT_TRUE(player.play(write("rmd.wav", tools::reminderChimeWav())));
    EXPECT_EQ(handler(SIGTERM), term);
    EXPECT_EQ(handler(SIGINT), interrupt);
}

TEST_F(SdlSoundPlayerTest, WithoutAnAudioDevicePlayFailsQuietly) {
    // A driver SDL does not have is, to the player, a machine without a sound card.
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const auto chime = write("rmd.wav", tools::reminderChimeWav());
    EXPECT_FALSE(player.play(chime));
    EXPECT_FALSE(player.play(chime));
    EXPECT_FALSE(player.playing());
    ::setenv("SDL_AUDIODRIVER", "dummy", 1); // what the other tests run on
}

} // namespace
} // namespace tallowby::platform
