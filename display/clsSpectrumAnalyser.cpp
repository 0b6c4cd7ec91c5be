// The analyser's object, its settings and its data path; the frame's drawing is in
// clsSpectrumAnalyserDraw.cpp.
#include "display/clsSpectrumAnalyser.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "display/AnalyserArithmetic.h"
#include "dsp/FilterBank.h"
#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "radio/SettingsSection.h"
#include "radio/clsVFO.h"

using display::detail::divide;
using display::detail::fail;
using display::detail::kOwner;

namespace {

// A restored number outside what the display can show keeps its default, so one bad value cannot
// break the display for every later run.
int32_t withinRange(int32_t value, int32_t lo, int32_t hi, int32_t fallback, const char* key) {
    if (value >= lo && value <= hi) return value;
    runtime::AddLog(std::string(kOwner) + ".RestoreSettings : \"" + key +
                    "\"=" + runtime::CStr(int64_t{value}) + " is out of range, " +
                    runtime::CStr(int64_t{fallback}) + " used");
    return fallback;
}

// The frames' span of samples must be there.
void need(std::size_t have, int32_t n, const char* routine) {
    if (n < 0 || have < static_cast<std::size_t>(n)) fail(runtime::err::kSubscriptOutOfRange, routine);
}

} // namespace

clsSpectrumAnalyser::clsSpectrumAnalyser(profile::SettingsStore& settings, ReceiverState& state,
                                         Nerix::Wrappers& nerix, display::AnalyserPorts ports)
    : settings_(settings), state_(state), nerix_(nerix), ports_(ports),
      smoothHistory1_(display::kSmoothHistoryLength, 0.0f),
      smoothHistory2_(display::kSmoothHistoryLength, 0.0f) {
    initialising_ = true;
    Name = "SpectrumAnalyser";
    DefaultSmoothCount = 8;
    setSpectrumSmooth(8);
    setFrameRate(1);
    setY1BaseColour(0x00FF00);
    setY2BaseColour(0x00FFFF);
    SetChannelBrightness(0, 100);
    SetChannelBrightness(1, 100);
    ControlColourNormal = 192;
    ControlColourFocused = 255;
    setScopeBackColour(0);
    setGraticuleColour(0x007F00);
    setNotchFilterColour(0xC0FF60);
    setFilterCurveColour(0xC0C0C0);
    setXTextColour(0xFFFF00);
    setYTextColour(0xFF7F00);
    setScaleDefaults();
    restoreSettings();
    FOffset = 0;
    Gain = 1.0f;
    AutoGain = false; // the main window's check box decides, not the stored value
    initialising_ = false;
}

clsSpectrumAnalyser::~clsSpectrumAnalyser() {
    runtime::resumeNext([&] { saveSettings(); });
}

void clsSpectrumAnalyser::setScaleDefaults() {
    ScopeModeRec& spectrum = scopeModes_[display::kModeSpectrum];
    spectrum.LinMax = 24000000.0f;
    spectrum.LinMin = -24000000.0f;
    spectrum.LinRange = spectrum.LinMax - spectrum.LinMin;
    spectrum.LogMax = 5.0f;
    spectrum.LogMin = -0.000001f;
    spectrum.LogRange = spectrum.LogMax - spectrum.LogMin; // 5.000001 in Single
    for (const int32_t m : {display::kModeTime, display::kModeXY}) {
        ScopeModeRec& r = scopeModes_[static_cast<std::size_t>(m)];
        r.LinMax = 32768.0f;
        r.LinMin = -32768.0f;
        r.LinRange = r.LinMax - r.LinMin;
        r.LogMax = static_cast<float>(Nerix::Log10(32768.0));
        r.LogMin = static_cast<float>(-0.01 * r.LogMax);
        r.LogRange = r.LogMax - r.LogMin;
    }
}

