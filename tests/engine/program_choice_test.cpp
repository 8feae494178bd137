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

// What a person types for a program they saw in the menu or on the screen, and what is offered:
// a word of the menu name first, then a start, then a slip, never a far-off name; one per place.
TEST(LikelyMeant, AWordOfTheMenuNameThenAStartThenASlip) {
    const std::vector<NameCandidate> candidates = {
        {"LibreOffice Writer", "writer"},
        {"libreoffice-writer", "writer"},
        {"write", "write"},
        {"choom", "choom"},
        {"Chromium Web Browser", "chromium"},
        {"chromium", "chromium"},
        {"Image Viewer", "eog"},
        {"eog", "eog"},
        {"evince", "evince"},
        {"vlc", "vlc"},
        {"VLC media player", "vlc"},
        {"gnome-terminal-server", "terminal"},
    };
    const auto offered = [&](const char* typed) {
        std::vector<std::string> names;
        for (const std::size_t at : likelyMeant(typed, candidates, 3))
            names.push_back(candidates[at].name);
        return names;
    };
    using Names = std::vector<std::string>;
    EXPECT_EQ(offered("writer"), (Names{"LibreOffice Writer", "write"}));
    EXPECT_EQ(offered("chrome"), (Names{"chromium"})) << "not choom, two slips off";
    EXPECT_EQ(offered("chromum"), (Names{"chromium"}));
    EXPECT_EQ(offered("image"), (Names{"Image Viewer"}));
    EXPECT_EQ(offered("imageviewer"), (Names{"Image Viewer"}));
    EXPECT_EQ(offered("media"), (Names{"VLC media player"}));
    EXPECT_EQ(offered("terminal"), (Names{"gnome-terminal-server"}));
    EXPECT_EQ(offered("vcl"), Names{});
    EXPECT_EQ(offered("   "), Names{});
}

TEST(NamesMatch, IgnoresCaseAndSpacesAsAPersonTypesAMenuName) {
    EXPECT_TRUE(namesMatch("libreoffice writer", "LibreOffice Writer"));
    EXPECT_TRUE(namesMatch(" Image  viewer", "Image Viewer"));
    EXPECT_TRUE(namesMatch("ImageViewer", "Image Viewer"));
    EXPECT_FALSE(namesMatch("Image Viewer 2", "Image Viewer"));
    EXPECT_FALSE(namesMatch("firefox", "firefox-esr"));
    EXPECT_FALSE(namesMatch("", "x"));
    EXPECT_TRUE(namesMatch("", ""));
}

} // namespace
} // namespace tallowby::engine
