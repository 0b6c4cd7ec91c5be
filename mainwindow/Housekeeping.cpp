// The block housekeeping tick, statement by statement, each on its own guard.
#include "mainwindow/Housekeeping.h"

#include <cmath>
#include <cstdlib>
#include <string_view>

#include "dsp/Nerix.h"
#include "dsp/clsFFTFilter.h"
#include "frame/NumberFormat.h"
#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace mainwindow {

using runtime::resumeNext;

namespace {

template <class T> double sumOf(std::span<const T> ring, size_t n) {
    if (ring.size() < n) runtime::raise(runtime::err::kSubscriptOutOfRange, "frmMain.tmrPerfStats_Timer");
    double s = 0;
    for (size_t i = 0; i < n; ++i)
        s += ring[i];
    return s;
}

const BlockStatistics& stats(HousekeepingPorts& p) {
    const BlockStatistics* s = p.Statistics();
    if (!s) runtime::raise(runtime::err::kObjectNotSet, "frmMain.tmrPerfStats_Timer");
    return *s;
}

// Into a text the tick keeps: once it has grown, no tick allocates for it.
const std::string& joined(std::string& out, std::string_view a, std::string_view b) {
    out.assign(a);
    out.append(b);
    return out;
}

const std::string& peakCaption(std::string& out, double p) {
    return joined(out, NumberFormat::Format(p, "##,##0  "),
                  NumberFormat::Format(20 * Nerix::Log10(p / 32767), "###,##0 dB"));
}

} // namespace

void Housekeeping::statistics() {
    HousekeepingPorts& p = ports_;
    const auto n = static_cast<size_t>(kStatRingUsed);
    resumeNext([&] {
        const double peak = sumOf(stats(p).Peak1, n) / kStatRingUsed;
        p.SetStat(0, peakCaption(caption_, peak));
        const int32_t colour = peak >= 0 && peak <= 2047       ? kStatYellow
                               : peak >= 2048 && peak <= 16383 ? kStatGreen
                                                               : kStatRed;
        p.SetStatColour(0, colour);
    });
    resumeNext([&] { p.SetStat(1, peakCaption(caption_, sumOf(stats(p).Peak2, n) / kStatRingUsed)); });
    resumeNext([&] {
        const double g = state_.AgcGain;
        p.SetStat(2, joined(caption_, NumberFormat::Format(g, "#0.00  "),
                            NumberFormat::Format(20 * Nerix::Log10(g), "#0.0 dB")));
    });
    double t = 0, load = 0;
    resumeNext([&] { t = sumOf(stats(p).BlockTimes, n) / kStatRingUsed; });
    resumeNext([&] { load = t / 1000000 / 0.042666666; });
    resumeNext([&] { p.SetStat(4, NumberFormat::Format(load, "#0%")); });
    resumeNext([&] { p.SetStat(5, NumberFormat::Format(t, "#,##0 uS")); });
    const int32_t colour = 0.9 - load > 0 ? kStatGreen : kStatRed;
    resumeNext([&] { p.SetStatColour(4, colour); });
    resumeNext([&] { p.SetStatColour(5, colour); });
}

void Housekeeping::dynamicFilter(bool held) {
    HousekeepingPorts& p = ports_;
    ReceiverState& st = state_;
    resumeNext([&] {
        DynFilterShift = runtime::checkedNarrow<int32_t>(int64_t{PeakFrequency} - DynFilterLastPeak);
    });
    if (!(std::abs(int64_t{DynFilterShift}) > 100) || held) return;
    resumeNext([&] {
        clsFFTFilter& af = p.AfFilter();
        af.FHigh = runtime::checkedNarrow<int32_t>(int64_t{af.FHigh} + DynFilterShift);
        af.FLow = runtime::checkedNarrow<int32_t>(int64_t{af.FLow} + DynFilterShift);
    });
    bool active = false;
    resumeNext([&] { active = p.AfFilter().Active; });
    if (active) {
        resumeNext([&] {
            clsFFTFilter& af = p.AfFilter();
            const double w = double(st.FilterHi) - st.FilterLo;
            if (st.FilterHi - 0.2 * w > af.FHigh) {
                af.FHigh = runtime::CLng(st.FilterHi - 0.2 * w);
                if (af.FHigh > st.FilterHi) af.FHigh = st.FilterHi;
            }
        });
        resumeNext([&] {
            clsFFTFilter& af = p.AfFilter();
            const double w = double(st.FilterHi) - st.FilterLo;
            if (st.FilterLo + 0.1 * w < af.FLow) {
                af.FLow = runtime::CLng(st.FilterLo + 0.1 * w);
                if (af.FLow < st.FilterLo) af.FLow = st.FilterLo;
            }
        });
        resumeNext([&] { p.MakeFilter(p.AfFilter()); });
        resumeNext([&] { p.Pump(); });
    }
    resumeNext([&] { DynFilterLastPeak = PeakFrequency; });
}

