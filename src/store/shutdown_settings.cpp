#include "store/shutdown_settings.h"

#include "store/line_values.h"

namespace tallowby::store {

ShutdownSettings shutdownSettings(const Lines& reminderLines) {
    ShutdownSettings settings;
    settings.weekDays = decodeWeekDays(lineAt(reminderLines, 0));
    settings.time = lineAt(reminderLines, 1);
    settings.remindAhead = isOn(lineAt(reminderLines, 2));
    settings.playSound = isOn(lineAt(reminderLines, 3));
    settings.checkCodeToCancel = isOn(lineAt(reminderLines, 4));
    return settings;
}

Lines saveShutdownSettings(Lines reminderLines, const ShutdownSettings& settings) {
    setLine(reminderLines, 0, encodeWeekDays(settings.weekDays));
    setLine(reminderLines, 1, settings.time);
    setLine(reminderLines, 2, flagText(settings.remindAhead));
    setLine(reminderLines, 3, flagText(settings.playSound));
    setLine(reminderLines, 4, flagText(settings.checkCodeToCancel));
    return reminderLines;
}

Lines cancelShutdown(Lines reminderLines) {
    setLine(reminderLines, 0, "0");
    return reminderLines;
}

} // namespace tallowby::store
