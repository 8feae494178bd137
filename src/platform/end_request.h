#pragma once
// The system asking the program to end: the session manager or the system ending the desktop session
// (on Linux SIGTERM, SIGHUP, SIGINT; on Windows the end of the session, WM_ENDSESSION). Without an
// answer of the program's own these end it on the spot, with its website blocks still in the hosts
// file.
#include <functional>

namespace tallowby::platform {

// From now on such a request calls ended, once, on a thread of its own (not in a signal handler),
// instead of ending the program. Call once, early. Returns false when the request cannot be caught;
// the program then ends as before. Windows may end the process as soon as ended returns, so ended
// returns only when what must be done before the end is done.
bool catchEndRequest(std::function<void()> ended);

} // namespace tallowby::platform
