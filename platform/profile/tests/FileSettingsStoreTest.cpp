// The file settings store: where its file lies, keys without regard to letter case, defaults, one
// atomic replace per commit, and what a crash leaves.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <vector>

#include "platform/profile/AtomicFile.h"
#include "platform/profile/FileSettingsStore.h"
#include "platform/profile/IniFile.h"
#include "platform/profile/testing/BoundedChild.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"

using namespace profile;
using profile::testing::ScopedEnv;
using profile::testing::TempFolder;

TEST(FileSettingsStore, OneFilePerApplicationUnderXdgConfigHome) {
    TempFolder dir;
    ScopedEnv xdg("XDG_CONFIG_HOME", dir.path());
    EXPECT_EQ(FileSettingsStore::defaultConfigRoot(), dir.path());
    FileSettingsStore store;
    store.SaveSetting("NerixSDR", "frmMain", "SDRModelNo", "3");
    ASSERT_TRUE(store.commit());
    EXPECT_EQ(store.fileFor("NerixSDR"), dir.path() + "/NerixSDR/NerixSDR.ini");
    EXPECT_EQ(dir.read("NerixSDR/NerixSDR.ini"), "[frmMain]\r\nSDRModelNo=3\r\n");
}

TEST(FileSettingsStore, ConfigRootFallsBackToHomeDotConfig) {
    ScopedEnv xdg("XDG_CONFIG_HOME", std::nullopt);
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(FileSettingsStore::defaultConfigRoot(), "/home/someone/.config");
    ScopedEnv emptyXdg("XDG_CONFIG_HOME", "");
    EXPECT_EQ(FileSettingsStore::defaultConfigRoot(), "/home/someone/.config");
}

TEST(FileSettingsStore, KeysMeetWhateverTheirLetterCase) {
    TempFolder dir;
    {
        FileSettingsStore store(dir.path());
        store.SaveSetting("NerixSDR", "Recorder", "SaveRecordingsPath", "/data/rec");
        EXPECT_EQ(store.GetSetting("nerixsdr", "RECORDER", "SaveRecordingspath"), "/data/rec");
        store.SaveSetting("NerixSDR", "recorder", "saverecordingspath", "/data/other");
        EXPECT_EQ(store.GetSetting("NerixSDR", "Recorder", "SaveRecordingsPath"), "/data/other");
    }
    FileSettingsStore reopened(dir.path());
    EXPECT_EQ(reopened.GetSetting("NerixSDR", "Recorder", "SAVERECORDINGSPATH"), "/data/other");
}

TEST(FileSettingsStore, MissingKeysSectionsAndFilesGiveTheDefault) {
    TempFolder dir;
    FileSettingsStore store(dir.path());
    EXPECT_EQ(store.GetSetting("NerixSDR", "S", "k", "dflt"), "dflt");
    EXPECT_EQ(store.GetSetting("NerixSDR", "S", "k"), "");
    store.SaveSetting("NerixSDR", "S", "other", "1");
    EXPECT_EQ(store.GetSetting("NerixSDR", "S", "k", "dflt"), "dflt");
    EXPECT_EQ(store.GetSetting("NerixSDR", "T", "other", "dflt"), "dflt");
}

TEST(FileSettingsStore, SavesStayInMemoryUntilCommitAndTheDestructorCommits) {
    TempFolder dir;
    const std::string file = dir.path() + "/NerixSDR/NerixSDR.ini";
    {
        FileSettingsStore store(dir.path());
        store.SaveSetting("NerixSDR", "S", "k", "1");
        EXPECT_FALSE(std::filesystem::exists(file));
        ASSERT_TRUE(store.commit());
        store.SaveSetting("NerixSDR", "S", "k", "2");
        EXPECT_EQ(TempFolder::readFile(file), "[S]\r\nk=1\r\n");
    }
    EXPECT_EQ(TempFolder::readFile(file), "[S]\r\nk=2\r\n");
}

