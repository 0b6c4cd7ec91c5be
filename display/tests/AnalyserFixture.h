// An analyser set up as the main window sets it up (48000 Hz, order 11, 0 to 24000 Hz), on two
// pictures, with independent references for what it computes.
#pragma once

#include <cmath>
#include <complex>
#include <memory>
#include <numbers>
#include <vector>

#include "display/clsSpectrumAnalyser.h"
#include "dsp/FilterBank.h"
#include "dsp/testing/DspFixture.h"
#include "platform/profile/SettingsStore.h"
#include "radio/clsVFO.h"

inline constexpr int32_t kPoints = 2048;

template <class Picture> struct AnalyserOn : DspLibraries {
    template <class... Args>
    explicit AnalyserOn(Args&&... pictureArgs) : pic0(pictureArgs...), pic1(pictureArgs...) {}

    // The start-up's set-up, on pictures of this many pixels (the set-up then sets their heights).
    void setUp(int32_t pixelWidth, int32_t pixelHeight, int32_t fStart = 0, int32_t fEnd = 24000) {
        pic0.Move(0, 0, pixelWidth * 15, pixelHeight * 15);
        pic1.Move(0, 0, pixelWidth * 15, pixelHeight * 15);
        a.picDisplay0(pic0);
        a.picDisplay1(pic1);
        a.FSampling = 48000;
        a.Order = 11;
        a.FStart = fStart;
        a.FEnd = fEnd;
        a.init();
        // The traces' arithmetic at the neutral gain, whatever a first start gives the spectrum.
        a.setChn1Gain(1);
        a.setChn2Gain(1);
    }
    // A linear spectrum without averaging leaves each trace as the data path computed it.
    void plainSpectrum() {
        a.setLogMode(false);
        a.setFastMode(true);
        a.setMode(display::kModeSpectrum);
    }
    void load(const std::vector<float>& c1, const std::vector<float>& c2) { a.LoadSamples_S(c1, c2); }

    profile::MemorySettingsStore store;
    Picture pic0, pic1;
    clsSpectrumAnalyser a{store, state, wrappers};
};

// amplitude x cos(2 pi bin n / N + phase), N samples.
inline std::vector<float> tone(double bin, double amplitude, double phase = 0.3, int32_t n = kPoints) {
    std::vector<float> x(static_cast<std::size_t>(n));
    for (int32_t k = 0; k < n; ++k)
        x[static_cast<std::size_t>(k)] =
            static_cast<float>(amplitude * std::cos(2 * std::numbers::pi * bin * k / n + phase));
    return x;
}

inline std::vector<float> plus(std::vector<float> a, const std::vector<float>& b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        a[i] += b[i];
    return a;
}

// |X[k]|^2 of the direct DFT, X[k] = sum x[n] e^(-2 pi j k n / N).
inline double dftPower(const std::vector<float>& x, int32_t k) {
    std::complex<double> sum = 0;
    const auto n = static_cast<double>(x.size());
    for (std::size_t i = 0; i < x.size(); ++i)
        sum += static_cast<double>(x[i]) *
               std::polar(1.0, -2 * std::numbers::pi * k * static_cast<double>(i) / n);
    return std::norm(sum);
}