void clsSpectrumAnalyser::restoreSettings() {
    const SettingsSection s(settings_, Name, kOwner);
    Active = s.readBool("Active", Active);
    setMode(withinRange(s.readInt32("Mode", mode_), display::kModeSpectrum, display::kModeXY, 0, "Mode"));
    SmoothSpectrum = s.readBool("SmoothSpectrum", SmoothSpectrum);
    setShowNotch(s.readBool("ShowNotch", showNotch_));
    setShowFilter(s.readBool("ShowFilter", showFilter_));
    AutoGain = s.readBool("AutoGain", AutoGain);
    ReverseSpectrum = s.readBool("ReverseSpectrum", ReverseSpectrum);
    setHideFreqToolTip(s.readBool("HideFreqToolTip", hideFreqToolTip_));
    setSpectrumSmooth(withinRange(s.readInt32("SpectrumSmooth", spectrumSmooth_), 1, 24, spectrumSmooth_,
                                  "SpectrumSmooth"));
    setFrameRate(withinRange(s.readInt32("FrameRate", frameRate_), 1, 16, frameRate_, "FrameRate"));
    DefaultSmoothCount = withinRange(s.readInt32("DefaultSmoothCount", DefaultSmoothCount), 1, 24,
                                     DefaultSmoothCount, "DefaultSmoothCount");
    setY1BaseColour(s.readInt32("Y1BaseColour", y1BaseColour_));
    setY2BaseColour(s.readInt32("Y2BaseColour", y2BaseColour_));
    ControlColourNormal = s.readInt32("ControlColourNormal", ControlColourNormal);
    ControlColourFocused = s.readInt32("ControlColourFocused", ControlColourFocused);
    setNotchFilterColour(s.readInt32("NotchFilterColour", notchFilterColour_));
    setFilterCurveColour(s.readInt32("FilterCurveColour", filterCurveColour_));
    setScopeBackColour(s.readInt32("ScopeBackColour", scopeBackColour_));
    setGraticuleColour(s.readInt32("GraticuleColour", graticuleColour_));
    setXTextColour(s.readInt32("XTextColour", xTextColour_));
    setYTextColour(s.readInt32("YTextColour", yTextColour_));

    // The records take their values straight, without the properties' side effects, but a gain of 0
    // becomes what the property makes of it.
    for (std::size_t i = 0; i < scopeModes_.size(); ++i) {
        const SettingsSection m(settings_, Name + ".Mode." + std::to_string(i), kOwner);
        ScopeModeRec& r = scopeModes_[i];
        r.LogMode = m.readBool("LogMode", true);
        r.FastMode = m.readBool("FastMode", false);
        r.Chn1Shift = m.readSingle("Chn1.Shift", 0.0f);
        r.Chn2Shift = m.readSingle("Chn2.Shift", 0.0f);
        r.Chn1Gain = storedGain(m.readSingle("Chn1.Gain", 1.0f));
        r.Chn2Gain = storedGain(m.readSingle("Chn2.Gain", 1.0f));
        r.Chn1Enabled = m.readBool("Chn1.Enabled", true);
        r.Chn2Enabled = m.readBool("Chn2.Enabled", true);
        r.Chn1TriggerOn = m.readBool("Chn1.TriggerOn", true);
        r.Chn2TriggerOn = m.readBool("Chn2.TriggerOn", false);
    }
}