// Each write replaces the file (a new inode) and flushes it to the disk; a shutdown saves every key, most
// unchanged. A save of the value a key holds writes nothing, and commits held meanwhile write once.
TEST(FileSettingsStore, WritesOnlyWhatChangedAndOnceForCommitsHeldMeanwhile) {
    TempFolder dir;
    const std::string file = dir.path() + "/NerixSDR/NerixSDR.ini";
    const auto inode = [&] {
        struct stat st {};
        return ::stat(file.c_str(), &st) == 0 ? st.st_ino : ino_t{0};
    };
    FileSettingsStore store(dir.path());
    store.SaveSetting("NerixSDR", "S", "k", "1");
    ASSERT_TRUE(store.commit());
    const ino_t first = inode();
    ASSERT_NE(first, ino_t{0});
    store.SaveSetting("NerixSDR", "s", "K", "1");
    ASSERT_TRUE(store.commit());
    EXPECT_EQ(inode(), first) << "the same value saved again was written";
    store.SaveSetting("NerixSDR", "S", "k", "2");
    ASSERT_TRUE(store.commit());
    const ino_t second = inode();
    EXPECT_NE(second, first);
    EXPECT_EQ(TempFolder::readFile(file), "[S]\r\nk=2\r\n");

    {
        const CommitHold hold(store);
        store.SaveSetting("NerixSDR", "S", "a", "x");
        EXPECT_TRUE(store.commit());
        store.SaveSetting("NerixSDR", "T", "b", "y");
        EXPECT_TRUE(store.commit());
        EXPECT_EQ(inode(), second) << "a held commit wrote";
    }
    EXPECT_NE(inode(), second);
    EXPECT_EQ(TempFolder::readFile(file), "[S]\r\nk=2\r\na=x\r\n[T]\r\nb=y\r\n");

    // A write that fails at the hold's end is the store's failure, as any commit's.
    ::chmod(file.c_str(), 0444);
    {
        const CommitHold hold(store);
        store.SaveSetting("NerixSDR", "S", "k", "3");
        EXPECT_TRUE(store.commit());
    }
    ASSERT_TRUE(store.commitFailure());
    EXPECT_EQ(store.commitFailure()->reason, "it is read-only");
    EXPECT_FALSE(store.commit());
    ::chmod(file.c_str(), 0644);
}

TEST(FileSettingsStore, RefusesLineBreaksAndBadNamesWithATraceLine) {
    TempFolder dir;
    std::vector<std::string> log;
    runtime::ScopedHooks hooks{runtime::Hooks{.addLog = [&](const std::string& s) { log.push_back(s); }}};
    FileSettingsStore store(dir.path());
    store.SaveSetting("NerixSDR", "S", "k", "1\r\n[Evil]");
    store.SaveSetting("NerixSDR", "S", "a=b", "1");
    store.SaveSetting("../escape", "S", "k", "1");
    store.SaveSetting("NerixSDR", "S]", "k", "1");
    EXPECT_EQ(log.size(), 4u);
    EXPECT_EQ(store.GetSetting("NerixSDR", "S", "k", "dflt"), "dflt");
    EXPECT_EQ(store.GetSetting("NerixSDR", "Evil", "k", "dflt"), "dflt");
    ASSERT_TRUE(store.commit());
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/NerixSDR/NerixSDR.ini"));
}

TEST(FileSettingsStore, CommitThatCannotWriteSaysSo) {
    TempFolder dir;
    const std::string blocker = dir.write("blocker", "a file where the folder should be");
    FileSettingsStore store(blocker);
    store.SaveSetting("NerixSDR", "S", "k", "1");
    EXPECT_FALSE(store.commit());
}

// The user is told which file was not saved and why; a later commit that succeeds clears it.
TEST(FileSettingsStore, ACommitThatFailsKeepsTheFileAndWhy) {
    const struct {
        const char* name;
        // Makes the case in the folder and gives the store's root.
        std::string (*prepare)(TempFolder&);
        const char* reason;
    } cases[] = {
        {"read-only file",
         [](TempFolder& d) {
             ::chmod(d.write("NerixSDR/NerixSDR.ini", "[S]\r\nk=0\r\n").c_str(), 0444);
             return d.path();
         },
         "it is read-only"},
        {"a file where the folder should be", [](TempFolder& d) { return d.write("blocker", ""); },
         "its folder cannot be made"},
        {"refused at reading",
         [](TempFolder& d) {
             d.write("NerixSDR/NerixSDR.ini", std::string("\xFF\xFE[\0S\0]\0", 8));
             return d.path();
         },
         "it could not be read at start, so it is left as it is"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        FileSettingsStore store(c.prepare(dir));
        store.SaveSetting("NerixSDR", "S", "k", "1");
        EXPECT_FALSE(store.commit());
        const auto failure = store.commitFailure();
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->file, store.fileFor("NerixSDR"));
        EXPECT_EQ(failure->reason, c.reason);
    }

    TempFolder dir;
    FileSettingsStore store(dir.path());
    const std::string file = dir.write("NerixSDR/NerixSDR.ini", "");
    ::chmod(file.c_str(), 0444);
    store.SaveSetting("NerixSDR", "S", "k", "1");
    EXPECT_FALSE(store.commit());
    ::chmod(file.c_str(), 0644);
    EXPECT_TRUE(store.commit());
    EXPECT_FALSE(store.commitFailure());
}

