// Which installed or running program a name that answers to nothing was meant to be.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "engine/program_choice.h"

namespace tallowby::engine {
namespace {

TEST(ClosestName, FindsTheSlipOrTheShortenedNameAndNothingFarOff) {
    const std::vector<std::string> installed = {
        "firefox-esr", "Chromium", "libreoffice", "libreoffice-writer",   "vlc", "vi",
        "steam",       "code-oss", "node",        "gnome-terminal-server"};
    const struct {
        const char* typed;
        const char* meant; // nullptr: nothing close
    } cases[] = {
        {"firefox", "firefox-esr"},            // shortened
        {"chromum", "Chromium"},               // a letter left out; given back as written
        {"CHROMIUM", "Chromium"},              // case alone
        {"libreofice", "libreoffice"},         // not the longer writer entry
        {"lbireoffice", "libreoffice"},        // two letters swapped
        {"chromium-browser", "Chromium"},      // another distribution's longer name
        {"stema", "steam"},                    // swapped at the end
        {"code", "code-oss"},                  // the shortened name before "node", a letter off
        {"terminal", "gnome-terminal-server"}, // held inside
        {"vcl", nullptr},                      // three letters have none to spare
        {"mpv", nullptr},
        {"thunderbird", nullptr},
        {"", nullptr},
    };
    for (const auto& [typed, meant] : cases) {
        const auto found = closestName(typed, installed);
        EXPECT_EQ(found.value_or("(nothing)"), meant ? meant : "(nothing)") << typed;
    }
    EXPECT_EQ(closestName("firefox", {}), std::nullopt);
}

TEST(ClosestName, TheAnswerDoesNotHangOnTheOrderOfTheCandidates) {
    const std::vector<std::string> forwards = {"steam", "stem", "steamcmd"};
    const std::vector<std::string> backwards(forwards.rbegin(), forwards.rend());
    EXPECT_EQ(closestName("steem", forwards), closestName("steem", backwards));
    EXPECT_TRUE(sameName("Firefox-ESR", "firefox-esr"));
    EXPECT_FALSE(sameName("firefox", "firefox-esr"));
}

} // namespace
} // namespace tallowby::engine