void clsSpectrumAnalyser::saveSettings() {
    for (std::size_t i = 0; i < scopeModes_.size(); ++i) {
        SettingsSection m(settings_, Name + ".Mode." + std::to_string(i), kOwner);
        const ScopeModeRec& r = scopeModes_[i];
        m.writeBool("LogMode", r.LogMode);
        m.writeBool("FastMode", r.FastMode);
        m.writeSingle("Chn1.Shift", r.Chn1Shift);
        m.writeSingle("Chn2.Shift", r.Chn2Shift);
        m.writeSingle("Chn1.Gain", r.Chn1Gain);
        m.writeSingle("Chn2.Gain", r.Chn2Gain);
        m.writeBool("Chn1.Enabled", r.Chn1Enabled);
        m.writeBool("Chn2.Enabled", r.Chn2Enabled);
        m.writeBool("Chn1.TriggerOn", r.Chn1TriggerOn);
        m.writeBool("Chn2.TriggerOn", r.Chn2TriggerOn);
    }
    SettingsSection s(settings_, Name, kOwner);
    s.writeInt("Mode", mode_);
    s.writeBool("ShowNotch", showNotch_);
    s.writeBool("ShowFilter", showFilter_);
    s.writeBool("ReverseSpectrum", ReverseSpectrum);
    s.writeBool("Active", Active);
    s.writeBool("SmoothSpectrum", SmoothSpectrum);
    s.writeBool("AutoGain", AutoGain);
    s.writeInt("SpectrumWidth", SpectrumWidth);
    runtime::resumeNext([&] { s.writeInt("TriggerChn", TriggerChn()); }); // a mode with no record has none
    s.writeBool("HideFreqTooltip", hideFreqToolTip_);
    s.writeInt("SpectrumSmooth", spectrumSmooth_);
    s.writeInt("FrameRate", frameRate_);
    s.writeInt("DefaultSmoothCount", DefaultSmoothCount);
    s.writeInt("Y1BaseColour", y1BaseColour_);
    s.writeInt("Y2BaseColour", y2BaseColour_);
    s.writeInt("ControlColourNormal", ControlColourNormal);
    s.writeInt("ControlColourFocused", ControlColourFocused);
    s.writeInt("NotchFilterColour", notchFilterColour_);
    s.writeInt("FilterCurveColour", filterCurveColour_);
    s.writeInt("ScopeBackColour", scopeBackColour_);
    s.writeInt("GraticuleColour", graticuleColour_);
    s.writeInt("XTextColour", xTextColour_);
    s.writeInt("YTextColour", yTextColour_);
    s.commit();
}

// ---- properties ----

void clsSpectrumAnalyser::setSpectrumSmooth(int32_t n) {
    spectrumSmooth_ = n;
    if (n <= 0) {
        SmoothDivider = 0.0f;
        return;
    }
    // Beyond what any history can hold only the sum's value matters, not a billion-step loop.
    if (n > display::kSmoothHistoryLength) {
        SmoothDivider = static_cast<float>((static_cast<double>(n) + 1.0) / 2.0);
        return;
    }
    float sum = 0.0f;
    for (int32_t i = 1; i <= n; ++i)
        sum = static_cast<float>(static_cast<double>(sum) + static_cast<double>(i) / n);
    SmoothDivider = sum;
}

void clsSpectrumAnalyser::SetChannelBrightness(int16_t Channel, int16_t level) {
    const int32_t base = Channel == 0 ? y1BaseColour_ : Channel == 1 ? y2BaseColour_ : 0;
    // byte x level / 100 rounded, halves to even; only the low 8 bits count.
    const auto scale = [level](int32_t byte) {
        return runtime::CLng(static_cast<double>(int64_t{byte} * level) / 100.0) & 0xFF;
    };
    const int32_t blue = scale(base / 65536);
    const int32_t green = scale((base / 256) & 255);
    const int32_t red = scale(base & 255);
    const int32_t colour = (red + 256 * green + 65536 * blue) & 0xFFFFFF;
    if (Channel == 0)
        Y1Colour = colour;
    else if (Channel == 1)
        Y2Colour = colour;
}

ScopeModeRec& clsSpectrumAnalyser::rec() {
    if (mode_ < display::kModeSpectrum || mode_ > display::kModeXY)
        fail(runtime::err::kSubscriptOutOfRange, "mode");
    return scopeModes_[static_cast<std::size_t>(mode_)];
}

const ScopeModeRec& clsSpectrumAnalyser::rec() const {
    return const_cast<clsSpectrumAnalyser*>(this)->rec();
}

const ScopeModeRec& clsSpectrumAnalyser::ScopeModes(int32_t m) const {
    if (m < 0 || m >= static_cast<int32_t>(scopeModes_.size()))
        fail(runtime::err::kSubscriptOutOfRange, "ScopeModes");
    return scopeModes_[static_cast<std::size_t>(m)];
}

void clsSpectrumAnalyser::setTriggerChn(int16_t t) {
    ScopeModeRec& r = rec();
    r.TriggerChn = t;
    r.Chn1TriggerOn = t == 1;
    r.Chn2TriggerOn = t == 2;
}

void clsSpectrumAnalyser::setChn1Shift(float s) {
    ScopeModeRec& r = rec();
    r.Chn1Shift = s;
    r.Chn1ShiftOffset = s / 150.0f * YScaleRange();
}

