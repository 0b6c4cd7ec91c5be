// The display engine of the main window: the spectrum, the two-channel time scope and the X-Y plot,
// drawn into the hidden one of two pictures and then shown. It keeps its own settings, takes a block of
// samples per sound block and computes and draws a frame when the redraw pacing asks for one.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "dsp/Nerix.h"
#include "dsp/clsFFTReal.h"
#include "frame/ReceiverState.h"
#include "platform/profile/SettingsStore.h"
#include "platform/ui/Picture.h"

class clsVFO;
namespace Nerix {
class FilterBank;
}

namespace display {

// The display modes, the values of the mode property.
inline constexpr int32_t kModeSpectrum = 0;
inline constexpr int32_t kModeTime = 1;
inline constexpr int32_t kModeXY = 2;

// Values each averaging history holds: as many frames of Points \ 2 values as fit.
inline constexpr int32_t kSmoothHistoryLength = 65537;
// The taps the filter set-up hands over.
inline constexpr int32_t kFilterTaps = 2048;

// What the overlays read of their neighbours. Either may be absent; the overlay step that needs it is
// then skipped, as a failing drawing step is.
struct AnalyserPorts {
    const Nerix::FilterBank* Filters = nullptr; // the IF filter's edges, for the I/Q pass-band box
    const clsVFO* Vfo = nullptr;                // the LO side, for the I/Q pass-band box
};

} // namespace display

// The settings of one display mode.
struct ScopeModeRec {
    float Chn1Gain = 0;
    float Chn1Shift = 0;       // the knob value
    float Chn1ShiftOffset = 0; // the shift in display units
    bool Chn1Enabled = false;
    bool Chn1TriggerOn = false;
    float Chn2Gain = 0;
    float Chn2Shift = 0;
    float Chn2ShiftOffset = 0;
    bool Chn2Enabled = false;
    bool Chn2TriggerOn = false;
    int16_t TriggerChn = 0; // 0 none, 1 channel 1, 2 channel 2
    bool LogMode = false;
    bool FastMode = false; // no averaging
    float LinMax = 0, LinMin = 0, LinRange = 0;
    float LogMax = 0, LogMin = 0, LogRange = 0;
};

class clsSpectrumAnalyser {
public:
    // Creates the analyser with its defaults and restores its settings from section Name. A setting that
    // does not convert or lies outside what the display can show keeps its default (with a trace line).
    clsSpectrumAnalyser(profile::SettingsStore& settings, ReceiverState& state, Nerix::Wrappers& nerix,
                        display::AnalyserPorts ports = {});
    // Saves the settings.
    ~clsSpectrumAnalyser();
    clsSpectrumAnalyser(const clsSpectrumAnalyser&) = delete;
    clsSpectrumAnalyser& operator=(const clsSpectrumAnalyser&) = delete;

    // The main window hands over the current VFO again when the configuration dialog replaces it.
    void setPorts(const display::AnalyserPorts& ports) { ports_ = ports; }

    // Public fields: writing one has no side effect.
    std::string Name = "SpectrumAnalyser";
    bool InDisplay = false; // a frame is being computed or drawn
    bool Initialised = false;
    int32_t FSampling = 0; // Hz
    int32_t Points = 0;
    int32_t Order = 0;
    float Gain = 1.0f;
    bool AutoGain = false;
    bool ReverseSpectrum = false;
    bool Freeze = false;
    bool Active = true;
    int32_t SpectrumWidth = 0; // Hz
    float SmoothDivider = 4.5f;
    int32_t ScreenWidth = 0;
    int32_t FStart = 0, FEnd = 0; // Hz
    int32_t StartBin = 0, StopBin = 0;
    int32_t TrigBin = 0;
    int32_t FOffset = 0; // Hz
    bool SmoothSpectrum = true;
    int32_t DefaultSmoothCount = 8;
    int32_t Y1Colour = 0x00FF00, Y2Colour = 0x00FFFF;
    int32_t ControlColourNormal = 192, ControlColourFocused = 255;

