// The receive path's composition and wiring.
#include "mainwindow/ReceivePath.h"

namespace mainwindow {

struct ReceivePath::Adapters {
    explicit Adapters(const ReceivePathNeighbours& n)
        : engine(n.Engine), output(n.Engine), recorder(n.Recorder), tuning(n.Vfo) {}
    NerixDX8& engine;
    SoundCardOutput output;
    WavFileRecorder recorder;
    VfoTuningPort tuning;
};

ReceivePath::ReceivePath(ReceiverState& state, Nerix::Wrappers& nerix, Nerix::FilterBank& bank,
                         Nerix::NCO& nco, Profiler& blockProfiler, const ReceivePathNeighbours& neighbours)
    : ReceivePath(state, nerix, bank, nco, blockProfiler, std::make_unique<Adapters>(neighbours),
                  {neighbours.Display, nullptr, nullptr, neighbours.Pacer, nullptr}) {
    adapters_->engine.setListener(&drivers_);
}

ReceivePath::ReceivePath(ReceiverState& state, Nerix::Wrappers& nerix, Nerix::FilterBank& bank,
                         Nerix::NCO& nco, Profiler& blockProfiler, const ReceivePathPorts& ports)
    : ReceivePath(state, nerix, bank, nco, blockProfiler, nullptr, ports) {}

// Every port of the chain and the drivers is set here, from one set of connections: the adapters, when
// there are any, stand for the recorder, the engine and the tuning.
ReceivePath::ReceivePath(ReceiverState& state, Nerix::Wrappers& nerix, Nerix::FilterBank& bank,
                         Nerix::NCO& nco, Profiler& blockProfiler, std::unique_ptr<Adapters> adapters,
                         const ReceivePathPorts& ports)
    : adapters_(std::move(adapters)),
      ports_(adapters_ ? ReceivePathPorts{ports.Display, &adapters_->recorder, &adapters_->output,
                                          ports.Pacer, &adapters_->tuning}
                       : ports),
      fft_(nerix),
      chain_(state, nerix, bank, fft_, nco, {ports_.Display, ports_.Recorder, ports_.Tuning, ports_.Engine}),
      drivers_(state, nerix, bank, chain_, blockProfiler,
               {ports_.Display, ports_.Recorder, ports_.Engine, ports_.Pacer, ports_.Tuning}) {
    fft_.FFTInit(4096);
}

ReceivePath::~ReceivePath() {
    if (adapters_) adapters_->engine.setListener(nullptr);
}

} // namespace mainwindow