void clsSpectrumAnalyser::setChn2Shift(float s) {
    ScopeModeRec& r = rec();
    r.Chn2Shift = s;
    r.Chn2ShiftOffset = s / 150.0f * YScaleRange();
}

float clsSpectrumAnalyser::YScaleMax() const {
    const ScopeModeRec& r = rec();
    return r.LogMode ? r.LogMax : r.LinMax;
}

float clsSpectrumAnalyser::YScaleRange() const {
    const ScopeModeRec& r = rec();
    return r.LogMode ? r.LogRange : r.LinRange;
}

void clsSpectrumAnalyser::setMode(int32_t m) {
    mode_ = m;
    if (m == display::kModeXY) {
        scopeModes_[display::kModeXY].Chn1Enabled = true;
        scopeModes_[display::kModeXY].Chn2Enabled = true;
    }
    runtime::resumeNext([&] { SetupDisplay(); });
}

// ---- data path ----

clsFFTReal& clsSpectrumAnalyser::fft(const char* routine) const {
    if (!realFFT_) fail(runtime::err::kObjectNotSet, routine);
    return *realFFT_;
}

ui::Picture& clsSpectrumAnalyser::picture(ui::Picture* p, const char* routine) const {
    if (!p) fail(runtime::err::kObjectNotSet, routine);
    return *p;
}

void clsSpectrumAnalyser::init() {
    // An order whose power of two no Long holds is Overflow; the transform refuses what it cannot do
    // before anything is made for it.
    const int32_t points = runtime::CLng(std::ldexp(1.0, std::clamp(Order, -64, 64)));
    Points = points;
    Gain = 1.0f;
    auto transform = std::make_unique<clsFFTReal>(nerix_);
    transform->FFTInit(points);
    const auto size = static_cast<std::size_t>(points) + 1;
    for (std::vector<float>* v :
         {&bufI_, &bufQ_, &workRe_, &workIm_, &trace1_, &trace2_, &filterPower_, &filterCurve_, &trigFlags_})
        v->assign(size, 0.0f);
    iqPower_.assign(static_cast<std::size_t>(points), 0.0f);
    filterTaps_.assign(static_cast<std::size_t>(std::max(points, display::kFilterTaps)), 0.0f);
    smoothSum_.assign(static_cast<std::size_t>(points / 2), 0.0f);
    realFFT_ = std::move(transform);
    ++dataChanges_;
    SpectrumWidth = FSampling / 2;
    hzPerBin_ = static_cast<float>(static_cast<double>(SpectrumWidth) / points * 2);
    StartBin = runtime::CLng(divide(FStart, hzPerBin_, "init"));
    StopBin = runtime::CLng(divide(FEnd, hzPerBin_, "init"));
    SetupDisplay();
    Initialised = true;
}

void clsSpectrumAnalyser::SetupDisplay() {
    if (initialising_ || setupBusy_) return;
    const ScopedFlag busy(setupBusy_);
    if (!Initialised) init();
    ui::Picture& p0 = picture(picture0_, "SetupDisplay");
    ui::Picture& p1 = picture(picture1_, "SetupDisplay");
    p0.setBackColor(0);
    p0.setFontName("Tahoma");
    p0.setFontSize(7);
    p0.setForeColor(0x00CF00);
    const int64_t span = int64_t{StopBin} - StartBin;
    if (span > 0) {
        if (mode_ == display::kModeSpectrum || mode_ == display::kModeTime) {
            p0.setScaleLeft(0);
            p0.setScaleWidth(static_cast<double>(span));
            p0.setScaleTop(YScaleMax());
            p0.setScaleHeight(-YScaleRange());
        } else if (mode_ == display::kModeXY) {
            // The same scale per unit of length on both axes.
            const double r = divide(p0.Width(), p0.Height(), "SetupDisplay");
            p0.setScaleTop(YScaleMax());
            p0.setScaleHeight(-YScaleRange());
            p0.setScaleLeft(-r * YScaleMax());
            p0.setScaleWidth(r * YScaleRange());
        }
    } else {
        p0.setScaleWidth(100);
    }
    p0.setLeft(30);
    p0.setTop(180);
    p0.setHeight(p0.ContainerScaleHeight() - 180 - 50);
    p1.setBackColor(p0.BackColor());
    p1.Move(p0.Left(), p0.Top(), p0.Width(), p0.Height());
    p1.setFontName(p0.FontName());
    p1.setFontSize(p0.FontSize());
    p1.setScaleHeight(p0.ScaleHeight());
    p1.setScaleLeft(p0.ScaleLeft());
    p1.setScaleTop(p0.ScaleTop());
    p1.setScaleWidth(p0.ScaleWidth());
    DrawGraticule(p0);
    DrawGraticule(p1);
    p0.setVisible(true);
    p0.ZOrder();
    p1.setVisible(false);
    pageShowsKey_ = {false, false};
    drawPage_ = 0;
}

