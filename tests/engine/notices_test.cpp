#include <gtest/gtest.h>

#include "engine/notices.h"

namespace tallowby::engine {
namespace {

const SessionRecord kFocusSession{"09:00", "12:00", "1111111", "1", "notepad.exe;calc.exe;", "example.com;"};
const SessionRecord kEmptyBlockSession{"13:00", "14:00", "1111111", "0", "", ""};
const WholeDayRecord kWholeDay{"1111111", "0", "game.exe;", ""};

TEST(PreSessionNotice, ListsTheSessionAsStored) {
    EXPECT_EQ(PreSessionNoticeText(kFocusSession, nullptr),
              "Please mind Session 09:00-12:00 will start in 10 minutes.\r"
              "Only below process will be allowed:\rnotepad.exe;calc.exe;\r"
              "Below website will be blocked:\rexample.com;");
    EXPECT_EQ(PreSessionNoticeText(kEmptyBlockSession, nullptr),
              "Please mind Session 13:00-14:00 will start in 10 minutes.\r"
              "Below process will be blocked:\rNone\rBelow website will be blocked:\rNone");
}

TEST(SessionEndNotice, KeepsItsOwnWording) {
    EXPECT_EQ(SessionEndNoticeText(kFocusSession, nullptr),
              "Please mind Session 09:00-12:00 ended, the seesion content was:\r"
              "Only below process allowed:\rnotepad.exe;calc.exe;\r"
              "Below website be blocked:\rexample.com;");
    EXPECT_EQ(SessionEndNoticeText(kEmptyBlockSession, nullptr),
              "Please mind Session 13:00-14:00 ended, the seesion content was:\r"
              "Below process blocked:\rNone\rBelow website be blocked:\rNone");
}

TEST(SessionNotices, WholeDayPartFollowsAnEmptyLine) {
    const std::string part =
        "\r\rFor whole day events:\rBelow process blocked:\rgame.exe;\rWebsite blocked:\rNone";
    EXPECT_EQ(PreSessionNoticeText(kEmptyBlockSession, &kWholeDay),
              PreSessionNoticeText(kEmptyBlockSession, nullptr) + part);
    EXPECT_EQ(SessionEndNoticeText(kEmptyBlockSession, &kWholeDay),
              SessionEndNoticeText(kEmptyBlockSession, nullptr) + part);
    // Any mode but "0" reads as Focus, a missing one included.
    const WholeDayRecord noMode{"1111111", "", "", ""};
    EXPECT_NE(SessionEndNoticeText(kEmptyBlockSession, &noMode)
                  .find("For whole day events:\rOnly below process allowed:"),
              std::string::npos);
}

} // namespace
} // namespace tallowby::engine
