#pragma once
// The in-memory lists that the main window owns for the whole run. Each holds its file's lines in
// file order and is addressed by line number; the counts are recomputed at every load.
#include "store/text_file.h"

namespace tallowby::store {

struct RuleLists {
    Lines ConfigLines;
    Lines ProfileLines;
    Lines SessionLines;
    int SessionCount = 0;
    Lines WholeDayLines;
    Lines ReminderLines;
    int ReminderCount = 0;
    Lines SoundLines;
};

} // namespace tallowby::store
