// Hamlib's network rig tuned through the bridge, against a real rigctld on the loopback port.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "rigbridge/tests/BridgeCalls.h"

extern char** environ;

namespace {

// Hamlib's network model talks to this port by default, and the bridge offers no call to change it.
constexpr uint16_t kRigctldPort = 4532;
constexpr auto kBoundedWait = std::chrono::seconds(10);

sockaddr_in loopback() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(kRigctldPort);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool portIsFree() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const auto address = loopback();
    const bool free = bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(s);
    return free;
}

bool accepts() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    const auto address = loopback();
    const bool connected = connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(s);
    return connected;
}

// rigctld with the dummy rig, stopped by its process id however the test ends.
class Rigctld {
public:
    Rigctld() {
        const std::string port = std::to_string(kRigctldPort);
        const char* argv[] = {"rigctld", "-m", "1", "-T", "127.0.0.1", "-t", port.c_str(), nullptr};
        if (posix_spawnp(&pid_, "rigctld", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
            pid_ = 0;
    }
    ~Rigctld() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        if (!waitFor(kBoundedWait)) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Rigctld(const Rigctld&) = delete;
    Rigctld& operator=(const Rigctld&) = delete;

    // True once it accepts connections; false when it ended or did not come up in time.
    bool waitUntilListening() {
        const auto deadline = std::chrono::steady_clock::now() + kBoundedWait;
        while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
            if (accepts()) return true;
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = 0;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

private:
    bool waitFor(std::chrono::seconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    pid_t pid_ = 0;
};

// The frequency rigctl reads from the server, as its text.
std::string frequencyFromRigctl() {
    const std::string command =
        "timeout 10 rigctl -m 2 -r 127.0.0.1:" + std::to_string(kRigctldPort) + " f 2>/dev/null";
    FILE* out = popen(command.c_str(), "r");
    if (!out) return {};
    std::string text;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, out))
        text += buffer;
    pclose(out);
    return text.substr(0, text.find('\n'));
}

// The program runs in the user's locale (the toolkit sets it from the environment), and Hamlib switches
// LC_NUMERIC to "C" and back inside its calls. "C.utf8" is a name other than "C"; "de_DE.utf8" also writes
// a comma for the decimal point. One server serves every locale: the cases share its port.
TEST(RigBridgeNetwork, TunesRigctldThroughHamlibsNetworkRigInAnyLocaleAndLeavesTheLocale) {
    if (!portIsFree()) {
        const char* ci = std::getenv("CI");
        if (ci && std::string(ci) == "true") FAIL() << "127.0.0.1:4532 is taken; rigctld cannot listen there";
        GTEST_SKIP() << "127.0.0.1:4532 is taken by another program; rigctld cannot listen there";
    }
    Rigctld server;
    ASSERT_TRUE(server.waitUntilListening()) << "rigctld did not come up on 127.0.0.1:4532";
    const std::string before = std::setlocale(LC_ALL, nullptr);
    BridgeCalls bridge(RIGBRIDGE_FILE);
    bridge.rig_set_debug(0);

    double hertz = 7074000.0;
    for (const char* locale : {"C", "C.utf8", "de_DE.utf8"}) {
        SCOPED_TRACE(locale);
        if (!std::setlocale(LC_ALL, locale)) continue; // not installed here
        const std::string numbers = std::setlocale(LC_NUMERIC, nullptr);
        hertz += 1000.0;
        const int32_t rig = bridge.rig_init(kNetworkRig);
        ASSERT_GT(rig, 0);
        ASSERT_EQ(bridge.rig_open(rig), rigbridge::kRigOk);
        EXPECT_EQ(bridge.rig_set_freq(rig, rigbridge::kRigVfoCurr, hertz), rigbridge::kRigOk);
        double read = 0;
        EXPECT_EQ(bridge.rig_get_freq(rig, rigbridge::kRigVfoCurr, &read), rigbridge::kRigOk);
        EXPECT_EQ(read, hertz);
        EXPECT_EQ(bridge.rig_close(rig), rigbridge::kRigOk);
        EXPECT_EQ(bridge.rig_cleanup(rig), rigbridge::kRigOk);

        EXPECT_EQ(frequencyFromRigctl(), std::to_string(static_cast<int64_t>(hertz)));
        EXPECT_EQ(std::setlocale(LC_NUMERIC, nullptr), numbers);
    }
    std::setlocale(LC_ALL, before.c_str());

    // The network rig's capabilities name no receive range, so any frequency up to 1e12 Hz reaches the
    // server (its dummy rig takes 2.5 GHz), and one above stays in the bridge.
    const int32_t rig = bridge.rig_init(kNetworkRig);
    ASSERT_GT(rig, 0);
    ASSERT_EQ(bridge.rig_open(rig), rigbridge::kRigOk);
    EXPECT_EQ(bridge.rig_set_freq(rig, rigbridge::kRigVfoCurr, 2.5e9), rigbridge::kRigOk);
    EXPECT_EQ(bridge.rig_set_freq(rig, rigbridge::kRigVfoCurr, 1.000001e12), rigbridge::kRigEInval);
    EXPECT_EQ(bridge.rig_close(rig), rigbridge::kRigOk);
    EXPECT_EQ(bridge.rig_cleanup(rig), rigbridge::kRigOk);
    EXPECT_EQ(frequencyFromRigctl(), "2500000000");
}

} // namespace
