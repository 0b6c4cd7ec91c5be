// The receiver the sound tests tune: the saved Soft Rock's fixed oscillator, where a station must lie to
// be heard as a given audio tone, a band plan of the test's own that a user's last run left in use, and
// the waits on what the receiver plays.
#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>

#include "e2e/harness/Audio.h"
#include "e2e/harness/ProgramRun.h"

namespace e2e {

// Model 13 divides its 28.220 MHz crystal by four; the signal path tunes around that oscillator.
inline constexpr int64_t kSoftRockCrystalHz = 28'220'000;
inline constexpr int64_t kSoftRockLoHz = kSoftRockCrystalHz / 4;

// The demodulator choices as the band plan stores them.
enum class Sideband : int { Usb = 1, Lsb = 2 };

// The station's frequency that a receiver tuned to dialHz plays as audioHz.
constexpr int64_t stationHz(int64_t dialHz, Sideband s, int64_t audioHz) {
    return s == Sideband::Usb ? dialHz + audioHz : dialHz - audioHz;
}
// The audio a receiver tuned to dialHz makes of a station at rfHz (negative: the other sideband).
constexpr int64_t audioHz(int64_t dialHz, Sideband s, int64_t rfHz) {
    return s == Sideband::Usb ? rfHz - dialHz : dialHz - rfHz;
}
// The harness's tone offset for a station: with the upper-sideband I/Q selection the program starts
// with, a station above the oscillator lies at negative frequency of left + j·right.
constexpr double toneOffsetHz(int64_t rfHz) {
    return static_cast<double>(kSoftRockLoHz - rfHz);
}

// The name the band plan file gets; the shipped plans (Amateur, Broadcast) sort before it.
inline const std::string kTestBandFile = "Testband.bpl";
inline constexpr int kTestBandIndex = 2;

// One sub-band at subHz in the sideband given, with its first preset at presetHz in its own sideband.
inline std::string testBandPlan(int64_t subHz, Sideband subMode, int64_t presetHz, Sideband presetMode) {
    const auto settings = [](int64_t hz, Sideband mode) {
        return "DemodMode=" + std::to_string(static_cast<int>(mode)) +
               "\r\nFreqCurrent=" + std::to_string(hz) +
               "\r\nLowSideLO=False\r\nTuneStep=1000\r\nMusicModeActive=False\r\nDynFilterActive=False\r\n"
               "IFFilterActive=False\r\nIFFilterMode=2\r\nIFFilterHi=4500\r\nIFFilterLo=50\r\nFilterMode="
               "0\r\n"
               "FilterHi=-1\r\nFilterLo=-1\r\nAGCOn=True\r\nAGCMode=2\r\nAGCAttack=10\r\nAGCDecay=10\r\n"
               "NotchActive=False\r\nNotchMode=1\r\nNotchType=0\r\nNotchFilterCenter=1000\r\n"
               "NotchFilterWidth=100\r\nNotchMirror=False\r\nOutputAttenuation=0\r\n";
    };
    return "[MainBand]\r\nIndex=0\r\nName=Testband\r\nCaption=Test\r\nDescription=A band of the test's "
           "own\r\n"
           "Active=False\r\nActiveSubBand=0\r\nNumSubBands=0\r\n"
           "[SubBand.0]\r\nIndex=0\r\nName=Testband.SubBand(0)\r\nCaption=40m\r\nDescription=40 m\r\n"
           "NumPresets=12\r\nActivePreset=-1\r\nFreqMin=7000000\r\nFreqMax=7200000\r\n" +
           settings(subHz, subMode) +
           "[Preset.0.0]\r\nIndex=0\r\nName=Testband.SubBand(0).Preset(0)\r\nCaption=7.050\r\n"
           "Description=The test's station\r\nActive=False\r\nWhen=2026-01-01 00:00:00\r\n" +
           settings(presetHz, presetMode);
}

// The settings of a run whose band used last is the test's, in the "Full" layout that shows the presets.
inline std::string testBandSettings() {
    return softRockSettings(true, "DisplayMode=3\r\nCurrentMainBandIndex=" + std::to_string(kTestBandIndex) +
                                      "\r\n");
}

// The tolerances of every tone check: the frequency within ±15 Hz, every neighbour 30 dB down.
inline constexpr double kToneToleranceHz = 15;
inline constexpr double kNeighbourMarginDb = 30;
// A tone as the receiver's AGC leaves it: about -10 dBFS.
inline constexpr double kToneLevelLowDb = -20, kToneLevelHighDb = -3;
// What silence may hold at most.
inline constexpr double kSilenceDb = -70;

inline bool isTone(const ToneReading& r, double hz) {
    return std::abs(r.hz - hz) <= kToneToleranceHz && r.neighbourDb <= r.levelDb - kNeighbourMarginDb &&
           r.levelDb > kSilenceDb;
}

// The output's latency and the AGC take about a second after a change; the bound leaves room for a busy
// machine. "out" is heard in pieces of kPiece until one holds what is waited for.
inline constexpr auto kPiece = 400ms;
inline constexpr auto kSettle = 8s;

// Whether "out" came to play the tone within the bound.
inline bool waitForTone(const std::filesystem::path& folder, double hz) {
    const auto heard = [&](const Sound& s) { return isTone(measureTone(s.left), hz); };
    return heard(listenUntil(folder, "out", heard, kPiece, kSettle));
}

// Whether "out" came to be silent within the bound.
inline bool waitForSilence(const std::filesystem::path& folder) {
    const auto heard = [](const Sound& s) { return measureTone(s.left).rmsDb < kSilenceDb; };
    return heard(listenUntil(folder, "out", heard, kPiece, kSettle));
}

} // namespace e2e
