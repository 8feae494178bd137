// How a message quotes what a file holds: short, whole and printable whatever the bytes.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "store/load_report.h"
#include "store/report_text.h"

namespace tallowby::store {
namespace {

using namespace std::string_literals;

struct Quote {
    const char* what;
    std::string text;
    std::string shown; // as quotedExcerpt gives it
};

void PrintTo(const Quote& quote, std::ostream* out) {
    *out << quote.what;
}

class ReportTextTest : public testing::TestWithParam<Quote> {};

TEST_P(ReportTextTest, QuotesTheBeginningPrintably) {
    const Quote& quote = GetParam();
    EXPECT_EQ(quotedExcerpt(quote.text), quote.shown) << quote.what;
}

const std::string k40 = std::string(40, 'a');

INSTANTIATE_TEST_SUITE_P(
    Texts, ReportTextTest,
    testing::Values(Quote{"short", "09:00", "\"09:00\""}, Quote{"empty", "", "\"\""},
                    Quote{"exactly as long as quoted", k40, "\"" + k40 + "\""},
                    Quote{"a line of 4 MiB", std::string(4 << 20, 'a'), "\"" + k40 + "...\""},
                    Quote{"control characters",
                          "a\x01"
                          "b\tc\x1b[2Jd\x7f",
                          "\"a\\x01b\\x09c\\x1B[2Jd\\x7F\""},
                    Quote{"line breaks", "a\r\nb", "\"a\\x0D\\x0Ab\""}, Quote{"NUL", "a\0b"s, "\"a\\0b\""},
                    Quote{"UTF-8 kept", "Caf\xc3\xa9 \xe6\x97\xa5 \xf0\x9f\x98\x80",
                          "\"Caf\xc3\xa9 \xe6\x97\xa5 \xf0\x9f\x98\x80\""},
                    Quote{"stray bytes",
                          "\xff\xfe"
                          "a\x80",
                          "\"\\xFF\\xFEa\\x80\""},
                    Quote{"a character cut off", "ab\xe6\x97", "\"ab\\xE6\\x97\""},
                    Quote{"overlong and surrogate forms", "\xc0\xaf\xed\xa0\x80",
                          "\"\\xC0\\xAF\\xED\\xA0\\x80\""},
                    Quote{"past U+10FFFF", "\xf4\x90\x80\x80", "\"\\xF4\\x90\\x80\\x80\""},
                    Quote{"text turned or broken",
                          "a\xe2\x80\xae"
                          "b\xc2\x85"
                          "c\xe2\x80\xa8",
                          "\"a\\u202Eb\\u0085c\\u2028\""},
                    Quote{"a cut counts characters, never splits one",
                          std::string(39, 'a') + "\xc3\xa9"
                                                 "bc",
                          "\"" + std::string(39, 'a') + "\xc3\xa9...\""},
                    Quote{"a cut counts each stray byte once", std::string(50, '\x01'), "\"" + [] {
                              std::string escaped;
                              for (int i = 0; i < 40; ++i)
                                  escaped += "\\x01";
                              return escaped;
                          }() + "...\""}));

TEST(ProblemList, ListsAtMostSomeAndCountsTheRest) {
    const auto problems = [](std::size_t count) {
        std::vector<std::string> list;
        for (std::size_t i = 0; i < count; ++i)
            list.push_back("problem " + std::to_string(i + 1));
        return list;
    };
    EXPECT_EQ(problemList(problems(2)), "- problem 1\n- problem 2");
    const std::string all = problemList(problems(kListedProblems));
    EXPECT_EQ(all.find("more"), std::string::npos);
    EXPECT_NE(all.find("- problem 25"), std::string::npos);

    const std::string capped = problemList(problems(kListedProblems + 312));
    EXPECT_TRUE(capped.ends_with("- problem 25\nand 312 more.")) << capped;
    EXPECT_EQ(std::count(capped.begin(), capped.end(), '\n'), static_cast<long>(kListedProblems));
    EXPECT_EQ(problemList({"a\nb\0c"s}), "- a\\x0Ab\\0c");
}

TEST(LoadReportText, EveryProblemIsPrintableWhateverItNames) {
    LoadReport report;
    report.add("/data/\xff"
               "profiles/W\x01ork.db holds\0 nothing"s);
    EXPECT_EQ(report.problems(),
              std::vector<std::string>{"/data/\\xFFprofiles/W\\x01ork.db holds\\0 nothing"});
}

} // namespace
} // namespace tallowby::store
