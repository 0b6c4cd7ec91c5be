// The display's frame: a full spectrum frame (two channels averaged over 8, log scale, graticule with
// labels, filter curve, notch) computed and drawn into pictures of 830 x 300 pixels, the computation
// alone on pictures that draw nothing (with the allocations it makes), the per-block load, and a call of
// the redraw pacing while the display is frozen and nothing has changed (the power off and idle).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <random>
#include <vector>

#include "bench/AllocationCounter.h"
#include "display/clsSpectrumAnalyser.h"
#include "display/frmUpDateScopeDisplay.h"
#include "platform/profile/SettingsStore.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/QtPlatformTimers.h"

namespace {

// A picture that keeps its state and draws nothing, so only the analyser's own work is timed.
class NullPicture final : public ui::Picture {
public:
    void Scale(double l, double t, double w, double h) override {
        left_ = l, top_ = t, width_ = w, height_ = h;
    }
    double ScaleLeft() const override { return left_; }
    double ScaleTop() const override { return top_; }
    double ScaleWidth() const override { return width_; }
    double ScaleHeight() const override { return height_; }
    double Left() const override { return 0; }
    double Top() const override { return 0; }
    double Width() const override { return 830 * 15; }
    double Height() const override { return 300 * 15; }
    void Move(double, double, double, double) override {}
    double ContainerScaleHeight() const override { return 300 * 15 + 230; }
    int32_t PixelWidth() const override { return 830; }
    int32_t PixelHeight() const override { return 300; }
    int32_t ForeColor() const override { return fore_; }
    void setForeColor(int32_t c) override { fore_ = c; }
    int32_t BackColor() const override { return back_; }
    void setBackColor(int32_t c) override { back_ = c; }
    int16_t DrawMode() const override { return mode_; }
    void setDrawMode(int16_t m) override { mode_ = m; }
    int16_t DrawWidth() const override { return drawWidth_; }
    void setDrawWidth(int16_t w) override { drawWidth_ = w; }
    int16_t DrawStyle() const override { return 0; }
    void setDrawStyle(int16_t) override {}
    std::string FontName() const override { return {}; }
    void setFontName(const std::string&) override {}
    double FontSize() const override { return 7; }
    void setFontSize(double) override {}
    double CurrentX() const override { return x_; }
    double CurrentY() const override { return y_; }
    void setCurrentX(double x) override { x_ = x; }
    void setCurrentY(double y) override { y_ = y; }
    void Cls() override {}
    void Line(double, double, double x2, double y2) override {
        x_ = x2;
        y_ = y2;
        benchmark::DoNotOptimize(x_);
    }
    void PolyLineTo(std::span<const ui::ScalePoint> points) override {
        if (points.empty()) return;
        x_ = points.back().x;
        y_ = points.back().y;
        benchmark::DoNotOptimize(x_);
    }
    void Box(double, double, double, double) override {}
    void Print(const std::string& text, bool) override { benchmark::DoNotOptimize(text.data()); }
    double TextWidth(const std::string&) const override { return 10; }
    double TextHeight(const std::string&) const override { return 0.1; }
    bool AutoRedraw() const override { return false; }
    void setAutoRedraw(bool) override {}
    void KeepImage(uint64_t) override {}
    bool RestoreImage(uint64_t) override { return false; }
    bool Visible() const override { return true; }
    void setVisible(bool) override {}
    void ZOrder(int16_t) override {}

private:
    double left_ = 0, top_ = 0, width_ = 1, height_ = 1, x_ = 0, y_ = 0;
    int32_t fore_ = 0, back_ = 0;
    int16_t mode_ = 13, drawWidth_ = 1;
};

struct Receiver {
    ReceiverState state;
    nerixdll::NerixDll nerix;
    nspdll::NspDll nsp;
    Nerix::Wrappers wrappers{state, nerix, nsp};
    profile::MemorySettingsStore store;
    clsSpectrumAnalyser analyser{store, state, wrappers};
    std::vector<std::vector<float>> blocks;

