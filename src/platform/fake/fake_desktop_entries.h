#pragma once
// Installed applications for tests: whatever the test lists.
#include <vector>

#include "platform/desktop_entries.h"

namespace tallowby::platform {

class FakeDesktopEntries : public DesktopEntries {
  public:
    std::vector<DesktopEntry> entries;
    int readings = 0;

    const std::vector<DesktopEntry>& applications() override {
        ++readings;
        return entries;
    }
};

} // namespace tallowby::platform
