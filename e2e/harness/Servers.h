// The servers a run of the whole program needs, each of the run's own and stopped by its pid: an X server,
// a sound server with the receiver's two null sinks, and Hamlib's network daemon with its dummy rig.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/process/testing/ChildProcess.h"

namespace e2e {

using process::testing::ChildProcess;
using process::testing::onPath;
using namespace std::chrono_literals;

// The bound on every wait for a server or the program.
inline constexpr std::chrono::milliseconds kBound = 20s;

// Thrown where a run cannot go on; the owners stop their children on the way out.
struct HarnessError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool underCi();
// The programs of the list that are not on PATH, joined by blanks; empty when all are there.
std::string missingPrograms(const std::vector<std::string>& programs);

void setEnv(const char* name, const std::string& value);
void writeFile(const std::filesystem::path& path, const std::string& text);
std::string readFile(const std::filesystem::path& path);

// Runs a short helper program to its end within the bound: its exit code, -1 when it did not end.
int runHelper(const std::vector<std::string>& argv, std::string* output = nullptr);

// Asks a child to end, waits the bound, and leaves a child that did not to its destructor's kill.
void stop(ChildProcess& child);

// Xvfb on the first free display (-displayfd); DISPLAY names it.
class XServer {
public:
    XServer();
    pid_t pid() const { return x_->pid(); }
    const std::string& display() const { return display_; }

private:
    std::unique_ptr<ChildProcess> x_;
    std::string display_;
};

// A PulseAudio daemon in the folder given, autospawn off, with two null sinks at 48 kHz: "rx", whose
// monitor is the default source the receiver captures, and "out", the default sink it plays to.
// PULSE_SERVER, XDG_RUNTIME_DIR and the client configuration point at it.
class SoundServer {
public:
    explicit SoundServer(const std::filesystem::path& folder);
    ~SoundServer();
    pid_t pid() const { return pulse_->pid(); }
    const std::string& server() const { return server_; }

private:
    std::unique_ptr<ChildProcess> pulse_;
    std::string server_;
};

// rigctld with Hamlib's dummy rig on 127.0.0.1 at the port.
class RigServer {
public:
    explicit RigServer(int port);
    ~RigServer();
    pid_t pid() const { return rig_->pid(); }

    // The port is in use by something else: the daemon could not listen.
    static bool portTaken(int port);

private:
    std::unique_ptr<ChildProcess> rig_;
};

} // namespace e2e
