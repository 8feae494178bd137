#pragma once
// The timed events that have fired, each with the local date it fired for. A wall clock set back
// (by hand, by a time correction, at the end of summer time) brings a moment round again that the
// tick has already answered for: what fired then does not fire a second time that day.
#include <cstdint>
#include <set>
#include <string>
#include <utility>

namespace tallowby::engine {

class FiredAlarms {
  public:
    // day: the event's local date in days since 1970-01-01.
    bool firedOn(const std::string& alarm, std::int64_t day) const;
    // Also forgets what fired more than a day away from this day: only a clock set back by less
    // than that can bring those moments round again, and the memory stays a few days' alarms long.
    void markFired(const std::string& alarm, std::int64_t day);

  private:
    std::set<std::pair<std::int64_t, std::string>> fired_;
};

} // namespace tallowby::engine
