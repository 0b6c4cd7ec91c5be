// The whole program's cost as a user runs it: start-up time to the final caption and CPU share while
// receiving and while Off, on an X server and a sound server of the bench's own.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include "platform/process/testing/ChildProcess.h"

namespace fs = std::filesystem;
using process::testing::ChildProcess;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

constexpr auto kBound = 20s;
const std::string kCaption = "NerixSDR - Soft Rock 40-7.055MHz";
// Model 13 drives no hardware line; the receiving run powers on by itself with the spectrum active.
const std::string kReceiving = "[frmMain]\r\nSDRModelNo=13\r\nAutoStartSDR=True\r\n"
                               "[SpectrumAnalyser]\r\nActive=True\r\n";
const std::string kOff = "[frmMain]\r\nSDRModelNo=13\r\nAutoStartSDR=False\r\n";

struct Options {
    std::string program;
    std::string dataDir;
    int startRuns = 10;
    int cpuRuns = 3;
    double settle = 5;
    double window = 30;
};

// Thrown so that every child is stopped by its owner on the way out.
[[noreturn]] void fail(const std::string& why) {
    throw std::runtime_error(why);
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) fail("cannot write " + path.string());
}

void setEnv(const char* name, const std::string& value) {
    ::setenv(name, value.c_str(), 1);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// utime + stime of the process (all its threads) in seconds.
double cpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The command name may hold spaces; the fields after it are plain.
    const size_t close = text.rfind(')');
    if (close == std::string::npos) fail("no /proc stat for pid " + std::to_string(pid));
    std::istringstream fields(text.substr(close + 2));
    std::vector<std::string> f{std::istream_iterator<std::string>(fields), {}};
    // utime and stime are fields 14 and 15; the state (field 3) is the first after the name.
    if (f.size() < 13) fail("short /proc stat for pid " + std::to_string(pid));
    const double ticks = std::stod(f[11]) + std::stod(f[12]);
    return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

int exitCode(const std::optional<int>& status) {
    if (!status) return -1;
    if (WIFEXITED(*status)) return WEXITSTATUS(*status);
    return 1000 + (WIFSIGNALED(*status) ? WTERMSIG(*status) : 0);
}

// Asks a child to end and waits a bounded time; the destructor kills it by pid if it did not.
void stop(ChildProcess& child) {
    child.signal(SIGTERM);
    if (!child.waitFor(kBound)) std::fprintf(stderr, "program_cost: pid %d ignored SIGTERM\n", child.pid());
}

// Runs a short helper to its end within the bound; its exit code.
int runHelper(const std::vector<std::string>& argv) {
    ChildProcess helper(argv[0], argv);
    while (helper.readLine(kBound)) {
    }
    return exitCode(helper.waitFor(kBound));
}

// Whether a top-level window on the server carries the title.
class CaptionWatch {
public:
    explicit CaptionWatch(const std::string& display) : c_(xcb_connect(display.c_str(), nullptr)) {
        if (xcb_connection_has_error(c_)) fail("cannot connect to the X server " + display);
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    }
    ~CaptionWatch() { xcb_disconnect(c_); }
    CaptionWatch(const CaptionWatch&) = delete;
    CaptionWatch& operator=(const CaptionWatch&) = delete;

    bool shows(const std::string& title) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c_, xcb_query_tree(c_, root_), nullptr);
        if (!tree) return false;
        const xcb_window_t* kids = xcb_query_tree_children(tree);
        const int n = xcb_query_tree_children_length(tree);
        std::vector<xcb_get_property_cookie_t> cookies;
        for (int i = 0; i < n; ++i)
            cookies.push_back(
                xcb_get_property(c_, 0, kids[i], XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 64));
        bool found = false;
        for (auto cookie : cookies) {
            xcb_get_property_reply_t* reply = xcb_get_property_reply(c_, cookie, nullptr);
            if (!reply) continue;
            const std::string name(static_cast<const char*>(xcb_get_property_value(reply)),
                                   static_cast<size_t>(xcb_get_property_value_length(reply)));
            found = found || name == title;
            std::free(reply);
        }
        std::free(tree);
        return found;
    }

private:
    xcb_connection_t* c_;
    xcb_window_t root_ = 0;
};

