// The first block against its neighbours: the start-up's objects made as the program makes them (the
// libraries, the filter bank, the oscillator, the receive path, the mode's filters), then blocks of the
// I/Q chain one after another, each timed: the first, and the median of the next hundred. Each
// measurement runs in a child process of its own, so the libraries' plan caches start empty as they do
// at start-up; this process never loads them.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "bench/BenchCounters.h"

namespace {

struct Figures {
    double first = 0, median = 0; // seconds
};

Figures measure(int32_t mode, const char* library) {
    bench::IqRig rig(mode, library);
    std::vector<double> times;
    for (int n = 0; n < 101; ++n) {
        const auto start = std::chrono::steady_clock::now();
        rig.block();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::vector<double> next(times.begin() + 1, times.end());
    std::nth_element(next.begin(), next.begin() + 50, next.end());
    return {times[0], next[50]};
}

bool measureInChild(int32_t mode, const char* library, Figures& figures) {
    int fds[2];
    if (pipe(fds) != 0) return false;
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
        close(fds[0]);
        const Figures f = measure(mode, library);
        const bool sent = write(fds[1], &f, sizeof f) == ssize_t(sizeof f);
        _exit(sent ? 0 : 1);
    }
    close(fds[1]);
    const bool got = read(fds[0], &figures, sizeof figures) == ssize_t(sizeof figures);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return got && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Mode 1 (USB) runs the oscillator: with the library's (0), or the program's own tables (1).
void BM_FirstBlock(benchmark::State& s) {
    const auto mode = static_cast<int32_t>(s.range(0));
    const char* library = s.range(1) ? "libnerix_without_oscillator.so" : "libnerix.so";
    Figures f;
    for (auto _ : s)
        if (!measureInChild(mode, library, f)) s.SkipWithError("the measuring process failed");
    s.counters["firstBlock_us"] = f.first * 1e6;
    s.counters["medianNext100_us"] = f.median * 1e6;
    s.counters["firstOverMedian"] = f.median > 0 ? f.first / f.median : 0.0;
}

BENCHMARK(BM_FirstBlock)
    ->ArgsProduct({{1, 6}, {0, 1}})
    ->ArgNames({"mode", "ownOscillator"})
    ->Iterations(1)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

} // namespace
