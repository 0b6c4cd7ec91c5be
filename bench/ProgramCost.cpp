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
const std::string kOff = "[frmMain]\r\nSDRModelNo=13\r\nAutoStartSDR=False\r\n";

struct Options {
    std::string program;
    std::string dataDir;
    int startRuns = 10;
    int cpuRuns = 3;
    double settle = 5;
    double window = 30;
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
    pid_t pulsePid() const { return pulse_->pid(); }
    const std::string& display() const { return x_->display(); }

    // Starts the program with the settings and waits for its final caption; nullopt if it never came.
    std::unique_ptr<ChildProcess> startProgram(const std::string& settings, double* seconds) {
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
    const Options& o_;
    fs::path root_;
    std::unique_ptr<e2e::XServer> x_;
    std::unique_ptr<e2e::SoundServer> pulse_;
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
