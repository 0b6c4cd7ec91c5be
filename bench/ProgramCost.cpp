// The whole program's cost as a user runs it: start-up time and CPU to the final caption, and the CPU
// shares of the program, the X server and the sound server while receiving (in the "Ext" layout, and in
// the "Full" layout with the spectrum on screen and an I/Q signal in) and while Off, with the program's
// wake-ups while Off, on an X server and a sound server of the bench's own. Every figure carries the
// machine's load beside it, since other work on the cores inflates them.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "e2e/harness/Audio.h"
#include "e2e/harness/Screen.h"
#include "e2e/harness/Servers.h"
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using e2e::ChildProcess;
using e2e::kBound;
using e2e::setEnv;
using e2e::stop;
using e2e::writeFile;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

const std::string kCaption = "NerixSDR - Soft Rock 40-7.055MHz";
// Model 13 drives no hardware line; the receiving run powers on by itself with the spectrum active.
const std::string kReceiving = "[frmMain]\r\nSDRModelNo=13\r\nAutoStartSDR=True\r\n"
                               "[SpectrumAnalyser]\r\nActive=True\r\n";
// The same in the "Full" layout (DisplayMode 3), where the spectrum is on screen.
const std::string kReceivingFull = "[frmMain]\r\nSDRModelNo=13\r\nAutoStartSDR=True\r\nDisplayMode=3\r\n"
                                   "[SpectrumAnalyser]\r\nActive=True\r\n";
const std::string kOff = "[frmMain]\r\nSDRModelNo=13\r\nAutoStartSDR=False\r\n";
// The I/Q signal of the "Full" run: a tone 5 kHz off the centre, so the trace changes every frame.
constexpr double kToneOffsetHz = 5000;

struct Options {
    std::string program;
    std::string dataDir;
    int startRuns = 10;
    int cpuRuns = 3;
    double settle = 5;
    double window = 30;
    std::string shot; // a PNG of the "Full" run's window, when asked for
    std::string only; // one of "start", "ext", "full", "off"; empty runs them all
    bool runs(const char* part) const { return only.empty() || only == part; }
};

[[noreturn]] void fail(const std::string& why) {
    throw e2e::HarnessError(why);
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

// The context switches of each of the process's threads, by thread id: each is a wake-up, or a
// preemption of one.
std::map<std::string, double> contextSwitches(pid_t pid) {
    std::map<std::string, double> perThread;
    std::error_code ec;
    for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
        std::ifstream in(task.path() / "status");
        std::string line;
        double total = 0;
        while (std::getline(in, line))
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0 ||
                line.rfind("nonvoluntary_ctxt_switches:", 0) == 0)
                total += std::stod(line.substr(line.find(':') + 1));
        perThread[task.path().filename().string()] = total;
    }
    return perThread;
}

// The switches between two readings: those of the threads that lived through both, and all of those
// started meanwhile (a thread that ended meanwhile takes its own with it).
double switchesBetween(const std::map<std::string, double>& before,
                       const std::map<std::string, double>& after) {
    double total = 0;
    for (const auto& [tid, count] : after) {
        const auto it = before.find(tid);
        total += it == before.end() ? count : count - it->second;
    }
    return total;
}

// The machine's load: the figures are judged beside it.
std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

std::string loadOne() {
    std::ifstream in("/proc/loadavg");
    std::string one;
    in >> one;
    return one;
}

