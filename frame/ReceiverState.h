// The receiver state: settings and live values the signal path reads on every block, the front panel
// and configuration dialog change, and the main window restores and saves. One thread, no locks.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "frame/ReceiverModes.h"

// The window colours, 0x00BBGGRR.
struct SDRColourScheme {
    int32_t Background = 0;
    int32_t Label = 0;
    int32_t FrameFocus = 0;
    int32_t FrameNormal = 0;
    int32_t Tuning = 0;
    int32_t ScrollLabelNormal = 0;
    int32_t ScrollLabelFocus = 0;
};

// The DRM decoder options the main window keeps under "DRM.*".
struct DrmOptions {
    bool RunDreamOnDRM = false;
    std::string PathToDream;
    bool MuteAFOnDRM = false; // the block drivers mute the output in the DRM mode
    bool CloseSoundcardOnDRM = false;
    std::string DreamProgArgs;
    int32_t DreamWindowStyle = 0; // 0 window shown, 1 minimised, 2 hidden
    bool DreamCloseOnExit = false;
    bool DreamCloseOnModeChange = false;
};

struct ReceiverState {
    int32_t BaseIF = 12000; // Hz

    // I/Q front end
    bool IQMode = false; // an I/Q pair arrives
    bool FlipIQ = false; // swap the input channels
    bool PhaseBitCorrection = false;
    float SoundcardCorrectionAmpBalance = 1.0f; // gain of Q
    bool HiSideLoActive = false;
    bool IQSelectUpper = false;
    bool VFOControl = false; // the receiver set-up's CurrentModel.VFOControl

    // The main window's receiver choice: the model table's row in use and the shaft encoder switch
    int32_t SDRModelNo = 0;
    bool EnableShaftEncoder = false;

    // Mixer and oscillator
    int32_t BfoOffset = 0;       // Hz
    int32_t MixerCentre = 12000; // Hz
    int32_t NcoIncrement = 0;

    // Demodulation, filters, level
    int32_t DemodMode = DemodMode::AM;
    int32_t NotchType = NotchType::AF;
    // The notch as the front panel sets it (its edges below); the display marks it too.
    bool NotchActive = false;
    int32_t NotchMode = 0;           // 0 manual, 1 automatic (the housekeeping timer follows the peak)
    bool NotchMirror = false;        // designed as a band-pass instead of a band-reject filter
    int32_t NotchBuiltCentre = 1000; // Hz, the centre at the last notch rebuild
    bool DynFilterActive = false;
    bool AGCOn = true;
    bool MuteAf = false;
    bool PerfStatsOn = false;
    int32_t FilterLo = 0; // Hz
    int32_t FilterHi = 0; // Hz
    float NbLevel = 0.0f;
    float OutputAttenuation = 0.0f; // above 0 a gain factor, otherwise 1/100 dB for the sound engine
    int32_t ScopeSource = ScopeSource::IFIn;
    bool NBOn = false; // noise reduction switched on (the main window's noise-reduction check box)

    // Filter choices of the front panel; the filter set-up turns them into designs
    int32_t FilterMode = 0;      // row of the AF filter preset table
    int32_t FilterBandwidth = 0; // FilterHi - FilterLo, as the preset buttons last worked it out
    bool MusicModeActive = false;
    bool IFFilterActive = false;
    int32_t IFFilterMode = IFFilterMode::Track;
    int32_t IFFilterHi = 0;    // Hz
    int32_t IFFilterLo = 0;    // Hz
    bool FiltersDirty = false; // the housekeeping timer rebuilds the bank
    bool NotchDirty = false;

    // Notch edges the notch knobs and controls work out for the housekeeping timer's rebuild (Hz)
    int32_t NotchCentre = 0;
    int32_t NotchWidth = 0;
    int32_t NotchWidthPrevious = 0;
    int32_t NotchLow = 0;
    int32_t NotchHigh = 0;
    bool NotchBusy = false; // one notch update at a time, shared by the centre knob and the notch slider

    // AGC. The history length counts block peaks, the ramp length samples; both are kept within
    // 1..2048 and 0..2048 by their setters and again by the AGC itself.
    static constexpr int32_t kAgcTableLength = 2048;
    std::array<float, kAgcTableLength> AgcPeakHistory{};    // block peaks, newest at 0
    std::array<float, kAgcTableLength> AgcHistoryWeights{}; // 1.0 at 0 down to 0.0 over the history
    int32_t AgcHistoryLength = 1;
    int32_t AgcRampLength = 0;
    float AgcGain = 0.0f; // the last gain computed, for the meters
    int32_t AGCMode = 0;  // the AGC preset row the AGC knobs edit, 0 to 4
    float AgcAttackMs = 0.0f;
    int32_t AgcDecayMs = 0;

    // Meters the chain fills for the housekeeping timer
    std::array<float, 2048> LevelRing{}; // entries 0..5: the last six block levels (RMS)
    int32_t LevelRingIndex = 0;
    std::array<float, 235> BlockPowerRing{}; // entries 0..233: per-block sums of squares
    int32_t BlockPowerRingIndex = 0;
    std::array<int32_t, 101> PeakBinRing{}; // strongest AF bin per block, relative to the band start
    int32_t PeakBinRingIndex = 0;

    // Vector library choice
    bool UseSPL = false; // only while SPLAvailable
    bool SPLAvailable = false;
    bool NcoAvailable = false;

    // True while a DSP chain runs a block.
    bool DspBusy = false;

    // The front panel's tuning: the one pending step of the tuning-repeat timer (RepeatStep 0 stands
    // for the VFO's step, in 0.1 Hz), the panel's step lock (the dial then steps by the VFO's step) and
    // the flag by which a dial move of the wheel tuning is not taken as a turn. ActiveKnob 1 is the
    // frequency readout.
    bool TuneUpRequest = false;
    bool TuneDownRequest = false;
    float RepeatStep = 0.0f;
    bool TuneStepLocked = false;
    bool SkipDialChange = false;

    // True while the DRM decoder is being started; the sub-band tracking leaves the presets alone.
    bool DreamStarting = false;

    bool TraceOn = false;             // "trace" on the command line
    int32_t CurrentMainBandIndex = 0; // the selected band in MainBands
    SDRColourScheme SDRColourSchemes;
    DrmOptions DRM;

    // The main window's own options, kept in its settings section
    float NoiseFloor = 0.0f;                 // the S-meter's noise floor, an RMS sample level
    int32_t DisplayMode = 0;                 // the window layout, 0 to 3
    bool ShaftAutoRate = false;              // kept for the configuration dialog
    bool ScrollWheelEnableOverScope = false; // the wheel over the display tunes
    bool KBDSupport = false;                 // kept for the configuration dialog
    bool AutoTrackPresets = false;
    bool FormCaptionOffOnPwrOn = false; // no title bar while the receiver is on
    bool AutoStartSDR = false;          // power on at the end of the start-up
    std::string SaveRecordingsPath;
    int32_t RunPriority = 0; // priority class at power-on: 256 real-time, 128 high, 32 normal, 64 idle
    // True from the configuration dialog's loading until OK, Cancel or its unloading; the Config button
    // does nothing meanwhile. Never saved.
    bool ConfigDialogOpen = false;

    // The knob labels' highlight: the knob the wheel and the knob keys act on (0 for none), and
    // whether a highlighted label also gets a border (the settings' "MouseOverS.HiLiteBorder").
    int16_t ActiveKnob = 0;
    bool HiLiteBorder = false;
};
