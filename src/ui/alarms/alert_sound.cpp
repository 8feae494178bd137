#include "ui/alarms/alert_sound.h"

namespace tallowby::ui {

void AlertSound::start(const void* owner, const std::filesystem::path& file,
                       const std::filesystem::path& fallback) {
    holder_ = owner;
    // No audio device, or neither file plays: the pop-up stays silent.
    if (!player_.play(file))
        player_.play(fallback);
}

void AlertSound::repeatIfEnded(const void* owner, const std::filesystem::path& file,
                               const std::filesystem::path& fallback) {
    if (holder_ == owner && player_.playing())
        return;
    if (holder_ != owner && holder_ != nullptr && player_.playing())
        return;
    start(owner, file, fallback);
}

void AlertSound::stop(const void* owner) {
    if (holder_ != owner)
        return;
    player_.stop();
    holder_ = nullptr;
}

} // namespace tallowby::ui
