// The code generator's character set and distribution, which the dialog relies on to be typable.
#include <gtest/gtest.h>
#include <map>
#include <string>

#include "engine/check_code.h"

namespace tallowby::test {
namespace {

using engine::Checkcode;

TEST(CheckCodeGenerator, CodesOfManySeedsUseNinetyTwoCharactersWithTheDashTwiceAsOften) {
    std::map<char, long> counts;
    long total = 0;
    for (std::uint32_t seed = 0; seed < 2000; ++seed) {
        for (char c : Checkcode(100, seed * 2654435761u)) {
            ++counts[c];
            ++total;
        }
    }
    ASSERT_EQ(total, 200000);
    EXPECT_EQ(counts.size(), 92u);
    EXPECT_EQ(counts.count('&'), 0u);
    EXPECT_EQ(counts.count('~'), 0u);
    EXPECT_EQ(counts.count(' '), 0u);
    EXPECT_EQ(counts.begin()->first, '!');
    EXPECT_EQ(counts.rbegin()->first, '}');

    // 93 equally likely draws, "&" folded into "-": every other character about total / 93.
    const double expected = total / 93.0;
    for (const auto& [c, count] : counts) {
        const double share = count / expected;
        if (c == '-')
            EXPECT_NEAR(share, 2.0, 0.15) << c;
        else
            EXPECT_NEAR(share, 1.0, 0.15) << c;
    }
}

TEST(CheckCodeGenerator, LengthFollowsTheCountAndTheSeedFixesTheCode) {
    EXPECT_EQ(Checkcode(0, 7), "");
    EXPECT_EQ(Checkcode(-5, 7), "");
    EXPECT_EQ(Checkcode(5, 7).size(), 5u);
    EXPECT_EQ(Checkcode(300, 7).size(), 300u);
    EXPECT_EQ(Checkcode(300, 12345), Checkcode(300, 12345));
    EXPECT_NE(Checkcode(300, 12345), Checkcode(300, 12346));
    // A longer code of the same seed begins with the shorter one: each character is one draw.
    EXPECT_EQ(Checkcode(40, 99).substr(0, 10), Checkcode(10, 99));
}

} // namespace
} // namespace tallowby::test