void Housekeeping::tmrPerfStats_Timer() {
    if (busy_) return;
    const ScopedFlag busy(busy_);
    sMeter();
    bool minimised = false;
    resumeNext([&] { minimised = ports_.Minimised(); });
    if (!minimised && state_.PerfStatsOn) statistics();

    // On one thread a DSP block still running after a pump is suspended below this tick: waiting for it
    // would never end, so the designs are left for a later tick.
    resumeNext([&] { ports_.Pump(); });
    const bool held = state_.DspBusy;
    if (state_.FiltersDirty && !held) {
        bool done = false;
        resumeNext([&] { done = ports_.RebuildFilters(); });
        resumeNext([&] { ports_.Pump(); });
        if (done && !state_.DspBusy) state_.FiltersDirty = false;
    }
    if (state_.DynFilterActive || state_.NotchMode == 1) trackPeak();
    if (state_.DynFilterActive) dynamicFilter(held);
    notch(held);
    resumeNext([&] { ports_.SetStat(3, NumberFormat::Format(ports_.OscOut() / 10.0, "#0 000 000 Hz")); });
    modelControls();
}

// The level over the noise floor, which "ZeroS" takes from the recent block powers first.
void Housekeeping::sMeter() {
    HousekeepingPorts& p = ports_;
    ReceiverState& st = state_;
    resumeNext([&] {
        double s = 0;
        for (size_t i = 0; i < 6; ++i)
            s += st.LevelRing[i];
        SMeterLevel = static_cast<float>(s / 6);
    });
    if (CalibrateSMeterRequest) {
        CalibrateSMeterRequest = false;
        resumeNext([&] {
            double s = 0;
            for (size_t i = 0; i < 234; ++i)
                s += st.BlockPowerRing[i];
            st.NoiseFloor = static_cast<float>(std::sqrt(s / (234.0 * 2048.0)));
        });
        resumeNext([&] {
            p.SetSMeterToolTip("Meter Backoff=" +
                               NumberFormat::Format(20 * Nerix::Log10(st.NoiseFloor), "#0.00 dB"));
        });
    }
    resumeNext([&] {
        SMeterLevel -= st.NoiseFloor;
        if (!(SMeterLevel >= 0)) SMeterLevel = 0; // NaN too
    });
    resumeNext([&] { p.UpdateSMeter(SMeterLevel); });
}

// The audio's strongest frequency, averaged over the peak bins, for the automatic notch and the dynamic
// filter.
void Housekeeping::trackPeak() {
    HousekeepingPorts& p = ports_;
    ReceiverState& st = state_;
    int64_t b = 0;
    resumeNext([&] {
        double s = 0;
        for (size_t i = 0; i < 100; ++i)
            s += st.PeakBinRing[i];
        b = runtime::CLngLng(s) / 100;
    });
    resumeNext([&] {
        const int32_t hzPerBin = runtime::CLng(p.NotchFilter().HzPerBin);
        b += runtime::checkedDivide(int64_t{st.FilterLo}, int64_t{hzPerBin});
    });
    resumeNext([&] {
        const clsFFTFilter& n = p.NotchFilter();
        const int64_t half = n.FSampling / 2;
        PeakFrequency = runtime::checkedNarrow<int32_t>(runtime::checkedDivide(half * b, int64_t{n.Points}));
    });
    resumeNext([&] { st.NotchCentre = PeakFrequency; });
    resumeNext([&] {
        p.ShowNotchPeak(NumberFormat::Format(PeakFrequency, "###0"),
                        joined(tip_, "Fcentre : ", NumberFormat::Format(PeakFrequency, "#,###0 Hz")));
    });
}

// The automatic notch follows the peak; a notch marked dirty is designed again unless a block is held.
void Housekeeping::notch(bool held) {
    HousekeepingPorts& p = ports_;
    ReceiverState& st = state_;
    resumeNext([&] {
        if (p.NotchFilter().Active && st.NotchMode == 1) {
            st.NotchLow = st.NotchCentre - st.NotchWidth / 2;
            st.NotchHigh = st.NotchCentre + st.NotchWidth / 2;
            if (std::abs(int64_t{st.NotchCentre} - st.NotchBuiltCentre) > st.NotchWidth / 8)
                st.NotchDirty = true;
        }
    });
    if (!st.NotchDirty || held) return;
    st.NotchDirty = false;
    if (st.NotchMode == 0 || st.NotchMode == 1) {
        resumeNext([&] { p.NotchFilter().FLow = st.NotchLow; });
        resumeNext([&] { p.NotchFilter().FHigh = st.NotchHigh; });
        resumeNext([&] { p.NotchFilter().BandReject = !st.NotchMirror; });
        resumeNext([&] { p.MakeFilter(p.NotchFilter()); });
    }
    st.NotchBuiltCentre = st.NotchCentre;
}

// The model's LO side and the controls it shows.
void Housekeeping::modelControls() {
    HousekeepingPorts& p = ports_;
    ReceiverState& st = state_;
    ModelFlags m;
    bool haveModel = false;
    resumeNext([&] {
        m = p.Model();
        haveModel = true;
    });
    if (!haveModel) return;
    resumeNext([&] {
        if (m.VFOControl)
            st.IQSelectUpper = false;
        else
            st.HiSideLoActive = true;
    });
    resumeNext([&] { p.ShowModelControls(!m.VFOControl, m.LowSideLOOption, !m.IQMode); });
}

} // namespace mainwindow
