// The receiver the offline receiver and the chain benchmarks drive.
#include "bench/ReceiverRig.h"

#include <algorithm>
#include <utility>

#include "frontpanel/KnobApply.h"

namespace offline {

ReceiverRig::ReceiverRig(std::string nerixLibrary, std::string nspLibrary,
                         const Nerix::ReceivePathPorts& ports)
    : nerix(std::move(nerixLibrary)), nsp(std::move(nspLibrary)) {
    bank = Nerix::CreateFilterBank(wrappers, state.BaseIF);
    nco.InitNCO(30, 16, 2048);
    path = std::make_unique<Nerix::ReceivePath>(state, wrappers, *bank, nco, profiler, ports);
}

void ReceiverRig::SetUp(int32_t mode, float bfo) {
    MouseOverS::SetAGCAttack(state, wrappers, 50);
    MouseOverS::SetAGCDecay(state, 20);
    MouseOverS::SetNB(state, 5000.0f, 10000.0f, 0.0f);
    std::fill(state.AgcPeakHistory.begin(), state.AgcPeakHistory.begin() + state.AgcHistoryLength, 16383.0f);
    MouseOverS::SetBFO(state, bfo);
    frontpanel::FilterSetup setup(state, *bank, tables);
    setup.SelectMode(mode);
    setup.MakeFilters();
}

} // namespace offline