// A folder of the bench's own with an X server and a sound server that only the program uses.
class Bench {
public:
    explicit Bench(const Options& o) : o_(o) {
        char pattern[] = "/tmp/nerix-cost-XXXXXX";
        if (!::mkdtemp(pattern)) fail("mkdtemp");
        root_ = pattern;
        for (const char* d : {"home", "run", "config/NerixSDR", "pulse"})
            fs::create_directories(root_ / d);
        ::chmod((root_ / "run").c_str(), 0700);
        size_t plans = 0;
        for (const auto& e : fs::directory_iterator(o.dataDir))
            if (e.path().extension() == ".bpl" || e.path().extension() == ".BPL") {
                fs::copy_file(e.path(), root_ / "home" / e.path().filename());
                ++plans;
            }
        if (plans == 0) fail("no band plans in " + o.dataDir);
        startX();
        startPulse();
        setEnv("NERIXSDR_HOME", (root_ / "home").string());
        setEnv("XDG_CONFIG_HOME", (root_ / "config").string());
        setEnv("NERIXSDR_DIALOG_RECORD", (root_ / "dialogs").string());
        setEnv("NERIX_COM1", (root_ / "no-serial-port").string());
        ::unsetenv("QT_QPA_PLATFORM");
        ::unsetenv("WAYLAND_DISPLAY");
    }
    ~Bench() {
        if (pulse_) stop(*pulse_);
        if (x_) stop(*x_);
        pulse_.reset();
        x_.reset();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    pid_t xPid() const { return x_->pid(); }
    pid_t pulsePid() const { return pulse_->pid(); }
    const std::string& display() const { return display_; }

    // Starts the program with the settings and waits for its final caption; nullopt if it never came.
    std::unique_ptr<ChildProcess> startProgram(const std::string& settings, double* seconds) {
        writeFile(root_ / "config/NerixSDR/NerixSDR.ini", settings);
        CaptionWatch watch(display_);
        const auto start = Clock::now();
        auto program = std::make_unique<ChildProcess>(o_.program, std::vector<std::string>{o_.program});
        while (!watch.shows(kCaption)) {
            if (Clock::now() - start > kBound) fail("the main window never showed \"" + kCaption + "\"");
            if (program->waitFor(0ms)) fail("the program ended during its start-up");
            std::this_thread::sleep_for(1ms);
        }
        *seconds = std::chrono::duration<double>(Clock::now() - start).count();
        return program;
    }

    // The program's streams on the sound server: capture and playback both present while receiving.
    int streams() {
        int count = 0;
        for (const char* kind : {"sink-inputs", "source-outputs"}) {
            ChildProcess list("pactl", {"pactl", "list", "short", kind});
            while (auto line = list.readLine(kBound))
                if (!line->empty()) ++count;
            list.waitFor(kBound);
        }
        return count;
    }

    std::string dialogs() const {
        std::ifstream in(root_ / "dialogs");
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

private:
    void startX() {
        x_ = std::make_unique<ChildProcess>("Xvfb",
                                            std::vector<std::string>{"Xvfb", "-displayfd", "1", "-nolisten",
                                                                     "tcp", "-screen", "0", "1280x1024x24"});
        const auto number = x_->readLine(kBound);
        if (!number) fail("Xvfb did not start");
        display_ = ":" + *number;
        setEnv("DISPLAY", display_);
    }

    // Two null sinks at 48 kHz: "rx", whose monitor the program captures, and "out", where it plays.
    void startPulse() {
        const fs::path run = root_ / "run";
        const std::string socket = (run / "pulse-native").string();
        writeFile(root_ / "pulse/default.pa",
                  "load-module module-native-protocol-unix auth-anonymous=1 socket=" + socket +
                      "\n"
                      "load-module module-null-sink sink_name=rx rate=48000\n"
                      "load-module module-null-sink sink_name=out rate=48000\n"
                      "set-default-source rx.monitor\n"
                      "set-default-sink out\n");
        writeFile(root_ / "pulse/client.conf", "autospawn = no\n");
        fs::create_directories(root_ / "config/pulse");
        writeFile(root_ / "config/pulse/daemon.conf", "default-sample-rate = 48000\n");
        setEnv("XDG_RUNTIME_DIR", run.string());
        setEnv("XDG_CONFIG_HOME", (root_ / "config").string());
        setEnv("HOME", root_.string());
        setEnv("PULSE_CLIENTCONFIG", (root_ / "pulse/client.conf").string());
        setEnv("PULSE_SERVER", "unix:" + socket);
        pulse_ = std::make_unique<ChildProcess>(
            "pulseaudio",
            std::vector<std::string>{"pulseaudio", "-n", "--daemonize=no", "--use-pid-file=no",
                                     "--exit-idle-time=-1", "--disallow-exit", "--log-level=error", "-F",
                                     (root_ / "pulse/default.pa").string()});
        const auto deadline = Clock::now() + kBound;
        // The socket first, so that the client is not asked to connect to nothing.
        while (!fs::exists(socket) || runHelper({"pactl", "info"}) != 0) {
            if (Clock::now() > deadline || pulse_->waitFor(0ms)) fail("PulseAudio did not start");
            std::this_thread::sleep_for(50ms);
        }
    }

    const Options& o_;
    fs::path root_;
    std::string display_;
    std::unique_ptr<ChildProcess> x_;
    std::unique_ptr<ChildProcess> pulse_;
};

struct Shares {
    double program, x, pulse;
};

// One run: the program settles, then its, Xvfb's and PulseAudio's CPU over the window, in % of one core.
Shares measureShares(Bench& bench, const Options& o, const std::string& settings, bool receiving) {
    double ignored = 0;
    auto program = bench.startProgram(settings, &ignored);
    std::this_thread::sleep_for(std::chrono::duration<double>(o.settle));
    const int streams = bench.streams();
    if (receiving != (streams >= 2))
        std::fprintf(stderr, "program_cost: warning: %d sound streams open while %s\n", streams,
                     receiving ? "receiving" : "Off");
    const pid_t pids[] = {program->pid(), bench.xPid(), bench.pulsePid()};
    double before[3];
    for (int i = 0; i < 3; ++i)
        before[i] = cpuSeconds(pids[i]);
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(o.window));
    double after[3];
    for (int i = 0; i < 3; ++i)
        after[i] = cpuSeconds(pids[i]);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    stop(*program);
    const auto share = [&](int i) { return 100.0 * (after[i] - before[i]) / wall; };
    return {share(0), share(1), share(2)};
}

void reportShares(const char* what, const std::vector<Shares>& runs, double goal) {
    std::vector<double> p, x, pa;
    for (const auto& r : runs) {
        p.push_back(r.program);
        x.push_back(r.x);
        pa.push_back(r.pulse);
    }
    const double m = median(p);
    std::printf(
        "CPU share %-10s %6.2f %% of one core (goal %s %.1f %%: %s); Xvfb %.2f %%, PulseAudio %.2f %%\n",
        what, m, goal >= 1 ? "at most" : "under", goal, (goal >= 1 ? m <= goal : m < goal) ? "met" : "MISSED",
        median(x), median(pa));
    std::printf("  runs:");
    for (const double v : p)
        std::printf(" %.2f", v);
    std::printf("\n");
    std::fflush(stdout);
}

// The machine's load: the figures are judged beside it, since other work on the cores inflates them.
std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

Options parse(int argc, char** argv) {
    Options o;
    const fs::path self = fs::canonical("/proc/self/exe").parent_path();
    o.program = (self / "NerixSDR").string();
    o.dataDir = self.string();
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) fail("missing value after " + a);
            return argv[++i];
        };
        if (a == "--program")
            o.program = value();
        else if (a == "--data")
            o.dataDir = value();
        else if (a == "--start-runs")
            o.startRuns = std::max(1, std::atoi(value().c_str()));
        else if (a == "--cpu-runs")
            o.cpuRuns = std::max(1, std::atoi(value().c_str()));
        else if (a == "--settle")
            o.settle = std::max(0.0, std::atof(value().c_str()));
        else if (a == "--seconds")
            o.window = std::max(1.0, std::atof(value().c_str()));
        else {
            std::fprintf(stderr, "usage: bench_program_cost [--program PATH] [--data DIR] [--start-runs N] "
                                 "[--cpu-runs N] [--settle S] [--seconds S]\n");
            std::exit(2);
        }
    }
    return o;
}

} // namespace

