// The "Hamlib" model on Hamlib's network rig (rig 2), which tunes whatever rig a rigctld on
// 127.0.0.1:4532 serves. A tuning step on the readout goes on while no daemon listens, and once one does,
// each step reaches its rig: rigctl reads the frequency the program keeps as its tuned one.
#include <string>
#include <vector>

#include "e2e/Gestures.h"

namespace e2e {
namespace {

namespace design = mainwindow::design;

using Hamlib = EndToEnd;

constexpr int kRigPort = 4532;
// The rig list has no row for rig 2, so the caption's parentheses stay empty.
const std::string kHamlibCaption = "NerixSDR - Hamlib ()";

// The rig's frequency in hertz as rigctl reads it; -1 when it cannot.
long long rigFrequency() {
    std::string out;
    if (runHelper({"rigctl", "-m", "2", "-r", "127.0.0.1:" + std::to_string(kRigPort), "f"}, &out) != 0)
        return -1;
    try {
        return std::stoll(out);
    } catch (const std::exception&) {
        return -1;
    }
}

// Waits within the bound until the rig's frequency is no longer the one given.
long long rigFrequencyOtherThan(long long old) {
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    for (;;) {
        const long long f = rigFrequency();
        if ((f != old && f != -1) || std::chrono::steady_clock::now() > deadline) return f;
        std::this_thread::sleep_for(100ms);
    }
}

TEST_F(Hamlib, ReadoutStepsGoOnWithoutADaemonAndReachTheNetworkRigOnceOneListens) {
    std::string why;
    if (const std::string missing = missingPrograms({"rigctld", "rigctl"}); !missing.empty())
        why = "not installed: " + missing;
    else if (RigServer::portTaken(kRigPort))
        why = "port " + std::to_string(kRigPort) + " is taken by another program";
    if (!why.empty()) {
        if (underCi()) FAIL() << "the Hamlib run needs rigctld under CI=true: " << why;
        GTEST_SKIP() << "Hamlib run skipped: " << why;
    }
    sandbox_.writeSettings(
        "[frmMain]\r\nSDRModelNo=18\r\nAutoStartSDR=True\r\n[RXModel.Hamlib]\r\nRigNo=2\r\n");
    auto program = start({"trace"}, kHamlibCaption);
    ASSERT_TRUE(main_);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));

    // A click on the 1 kHz digit holds the step there; each notch of the wheel is one step.
    const auto digit = design::readoutDigit(frontpanel::design::kDigit1kHz);
    clickControl(screen(), *main_, digit);
    wheelControl(screen(), *main_, digit, 1);
    // No daemon listens: the step is taken without a message and the window answers the next click.
    main_ = chooseLayout(screen(), kHamlibCaption, *main_, design::kLayoutFull);
    ASSERT_TRUE(main_) << "the window stopped answering after a step with no daemon";

    const RigServer rig(kRigPort);
    const long long daemonsOwn = rigFrequency();
    ASSERT_GT(daemonsOwn, 0) << "rigctl could not read the rig";
    wheelControl(screen(), *main_, digit, 1);
    const long long first = rigFrequencyOtherThan(daemonsOwn);
    ASSERT_NE(first, daemonsOwn) << "the step never reached the rig";
    wheelControl(screen(), *main_, digit, 1);
    const long long second = rigFrequencyOtherThan(first);
    EXPECT_EQ(second - first, 1000) << "one step of the 1 kHz digit";
    photograph(*main_, "hamlib-readout-after-steps");

    std::string stall;
    const auto status = offAndClose(screen(), *main_, sandbox_, *program, &stall);
    ASSERT_TRUE(status) << "the program did not end after \"&Close\": " << stall;
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "wait status " << *status << "; stderr:\n"
                                                                 << readFile(sandbox_.root() / "stderr");
    // The readout's frequency, kept in tenths of a hertz, is the rig's.
    const auto saved = iniSection(sandbox_.settingsFile(), "RXModel.Hamlib");
    EXPECT_EQ(saved.count("TunedFrequency") ? saved.at("TunedFrequency") : "", std::to_string(second * 10));
    EXPECT_EQ(sandbox_.dialogs(), std::vector<std::string>{});
}

} // namespace
} // namespace e2e
