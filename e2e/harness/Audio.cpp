#include "e2e/harness/Audio.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>
#include <thread>

namespace fs = std::filesystem;

namespace e2e {

namespace {

std::vector<std::string> pulseArguments(const char* mode, const std::string& device, int latencyMs = 20) {
    return {"pacat",
            mode,
            "--device=" + device,
            "--format=s16le",
            "--rate=48000",
            "--channels=2",
            "--raw",
            "--latency-msec=" + std::to_string(latencyMs)};
}

int counter = 0;

// The samples as fractions of full scale under a Hann window, whose coherent gain is one half.
std::vector<double> windowed(const std::vector<int16_t>& x) {
    std::vector<double> w(x.size());
    const double n = static_cast<double>(x.size());
    for (size_t i = 0; i < x.size(); ++i)
        w[i] = (0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) / (n - 1))) * x[i] /
               32768.0;
    return w;
}

// Goertzel amplitude of windowed samples, where a full-scale sine reads 1.
double amplitude(const std::vector<double>& x, double hz) {
    const size_t n = x.size();
    if (n < 2) return 0;
    const double coeff = 2.0 * std::cos(2.0 * std::numbers::pi * hz / kSampleRate);
    double s1 = 0.0, s2 = 0.0;
    for (const double v : x) {
        const double s0 = v + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = std::max(s1 * s1 + s2 * s2 - coeff * s1 * s2, 0.0);
    return 4.0 * std::sqrt(power) / static_cast<double>(n);
}

double db(double amplitude) {
    return amplitude > 0 ? 20.0 * std::log10(amplitude) : -200.0;
}

} // namespace

ToneSource::ToneSource(const fs::path& folder, double offsetHz, double amplitude, std::chrono::seconds length,
                       std::chrono::milliseconds latency)
    : file_(folder / ("tone-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".raw")) {
    const size_t frames = static_cast<size_t>(length.count()) * kSampleRate;
    std::vector<int16_t> data(frames * 2);
    const double scale = amplitude * 32767.0;
    for (size_t i = 0; i < frames; ++i) {
        const double phase = 2.0 * std::numbers::pi * offsetHz * static_cast<double>(i) / kSampleRate;
        data[2 * i] = static_cast<int16_t>(std::lround(scale * std::cos(phase)));
        data[2 * i + 1] = static_cast<int16_t>(std::lround(scale * std::sin(phase)));
    }
    std::ofstream(file_, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size() * 2));
    auto argv = pulseArguments("--playback", "rx", static_cast<int>(latency.count()));
    player_ = std::make_unique<ChildProcess>(
        "pacat", argv, process::testing::Redirects{.input = file_.string(), .error = "/dev/null"});
}

ToneSource::~ToneSource() {
    stop(*player_);
    std::error_code ignored;
    fs::remove(file_, ignored);
}

Sound Sound::slice(double from, double to) const {
    Sound s;
    const auto at = [&](double t) {
        return static_cast<size_t>(std::clamp(t * kSampleRate, 0.0, static_cast<double>(left.size())));
    };
    s.left.assign(left.begin() + at(from), left.begin() + at(to));
    s.right.assign(right.begin() + at(from), right.begin() + at(to));
    return s;
}

Sound recordSink(const fs::path& folder, const std::string& sink, std::chrono::milliseconds length) {
    const fs::path file =
        folder / ("heard-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".raw");
    // The recorder's first moments hold the stream's start, which the measurements leave out. The stream
    // may take a while to start, so the recording lasts until it holds the frames asked for.
    constexpr auto kLead = 200ms;
    const auto wanted =
        static_cast<std::uintmax_t>(std::chrono::duration<double>(kLead + length).count() * kSampleRate) * 4;
    {
        ChildProcess recorder("pacat", pulseArguments("--record", sink + ".monitor"),
                              process::testing::Redirects{.output = file.string(), .error = "/dev/null"});
        const auto deadline = std::chrono::steady_clock::now() + kLead + length + kBound;
        const auto recorded = [&] {
            std::error_code notYet;
            const auto size = fs::file_size(file, notYet);
            return notYet ? 0 : size;
        };
        while (recorded() < wanted && std::chrono::steady_clock::now() < deadline && !recorder.waitFor(0ms))
            std::this_thread::sleep_for(20ms);
        stop(recorder);
    }
    const std::string bytes = readFile(file);
    std::error_code ignored;
    fs::remove(file, ignored);
    Sound s;
    const size_t frames = bytes.size() / 4;
    const auto* p = reinterpret_cast<const int16_t*>(bytes.data());
    for (size_t i = 0; i < frames; ++i) {
        s.left.push_back(p[2 * i]);
        s.right.push_back(p[2 * i + 1]);
    }
    const double lead = std::chrono::duration<double>(kLead).count();
    return s.slice(std::min(lead, s.seconds()), s.seconds());
}

Sound listenUntil(const fs::path& folder, const std::string& sink,
                  const std::function<bool(const Sound&)>& heard, std::chrono::milliseconds piece,
                  std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        Sound s = recordSink(folder, sink, piece);
        if (heard(s) || std::chrono::steady_clock::now() > deadline) return s;
    }
}

double toneLevelDb(const std::vector<int16_t>& samples, double hz) {
    return db(amplitude(windowed(samples), hz));
}

ToneReading measureTone(const std::vector<int16_t>& samples, double loHz, double hiHz) {
    ToneReading r;
    if (samples.empty()) return r;
    double sum = 0;
    for (const int16_t v : samples)
        sum += (v / 32768.0) * (v / 32768.0);
    r.rmsDb = db(std::sqrt(sum / static_cast<double>(samples.size())));
    const std::vector<double> x = windowed(samples);
    // A coarse search, then the peak to one hertz.
    double best = 0;
    for (double f = loHz; f <= hiHz; f += 5) {
        const double a = amplitude(x, f);
        if (a > best) {
            best = a;
            r.hz = f;
        }
    }
    const double coarse = r.hz;
    for (double f = coarse - 5; f <= coarse + 5; f += 1) {
        const double a = amplitude(x, f);
        if (a > best) {
            best = a;
            r.hz = f;
        }
    }
    r.levelDb = db(best);
    double other = 0;
    for (double f = r.hz - 500; f <= r.hz + 500; f += 5)
        if (std::abs(f - r.hz) >= 40 && f > 0) other = std::max(other, amplitude(x, f));
    r.neighbourDb = db(other);
    return r;
}

} // namespace e2e
