// The band plan's widgets on the main window: the preset frame with the band drop-down, the sub-band label,
// drop-down and hidden list, the sub-band and preset buttons, and the tracking timer. They mirror the
// band plan panel's controls and forward the user's events to it. The frame is also what the recorder's
// track list lies over, through PresetFrame.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "frontpanel/BandPlanPanel.h"
#include "frontpanel/frmSplash1.h"
#include "platform/ui/ControlArray.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Timer.h"

namespace frontpanel {

// The preset frame as a panel laid over it sees it: its container and its place, size and back colour in
// the container's twips.
class PresetFrame {
public:
    virtual ~PresetFrame() = default;
    virtual QWidget* Container() const = 0;
    virtual int32_t FrameBackColor() const = 0;
    virtual double FrameLeft() const = 0;
    virtual double FrameTop() const = 0;
    virtual double FrameWidth() const = 0;
    virtual double FrameHeight() const = 0;
};

class BandPlanControls final : public PresetFrame {
public:
    // The frame goes into parent (the frequency control frame's container) at (left, top).
    BandPlanControls(QWidget* parent, int32_t left, int32_t top);
    ~BandPlanControls() override;
    BandPlanControls(const BandPlanControls&) = delete;
    BandPlanControls& operator=(const BandPlanControls&) = delete;

    // Mirrors the panel's controls and wires the events and the timer's tick to it. The panel must
    // outlive the controls.
    void connect(BandPlanPanel& panel);

    // The start-up's placing: the sub-band label, drop-down and list on the band selector's row, the
    // buttons in their containers, and each button's popup place from the frequency control frame's
    // corner (frFreqCtlLeft, frFreqCtlTop, twips on the main window).
    void LayOut(BandPlanPanel& panel, int32_t frFreqCtlLeft, int32_t frFreqCtlTop);
    // The same in the start-up's three steps: the selectors first, the buttons later.
    void LayOutSelectors(BandPlanPanel& panel);
    void LayOutSubBandButtons(BandPlanPanel& panel, int32_t frFreqCtlLeft, int32_t frFreqCtlTop);
    void LayOutPresetButtons(BandPlanPanel& panel, int32_t frFreqCtlLeft, int32_t frFreqCtlTop);

    // Starts the tracking timer, 300 ms.
    void StartTracking();

    void forEachControl(const std::function<void(ui::Control&)>& f);

    QWidget* Container() const override { return parent_; }
    int32_t FrameBackColor() const override { return frPresets.BackColor(); }
    double FrameLeft() const override { return frPresets.Left(); }
    double FrameTop() const override { return frPresets.Top(); }
    double FrameWidth() const override { return frPresets.Width(); }
    double FrameHeight() const override { return frPresets.Height(); }

    ui::Frame frPresets;
    ui::Label imgBandSelect;
    ui::ComboBox cboBandSelect;
    ui::Label lblSubBand;
    ui::ComboBox cboSubBandSelect;
    ui::ListBox lstSubBandSelect;
    ui::Frame picSubBands;
    ui::ControlArray<ui::OptionButton> optSubBand;
    ui::Frame picPresets;
    ui::ControlArray<ui::OptionButton> optPreset;
    ui::Timer tmrSubBands;

private:
    void placeSelectors(BandPlanPanel& panel);
    QWidget* parent_;
    BandPlanPanel* panel_ = nullptr;
    std::vector<std::function<void()>> unbind_;
};

// The splash a band's first selection shows over the main window while its file is read.
class BandSplash {
public:
    void ShowSplash(const std::string& bandName);
    void HideSplash();
    frmSplash1& form() { return splash_; }

private:
    frmSplash1 splash_;
};

} // namespace frontpanel