void clsSpectrumAnalyser::LoadSamples_S(std::span<const float> channel1, std::span<const float> channel2) {
    if (!Active) return;
    const int32_t n = fft("LoadSamples_S").Points;
    need(channel1.size(), n, "LoadSamples_S");
    need(channel2.size(), n, "LoadSamples_S");
    nerix_.CopySingles(channel1.data(), bufI_.data(), n);
    nerix_.CopySingles(channel2.data(), bufQ_.data(), n);
    ++dataChanges_;
}

void clsSpectrumAnalyser::LoadSamples_INT16(std::span<const int16_t> channel1,
                                            std::span<const int16_t> channel2) {
    if (!Active) return;
    const int32_t n = fft("LoadSamples_INT16").Points;
    need(channel1.size(), n, "LoadSamples_INT16");
    need(channel2.size(), n, "LoadSamples_INT16");
    nerix_.Dll().Int16ToFloat_S_2(channel1.data(), bufI_.data(), n);
    nerix_.Dll().Int16ToFloat_S_2(channel2.data(), bufQ_.data(), n);
    ++dataChanges_;
}

void clsSpectrumAnalyser::LoadFilterCoeffs_T_S(std::span<const float> Coeffs_S) {
    clsFFTReal& transform = fft("LoadFilterCoeffs_T_S");
    const int32_t n = transform.Points;
    // The set-up hands over its filter's taps; fewer are padded with zeros, more are not read.
    const auto taken = std::min<std::size_t>(Coeffs_S.size(), display::kFilterTaps);
    std::fill(filterTaps_.begin(), filterTaps_.end(), 0.0f);
    nerix_.CopySingles(Coeffs_S.data(), filterTaps_.data(), static_cast<int32_t>(taken));
    nerix_.ScaleSingles(LogMode() ? 12.0f : YScaleMax(), filterTaps_.data(), display::kFilterTaps);
    transform.FFT_Real_S_2(std::span<const float>(filterTaps_).first(static_cast<std::size_t>(n)), workRe_,
                           workIm_);
    const int32_t half = n / 2;
    ++dataChanges_;
    nerix_.Dll().PowerSpectrum_S_2(workRe_.data(), workIm_.data(), filterPower_.data(), half);
    nerix_.Dll().Add_S_1(1.01f, filterPower_.data(), half);
    for (int32_t k = 0; k < half; ++k)
        filterCurve_[static_cast<std::size_t>(k)] =
            static_cast<float>(std::log10(static_cast<double>(filterPower_[static_cast<std::size_t>(k)])));
    const double factor = LogMode() ? 0.89 * YScaleMax() : 0.9 * YScaleMax();
    nerix_.ScaleSingles(static_cast<float>(factor), filterCurve_.data(), half);
}

void clsSpectrumAnalyser::LoadFilterCoeffs_F_S(std::span<const float> Coeffs_S) {
    const int32_t n = fft("LoadFilterCoeffs_F_S").Points;
    need(Coeffs_S.size(), n, "LoadFilterCoeffs_F_S");
    ++dataChanges_;
    nerix_.CopySingles(Coeffs_S.data(), filterPower_.data(), n);
    for (int32_t k = 0; k < n; ++k) {
        const float v = filterPower_[static_cast<std::size_t>(k)];
        if (!(v > 0.0f)) fail(runtime::err::kInvalidCall, "LoadFilterCoeffs_F_S");
        filterCurve_[static_cast<std::size_t>(k)] = static_cast<float>(std::log10(static_cast<double>(v)));
    }
    nerix_.ScaleSingles(20.0f, filterCurve_.data(), n);
}

