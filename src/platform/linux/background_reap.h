#pragma once
#include <sys/types.h>

namespace tallowby::platform {

// Waits for the child to end on a thread of its own and collects it, so a long-running program that
// does not wait for a child itself gathers no zombies. Without a thread to spare the child stays a
// zombie until this process ends.
void reapInBackground(pid_t child);

} // namespace tallowby::platform
