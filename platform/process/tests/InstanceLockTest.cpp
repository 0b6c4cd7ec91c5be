// The single-instance lock: a second holder is refused while the first lives, and the temporary-folder
// fallback refuses a folder that is not ours alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/process/InstanceLock.h"
#include "platform/profile/testing/TempFolder.h"

using process::InstanceLock;
using process::InstanceLockResult;
using profile::testing::TempFolder;

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstEnds) {
    TempFolder dir;
    for (const bool useRuntimeDir : {true, false}) {
        SCOPED_TRACE(useRuntimeDir);
        const std::optional<std::string> runtime =
            useRuntimeDir ? std::optional<std::string>(dir.path()) : std::nullopt;
        {
            InstanceLock first("NerixSDR", runtime, dir.path());
            ASSERT_EQ(first.result(), InstanceLockResult::Acquired);
            InstanceLock second("NerixSDR", runtime, dir.path());
            EXPECT_EQ(second.result(), InstanceLockResult::HeldByAnother);
            InstanceLock other("OtherProgram", runtime, dir.path());
            EXPECT_EQ(other.result(), InstanceLockResult::Acquired);
        }
        InstanceLock again("NerixSDR", runtime, dir.path());
        EXPECT_EQ(again.result(), InstanceLockResult::Acquired);
    }
    const std::string privateDir = dir.path() + "/NerixSDR-" + std::to_string(::getuid());
    struct stat st {};
    ASSERT_EQ(::stat(privateDir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(InstanceLock, RefusesAnUnsafeFallbackFolder) {
    TempFolder dir;
    const std::string privateDir = dir.path() + "/NerixSDR-" + std::to_string(::getuid());
    // A folder others may write into, and a link planted in its place.
    ASSERT_EQ(::mkdir(privateDir.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(privateDir.c_str(), 0777), 0);
    EXPECT_EQ(InstanceLock("NerixSDR", std::nullopt, dir.path()).result(), InstanceLockResult::Unavailable);
    ASSERT_EQ(::rmdir(privateDir.c_str()), 0);
    const std::string elsewhere = dir.path() + "/elsewhere";
    ASSERT_EQ(::mkdir(elsewhere.c_str(), 0700), 0);
    ASSERT_EQ(::symlink(elsewhere.c_str(), privateDir.c_str()), 0);
    EXPECT_EQ(InstanceLock("NerixSDR", std::nullopt, dir.path()).result(), InstanceLockResult::Unavailable);
    EXPECT_FALSE(std::filesystem::exists(elsewhere + "/NerixSDR.lock"));
}

TEST(InstanceLock, LockFileThatIsALinkIsNotFollowed) {
    TempFolder dir;
    const std::string target = dir.write("target", "keep");
    ASSERT_EQ(::symlink(target.c_str(), (dir.path() + "/NerixSDR.lock").c_str()), 0);
    EXPECT_EQ(InstanceLock("NerixSDR", dir.path(), dir.path()).result(), InstanceLockResult::Unavailable);
    EXPECT_EQ(TempFolder::readFile(target), "keep");
}
