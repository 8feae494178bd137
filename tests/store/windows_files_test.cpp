// The store's files on Windows: the same bytes as on Linux, profile names beyond ASCII, and the
// temporary files of a killed writer in the Windows shape.
#include <gtest/gtest.h>

#include <chrono>

#include "os/path_text.h"
#include "store/profile_files.h"
#include "store/stale_temporaries.h"
#include "store/text_file.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace tallowby::store {
namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::TempFolder;
using testsupport::writeFile;

TEST(StoreOnWindows, RuleFilesHoldTheSameBytesAsOnLinux) {
    TempFolder dir;
    const Lines lines{"09:00", "", std::string("\x80\xfe", 2), std::string("a\0b", 3), "example.org"};
    writeLines(dir / "f", lines);
    EXPECT_EQ(readFile(dir / "f"), std::string("09:00\r\n\r\n\x80\xfe\r\na\0b\r\nexample.org\r\n", 31));
    EXPECT_EQ(readLines(dir / "f"), lines);
    writeFile(dir / "mixed", "a\nb\rc\r\n");
    EXPECT_EQ(readLines(dir / "mixed"), (Lines{"a", "b", "c"}));
}

TEST(StoreOnWindows, AProfileNamedBeyondAsciiGetsFilesOfThatName) {
    TempFolder dir;
    const ProgramPaths paths(dir.path());
    fs::create_directory(paths.profilesFolder());
    const std::string name = "\xc3\x89t\xc3\xa9 \xe6\x9d\xb1\xe4\xba\xac"; // "Été 東京"
    ProfileChange change = addProfile(paths, {"Home"}, name);
    ASSERT_FALSE(change.failure) << *change.failure;
    EXPECT_EQ(change.profileLines, (Lines{"Home", name}));
    for (const wchar_t* file :
         {L"\u00c9t\u00e9 \u6771\u4eac", L"\u00c9t\u00e9 \u6771\u4eac.db", L"\u00c9t\u00e9 \u6771\u4eac.rem"})
        EXPECT_TRUE(fs::is_regular_file(paths.profilesFolder() / file)) << fs::path(file).string();
    EXPECT_TRUE(readLines(paths.sessionFile(name)));
    // Windows file names ignore case: another profile's files would be these.
    EXPECT_EQ(addProfile(paths, change.profileLines, "\xc3\xa9t\xc3\xa9 \xe6\x9d\xb1\xe4\xba\xac").failure,
              "Failed - profile file already exists: " +
                  paths.wholeDayFile("\xc3\xa9t\xc3\xa9 \xe6\x9d\xb1\xe4\xba\xac").string());
}

TEST(StoreOnWindows, AKilledWritersTemporaryInTheWindowsShapeGoes) {
    TempFolder dir;
    const std::string left = temporaryName("Work.db", "aB3xY9");
    EXPECT_EQ(left, ".Work.db\x7f"
                    "aB3xY9"); // a backslash would name a folder on Windows
    for (const std::string& name : {left, std::string("Work.db"), std::string("Work")})
        writeFile(dir.path() / os::pathFromUtf8(name), "x");
    const auto now = std::chrono::system_clock::now();
    fs::last_write_time(dir.path() / os::pathFromUtf8(left),
                        fs::file_time_type::clock::now() - std::chrono::minutes(1));
    EXPECT_EQ(removeStaleProfileTemporaries(dir.path(), {"Work"}, now), 1);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"Work", "Work.db"}));
}

} // namespace
} // namespace tallowby::store
