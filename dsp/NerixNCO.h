// The numerically controlled oscillator: the outside library's when it sets up, the program's own
// table oscillator on the same phase rule otherwise.
#pragma once

#include <cstdint>
#include <vector>

#include "dsp/Nerix.h"

namespace Nerix {

inline constexpr int32_t kNcoBlock = 2048;

class NCO {
public:
    explicit NCO(Wrappers& nerix) : nerix_(nerix) {}

    // Sets NcoAvailable when the library's oscillator sets up; never reports a failure.
    void InitNCO(int32_t phaseBits, int32_t tableBits, int32_t blockLength);
    // 2048 sine and cosine samples, the phase running on across calls. sinOut and cosOut hold at
    // least 2048 floats.
    void MakeNCO(int32_t increment, float* sinOut, float* cosOut, float amplitude);

private:
    void buildTables();

    static constexpr uint32_t kPhaseMask = (1u << 30) - 1u;
    static constexpr int32_t kTableSize = 65536;

    Wrappers& nerix_;
    uint32_t Phase = 0;
    std::vector<float> SinTable, CosTable;
    bool TableBuilt = false;
};

} // namespace Nerix
