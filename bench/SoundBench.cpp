// The per-block cost of the sound engine and its device layer: one capture and one playback block,
// with a pass-through handler, on the simulated card (whose own cost is a copy per direction).
#include <benchmark/benchmark.h>

#include "dsp/NerixDX8.h"
#include "dsp/frmDX8Events.h"
#include "platform/sound/testing/SimulatedSoundSystem.h"

namespace {

struct PassThrough final : NerixDX8Listener {
    NerixDX8* engine = nullptr;
    void DataReady(std::span<int16_t> c1, std::span<int16_t>, int32_t n) override {
        engine->Output(c1, c1, n);
    }
    void DataOut(std::span<int16_t>, int32_t, int32_t) override {}
};

void BM_SoundBlockCycle(benchmark::State& state) {
    sound::testing::SimulatedSoundSystem sim;
    ReceiverState vectorState;
    nerixdll::NerixDll nerix;
    nspdll::NspDll nsp;
    Nerix::Wrappers vectors{vectorState, nerix, nsp};
    NerixDX8 engine(sim, vectors);
    engine.setFSampling(48000);
    engine.setNoChannelsIn(2);
    engine.setNoChannelsOut(1);
    engine.setSamplesPerEvent(2048);
    frmDX8Events form(engine);
    form.Load();
    PassThrough handler;
    handler.engine = &engine;
    engine.setListener(&handler);
    engine.StartSound();
    sim.advance(8 * 2048);
    for (auto _ : state) {
        sim.advance(2048);
        sim.played.clear();
    }
    state.counters["ring_resets"] = static_cast<double>(engine.RingResets());
}
BENCHMARK(BM_SoundBlockCycle);

} // namespace
