// The receive path: the one composition of the 4096-point real FFT, the receive chain and the block
// drivers, their ports wired once, and the adapters that connect them to the program's sound engine,
// recorder and VFO. The main window owns one; the offline receiver, the benchmarks and the chain and
// driver tests build on the same.
#pragma once

#include <memory>

#include "dsp/ReceiveChain.h"
#include "dsp/clsFFTReal.h"
#include "mainwindow/BlockDrivers.h"
#include "mainwindow/VfoTuningPort.h"

namespace mainwindow {

// Where the path's calls go; any may be absent (see BlockDriverPorts).
struct ReceivePathPorts {
    Nerix::SpectrumSink* Display = nullptr;
    BlockRecorder* Recorder = nullptr;
    BlockOutput* Engine = nullptr;
    BlockPacer* Pacer = nullptr;
    TuningPort* Tuning = nullptr;
};

// The program's neighbours of the path.
struct ReceivePathNeighbours {
    NerixDX8& Engine;
    recorder::clsWavFile& Recorder;
    VfoTuningPort::VfoAccessor Vfo; // asked for the VFO in use at each call
    Nerix::SpectrumSink* Display = nullptr;
    BlockPacer* Pacer = nullptr;
};

class ReceivePath {
public:
    // The program's path: the engine, the recorder and the VFO behind adapters the path owns. The
    // drivers are the engine's listener while the path lives; the engine and the recorder outlive it.
    ReceivePath(ReceiverState& state, Nerix::Wrappers& nerix, Nerix::FilterBank& bank, Nerix::NCO& nco,
                Profiler& blockProfiler, const ReceivePathNeighbours& neighbours);
    // A path over ports of one's own (the offline receiver, tests).
    ReceivePath(ReceiverState& state, Nerix::Wrappers& nerix, Nerix::FilterBank& bank, Nerix::NCO& nco,
                Profiler& blockProfiler, const ReceivePathPorts& ports);
    ~ReceivePath();
    ReceivePath(const ReceivePath&) = delete;
    ReceivePath& operator=(const ReceivePath&) = delete;

    Nerix::ReceiveChain& Chain() noexcept { return chain_; }
    BlockDrivers& Drivers() noexcept { return drivers_; }
    clsFFTReal& FftReal4096() noexcept { return fft_; }
    // What the path is connected to; the recorder's frequency log reads the same tuning port.
    const ReceivePathPorts& Ports() const noexcept { return ports_; }

private:
    struct Adapters;
    ReceivePath(ReceiverState& state, Nerix::Wrappers& nerix, Nerix::FilterBank& bank, Nerix::NCO& nco,
                Profiler& blockProfiler, std::unique_ptr<Adapters> adapters, const ReceivePathPorts& ports);

    std::unique_ptr<Adapters> adapters_; // the program's, absent on ports of one's own
    ReceivePathPorts ports_;
    clsFFTReal fft_;
    Nerix::ReceiveChain chain_;
    BlockDrivers drivers_;
};

} // namespace mainwindow
