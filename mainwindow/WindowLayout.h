// The main window's four layouts: one fixed width and four heights, each ending below one panel, with
// the stacked panels moved up when the Elektor model's panel is hidden. The arithmetic is here; the
// window moves its panels and sets its size through LayoutWindow.
#pragma once

#include <cstdint>
#include <string_view>

#include "frame/ReceiverState.h"
#include "mainwindow/MainWindowDesign.h"

namespace mainwindow {

// Twips, in the window's client coordinates.
using Rect = ui::DesignRect;

// The layouts, by the index of their option button.
namespace layout {
inline constexpr int16_t kCompact = design::kLayoutCompact;   // "Comp": the power frame only
inline constexpr int16_t kStandard = design::kLayoutStandard; // "Std": down to the mode frame
inline constexpr int16_t kExtended = design::kLayoutExtended; // "Ext": down to the recorder panel
inline constexpr int16_t kFull = design::kLayoutFull;         // "Full": down to the calibration panel
} // namespace layout

// The frame the window manager puts round the client area, in twips.
struct ChromeMetrics {
    int32_t FormBorderWidth = 0;  // each side
    int32_t FormChromeHeight = 0; // outer height less client height
};

// The chrome from the outer and the client size, rounded to whole twips halves to even.
ChromeMetrics measureChrome(double outerWidth, double outerHeight, double clientWidth, double clientHeight);

// One layout worked out: the panels' places and the window's outer size.
struct LayoutPlan {
    int16_t Index = 0;
    bool ElektorPanel = false; // shown and enabled
    Rect picElektor200705;
    Rect picRecorder;
    Rect picScopeContainer;
    Rect picCalib;
    float LayoutHeight = 0;
    float LayoutWidth = 0;
    bool SwitchesFollowBoxes = false; // statistics and analyser as their check boxes say, else both off
};

// What the layout does to the window; the main window implements it.
class LayoutWindow {
public:
    virtual ~LayoutWindow() = default;
    // Every layout button's caption 0xC0C000, then button Index 0xFFFF00 and selected (its click
    // handler then calls optDisplaySize_Click again, which returns at once).
    virtual void markLayoutButton(int16_t Index) = 0;
    // The selected layout button's index, -1 for none.
    virtual int16_t selectedLayoutButton() const = 0;
    virtual void placePanels(const LayoutPlan& plan) = 0;
    // Layouts 0 and 1, after the statistics were switched off: the analyser off.
    virtual void switchOffAnalyser() = 0;
    // Layouts 2 and 3: the click handlers of the statistics and analyser check boxes.
    virtual void followStatisticsAndAnalyserBoxes() = 0;
    // The outer size in twips; setting it raises Form_Resize.
    virtual void setWindowHeight(int32_t twips) = 0;
    virtual void setWindowWidth(int32_t twips) = 0;
    // Neither minimised nor maximised.
    virtual bool windowStateNormal() const = 0;
};

class WindowLayout {
public:
    static constexpr std::string_view kElektorSection = "RXModel.Elektor 2007-05 IQ SDR";

    explicit WindowLayout(ReceiverState& state);

    // Measured at start-up; the layouts use it from then on.
    ChromeMetrics Chrome;
    // True while the power button has removed the title bar.
    bool TitleBarHidden = false;
    // The outer size of the layout applied last; 0 until the first.
    float LayoutHeight = 0;
    float LayoutWidth = 0;

    // The arithmetic of a layout for the model section given (the Elektor panel by its exact section
    // text). An index outside 0 to 3 raises Invalid property array index.
    LayoutPlan plan(int16_t Index, std::string_view CurrentModelSection) const;

    // optDisplaySize_Click: applies layout Index. An index outside 0 to 3 is refused with the error and
    // changes nothing; a call while a layout is being applied returns at once.
    void optDisplaySize_Click(int16_t Index, std::string_view CurrentModelSection, LayoutWindow& window);

    // Form_Resize: in the normal state the window is put back to the layout's size.
    void Form_Resize(LayoutWindow& window);

private:
    ReceiverState& state_;
    bool layoutBusy_ = false;
    bool resizeBusy_ = false;
};

} // namespace mainwindow
