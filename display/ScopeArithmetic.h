// The arithmetic of the display panel, the pointer over the display and the S-meter: the view a source
// point gives, the sliders' formulas and tooltips, the wheel step and the frequency under the pointer,
// the frequency label's place, the click-to-tune value, and the S-meter's ticks, labels and level. Qt-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "frame/ReceiverModes.h"

namespace display {

// A view is of radio frequencies when its offset lies above the sample rate: the three points before
// the audio output add the tuned frequency less half the span.
bool rfView(int32_t FOffset, int32_t FSampling);

// What choosing a source point (a ScopeSource, the index of its option button) sets on the analyser.
struct SourceView {
    int32_t FStart = 0;
    int32_t FEnd = 0;
    bool ReverseSpectrum = false;
    int32_t FOffset = 0; // Hz
    bool operator==(const SourceView&) const = default;
};
// "AF Out" shows FSampling \ 8 reversed from 0 Hz; the others twice the base IF, reversed with the LO
// above the signal, offset by the tuned frequency (0.1 Hz) less half the span, rounded half to even.
// An offset no Long holds raises Overflow.
SourceView sourceView(int16_t Index, int32_t FSampling, int32_t BaseIf, bool HighSideInjection,
                      int32_t TunedFrequency);

// The spectrum gain slider: 2 to the power (Max / 2 - Value), and its tooltip in decibels.
struct SpectrumGain {
    float Gain = 1;
    std::string ToolTip;
};
SpectrumGain spectrumGain(int32_t Max, int32_t Value);

// Where a right click puts a slider: the middle of its range, halves to even.
int32_t sliderMiddle(int32_t Min, int32_t Max);

// The sweep sliders' tick frequency, small and large change: Max / 10, / 100 and / 10, halves to even.
struct SliderSteps {
    int32_t TickFrequency = 0;
    int32_t SmallChange = 0;
    int32_t LargeChange = 0;
    bool operator==(const SliderSteps&) const = default;
};
SliderSteps sweepSliderSteps(int32_t Max);

// The centre slider's tooltip: the frequency at position Value.
std::string centreToolTip(float HzPerBin, int32_t Value, int32_t FOffset);

// The width slider's span in the spectrum: the width (Value - Min, at least 10 and at most the range)
// around the centre position, clipped to 0 and the range.
struct SpectrumSpan {
    int32_t StartBin = 0;
    int32_t StopBin = 0;
    bool operator==(const SpectrumSpan&) const = default;
};
SpectrumSpan spectrumSpan(int32_t Min, int32_t Max, int32_t Value, int32_t Centre);
std::string spectrumWidthToolTip(float HzPerBin, int32_t StartBin, int32_t StopBin);
// The width slider's screen width in the time scope: Value - Min, at least 10 and at most the range.
int32_t timebaseWidth(int32_t Min, int32_t Max, int32_t Value);
std::string timebaseToolTip(int32_t StartBin, int32_t StopBin);

// The wheel step the pointer's height chooses: 100 x Int(10 x Y / |ScaleHeight| + 0.5) Hz; none when it
// cannot be worked out (a scale height of 0, a value no Long holds).
std::optional<int32_t> wheelStepHz(double Y, double ScaleHeight);
// The step text as it is kept: below 10 it becomes 10 (an empty text counts as 0).
std::string flooredWheelStep(const std::string& text);
// The value of a step text, 0 for one that is no number.
double wheelStepValue(const std::string& text);

// The frequency under the pointer at X (trace entries): an I/Q spectrum's entries cover two bins. The
// offset is added in a radio-frequency view.
double frequencyUnderPointer(double X, float HzPerBin, bool IQMode, int32_t FOffset, bool rf);
// The frequency label's number picture.
std::string_view scopeFreqFormat(bool rf);
// The frequency label's left edge: X + 17, but never further right than the picture's left plus its
// scale width less the label's width.
double freqLabelLeft(double X, double PictureLeft, double ScaleWidth, double LabelWidth);
// What a left click tunes to, in 0.1 Hz: the frequency of the text rounded to whole kilohertz. None for
// an empty or non-numeric text, or one no Long holds once converted.
std::optional<int32_t> clickTuneFrequency(std::string_view tag);

// The S-meter: tick i of n across a scale picture W wide whose scale height is ScaleHeight.
struct TickPlace {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    bool operator==(const TickPlace&) const = default;
};
// A width or height that no Long holds, or n of 0, raises the runtime's error.
TickPlace sMeterTick(int32_t i, int32_t n, double W, double ScaleHeight);
// The width of one label slot: Int(W / n + 0.5).
int32_t sMeterSlot(double W, int32_t n);
// The scale label of slot L (1 to n + 2): the S-units 1 to 9, then decibels over S9 ("+6", 12 ... 48).
std::string sMeterLabel(int32_t L);
// The tooltip of the scale: the noise floor as the meter back-off.
std::string meterBackoffToolTip(float NoiseFloor);
// The tick a level lights: its decibels (rounded half to even) \ 6. None when the level gives no
// whole number of decibels (not finite, or beyond a Long).
std::optional<int32_t> sMeterTicks(double Level);

} // namespace display