    // Properties.
    float HzPerBin() const { return hzPerBin_; }
    void setHzPerBin(float v) { hzPerBin_ = v; }
    bool IQMode() const { return iqMode_; }
    void setIQMode(bool v) { iqMode_ = v; }
    int32_t FrameRate() const { return frameRate_; }
    void setFrameRate(int32_t v) { frameRate_ = v; }
    int32_t SpectrumSmooth() const { return spectrumSmooth_; }
    // Also sets SmoothDivider to the sum of i / n for i = 1 to n, in Single precision (0 for n <= 0).
    void setSpectrumSmooth(int32_t n);
    int32_t YTextColour() const { return yTextColour_; }
    void setYTextColour(int32_t v) { yTextColour_ = v; }
    int32_t XTextColour() const { return xTextColour_; }
    void setXTextColour(int32_t v) { xTextColour_ = v; }
    int32_t FilterCurveColour() const { return filterCurveColour_; }
    void setFilterCurveColour(int32_t v) { filterCurveColour_ = v; }
    int32_t NotchFilterColour() const { return notchFilterColour_; }
    void setNotchFilterColour(int32_t v) { notchFilterColour_ = v; }
    int32_t GraticuleColour() const { return graticuleColour_; }
    void setGraticuleColour(int32_t v) { graticuleColour_ = v; }
    int32_t ScopeBackColour() const { return scopeBackColour_; }
    void setScopeBackColour(int32_t v) { scopeBackColour_ = v; }
    bool HideFreqToolTip() const { return hideFreqToolTip_; }
    void setHideFreqToolTip(bool v) { hideFreqToolTip_ = v; }
    int32_t Y2BaseColour() const { return y2BaseColour_; }
    void setY2BaseColour(int32_t v) { y2BaseColour_ = v; }
    int32_t Y1BaseColour() const { return y1BaseColour_; }
    void setY1BaseColour(int32_t v) { y1BaseColour_ = v; }

    // Channel 0 or 1 takes its base colour at level percent into Y1Colour or Y2Colour; any other channel
    // changes nothing.
    void SetChannelBrightness(int16_t Channel, int16_t level);

    // Properties of the current mode's record; a mode outside 0..2 raises Subscript out of range (9).
    bool LogMode() const { return rec().LogMode; }
    void setLogMode(bool v) { rec().LogMode = v; }
    bool FastMode() const { return rec().FastMode; }
    void setFastMode(bool v) { rec().FastMode = v; }
    bool Chn1Trig() const { return rec().Chn1TriggerOn; }
    void setChn1Trig(bool v) { rec().Chn1TriggerOn = v; }
    bool Chn2Trig() const { return rec().Chn2TriggerOn; }
    void setChn2Trig(bool v) { rec().Chn2TriggerOn = v; }
    bool Chn1Enabled() const { return rec().Chn1Enabled; }
    void setChn1Enabled(bool v) { rec().Chn1Enabled = v; }
    bool Chn2Enabled() const { return rec().Chn2Enabled; }
    void setChn2Enabled(bool v) { rec().Chn2Enabled = v; }
    float Chn1Gain() const { return rec().Chn1Gain; }
    // 0 is stored as 0.000001, so that no log frame divides by zero.
    void setChn1Gain(float v) { rec().Chn1Gain = storedGain(v); }
    float Chn2Gain() const { return rec().Chn2Gain; }
    void setChn2Gain(float v) { rec().Chn2Gain = storedGain(v); }
    int16_t TriggerChn() const { return rec().TriggerChn; }
    // Also sets the trigger flags: 1 channel 1's, 2 channel 2's, anything else neither.
    void setTriggerChn(int16_t t);
    float Chn1Shift() const { return rec().Chn1Shift; }
    // Also sets the shift in display units: s / 150 of YScaleRange.
    void setChn1Shift(float s);
    float Chn2Shift() const { return rec().Chn2Shift; }
    void setChn2Shift(float s);
    // The current mode's scale: the log values in log mode, else the linear ones.
    float YScaleMax() const;
    float YScaleRange() const;
    int32_t mode() const { return mode_; }
    // Stores m (m 2 turns both channels of mode 2 on) and fits the pictures to it; a failing set-up is
    // ignored.
    void setMode(int32_t m);
    bool ShowNotch() const { return showNotch_; }
    void setShowNotch(bool v) { showNotch_ = v; }
    bool ShowFilter() const { return showFilter_; }
    void setShowFilter(bool v) { showFilter_ = v; }

    // The two display pictures; the main window owns them and keeps them alive while the analyser is.
    void picDisplay0(ui::Picture& PicSpectrum) { picture0_ = &PicSpectrum; }
    void picDisplay1(ui::Picture& PicSpectrum) { picture1_ = &PicSpectrum; }

    // Prepares the buffers and the transform for FSampling and Order, turns FStart and FEnd into bins
    // and fits both pictures. Needs the two pictures.
    void init();
    // While Active, copy Points samples of each channel (the 16-bit form converts them, unscaled).
    void LoadSamples_INT16(std::span<const int16_t> channel1, std::span<const int16_t> channel2);
    void LoadSamples_S(std::span<const float> channel1, std::span<const float> channel2);
    // The main filter's 2048 taps become the filter curve.
    void LoadFilterCoeffs_T_S(std::span<const float> Coeffs_S);
    // Points magnitudes become the filter curve; one of 0 or less stops the conversion there with
    // Invalid procedure call (5).
    void LoadFilterCoeffs_F_S(std::span<const float> Coeffs_S);
    // One frame from the loaded samples. InDisplay is set meanwhile; errors reach the caller.
    void Display();
    // Converts and copies whatever Active says, then computes and draws a frame.
    void Display_I16(std::span<const int16_t> channel1, std::span<const int16_t> channel2);
    // Redraws without new data; an error in the drawing ends the frame quietly. A redraw that would show
    // what both pictures show already draws nothing, so a frozen, unchanged display costs next to nothing.
    void DisplayFrozen();
    // The per-mode computation and the frame. Channel 1 always comes from the loaded samples.
    void Display_S(std::span<const float> SamplesI_SIN, std::span<const float> Q);
    // Draws the traces and overlays of the current mode on a picture whose scale the set-up has fitted.
    void DrawSpectrum(ui::Picture& pic);

