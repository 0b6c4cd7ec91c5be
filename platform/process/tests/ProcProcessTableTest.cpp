// The /proc process table: names as the kernel reports them, identities that tell runs apart, and SIGTERM
// only for the run that was recorded.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "platform/process/ProcProcessTable.h"
#include "platform/process/testing/ChildProcess.h"

using namespace std::chrono_literals;
using process::ProcProcessTable;
using process::testing::ChildProcess;
using process::testing::ProgramCopy;
namespace procfs = process::procfs;

namespace {

constexpr auto kBound = 10s;

const process::ProcessNames* find(const std::vector<process::ProcessNames>& list, process::Pid pid) {
    const auto it = std::find_if(list.begin(), list.end(), [&](const auto& p) { return p.pid == pid; });
    return it == list.end() ? nullptr : &*it;
}

} // namespace

TEST(ProcStat, StartTimeIsField22EvenWhenTheNameHoldsBlanksAndParentheses) {
    const struct {
        std::string line;
        std::optional<uint64_t> startTime;
    } cases[] = {
        {"42 (dream) S 1 42 42 0 -1 4194560 100 0 0 0 5 3 0 0 20 0 1 0 987654 1000 200\n", 987654},
        {"42 (a) (b) 7 8 9) R 1 42 42 0 -1 4194560 100 0 0 0 5 3 0 0 20 0 1 0 123 1000 200", 123},
        {"42 (x) S 1 42 42 0 -1 4194560 100 0 0 0 5 3 0 0 20 0 1 0", std::nullopt},
        {"42 dream S 1 42 42 0 -1 4194560 100 0 0 0 5 3 0 0 20 0 1 0 987654", std::nullopt},
        {"42 (x) S 1 42 42 0 -1 4194560 100 0 0 0 5 3 0 0 20 0 1 0 12x 1000", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(procfs::parseStartTime(c.line), c.startTime) << c.line;
}

TEST(ProcNames, AreTheBareFileNamesOfTheExecutableAndOfArgvZero) {
    EXPECT_EQ(procfs::exeFileName("/usr/bin/dream"), "dream");
    EXPECT_EQ(procfs::exeFileName("/opt/dec/DREAM.exe (deleted)"), "DREAM.exe");
    EXPECT_EQ(procfs::exeFileName(""), "");
    using namespace std::string_literals;
    EXPECT_EQ(procfs::commandFileName("/opt/My Decoder/dream\0-M\0000\0"s), "dream");
    EXPECT_EQ(procfs::commandFileName("DREAM.exe\0"s), "DREAM.exe");
    EXPECT_EQ(procfs::commandFileName(""), "");
}

TEST(ProcProcessTable, ListIsUnavailableWithoutAProcessFolder) {
    EXPECT_FALSE(ProcProcessTable("/nonexistent-proc-folder").list().has_value());
}

TEST(ProcProcessTable, ListsAChildUnderItsFileNameAndArgvZeroUntilItIsReaped) {
    ProgramCopy program(NERIX_PROCESS_PROBE, "Decoder Probe.exe");
    ChildProcess child(program.path(), {"/elsewhere/Told Name", "idle"});
    ASSERT_EQ(child.readLine(kBound), "ready");
    ProcProcessTable table;

    const auto running = table.list();
    ASSERT_TRUE(running.has_value());
    const process::ProcessNames* names = find(*running, child.pid());
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(names->exeName, "Decoder Probe.exe");
    EXPECT_EQ(names->commandName, "Told Name");
    const auto identity = table.identify(child.pid());
    ASSERT_TRUE(identity.has_value());
    EXPECT_GE(identity->startTime, table.identify(::getpid()).value().startTime);

    child.signal(SIGKILL);
    ASSERT_TRUE(child.waitFor(kBound).has_value());
    EXPECT_EQ(find(table.list().value(), child.pid()), nullptr);
    EXPECT_FALSE(table.identify(child.pid()).has_value());
}

TEST(ProcProcessTable, TerminatesOnlyTheRunItWasGiven) {
    ProcProcessTable table;
    for (const bool sameRun : {true, false}) {
        ChildProcess child(NERIX_PROCESS_PROBE, {"probe", "idle"});
        process::ProcessIdentity identity = table.identify(child.pid()).value();
        if (!sameRun) ++identity.startTime; // what a later process under the same pid looks like

        EXPECT_EQ(table.terminate(identity), sameRun);
        // A SIGTERM sent above is fatal at once, so it would win over the SIGKILL that follows.
        child.signal(SIGKILL);
        const auto status = child.waitFor(kBound);
        ASSERT_TRUE(status.has_value());
        ASSERT_TRUE(WIFSIGNALED(*status));
        EXPECT_EQ(WTERMSIG(*status), sameRun ? SIGTERM : SIGKILL) << sameRun;
    }
    EXPECT_FALSE(table.terminate({0, 0}));
}
