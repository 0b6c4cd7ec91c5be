// Where the configuration dialog places the controls a user works (twips, each in its container). The
// dialog is built from these, and whatever drives it from outside clicks at the same places: a path's
// pixels() in the dialog's client area.
#pragma once

#include "platform/ui/DesignRect.h"

namespace config::design {

using ui::DesignPath;
using ui::DesignRect;

// The tab strip and the pages frConfigs(k), all at one place; tab k + 1 brings page k to the front.
inline constexpr DesignRect TabStrip1{120, 120, 8280, 375};
inline constexpr DesignRect frConfigs{120, 480, 8280, 3375};
inline constexpr int16_t kPageDDS = 3;

// The tab headers' widths follow the font, but the first header always begins at the strip's left
// edge and is wider than this.
inline constexpr DesignRect firstTabHeader{0, 0, 300, 375};

// OK, Apply and Cancel stand in one row one and a half button heights above the client area's bottom,
// their lefts a quarter, a half and three quarters of the way across; worked in single precision as
// the window's other design values are.
inline constexpr double kButtonWidth = 1215, kButtonHeight = 375;
struct ButtonRow {
    float Top, OkLeft, ApplyLeft, CancelLeft;
};
constexpr ButtonRow buttonRow(float clientWidth, float clientHeight) {
    const auto width = static_cast<float>(kButtonWidth);
    return {clientHeight - 1.5f * static_cast<float>(kButtonHeight), (clientWidth - width) / 4,
            (clientWidth - width) / 2, (clientWidth - width) / 4 * 3};
}

// The client area the dialog is made with: the strip's left margin on each side and once more, and
// below the page three button heights.
inline constexpr double kClientWidth = 3 * TabStrip1.Left + TabStrip1.Width;
inline constexpr double kClientHeight =
    TabStrip1.Top + TabStrip1.Height + frConfigs.Height + 3 * kButtonHeight;

inline constexpr ButtonRow kButtons = buttonRow(kClientWidth, kClientHeight);
inline constexpr DesignRect cmdOK{kButtons.OkLeft, kButtons.Top, kButtonWidth, kButtonHeight};
inline constexpr DesignRect cmdApply{kButtons.ApplyLeft, kButtons.Top, kButtonWidth, kButtonHeight};
inline constexpr DesignRect cmdCancel{kButtons.CancelLeft, kButtons.Top, kButtonWidth, kButtonHeight};

// On the DDS page: "Calibrate" opens the calibration dialog.
inline constexpr DesignRect cmdCalDDS{3360, 120, 1200, 375};

// ---- The paths in the dialog's client area.

constexpr DesignPath firstTab() {
    return DesignPath(TabStrip1).then(firstTabHeader);
}
constexpr DesignPath okButton() {
    return DesignPath(cmdOK);
}
constexpr DesignPath applyButton() {
    return DesignPath(cmdApply);
}
constexpr DesignPath cancelButton() {
    return DesignPath(cmdCancel);
}
constexpr DesignPath calibrateButton() {
    return DesignPath(frConfigs).then(cmdCalDDS);
}
} // namespace config::design
