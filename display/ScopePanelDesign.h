// Where the display panel places its pictures and controls (twips, each in its container), and the room
// it leaves the main window for the band plan's frame. The panel is built from these, and so is whatever
// places or clicks the frame.
#pragma once

#include "platform/ui/DesignRect.h"

namespace display::design {

using ui::DesignRect;

// The pictures and the display's controls keep the container's design height; below them the container
// leaves the window a room as wide as itself for the band plan's frame (the window's upper bands hold no
// room for it, and beside the spectrum there is none), and is that much taller.
inline constexpr double kPictureBandHeight = 2895;
inline constexpr double kFreeLeft = 30, kFreeTop = kPictureBandHeight + 15;
inline constexpr double kFreeWidth = 12285, kFreeHeight = 1200;
inline constexpr double kContainerWidth = 12345, kContainerHeight = kFreeTop + kFreeHeight + 15;

inline constexpr double kFontSize = 7;
inline constexpr double kRow = 225;         // one row of check boxes or option buttons
inline constexpr double kBoxHeight = 225;   // a check box or option button
inline constexpr double kLabelHeight = 210; // a caption or knob label

// ---- In the container: the controls' picture at the right, the image area beside it, and on that the
// pictures' holder.
inline constexpr DesignRect picScopeCtls{7785, 15, 4530, 2865};
inline constexpr DesignRect imgAreaScope{0, 0, picScopeCtls.Left - 30, kPictureBandHeight};
inline constexpr DesignRect picScopeArea{0, 0, picScopeCtls.Left - 30, kPictureBandHeight};
// picScope(0..1) in the holder; the analyser's set-up places them again, from the holder's height, the
// same way.
inline constexpr DesignRect picScope{30, 180, 7680, kPictureBandHeight - 180 - 50};

// ---- In picScopeCtls, three columns: mode, sweep and Y mode; the two channels; the source point, the
// frame rate and the statistics switch.
inline constexpr double kColumnA = 30, kColumnB = 1575, kColumnC = 3120, kColumnWidth = 1500;

inline constexpr DesignRect frScopeMode{kColumnA, 0, kColumnWidth, 975};
// chkScopeMode(i) in frScopeMode: "Freq", "Time", "Phase".
constexpr DesignRect chkScopeMode(int i) {
    return {90, 210 + i * kRow, 900, kBoxHeight};
}
inline constexpr DesignRect chkSpectrumAnalyser{1110, 210, 300, kBoxHeight};

// In frScopeSweep: the width and centre knobs with their captions lblScopeCtl(6) and (7).
inline constexpr DesignRect frScopeSweep{kColumnA, 1005, kColumnWidth, 690};
inline constexpr DesignRect lblScopeXWidth{90, 225, 720, kLabelHeight};
inline constexpr DesignRect lblScopeXWidthCaption{840, 225, 600, kLabelHeight};
inline constexpr DesignRect lblScopeXCentre{90, 450, 720, kLabelHeight};
inline constexpr DesignRect lblScopeXCentreCaption{840, 450, 600, kLabelHeight};

inline constexpr DesignRect frScopeYMode{kColumnA, 1725, kColumnWidth, 1125};
inline constexpr DesignRect chkLog{90, 210, 700, kBoxHeight};
inline constexpr DesignRect chkSmoothSpectrum{90, 210 + kRow, 700, kBoxHeight};
inline constexpr DesignRect lblSpectrumSmooth{840, 225 + kRow, 600, kLabelHeight};
inline constexpr DesignRect chkScopeShowFilters{90, 210 + 2 * kRow, 1380, kBoxHeight};
inline constexpr DesignRect chkSpectrumAutoGain{90, 210 + 3 * kRow, 1380, kBoxHeight};

// A channel's frame, frScopeChn1Ctl above frScopeChn2Ctl, with its switch at the top right and four
// rows, each a caption beside its control: gain, shift, trigger, brightness.
enum class ChannelRow : int { Gain, Shift, Trig, Brite };
constexpr DesignRect frScopeChnCtl(int channel) {
    return {kColumnB, channel == 1 ? 0.0 : 1440.0, kColumnWidth, 1410};
}
inline constexpr DesignRect chkChnOn{1110, 0, 300, kBoxHeight};
constexpr DesignRect channelCaption(ChannelRow r) {
    return {90, 240 + static_cast<int>(r) * 270.0, 570, kLabelHeight};
}
// The row's knob label, or for the trigger row its box chkTrigOn(channel).
constexpr DesignRect channelControl(ChannelRow r) {
    return r == ChannelRow::Trig ? DesignRect{690, 225 + 2 * 270, 300, kBoxHeight}
                                 : DesignRect{690, 240 + static_cast<int>(r) * 270.0, 720, kLabelHeight};
}

// optSpectrumSource(i): "IF in", "Pre Demod", "Post Demod", "AF Out".
constexpr DesignRect optSpectrumSource(int i) {
    return {kColumnC, 60 + i * kRow, 1410, kBoxHeight};
}
inline constexpr DesignRect lblFrameRate{kColumnC + 90, 1080, 600, kLabelHeight};
inline constexpr DesignRect chkPerfStatsOn{kColumnC, 2580, 900, kBoxHeight};

// The sliders' holder, out of view, and the sliders in it.
inline constexpr DesignRect picSliders{kColumnC, 1500, 1350, 900};
constexpr DesignRect slider(int i) {
    return {0, i * 300.0, 1350, 300};
}

} // namespace display::design
