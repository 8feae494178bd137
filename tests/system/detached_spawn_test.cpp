#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

#include "platform/detached_spawn.h"
#include "test_files.h"

namespace tallowby::platform {
namespace {

TEST(SpawnDetached, StartsAProgramInItsOwnSessionAndReapsItWhenItEnds) {
    test::TempFolder temp;
    const auto marker = temp / "session";
    const Spawned child =
        spawnDetached("/bin/sh", {"-c", "cut -d' ' -f6 /proc/$$/stat > \"$1.tmp\" && mv \"$1.tmp\" \"$1\"",
                                  "sh", marker.string()});
    ASSERT_TRUE(child.started());
    ASSERT_GT(child.pid, 0);

    ASSERT_TRUE(test::waitUntil([&] { return std::filesystem::exists(marker); }));
    EXPECT_EQ(test::readFile(marker), std::to_string(child.pid) + "\n"); // session leader
    // An unreaped child would stay listed as a zombie.
    EXPECT_TRUE(
        test::waitUntil([&] { return !std::filesystem::exists("/proc/" + std::to_string(child.pid)); }));
}

TEST(SpawnDetached, AMissingProgramIsReportedWithItsError) {
    test::TempFolder temp;
    const Spawned child = spawnDetached(temp / "missing", {});
    EXPECT_FALSE(child.started());
    EXPECT_EQ(child.error, ENOENT);
    EXPECT_EQ(child.pid, -1);
}

} // namespace
} // namespace tallowby::platform
