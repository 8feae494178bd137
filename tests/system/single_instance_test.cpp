#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <regex>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/detached_spawn.h"
#include "platform/single_instance.h"
#include "test_files.h"

namespace tallowby::platform {
namespace {

namespace fs = std::filesystem;

// Another process holding the lock until it is killed; the constructor returns once it holds it.
class Holder {
  public:
    Holder(const fs::path& lockFolder, const std::string& name) {
        int ready[2];
        if (::pipe(ready) != 0) {
            throw std::runtime_error("pipe failed");
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            const auto lock = SingleInstance::acquireIn(lockFolder, name);
            const char answer = lock && lock->holdsLock() ? 'y' : 'n';
            (void)!::write(ready[1], &answer, 1);
            for (;;) {
                ::pause();
            }
        }
        ::close(ready[1]);
        char answer = 'n';
        (void)!::read(ready[0], &answer, 1);
        ::close(ready[0]);
        holds_ = answer == 'y';
    }
    ~Holder() { kill(); }
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;

    bool holds() const { return holds_; }
    void kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

  private:
    pid_t pid_ = -1;
    bool holds_ = false;
};

bool freeToAcquire(const fs::path& folder, const std::string& name) {
    const auto lock = SingleInstance::acquireIn(folder, name);
    return lock && lock->holdsLock();
}

class SingleInstanceTest : public testing::Test {
  protected:
    test::TempFolder locks;
    const std::string name = SingleInstance::nameFor("Tallowby", "/opt/tallowby");
};

TEST_F(SingleInstanceTest, ASecondProcessIsRefusedUntilTheHolderIsKilled) {
    Holder holder(locks.path(), name);
    ASSERT_TRUE(holder.holds());
    EXPECT_FALSE(SingleInstance::acquireIn(locks.path(), name).has_value());

    holder.kill(); // SIGKILL: the holder runs no clean-up of its own
    EXPECT_TRUE(freeToAcquire(locks.path(), name));
}

TEST_F(SingleInstanceTest, ARefusedSecondInstanceTouchesNoFileOfItsProgramFolder) {
    test::TempFolder program;
    test::writeFile(program / "config.db", "Default\r\n");
    const auto listing = [&] {
        std::map<fs::path, fs::file_time_type> files{{program.path(), fs::last_write_time(program.path())}};
        for (const auto& entry : fs::recursive_directory_iterator(program.path())) {
            files[entry.path()] = entry.last_write_time();
        }
        return files;
    };
    const auto before = listing();
    const std::string programName = SingleInstance::nameFor("Tallowby", program.path());
    Holder holder(locks.path(), programName);
    ASSERT_TRUE(holder.holds());

    EXPECT_FALSE(
        SingleInstance::acquireIn(locks.path(), SingleInstance::nameFor("Tallowby", program.path())));
    EXPECT_EQ(listing(), before);
}

TEST_F(SingleInstanceTest, ProgramsOfDifferentFoldersRunSideBySide) {
    Holder real(locks.path(), SingleInstance::nameFor("Tallowby", "/opt/tallowby"));
    ASSERT_TRUE(real.holds());
    EXPECT_TRUE(freeToAcquire(locks.path(), SingleInstance::nameFor("Tallowby", "/opt/tallowby/sandbox")));
}

TEST_F(SingleInstanceTest, TheLockEndsWithItsOwnerAndNotWithWhatItStarted) {
    auto lock = SingleInstance::acquireIn(locks.path(), name);
    ASSERT_TRUE(lock && lock->holdsLock());
    EXPECT_FALSE(SingleInstance::acquireIn(locks.path(), name)); // also within one process

    // A program started while the lock is held (such as the shutdown command) must not keep it.
    const Spawned sleeper = spawnDetached("/bin/sleep", {"30"});
    ASSERT_TRUE(sleeper.started());
    SingleInstance moved = std::move(*lock);
    EXPECT_TRUE(moved.holdsLock());
    EXPECT_FALSE(SingleInstance::acquireIn(locks.path(), name));
    lock.reset();
    { SingleInstance ended = std::move(moved); }

    EXPECT_TRUE(freeToAcquire(locks.path(), name));
    ::kill(sleeper.pid, SIGKILL);
}

TEST(SingleInstanceName, OneFolderHasOneNameHoweverItIsSpelled) {
    test::TempFolder temp;
    fs::create_directories(temp / "program");
    fs::create_symlink(temp / "program", temp / "link");
    const std::string name = SingleInstance::nameFor("Tallowby", temp / "program");

    EXPECT_TRUE(std::regex_match(name, std::regex("Tallowby-[0-9a-f]{16}"))) << name;
    for (const fs::path& spelling :
         {temp / "program/", temp / "program/./", temp / "link", temp / "missing/../program"}) {
        EXPECT_EQ(SingleInstance::nameFor("Tallowby", spelling), name) << spelling;
    }
    EXPECT_NE(SingleInstance::nameFor("Tallowby", temp / "other"), name);
}

TEST(SingleInstanceFolder, UsesTheRuntimeFolderOrAPrivateOneInTheDataFolder) {
    test::TempFolder runtime;
    test::TempFolder data;
    EXPECT_EQ(SingleInstance::lockFolder(runtime.path().c_str(), data.path()), runtime.path());

    // A runtime folder that others may write is no safer than a shared /tmp, where another user
    // could make the folder first: the data folder is the user's own.
    test::TempFolder shared;
    ::chmod(shared.path().c_str(), 0777);
    const fs::path own = data / "Tallowby" / ".lock";
    for (const char* unusable :
         {static_cast<const char*>(nullptr), "", "relative/run", shared.path().c_str()}) {
        EXPECT_EQ(SingleInstance::lockFolder(unusable, data / "Tallowby"), own);
    }
    struct stat info {};
    ASSERT_EQ(::lstat(own.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
}

TEST(SingleInstanceFolder, RefusesALockFolderOthersCouldWriteOrRedirect) {
    test::TempFolder data;
    const fs::path own = data / ".lock";
    fs::create_directory(own);
    ::chmod(own.c_str(), 0777);
    EXPECT_EQ(SingleInstance::lockFolder(nullptr, data.path()), fs::path());

    fs::remove(own);
    fs::create_directory(data / "elsewhere");
    ::chmod((data / "elsewhere").c_str(), 0700);
    fs::create_directory_symlink(data / "elsewhere", own);
    EXPECT_EQ(SingleInstance::lockFolder(nullptr, data.path()), fs::path());

    // Without a usable folder there is no lock, and the program is told why so it can say so.
    const auto lock = SingleInstance::acquireIn(fs::path(), "Tallowby-0000000000000000");
    ASSERT_TRUE(lock.has_value());
    EXPECT_FALSE(lock->holdsLock());
    EXPECT_NE(lock->failure().find("only this user can write"), std::string::npos) << lock->failure();
}

} // namespace
} // namespace tallowby::platform
