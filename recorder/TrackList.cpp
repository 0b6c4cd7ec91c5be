// The track list's texts, through the shared number formatter and padding.
#include "recorder/TrackList.h"

#include <cmath>
#include <cstdlib>

#include "frame/NumberFormat.h"
#include "frame/PublicFuncs.h"
#include "platform/runtime/RuntimeError.h"

namespace recorder {

std::string FormatHms(float seconds) {
    const double s = seconds;
    const double h = std::floor(s / 3600);
    const double m = std::floor((s - 3600 * h) / 60);
    const double sec = std::floor(s - 3600 * h - 60 * m);
    return NumberFormat::Format(h, "00") + ":" + NumberFormat::Format(m, "00") + ":" +
           NumberFormat::Format(sec, "00");
}

float TrackDuration(const LogRecord& entry, int32_t rate, int32_t bytesPerSample) {
    if (rate == 0 || bytesPerSample == 0) runtime::raise(runtime::err::kDivisionByZero, "TrackDuration");
    const double bytes = double(float(entry.End)) - double(float(entry.Start));
    return float(std::floor(bytes / rate / bytesPerSample + 0.5));
}

std::string TrackRow(const LogRecord& entry, float duration) {
    const int32_t kilohertz = entry.TunedFrequency / 10000;
    return PublicFuncs::PadLeftNumber(std::abs(double(kilohertz)), 6, " ") + " " + formatLogDate(entry.Date) +
           " " + FormatHms(duration);
}

} // namespace recorder
