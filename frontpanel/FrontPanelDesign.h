// Where the front panel's widgets place the controls a user works most: the readout's digits, the mode
// buttons, mute and the band plan's buttons (twips, each in its container). The widgets are built from
// these, and so is whatever clicks them from outside.
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
constexpr DesignRect optMode(int i) {
    return {static_cast<double>(30 + (i / 4) * 585), static_cast<double>(kFirstRow + 30 + (i % 4) * 315), 585,
            kRow};
}
// chkMute in frAFOut.
inline constexpr DesignRect chkMute{75, kFirstRow, 690, kRow};

// ---- The band plan's frame frPresets: the selectors' row under the caption, two rows of sub-band
// buttons in picSubBands, the preset buttons in picPresets.
inline constexpr int32_t kPresetFrameWidth = 7680, kPresetFrameHeight = 1200;
inline constexpr int32_t kSubBandWidth = 840, kSubBandHeight = 225, kSubBandsPerRow = 9, kSubBandsTop = 380;
inline constexpr int32_t kPresetWidth = 630, kPresetHeight = 300, kPresetsTop = 840;
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
