#include "platform/linux/sdl_sound_player.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <cstdint>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <optional>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include "os/descriptor.h"
#include "store/rule_limits.h"

namespace tallowby::platform {
namespace {

using namespace std::chrono_literals;

constexpr auto kRetryOpenAfter = 30s;

// SDL2_mixer is loaded at the first alert sound, not at start-up: with SDL2 and the codec, MIDI and
// sound-server libraries it links, it would hold some 4 MB of memory in every run of the program,
// most of which never sound an alert. The name is SDL2_mixer's for every 2.x release.
constexpr const char* kMixerLibrary = "libSDL2_mixer-2.0.so.0";

// The functions used here, each with the type its header declares.
#define TB_SDL_FUNCTIONS(X)                                                                                  \
    X(SDL_SetHint)                                                                                           \
    X(SDL_SetHintWithPriority)                                                                               \
    X(SDL_InitSubSystem)                                                                                     \
    X(SDL_QuitSubSystem)                                                                                     \
    X(SDL_RWFromFP)                                                                                          \
    X(SDL_RWclose)                                                                                           \
    X(Mix_OpenAudio)                                                                                         \
    X(Mix_CloseAudio)                                                                                        \
    X(Mix_Quit)                                                                                              \
    X(Mix_GetSoundFonts)                                                                                     \
    X(Mix_SetSoundFonts)                                                                                     \
    X(Mix_LoadMUSType_RW)                                                                                    \
    X(Mix_PlayMusic)                                                                                         \
    X(Mix_FreeMusic)                                                                                         \
    X(Mix_PlayingMusic)                                                                                      \
    X(Mix_HaltMusic)

struct Sdl {
#define TB_SDL_MEMBER(name) decltype(&::name) name = nullptr;
    TB_SDL_FUNCTIONS(TB_SDL_MEMBER)
#undef TB_SDL_MEMBER
};

// Loaded once and kept; nullptr when the library or one of its functions is missing.
const Sdl* sdl() {
    static const std::optional<Sdl> loaded = []() -> std::optional<Sdl> {
        void* library = ::dlopen(kMixerLibrary, RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            return std::nullopt;
        Sdl functions;
        bool complete = true;
#define TB_SDL_RESOLVE(name)                                                                                 \
    functions.name = reinterpret_cast<decltype(functions.name)>(::dlsym(library, #name));                    \
    complete = complete && functions.name != nullptr;
        TB_SDL_FUNCTIONS(TB_SDL_RESOLVE)
#undef TB_SDL_RESOLVE
        if (!complete) {
            ::dlclose(library);
            return std::nullopt;
        }
        return functions;
    }();
    return loaded ? &*loaded : nullptr;
}

// Where SDL_mixer's own search for a General MIDI sound font finds none (it knows one or two fixed
// places, which differ between its builds), MIDI falls back to Debian's alternatives link, which
// points at the best such font installed, then to the small font the install script brings.
constexpr const char* kSoundFonts[] = {"/usr/share/sounds/sf2/default-GM.sf2",
                                       "/usr/share/sounds/sf2/TimGM6mb.sf2"};

void chooseSoundFont() {
    if (sdl()->Mix_GetSoundFonts() != nullptr) // SDL_SOUNDFONTS, or SDL_mixer found one itself
        return;
    for (const char* font : kSoundFonts) {
        if (::access(font, R_OK) == 0) {
            sdl()->Mix_SetSoundFonts(font);
            return;
        }
    }
}

// The file opened for SDL, or nullptr when it is not a readable regular file. The check is made on
// the opened descriptor, so the file cannot be swapped for something else in between; O_NONBLOCK
// keeps the open itself from waiting for a writer when the name is a FIFO.
SDL_RWops* openRegularFile(const std::filesystem::path& file) {
    os::UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        return nullptr;
    struct stat status {};
    FILE* stream = nullptr;
    // A file larger than an alert sound may be is not read at all: some decoders read it whole.
    if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<std::uintmax_t>(status.st_size) > store::kMaxSoundFileBytes ||
        (stream = ::fdopen(fd.get(), "rb")) == nullptr)
        return nullptr;
    fd.release(); // the stream has it now
    SDL_RWops* source = sdl()->SDL_RWFromFP(stream, SDL_TRUE);
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
    Mix_Music* music = sdl()->Mix_LoadMUSType_RW(source, MUS_NONE, SDL_FALSE);
    if (music == nullptr && namedAsMp3(file))
        music = sdl()->Mix_LoadMUSType_RW(source, MUS_MP3, SDL_FALSE);
    return music;
}

} // namespace

SdlSoundPlayer::~SdlSoundPlayer() {
    stop();
    if (deviceOpen_) {
        sdl()->Mix_CloseAudio();
        sdl()->Mix_Quit();
        sdl()->SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
    sdl()->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Defaults only: the user's environment still names the application and stream as it likes.
    sdl()->SDL_SetHintWithPriority(SDL_HINT_APP_NAME, "Tallowby", SDL_HINT_DEFAULT);
    sdl()->SDL_SetHintWithPriority(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Alert", SDL_HINT_DEFAULT);
    if (sdl()->SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        nextOpenAttempt_ = now + kRetryOpenAfter;
        return false;
    }
    // 2048 frames at 44.1 kHz: under 50 ms from play to sound, without underruns on a busy desktop.
    if (sdl()->Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        sdl()->SDL_QuitSubSystem(SDL_INIT_AUDIO);
        nextOpenAttempt_ = now + kRetryOpenAfter;
        return false;
    }
    chooseSoundFont();
    deviceOpen_ = true;
    return true;
}

bool SdlSoundPlayer::play(const std::filesystem::path& file) {
    stop();
    if (sdl() == nullptr)
        return false;
    SDL_RWops* source = openRegularFile(file);
    if (source == nullptr)
        return false;
    if (!openDevice()) {
        sdl()->SDL_RWclose(source);
        return false;
    }
    Mix_Music* music = load(source, file);
    // 1: once through (0 would mean the same to SDL_mixer, -1 forever).
    if (music == nullptr || sdl()->Mix_PlayMusic(music, 1) != 0) {
        sdl()->Mix_FreeMusic(music);
        sdl()->SDL_RWclose(source);
        return false;
    }
    music_ = music;
    source_ = source;
    return true;
}

bool SdlSoundPlayer::playing() const {
    return music_ != nullptr && sdl()->Mix_PlayingMusic() != 0;
}

void SdlSoundPlayer::stop() {
    if (music_ == nullptr)
        return;
    sdl()->Mix_HaltMusic();
    sdl()->Mix_FreeMusic(music_);
    sdl()->SDL_RWclose(source_);
    music_ = nullptr;
    source_ = nullptr;
}

std::unique_ptr<SoundPlayer> makeSoundPlayer() {
    return std::make_unique<SdlSoundPlayer>();
}

} // namespace tallowby::platform
