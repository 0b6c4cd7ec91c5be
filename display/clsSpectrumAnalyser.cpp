// The analyser's object and its data path: the set-up, the loading of samples and the frame's
// computation per mode; the frame's drawing is in clsSpectrumAnalyserDraw.cpp.
#include "display/clsSpectrumAnalyser.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "display/AnalyserArithmetic.h"
#include "dsp/FilterBank.h"
#include "frame/NumberFormat.h"
#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "radio/clsVFO.h"

using display::detail::divide;
using display::detail::fail;
using display::detail::need;

clsSpectrumAnalyser::clsSpectrumAnalyser(profile::SettingsStore& settings, ReceiverState& state,
                                         Nerix::Wrappers& nerix, display::AnalyserPorts ports)
    : ScopeSettings(settings), state_(state), nerix_(nerix), ports_(ports), filter_(*this, traces_, nerix),
      spectrum_(modeContext(), filter_, state, ports_), time_(modeContext()), xy_(modeContext()) {}

clsSpectrumAnalyser::~clsSpectrumAnalyser() {
    runtime::resumeNext([&] { saveSettings(SpectrumWidth); });
}

display::ModeContext clsSpectrumAnalyser::modeContext() {
    return {*this, *this, traces_, nerix_};
}

void clsSpectrumAnalyser::setMode(int32_t m) {
    storeMode(m);
    runtime::resumeNext([&] { SetupDisplay(); });
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
    traces_.resize(points);
    filter_.resize(points);
    spectrum_.resize(points);
    time_.resize(points);
    traces_.RealFFT = std::move(transform);
    ++traces_.changes;
    SpectrumWidth = FSampling / 2;
    setHzPerBin(static_cast<float>(static_cast<double>(SpectrumWidth) / points * 2));
    StartBin = runtime::CLng(divide(FStart, HzPerBin(), "init"));
    StopBin = runtime::CLng(divide(FEnd, HzPerBin(), "init"));
    SetupDisplay();
    Initialised = true;
}