void clsSpectrumAnalyser::Display() {
    if (displayBusy_) return;
    const ScopedFlag busy(displayBusy_);
    const ScopedFlag drawing(InDisplay);
    Display_S(bufI_, bufQ_);
}

void clsSpectrumAnalyser::Display_I16(std::span<const int16_t> channel1, std::span<const int16_t> channel2) {
    const int32_t n = fft("Display_I16").Points;
    need(channel1.size(), n, "Display_I16");
    need(channel2.size(), n, "Display_I16");
    nerix_.Dll().Int16ToFloat_S_2(channel1.data(), bufI_.data(), n);
    nerix_.Dll().Int16ToFloat_S_2(channel2.data(), bufQ_.data(), n);
    ++dataChanges_;
    Display_S(bufI_, bufQ_);
}

void clsSpectrumAnalyser::DisplayFrozen() {
    if (frozenBusy_) return;
    const ScopedFlag busy(frozenBusy_);
    const ScopedFlag drawing(InDisplay);
    const uint64_t key = frameKey();
    if (pageShowsKey_[0] && pageShowsKey_[1] && pageKey_[0] == key && pageKey_[1] == key) return;
    runtime::resumeNext([&] { DrawAndFlip(); });
}

// The power of bins 0 to n/2 - 1 of n samples.
void clsSpectrumAnalyser::transformPower(std::span<const float> samples, float* power) {
    clsFFTReal& transform = fft("Display_S");
    transform.FFT_Real_S_2(samples, workRe_, workIm_);
    nerix_.Dll().PowerSpectrum_S_2(workRe_.data(), workIm_.data(), power, transform.Points / 2);
}

void clsSpectrumAnalyser::Display_S(std::span<const float> SamplesI_SIN, std::span<const float> Q) {
    (void)SamplesI_SIN; // channel 1 is always the loaded one
    if (!Active || displaySBusy_) return;
    const ScopedFlag busy(displaySBusy_);
    const int32_t n = fft("Display_S").Points;
    need(Q.size(), n, "Display_S");
    ++dataChanges_;
    const auto at = [](std::vector<float>& v, int32_t i) -> float& { return v[static_cast<std::size_t>(i)]; };
    switch (mode_) {
    case display::kModeSpectrum:
        if (iqMode_) {
            // Q's power below I's; the left half runs down Q's bins in steps of two, the right half up
            // I's, both starting at I's lowest bin.
            transformPower(Q, iqPower_.data());
            transformPower(bufI_, iqPower_.data() + n / 2);
            int32_t j = n / 2;
            for (int32_t i = 0; i < n / 4; ++i, j -= 2)
                at(trace1_, i) = at(iqPower_, j);
            j = n / 2;
            for (int32_t i = n / 4; i < n / 2; ++i, j += 2)
                at(trace1_, i) = at(iqPower_, j);
        } else {
            if (Chn1Enabled()) transformPower(bufI_, trace1_.data());
            if (Chn2Enabled()) transformPower(Q, trace2_.data());
        }
        break;
    case display::kModeTime: {
        if (Chn1Enabled()) nerix_.CopySingles(bufI_.data(), trace1_.data(), n);
        if (Chn2Enabled()) nerix_.CopySingles(Q.data(), trace2_.data(), n);
        const int16_t t = scopeModes_[display::kModeTime].TriggerChn;
        if (t == 1 || t == 2) {
            const std::vector<float>& trace = t == 1 ? trace1_ : trace2_;
            TrigBin = 0;
            for (int32_t k = 0; k <= n; ++k) {
                const float v = trace[static_cast<std::size_t>(k)];
                at(trigFlags_, k) = v > 400.0f ? 1.0f : v < -400.0f ? -1.0f : 0.0f;
            }
            // The first k whose sample and the next are both at or above -400, among the starts that
            // leave a screen's width; never past the flags.
            const int64_t last = std::min<int64_t>(int64_t{n} - ScreenWidth - 1, int64_t{n} - 1);
            int32_t found = 0;
            for (int32_t k = 0; k <= last; ++k) {
                if (at(trigFlags_, k) >= 0.0f && at(trigFlags_, k + 1) >= 0.0f) {
                    found = k;
                    break;
                }
            }
            TrigBin = found;
            StartBin = TrigBin;
            StopBin = runtime::checkedNarrow<int32_t>(int64_t{TrigBin} + ScreenWidth - 1);
        }
        break;
    }
    case display::kModeXY:
        nerix_.CopySingles(bufI_.data(), trace1_.data(), n);
        nerix_.CopySingles(Q.data(), trace2_.data(), n);
        break;
    default:
        break;
    }
    DrawAndFlip();
}

