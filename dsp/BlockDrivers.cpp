// The per-block drivers between the sound engine and the DSP chains.
#include "dsp/BlockDrivers.h"

#include <algorithm>
#include <cmath>

#include "dsp/DisplayTap.h"
#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

namespace Nerix {

namespace {

constexpr int32_t kN = BlockDrivers::kBlock;
// Two seconds of blocks: the peak rings wrap once the index passes it.
constexpr double kBlocksPerTwoSeconds = 2.0 * 48000.0 / 2048.0;

} // namespace

BlockDrivers::BlockDrivers(ReceiverState& state, Wrappers& nerix, FilterBank& bank, ReceiveChain& chain,
                           Profiler& blockProfiler, BlockDriverPorts ports)
    : Ports(ports), state_(state), nerix_(nerix), bank_(bank), chain_(chain), profiler_(blockProfiler),
      delayScratch_(kN), powerScratch_(kBufferLength) {}

void BlockDrivers::DataReady(std::span<int16_t> Channel1, std::span<int16_t> Channel2,
                             int32_t /*NoSamples*/) {
    const bool flip = state_.FlipIQ;
    std::span<int16_t> a = flip ? Channel2 : Channel1;
    std::span<int16_t> b = flip ? Channel1 : Channel2;
    if (state_.IQMode)
        ProcessIqBlock(a, b);
    else
        ProcessAudioBlock(a, b);
}

void BlockDrivers::DataOut(std::span<int16_t> /*Buffer*/, int32_t /*Offset*/, int32_t /*NoSamples*/) {
    if (Ports.Display) runtime::resumeNext([&] { Ports.Display->RequestRedraw(); });
    if (Ports.Pacer) runtime::resumeNext([&] { Ports.Pacer->ArmHousekeeping(); });
}

void BlockDrivers::ProcessAudioBlock(std::span<int16_t> A, std::span<int16_t> B) {
    process(A, B, false);
}

void BlockDrivers::ProcessIqBlock(std::span<int16_t> A, std::span<int16_t> B) {
    process(A, B, true);
}

bool BlockDrivers::playing() const {
    return Ports.Recorder != nullptr && Ports.Recorder->PlayingBlocks();
}

int32_t BlockDrivers::tuned() const {
    return Ports.Tuning ? Ports.Tuning->TunedFrequency() : 0;
}

void BlockDrivers::pushPeak(std::array<int16_t, kRingLength>& ring, int32_t& index, const int16_t* block) {
    const int16_t peak = nerix_.Dll().MaxValue_16(block, kN);
    index = std::clamp(index, 0, kRingLength - 1);
    ring[static_cast<size_t>(index)] = peak;
    ++index;
    if (index > kBlocksPerTwoSeconds) index = 0;
}

void BlockDrivers::process(std::span<int16_t> A, std::span<int16_t> B, bool iq) {
    using runtime::resumeNext;
    bool& busy = iq ? iqBusy_ : audioBusy_;
    if (busy) {
        ++dropped_;
        return;
    }
    // Blocks shorter than the fixed length would be read and written past their ends.
    if (A.size() < static_cast<size_t>(kN) || B.size() < static_cast<size_t>(kN))
        runtime::raise(runtime::err::kSubscriptOutOfRange,
                       iq ? "frmMain.ProcessIqBlock" : "frmMain.ProcessAudioBlock");
    ScopedFlag hold(busy);
    // The audio driver tells the display its mode at each point, the I/Q driver where it feeds it.
    const Block block{A.data(), B.data(), iq, iq ? TapAnnounce::WhenFed : TapAnnounce::Always};

    resumeNext([&] { profiler_.StartTiming(); });
    input(block);
    if (playing())
        playbackPath(block.a);
    else if (iq)
        resumeNext([&] { chain_.DoDSPIQ(block.a, block.b, kN); });
    else
        resumeNext([&] { chain_.DoDSP(block.a, block.b, kN); });
    output(block);
    timing(iq);
}

// The player's samples in place of the capture, the phase bit's delay, the capture shown as it arrived and
// its peak.
void BlockDrivers::input(const Block& block) {
    using runtime::resumeNext;
    ReceiverState& st = state_;
    int16_t* a = block.a;
    int16_t* b = block.b;
    resumeNext([&] {
        if (playing()) Ports.Recorder->GetNextSamples(a, kN);
    });
    if (block.iq && st.PhaseBitCorrection) {
        resumeNext([&] {
            nerix_.CopyWords(b, delayScratch_.data(), kN);
            b[0] = prevQSample_;
            prevQSample_ = delayScratch_[kN - 1];
            nerix_.CopyWords(delayScratch_.data(), b + 1, kN - 1);
        });
    }
    // The I/Q driver shows the capture around the LO, the BFO offset taken off unless the receiver's own
    // VFO control tunes it.
    resumeNext([&] {
        tapDisplay(
            Ports.Display, st.ScopeSource, {ScopeSource::IFIn, block.iq, block.announce},
            [&](bool) {
                return TapView<int16_t>{a, b, block.iq ? st.IQSelectUpper : st.HiSideLoActive};
            },
            [&](bool) {
                const double bfo = block.iq && !st.VFOControl ? static_cast<double>(st.BfoOffset) : 0.0;
                return std::optional<double>(tuned() / 10.0 - bfo);
            });
    });
    resumeNext([&] {
        if (st.PerfStatsOn) pushPeak(InputPeakRing, InputPeakIndex, a);
    });
}

// The played block's peak, the mute, the recording, the engine's output and the audio shown; the I/Q
// driver shows the audio on both channels.
void BlockDrivers::output(const Block& block) {
    using runtime::resumeNext;
    ReceiverState& st = state_;
    BlockOutput* engine = Ports.Engine;
    BlockRecorder* rec = Ports.Recorder;
    int16_t* a = block.a;
    resumeNext([&] {
        if (st.PerfStatsOn) pushPeak(OutputPeakRing, OutputPeakIndex, a);
    });
    resumeNext([&] {
        if (engine == nullptr) return;
        if (st.MuteAf) engine->SetOutputAttenuation(-40000);
        if (st.DRM.MuteAFOnDRM && st.DemodMode == DemodMode::DRM) engine->SetOutputAttenuation(-40000);
    });
    resumeNext([&] {
        if (rec != nullptr && rec->Recording()) rec->AddSamples(a, kN);
    });
    resumeNext([&] {
        if (engine) engine->Output(a, a, kN);
    });
    resumeNext([&] {
        tapDisplay(
            Ports.Display, st.ScopeSource, {ScopeSource::AFOut, false, block.announce},
            [&](bool) {
                return TapView<int16_t>{a, block.iq ? a : block.b, true};
            },
            [](bool) { return std::optional<double>(); });
    });
}

// The block's load; a block that used most of its time lets the user's events through before the next.
void BlockDrivers::timing(bool iq) {
    using runtime::resumeNext;
    float& load = iq ? iqLoad_ : audioLoad_;
    resumeNext([&] {
        profiler_.StopTiming();
        load = static_cast<float>(profiler_.Duration() / 1000000.0 / kBlockSeconds);
    });
    if (load > 0.9f) resumeNext([] { runtime::DoEvents(); });
    resumeNext([&] {
        if (!state_.PerfStatsOn) return;
        BlockTimeIndex = std::clamp(BlockTimeIndex, 0, kRingLength - 1);
        BlockTimeRing[static_cast<size_t>(BlockTimeIndex)] = runtime::CLng(profiler_.Duration());
        BlockTimeIndex = (BlockTimeIndex + 1) % runtime::CLng(kBlocksPerTwoSeconds);
    });
}

void BlockDrivers::playbackPath(int16_t* A) {
    using runtime::resumeNext;
    nerixdll::NerixDll& dll = nerix_.Dll();
    std::vector<float>& w = chain_.WorkBuffer;
    resumeNext([&] { dll.Int16ToFloat_S_2(A, w.data(), kN); });
    resumeNext([&] { bank_.DemodAfFilter.Filter_FFT_S_1(w); });
    resumeNext([&] {
        if (bank_.NotchFilter.Active && state_.NotchType == NotchType::AF)
            bank_.NotchFilter.Filter_FFT_S_1(w);
    });
    resumeNext([&] {
        dll.PowerSpectrum_S_2(w.data(), w.data(), powerScratch_.data(), kN);
        dll.ShiftVectorRight_S_1(state_.LevelRing.data(), 6);
        // The power spectrum holds twice each square; the ring keeps the block's RMS like every other
        // block, so the S-meter reads the same during playback.
        state_.LevelRing[0] = static_cast<float>(std::sqrt(dll.Sum_S_1(powerScratch_.data(), kN) / 2.0 / kN));
    });
    resumeNext([&] { chain_.ProcessAudioLevel(w, w); });
    resumeNext([&] { dll.FloatToInt16_S_2(w.data(), A, kN); });
}

// ---- the real objects behind the ports ----

void SoundCardOutput::SetOutputAttenuation(int32_t hundredthsDb) {
    engine_.setOutputAttenuation(hundredthsDb);
}
void SoundCardOutput::Output(const int16_t* left, const int16_t* right, int32_t n) {
    const auto size = static_cast<size_t>(std::max(n, 0));
    engine_.Output(std::span<const int16_t>(left, size), std::span<const int16_t>(right, size), n);
}

} // namespace Nerix
