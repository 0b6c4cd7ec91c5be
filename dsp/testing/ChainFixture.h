// The receive chain alone over the built libraries (the filter bank, the 4096-point transform and the
// oscillator as the start-up makes them), for tests of the chain's own stages; and measuring helpers
// written from the formulas. Tests of the chain as the program composes it use the receive path.
#pragma once

#include <cmath>
#include <memory>
#include <span>
#include <vector>

#include "dsp/FilterBank.h"
#include "dsp/ReceiveChain.h"
#include "dsp/testing/DspFixture.h"

struct ChainRig : DspLibraries {
    ChainRig() {
        bank = Nerix::CreateFilterBank(wrappers, 12000);
        fft.FFTInit(4096);
        nco.InitNCO(30, 16, 2048);
        chain = std::make_unique<Nerix::ReceiveChain>(state, wrappers, *bank, fft, nco);
    }
    std::unique_ptr<Nerix::FilterBank> bank;
    clsFFTReal fft{wrappers};
    Nerix::NCO nco{wrappers};
    std::unique_ptr<Nerix::ReceiveChain> chain;
};

inline std::vector<float> block(size_t n = Nerix::kBufferLength) {
    return std::vector<float>(n, 0.0f);
}

// A filter designed like another, to run a reference copy of a signal through.
inline void designLike(clsFFTFilter& twin, const clsFFTFilter& f) {
    twin.WindowType = f.WindowType;
    twin.SegmentSize = f.SegmentSize;
    twin.Points = f.Points;
    twin.FSampling = f.FSampling;
    twin.QPhase = f.QPhase;
    twin.NormaliseGain = f.NormaliseGain;
    twin.BandReject = f.BandReject;
    twin.PhaseAngle = f.PhaseAngle;
    twin.FLow = f.FLow;
    twin.FHigh = f.FHigh;
    twin.init(f.Points);
    twin.MakeFilter();
}

// Amplitude of the component at hz in v (direct correlation, Hann window, amplitude-corrected).
template <class T> double toneAmplitude(std::span<const T> v, double hz, double fs = 48000.0) {
    double re = 0, im = 0, wsum = 0;
    const size_t n = v.size();
    for (size_t k = 0; k < n; ++k) {
        const double w = 0.5 - 0.5 * std::cos(2 * M_PI * double(k) / double(n));
        const double th = 2 * M_PI * hz * double(k) / fs;
        re += w * double(v[k]) * std::cos(th);
        im -= w * double(v[k]) * std::sin(th);
        wsum += w;
    }
    return 2.0 * std::hypot(re, im) / wsum;
}

// The audio frequency (100 Hz to 4.5 kHz, 25 Hz steps) where v is strongest.
inline double strongest(std::span<const int16_t> v) {
    double best = 0, at = 0;
    for (double hz = 100; hz <= 4500; hz += 25) {
        const double a = toneAmplitude(v, hz);
        if (a > best) best = a, at = hz;
    }
    return at;
}

inline double maxAbs(std::span<const float> v) {
    double m = 0;
    for (float x : v)
        m = std::max(m, double(std::fabs(x)));
    return m;
}
