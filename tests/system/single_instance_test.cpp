#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/detached_spawn.h"
#include "platform/single_instance.h"
#include "support/bind_mount.h"
#include "test_files.h"

namespace tallowby::platform {
namespace {

namespace fs = std::filesystem;

// Another process holding the lock until it is killed; the constructor returns once it holds it.
class Holder {
  public:
    explicit Holder(const fs::path& dataFolder) {
        int ready[2];
        if (::pipe(ready) != 0) {
            throw std::runtime_error("pipe failed");
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            const auto lock = SingleInstance::acquire("Tallowby", dataFolder);
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

bool freeToAcquire(const fs::path& dataFolder) {
    const auto lock = SingleInstance::acquire("Tallowby", dataFolder);
    return lock && lock->holdsLock();
}

class SingleInstanceTest : public testing::Test {
  protected:
    test::TempFolder data;
};

TEST_F(SingleInstanceTest, ASecondProcessIsRefusedUntilTheHolderIsKilled) {
    Holder holder(data.path());
    ASSERT_TRUE(holder.holds());
    EXPECT_FALSE(SingleInstance::acquire("Tallowby", data.path()).has_value());

    holder.kill(); // SIGKILL: the holder runs no clean-up of its own
    EXPECT_TRUE(freeToAcquire(data.path()));
}

TEST_F(SingleInstanceTest, ARefusedSecondInstanceTouchesNoFileOfItsProgramFolder) {
    test::writeFile(data / "config.db", "Default\r\n");
    const auto listing = [&] {
        std::map<fs::path, fs::file_time_type> files{{data.path(), fs::last_write_time(data.path())}};
        for (const auto& entry : fs::recursive_directory_iterator(data.path())) {
            files[entry.path()] = entry.last_write_time();
        }
        return files;
    };
    Holder holder(data.path());
    ASSERT_TRUE(holder.holds());
    const auto before = listing();

    EXPECT_FALSE(SingleInstance::acquire("Tallowby", data.path()));
    EXPECT_EQ(listing(), before);
}

TEST_F(SingleInstanceTest, ProgramsOfDifferentFoldersRunSideBySide) {
    Holder real(data / "real");
    ASSERT_TRUE(real.holds());
    EXPECT_TRUE(freeToAcquire(data / "real" / "sandbox"));
    EXPECT_TRUE(freeToAcquire(data / "other"));
}

TEST_F(SingleInstanceTest, TheLockEndsWithItsOwnerAndNotWithWhatItStarted) {
    auto lock = SingleInstance::acquire("Tallowby", data.path());
    ASSERT_TRUE(lock && lock->holdsLock());
    EXPECT_EQ(lock->lockFile(), data / ".Tallowby.lock");
    EXPECT_FALSE(SingleInstance::acquire("Tallowby", data.path())); // also within one process

    // A program started while the lock is held (such as the shutdown command) must not keep it.
    const Spawned sleeper = spawnDetached("/bin/sleep", {"30"});
    ASSERT_TRUE(sleeper.started());
    SingleInstance moved = std::move(*lock);
    EXPECT_TRUE(moved.holdsLock());
    EXPECT_FALSE(SingleInstance::acquire("Tallowby", data.path()));
    lock.reset();
    { SingleInstance ended = std::move(moved); }

    EXPECT_TRUE(freeToAcquire(data.path()));
    ::kill(sleeper.pid, SIGKILL);
}

// The environment a start was given names no place of the lock: a start from su, ssh or a terminal
// outside the desktop meets the same lock as the desktop's own.
class RuntimeFolder {
  public:
    explicit RuntimeFolder(const char* value) {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            old_ = old;
        if (value)
            ::setenv("XDG_RUNTIME_DIR", value, 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }
    ~RuntimeFolder() {
        if (old_.empty())
            ::unsetenv("XDG_RUNTIME_DIR");
        else
            ::setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
    }

  private:
    std::string old_;
};

TEST_F(SingleInstanceTest, OneFolderHasOneLockHoweverItIsReached) {
    const fs::path program = data / "program";
    test::TempFolder runtime;
    std::optional<Holder> holder;
    {
        const RuntimeFolder desktop(runtime.path().c_str());
        holder.emplace(program);
    }
    ASSERT_TRUE(holder->holds());
    fs::create_symlink(program, data / "link");
    testsupport::BindMount bound(program, data / "bound");
    std::vector<fs::path> paths = {program / "", program / "." / "", data / "link",
                                   data / "link" / ".." / "program"};
    if (bound.mounted())
        paths.push_back(data / "bound");
    else
        ADD_FAILURE() << "no bind mount (not root?): " << bound.failure();
    test::TempFolder otherRuntime;
    for (const char* environment : {static_cast<const char*>(nullptr), "", otherRuntime.path().c_str()}) {
        const RuntimeFolder started(environment);
        for (const fs::path& path : paths)
            EXPECT_FALSE(SingleInstance::acquire("Tallowby", path).has_value())
                << path << " with XDG_RUNTIME_DIR " << (environment ? environment : "unset");
    }
    EXPECT_TRUE(fs::is_empty(otherRuntime.path()));
    EXPECT_TRUE(fs::is_empty(runtime.path()));
}

TEST_F(SingleInstanceTest, AMissingDataFolderIsMadePrivate) {
    const fs::path folder = data / "share" / "tallowby";
    EXPECT_TRUE(freeToAcquire(folder));
    struct stat info {};
    ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    ASSERT_EQ(::lstat((folder / ".Tallowby.lock").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST_F(SingleInstanceTest, ALockFileOthersCouldOpenIsMadePrivate) {
    const fs::path file = data / ".Tallowby.lock";
    test::writeFile(file, "");
    ::chmod(file.c_str(), 0666);
    EXPECT_TRUE(freeToAcquire(data.path()));
    struct stat info {};
    ASSERT_EQ(::lstat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

// Something else in the lock file's place is never followed, written through or waited on: the
// program says why it cannot start.
TEST_F(SingleInstanceTest, NothingButALockFileInItsPlaceIsUsed) {
    const fs::path file = data / ".Tallowby.lock";
    const fs::path target = data / "elsewhere";
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* told;
    };
    const Case cases[] = {
        {"a link", [&] { fs::create_symlink(target, file); }, "is a symbolic link"},
        {"a named pipe", [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); }, "is not a regular file"},
        {"a folder", [&] { fs::create_directory(file); }, "is not a regular file"},
    };
    for (const Case& place : cases) {
        fs::remove_all(file);
        place.make();
        const auto lock = SingleInstance::acquire("Tallowby", data.path());
        ASSERT_TRUE(lock.has_value()) << place.what;
        EXPECT_FALSE(lock->holdsLock()) << place.what;
        EXPECT_NE(lock->failure().find(place.told), std::string::npos)
            << place.what << ": " << lock->failure();
        EXPECT_NE(lock->failure().find(file.string()), std::string::npos) << lock->failure();
        EXPECT_FALSE(fs::exists(target)) << place.what;
    }
}

} // namespace
} // namespace tallowby::platform