    // What the windows and tests read.
    const ScopeModeRec& ScopeModes(int32_t m) const;
    std::span<const float> BufI() const { return bufI_; }
    std::span<const float> BufQ() const { return bufQ_; }
    std::span<const float> Trace1() const { return trace1_; }
    std::span<const float> Trace2() const { return trace2_; }
    // Writing through these counts as a change of what a frame shows when the span is taken.
    std::span<float> Trace1() {
        ++dataChanges_;
        return trace1_;
    }
    std::span<float> Trace2() {
        ++dataChanges_;
        return trace2_;
    }
    std::span<const float> FilterPower() const { return filterPower_; }
    std::span<const float> FilterCurve() const { return filterCurve_; }
    int16_t DrawPage() const { return drawPage_; }
    float LabelHeight() const { return labelHeight_; }
    float LabelWidth() const { return labelWidth_; }

    // What a frame would show: the settings, colours and picture sizes it reads as a fingerprint, and
    // the changes of the samples, the filter curve and the traces as a count. Equal keys draw equal
    // frames.
    uint64_t frameKey() const;

private:
    ScopeModeRec& rec();
    const ScopeModeRec& rec() const;
    static float storedGain(float v) { return v == 0.0f ? 0.000001f : v; }
    void setScaleDefaults();
    void restoreSettings();
    void saveSettings();
    clsFFTReal& fft(const char* routine) const;
    ui::Picture& picture(ui::Picture* p, const char* routine) const;
    void transformPower(std::span<const float> samples, float* power);
    void SetupDisplay();
    void DrawAndFlip();
    void DrawGraticule(ui::Picture& pic);
    void averageTrace(std::vector<float>& trace, std::vector<float>& history, bool enabled);
    void drawSpectrumMode(ui::Picture& pic);
    void drawTimeMode(ui::Picture& pic);
    void drawXYMode(ui::Picture& pic);
    void drawFilterOverlay(ui::Picture& pic, int64_t span);
    void drawNotch(ui::Picture& pic);

    profile::SettingsStore& settings_;
    ReceiverState& state_;
    Nerix::Wrappers& nerix_;
    display::AnalyserPorts ports_;

    bool initialising_ = false;
    float hzPerBin_ = 0;
    bool iqMode_ = false;
    int32_t frameRate_ = 1;
    int32_t spectrumSmooth_ = 8;
    int32_t yTextColour_ = 0xFF7F00, xTextColour_ = 0xFFFF00;
    int32_t filterCurveColour_ = 0xC0C0C0, notchFilterColour_ = 0xC0FF60;
    int32_t graticuleColour_ = 0x007F00, scopeBackColour_ = 0;
    bool hideFreqToolTip_ = false;
    int32_t y2BaseColour_ = 0x00FFFF, y1BaseColour_ = 0x00FF00;
    std::array<ScopeModeRec, 3> scopeModes_{};
    int32_t mode_ = display::kModeSpectrum;
    bool showNotch_ = false;
    bool showFilter_ = true;

    std::unique_ptr<clsFFTReal> realFFT_;
    int16_t drawPage_ = 0;
    std::vector<float> bufI_, bufQ_, workRe_, workIm_, trace1_, trace2_, filterPower_, filterCurve_;
    std::vector<float> iqPower_, trigFlags_, filterTaps_, smoothSum_;
    std::vector<float> smoothHistory1_, smoothHistory2_;
    float labelHeight_ = 0, labelWidth_ = 0;
    float xStep_ = 0; // the horizontal step of the last trace, kept when a frame cannot compute one
    uint64_t dataChanges_ = 0;
    // The key of the frame each picture shows; none since the set-up drew a bare graticule on it.
    std::array<uint64_t, 2> pageKey_{};
    std::array<bool, 2> pageShowsKey_{};
    ui::Picture* picture0_ = nullptr;
    ui::Picture* picture1_ = nullptr;
    bool setupBusy_ = false, displayBusy_ = false, frozenBusy_ = false, displaySBusy_ = false;
};
