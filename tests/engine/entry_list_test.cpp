#include <gtest/gtest.h>

#include "engine/entry_list.h"

namespace tallowby::engine {
namespace {

using Slots = std::vector<std::string>;

// The reading rule itself is the store's; these cases are about the slots.
TEST(SplitEntryList, OneSlotPerSeparatorUnfilledSlotsStayEmpty) {
    EXPECT_EQ(SplitEntryList("notepad.exe;calc.exe;"), (Slots{"notepad.exe", "calc.exe"}));
    EXPECT_EQ(SplitEntryList("notepad.exe;trailing"), Slots{"notepad.exe"});
    EXPECT_EQ(SplitEntryList("ab;notepad.exe;"), (Slots{"", ""}));
    EXPECT_EQ(SplitEntryList("notepad.exe;ab;"), (Slots{"notepad.exe", ""}));
    EXPECT_EQ(SplitEntryList(";;;"), (Slots{"", "", ""}));
    EXPECT_EQ(SplitEntryList("word.exe;;more.exe;"), (Slots{"word.exe", "", ""}));
    EXPECT_EQ(SplitEntryList(""), Slots{});
}

TEST(FilledEntries, DropsEmptySlots) {
    EXPECT_EQ(filledEntries(SplitEntryList("notepad.exe;ab;x.exe;")), Slots{"notepad.exe"});
    EXPECT_EQ(filledEntries(Slots{"", ""}), Slots{});
}

} // namespace
} // namespace tallowby::engine
