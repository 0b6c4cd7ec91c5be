// The components the main window composes, as its start-up and colouring see them: the front panel, the
// display and the recorder panel. Each builds its controls in the panels the window gives it and offers
// the start-up steps that concern it; a step a component does not take yet does nothing, and the window
// skips the steps of a component that is absent (writing their trace lines all the same).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "frame/ShellRoutines.h"
#include "mainwindow/FormColours.h"
#include "mainwindow/MainWindowContext.h"

class NerixDX8;
class QWidget;
namespace recorder {
class clsWavFile;
class RecordSampleRateChoice;
class RecordingChoices;
class WavFileListener;
} // namespace recorder
namespace modEncoder {
class Encoder;
}
namespace comm {
class MSComm;
class OnCommHandler;
} // namespace comm
namespace config {
class AnalyserSettings;
class KnobValues;
} // namespace config
namespace Nerix {
class SpectrumSink;
}
namespace ui {
class Control;
class Frame;
} // namespace ui
namespace frontpanel {
class FrontPanelCore;
class ReceiverControls;
class AnalyserKnobs;
class NotchOverlay;
class FilterCurveSink;
class RecorderFormat;
class BandPlanShell;
class BandPlanControls;
class PresetFrame;
enum class KnobFrame;
} // namespace frontpanel

namespace mainwindow {

using StepTrace = std::function<void(const char* step)>;
using ControlVisitor = std::function<void(ui::Control&)>;

class DisplayComponent;
class FrontPanelComponent;

// What the window gives a component to build in and to reach.
struct ComponentHost {
    MainWindowContext& Context;
    ShellRoutines& Shell;
    QWidget* Form = nullptr;
    QWidget* picElektor200705 = nullptr;
    QWidget* picRecorder = nullptr;
    QWidget* picScopeContainer = nullptr;
    QWidget* picCalib = nullptr;
    // The calibration panel as a control, for its hover.
    ui::Control* CalibPanel = nullptr;
    // The window's own objects, reached as they stand (absent before the load makes them).
    std::function<NerixDX8*()> SoundCard;
    std::function<recorder::clsWavFile*()> WavFile;
    modEncoder::Encoder* Encoder = nullptr;
    // The layout frame, which holds knobs too.
    ui::Frame* frDispMode = nullptr;
    // The display's side, for the front panel's knobs (absent without a display).
    DisplayComponent* Display = nullptr;
    // The power button's state, for the mode's sound-card hand-over.
    std::function<bool()> PowerOn;
    // The keyboard focus to the window's focus sink, so its key handler sees the keys.
    std::function<void()> FocusSink;
    // The statistics panel's "LO" value, and the tuning-repeat timer's interval.
    std::function<void(const std::string&)> LoCaption;
    std::function<void(int32_t ms)> TuneRepeatInterval;
    // The window is minimised: the display neither draws nor lights the S-meter meanwhile.
    std::function<bool()> Minimised;
    // The window's side of the band plan: its start-up flag, the decoder's start, its corner, the splash.
    frontpanel::BandPlanShell* BandPlan = nullptr;
    // The front panel, for the recorder panel's choices and preset frame (absent without one).
    FrontPanelComponent* FrontPanel = nullptr;
    // A choice of the power button selected or cleared from code: selecting one not selected runs its
    // action, anything else runs nothing.
    std::function<void(int16_t Index, bool selected)> SetPowerChoice;
};

// The colours ReColour has worked out, handed to each component for its own controls.
struct RecolourPass {
    const SDRColourScheme& Scheme;
    const DerivedColours& Derived;
    int32_t WindowBack = 0;
};

// The steps that write trace lines write them whatever they do: a component that does not take such a
// step yet writes them through the defaults, and the window writes them while the component is absent.
class FrontPanelComponent {
public:
    virtual ~FrontPanelComponent() = default;

