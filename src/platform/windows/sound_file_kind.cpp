#include "platform/windows/sound_file_kind.h"

#include <algorithm>

#include "engine/program_choice.h"
#include "os/path_text.h"

namespace tallowby::platform::windows {
namespace {

std::uint32_t little32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

bool riffOf(std::string_view head, std::string_view form) {
    return head.size() >= 12 && head.substr(0, 4) == "RIFF" && head.substr(8, 4) == form;
}

bool mp3Start(std::string_view head) {
    if (head.starts_with("ID3"))
        return true;
    // An MPEG audio frame's sync: eleven bits set.
    return head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF &&
           (static_cast<unsigned char>(head[1]) & 0xE0) == 0xE0;
}

} // namespace

SoundFileKind soundFileKind(std::string_view head, const std::filesystem::path& file) {
    if (riffOf(head, "WAVE"))
        return SoundFileKind::Wave;
    if (head.starts_with("MThd"))
        return SoundFileKind::Midi;
    if (head.starts_with("RIFF"))
        return SoundFileKind::Other;
    if (mp3Start(head) || engine::sameName(os::utf8Of(file.extension()), ".mp3"))
        return SoundFileKind::Mp3;
    return SoundFileKind::Other;
}

std::optional<std::chrono::milliseconds> waveLength(std::string_view head, std::uintmax_t fileSize) {
    if (!riffOf(head, "WAVE"))
        return std::nullopt;
    std::uint32_t bytesPerSecond = 0;
    std::uintmax_t samples = 0;
    bool samplesFound = false;
    // Chunks: a four-letter id, a 32-bit size, the body, a pad byte after an odd size.
    std::uintmax_t at = 12;
    while (at + 8 <= head.size() && !samplesFound) {
        const std::string_view id = head.substr(static_cast<std::size_t>(at), 4);
        const std::uint32_t size = little32(head, static_cast<std::size_t>(at) + 4);
        if (id == "fmt " && size >= 16 && at + 20 <= head.size())
            bytesPerSecond = little32(head, static_cast<std::size_t>(at) + 16);
        if (id == "data") {
            samplesFound = true;
            // A file cut short, or written while recording, claims more than it holds.
            samples = std::min<std::uintmax_t>(size, fileSize > at + 8 ? fileSize - (at + 8) : 0);
        }
        at += 8 + std::uintmax_t{size} + (size & 1);
    }
    if (!samplesFound)
        samples = fileSize > at ? fileSize - at : 0;
    if (bytesPerSecond == 0)
        return std::nullopt;
    return std::chrono::milliseconds(samples * 1000 / bytesPerSecond);
}

} // namespace tallowby::platform::windows
