// What stands in a rule file's place and is no regular file (a link out of the data folder, a
// dangling link, a named pipe, a device) is told by name and kind at start and by a save, and left
// as it is: nothing behind it is read or written, whoever runs the program (root included).
#include <QCheckBox>
#include <QCoreApplication>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "shell_fixture.h"
#include "support/file_bytes.h"
#include "ui/common/message_box.h"

namespace tallowby::test {
namespace {

namespace fs = std::filesystem;
using store::RuleFile;

struct Place {
    const char* name;
    RuleFile file;
    fs::path (*path)(const store::ProgramPaths& paths);
};

const Place kPlaces[] = {
    {"config.db", RuleFile::Config, [](const store::ProgramPaths& p) { return p.configFile(); }},
    {"profiles.db", RuleFile::Profiles, [](const store::ProgramPaths& p) { return p.profileListFile(); }},
    {"the session file", RuleFile::Sessions,
     [](const store::ProgramPaths& p) { return p.sessionFile("Work"); }},
    {"the whole-day file", RuleFile::WholeDay,
     [](const store::ProgramPaths& p) { return p.wholeDayFile("Work"); }},
    {"the reminder file", RuleFile::Reminders,
     [](const store::ProgramPaths& p) { return p.reminderFile("Work"); }},
};

// What is put in the place, with the words that tell it and what it must still be afterwards.
struct StandIn {
    const char* name;
    const char* told;
    std::function<void(const fs::path& place, const fs::path& outside)> make;
};

// A file outside the data folder, as a link there would lead to: /etc/passwd when run as root.
constexpr char kOutsideBytes[] = "root:x:0:0:root:/root:/bin/bash\nWork\n";

std::vector<StandIn> standIns() {
    std::vector<StandIn> kinds{
        {"a link to a file outside", "it is a symbolic link, not a regular file",
         [](const fs::path& place, const fs::path& outside) {
             fs::create_symlink(outside / "target", place);
         }},
        {"a dangling link", "it is a symbolic link, not a regular file",
         [](const fs::path& place, const fs::path& outside) {
             fs::create_symlink(outside / "missing", place);
         }},
        {"a link to a device", "it is a symbolic link, not a regular file",
         [](const fs::path& place, const fs::path&) { fs::create_symlink("/dev/zero", place); }},
        {"a named pipe", "it is a named pipe, not a regular file",
         [](const fs::path& place, const fs::path&) { ASSERT_EQ(::mkfifo(place.c_str(), 0600), 0); }},
    };
    // Only root may make a device; the numbers are those of /dev/null, and it is never opened.
    if (::geteuid() == 0)
        kinds.push_back({"a character device", "it is a character device, not a regular file",
                         [](const fs::path& place, const fs::path&) {
                             ASSERT_EQ(::mknod(place.c_str(), S_IFCHR | 0600, ::makedev(1, 3)), 0) << errno;
                         }});
    return kinds;
}

// What stands at the path, link or not, in a form to compare before and after.
std::string standing(const fs::path& path) {
    struct stat look {};
    if (::lstat(path.c_str(), &look) != 0)
        return "nothing";
    std::string what = std::to_string(look.st_mode & S_IFMT) + " " + std::to_string(look.st_ino);
    if (S_ISLNK(look.st_mode))
        what += " -> " + fs::read_symlink(path).string();
    return what;
}

class RuleFilePlacesTest : public ShellTest {
  protected:
    fs::path outside = folder.folder().parent_path() / (folder.folder().filename().string() + "-outside");
    ~RuleFilePlacesTest() override { fs::remove_all(outside); }
};

TEST_F(RuleFilePlacesTest, WhatIsNoRegularFileIsToldAtStartAndBySavesAndLeftAsItIs) {
    for (const Place& place : kPlaces) {
        for (const StandIn& standIn : standIns()) {
            SCOPED_TRACE(std::string(place.name) + " is " + standIn.name);
            fs::remove_all(outside);
            fs::create_directories(outside);
            testsupport::writeFile(outside / "target", kOutsideBytes);
            const fs::path path = place.path(folder.paths());
            messages.texts.clear();
            windows = {};
            std::string before;
            start([&] {
                fs::remove(path);
                standIn.make(path, outside);
                before = standing(path);
            });
            const QString named = QString::fromStdString(path.string()) + QStringLiteral(": ") +
                                  QString::fromLatin1(standIn.told);
            ASSERT_FALSE(messages.texts.isEmpty());
            EXPECT_TRUE(messages.texts.join('\n').contains(named)) << messages.texts.join('|').toStdString();

            // After Stop, a save of that file, as every editor's goes through the window.
            main->M_stopClick();
            messages.texts.clear();
            EXPECT_FALSE(main->save(place.file, store::Lines{"Work", "09:00"}));
            ASSERT_EQ(messages.texts.size(), 1);
            EXPECT_TRUE(messages.texts[0].contains(named)) << messages.texts[0].toStdString();
            if (place.file == RuleFile::WholeDay) {
                main->gb_wholeday->cb_w3->click();
                EXPECT_EQ(messages.texts.size(), 2);
            }

            EXPECT_EQ(standing(path), before);
            EXPECT_EQ(testsupport::readFile(outside / "target"), kOutsideBytes);
            EXPECT_FALSE(fs::exists(fs::symlink_status(outside / "missing")));
            struct stat device {};
            ASSERT_EQ(::stat("/dev/zero", &device), 0);
            EXPECT_TRUE(S_ISCHR(device.st_mode));
            windows = {};
            fs::remove(path);
            testsupport::writeFile(path, "");
        }
    }
}

// The profiles folder is the data folder's own: a link in its place leads nowhere the program reads
// or writes, and a profile operation refuses to make or move files through it.
TEST_F(RuleFilePlacesTest, AProfilesFolderThatLinksOutIsNeitherReadNorWritten) {
    const fs::path profiles = folder.paths().profilesFolder();
    fs::create_directories(outside);
    fs::rename(profiles, outside / "profiles");
    fs::create_symlink(outside / "profiles", profiles);
    const std::string sessions = testsupport::readFile(outside / "profiles" / "Work.db");
    // Named and dated as a killed writer's leftover, which the data folder's own would be cleared.
    const fs::path leftover = outside / "profiles" / ".Work.db.Ab12Cd";
    testsupport::writeFile(leftover, "not the program's");
    const timespec old[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 60, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, leftover.c_str(), old, 0), 0);
    start();
    EXPECT_TRUE(fs::exists(leftover));
    EXPECT_TRUE(messages.texts.join('\n').contains(QString::fromStdString(profiles.string()) +
                                                   QStringLiteral(": it is a symbolic link, not a folder")))
        << messages.texts.join('|').toStdString();
    EXPECT_TRUE(main->SessionLines.empty());
    main->M_stopClick();
    EXPECT_FALSE(main->save(RuleFile::Sessions, store::Lines{"08:00", "09:00", "1111111", "0", "", ""}));
    EXPECT_EQ(testsupport::readFile(outside / "profiles" / "Work.db"), sessions);
    EXPECT_TRUE(fs::is_symlink(profiles));
}

} // namespace
} // namespace tallowby::test
