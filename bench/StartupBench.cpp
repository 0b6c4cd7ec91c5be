// The main window's start-up: the objects the supervisor hands it (DSP libraries, filter bank, the
// shipped band plans, model table, rig list), then the sixty-step load to ":End", offscreen. The
// program's goal for the whole start-up is half a second.
#include <benchmark/benchmark.h>

#include <memory>

#include "mainwindow/tests/MainWindowRig.h"

namespace {

void BM_StartUpToEnd(benchmark::State& st) {
    for (auto _ : st) {
        auto rig = std::make_unique<mainwindowtest::MainWindowRig>();
        rig->make().Show();
        st.PauseTiming();
        const auto trace = mainwindowtest::loadTrace(rig->log);
        if (trace.empty() || trace.back() != ":End") st.SkipWithError("the load did not reach :End");
        rig.reset();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToEnd)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
