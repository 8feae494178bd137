#include "engine/fired_alarms.h"

namespace tallowby::engine {

bool FiredAlarms::firedOn(const std::string& alarm, std::int64_t day) const {
    return fired_.contains({day, alarm});
}

void FiredAlarms::markFired(const std::string& alarm, std::int64_t day) {
    fired_.erase(fired_.begin(), fired_.lower_bound({day - 1, std::string()}));
    fired_.erase(fired_.lower_bound({day + 2, std::string()}), fired_.end());
    fired_.emplace(day, alarm);
}

} // namespace tallowby::engine