    // The trace lines of steps 19, 25, 29 and 43, in their order.
    static void traceKnobTable(const StepTrace& trace);
    static void traceAgcSliders(const StepTrace& trace);
    static void traceDefaultTables(const StepTrace& trace);
    static void traceAudioPassBand(const StepTrace& trace);

    // Step 8: the placeholder label in every knob record.
    virtual void BindPlaceholderLabels() {}
    // Step 17: the sub-band selectors on the band selector's row.
    virtual void PositionSubBandSelectors() {}
    // Step 19: the knob table with its twins and trace lines.
    virtual void FillKnobTable(const StepTrace& trace) { traceKnobTable(trace); }
    // Steps 20 to 22: the band selector, the sub-band and preset buttons.
    virtual void FillBandSelector() {}
    virtual void LayOutSubBandButtons() {}
    virtual void LayOutPresetButtons() {}
    // Step 25.
    virtual void InitialiseAgcSliders(const StepTrace& trace) { traceAgcSliders(trace); }
    // Step 28.
    virtual void SelectFastAgc() {}
    // Step 29, with its trace lines.
    virtual void FillDefaultTables(const StepTrace& trace) { traceDefaultTables(trace); }
    // Steps 31 and 50: the channel swap box from FlipIQ.
    virtual void ShowChannelSwap() {}
    // Step 33.
    virtual void ShowMuteLoSideAndNoiseReduction(bool hiSideLo) { (void)hiSideLo; }
    // Step 34: the volume knob takes the output level and runs its apply routine.
    virtual void ApplyOutputLevel() {}
    // Steps 35 and 36.
    virtual void ShowNotchAndIfFilter() {}
    // Step 37.
    virtual void CaptionFilterButtons() {}
    // Step 38: the number of bands the selector lists, and the selection of one (its handler runs).
    virtual int32_t BandCount() const { return 0; }
    virtual void SelectBand(int32_t index) { (void)index; }
    // Step 40: the mouse-wheel hook; the shutdown removes it, so no knob answers the wheel afterwards.
    virtual void HookWheel() {}
    virtual void UnhookWheel() {}
    // Step 41: the preset description pop-up shown and hidden.
    virtual void PrimePresetDescription() {}
    // Step 43: the audio pass band's apply routines, with their trace lines.
    virtual void ApplyAudioPassBand(const StepTrace& trace) { traceAudioPassBand(trace); }
    // Step 44: the recording format the recorder read.
    virtual void ShowRecordingFormat(int32_t bitsPerSample, int32_t decimator) {
        (void)bitsPerSample;
        (void)decimator;
    }
    // Step 48: the sub-band tracking timer started, 300 ms.
    virtual void StartSubBandTracking() {}
    // The shutdown: the tracking timer stops with the window's own.
    virtual void StopSubBandTracking() {}
    // Step 49: the step selector, listed and coloured, with the VFO's step selected.
    virtual void InitialiseTuningStepSelector(int32_t backColour, int32_t foreColour, double tuneStep) {
        (void)backColour;
        (void)foreColour;
        (void)tuneStep;
    }
    // Steps 51 and 52.
    virtual void ResetUpperSideBox() {}
    virtual void CheckUpperSide(double baseHz, double oscMultiplier, double pllMultiplier, int32_t ifHz) {
        (void)baseHz;
        (void)oscMultiplier;
        (void)pllMultiplier;
        (void)ifHz;
    }

    // The tuning readout, given nine digits (the shaft encoder's readout).
    virtual void Display7Seg(const std::string& digits) { (void)digits; }

