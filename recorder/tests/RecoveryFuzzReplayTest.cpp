// Seeded damage to crashed recordings and their journals through the recovery's fuzz target, under the
// sanitizers; the fixture recordings through the reader's target too.
#include "recorder/fuzz/ReaderFuzzTarget.h"
#include "recorder/fuzz/RecoveryFuzzTarget.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/profile/testing/TempFolder.h"

namespace {

std::string fixture(const std::string& name) {
    return profile::testing::TempFolder::readFile(std::string(RECORDER_FIXTURES) + "/" + name);
}

// The recording and the journal of a seed, apart.
struct Parts {
    std::string recording, journal;
    bool journaled = false;
    std::string joined() const {
        return journaled ? recording + std::string(recorder::fuzz::kJournalLine) + journal : recording;
    }
};

Parts split(const std::string& input) {
    const auto line = input.rfind(recorder::fuzz::kJournalLine);
    if (line == std::string::npos) return {input, {}, false};
    return {input.substr(0, line), input.substr(line + recorder::fuzz::kJournalLine.size()), true};
}

void recover(const std::string& input) {
    recorder::fuzz::recover(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

// One kind of damage a crash, a full disk or a hand leaves.
void damage(Parts& p, std::mt19937& rng) {
    std::string& part = p.journaled && rng() % 2 ? p.journal : p.recording;
    switch (rng() % 5) {
    case 0: // any byte, the header's most often
        if (!part.empty())
            part[rng() % (rng() % 2 ? std::min<std::size_t>(48, part.size()) : part.size())] = char(rng());
        break;
    case 1: // cut short
        part.resize(rng() % (part.size() + 1));
        break;
    case 2: // a header field set to an extreme
        if (p.recording.size() >= 44) {
            const uint32_t v =
                std::vector<uint32_t>{0, 1, 2, 0x7fffffffu, 0x80000000u, 0xffffffffu, 8, 16}[rng() % 8];
            const std::size_t at = std::vector<std::size_t>{4, 34, 40}[rng() % 3];
            for (int i = 0; i < (at == 34 ? 2 : 4); ++i)
                p.recording[at + std::size_t(i)] = char(v >> (8 * i));
        }
        break;
    case 3: // a burst of separators, NULs and digits
        for (int i = 0; i < 32 && !part.empty(); ++i)
            part[part.size() - 1 - rng() % std::min<std::size_t>(part.size(), 300)] =
                "\0\4=FSET0123456789-:"[rng() % 19];
        break;
    default: // the journal lost, or one left beside a recording that was closed
        p.journaled = !p.journaled;
        break;
    }
}

} // namespace

TEST(RecoveryFuzzReplay, DamagedRecordingsAndJournalsRecoverWithoutLosingASample) {
    const std::string crashed = fixture("crashed.recovery");
    ASSERT_NE(crashed.find(recorder::fuzz::kJournalLine), std::string::npos);
    const std::vector<std::string> seeds{
        crashed, fixture("closed-16bit.wav"), fixture("closed-8bit.wav"),
        fixture("closed-16bit.wav") + std::string(recorder::fuzz::kJournalLine) + split(crashed).journal};
    for (const std::string& seed : seeds) {
        recover(seed);
        recorder::fuzz::readAndPlay(reinterpret_cast<const uint8_t*>(seed.data()), seed.size());
    }
    std::mt19937 rng(20261211);
    for (int run = 0; run < 1500; ++run) {
        Parts p = split(seeds[rng() % seeds.size()]);
        const int edits = 1 + int(rng() % 5);
        for (int e = 0; e < edits; ++e)
            damage(p, rng);
        recover(p.joined());
    }
}
