#include "e2e/harness/Servers.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace e2e {

bool underCi() {
    const char* ci = std::getenv("CI");
    return ci && std::string(ci) == "true";
}

std::string missingPrograms(const std::vector<std::string>& programs) {
    std::string missing;
    for (const auto& p : programs)
        if (!onPath(p)) missing += (missing.empty() ? "" : " ") + p;
    return missing;
}

void setEnv(const char* name, const std::string& value) {
    ::setenv(name, value.c_str(), 1);
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) throw HarnessError("cannot write " + path.string());
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int runHelper(const std::vector<std::string>& argv, std::string* output) {
    ChildProcess helper(argv[0], argv);
    while (auto line = helper.readLine(kBound))
        if (output) *output += *line + "\n";
    const auto status = helper.waitFor(kBound);
    if (!status || !WIFEXITED(*status)) return -1;
    return WEXITSTATUS(*status);
}

void stop(ChildProcess& child) {
    child.signal(SIGTERM);
    child.waitFor(kBound);
}

XServer::XServer() {
    x_ = std::make_unique<ChildProcess>("Xvfb",
                                        std::vector<std::string>{"Xvfb", "-displayfd", "1", "-nolisten",
                                                                 "tcp", "-screen", "0", "1600x1200x24"},
                                        process::testing::Redirects{.error = "/dev/null"});
    const auto number = x_->readLine(kBound);
    if (!number) throw HarnessError("Xvfb did not start");
    display_ = ":" + *number;
    setEnv("DISPLAY", display_);
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
}

SoundServer::SoundServer(const fs::path& folder) {
    const fs::path run = folder / "run";
    fs::create_directories(run);
    fs::create_directories(folder / "pulse");
    ::chmod(run.c_str(), 0700);
    const std::string socket = (run / "pulse-native").string();
    writeFile(
        folder / "pulse/default.pa",
        "load-module module-native-protocol-unix auth-anonymous=1 socket=" + socket +
            "\n"
            // Sound libraries list devices by description: two alike would be taken for one.
            "load-module module-null-sink sink_name=rx rate=48000 sink_properties=device.description=rx\n"
            "load-module module-null-sink sink_name=out rate=48000 sink_properties=device.description=out\n"
            "set-default-source rx.monitor\n"
            "set-default-sink out\n");
    // Without shared memory: the daemon's memfd blocks are refused by some clients and slow their start.
    writeFile(folder / "pulse/client.conf", "autospawn = no\nenable-shm = no\n");
    // The daemon reads its configuration from there; the home keeps its cookie out of the user's.
    fs::create_directories(folder / "config/pulse");
    writeFile(folder / "config/pulse/daemon.conf", "default-sample-rate = 48000\n");
    setEnv("XDG_CONFIG_HOME", (folder / "config").string());
    setEnv("HOME", folder.string());
    setEnv("XDG_RUNTIME_DIR", run.string());
    setEnv("PULSE_CLIENTCONFIG", (folder / "pulse/client.conf").string());
    server_ = "unix:" + socket;
    setEnv("PULSE_SERVER", server_);
    pulse_ = std::make_unique<ChildProcess>(
        "pulseaudio",
        std::vector<std::string>{"pulseaudio", "-n", "--daemonize=no", "--use-pid-file=no",
                                 "--exit-idle-time=-1", "--disallow-exit", "--disable-shm=yes",
                                 "--log-level=error", "--log-target=stderr", "-F",
                                 (folder / "pulse/default.pa").string()},
        process::testing::Redirects{.error = (folder / "pulse/log").string()});
    const auto deadline = Clock::now() + kBound;
    // The socket first, so that the client is not asked to connect to nothing.
    while (!fs::exists(socket) || runHelper({"pactl", "info"}) != 0) {
        if (Clock::now() > deadline || pulse_->waitFor(0ms))
            throw HarnessError("PulseAudio did not start: " + readFile(folder / "pulse/log"));
        std::this_thread::sleep_for(50ms);
    }
}

SoundServer::~SoundServer() {
    stop(*pulse_);
}

bool RigServer::portTaken(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return true;
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool taken = ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0;
    ::close(fd);
    return taken;
}

namespace {

bool accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

} // namespace

RigServer::RigServer(int port) {
    // Model 1 is Hamlib's dummy rig.
    rig_ = std::make_unique<ChildProcess>(
        "rigctld",
        std::vector<std::string>{"rigctld", "-m", "1", "-T", "127.0.0.1", "-t", std::to_string(port)},
        process::testing::Redirects{.error = "/dev/null"});
    const auto deadline = Clock::now() + kBound;
    while (!accepts(port)) {
        if (Clock::now() > deadline || rig_->waitFor(0ms)) throw HarnessError("rigctld did not start");
        std::this_thread::sleep_for(20ms);
    }
}

RigServer::~RigServer() {
    stop(*rig_);
}

} // namespace e2e