int runBench(const Options& o) {
    Bench bench(o);
    std::printf("NerixSDR %s on X display %s, PulseAudio pid %d; load average %s on %ld cores\n",
                o.program.c_str(), bench.display().c_str(), bench.pulsePid(), loadAverage().c_str(),
                ::sysconf(_SC_NPROCESSORS_ONLN));

    std::vector<double> starts;
    for (int i = 0; i < o.startRuns; ++i) {
        double seconds = 0;
        auto program = bench.startProgram(kReceiving, &seconds);
        starts.push_back(seconds);
        stop(*program);
    }
    const double start = median(starts);
    std::printf("start-up to \"%s\": %.3f s median of %d (goal under 0.5 s: %s)\n  runs:", kCaption.c_str(),
                start, o.startRuns, start < 0.5 ? "met" : "MISSED");
    for (const double s : starts)
        std::printf(" %.3f", s);
    std::printf("\n");
    std::fflush(stdout);

    std::vector<Shares> receiving, off;
    for (int i = 0; i < o.cpuRuns; ++i)
        receiving.push_back(measureShares(bench, o, kReceiving, true));
    reportShares("receiving", receiving, 5.0);
    for (int i = 0; i < o.cpuRuns; ++i)
        off.push_back(measureShares(bench, o, kOff, false));
    reportShares("Off, idle", off, 0.5);

    std::printf("load average at the end %s\n", loadAverage().c_str());
    if (const std::string d = bench.dialogs(); !d.empty()) std::printf("messages shown:\n%s", d.c_str());
    return 0;
}

int main(int argc, char** argv) {
    try {
        return runBench(parse(argc, argv));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "program_cost: %s\n", e.what());
        return 2;
    }
}
