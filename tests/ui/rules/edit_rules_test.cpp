// What the rule editors accept: session times against the other sessions, and the entries of the
// process and website lists.
#include <gtest/gtest.h>
#include <optional>
#include <string>

#include "engine/edit_rules.h"
#include "store/time_of_day.h"

namespace tallowby::engine {
namespace {

const std::string kStartMessage = "Failed - start time should be earlier than end time.";

std::string startOverlap(const std::string& other) {
    return "Failed - start time overlaped with session " + other;
}
std::string endOverlap(const std::string& other) {
    return "Failed - end time overlaped with session " + other;
}

// 09:00-10:00 and 12:00-13:00, then a trailing incomplete group that is no session.
const store::Lines kSessions{"09:00", "10:00",   "1111111", "0", "", "",     "12:00",
                             "13:00", "1111111", "0",       "",  "", "20:00"};

struct TimeCase {
    const char* start;
    const char* end;
    int skipped;
    std::optional<std::string> message;
};

TEST(ValidateSessionTime, FirstConflictInFileOrderDecides) {
    const TimeCase cases[] = {
        {"10:00", "12:00", -1, std::nullopt}, // touches both neighbours
        {"13:00", "23:55", -1, std::nullopt},
        {"00:00", "09:00", -1, std::nullopt},
        {"10:00", "10:00", -1, kStartMessage},
        {"11:00", "10:30", -1, kStartMessage},
        {"09:55", "10:30", -1, startOverlap("09:00:10:00")},
        {"09:00", "09:05", -1, startOverlap("09:00:10:00")},
        {"08:00", "09:05", -1, endOverlap("09:00:10:00")},
        {"08:00", "14:00", -1, endOverlap("09:00:10:00")}, // encloses both: the first in file order
        {"11:00", "12:30", -1, endOverlap("12:00:13:00")},
        {"12:30", "12:45", -1, startOverlap("12:00:13:00")},
        {"09:30", "10:30", 0, std::nullopt}, // the edited session itself is skipped
        {"09:30", "12:30", 0, endOverlap("12:00:13:00")},
        {"20:00", "20:30", -1, std::nullopt}, // the incomplete group is no session
    };
    for (const TimeCase& c : cases)
        EXPECT_EQ(ValidateSessionTime(kSessions, c.start, c.end, c.skipped), c.message)
            << c.start << "-" << c.end;
}

TEST(ValidateSessionTime, AStoredTimeThatCannotBeReadIsAnError) {
    const store::Lines broken{"9 o'clock", "10:00", "1111111", "0", "", ""};
    EXPECT_THROW(ValidateSessionTime(broken, "11:00", "12:00"), store::TimeFormatError);
}

struct EntryCase {
    const char* typed;
    bool processAccepted;
    bool websiteAccepted;
};

TEST(EntryRules, OnlyWhatTheListFormatReadsBackIsAccepted) {
    const EntryCase cases[] = {
        {"firefox-esr", true, false}, // one label: no website is named so
        {"code", true, false},
        {"vlc", true, false}, // a short program name; websites keep four characters
        {"", false, false},
        {"ab;cd", false, false},             // would split
        {"news\nexample.org", false, false}, // would shift every later record
        {"news\rexample.org", false, false},
        {"usr/bin/vlc", false, false}, // a file name, not a path; not a host name either
        {"www.example.com", true, true},
        {"two words", true, false}, // one hosts line would block two names
        // Only a host name can be blocked: not an address with its scheme or path, nor an underscore.
        {"https://www.example.com", false, false},
        {"example.com/news", false, false},
        {"my_site.example", true, false},
        {"-.example..com", true, false},
        // What the resolver reads as an address, and this machine's own loopback names.
        {"0x7f.0x1", true, false},
        {"1.2.3.0x10", true, false},
        {"localhost.localdomain", true, false},
        {"ip6-localhost", true, false},
        {"www.localhost", true, false},
    };
    for (const EntryCase& c : cases) {
        EXPECT_EQ(!processEntryFailure(c.typed, ProgramNaming::AnyName), c.processAccepted) << c.typed;
        EXPECT_EQ(!websiteEntryFailure(c.typed), c.websiteAccepted) << c.typed;
    }
    EXPECT_EQ(trimEntry("  \tvlc.bin \t"), "vlc.bin");
}

TEST(EntryRules, WhereProgramsAreExeFilesATypedNameEndsInExeInAnyCase) {
    const std::string notExe = "Failed - Progress should be *.exe file.";
    const struct {
        const char* typed;
        std::optional<std::string> failure; // "" for the refusal of a folder or a separator
    } cases[] = {
        {"example.exe", std::nullopt},
        {"NOTEPAD.EXE", std::nullopt},
        {"Game Launcher.Exe", std::nullopt},
        {"notepad", notExe},
        {"notepad.exe.lnk", notExe}, // a further extension after it
        {"exe", notExe},
        {"", notExe},
        {"C:\\Windows\\notepad.exe", ""},
        {"tools/notepad.exe", ""},
        {"a.exe;b.exe", ""}, // would split into two entries when read back
        {"tab\t.exe", ""},
    };
    for (const auto& c : cases) {
        const std::optional<std::string> failure = processEntryFailure(c.typed, ProgramNaming::ExeFile);
        ASSERT_EQ(failure.has_value(), c.failure.has_value()) << c.typed;
        if (failure && !c.failure->empty())
            EXPECT_EQ(*failure, *c.failure) << c.typed;
        else if (failure)
            EXPECT_NE(*failure, notExe) << c.typed;
    }
    EXPECT_EQ(trimEntry(" \t "), "");
}

} // namespace
} // namespace tallowby::engine
