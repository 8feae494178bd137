#pragma once
// The words for a hosts file write that failed: a file's fault names the file and the system's
// reason; a permission the user did not give is told as that, in plain words.
#include <QString>

#include "store/text_file.h"

namespace tallowby::ui {

enum class HostsWriteMoment {
    Blocking,  // the rules are to block websites
    Lifting,   // Stop or a pause gives the websites back
    ProgramEnd // Exit, or the end of the desktop session
};

QString hostsFailureText(const store::FileError& error, HostsWriteMoment moment);

} // namespace tallowby::ui
