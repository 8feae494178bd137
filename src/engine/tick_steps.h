#pragma once
// The parts of one tick, in the files that carry them out. Private to the engine.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/tick.h"

namespace tallowby::engine {

struct TickContext {
    const TickInputs& inputs;
    TickState& state;
    const Clock& clock;
    TickActions& actions;

    const store::RuleLists& lists() const { return inputs.lists; }
    // Read afresh for every check: a modal window opened earlier in the tick may have taken minutes.
    LocalDateTime now() const { return clock.now(); }
    std::int64_t interval() const { return inputs.intervalMs; }
    // A sweep rule of this kind with the tick's window command and the program's own name.
    SweepRule sweepRule(SweepKind kind, std::vector<std::string> names) const;
};

// The stored time text as milliseconds of the day; nothing when it cannot be read, so that the one
// record is skipped and the others are still evaluated.
std::optional<std::int64_t> readTime(const std::string& text);

void runReminders(const TickContext& tick);
void runAutomaticShutdown(const TickContext& tick);
void runSession(const TickContext& tick, int index);

} // namespace tallowby::engine
