#pragma once
// Lines 0-4 of a reminder file: the automatic shutdown of the profile.
#include <string>

#include "store/text_file.h"
#include "store/week_days.h"

namespace tallowby::store {

struct ShutdownSettings {
    WeekDays weekDays{};            // line 0
    std::string time;               // line 1, "HH:MM"
    bool remindAhead = false;       // line 2
    bool playSound = false;         // line 3
    bool checkCodeToCancel = false; // line 4
};

// The settings as the setup dialog shows them; missing lines read as empty.
ShutdownSettings shutdownSettings(const Lines& reminderLines);

// Lines 0-4 from the settings, then every line from 5 on unchanged. A file of fewer than five lines
// becomes exactly the five.
Lines saveShutdownSettings(Lines reminderLines, const ShutdownSettings& settings);

// Line 0 becomes the single character "0" (no day selected); every other line stays.
Lines cancelShutdown(Lines reminderLines);

} // namespace tallowby::store
