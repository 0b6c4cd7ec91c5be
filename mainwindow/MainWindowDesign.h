// Where the main window and the components it composes place the controls a user works (twips, each in
// its container), and the paths from the client area down to each. The window is built from these, and
// whatever drives it from outside clicks at the same places: a path's pixels() in the client area.
#pragma once

#include <cstdint>

#include "display/ScopePanelDesign.h"
#include "frontpanel/FrontPanelDesign.h"
#include "platform/ui/DesignRect.h"
#include "recorder/RecorderDesign.h"

namespace mainwindow::design {

using ui::DesignPath;
using ui::DesignRect;

// The client area the window is made with, before the first layout sets its height.
inline constexpr double kClientWidth = 12465, kClientHeight = 4245;

// The power group frPower with optPwr(i): 0 "On", 1 "Off", 2 "&Close".
inline constexpr DesignRect frPower{60, -15, 750, 1215};
inline constexpr int16_t kPowerOn = 0, kPowerOff = 1, kPowerClose = 2;
constexpr DesignRect optPwr(int i) {
    return {45, static_cast<double>(255 + i * 300), 690, 255};
}

// The layout group frDispMode with optDisplaySize(i): the layouts "Comp", "Std", "Ext", "Full".
inline constexpr DesignRect frDispMode{11595, -15, 810, 1215};
constexpr DesignRect optDisplaySize(int i) {
    return {30, static_cast<double>(225 + i * 225), 765, 225};
}

// The readout's frame and the receiver's frame row, as the front panel is placed on the form.
inline constexpr double kReadoutLeft = 870, kReadoutTop = -15;
inline constexpr int32_t kFrameRowLeft = 60, kFrameRowTop = 1300;
inline constexpr DesignRect frFreqCtl{kReadoutLeft, kReadoutTop, frontpanel::design::kReadoutFrameWidth,
                                      frontpanel::design::kReadoutFrameHeight};
constexpr DesignRect rowFrame(frontpanel::design::RowFrame f) {
    return frontpanel::design::rowFrame(f, kFrameRowLeft, kFrameRowTop);
}
inline constexpr DesignRect frDemod = rowFrame(frontpanel::design::RowFrame::frDemod);

// The stacked panels at their design places. The layouts move the recorder, scope and calibration
// panels up into the Elektor panel's place when that panel is hidden (any model but the Elektor one).
inline constexpr DesignRect picElektor200705{60, 2950, 12345, 495};
inline constexpr DesignRect picRecorder{60, 3555, 12345, 630};
inline constexpr DesignRect picScopeContainer{60, 4320, display::design::kContainerWidth,
                                              display::design::kContainerHeight};
inline constexpr DesignRect picCalib{60, 7320, 12345, 450};
inline constexpr double kPanelGap = 75;

struct StackedPanels {
    DesignRect picRecorder;
    DesignRect picScopeContainer;
    DesignRect picCalib;
};
constexpr StackedPanels stackedPanels(bool elektorPanel) {
    StackedPanels s{picRecorder, picScopeContainer, picCalib};
    s.picRecorder.Top = elektorPanel ? picElektor200705.bottom() + kPanelGap : picElektor200705.Top;
    s.picScopeContainer.Top = s.picRecorder.bottom() + kPanelGap;
    s.picCalib.Top = s.picScopeContainer.bottom() + kPanelGap;
    return s;
}

// The layouts, by their button's index, and the client height each gives: down to the power frame, the
// mode frame, the recorder panel or the calibration panel. The width is always kClientWidth.
inline constexpr int16_t kLayoutCompact = 0, kLayoutStandard = 1, kLayoutExtended = 2, kLayoutFull = 3;
constexpr double clientHeight(int16_t layout, bool elektorPanel) {
    const StackedPanels s = stackedPanels(elektorPanel);
    return layout == kLayoutCompact    ? frPower.bottom()
           : layout == kLayoutStandard ? frDemod.bottom()
           : layout == kLayoutExtended ? s.picRecorder.bottom()
                                       : s.picCalib.bottom();
}

// "Low Side LO" and "IQ Upper" share one place on the form, under the S-meter.
inline constexpr int32_t kSideSwitchesLeft = 8880, kSideSwitchesTop = 900;

// In picCalib: "Config" opens the configuration dialog; "ZeroS" zeroes the S-meter.
inline constexpr DesignRect cmdConfig{3540, 60, 900, 330};
inline constexpr DesignRect cmdCalibrateSMeter{4500, 60, 780, 330};

// ---- The paths, for a layout whose panels stand as elektorPanel says.

constexpr DesignPath powerButton(int i) {
    return DesignPath(frPower).then(optPwr(i));
}
constexpr DesignPath layoutButton(int i) {
    return DesignPath(frDispMode).then(optDisplaySize(i));
}
constexpr DesignPath configButton(bool elektorPanel) {
    return DesignPath(stackedPanels(elektorPanel).picCalib).then(cmdConfig);
}
// lbl7Seg(d): the wheel over frontpanel::design::kDigit100Hz tunes by 100 Hz, over kDigit1kHz by 1 kHz.
constexpr DesignPath readoutDigit(int d) {
    return DesignPath(frFreqCtl).then(frontpanel::design::picFreqDisp).then(frontpanel::design::lbl7Seg(d));
}
// optMode(i), by frontpanel::design::kModeAM, kModeUSB, kModeLSB, kModeDRM.
constexpr DesignPath modeButton(int i) {
    return DesignPath(frDemod).then(frontpanel::design::optMode(i));
}
// chkTuneLo or chkIQSelectUpper, whichever the model shows.
constexpr DesignPath sideSwitch() {
    return DesignPath(frontpanel::design::sideSwitch(kSideSwitchesLeft, kSideSwitchesTop));
}
constexpr DesignPath agcSwitch() {
    return DesignPath(rowFrame(frontpanel::design::RowFrame::frAGC)).then(frontpanel::design::chkAGC);
}
constexpr DesignPath muteSwitch() {
    return DesignPath(rowFrame(frontpanel::design::RowFrame::frAFOut)).then(frontpanel::design::chkMute);
}
// The band plan's frame lies in the scope container, under the spectrum and the display's controls.
static_assert(frontpanel::design::kPresetFrameWidth <= display::design::kFreeWidth &&
              frontpanel::design::kPresetFrameHeight <= display::design::kFreeHeight);
constexpr DesignPath presetFrame(bool elektorPanel) {
    return DesignPath(stackedPanels(elektorPanel).picScopeContainer)
        .then(frontpanel::design::frPresets(display::design::kFreeLeft, display::design::kFreeTop));
}
// optPreset(j): left applies, right pops the "&User Presets" menu, Shift + right stores.
constexpr DesignPath presetButton(int j, bool elektorPanel) {
    return presetFrame(elektorPanel)
        .then(frontpanel::design::picPresets)
        .then(frontpanel::design::optPreset(j));
}
constexpr DesignPath subBandButton(int i, bool elektorPanel) {
    return presetFrame(elektorPanel)
        .then(frontpanel::design::picSubBands)
        .then(frontpanel::design::optSubBand(i));
}
// cmdWavCtls(i), by the transport indices (recorder/RecorderPanelPorts.h).
constexpr DesignPath recorderButton(int i, bool elektorPanel) {
    return DesignPath(stackedPanels(elektorPanel).picRecorder).then(recorder::design::cmdWavCtls(i));
}
// The track list, shown over the preset frame once a recording is loaded.
constexpr DesignPath trackList(bool elektorPanel) {
    return presetFrame(elektorPanel)
        .then(recorder::design::lstRecordingLogs(frontpanel::design::kPresetFrameWidth,
                                                 frontpanel::design::kPresetFrameHeight));
}

} // namespace mainwindow::design
