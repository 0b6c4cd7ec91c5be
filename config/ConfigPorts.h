// What the configuration dialog reaches of objects other windows own: the spectrum analyser, the front
// panel's knob labels, the main window, the sound engine and the receiver's live objects. The main window
// hands its objects in; any may be absent, and a step of the dialog that needs an absent one is skipped
// with a trace line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class Oscillator;
namespace comm {
class MSComm;
}
namespace modSetupRX {
struct RadioObjects;
}

namespace config {

// The spectrum analyser's colours (0x00BBGGRR), trace brightness, frequency tooltip switch and default
// smoothing count. Setting a colour only stores it; the next redraw uses it.
class AnalyserSettings {
public:
    virtual ~AnalyserSettings() = default;
    virtual int32_t ScopeBackColour() const = 0;
    virtual void setScopeBackColour(int32_t colour) = 0;
    virtual int32_t GraticuleColour() const = 0;
    virtual void setGraticuleColour(int32_t colour) = 0;
    virtual int32_t Y1BaseColour() const = 0;
    virtual void setY1BaseColour(int32_t colour) = 0;
    virtual int32_t Y2BaseColour() const = 0;
    virtual void setY2BaseColour(int32_t colour) = 0;
    virtual int32_t FilterCurveColour() const = 0;
    virtual void setFilterCurveColour(int32_t colour) = 0;
    virtual int32_t NotchFilterColour() const = 0;
    virtual void setNotchFilterColour(int32_t colour) = 0;
    virtual int32_t XTextColour() const = 0;
    virtual void setXTextColour(int32_t colour) = 0;
    virtual int32_t YTextColour() const = 0;
    virtual void setYTextColour(int32_t colour) = 0;
    // The display's own knob labels, in focus and normal.
    virtual int32_t ControlColourFocused() const = 0;
    virtual void setControlColourFocused(int32_t colour) = 0;
    virtual int32_t ControlColourNormal() const = 0;
    virtual void setControlColourNormal(int32_t colour) = 0;
    // The traces as drawn: the base colours at the channels' brightness.
    virtual int32_t Y1Colour() const = 0;
    virtual void setY1Colour(int32_t colour) = 0;
    virtual int32_t Y2Colour() const = 0;
    virtual void setY2Colour(int32_t colour) = 0;
    // Channel 0 or 1 takes its base colour at level per cent; any other channel changes nothing.
    virtual void SetChannelBrightness(int16_t channel, int16_t level) = 0;
    virtual bool HideFreqToolTip() const = 0;
    virtual void setHideFreqToolTip(bool hide) = 0;
    virtual int32_t DefaultSmoothCount() const = 0;
    virtual void setDefaultSmoothCount(int32_t count) = 0;
};

// The knob labels' table, records numbered 1 to 24. Writing a value neither checks nor applies it.
class KnobValues {
public:
    virtual ~KnobValues() = default;
    virtual float Value(int16_t knob) const = 0;
    virtual void setValue(int16_t knob, float value) = 0;
    // The value a reset of the knob gives.
    virtual void setDefault(int16_t knob, float value) = 0;
    virtual void setNormalColour(int16_t knob, int32_t colour) = 0;
    virtual void setFocusColour(int16_t knob, int32_t colour) = 0;
    // The BFO knob's apply routine: its value becomes the offset of the mixer from the base IF.
    virtual void SetBFO() = 0;
};

// The spectrum smoothing knob, whose value the dialog shows as the default smoothing count.
inline constexpr int16_t lblSpectrumSmoothIndex = 19;
// The BFO knob.
inline constexpr int16_t lblBFOIndex = 20;

// The main window as the dialog repaints, lays out and captions it.
class MainWindowShell {
public:
    virtual ~MainWindowShell() = default;
    // True shows the title bar, false hides it, at once.
    virtual void ShowTitleBar(bool on) = 0;
    virtual void setBackColor(int32_t colour) = 0;
    virtual void ReColour() = 0;
    virtual void DarkenControls() = 0;
    virtual void UnFocusFrames() = 0;
    // The layout option selected, if any.
    virtual std::optional<int16_t> SelectedDisplaySize() const = 0;
    virtual void optDisplaySize_Click(int16_t Index) = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // Starts sound as the power button's "On" does; a failure leaves the power "Off".
    virtual void StartSound() = 0;
    // The serial event control the serial line opens its port through in event mode.
    virtual comm::MSComm* MSComm1() = 0;
    // The encoder's switch has been set: the encoder's poll is armed while it is on, and only then.
    virtual void EncoderSwitchChanged() = 0;
};

// The sound engine's device members. The status calls return 0 or the error number that ended them.
class SoundEngine {
public:
    virtual ~SoundEngine() = default;
    virtual bool InAction() const = 0;
    virtual int32_t CurrentPlaybackDevice() const = 0;
    virtual void setCurrentPlaybackDevice(int32_t device) = 0;
    virtual int32_t CurrentCaptureDevice() const = 0;
    virtual void setCurrentCaptureDevice(int32_t device) = 0;
    virtual int32_t StopSound() = 0;
    virtual int32_t ReleaseDevices() = 0;
    virtual int32_t PrepareDevices() = 0;
};

// The VFO in use, with the members Apply drives.
class VfoControl {
public:
    virtual ~VfoControl() = default;
    virtual void SaveSettings() = 0;
    // The oscillator it tunes, or none.
    virtual Oscillator* OscType() const = 0;
    virtual void setHiSideLo(bool high) = 0;
    virtual void setIFFrequency(int32_t hertz) = 0;
    virtual void setAutoUpdate(bool on) = 0;
    virtual void setOscMultiplier(int32_t value) = 0;
    virtual void setPLLMultiplier(int32_t value) = 0;
    virtual int32_t DDSInterfaceType() const = 0;
    virtual void setDDSInterfaceType(int32_t kind) = 0;
    virtual void Refresh() = 0;
};

// The receiver's live objects, as the application holds them at each call.
class LiveReceiver {
public:
    virtual ~LiveReceiver() = default;
    // The VFO in use; none raises Object variable not set (91).
    virtual VfoControl& Vfo() = 0;
    // The oscillator and line objects (any absent one is null).
    virtual modSetupRX::RadioObjects Objects() = 0;
    // Lets go of the VFO in use and puts a new one in its place. Every user of the VFO reaches the new
    // one before the old one is released.
    virtual void ReplaceVfo() = 0;
    // Builds the receiver of the model in use (the receiver state's SDRModelNo) on the VFO in use.
    virtual void InitialiseRX() = 0;
};

} // namespace config
