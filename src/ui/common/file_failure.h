#pragma once
// The words of a failed file operation: what was being done, to which file, and the system's reason,
// so a message never shows a bare "No space left on device".
#include <QString>

#include "store/text_file.h"
#include "ui/common/local_text.h"

namespace tallowby::ui {

// "Could not <action> <path>: <reason>." with what follows it, if anything, after a blank.
inline QString fileFailureText(const QString& action, const store::FileError& error,
                               const QString& consequence = {}) {
    QString text = fromBytes(store::describeFailure(toBytes(action), error));
    if (!consequence.isEmpty())
        text += QLatin1Char(' ') + consequence;
    return text;
}

} // namespace tallowby::ui
