// The CY27EE16 table: stores the build-time values and maps oscillator frequencies to entries.
#include "clockgen/PllLut.h"

#include "clockgen/PllLutData.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace clockgen {

namespace {

// Division rounded down, so that the remainder stays 0 to divisor - 1 for negative input too.
int64_t floorDiv(int64_t n, int64_t d) {
    return n / d - (n % d < 0 ? 1 : 0);
}

} // namespace

void PllLut::BuildLUT() noexcept {
    header_ = kPllLutHeader;
    table_ = detail::kPllLutData;
}

PllLutPosition PllLut::PllLutIndex(int32_t f) const {
    // f / 40 to the nearest hertz, a tie to the even one; in integers, so no tie is lost to rounding.
    int64_t h = floorDiv(f, 40);
    const int64_t rest = int64_t{f} - 40 * h;
    if (rest > 20 || (rest == 20 && h % 2 != 0)) ++h;

    const int64_t base = runtime::CLng((header_.MinOut - header_.Offset) / 4.0 / 1000.0);
    const int64_t shift = runtime::CLng(header_.Offset / 4000.0);
    const int64_t kilohertz = floorDiv(h, 1000);
    const int64_t index = kilohertz - base - shift;
    // Below the first step the distance is mirrored, so a low local oscillator still finds an entry.
    return {runtime::checkedNarrow<int32_t>(index < 0 ? -index : index),
            runtime::checkedNarrow<int32_t>(h - 1000 * kilohertz)};
}

PllLutEntry PllLut::entry(int32_t index) const {
    if (index < 0 || index >= kPllLutSize) runtime::raise(runtime::err::kSubscriptOutOfRange, "PllLut.entry");
    return table_[static_cast<size_t>(index)];
}

} // namespace clockgen
