// The receive chain's long-lived filters, made once at start-up with fixed settings and retuned later.
#pragma once

#include <cstdint>
#include <memory>

#include "dsp/clHilbert.h"
#include "dsp/clsFFTFilter.h"

namespace Nerix {

inline constexpr int32_t kBlockPoints = 2048;
inline constexpr int32_t kSegmentSize = 4096;
inline constexpr int32_t kSampleRate = 48000;

class FilterBank {
public:
    explicit FilterBank(Wrappers& nerix);
    FilterBank(const FilterBank&) = delete;
    FilterBank& operator=(const FilterBank&) = delete;

    clsFFTFilter DemodAfFilter, NrPostFilter, AfFilter, IfFilter, IfFilter2;
    clHilbert FmHilbertDelay, FmHilbertShift;
    clsFFTFilter IqCorrectionFilterI, HilbertFilter1, CarrierFilter, IQAMFilterI, IQAMFilterQ, WideFilterI,
        WideFilterQ, SsbFilterI, SsbFilterQ, NotchFilter, NotchFilter2;
};

// Creates every filter of the bank and designs those that start designed, around the base IF (Hz).
// SsbFilterI/Q and NotchFilter/2 stay undesigned (all-zero kernels) until the front panel designs them.
// Errors are the filters' run-time errors.
std::unique_ptr<FilterBank> CreateFilterBank(Wrappers& nerix, int32_t baseIf);

} // namespace Nerix