void clsSpectrumAnalyser::SetupDisplay() {
    if (setupBusy_) return;
    const ScopedFlag busy(setupBusy_);
    if (!Initialised) init();
    ui::Picture& p0 = picture(picture0_, "SetupDisplay");
    ui::Picture& p1 = picture(picture1_, "SetupDisplay");
    p0.setBackColor(0);
    p0.setFontName("Tahoma");
    p0.setFontSize(7);
    p0.setForeColor(0x00CF00);
    fitScale(p0);
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

// The scale of the mode: the bins across and the mode's scale up; the X-Y plot the same scale per unit of
// length on both axes. An empty span only sets the width.
void clsSpectrumAnalyser::fitScale(ui::Picture& p0) {
    const int64_t span = int64_t{StopBin} - StartBin;
    if (span <= 0) {
        p0.setScaleWidth(100);
        return;
    }
    if (mode() == display::kModeSpectrum || mode() == display::kModeTime) {
        p0.setScaleLeft(0);
        p0.setScaleWidth(static_cast<double>(span));
        p0.setScaleTop(YScaleMax());
        p0.setScaleHeight(-YScaleRange());
    } else if (mode() == display::kModeXY) {
        const double r = divide(p0.Width(), p0.Height(), "SetupDisplay");
        p0.setScaleTop(YScaleMax());
        p0.setScaleHeight(-YScaleRange());
        p0.setScaleLeft(-r * YScaleMax());
        p0.setScaleWidth(r * YScaleRange());
    }
}

void clsSpectrumAnalyser::LoadSamples_S(std::span<const float> channel1, std::span<const float> channel2) {
    if (!Active) return;
    const int32_t n = traces_.fft("LoadSamples_S").Points;
    need(channel1.size(), n, "LoadSamples_S");
    need(channel2.size(), n, "LoadSamples_S");
    nerix_.CopySingles(channel1.data(), traces_.BufI.data(), n);
    nerix_.CopySingles(channel2.data(), traces_.BufQ.data(), n);
    ++traces_.changes;
}

void clsSpectrumAnalyser::LoadSamples_INT16(std::span<const int16_t> channel1,
                                            std::span<const int16_t> channel2) {
    if (!Active) return;
    const int32_t n = traces_.fft("LoadSamples_INT16").Points;
    need(channel1.size(), n, "LoadSamples_INT16");
    need(channel2.size(), n, "LoadSamples_INT16");
    nerix_.Dll().Int16ToFloat_S_2(channel1.data(), traces_.BufI.data(), n);
    nerix_.Dll().Int16ToFloat_S_2(channel2.data(), traces_.BufQ.data(), n);
    ++traces_.changes;
}

void clsSpectrumAnalyser::Display() {
    if (displayBusy_) return;
    const ScopedFlag busy(displayBusy_);
    const ScopedFlag drawing(InDisplay);
    Display_S(traces_.BufI, traces_.BufQ);
}

void clsSpectrumAnalyser::Display_I16(std::span<const int16_t> channel1, std::span<const int16_t> channel2) {
    const int32_t n = traces_.fft("Display_I16").Points;
    need(channel1.size(), n, "Display_I16");
    need(channel2.size(), n, "Display_I16");
    nerix_.Dll().Int16ToFloat_S_2(channel1.data(), traces_.BufI.data(), n);
    nerix_.Dll().Int16ToFloat_S_2(channel2.data(), traces_.BufQ.data(), n);
    ++traces_.changes;
    Display_S(traces_.BufI, traces_.BufQ);
}

void clsSpectrumAnalyser::DisplayFrozen() {
    if (frozenBusy_) return;
    const ScopedFlag busy(frozenBusy_);
    const ScopedFlag drawing(InDisplay);
    const uint64_t key = frameKey();
    if (pageShowsKey_[0] && pageShowsKey_[1] && pageKey_[0] == key && pageKey_[1] == key) return;
    runtime::resumeNext([&] { DrawAndFlip(); });
}

void clsSpectrumAnalyser::Display_S(std::span<const float> SamplesI_SIN, std::span<const float> Q) {
    (void)SamplesI_SIN; // channel 1 is always the loaded one
    if (!Active || displaySBusy_) return;
    const ScopedFlag busy(displaySBusy_);
    const int32_t n = traces_.fft("Display_S").Points;
    need(Q.size(), n, "Display_S");
    ++traces_.changes;
    switch (mode()) {
    case display::kModeSpectrum:
        spectrum_.compute(Q, n);
        break;
    case display::kModeTime:
        time_.compute(Q, n);
        break;
    case display::kModeXY:
        xy_.compute(Q, n);
        break;
    default:
        break;
    }
    DrawAndFlip();
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
    void operator()(const std::string& text) noexcept {
        (*this)(text.size());
        for (const char c : text)
            (*this)(c);
    }
    uint64_t value() const noexcept { return hash_; }

private:
    uint64_t hash_ = 14695981039346656037ull;
};

} // namespace

uint64_t clsSpectrumAnalyser::frameKey() const {
    KeyHash h;
    h(traces_.changes);
    h(mode()), h(Freeze), h(Active), h(AutoGain), h(ReverseSpectrum), h(IQMode()), h(ShowFilter()),
        h(ShowNotch());
    h(FSampling), h(Points), h(SpectrumWidth), h(HzPerBin()), h(FOffset);
    h(StartBin), h(StopBin), h(TrigBin), h(ScreenWidth);
    h(SpectrumSmooth()), h(SmoothDivider), h(Gain);
    h(Y1Colour), h(Y2Colour), h(YTextColour()), h(XTextColour()), h(FilterCurveColour()),
        h(NotchFilterColour()), h(GraticuleColour()), h(ScopeBackColour());
    for (int32_t m = display::kModeSpectrum; m <= display::kModeXY; ++m) {
        const ScopeModeRec& r = ScopeModes(m);
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

uint64_t clsSpectrumAnalyser::graticuleKey(const ui::Picture& pic) const {
    KeyHash h;
    h(pic.ScaleLeft()), h(pic.ScaleTop()), h(pic.ScaleWidth()), h(pic.ScaleHeight());
    h(pic.PixelWidth()), h(pic.PixelHeight());
    h(pic.FontName()), h(pic.FontSize());
    h(pic.DrawMode()), h(pic.DrawWidth()), h(pic.DrawStyle());
    h(mode()), h(IQMode()), h(ReverseSpectrum), h(LogMode()), h(Chn1Gain());
    h(ScopeModes(display::kModeSpectrum).LogMode);
    h(FSampling), h(SpectrumWidth), h(HzPerBin()), h(FOffset), h(StartBin), h(StopBin);
    h(ScopeBackColour()), h(GraticuleColour()), h(YTextColour()), h(XTextColour());
    const NumberFormat::Separators separators = NumberFormat::userSeparators();
    h(separators.decimal), h(separators.thousands);
    return h.value();
}
