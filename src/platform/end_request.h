#pragma once
// The system asking the program to end: the session manager or the system ending the desktop session
// (on Linux SIGTERM, SIGHUP, SIGINT). Without an answer of the program's own these end it on the
// spot, with its website blocks still in the hosts file.
#include <functional>

namespace tallowby::platform {

// From now on such a request calls ended, once, on a thread of its own (not in a signal handler),
// instead of ending the program. Call once, early. Returns false when the request cannot be caught;
// the program then ends as before.
bool catchEndRequest(std::function<void()> ended);

} // namespace tallowby::platform
