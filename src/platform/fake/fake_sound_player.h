#pragma once
// A sound player for tests: it plays nothing, records what it was asked to play, and lets the test
// say which files play and when a sound has ended.
#include <filesystem>
#include <set>
#include <vector>

#include "platform/sound_player.h"

namespace tallowby::platform {

class FakeSoundPlayer : public SoundPlayer {
  public:
    bool play(const std::filesystem::path& file) override {
        started.push_back(file);
        playing_ = !unplayable.contains(file);
        return playing_;
    }
    bool playing() const override { return playing_; }
    void stop() override {
        playing_ = false;
        ++stops;
    }
    // The sound that plays has come to its end.
    void finish() { playing_ = false; }

    std::set<std::filesystem::path> unplayable; // files whose play fails
    std::vector<std::filesystem::path> started; // every play asked for, in order
    int stops = 0;

  private:
    bool playing_ = false;
};

} // namespace tallowby::platform
