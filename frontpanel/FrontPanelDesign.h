// Where the front panel's widgets place their controls (twips, each in its container): the readout's
// digits, the receiver's frames and their controls with the captions they start with, and the band plan's
// buttons. The widgets are built from these, and so is whatever clicks them from outside.
#pragma once

#include <array>
#include <cstdint>

#include "platform/ui/DesignRect.h"

namespace frontpanel::design {

using ui::DesignRect;

// ---- The readout's frame frFreqCtl: the digits in picFreqDisp, in three groups (MHz, kHz, Hz) and
// the tenths.
inline constexpr int32_t kReadoutFrameWidth = 6990, kReadoutFrameHeight = 1215;
inline constexpr DesignRect picFreqDisp{120, 195, 4380, 735};
inline constexpr int32_t kDigitWidth = 390, kDigitHeight = 630, kDigitTop = 45, kDigitPitch = 450;
inline constexpr int32_t kDigitGroupGap = 90;
// Digit d is worth 10^(8 - d) tenths of a hertz: the wheel over it tunes by that much.
inline constexpr int16_t kDigit1kHz = 4;
inline constexpr int16_t kDigit100Hz = 5;

constexpr int32_t digitLeft(int d) {
    const int32_t groups = d >= 8 ? 3 : d >= 5 ? 2 : d >= 2 ? 1 : 0;
    return 60 + d * kDigitPitch + groups * kDigitGroupGap;
}
// lbl7Seg(d) in picFreqDisp.
constexpr DesignRect lbl7Seg(int d) {
    return {static_cast<double>(digitLeft(d)), kDigitTop, kDigitWidth, kDigitHeight};
}

// ---- The receiver's frames stand in one row on the form, from the row's left, kFrameGap apart.
enum class RowFrame : int { frDemod, frFilter, frIFFilter, frAGC, frNB, frNotch, frAFOut };
inline constexpr std::array<int32_t, 7> kRowFrameWidths{1230, 2760, 1365, 1890, 1200, 2280, 1200};
inline constexpr int32_t kRowFrameHeight = 1575, kFrameGap = 60;
// Rows of option buttons and check boxes.
inline constexpr int32_t kFirstRow = 225, kRow = 240;

// The frame's place, the row's left corner at (rowLeft, rowTop) in the form.
constexpr DesignRect rowFrame(RowFrame f, int32_t rowLeft, int32_t rowTop) {
    double left = rowLeft;
    for (int i = 0; i < static_cast<int>(f); ++i)
        left += kRowFrameWidths[static_cast<size_t>(i)] + kFrameGap;
    return {left, static_cast<double>(rowTop), static_cast<double>(kRowFrameWidths[static_cast<size_t>(f)]),
            kRowFrameHeight};
}

// optMode(i) in frDemod: two columns of four (0 AM, 1 USB, 2 LSB, 3 DRM, 4 FM, 5 BC, 6 SAM, 7 AM1).
inline constexpr int16_t kModeAM = 0, kModeUSB = 1, kModeLSB = 2, kModeDRM = 3;
inline constexpr int16_t kModeButtonCount = 8;
constexpr DesignRect optMode(int i) {
    return {static_cast<double>(30 + (i / 4) * 585), static_cast<double>(kFirstRow + 30 + (i % 4) * 315), 585,
            kRow};
}

// ---- The controls in the row's frames, each in its frame.

// A run of like controls: the first one's place and the step from each to the next.
struct ControlRun {
    int16_t count;
    DesignRect first;
    double stepLeft, stepTop;
    constexpr DesignRect operator()(int i) const {
        return {first.Left + i * stepLeft, first.Top + i * stepTop, first.Width, first.Height};
    }
};

// The texts and font sizes the receiver's controls start with; the core gives the rest their captions.
namespace caption {
inline constexpr char frDemod[] = "Mode", frFilter[] = "AF Filter", frIFFilter[] = "IF Filtr",
                      frAGC[] = "AGC", frNB[] = "NR", frNotch[] = "Notch", frAFOut[] = "AF";
inline constexpr char frRFInSel[] = "RF Input", frIFAttenuation[] = "IF Attenuation";
inline constexpr char frRecordSampling[] = "Sample Rate", frRecordBitsPerSample[] = "Bits/Sample";
inline constexpr char lblRecordMBytesPerHrDesc[] = "MB/h";
// A knob label before the start-up fills the knob table.
inline constexpr char knobLabel[] = "0";
} // namespace caption
inline constexpr double kControlFontSize = 7.5, kModeFontSize = 6.75;

// frFilter: the presets, the edge sliders (sldBW(0) the high edge, right of the low), the edges' captions
// and values above and below them, Music, Dyn and the edge knobs.
// The presets end where the high edge's caption begins.
inline constexpr ControlRun optFilter{5, {75, kFirstRow, 990, kRow}, 0, 255};
inline constexpr ControlRun sldBW{2, {1575, 435, 300, 855}, -450, 0};
inline constexpr DesignRect lblFHiDesc{1065, kFirstRow, 420, 195}, lblFloDesc{1515, kFirstRow, 420, 195};
inline constexpr DesignRect lblFHi{1065, 1305, 420, 195}, lblFLo{1515, 1305, 420, 195};
inline constexpr DesignRect chkMusic{1935, kFirstRow, 795, kRow};
inline constexpr DesignRect chkDynFilter{1935, kFirstRow + 270, 795, kRow};
inline constexpr DesignRect lblFilterHi{1935, 825, 570, 240}, lblFilterLo{1935, 1140, 570, 240};

// frIFFilter: the switch, the three modes and the manual edges.
inline constexpr DesignRect chkIFFilter{75, kFirstRow, 540, kRow};
inline constexpr ControlRun optIFFilter{3, {75, kFirstRow + 315, 780, kRow}, 0, 270};
inline constexpr DesignRect lblIFHiDesc{885, 540, 420, 195}, lblIFHi{885, 735, 420, 240};
inline constexpr DesignRect lblIFLoDesc{885, 1035, 420, 195}, lblIFLo{885, 1230, 420, 240};

// frAGC: the switch and the rows, then the attack and decay sliders with their knobs.
inline constexpr DesignRect chkAGC{75, kFirstRow, 600, kRow};
inline constexpr ControlRun optAGC{5, {75, kFirstRow + 240, 915, 210}, 0, 225};
inline constexpr DesignRect sldAGCAttack{1035, kFirstRow, 315, 1005}, sldAGCDecay{1455, kFirstRow, 315, 1005};
inline constexpr DesignRect lblAGCAttack{990, 1260, 420, 240}, lblAGCDecay{1410, 1260, 420, 240};

// frNB and frAFOut alike: the switch on top, a dial with its knob beside it, a slider beneath.
struct DialFrame {
    DesignRect check, dial, knob, slider;
};
inline constexpr DesignRect kFrameDial{60, 480, 690, 690}, kFrameSlider{60, 1260, 1080, 255};
// chkMute in frAFOut.
inline constexpr DesignRect chkMute{75, kFirstRow, 690, kRow};
inline constexpr DesignRect chkNB{75, kFirstRow, 540, kRow};
inline constexpr DialFrame frNBControls{chkNB, kFrameDial, {765, 720, 405, 240}, kFrameSlider};
inline constexpr DialFrame frAFOutControls{chkMute, kFrameDial, {735, 720, 435, 240}, kFrameSlider};

// frNotch: on, type, mirror and auto, the two modes, the centre and width sliders with their captions
// above, and the two knobs with their captions.
inline constexpr DesignRect chkNotchOn{75, kFirstRow, 540, 210}, chkNotchType{75, kFirstRow + 225, 540, 210};
inline constexpr DesignRect chkNotchMirror{75, kFirstRow + 450, 870, 210};
inline constexpr DesignRect chkNotchAuto{75, kFirstRow + 675, 690, 210};
inline constexpr ControlRun optNotch{2, {75, kFirstRow + 930, 690, 210}, 0, 225};
inline constexpr DesignRect sldNotch{990, 435, 315, 855}, sldNotchWidth{1380, 435, 315, 855};
inline constexpr DesignRect lblNotch{945, kFirstRow, 405, 195}, lblNotchWidth{1335, kFirstRow, 405, 195};
inline constexpr DesignRect lblNotchCDesc{1755, 435, 465, 195}, lblNotchC{1755, 630, 465, 240};
inline constexpr DesignRect lblNotchWDesc{1755, 945, 465, 195}, lblNotchW{1755, 1140, 465, 240};

// chkTuneLo and chkIQSelectUpper share one place on the form, its corner the main window's choice.
constexpr DesignRect sideSwitch(double left, double top) {
    return {left, top, 1200, kRow};
}

// ---- The parts in the main window's panels.
// picElektor200705: eight inputs and three attenuations in a row.
inline constexpr DesignRect frRFInSel{60, 0, 7860, 480};
inline constexpr ControlRun optRFInSel{8, {90, 210, 930, 240}, 960, 0};
inline constexpr DesignRect frIFAttenuation{8040, 0, 3420, 480};
inline constexpr ControlRun optIFAttenuation{3, {90, 210, 1050, 240}, 1080, 0};
// picRecorder: the recording format at its right end.
inline constexpr DesignRect frRecordSampling{7500, 0, 3210, 615};
inline constexpr ControlRun optRecordSampleRate{5, {75, 285, 615, kRow}, 615, 0};
inline constexpr DesignRect frRecordBitsPerSample{10710, 0, 1110, 615};
inline constexpr ControlRun optRecordSamplePerBit{2, {75, 285, 510, kRow}, 510, 0};
inline constexpr DesignRect lblRecordMBytesPerHr{11850, 120, 480, 225}; // ends where its unit begins
inline constexpr DesignRect lblRecordMBytesPerHrDesc{11850, 345, 480, 240};
// picCalib: the channel swap and the I/Q balance.
inline constexpr DesignRect chkFlipIQ{60, 90, 900, kRow};
inline constexpr DesignRect sldBalance{1020, 60, 2400, 330};

// ---- The band plan's frame frPresets: the selectors' row under the caption, two rows of sub-band
// buttons in picSubBands, the preset buttons in picPresets. It spans the window, so that a caption of a
// sub-band (six characters) or a preset (seven) fits beside its button's circle.
inline constexpr int32_t kPresetFrameWidth = 12285, kPresetFrameHeight = 1200;
inline constexpr int32_t kSubBandWidth = 1350, kSubBandHeight = 225, kSubBandsPerRow = 9, kSubBandsTop = 380;
inline constexpr int32_t kPresetWidth = 1005, kPresetHeight = 300, kPresetsTop = 840;
inline constexpr int16_t kPresetButtonCount = 12;
inline constexpr int16_t kSubBandButtonCount = 18;

// frPresets, its top left corner at (left, top) in its container.
constexpr DesignRect frPresets(double left, double top) {
    return {left, top, kPresetFrameWidth, kPresetFrameHeight};
}
inline constexpr DesignRect picPresets{60, kPresetsTop, kPresetButtonCount* kPresetWidth + 60,
                                       kPresetHeight + 30};
// optPreset(j) in picPresets.
constexpr DesignRect optPreset(int j) {
    return {static_cast<double>(j * kPresetWidth), 0, kPresetWidth, kPresetHeight};
}
inline constexpr DesignRect picSubBands{60, kSubBandsTop, kSubBandsPerRow* kSubBandWidth + 60,
                                        2 * kSubBandHeight + 15};
// optSubBand(i) in picSubBands.
constexpr DesignRect optSubBand(int i) {
    return {static_cast<double>((i % kSubBandsPerRow) * kSubBandWidth),
            static_cast<double>((i / kSubBandsPerRow) * kSubBandHeight), kSubBandWidth, kSubBandHeight};
}

// ---- The preset dialog frmEditUserPreset: its two buttons in its client area.
inline constexpr DesignRect presetDialogSave{1500, 3600, 1500, 420};
inline constexpr DesignRect presetDialogCancel{3300, 3600, 1500, 420};

// ---- The preset pop-up frmPresetDesc's client area, shown beside the pointer over a used preset.
inline constexpr int32_t kPresetDescWidth = 2700, kPresetDescHeight = 1605;

} // namespace frontpanel::design
