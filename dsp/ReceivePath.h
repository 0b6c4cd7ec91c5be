// The receive path: the one composition of the 4096-point real FFT, the receive chain and the block
// drivers, their ports wired once. The main window's receiver owns one over the sound engine; the offline
// receiver, the benchmarks and the chain and driver tests build the same over ports of their own.
#pragma once

#include <memory>

#include "dsp/BlockDrivers.h"
#include "dsp/ReceiveChain.h"
#include "dsp/clsFFTReal.h"

namespace Nerix {

// Where the path's calls go; any may be absent (see BlockDriverPorts).
struct ReceivePathPorts {
    SpectrumSink* Display = nullptr;
    BlockRecorder* Recorder = nullptr;
    BlockOutput* Engine = nullptr;
    BlockPacer* Pacer = nullptr;
    TuningPort* Tuning = nullptr;
};

class ReceivePath {
public:
    // A path over the given ports.
    ReceivePath(ReceiverState& state, Wrappers& nerix, FilterBank& bank, NCO& nco, Profiler& blockProfiler,
                const ReceivePathPorts& ports);
    // The program's path: the drivers are the engine's listener while the path lives and play to it
    // (ports.Engine is not used); the engine outlives the path.
    ReceivePath(ReceiverState& state, Wrappers& nerix, FilterBank& bank, NCO& nco, Profiler& blockProfiler,
                const ReceivePathPorts& ports, NerixDX8& engine);
    ~ReceivePath();
    ReceivePath(const ReceivePath&) = delete;
    ReceivePath& operator=(const ReceivePath&) = delete;

    ReceiveChain& Chain() noexcept { return chain_; }
    BlockDrivers& Drivers() noexcept { return drivers_; }
    clsFFTReal& FftReal4096() noexcept { return fft_; }
    const ReceivePathPorts& Ports() const noexcept { return ports_; }

private:
    ReceivePath(ReceiverState& state, Wrappers& nerix, FilterBank& bank, NCO& nco, Profiler& blockProfiler,
                const ReceivePathPorts& ports, std::unique_ptr<SoundCardOutput> output);

    NerixDX8* engine_ = nullptr;
    std::unique_ptr<SoundCardOutput> output_; // the engine's playback side, on the program's path
    ReceivePathPorts ports_;
    clsFFTReal fft_;
    ReceiveChain chain_;
    BlockDrivers drivers_;
};

} // namespace Nerix
