// Every DDS receiver model tuned across its range through the VFO: the frequency decoded from the chip's
// pins equals the VFO's oscillator output within one word step, and the tuned frequency it stands for is
// the one the readout shows, at the chip's limit too (the VFO takes the tuning back there). One sweep
// catches byte order, bit order, pin mapping and inversion; the same rows on the two USB adaptors also
// catch a word left in the adaptor's pin buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "radio/clsAD9835.h"
#include "radio/clsAD9850.h"
#include "radio/clsAD9851.h"
#include "radio/clsAD9951.h"
#include "radio/clsDDSParallelIF.h"
#include "radio/clsDDSSerialIF.h"
#include "radio/clsFTDIDRB30.h"
#include "radio/clsFTDIUS232C.h"
#include "radio/clsVFO.h"
#include "radio/testing/PinBench.h"
#include "radio/testing/PinDecoders.h"

namespace {

// The DDS rows of the receiver model table, copied from the model definitions: chip, interface
// (0 serial, 1 parallel), IF, clock, multipliers, parallel bits, inversion and range in hertz.
struct ModelRow {
    int index;
    const char* name;
    int chip;
    int interfaceType;
    int32_t loOffset;
    int32_t clock;
    int32_t oscMultiplier;
    int32_t pllMultiplier;
    int ioupdBit, sclckBit, sdataBit;
    bool inverting;
    int32_t minHz, maxHz;
};
constexpr ModelRow kRows[] = {
    {0, "Sat Schneider DRT1", 9951, 0, 45'000'000, 360'096'000, 1, 1, 2, 1, 0, true, 10'000, 30'000'000},
    {1, "Elektor DRM - Velloc", 9835, 0, 455'000, 50'000'000, 1, 1, 2, 1, 0, true, 0, 30'000'000},
    {2, "IQ,AD9850 DDS", 9850, 1, 12'000, 100'000'000, 4, 1, 2, 1, 0, false, 10'000, 30'000'000},
    {3, "IQ,AD9851 DDS", 9851, 1, 12'000, 180'000'000, 4, 1, 2, 1, 0, false, 10'000, 30'000'000},
    {5, "IQ,AD9835 DDS", 9835, 0, 12'000, 50'000'000, 1, 2, 2, 1, 0, true, 10'000, 30'000'000},
    {15, "NTI DRB 30", 9951, 1, 44'998'000, 360'080'000, 1, 1, 1, 2, 3, false, 10'000, 30'000'000},
    {16, "IQ,AD9951 DDS", 9951, 0, 12'000, 300'000'000, 4, 1, 2, 1, 0, false, 10'000, 30'000'000},
};

void PrintTo(const ModelRow& row, std::ostream* os) {
    *os << "row " << row.index << " \"" << row.name << '"';
}

constexpr double kTwoTo32 = 4294967296.0;

std::unique_ptr<OscillatorBase> oscillatorFor(int chip, profile::SettingsStore& store) {
    switch (chip) {
    case 9850:
        return std::make_unique<clsAD9850>(store);
    case 9851:
        return std::make_unique<clsAD9851>(store);
    case 9951:
        return std::make_unique<clsAD9951>(store);
    default:
        return std::make_unique<clsAD9835>(store);
    }
}

// The tuning word the chip latched during one tuning change; nothing when no whole word arrived.
std::optional<uint32_t> latchedWord(int chip, const std::vector<pins::ThreeWireSample>& samples) {
    if (chip == 9850 || chip == 9851) {
        const auto latches = pins::decodeAd985x(samples);
        if (latches.size() != 1 || latches[0].bitsSincePreviousLatch != 40) return std::nullopt;
        EXPECT_EQ(latches[0].control, chip == 9851 ? 0x01 : 0x00);
        return latches[0].tuningWord;
    }
    if (chip == 9951) {
        const auto updates = pins::decodeAd9951(samples);
        if (updates.size() != 1 || updates[0].pendingBits != 0) return std::nullopt;
        const auto it = updates[0].written.find(0x04);
        if (it == updates[0].written.end() || it->second.size() != 4) return std::nullopt;
        const auto& b = it->second;
        return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
    }
    const auto frames = pins::decodeAd9835(samples);
    for (const auto& f : frames)
        if (f.clockEdges != 16) return std::nullopt;
    return pins::ad9835Freq0(frames);
}

// The receiver set-up's wiring of the VFO and its oscillator for a row, in its order.
void connect(clsVFO& vfo, OscillatorBase& osc, const ModelRow& row) {
    vfo.setOscType(&osc);
    osc.setParent(&vfo);
    vfo.setIFFrequency(row.loOffset);
    vfo.setOscMultiplier(row.oscMultiplier);
    vfo.setPLLMultiplier(row.pllMultiplier);
    vfo.setRxMaxFreq(row.maxHz);
    vfo.setRXMinFreq(row.minHz);
    osc.setClkIn(row.clock);
    osc.setBaseFrequency(0); // no crystal
}

// The tuned frequencies of a sweep, in 0.1 Hz: across the row's range, off the round numbers.
int32_t sweepPoint(const ModelRow& row, int i) {
    const int64_t hz = row.minHz + (int64_t{row.maxHz} - row.minHz) * i / 49 - (i % 7) * 131;
    return static_cast<int32_t>(std::max<int64_t>(hz, row.minHz) * 10 + i % 10);
}

// The VFO's multiplier ratio as it tunes with it, a 32-bit float.
double ratio(const ModelRow& row) {
    return static_cast<float>(static_cast<double>(row.oscMultiplier) / row.pllMultiplier);
}

// The tuned frequency, in 0.1 Hz, at which the chip runs for a word at a clock in hertz (the LO on the
// high side, as the VFO starts): what the readout must show.
double tunedForWord(const ModelRow& row, uint32_t word, double clock) {
    return word * (clock * 10.0 / kTwoTo32) / ratio(row) - row.loOffset * 10.0;
}

// The tuning the VFO keeps within the row's range; anything below it was taken back from the chip's limit.
int32_t withinRange(const ModelRow& row, int32_t tuned) {
    return std::clamp(tuned, row.minHz * 10, row.maxHz * 10);
}

// Whether the row's range takes the oscillator past half the chip's clock, where no word fits.
bool passesTheChip(const ModelRow& row) {
    return (static_cast<double>(row.maxHz) + row.loOffset) * ratio(row) >= row.clock / 2.0;
}

class ModelSweep : public ::testing::TestWithParam<ModelRow>, protected pins::PinBench {
protected:
    // The row's radio as the receiver set-up leaves it, initialised on the row's port.
    void SetUp() override {
        const ModelRow& row = GetParam();
        osc = oscillatorFor(row.chip, store);
        connect(vfo, *osc, row);
        LineInterface& line = row.interfaceType == 0 ? static_cast<LineInterface&>(ser) : par;
        osc->setIFHandler(&line);
        line.setWaitTime(5e-6);
        if (row.interfaceType == 0) {
            ports.plugIn(1);
            line.Initialise();
            ASSERT_GT(line.OpenPort(false), 0);
        } else {
            // The configuration dialog offers the row's pins as the parallel defaults.
            par.setIOUPDBitNo(row.ioupdBit);
            par.setSCLCKBitNo(row.sclckBit);
            par.setSDATABitNo(row.sdataBit);
            par.setInverting(row.inverting);
            line.Initialise();
        }
        osc->Initialise();
    }

    // Tunes the VFO and checks what the chip latched against the VFO's output and the readout.
    // Returns whether the VFO took the tuning back from an oscillator limit.
    bool tuneAndCheck(int32_t tuned, double clock) {
        const ModelRow& row = GetParam();
        trace.clearKeepingState();
        vfo.setTunedFrequency(tuned);
        const int32_t oscOut = vfo.OscOut();
        const std::string where = std::string(row.name) + " at " + std::to_string(clock) + " Hz tuned " +
                                  std::to_string(tuned) + " osc " + std::to_string(oscOut);
        const pins::ThreeWire wiring =
            row.interfaceType == 0
                ? pins::wiring::serialThreeWire(1)
                : pins::wiring::parallel(888, row.sdataBit, row.sclckBit, row.ioupdBit, row.inverting);
        const auto word = latchedWord(row.chip, pins::threeWireSamples(trace, wiring));
        const double step = clock * 10.0 / kTwoTo32; // 0.1 Hz per word step
        EXPECT_TRUE(word.has_value()) << where;
        if (!word) return false;
        EXPECT_NEAR(*word * step, oscOut, step) << where;
        EXPECT_NEAR(tunedForWord(row, *word, clock), vfo.TunedFrequency(), step / ratio(row) + 1) << where;
        return vfo.TunedFrequency() < withinRange(row, tuned);
    }

    clsVFO vfo{store};
    std::unique_ptr<OscillatorBase> osc;
    clsDDSParallelIF par{store, timing, lpt};
    clsDDSSerialIF ser{store, timing, ports};
};

TEST_P(ModelSweep, TheChipRunsAtTheFrequencyTheReadoutShows) {
    const ModelRow& row = GetParam();
    int takenBack = 0;
    for (int i = 0; i < 50; ++i)
        takenBack += tuneAndCheck(sweepPoint(row, i), row.clock);
    // The last point is the row's maximum: past the chip, the readout stops at the chip's limit.
    if (passesTheChip(row)) {
        EXPECT_GT(takenBack, 0);
    }
}

// The calibration dialog writes the clock it worked out; the limit moves with it, whichever way.
TEST_P(ModelSweep, ACalibratedClockMovesTheLimitWithIt) {
    const ModelRow& row = GetParam();
    for (const double clock : {row.clock * 0.9999, row.clock * 1.0001}) {
        osc->setClkIn(clock);
        int takenBack = 0;
        for (int i = 40; i < 50; ++i)
            takenBack += tuneAndCheck(sweepPoint(row, i), clock);
        if (passesTheChip(row)) {
            EXPECT_GT(takenBack, 0) << clock;
        }
    }
}

// The limit the VFO reads is exactly the last frequency whose word the chip takes: one above it (the
// next float, where the class holds its limits as floats) would be word 2, or nothing on the AD9835.
TEST_P(ModelSweep, TheLimitIsTheLastFrequencyWhoseWordTheChipTakes) {
    const ModelRow& row = GetParam();
    const pins::ThreeWire wiring =
        row.interfaceType == 0
            ? pins::wiring::serialThreeWire(1)
            : pins::wiring::parallel(888, row.sdataBit, row.sclckBit, row.ioupdBit, row.inverting);
    // The chip on its own, its limits from the clock alone; whole-hertz clocks, the nominal one and one a
    // calibration moved.
    osc->setFreqScaling(1.0);
    for (const double clock : {static_cast<double>(row.clock), row.clock - 1234.0}) {
        SCOPED_TRACE(clock);
        osc->setClkIn(clock);
        const double limit = osc->MaxFreq();
        const double step = clock * 10.0 / kTwoTo32;
        trace.clearKeepingState();
        osc->SetFrequency(static_cast<int32_t>(limit));
        const auto word = latchedWord(row.chip, pins::threeWireSamples(trace, wiring));
        ASSERT_TRUE(word.has_value());
        EXPECT_NEAR(*word * step, limit, step);

        const double above = row.chip == 9851 ? std::nextafter(static_cast<float>(limit), 1e10f) : limit + 1;
        trace.clearKeepingState();
        osc->SetFrequency(static_cast<int32_t>(above));
        if (row.chip == 9835)
            EXPECT_TRUE(trace.writesTo(wiring.device).empty());
        else
            EXPECT_EQ(latchedWord(row.chip, pins::threeWireSamples(trace, wiring)), 2u);
    }
}

INSTANTIATE_TEST_SUITE_P(DdsModels, ModelSweep, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<ModelRow>& info) {
                             return "Row" + std::to_string(info.param.index);
                         });

// The DDS rows again, with the USB adaptor a saved "DDSInterfaceType" chooses in place of the row's
// port: 4 the DRB30 (the NTI DRB 30's own adaptor), 5 the US232C. The adaptors have fixed pins, so
// the row's pin numbers play no part; every tuning change must reach the chip in one USB write.
struct AdaptorRow {
    ModelRow row;
    int interfaceType;
};

void PrintTo(const AdaptorRow& c, std::ostream* os) {
    PrintTo(c.row, os);
    *os << " on interface " << c.interfaceType;
}

std::vector<AdaptorRow> adaptorRows() {
    std::vector<AdaptorRow> out;
    for (const ModelRow& row : kRows)
        for (const int type : {4, 5})
            out.push_back({row, type});
    return out;
}

class AdaptorSweep : public ::testing::TestWithParam<AdaptorRow>, protected pins::PinBench {
protected:
    AdaptorSweep() {
        for (const char* description : {"DRB USB ADP", "US232C"})
            driver.plugIn(description, pins::SimFtdiDriver::kPacedByBaudRate);
    }
};

TEST_P(AdaptorSweep, TheChipOnTheAdaptorRunsAtTheFrequencyTheReadoutShows) {
    const ModelRow& row = GetParam().row;
    const bool drb = GetParam().interfaceType == 4;
    clsVFO vfo(store);
    std::unique_ptr<OscillatorBase> osc = oscillatorFor(row.chip, store);
    clsFTDIDRB30 drb30(driver, store, timing);
    clsFTDIUS232C us232c(driver, store, timing);
    FtdiThreeWireLine& line = drb ? static_cast<FtdiThreeWireLine&>(drb30) : us232c;
    const std::string description(drb ? "DRB USB ADP" : "US232C");
    const pins::ThreeWire wiring = drb ? pins::wiring::drb30() : pins::wiring::us232c();
    vfo.setDDSInterfaceType(GetParam().interfaceType);
    connect(vfo, *osc, row);
    osc->setIFHandler(&line);
    line.Initialise();
    osc->Initialise();
    // The first tuning also carries what the start sequence left in the pin buffer.
    vfo.Refresh();
    ASSERT_EQ(line.PinCount(), 0);
    const auto& writes = driver.adaptor(description)->writeSizes;

    const double step = row.clock * 10.0 / kTwoTo32;
    // A framed burst of five bytes (AD985x, AD9951) or six framed 16-bit words (AD9835).
    const uint32_t tuningBytes = row.chip == 9835 ? 6 * (2 + 24 * 2 + 1) : 2 + 24 * 5 + 1;
    int takenBack = 0;
    for (int i = 0; i < 50; ++i) {
        const int32_t tuned = sweepPoint(row, i);
        trace.clearKeepingState();
        const std::size_t before = writes.size();
        vfo.setTunedFrequency(tuned);
        const int32_t oscOut = vfo.OscOut();
        const std::string where =
            std::string(row.name) + " tuned " + std::to_string(tuned) + " osc " + std::to_string(oscOut);
        const std::vector<uint32_t> made(writes.begin() + static_cast<std::ptrdiff_t>(before), writes.end());
        EXPECT_EQ(line.PinCount(), 0) << where;
        EXPECT_EQ(made, std::vector<uint32_t>{tuningBytes}) << where;

        const auto word = latchedWord(row.chip, pins::threeWireSamples(trace, wiring));
        ASSERT_TRUE(word.has_value()) << where;
        EXPECT_NEAR(*word * step, oscOut, step) << where;
        EXPECT_NEAR(tunedForWord(row, *word, row.clock), vfo.TunedFrequency(), step / ratio(row) + 1)
            << where;
        takenBack += vfo.TunedFrequency() < withinRange(row, tuned);
    }
    if (passesTheChip(row)) {
        EXPECT_GT(takenBack, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(DdsModels, AdaptorSweep, ::testing::ValuesIn(adaptorRows()),
                         [](const ::testing::TestParamInfo<AdaptorRow>& info) {
                             return "Row" + std::to_string(info.param.row.index) +
                                    (info.param.interfaceType == 4 ? "Drb30" : "Us232c");
                         });

} // namespace
