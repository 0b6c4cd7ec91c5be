// The Linux serial backend without a serial device: the port-number mapping, the console refusal, the
// status bits, the edge counting and the watcher's stop. The only device opened is a pseudo-terminal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <vector>

#include "platform/comm/LinuxSerialPorts.h"
#include "platform/comm/ModemWatch.h"
#include "platform/runtime/PostQueue.h"

namespace {

using namespace std::chrono_literals;

class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/nerix_comm_XXXXXX";
        path_ = ::mkdtemp(pattern);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name, const std::string& text) const {
        const std::string p = path_ + "/" + name;
        std::ofstream(p) << text;
        return p;
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

comm::EnvLookup envOf(std::map<std::string, std::string> values) {
    return [values](std::string_view name) -> std::optional<std::string> {
        const auto it = values.find(std::string(name));
        if (it == values.end()) return std::nullopt;
        return it->second;
    };
}

TEST(SerialDeviceMapping, PortNumbersLeadToTtysUnlessASettingOrTheEnvironmentSaysOtherwise) {
    profile::MemorySettingsStore store;
    store.SaveSetting("NerixSDR", "SerialPorts", "COM2", "/dev/ttyUSB0");
    store.SaveSetting("NerixSDR", "SerialPorts", "COM3", "/dev/ttyUSB1");
    const auto env = envOf({{"NERIX_COM3", "/dev/ttyACM0"}, {"NERIX_COM5", ""}});
    const struct {
        int32_t portNo;
        const profile::SettingsStore* store;
        const char* path;
    } cases[] = {
        {1, &store, "/dev/ttyS0"},
        {4, &store, "/dev/ttyS3"},
        {12, nullptr, "/dev/ttyS11"},
        {2, &store, "/dev/ttyUSB0"},
        {2, nullptr, "/dev/ttyS1"},
        {3, &store, "/dev/ttyACM0"}, // environment first
        {5, &store, "/dev/ttyS4"},
        {0, &store, ""},
        {-1, nullptr, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(comm::serialDevicePath(c.portNo, c.store, env), c.path) << c.portNo;
}

TEST(SerialDeviceMapping, TheActiveConsoleIsRecognised) {
    TempDir dir;
    const std::string list = dir.file("active", "tty0 ttyS0\n");
    EXPECT_TRUE(comm::isConsoleDevice("/dev/ttyS0", list));
    EXPECT_TRUE(comm::isConsoleDevice("/dev/console", list));
    EXPECT_FALSE(comm::isConsoleDevice("/dev/ttyS1", list));
    EXPECT_FALSE(comm::isConsoleDevice("/dev/ttyUSB0", list));
    const std::string serialConsole = dir.file("active2", "ttyUSB0\n");
    EXPECT_TRUE(comm::isConsoleDevice("/dev/ttyUSB0", serialConsole));
}

// Virtual consoles are screens and keyboards, whether the kernel lists them as active or not.
TEST(SerialDeviceMapping, VirtualConsolesAreConsolesAndPortsAreNot) {
    TempDir dir;
    const std::string none = dir.file("active", "");
    for (const char* console : {"/dev/tty0", "/dev/tty1", "/dev/tty7", "/dev/tty63"})
        EXPECT_TRUE(comm::isConsoleDevice(console, none)) << console;
    for (const char* port : {"/dev/ttyS0", "/dev/ttyS12", "/dev/ttyUSB0", "/dev/ttyACM1", "/dev/ttyAMA0",
                             "/dev/ttyx1", "/dev/tty1x", "/dev/pts/1", "/tmp/tty1"})
        EXPECT_FALSE(comm::isConsoleDevice(port, none)) << port;
}

// Each refusal keeps the system's error number, which the user is shown.
TEST(LinuxSerialPorts, RefusesWhatIsNoSerialPortAndAMissingDevice) {
    TempDir dir;
    const std::string plain = dir.file("ttyS99", "not a port");
    comm::LinuxSerialPorts ports(
        comm::LinuxSerialPorts::Options{.env = envOf({{"NERIX_COM1", plain},
                                                      {"NERIX_COM2", dir.path() + "/missing"},
                                                      {"NERIX_COM3", "/dev/console"},
                                                      {"NERIX_COM4", dir.path()}}),
                                        .activeConsoleList = dir.file("active", "")});
    const struct {
        int32_t portNo;
        int error;
    } cases[] = {{1, ENOTTY}, {2, ENOENT}, {3, EPERM}, {4, EISDIR}, {0, ENODEV}};
    for (const auto& c : cases) {
        EXPECT_EQ(ports.open(c.portNo), nullptr) << c.portNo;
        EXPECT_EQ(ports.openError(), c.error) << c.portNo;
    }
}

TEST(LinuxSerialPorts, OpensATerminalForSoleUseAndClosesIt) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string slave = ::ptsname(master);
    TempDir dir;
    comm::LinuxSerialPorts ports(
        comm::LinuxSerialPorts::Options{.env = envOf({}), .activeConsoleList = dir.file("active", "")});

    EXPECT_EQ(ports.openPath("/dev/console"), nullptr);
    auto first = ports.openPath(slave);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(ports.openError(), 0) << "an open that succeeds leaves no error behind";
    EXPECT_GT(first->handle(), 0);
    EXPECT_TRUE(first->configure(9600));
    // The privileged may open an exclusive terminal again; everybody else is refused.
    if (::geteuid() != 0) {
        EXPECT_EQ(ports.openPath(slave), nullptr);
    }
    // A pseudo-terminal has no modem lines: the watch finds nothing to read and still stops at once.
    first->startWatch([](const comm::ModemEvent&) {});
    first->stopWatch();
    EXPECT_TRUE(first->close());
    EXPECT_FALSE(first->close());
    EXPECT_FALSE(first->escape(comm::LineCode::SetDtr));
    EXPECT_EQ(first->modemStatus(), 0);
    ::close(master);
}

TEST(ModemStatus, KernelLineBitsBecomeTheStatusBits) {
    const struct {
        int lines;
        int32_t status;
    } cases[] = {{0, 0},
                 {TIOCM_CTS, 0x10},
                 {TIOCM_DSR, 0x20},
                 {TIOCM_CTS | TIOCM_DSR, 0x30},
                 {TIOCM_DTR | TIOCM_RTS | TIOCM_CD | TIOCM_RI, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(comm::modemStatusFromLines(c.lines), c.status) << c.lines;
}

TEST(ModemStatus, EveryCountedEdgeBecomesAnEventEvenBetweenTwoLooks) {
    using E = std::vector<std::pair<int16_t, int32_t>>;
    const auto events = [](comm::ModemLook a, comm::ModemLook b) {
        E out;
        for (const auto& e : comm::modemEventsBetween(a, b))
            out.emplace_back(e.commEvent, e.modemStatus);
        return out;
    };
    // Nothing moved.
    EXPECT_EQ(events({5, 5, 0x10}, {5, 5, 0x10}), E{});
    // CTS rose once.
    EXPECT_EQ(events({0, 0, 0x00}, {1, 0, 0x10}), (E{{3, 0x10}}));
    // CTS rose and fell again between looks: two events, not none.
    EXPECT_EQ(events({0, 0, 0x00}, {2, 0, 0x00}), (E{{3, 0x10}, {3, 0x00}}));
    // Both moved: CTS first, the last edge of each carrying its sampled level.
    EXPECT_EQ(events({7, 9, 0x00}, {8, 10, 0x30}), (E{{3, 0x10}, {4, 0x30}}));
    // The driver's counters wrap.
    EXPECT_EQ(events({0xFFFFFFFFu, 0, 0x10}, {0, 0, 0x00}), (E{{3, 0x00}}));
}

TEST(ModemWatcher, HandsEachChangeToTheSinkAndStopsWithoutWaitingOutItsInterval) {
    std::mutex mutex;
    std::vector<comm::ModemLook> script{{0, 0, 0}, {1, 0, 0x10}, {1, 1, 0x30}};
    std::size_t next = 0;
    runtime::PostQueue queue;
    std::vector<comm::ModemEvent> seen;
    std::atomic<int> looksAfterStop{0};
    std::atomic<bool> stopped{false};
    {
        comm::ModemWatcher watcher(
            [&]() -> std::optional<comm::ModemLook> {
                if (stopped) ++looksAfterStop;
                const std::lock_guard lock(mutex);
                const comm::ModemLook look = script[std::min(next, script.size() - 1)];
                ++next;
                return look;
            },
            [&](const comm::ModemEvent& e) { queue.post([&seen, e] { seen.push_back(e); }); }, 100us);
        while (seen.size() < 2) {
            ASSERT_TRUE(queue.waitForTask(60s));
            queue.drain();
        }
        watcher.stop();
        stopped = true;
    }
    EXPECT_EQ(looksAfterStop, 0);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].commEvent, comm::kEvCts);
    EXPECT_EQ(seen[0].modemStatus, 0x10);
    EXPECT_EQ(seen[1].commEvent, comm::kEvDsr);
    EXPECT_EQ(seen[1].modemStatus, 0x30);

    // An interval of an hour: stop() returns only because it wakes the thread (a hang fails the run).
    comm::ModemWatcher slow([] { return std::optional<comm::ModemLook>{}; }, [](const comm::ModemEvent&) {},
                            1h);
    slow.stop();
}

TEST(PostQueue, RunsWorkFromOtherThreadsOnTheDrainingThreadInOrder) {
    runtime::PostQueue queue;
    std::vector<int> order;
    EXPECT_EQ(queue.drain(), 0u);
    std::thread poster([&] {
        for (int i = 0; i < 3; ++i)
            queue.post([&order, i] { order.push_back(i); });
    });
    poster.join();
    ASSERT_GE(queue.notifyFd(), 0);
    uint64_t count = 0;
    EXPECT_EQ(::read(queue.notifyFd(), &count, sizeof count), static_cast<ssize_t>(sizeof count));
    queue.post([] { throw std::runtime_error("one task fails"); });
    queue.post([&order] { order.push_back(9); });
    EXPECT_EQ(queue.drain(), 5u);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 9}));
    EXPECT_EQ(queue.pending(), 0u);
}

} // namespace
