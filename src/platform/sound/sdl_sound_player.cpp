#include "platform/sound/sdl_sound_player.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdio>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tallowby::platform {
namespace {

using namespace std::chrono_literals;

constexpr auto kRetryOpenAfter = 30s;

// Where SDL_mixer's own search for a General MIDI sound font finds none (it knows one or two fixed
// places, which differ between its builds), MIDI falls back to Debian's alternatives link, which
// points at the best such font installed, then to the small font the install script brings.
constexpr const char* kSoundFonts[] = {"/usr/share/sounds/sf2/default-GM.sf2",
                                       "/usr/share/sounds/sf2/TimGM6mb.sf2"};

void chooseSoundFont() {
    if (Mix_GetSoundFonts() != nullptr) // SDL_SOUNDFONTS, or SDL_mixer found one itself
        return;
    for (const char* font : kSoundFonts) {
        if (::access(font, R_OK) == 0) {
            Mix_SetSoundFonts(font);
            return;
        }
    }
}

// The file opened for SDL, or nullptr when it is not a readable regular file. The check is made on
// the opened descriptor, so the file cannot be swapped for something else in between; O_NONBLOCK
// keeps the open itself from waiting for a writer when the name is a FIFO.
SDL_RWops* openRegularFile(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat status {};
    FILE* stream = nullptr;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || (stream = ::fdopen(fd, "rb")) == nullptr) {
        ::close(fd);
        return nullptr;
    }
    SDL_RWops* source = SDL_RWFromFP(stream, SDL_TRUE);
    if (source == nullptr)
        std::fclose(stream);
    return source;
}

// MP3 has no signature: a file that starts with neither an ID3 tag nor a frame header is recognised
// by its name only.
bool namedAsMp3(const std::filesystem::path& file) {
    return ::strcasecmp(file.extension().c_str(), ".mp3") == 0;
}

Mix_Music* load(SDL_RWops* source, const std::filesystem::path& file) {
    // The source is not handed over (SDL_FALSE), so that a failed guess leaves it open for the next.
    Mix_Music* music = Mix_LoadMUSType_RW(source, MUS_NONE, SDL_FALSE);
    if (music == nullptr && namedAsMp3(file))
        music = Mix_LoadMUSType_RW(source, MUS_MP3, SDL_FALSE);
    return music;
}

} // namespace

SdlSoundPlayer::~SdlSoundPlayer() {
    stop();
    if (deviceOpen_) {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

bool SdlSoundPlayer::openDevice() {
    if (deviceOpen_)
        return true;
    const auto now = std::chrono::steady_clock::now();
    if (now < nextOpenAttempt_)
        return false;
    // SDL's audio brings up its event loop, which would turn SIGTERM and SIGINT into SDL events no
    // one reads: the program would no longer end when the session asks it to.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Defaults only: the user's environment still names the application and stream as it likes.
    SDL_SetHintWithPriority(SDL_HINT_APP_NAME, "Tallowby", SDL_HINT_DEFAULT);
    SDL_SetHintWithPriority(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Alert", SDL_HINT_DEFAULT);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        nextOpenAttempt_ = now + kRetryOpenAfter;
        return false;
    }
    // 2048 frames at 44.1 kHz: under 50 ms from play to sound, without underruns on a busy desktop.
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        nextOpenAttempt_ = now + kRetryOpenAfter;
        return false;
    }
    chooseSoundFont();
    deviceOpen_ = true;
    return true;
}

bool SdlSoundPlayer::play(const std::filesystem::path& file) {
    stop();
    SDL_RWops* source = openRegularFile(file);
    if (source == nullptr)
        return false;
    if (!openDevice()) {
        SDL_RWclose(source);
        return false;
    }
    Mix_Music* music = load(source, file);
    // 1: once through (0 would mean the same to SDL_mixer, -1 forever).
    if (music == nullptr || Mix_PlayMusic(music, 1) != 0) {
        Mix_FreeMusic(music);
        SDL_RWclose(source);
        return false;
    }
    music_ = music;
    source_ = source;
    return true;
}

bool SdlSoundPlayer::playing() const {
    return music_ != nullptr && Mix_PlayingMusic() != 0;
}

void SdlSoundPlayer::stop() {
    if (music_ == nullptr)
        return;
    Mix_HaltMusic();
    Mix_FreeMusic(music_);
    SDL_RWclose(source_);
    music_ = nullptr;
    source_ = nullptr;
}

} // namespace tallowby::platform
