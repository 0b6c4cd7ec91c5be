// The display panel of the main window: the container with the two display pictures and their frequency
// labels, and beside them the controls: display mode, sweep, Y mode, the two channels, the source point,
// the analyser and statistics switches, the knob labels of the display knobs, and the three sliders in
// their holder out of view. The widgets show what the panel's core sets and forward the user's events to
// it; the knob labels belong to the front panel's knob table.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "display/ScopePanelCore.h"
#include "display/ScopePanelDesign.h"
#include "display/ScopePanelView.h"
#include "frontpanel/FrontPanelCore.h"
#include "frontpanel/ReceiverControls.h"
#include "frontpanel/TuningControls.h"
#include "platform/ui/ControlArray.h"
#include "platform/ui/Controls.h"
#include "platform/ui/PictureBox.h"

namespace display {

class ScopePanel final : public ScopePanelView {
public:
    // The container's design place on the main window, in twips.
    static constexpr double kDesignWidth = design::kContainerWidth, kDesignHeight = design::kContainerHeight;
    // The room the panel leaves for the band plan's frame.
    static constexpr double kFreeLeft = design::kFreeLeft, kFreeTop = design::kFreeTop;

    // Builds the panel in the window's client area (parent), the container's top left at (left, top).
    ScopePanel(QWidget* parent, double left, double top);
    ScopePanel(const ScopePanel&) = delete;
    ScopePanel& operator=(const ScopePanel&) = delete;

    // Wires the controls to the panel's core (made over this view) and the knob labels and knob frames
    // to the front panel's knob table; before the start-up fills the table.
    void connect(ScopePanelCore& core, frontpanel::FrontPanelCore& frontPanel);

    // Every control of the panel, for the main window's colouring and frame captions.
    void forEachControl(const std::function<void(ui::Control&)>& visit);

    // ScopePanelView
    int16_t Value(ScopeBox box) const override;
    void setValue(ScopeBox box, int16_t value) override;
    void selectSource(int16_t index) override;
    void setVisible(ScopePart part, bool on) override;
    void setEnabled(ScopePart part, bool on) override;
    void setCaption(ScopePart part, const std::string& caption) override;
    int32_t Min(ScopeSlider slider) const override;
    int32_t Max(ScopeSlider slider) const override;
    int32_t Value(ScopeSlider slider) const override;
    void setMin(ScopeSlider slider, int32_t value) override;
    void setMax(ScopeSlider slider, int32_t value) override;
    void setValue(ScopeSlider slider, int32_t value) override;
    void setSteps(ScopeSlider slider, const SliderSteps& steps) override;
    void setToolTipText(ScopeSlider slider, const std::string& text) override;
    void Refresh(ScopeSlider slider) override;
    ui::Picture& displayPicture(int16_t index) override;
    std::string Tag(int16_t picture) const override;
    void setTag(int16_t picture, const std::string& text) override;
    void setFreqLabelCaption(int16_t index, const std::string& caption) override;
    double FreqLabelWidth(int16_t index) const override;
    double FreqLabelHeight(int16_t index) const override;
    void moveFreqLabel(int16_t index, double left, double top, double width, double height) override;
    void setFreqLabelVisible(int16_t index, bool on) override;

    ui::PictureBox picScopeContainer;
    ui::Label imgAreaScope;
    // Holds the two pictures, which fill it as the analyser places them; the room below it is the
    // window's.
    ui::PictureBox picScopeArea;
    ui::ControlArray<ui::PictureBox> picScope;
    ui::ControlArray<ui::Label> lblSpectrumFreq;
    ui::PictureBox picScopeCtls;

    ui::Frame frScopeMode;
    ui::ControlArray<ui::CheckBox> chkScopeMode;
    ui::CheckBox chkSpectrumAnalyser;
    ui::Frame frScopeSweep;
    ui::Frame frScopeYMode;
    ui::CheckBox chkLog;
    ui::CheckBox chkSmoothSpectrum;
    ui::CheckBox chkScopeShowFilters;
    ui::CheckBox chkSpectrumAutoGain;
    ui::Frame frScopeChn1Ctl;
    ui::CheckBox chkChn1On;
    ui::Frame frScopeChn2Ctl;
    ui::CheckBox chkChn2On;
    ui::ControlArray<ui::CheckBox> chkTrigOn; // 1 and 2
    ui::ControlArray<ui::Label> lblScopeCtl;  // 0 to 9
    ui::ControlArray<ui::OptionButton> optSpectrumSource;
    ui::CheckBox chkPerfStatsOn;

    // The display knobs' labels, as the front panel's knob table knows them.
    frontpanel::KnobLabelControl lblScopeChn1Gain;
    frontpanel::KnobLabelControl lblScopeChn1Shift;
    frontpanel::KnobLabelControl lblY1Bright;
    frontpanel::KnobLabelControl lblScopeChn2Gain;
    frontpanel::KnobLabelControl lblScopeChn2Shift;
    frontpanel::KnobLabelControl lblY2Bright;
    frontpanel::KnobLabelControl lblScopeXWidth;
    frontpanel::KnobLabelControl lblScopeXCentre;
    frontpanel::KnobLabelControl lblSpectrumSmooth;
    frontpanel::KnobLabelControl lblFrameRate;

    // The sliders' holder: the knob labels do the user's work, the mode change still runs the sliders.
    ui::PictureBox picSliders;
    ui::Slider sldSpectrumGain;
    ui::Slider sldXWidth;
    ui::Slider sldXCentre;

private:
    // A control at its design place in its container.
    struct Placed {
        ui::Control& control;
        ui::DesignRect rect;
    };

    ui::CheckBox& box(ScopeBox which) const;
    ui::Control& part(ScopePart which) const;
    ui::Slider& slider(ScopeSlider which) const;
    void loadArrays();
    void setToolTips();
    void setSliders();
    void layOut();
    std::vector<Placed> controlPlaces();
};

// The hover handlers of the window's areas that the panel's core answers for beyond the panel: the front
// panel's mode and filter frames (their captions take the focus colour) and the calibration panel. The
// bare window's own hover is the main window's to forward to ScopePanelCore::Form_MouseMove.
void connectWindowHover(ScopePanelCore& core, frontpanel::ReceiverControls& receiver, ui::Control& picCalib);

} // namespace display
