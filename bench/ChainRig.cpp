// The receive chain the offline receiver and the chain benchmarks drive.
#include "bench/ChainRig.h"

#include <algorithm>
#include <utility>

#include "frontpanel/KnobApply.h"

namespace offline {

ChainRig::ChainRig(std::string nerixLibrary, std::string nspLibrary)
    : nerix(std::move(nerixLibrary)), nsp(std::move(nspLibrary)) {
    bank = Nerix::CreateFilterBank(wrappers, state.BaseIF);
    fft.FFTInit(4096);
    nco.InitNCO(30, 16, 2048);
    chain = std::make_unique<Nerix::ReceiveChain>(state, wrappers, *bank, fft, nco);
}

void ChainRig::SetUp(int32_t mode, float bfo) {
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
