// Where the recorder panel's widgets place the transport buttons, the file name box and the track list
// (twips, each in its container). The widgets are built from these, and so is whatever clicks them from
// outside.
#pragma once

#include <array>
#include <cstdint>

#include "platform/ui/DesignRect.h"

namespace recorder::design {

using ui::DesignRect;

// cmdWavCtls(i) in picRecorder, by the transport indices (0 Record, 1 Play, 3 Stop, 7 Load, 8 Save). The
// load centres them in the panel's height, which their design top already does in the 630 twips panel.
inline constexpr double kButtonSize = 300, kButtonTop = 165;
inline constexpr std::array<double, 10> kButtonLeft{60, 370, 680, 990, 1300, 1610, 1920, 2400, 2760, 3120};
constexpr DesignRect cmdWavCtls(int i) {
    return {kButtonLeft[static_cast<size_t>(i)], kButtonTop, kButtonSize, kButtonSize};
}
inline constexpr DesignRect txtRecordFileName{3540, kButtonTop, 1800, kButtonSize};

// The track list's panel takes the preset frame's place in the frame's container; in it the heading,
// then the list from 0.7 of the heading's height (the list stands in front of the heading's foot).
inline constexpr double kTrackHeaderHeight = 285;
inline constexpr double kTrackListTopShare = 0.7;
// lstRecordingLogs in a track panel of the size given.
constexpr DesignRect lstRecordingLogs(double panelWidth, double panelHeight) {
    const double top = kTrackListTopShare * kTrackHeaderHeight;
    return {0, top, panelWidth, panelHeight - top};
}

} // namespace recorder::design