// A folder of the bench's own with an X server and a sound server that only the program uses.
class Bench {
public:
    explicit Bench(const Options& o) : o_(o) {
        char pattern[] = "/tmp/nerix-cost-XXXXXX";
        if (!::mkdtemp(pattern)) fail("mkdtemp");
        root_ = pattern;
        for (const char* d : {"home", "config/NerixSDR"})
            fs::create_directories(root_ / d);
        size_t plans = 0;
        for (const auto& e : fs::directory_iterator(o.dataDir))
            if (e.path().extension() == ".bpl" || e.path().extension() == ".BPL") {
                fs::copy_file(e.path(), root_ / "home" / e.path().filename());
                ++plans;
            }
        if (plans == 0) fail("no band plans in " + o.dataDir);
        x_ = std::make_unique<e2e::XServer>();
        pulse_ = std::make_unique<e2e::SoundServer>(root_);
        setEnv("NERIXSDR_HOME", (root_ / "home").string());
        setEnv("XDG_CONFIG_HOME", (root_ / "config").string());
        setEnv("XDG_CACHE_HOME", (root_ / "cache").string()); // the program's measured FFT plans
        setEnv("NERIXSDR_DIALOG_RECORD", (root_ / "dialogs").string());
        setEnv("NERIX_COM1", (root_ / "no-serial-port").string());
    }
    ~Bench() {
        pulse_.reset();
        x_.reset();
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    pid_t xPid() const { return x_->pid(); }
    const fs::path& root() const { return root_; }
    pid_t pulsePid() const { return pulse_->pid(); }
    const std::string& display() const { return x_->display(); }

    // Starts the program with the settings and waits for its final caption; the wall time to it, and
    // the program's CPU time by then when asked for.
    std::unique_ptr<ChildProcess> startProgram(const std::string& settings, double* seconds,
                                               double* cpu = nullptr) {
        writeFile(root_ / "config/NerixSDR/NerixSDR.ini", settings);
        e2e::Screen screen(x_->display());
        const auto start = Clock::now();
        auto program = std::make_unique<ChildProcess>(o_.program, std::vector<std::string>{o_.program});
        while (!screen.find(kCaption)) {
            if (Clock::now() - start > kBound) fail("the main window never showed \"" + kCaption + "\"");
            if (program->waitFor(0ms)) fail("the program ended during its start-up");
            std::this_thread::sleep_for(1ms);
        }
        *seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (cpu) *cpu = cpuSeconds(program->pid());
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

    void capture(const std::string& path) {
        e2e::Screen screen(x_->display());
        const auto w = screen.find(kCaption);
        if (!w || !screen.capture(*w).savePng(path))
            std::fprintf(stderr, "program_cost: no picture at %s\n", path.c_str());
    }

    std::string dialogs() const {
        std::ifstream in(root_ / "dialogs");
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

private:
    const Options& o_;
    fs::path root_;
    std::unique_ptr<e2e::XServer> x_;
    std::unique_ptr<e2e::SoundServer> pulse_;
};

struct Shares {
    double program, x, pulse;
    double wakeups; // the program's, per second
    std::string load;
};

enum class Signal { None, IQ };

// One run: the program settles, then its, Xvfb's and PulseAudio's CPU over the window, in % of one core.
Shares measureShares(Bench& bench, const Options& o, const std::string& settings, bool receiving,
                     Signal signal = Signal::None, const std::string& shot = {}) {
    std::unique_ptr<e2e::ToneSource> tone;
    if (signal == Signal::IQ) {
        const auto length = std::chrono::seconds(static_cast<int64_t>(o.settle + o.window) + 30);
        // A long player latency, so the figure for the sound server is mostly the program's streams.
        tone = std::make_unique<e2e::ToneSource>(bench.root(), kToneOffsetHz, 0.25, length, 500ms);
    }
    double ignored = 0;
    auto program = bench.startProgram(settings, &ignored);
    std::this_thread::sleep_for(std::chrono::duration<double>(o.settle));
    if (!shot.empty()) bench.capture(shot);
    const int streams = bench.streams();
    if (receiving != (streams >= 2))
        std::fprintf(stderr, "program_cost: warning: %d sound streams open while %s\n", streams,
                     receiving ? "receiving" : "Off");
    const pid_t pids[] = {program->pid(), bench.xPid(), bench.pulsePid()};
    double before[3];
    for (int i = 0; i < 3; ++i)
        before[i] = cpuSeconds(pids[i]);
    const auto switchesBefore = contextSwitches(pids[0]);
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(o.window));
    double after[3];
    for (int i = 0; i < 3; ++i)
        after[i] = cpuSeconds(pids[i]);
    const auto switchesAfter = contextSwitches(pids[0]);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const std::string load = loadOne();
    stop(*program);
    const auto share = [&](int i) { return 100.0 * (after[i] - before[i]) / wall; };
    return {share(0), share(1), share(2), switchesBetween(switchesBefore, switchesAfter) / wall, load};
}

void reportShares(const char* what, const std::vector<Shares>& runs, double goal, bool wakeups) {
    std::vector<double> p, x, pa, w;
    for (const auto& r : runs) {
        p.push_back(r.program);
        x.push_back(r.x);
        pa.push_back(r.pulse);
        w.push_back(r.wakeups);
    }
    const double m = median(p);
    std::printf("%s:\n", what);
    std::printf("  program      %6.2f %% of one core (goal at most %.2f %%: %s)\n", m, goal,
                m <= goal ? "met" : "MISSED");
    std::printf("  X server     %6.2f %%\n", median(x));
    std::printf("  sound server %6.2f %%\n", median(pa));
    if (wakeups)
        std::printf("  program wake-ups %.1f a second (goal at most 10: %s)\n", median(w),
                    median(w) <= 10 ? "met" : "MISSED");
    for (size_t i = 0; i < runs.size(); ++i) {
        const Shares& r = runs[i];
        std::printf("  run %zu: program %.2f %%, X server %.2f %%, sound server %.2f %%", i + 1, r.program,
                    r.x, r.pulse);
        if (wakeups) std::printf(", %.1f wake-ups/s", r.wakeups);
        std::printf(" (load %s)\n", r.load.c_str());
    }
    std::fflush(stdout);
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
        else if (a == "--shot")
            o.shot = value();
        else if (a == "--only")
            o.only = value();
        else {
            std::fprintf(stderr, "usage: bench_program_cost [--program PATH] [--data DIR] [--start-runs N] "
                                 "[--cpu-runs N] [--settle S] [--seconds S] [--shot PNG] "
                                 "[--only start|ext|full|off]\n");
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

    if (o.runs("start")) {
        std::vector<double> starts, cpus;
        std::vector<std::string> loads;
        for (int i = 0; i < o.startRuns; ++i) {
            double seconds = 0, cpu = 0;
            auto program = bench.startProgram(kReceiving, &seconds, &cpu);
            starts.push_back(seconds);
            cpus.push_back(cpu);
            loads.push_back(loadOne());
            stop(*program);
        }
        const double start = median(starts), cpu = median(cpus);
        std::printf("start-up to \"%s\", median of %d (load %s):\n", kCaption.c_str(), o.startRuns,
                    loadAverage().c_str());
        std::printf("  wall %.3f s (goal at most 0.15 s: %s), CPU %.3f s (goal at most 0.25 s: %s)\n", start,
                    start <= 0.15 ? "met" : "MISSED", cpu, cpu <= 0.25 ? "met" : "MISSED");
        for (size_t i = 0; i < starts.size(); ++i)
            std::printf("  run %zu: wall %.3f s, CPU %.3f s (load %s)\n", i + 1, starts[i], cpus[i],
                        loads[i].c_str());
        std::fflush(stdout);
    }

    std::vector<Shares> receiving, full, off;
    if (o.runs("ext")) {
        for (int i = 0; i < o.cpuRuns; ++i)
            receiving.push_back(measureShares(bench, o, kReceiving, true));
        reportShares("receiving, \"Ext\" layout", receiving, 5.0, false);
    }
    if (o.runs("full")) {
        for (int i = 0; i < o.cpuRuns; ++i)
            full.push_back(
                measureShares(bench, o, kReceivingFull, true, Signal::IQ, i == 0 ? o.shot : std::string()));
        reportShares("receiving, \"Full\" layout, spectrum on screen, I/Q signal in", full, 1.97, false);
    }
    if (o.runs("off")) {
        for (int i = 0; i < o.cpuRuns; ++i)
            off.push_back(measureShares(bench, o, kOff, false));
        reportShares("Off, idle", off, 0.1, true);
    }

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
