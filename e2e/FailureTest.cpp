// The program where what it needs is missing: a sound server that is not there, and a rig daemon that is
// not running. It tells the user once and goes on, and closes as it should.
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/Gestures.h"

namespace e2e {
namespace {

namespace design = mainwindow::design;

using Failure = EndToEnd;

// Sets an environment variable for the programs started while it lives, and puts the old value back.
class EnvironmentFor {
public:
    EnvironmentFor(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setEnv(name, value);
    }
    ~EnvironmentFor() {
        if (old_)
            setEnv(name_, *old_);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST_F(Failure, ADeadSoundServerIsToldOnceThePowerFallsBackToOffAndTheProgramClosesCleanly) {
    sandbox_.writeSettings(softRockSettings(true));
    std::unique_ptr<Program> program;
    {
        const EnvironmentFor deadServer("PULSE_SERVER",
                                        "unix:" + (sandbox_.root() / "no-sound-server").string());
        program = start();
    }
    ASSERT_TRUE(main_);
    ASSERT_TRUE(waitForLine(sandbox_.traceFile(), "frmMain:frmMain:Form_Load:End", kBound));
    // The start's "On" fails and the window puts its power back to "Off" itself, inside the "On" click's
    // handler: the picture is taken once both have ended, and shows "Off".
    ASSERT_TRUE(waitForTraceCount(sandbox_, "optPwr_click : Start Arg=1", 1));
    ASSERT_TRUE(waitForTraceCount(sandbox_, "optPwr_click : End", 2));
    EXPECT_TRUE(picturesPowerOff(photograph(*main_, "failure-dead-sound-server")))
        << "the picture does not show the power Off";
    const auto dialogs = sandbox_.dialogs();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0], "NerixSDR\t0\tUnable to start DirectSound. Check proper sound card installation");

    // "&Close" shows only while the power is off.
    clickControl(screen(), *main_, design::powerButton(design::kPowerClose));
    std::string why;
    const auto status = program->waitForEndOfClose(sandbox_, &why);
    ASSERT_TRUE(status) << "the program did not end after \"&Close\": " << why;
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "wait status " << *status << "; stderr:\n"
                                                                 << readFile(sandbox_.root() / "stderr");
    EXPECT_EQ(sandbox_.dialogs().size(), 1u) << sandbox_.dialogs().back();
}

} // namespace
} // namespace e2e