    // The power button's and the housekeeping's: the filter rebuild (false when it stopped under a
    // block), the BFO knob's range in hertz, the notch peak's caption and tooltip, and the model's
    // controls (chkIQSelectUpper, chkTuneLo, which is also set to 0 when hidden, and "&SAM").
    virtual bool MakeFilters() { return true; }
    virtual void SetBfoRange(int32_t min, int32_t max) {
        (void)min;
        (void)max;
    }
    virtual void ShowNotchPeak(const std::string& caption, const std::string& toolTip) {
        (void)caption;
        (void)toolTip;
    }
    virtual void ShowModelControls(bool iqSelectUpper, bool tuneLo, bool sam) {
        (void)iqSelectUpper;
        (void)tuneLo;
        (void)sam;
    }
    // The tuning-repeat and clock ticks: the dial one position on, the display's centre, the dial's rate
    // label, the RF input buttons (-1 for none selected; selecting runs the button's handler), the RIT.
    virtual void StepDial(int32_t delta) { (void)delta; }
    virtual void SetScopeXCentre() {}
    virtual void CopyTuningRate() {}
    virtual int16_t SelectedRFInput() const { return 0; }
    virtual void SelectRFInput(int16_t index) { (void)index; }
    virtual void EnableRit(bool enabled) { (void)enabled; }

    // The knob table as the highlight and ReColour see it; absent before the component has one.
    virtual KnobLabels* knobLabels() { return nullptr; }
    // The knobs' values, for the configuration dialog.
    virtual config::KnobValues* knobValues() { return nullptr; }
    // The noise-reduction knob's value, saved as "NB".
    virtual float NbKnobValue() const { return 0; }
    // The handler of the serial control's events, and the recorder's rate buttons.
    virtual comm::OnCommHandler* commHandler() { return nullptr; }
    virtual recorder::RecordSampleRateChoice* rateChoice() { return nullptr; }
    // The band plan's widgets: the preset frame the recorder's track list lies over.
    virtual frontpanel::BandPlanControls* bandPlan() { return nullptr; }
    // The recording format's choices and frames, as the recorder panel selects and colours them.
    virtual recorder::RecordingChoices* recordingChoices() { return nullptr; }
    // The preset frame the recorder's track list covers.
    virtual const frontpanel::PresetFrame* presetFrame() const { return nullptr; }
    // ReColour's steps for the component's own controls, after the pass by kind.
    virtual void Recolour(const RecolourPass& pass) { (void)pass; }
    // DarkenControls' steps for the component's own pop-ups and selectors.
    virtual void Darken() {}
    // UnFocusFrames' step for the sub-band label.
    virtual void UnFocus(int32_t frameNormal) { (void)frameNormal; }
    virtual void forEachControl(const ControlVisitor& visit) { (void)visit; }

    // What the display's panel joins: the knob table, its routines and hover, and the mode and filter
    // frames; absent before the component has them.
    virtual frontpanel::FrontPanelCore* panelCore() { return nullptr; }
    virtual frontpanel::ReceiverControls* receiverControls() { return nullptr; }
};

class DisplayComponent {
public:
    virtual ~DisplayComponent() = default;

