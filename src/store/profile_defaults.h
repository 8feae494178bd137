#pragma once
// The files of a profile when it is added.
#include "store/text_file.h"

namespace tallowby::store {

// "0000000", "0", "", "": no day, Block, no processes, no websites.
Lines newWholeDayLines();

// No sessions.
Lines newSessionLines();

// "0000000", "22:30", "1", "1", "1": no shutdown day, 22:30, remind ahead, sound and check code on;
// no reminders.
Lines newReminderLines();

} // namespace tallowby::store
