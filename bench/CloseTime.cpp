// How long the program takes to end as a user or a session closes it: from the click on "&Close" (the
// power Off) and from SIGTERM (while receiving) to the end of the process, on an X server and a sound
// server of the bench's own.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "e2e/harness/ProgramRun.h"
#include "mainwindow/MainWindowDesign.h"
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
namespace design = mainwindow::design;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr double kGoalSeconds = 0.3;
// A close that takes longer than this is stuck, not slow.
constexpr auto kCeiling = 60s;

struct Options {
    int runs = 10;
    double settle = 1.5;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The machine's load: the figures are judged beside it, since other work on the cores delays every step.
std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

// The cache folder the program keeps its measured FFT plans in: shared by the runs, as one user's runs
// share it, so only the warm-up run measures them.
fs::path wisdomFile(const e2e::Sandbox& sandbox) {
    return sandbox.root() / "cache/NerixSDR/fftwf-wisdom";
}

// One close: the program started on the settings its last run saved, settled, then closed by the gesture;
// the seconds from the gesture to the end of the process.
double timeClose(e2e::Servers& servers, const e2e::Sandbox& sandbox, const Options& o,
                 const std::function<void(e2e::Program&, const e2e::WindowOnScreen&)>& close) {
    e2e::Program program(sandbox, {});
    const auto window = servers.screen().waitFor(e2e::kSoftRockCaption, e2e::kBound);
    if (!window) throw e2e::HarnessError("the main window never showed \"" + e2e::kSoftRockCaption + "\"");
    std::this_thread::sleep_for(std::chrono::duration<double>(o.settle));
    if (!program.running()) throw e2e::HarnessError("the program ended before its close");
    const auto start = Clock::now();
    close(program, *window);
    const auto status = program.waitForEnd(std::chrono::duration_cast<std::chrono::milliseconds>(kCeiling));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!status) throw e2e::HarnessError("the program did not end within 60 s of its close");
    if (!WIFEXITED(*status) || WEXITSTATUS(*status) != 0)
        throw e2e::HarnessError("the program ended with wait status " + std::to_string(*status) +
                                "; stderr:\n" + e2e::readFile(sandbox.root() / "stderr"));
    return seconds;
}

void report(const char* what, const std::vector<double>& runs, const std::string& loadBefore) {
    const double m = median(runs);
    std::printf("%-34s %6.3f s median of %zu (goal under %.1f s: %s); load %s -> %s\n", what, m, runs.size(),
                kGoalSeconds, m < kGoalSeconds ? "met" : "MISSED", loadBefore.c_str(), loadAverage().c_str());
    std::printf("  runs:");
    for (const double v : runs)
        std::printf(" %.3f", v);
    std::printf("\n");
    std::fflush(stdout);
}

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc) {
            o.runs = std::clamp(std::atoi(argv[++i]), 1, 1000);
        } else if (a == "--settle" && i + 1 < argc) {
            o.settle = std::clamp(std::atof(argv[++i]), 0.0, 60.0);
        } else {
            std::fprintf(stderr, "usage: bench_close_time [--runs N] [--settle S]\n");
            std::exit(2);
        }
    }
    return o;
}

int runBench(const Options& o) {
    std::string why;
    e2e::Servers* servers = e2e::Servers::get(&why);
    if (!servers) throw e2e::HarnessError("no servers: " + why);
    const e2e::Sandbox sandbox;
    std::printf("NerixSDR %s on X display %s; load average %s on %ld cores\n", e2e::Program::path().c_str(),
                servers->x().display().c_str(), loadAverage().c_str(), ::sysconf(_SC_NPROCESSORS_ONLN));

    const std::string off = e2e::softRockSettings(false);
    const std::string receiving = e2e::softRockSettings(true, "[SpectrumAnalyser]\r\nActive=True\r\n");
    const auto clickClose = [&](e2e::Program&, const e2e::WindowOnScreen& w) {
        const ui::PixelRect r = design::powerButton(design::kPowerClose).pixels();
        servers->screen().click(w, r.centreX(), r.centreY());
    };
    const auto terminate = [](e2e::Program& p, const e2e::WindowOnScreen&) { ::kill(p.pid(), SIGTERM); };

    // The first run measures the FFT plans in the background and saves every setting; the user's later
    // runs find both saved.
    sandbox.writeSettings(receiving);
    const double first = timeClose(*servers, sandbox, o, terminate);
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (!fs::exists(wisdomFile(sandbox)) && Clock::now() < deadline) {
        const double again = timeClose(*servers, sandbox, Options{o.runs, 10.0}, terminate);
        std::printf("(warm-up close %.3f s, no FFT plans saved yet)\n", again);
    }
    std::printf("first run's close, FFT plans being measured: %.3f s\n", first);

    for (const auto& [what, settings, close] :
         {std::tuple{"\"&Close\" (Off) to the end", off, std::function(clickClose)},
          std::tuple{"SIGTERM (receiving) to the end", receiving, std::function(terminate)}}) {
        // A run on the settings given, which saves all the others, before the runs that count.
        sandbox.writeSettings(settings);
        timeClose(*servers, sandbox, o, close);
        const std::string loadBefore = loadAverage();
        std::vector<double> runs;
        for (int i = 0; i < o.runs; ++i)
            runs.push_back(timeClose(*servers, sandbox, o, close));
        report(what, runs, loadBefore);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return runBench(parse(argc, argv));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "close_time: %s\n", e.what());
        return 2;
    }
}
