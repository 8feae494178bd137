#include <gtest/gtest.h>

#include "engine/entry_list.h"

namespace tallowby::engine {
namespace {

using Slots = std::vector<std::string>;

TEST(SplitEntryList, EveryNonEmptyEntryIsASlot) {
    EXPECT_EQ(SplitEntryList("notepad.exe;calc.exe;"), (Slots{"notepad.exe", "calc.exe"}));
    EXPECT_EQ(SplitEntryList("notepad.exe;trailing"), Slots{"notepad.exe"});
    EXPECT_EQ(SplitEntryList("mpv;;vlc;"), (Slots{"mpv", "vlc"}));
    EXPECT_EQ(SplitEntryList(";;;"), Slots{});
    EXPECT_EQ(filledEntries(Slots{"", "x", ""}), Slots{"x"});
}

} // namespace
} // namespace tallowby::engine
