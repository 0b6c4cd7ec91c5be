// The block housekeeping tick, statement by statement, each on its own guard.
#include "mainwindow/Housekeeping.h"

#include <cmath>
#include <cstdlib>

#include "dsp/Nerix.h"
#include "dsp/clsFFTFilter.h"
#include "frame/NumberFormat.h"
#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace mainwindow {

namespace {

template <class F> void stmt(F&& f) {
    runtime::resumeNext(std::forward<F>(f));
}

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

std::string peakCaption(double p) {
    return NumberFormat::Format(p, "##,##0  ") +
           NumberFormat::Format(20 * Nerix::Log10(p / 32767), "###,##0 dB");
}

} // namespace

void Housekeeping::statistics() {
    HousekeepingPorts& p = ports_;
    const auto n = static_cast<size_t>(kStatRingUsed);
    stmt([&] {
        const double peak = sumOf(stats(p).Peak1, n) / kStatRingUsed;
        p.SetStat(0, peakCaption(peak));
        const int32_t colour = peak >= 0 && peak <= 2047       ? kStatYellow
                               : peak >= 2048 && peak <= 16383 ? kStatGreen
                                                               : kStatRed;
        p.SetStatColour(0, colour);
    });
    stmt([&] { p.SetStat(1, peakCaption(sumOf(stats(p).Peak2, n) / kStatRingUsed)); });
    stmt([&] {
        const double g = state_.AgcGain;
        p.SetStat(2,
                  NumberFormat::Format(g, "#0.00  ") + NumberFormat::Format(20 * Nerix::Log10(g), "#0.0 dB"));
    });
    double t = 0, load = 0;
    stmt([&] { t = sumOf(stats(p).BlockTimes, n) / kStatRingUsed; });
    stmt([&] { load = t / 1000000 / 0.042666666; });
    stmt([&] { p.SetStat(4, NumberFormat::Format(load, "#0%")); });
    stmt([&] { p.SetStat(5, NumberFormat::Format(t, "#,##0 uS")); });
    const int32_t colour = 0.9 - load > 0 ? kStatGreen : kStatRed;
    stmt([&] { p.SetStatColour(4, colour); });
    stmt([&] { p.SetStatColour(5, colour); });
}

void Housekeeping::dynamicFilter(bool held) {
    HousekeepingPorts& p = ports_;
    ReceiverState& st = state_;
    stmt([&] {
        DynFilterShift = runtime::checkedNarrow<int32_t>(int64_t{PeakFrequency} - DynFilterLastPeak);
    });
    if (!(std::abs(int64_t{DynFilterShift}) > 100) || held) return;
    stmt([&] {
        clsFFTFilter& af = p.AfFilter();
        af.FHigh = runtime::checkedNarrow<int32_t>(int64_t{af.FHigh} + DynFilterShift);
        af.FLow = runtime::checkedNarrow<int32_t>(int64_t{af.FLow} + DynFilterShift);
    });
    bool active = false;
    stmt([&] { active = p.AfFilter().Active; });
    if (active) {
        stmt([&] {
            clsFFTFilter& af = p.AfFilter();
            const double w = double(st.FilterHi) - st.FilterLo;
            if (st.FilterHi - 0.2 * w > af.FHigh) {
                af.FHigh = runtime::CLng(st.FilterHi - 0.2 * w);
                if (af.FHigh > st.FilterHi) af.FHigh = st.FilterHi;
            }
        });
        stmt([&] {
            clsFFTFilter& af = p.AfFilter();
            const double w = double(st.FilterHi) - st.FilterLo;
            if (st.FilterLo + 0.1 * w < af.FLow) {
                af.FLow = runtime::CLng(st.FilterLo + 0.1 * w);
                if (af.FLow < st.FilterLo) af.FLow = st.FilterLo;
            }
        });
        stmt([&] { p.MakeFilter(p.AfFilter()); });
        stmt([&] { p.Pump(); });
    }
    stmt([&] { DynFilterLastPeak = PeakFrequency; });
}