    // The front panel, made after the display: its knob labels and frames are joined to the panel
    // when the analyser is made, before the knob table is filled.
    virtual void ConnectFrontPanel(FrontPanelComponent& front) { (void)front; }
    // Step 10: the analyser, which reads its settings; false when it could not be made.
    virtual void CreateAnalyser() {}
    virtual bool HasAnalyser() const { return false; }
    // The analyser's Active, and its check box set to it (the box's handler runs).
    virtual bool AnalyserActive() const { return false; }
    virtual void ShowAnalyserActive() {}
    // ReColour's background of the display pictures.
    virtual int32_t ScopeBackColour() const { return 0; }
    // Step 11: both display pictures black.
    virtual void BlackenPictures() {}
    // Step 26: the analyser's sampling, transform, bins, span, offset for the tuned frequency (tenths
    // of a hertz), mode, init, filter box and notch marker.
    virtual void SetUpAnalyser(int32_t tunedFrequency, bool notchActive) {
        (void)tunedFrequency;
        (void)notchActive;
    }
    // Step 27: the two frequency labels laid on each other.
    virtual void OverlayFrequencyLabels() {}
    // Step 31: the source point's button and the analyser's box (their handlers run).
    virtual void ShowRestoredSwitches(int32_t scopeSource) { (void)scopeSource; }
    // Step 39: the offset for the tuned frequency the band selection left.
    virtual void SetFOffset(int32_t tunedFrequency) { (void)tunedFrequency; }
    // Step 53.
    virtual void DrawSMeterScale() {}
    // The layouts: the analyser off (layouts 0 and 1), or as its box says (2 and 3).
    virtual void SwitchOffAnalyser() {}
    virtual void FollowAnalyserBox() {}
    // The display's redraw after a played block.
    virtual void RequestScopeRedraw() {}
    // The redraw pacing as the power button and the shutdown drive it: armed once with this many
    // milliseconds, or killed.
    virtual void SetScopeTimer(int32_t elapseMs) { (void)elapseMs; }
    virtual void KillScopeTimer() {}
    // True while a frame is being drawn; the shutdown waits for it.
    virtual bool Drawing() const { return false; }
    // The housekeeping timer's S-meter reading, and the tooltip of the scale after a zeroing.
    virtual void UpdateSMeter(double level) { (void)level; }
    virtual void SetSMeterToolTip(const std::string& tip) { (void)tip; }
    // The power button freezes the analyser at Off and thaws it at On.
    virtual void SetFreeze(bool frozen) { (void)frozen; }
    // The pointer over the bare window.
    virtual void Form_MouseMove() {}
    // The configuration dialog put a new VFO in the slot: the analyser, which keeps the object for its
    // pass-band box, takes it before the old one is released. Only stores it; never fails.
    virtual void VfoReplaced(clsVFO& vfo) noexcept { (void)vfo; }

    // What the neighbours reach; absent when the display offers none.
    virtual Nerix::SpectrumSink* spectrumSink() { return nullptr; }
    virtual frontpanel::AnalyserKnobs* analyserKnobs() { return nullptr; }
    virtual frontpanel::NotchOverlay* notchOverlay() { return nullptr; }
    virtual frontpanel::FilterCurveSink* filterCurve() { return nullptr; }
    virtual config::AnalyserSettings* analyserSettings() { return nullptr; }
    // The display's frames that hold knobs.
    virtual ui::Frame* frame(frontpanel::KnobFrame which) {
        (void)which;
        return nullptr;
    }

    virtual void Recolour(const RecolourPass& pass) { (void)pass; }
    virtual void Darken() {}
    virtual void forEachControl(const ControlVisitor& visit) { (void)visit; }
};

class RecorderComponent {
public:
    virtual ~RecorderComponent() = default;
    // Step 13, once the load has made the recorder: the panel over it.
    virtual void AttachRecorder(recorder::clsWavFile& wav) { (void)wav; }
    // The recorder's listener; absent until the panel is attached.
    virtual recorder::WavFileListener* listener() { return nullptr; }
    // Step 44: the file name box emptied.
    virtual void ClearFileName() {}
    // Step 45, after the recorder's init: the transport buttons and the file name box centred, the box
    // read-only, the first buttons enabled, and a recording the init kept named.
    virtual void LayOutPanel() {}
    // The shutdown, before the recorder is released: the disk timers stop.
    virtual void StopTimers() {}
    // The shutdown, then: the widgets go; the panel stays until the recorder, whose close may still
    // report to it, is gone.
    virtual void ReleaseControls() {}
    virtual void Recolour(const RecolourPass& pass) { (void)pass; }
    virtual void forEachControl(const ControlVisitor& visit) { (void)visit; }
};

// How the window makes its components; an empty one leaves that component absent. The display is made
// first, then the front panel over it, then the recorder panel.
struct ComponentFactories {
    std::function<std::unique_ptr<DisplayComponent>(ComponentHost&)> Display;
    std::function<std::unique_ptr<FrontPanelComponent>(ComponentHost&)> FrontPanel;
    std::function<std::unique_ptr<RecorderComponent>(ComponentHost&)> Recorder;
};

} // namespace mainwindow
