// The display engine of the main window: the spectrum, the two-channel time scope and the X-Y plot,
// drawn into the hidden one of two pictures and then shown. It keeps its own settings, takes a block of
// samples per sound block and computes and draws a frame when the redraw pacing asks for one.
//
// The analyser owns the parts: its public fields and properties are those of its settings
// (display/ScopeSettings.h) and of the frame they are drawn over (display/FrameState.h); each mode
// computes and draws its traces (display/SpectrumMode.h, TimeMode.h, XYMode.h) on the shared arrays
// (display/ScopeTraces.h); the analyser loads the data, fits and swaps the pictures and draws the grid.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "display/FilterResponse.h"
#include "display/FrameState.h"
#include "display/ScopeSettings.h"
#include "display/ScopeTraces.h"
#include "display/SpectrumMode.h"
#include "display/TimeMode.h"
#include "display/XYMode.h"
#include "dsp/Nerix.h"
#include "frame/ReceiverState.h"
#include "platform/profile/SettingsStore.h"
#include "platform/ui/Picture.h"

class clsSpectrumAnalyser : public display::ScopeSettings, public display::FrameState {
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

    bool InDisplay = false; // a frame is being computed or drawn
    bool Initialised = false;

    // Stores m (m 2 turns both channels of mode 2 on) and fits the pictures to it; a failing set-up is
    // ignored.
    void setMode(int32_t m);

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
    void LoadFilterCoeffs_T_S(std::span<const float> Coeffs_S) { filter_.loadTaps(Coeffs_S); }
    // Points magnitudes become the filter curve; one of 0 or less stops the conversion there with
    // Invalid procedure call (5).
    void LoadFilterCoeffs_F_S(std::span<const float> Coeffs_S) { filter_.loadMagnitudes(Coeffs_S); }
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
    std::span<const float> BufI() const { return traces_.BufI; }
    std::span<const float> BufQ() const { return traces_.BufQ; }
    std::span<const float> Trace1() const { return traces_.Trace1; }
    std::span<const float> Trace2() const { return traces_.Trace2; }
    // Writing through these counts as a change of what a frame shows when the span is taken.
    std::span<float> Trace1() {
        ++traces_.changes;
        return traces_.Trace1;
    }
    std::span<float> Trace2() {
        ++traces_.changes;
        return traces_.Trace2;
    }
    std::span<const float> FilterPower() const { return filter_.power(); }
    std::span<const float> FilterCurve() const { return filter_.curve(); }
    int16_t DrawPage() const { return drawPage_; }
    float LabelHeight() const { return spectrum_.LabelHeight(); }
    float LabelWidth() const { return spectrum_.LabelWidth(); }

    // What a frame would show: the settings, colours and picture sizes it reads as a fingerprint, and
    // the changes of the samples, the filter curve and the traces as a count. Equal keys draw equal
    // frames.
    uint64_t frameKey() const;
    // What the graticule on pic would show: every value the graticule reads, with the picture's scale,
    // size, font and pen. Equal keys draw equal graticules.
    uint64_t graticuleKey(const ui::Picture& pic) const;

private:
    display::ModeContext modeContext();
    ui::Picture& picture(ui::Picture* p, const char* routine) const;
    void SetupDisplay();
    void fitScale(ui::Picture& p0);
    void DrawAndFlip();
    void DrawGraticule(ui::Picture& pic);
    void finishGraticule(ui::Picture& pic);

    ReceiverState& state_;
    Nerix::Wrappers& nerix_;
    display::AnalyserPorts ports_;

    display::ScopeTraces traces_;
    display::FilterResponse filter_;
    display::SpectrumMode spectrum_;
    display::TimeMode time_;
    display::XYMode xy_;

    int16_t drawPage_ = 0;
    // The key of the frame each picture shows; none since the set-up drew a bare graticule on it.
    std::array<uint64_t, 2> pageKey_{};
    std::array<bool, 2> pageShowsKey_{};
    // The graticule each picture keeps a copy of, with what drawing it left behind.
    struct KeptGraticule {
        bool kept = false;
        uint64_t key = 0;
        double currentX = 0, currentY = 0;
        float labelHeight = 0, labelWidth = 0;
    };
    std::array<KeptGraticule, 2> graticules_{};
    ui::Picture* picture0_ = nullptr;
    ui::Picture* picture1_ = nullptr;
    bool setupBusy_ = false, displayBusy_ = false, frozenBusy_ = false, displaySBusy_ = false;
};