void clsSpectrumAnalyser::DrawAndFlip() {
    ui::Picture& p0 = picture(picture0_, "DrawAndFlip");
    ui::Picture& p1 = picture(picture1_, "DrawAndFlip");
    // Until the page is drawn whole it shows no known frame.
    if (drawPage_ == 0 || drawPage_ == 1) pageShowsKey_[static_cast<std::size_t>(drawPage_)] = false;
    if (drawPage_ == 0) {
        DrawGraticule(p0);
        DrawSpectrum(p0);
        p0.setVisible(true);
        p1.setVisible(false);
    } else if (drawPage_ == 1) {
        DrawGraticule(p1);
        DrawSpectrum(p1);
        p0.setVisible(false);
        p1.setVisible(true);
    }
    // Taken after the drawing, which may settle a value it reads (the time scope's width).
    if (drawPage_ == 0 || drawPage_ == 1) {
        const auto page = static_cast<std::size_t>(drawPage_);
        pageKey_[page] = frameKey();
        pageShowsKey_[page] = true;
    }
    drawPage_ = static_cast<int16_t>((drawPage_ - 1) & 1);
}

namespace {

// FNV-1a over the bytes of each value.
class KeyHash {
public:
    template <class T> void operator()(T value) noexcept {
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (const unsigned char b : bytes)
            hash_ = (hash_ ^ b) * 1099511628211ull;
    }
    uint64_t value() const noexcept { return hash_; }

private:
    uint64_t hash_ = 14695981039346656037ull;
};

} // namespace

uint64_t clsSpectrumAnalyser::frameKey() const {
    KeyHash h;
    h(dataChanges_);
    h(mode_), h(Freeze), h(Active), h(AutoGain), h(ReverseSpectrum), h(iqMode_), h(showFilter_),
        h(showNotch_);
    h(FSampling), h(Points), h(SpectrumWidth), h(hzPerBin_), h(FOffset);
    h(StartBin), h(StopBin), h(TrigBin), h(ScreenWidth);
    h(spectrumSmooth_), h(SmoothDivider), h(Gain);
    h(Y1Colour), h(Y2Colour), h(yTextColour_), h(xTextColour_), h(filterCurveColour_), h(notchFilterColour_),
        h(graticuleColour_), h(scopeBackColour_);
    for (const ScopeModeRec& r : scopeModes_) {
        h(r.Chn1Gain), h(r.Chn1Shift), h(r.Chn1ShiftOffset), h(r.Chn1Enabled), h(r.Chn1TriggerOn);
        h(r.Chn2Gain), h(r.Chn2Shift), h(r.Chn2ShiftOffset), h(r.Chn2Enabled), h(r.Chn2TriggerOn);
        h(r.TriggerChn), h(r.LogMode), h(r.FastMode);
        h(r.LinMax), h(r.LinMin), h(r.LinRange), h(r.LogMax), h(r.LogMin), h(r.LogRange);
    }
    h(state_.NotchCentre), h(state_.NotchWidth);
    if (ports_.Filters) h(ports_.Filters->IfFilter.FLow), h(ports_.Filters->IfFilter.FHigh);
    if (ports_.Vfo) h(ports_.Vfo->HiSideLo());
    for (const ui::Picture* p : {picture0_, picture1_}) {
        if (!p) continue;
        h(p->ScaleLeft()), h(p->ScaleTop()), h(p->ScaleWidth()), h(p->ScaleHeight());
        h(p->Width()), h(p->Height()), h(p->PixelWidth()), h(p->PixelHeight());
    }
    return h.value();
}
