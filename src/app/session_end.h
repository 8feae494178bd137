#pragma once
// The end of the desktop session under a running program: the system asks it to end, or its display
// goes away (Qt then ends the process at once). Either way its website blocks are lifted first, so
// nothing stays blocked once nobody is there; the next log-on's start puts back what the rules say.
#include "ui/main/untmain.h"

namespace tallowby::app {

// For the life of the window.
void liftBlocksWhenSessionEnds(ui::Tfrmmain& window);

} // namespace tallowby::app
