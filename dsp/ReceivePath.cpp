// The receive path's composition and wiring.
#include "dsp/ReceivePath.h"

namespace Nerix {

ReceivePath::ReceivePath(ReceiverState& state, Wrappers& nerix, FilterBank& bank, NCO& nco,
                         Profiler& blockProfiler, const ReceivePathPorts& ports)
    : ReceivePath(state, nerix, bank, nco, blockProfiler, ports, nullptr) {}

ReceivePath::ReceivePath(ReceiverState& state, Wrappers& nerix, FilterBank& bank, NCO& nco,
                         Profiler& blockProfiler, const ReceivePathPorts& ports, NerixDX8& engine)
    : ReceivePath(state, nerix, bank, nco, blockProfiler, ports, std::make_unique<SoundCardOutput>(engine)) {
    engine_ = &engine;
    engine.setListener(&drivers_);
}

// Every port of the chain and the drivers is set here, from one set of connections.
ReceivePath::ReceivePath(ReceiverState& state, Wrappers& nerix, FilterBank& bank, NCO& nco,
                         Profiler& blockProfiler, const ReceivePathPorts& ports,
                         std::unique_ptr<SoundCardOutput> output)
    : output_(std::move(output)), ports_{ports.Display, ports.Recorder,
                                         output_ ? output_.get() : ports.Engine, ports.Pacer, ports.Tuning},
      fft_(nerix),
      chain_(state, nerix, bank, fft_, nco, {ports_.Display, ports_.Recorder, ports_.Tuning, ports_.Engine}),
      drivers_(state, nerix, bank, chain_, blockProfiler,
               {ports_.Display, ports_.Recorder, ports_.Engine, ports_.Pacer, ports_.Tuning}) {
    fft_.FFTInit(4096);
}

ReceivePath::~ReceivePath() {
    if (engine_) engine_->setListener(nullptr);
}

} // namespace Nerix