    // The main window's set-up: 48000 Hz, order 11, 0 to 24000 Hz, the filter curve and the notch.
    Receiver(ui::Picture& p0, ui::Picture& p1) {
        analyser.picDisplay0(p0);
        analyser.picDisplay1(p1);
        analyser.FSampling = 48000;
        analyser.Order = 11;
        analyser.FEnd = 24000;
        analyser.init();
        analyser.setShowNotch(true);
        std::vector<float> taps(2048, 0.0f);
        for (int k = 0; k < 255; ++k) {
            const double x = k - 127, fc = 3000.0 / 48000;
            taps[static_cast<std::size_t>(k)] = static_cast<float>(
                (x == 0 ? 2 * fc : std::sin(2 * std::numbers::pi * fc * x) / (std::numbers::pi * x)) / 12);
        }
        analyser.LoadFilterCoeffs_T_S(taps);
        std::mt19937 rng(5);
        std::normal_distribution<float> noise(0.0f, 300.0f);
        for (int b = 0; b < 4; ++b) {
            std::vector<float> block(2048);
            for (std::size_t i = 0; i < block.size(); ++i)
                block[i] = noise(rng) + 4000.0f * static_cast<float>(std::cos(0.37 * static_cast<double>(i)));
            blocks.push_back(std::move(block));
        }
    }
    void frame(std::size_t n) {
        analyser.LoadSamples_S(blocks[n % 4], blocks[(n + 1) % 4]);
        analyser.Display();
    }
};

void BM_DisplayFullFrame830x300(benchmark::State& st) {
    QWidget container;
    container.resize(900, 316); // the set-up leaves the pictures 300 pixels high
    ui::PictureBox p0(&container), p1(&container);
    p0.Move(0, 0, 830 * 15, 300 * 15);
    p1.Move(0, 0, 830 * 15, 300 * 15);
    Receiver rx(p0, p1);
    std::size_t n = 0;
    for (auto _ : st)
        rx.frame(n++);
    st.counters["pixels"] = p0.surface().image().width() * p0.surface().image().height();
}
BENCHMARK(BM_DisplayFullFrame830x300)->Unit(benchmark::kMillisecond);

void BM_DisplayComputationOnly(benchmark::State& st) {
    NullPicture p0, p1;
    Receiver rx(p0, p1);
    std::size_t n = 0;
    for (int warm = 0; warm < 16; ++warm)
        rx.frame(n++);
    const int64_t before = bench::allocationCount();
    int64_t frames = 0;
    for (auto _ : st) {
        rx.frame(n++);
        ++frames;
    }
    st.counters["allocations_per_frame"] = static_cast<double>(bench::allocationCount() - before) /
                                           static_cast<double>(std::max<int64_t>(frames, 1));
}
BENCHMARK(BM_DisplayComputationOnly)->Unit(benchmark::kMicrosecond);

void BM_LoadSamples_S(benchmark::State& st) {
    NullPicture p0, p1;
    Receiver rx(p0, p1);
    std::size_t n = 0;
    for (auto _ : st) {
        rx.analyser.LoadSamples_S(rx.blocks[n % 4], rx.blocks[(n + 1) % 4]);
        benchmark::DoNotOptimize(rx.analyser.BufI().data());
        ++n;
    }
}
BENCHMARK(BM_LoadSamples_S);

// Timers that keep nothing, so only the pacing's own work is timed.
class NullTimers final : public ui::PlatformTimers {
public:
    void SetTimer(const void*, int32_t, int32_t, Callback callback) override {
        benchmark::DoNotOptimize(&callback);
    }
    bool KillTimer(const void*, int32_t) override { return true; }
};

struct NotMinimised final : display::DisplayShell {
    bool Minimised() const override { return false; }
};

// One call of the frozen chain once both pictures show the frozen frame: it draws nothing. The goal is
// under 5 us and no allocation.
template <class Timers> void frozenPacingCalls(benchmark::State& st) {
    NullPicture p0, p1;
    Receiver rx(p0, p1);
    rx.frame(0);
    rx.analyser.Freeze = true;
    Timers timers;
    modTiming::Timing timing;
    CtlArray knobs{};
    knobs[lblFrameRateIndex].Value = 1;
    NotMinimised shell;
    frmUpDateScopeDisplay pacing({timers, timing, rx.analyser, knobs, shell});
    for (int warm = 0; warm < 4; ++warm)
        pacing.UpdateScopeDisplay();
    const int64_t before = bench::allocationCount();
    int64_t calls = 0;
    for (auto _ : st) {
        pacing.UpdateScopeDisplay();
        ++calls;
    }
    st.counters["allocations_per_call"] = static_cast<double>(bench::allocationCount() - before) /
                                          static_cast<double>(std::max<int64_t>(calls, 1));
    pacing.KillScopeTimer();
}

void BM_FrozenPacingCallUnchanged(benchmark::State& st) {
    frozenPacingCalls<NullTimers>(st);
}
BENCHMARK(BM_FrozenPacingCallUnchanged)->Unit(benchmark::kMicrosecond);

// The same with the program's timers: the kill and the re-arm of a QTimer.
void BM_FrozenPacingCallUnchangedQtTimers(benchmark::State& st) {
    frozenPacingCalls<ui::QtPlatformTimers>(st);
}
BENCHMARK(BM_FrozenPacingCallUnchangedQtTimers)->Unit(benchmark::kMicrosecond);

// The plain copy it must match.
void BM_CopyTwoBlocks(benchmark::State& st) {
    std::vector<float> a(2048, 1.0f), b(2048, 2.0f), c(2049), d(2049);
    for (auto _ : st) {
        std::copy(a.begin(), a.end(), c.begin());
        std::copy(b.begin(), b.end(), d.begin());
        benchmark::DoNotOptimize(c.data());
        benchmark::DoNotOptimize(d.data());
    }
}
BENCHMARK(BM_CopyTwoBlocks);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
