// The offline receiver over the receive path.
#include "bench/OfflineReceiver.h"

#include <chrono>
#include <cstring>
#include <fstream>

#include "bench/ReceiverRig.h"
#include "platform/runtime/RuntimeError.h"

namespace offline {

namespace {

constexpr int32_t kN = 2048;

uint32_t le32(const char* p) {
    return uint32_t(uint8_t(p[0])) | uint32_t(uint8_t(p[1])) << 8 | uint32_t(uint8_t(p[2])) << 16 |
           uint32_t(uint8_t(p[3])) << 24;
}
uint16_t le16(const char* p) {
    return uint16_t(uint8_t(p[0]) | uint8_t(p[1]) << 8);
}
void put32(std::ofstream& f, uint32_t v) {
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    f.write(b, 4);
}
void put16(std::ofstream& f, uint16_t v) {
    const char b[2] = {char(v), char(v >> 8)};
    f.write(b, 2);
}

// The played blocks, in order.
struct Collector final : mainwindow::BlockOutput {
    std::vector<int16_t> samples;
    void SetOutputAttenuation(int32_t) override {}
    void Output(const int16_t* left, const int16_t*, int32_t n) override {
        samples.insert(samples.end(), left, left + n);
    }
};

} // namespace

Wav readWav(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) runtime::raise(runtime::err::kFileNotFound, "offline.readWav");
    std::vector<char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        runtime::raise(runtime::err::kTypeMismatch, "offline.readWav");
    Wav wav;
    bool format = false;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint32_t size = le32(bytes.data() + at + 4);
        const size_t body = at + 8, end = std::min(bytes.size(), body + size);
        if (std::memcmp(bytes.data() + at, "fmt ", 4) == 0 && end - body >= 16) {
            if (le16(bytes.data() + body) != 1 || le16(bytes.data() + body + 14) != 16)
                runtime::raise(runtime::err::kTypeMismatch, "offline.readWav");
            wav.channels = le16(bytes.data() + body + 2);
            wav.rate = int32_t(le32(bytes.data() + body + 4));
            format = true;
        } else if (std::memcmp(bytes.data() + at, "data", 4) == 0 && format) {
            wav.samples.resize((end - body) / 2);
            for (size_t k = 0; k < wav.samples.size(); ++k)
                wav.samples[k] = int16_t(le16(bytes.data() + body + 2 * k));
            return wav;
        }
        at = body + size + (size & 1);
    }
    runtime::raise(runtime::err::kTypeMismatch, "offline.readWav");
}

void writeWav(const std::string& path, const Wav& wav) {
    std::ofstream f(path, std::ios::binary);
    if (!f) runtime::raise(runtime::err::kPathFileAccess, "offline.writeWav");
    const uint32_t data = uint32_t(wav.samples.size() * 2);
    f.write("RIFF", 4);
    put32(f, 36 + data);
    f.write("WAVEfmt ", 8);
    put32(f, 16);
    put16(f, 1);
    put16(f, uint16_t(wav.channels));
    put32(f, uint32_t(wav.rate));
    put32(f, uint32_t(wav.rate * wav.channels * 2));
    put16(f, uint16_t(wav.channels * 2));
    put16(f, 16);
    f.write("data", 4);
    put32(f, data);
    for (int16_t s : wav.samples)
        put16(f, uint16_t(s));
    if (!f) runtime::raise(runtime::err::kDeviceIo, "offline.writeWav");
}

Result run(const Options& o) {
    const Wav in = readWav(o.input);
    if (in.rate != 48000 || in.channels < 1 || in.channels > 2)
        runtime::raise(runtime::err::kInvalidCall, "offline.run");

    Collector engine;
    ReceiverRig rig(o.nerixLibrary, o.nspLibrary, {nullptr, nullptr, &engine, nullptr, nullptr});
    ReceiverState& state = rig.state;
    mainwindow::BlockDrivers& drivers = rig.path->Drivers();

    // With no VFO the LO side is the user's choice, as under a receiver model's own VFO control.
    state.IQMode = in.channels == 2;
    state.VFOControl = true;
    state.IQSelectUpper = o.upper;
    state.HiSideLoActive = o.hiSideLo;
    state.FilterLo = o.filterLo;
    state.FilterHi = o.filterHi;
    state.AGCOn = o.agc;
    state.NBOn = o.noiseReduction;
    state.FlipIQ = o.flip;
    state.PhaseBitCorrection = o.phaseBit;
    state.SoundcardCorrectionAmpBalance = o.balance;
    rig.SetUp(o.mode, o.bfo);
    if (o.notch) {
        rig.bank->NotchFilter.FLow = 900;
        rig.bank->NotchFilter.FHigh = 1100;
        rig.bank->NotchFilter.MakeFilter();
        rig.bank->NotchFilter.Active = true;
        state.NotchType = NotchType::AF;
    }

    const size_t frames = in.samples.size() / size_t(in.channels);
    std::vector<int16_t> a(kN), b(kN);
    Result result;
    engine.samples.reserve(frames);
    const auto start = std::chrono::steady_clock::now();
    for (size_t at = 0; at + kN <= frames; at += kN) {
        for (int32_t k = 0; k < kN; ++k) {
            const size_t f = (at + size_t(k)) * size_t(in.channels);
            a[size_t(k)] = in.samples[f];
            b[size_t(k)] = in.channels == 2 ? in.samples[f + 1] : int16_t{0};
        }
        drivers.DataReady(a, b, kN);
        ++result.blocks;
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    Wav out;
    out.samples = std::move(engine.samples);
    writeWav(o.output, out);
    return result;
}

} // namespace offline
