// The numerically controlled oscillator.
#include "dsp/NerixNCO.h"

#include <cmath>

namespace Nerix {

void NCO::InitNCO(int32_t phaseBits, int32_t tableBits, int32_t blockLength) {
    ReceiverState& state = nerix_.State();
    state.NcoAvailable = false;
    const bool ok = runtime::resumeNext([&] {
        if (nerix_.Dll().InitDDS(phaseBits, tableBits, blockLength) != 0)
            runtime::raise(runtime::err::kInvalidCall, "Nerix.InitNCO");
    });
    state.NcoAvailable = ok;
    // Without the library's oscillator the own one serves every block: its tables are made here, not
    // in the first block.
    if (!ok) buildTables();
}

void NCO::buildTables() {
    if (TableBuilt) return;
    // The step is added up rather than multiplied, so the tables match the reference samples.
    SinTable.assign(kTableSize + 1, 0.0f);
    CosTable.assign(kTableSize + 1, 0.0f);
    double x = 0.0;
    const double step = 6.28318530717958 / kTableSize;
    for (int32_t i = 0; i < kTableSize; ++i) {
        SinTable[i] = static_cast<float>(std::sin(x));
        CosTable[i] = static_cast<float>(std::cos(x));
        x += step;
    }
    TableBuilt = true;
}

void NCO::MakeNCO(int32_t increment, float* sinOut, float* cosOut, float amplitude) {
    ReceiverState& state = nerix_.State();
    if (state.NcoAvailable) {
        nerix_.Dll().MakeFreq(increment, sinOut, cosOut);
        return;
    }
    buildTables();
    // This path follows NcoIncrement itself; the callers pass the same value as increment.
    const uint32_t step = static_cast<uint32_t>(state.NcoIncrement);
    uint32_t phase = Phase;
    for (int32_t i = 0; i < kNcoBlock; ++i) {
        phase = (phase + step) & kPhaseMask;
        const uint32_t index = phase / 16384u;
        sinOut[i] = SinTable[index];
        cosOut[i] = CosTable[index];
    }
    Phase = phase;
    if (amplitude != 1.0f) {
        nerix_.ScaleSingles(amplitude, sinOut, kNcoBlock);
        nerix_.ScaleSingles(amplitude, cosOut, kNcoBlock);
    }
}

} // namespace Nerix
