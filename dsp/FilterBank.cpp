// Builds the filter bank in its fixed order of creation.
#include "dsp/FilterBank.h"

#include "platform/runtime/RuntimeError.h"

namespace Nerix {

FilterBank::FilterBank(Wrappers& nerix)
    : DemodAfFilter(nerix), NrPostFilter(nerix), AfFilter(nerix), IfFilter(nerix), IfFilter2(nerix),
      FmHilbertDelay(nerix), FmHilbertShift(nerix), IqCorrectionFilterI(nerix), HilbertFilter1(nerix),
      CarrierFilter(nerix), IQAMFilterI(nerix), IQAMFilterQ(nerix), WideFilterI(nerix), WideFilterQ(nerix),
      SsbFilterI(nerix), SsbFilterQ(nerix), NotchFilter(nerix), NotchFilter2(nerix) {}

namespace {

void frame(clsFFTFilter& f) {
    f.SegmentSize = kSegmentSize;
    f.Points = kBlockPoints;
    f.FSampling = kSampleRate;
}

void finish(clsFFTFilter& f, int32_t low, int32_t high, bool design) {
    f.FLow = low;
    f.FHigh = high;
    f.init(kBlockPoints);
    if (design) f.MakeFilter();
}

void bandPass(clsFFTFilter& f, int32_t low, int32_t high, bool qPhase, bool design) {
    frame(f);
    f.QPhase = qPhase;
    f.NormaliseGain = true;
    f.BandReject = false;
    finish(f, low, high, design);
}

void ifBand(clsFFTFilter& f, int32_t low, int32_t high) {
    f.WindowType = 0;
    frame(f);
    f.QPhase = false;
    f.NormaliseGain = false;
    f.BandReject = false;
    finish(f, low, high, true);
}

void notch(clsFFTFilter& f) {
    f.SegmentSize = kSegmentSize;
    f.WindowType = 1;
    f.Points = kBlockPoints;
    f.FSampling = kSampleRate;
    f.QPhase = false;
    f.NormaliseGain = true;
    f.BandReject = true;
    finish(f, 950, 1050, false);
}

void loadHilbert(clHilbert& h) {
    if (h.Load(128, kBlockPoints) != 0) runtime::raise(runtime::err::kInvalidCall, "CreateFilterBank");
}

} // namespace

std::unique_ptr<FilterBank> CreateFilterBank(Wrappers& nerix, int32_t baseIf) {
    auto bank = std::make_unique<FilterBank>(nerix);
    FilterBank& b = *bank;
    bandPass(b.DemodAfFilter, 100, 4500, false, true);
    bandPass(b.NrPostFilter, 100, 4500, false, true);
    bandPass(b.AfFilter, 100, 4500, false, true);
    ifBand(b.IfFilter, baseIf - 4500, baseIf + 4500);
    ifBand(b.IfFilter2, b.IfFilter.FLow, b.IfFilter.FHigh);
    loadHilbert(b.FmHilbertDelay);
    loadHilbert(b.FmHilbertShift);
    bandPass(b.IqCorrectionFilterI, baseIf - baseIf - 20, 2 * baseIf - 20, false, true);
    bandPass(b.HilbertFilter1, b.IqCorrectionFilterI.FLow, b.IqCorrectionFilterI.FHigh,
             !b.IqCorrectionFilterI.QPhase, true);
    b.HilbertFilter1.Name = "HilbertFilter1";
    bandPass(b.CarrierFilter, 11950, 12050, false, true);
    b.IQAMFilterI.Name = "IQAMFilterI";
    b.IQAMFilterI.PhaseAngle = 0.0;
    bandPass(b.IQAMFilterI, 0, 6000, false, true);
    b.IQAMFilterQ.Name = "IQAMFilterQ";
    b.IQAMFilterQ.PhaseAngle = 0.0;
    bandPass(b.IQAMFilterQ, b.IQAMFilterI.FLow, b.IQAMFilterI.FHigh, b.IQAMFilterI.QPhase, true);
    bandPass(b.WideFilterI, baseIf - baseIf - 1000, 2 * baseIf - 1000, false, true);
    bandPass(b.WideFilterQ, b.WideFilterI.FLow, b.WideFilterI.FHigh, !b.WideFilterI.QPhase, true);
    frame(b.SsbFilterI);
    b.SsbFilterI.QPhase = false;
    b.SsbFilterI.NormaliseGain = true;
    finish(b.SsbFilterI, 300, 2300, false);
    frame(b.SsbFilterQ);
    b.SsbFilterQ.QPhase = !b.SsbFilterI.QPhase;
    b.SsbFilterQ.NormaliseGain = true;
    finish(b.SsbFilterQ, b.SsbFilterI.FLow, b.SsbFilterI.FHigh, false);
    notch(b.NotchFilter);
    notch(b.NotchFilter2);
    return bank;
}

} // namespace Nerix
