#include "store/profile_defaults.h"

#include "store/shutdown_settings.h"
#include "store/whole_day_record.h"

namespace tallowby::store {

Lines newWholeDayLines() {
    return encodeWholeDay(WholeDayFields{});
}

Lines newSessionLines() {
    return {};
}

Lines newReminderLines() {
    return saveShutdownSettings({}, ShutdownSettings{{}, "22:30", true, true, true});
}

} // namespace tallowby::store