// A full disk, as a file size limit makes it: the write fails with the system's reason.
TEST(FileSettingsStore, ACommitOnAFullDiskGivesTheSystemsReason) {
    TempFolder dir;
    const auto result = profile::testing::runInBoundedChild(
        [&] {
            std::signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead of ending the process
            FileSettingsStore store(dir.path());
            store.SaveSetting("NerixSDR", "S", "k", std::string(8192, 'x'));
            const rlimit limit{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            if (store.commit()) return 1;
            const auto failure = store.commitFailure();
            if (!failure || failure->file != store.fileFor("NerixSDR")) return 2;
            return failure->reason == "it could not be written: File too large" ? 0 : 3;
        },
        std::chrono::seconds(30));
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/NerixSDR/NerixSDR.ini"));
}

// A settings file refused at reading is named with the reason, so the user can be told; a missing file and
// one that reads are no refusal.
TEST(FileSettingsStore, ASettingsFileRefusedAtReadingIsNamedWithTheReason) {
    const struct {
        const char* name;
        void (*prepare)(TempFolder&);
        const char* reason; // none when read
    } cases[] = {
        {"missing", [](TempFolder&) {}, nullptr},
        {"read", [](TempFolder& d) { d.write("NerixSDR/NerixSDR.ini", "[S]\r\nk=1\r\n"); }, nullptr},
        {"a folder",
         [](TempFolder& d) { std::filesystem::create_directories(d.file("NerixSDR/NerixSDR.ini")); },
         "it is not a regular file (a folder, a FIFO or a device)"},
        {"UTF-16",
         [](TempFolder& d) { d.write("NerixSDR/NerixSDR.ini", std::string("\xFF\xFE[\0S\0]\0", 8)); },
         "it is UTF-16 text, which is not read"},
        {"too large",
         [](TempFolder& d) { d.write("NerixSDR/NerixSDR.ini", std::string(kIniFileLimit + 1, ';')); },
         "it is larger than settings and band plan files ever are"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        c.prepare(dir);
        const FileSettingsStore store(dir.path());
        const auto refusal = store.readRefusal("NerixSDR");
        ASSERT_EQ(refusal.has_value(), c.reason != nullptr);
        if (!refusal) continue;
        EXPECT_EQ(refusal->file, dir.path() + "/NerixSDR/NerixSDR.ini");
        EXPECT_EQ(refusal->reason, c.reason);
    }
}

namespace {

// Runs the body in a forked child and returns its wait status.
template <class Body> int inChild(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

} // namespace

TEST(FileSettingsStore, WriteInterruptedByACrashLeavesTheOldFileIntact) {
    TempFolder dir;
    {
        FileSettingsStore store(dir.path());
        store.SaveSetting("NerixSDR", "S", "k", "old");
        ASSERT_TRUE(store.commit());
    }
    const std::string file = dir.path() + "/NerixSDR/NerixSDR.ini";
    const std::string before = TempFolder::readFile(file);

    const int status = inChild([&] {
        FileSettingsStore store(dir.path());
        for (int i = 0; i < 2000; ++i)
            store.SaveSetting("NerixSDR", "S", "key" + std::to_string(i), std::string(20, 'x'));
        store.SaveSetting("NerixSDR", "S", "k", "new");
        // The process is killed (SIGXFSZ) once the new version passes 4 KiB: a crash in mid-write.
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        store.commit();
        ::_exit(3); // not reached
    });
    ASSERT_TRUE(WIFSIGNALED(status)) << "child was not interrupted, status " << status;
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    EXPECT_EQ(TempFolder::readFile(file), before);
    FileSettingsStore reopened(dir.path());
    EXPECT_EQ(reopened.GetSetting("NerixSDR", "S", "k"), "old");
    EXPECT_EQ(reopened.GetSetting("NerixSDR", "S", "key0", "none"), "none");
}

TEST(FileSettingsStore, WhatWasCommittedSurvivesACrashRightAfter) {
    TempFolder dir;
    const int status = inChild([&] {
        FileSettingsStore* store = new FileSettingsStore(dir.path()); // never destroyed: no exit-time commit
        store->SaveSetting("NerixSDR", "S", "k", "committed");
        store->commit();
        store->SaveSetting("NerixSDR", "S", "later", "lost");
        ::_exit(0);
    });
    ASSERT_TRUE(WIFEXITED(status));
    FileSettingsStore reopened(dir.path());
    EXPECT_EQ(reopened.GetSetting("NerixSDR", "S", "k"), "committed");
    EXPECT_EQ(reopened.GetSetting("NerixSDR", "S", "later", "none"), "none");
}

namespace {

// The temporaries of unfinished saves of a file in a folder.
std::vector<std::string> unfinishedSaves(const std::string& folder, const std::string& fileName) {
    std::vector<std::string> found;
    const std::string prefix = unfinishedSavePrefix(fileName);
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0) found.push_back(name);
    }
    return found;
}

} // namespace

TEST(FileSettingsStore, TheNextSaveRemovesWhatACrashedSaveLeftBehind) {
    TempFolder dir;
    const std::string folder = dir.path() + "/NerixSDR";
    const int status = inChild([&] {
        FileSettingsStore store(dir.path());
        for (int i = 0; i < 2000; ++i)
            store.SaveSetting("NerixSDR", "S", "key" + std::to_string(i), std::string(20, 'x'));
        const rlimit limit{4096, 4096}; // killed in mid-write, as by a crash
        ::setrlimit(RLIMIT_FSIZE, &limit);
        store.commit();
        ::_exit(3);
    });
    ASSERT_TRUE(WIFSIGNALED(status)) << "child was not interrupted, status " << status;
    const auto left = unfinishedSaves(folder, "NerixSDR.ini");
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left.front().size(), unfinishedSavePrefix("NerixSDR.ini").size() + 6);
    // Another file's temporary and a file that only looks alike are not ours to remove.
    dir.write("NerixSDR/.Other.ini.unfinished-save-abcdef", "other");
    dir.write("NerixSDR/.NerixSDR.ini.unfinished-save-sevenxx", "mine?");

    FileSettingsStore store(dir.path());
    store.SaveSetting("NerixSDR", "S", "k", "after");
    ASSERT_TRUE(store.commit());
    EXPECT_EQ(unfinishedSaves(folder, "NerixSDR.ini"),
              (std::vector<std::string>{".NerixSDR.ini.unfinished-save-sevenxx"}));
    EXPECT_TRUE(std::filesystem::exists(folder + "/.Other.ini.unfinished-save-abcdef"));
    EXPECT_EQ(dir.read("NerixSDR/NerixSDR.ini"), "[S]\r\nk=after\r\n");
}