void Housekeeping::tmrPerfStats_Timer() {
    if (busy_) return;
    const ScopedFlag busy(busy_);
    HousekeepingPorts& p = ports_;
    ReceiverState& st = state_;

    // S-meter
    stmt([&] {
        double s = 0;
        for (size_t i = 0; i < 6; ++i)
            s += st.LevelRing[i];
        SMeterLevel = static_cast<float>(s / 6);
    });
    if (CalibrateSMeterRequest) {
        CalibrateSMeterRequest = false;
        stmt([&] {
            double s = 0;
            for (size_t i = 0; i < 234; ++i)
                s += st.BlockPowerRing[i];
            st.NoiseFloor = static_cast<float>(std::sqrt(s / (234.0 * 2048.0)));
        });
        stmt([&] {
            p.SetSMeterToolTip("Meter Backoff=" +
                               NumberFormat::Format(20 * Nerix::Log10(st.NoiseFloor), "#0.00 dB"));
        });
    }
    stmt([&] {
        SMeterLevel -= st.NoiseFloor;
        if (!(SMeterLevel >= 0)) SMeterLevel = 0; // NaN too
    });
    stmt([&] { p.UpdateSMeter(SMeterLevel); });

    bool minimised = false;
    stmt([&] { minimised = p.Minimised(); });
    if (!minimised && st.PerfStatsOn) statistics();

    // On one thread a DSP block still running after a pump is suspended below this tick: waiting for it
    // would never end, so the designs are left for a later tick.
    stmt([&] { p.Pump(); });
    const bool held = st.DspBusy;

    if (st.FiltersDirty && !held) {
        bool done = false;
        stmt([&] { done = p.RebuildFilters(); });
        stmt([&] { p.Pump(); });
        if (done && !st.DspBusy) st.FiltersDirty = false;
    }

    if (st.DynFilterActive || st.NotchMode == 1) {
        int64_t b = 0;
        stmt([&] {
            double s = 0;
            for (size_t i = 0; i < 100; ++i)
                s += st.PeakBinRing[i];
            b = runtime::CLngLng(s) / 100;
        });
        stmt([&] {
            const int32_t hzPerBin = runtime::CLng(p.NotchFilter().HzPerBin);
            b += runtime::checkedDivide(int64_t{st.FilterLo}, int64_t{hzPerBin});
        });
        stmt([&] {
            const clsFFTFilter& n = p.NotchFilter();
            const int64_t half = n.FSampling / 2;
            PeakFrequency =
                runtime::checkedNarrow<int32_t>(runtime::checkedDivide(half * b, int64_t{n.Points}));
        });
        stmt([&] { st.NotchCentre = PeakFrequency; });
        stmt([&] {
            p.ShowNotchPeak(NumberFormat::Format(PeakFrequency, "###0"),
                            "Fcentre : " + NumberFormat::Format(PeakFrequency, "#,###0 Hz"));
        });
    }

    if (st.DynFilterActive) dynamicFilter(held);

    stmt([&] {
        if (p.NotchFilter().Active && st.NotchMode == 1) {
            st.NotchLow = st.NotchCentre - st.NotchWidth / 2;
            st.NotchHigh = st.NotchCentre + st.NotchWidth / 2;
            if (std::abs(int64_t{st.NotchCentre} - st.NotchBuiltCentre) > st.NotchWidth / 8)
                st.NotchDirty = true;
        }
    });

    if (st.NotchDirty && !held) {
        st.NotchDirty = false;
        if (st.NotchMode == 0 || st.NotchMode == 1) {
            stmt([&] { p.NotchFilter().FLow = st.NotchLow; });
            stmt([&] { p.NotchFilter().FHigh = st.NotchHigh; });
            stmt([&] { p.NotchFilter().BandReject = !st.NotchMirror; });
            stmt([&] { p.MakeFilter(p.NotchFilter()); });
        }
        st.NotchBuiltCentre = st.NotchCentre;
    }

    stmt([&] { p.SetStat(3, NumberFormat::Format(p.OscOut() / 10.0, "#0 000 000 Hz")); });

    ModelFlags m;
    bool haveModel = false;
    stmt([&] {
        m = p.Model();
        haveModel = true;
    });
    if (haveModel) {
        stmt([&] {
            if (m.VFOControl)
                st.IQSelectUpper = false;
            else
                st.HiSideLoActive = true;
        });
        stmt([&] { p.ShowModelControls(!m.VFOControl, m.LowSideLOOption, !m.IQMode); });
    }
}

} // namespace mainwindow