// A FIFO where the settings file should be once hung the start-up for ever.
TEST(FileSettingsStore, AFifoAtTheSettingsPathIsRefusedAtOnce) {
    TempFolder dir;
    std::filesystem::create_directories(dir.path() + "/NerixSDR");
    const std::string file = dir.path() + "/NerixSDR/NerixSDR.ini";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    const auto result = profile::testing::runInBoundedChild(
        [&] {
            std::vector<std::string> log;
            runtime::ScopedHooks hooks{
                runtime::Hooks{.addLog = [&](const std::string& l) { log.push_back(l); }}};
            FileSettingsStore store(dir.path());
            const bool answered = store.GetSetting("NerixSDR", "frmMain", "SDRModelNo", "0") == "0";
            store.SaveSetting("NerixSDR", "frmMain", "SDRModelNo", "3");
            const bool refused = !store.commit();
            const bool traced = !log.empty() && log.front().find(file) != std::string::npos &&
                                log.front().find("not a regular file") != std::string::npos;
            const auto refusal = store.readRefusal("NerixSDR");
            const bool named = refusal && refusal->file == file &&
                               refusal->reason.find("not a regular file") != std::string::npos;
            return answered && refused && traced && named ? 0 : 1;
        },
        std::chrono::seconds(30));
    ASSERT_TRUE(result) << "the store hung on the FIFO";
    EXPECT_EQ(*result, 0);
    EXPECT_TRUE(std::filesystem::is_fifo(file));
}

TEST(FileSettingsStore, ASettingsFileItCannotReadIsNeverWritten) {
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"UTF-16", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0", 12)},
        {"binary", std::string("[S]\r\nk=1\r\n\0\0\x01", 13)},
        {"too large", "[S]\r\nk=1\r\n" + std::string(kIniFileLimit, ';')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        const std::string file = dir.write("NerixSDR/NerixSDR.ini", c.bytes);
        std::vector<std::string> log;
        runtime::ScopedHooks hooks{runtime::Hooks{.addLog = [&](const std::string& l) { log.push_back(l); }}};
        {
            FileSettingsStore store(dir.path());
            EXPECT_EQ(store.GetSetting("NerixSDR", "S", "k", "dflt"), "dflt");
            store.SaveSetting("NerixSDR", "S", "k", "2");
            EXPECT_FALSE(store.commit());
        }
        EXPECT_EQ(TempFolder::readFile(file), c.bytes);
        ASSERT_FALSE(log.empty());
        EXPECT_NE(log.front().find(file), std::string::npos) << log.front();
    }
}
