// Seeded mutations of a valid recording through the reader's fuzz target, under the sanitizers.
#include "recorder/fuzz/ReaderFuzzTarget.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> validRecording() {
    auto le = [](std::vector<uint8_t>& b, uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            b.push_back(uint8_t(v >> (8 * i)));
    };
    const uint32_t dataBytes = 6000;
    std::vector<uint8_t> b;
    for (char c : std::string("RIFF"))
        b.push_back(uint8_t(c));
    le(b, 36 + dataBytes, 4);
    for (char c : std::string("WAVEfmt "))
        b.push_back(uint8_t(c));
    le(b, 16, 4), le(b, 1, 2), le(b, 1, 2), le(b, 12000, 4), le(b, 24000, 4), le(b, 2, 2), le(b, 16, 2);
    for (char c : std::string("data"))
        b.push_back(uint8_t(c));
    le(b, dataBytes, 4);
    for (uint32_t i = 0; i < dataBytes; ++i)
        b.push_back(uint8_t(i * 7));
    const std::string log = std::string("Nerix") +
                            "F=0070500000\4T=2026-12-10 13:05:09\4S=0000000044\4E=0000003044\4" + '\0' +
                            "F=0070600000\4T=2026-12-10 13:06:09\4S=0000003044\4E=0000006044\4" + '\0';
    for (std::size_t i = 0; i < log.size(); ++i) {
        b.push_back(uint8_t(log[i]));
        if (i >= 5) b.push_back(0);
    }
    return b;
}

TEST(ReaderFuzzReplay, MutatedRecordingsNeverBreakTheReader) {
    const std::vector<uint8_t> base = validRecording();
    recorder::fuzz::readAndPlay(base.data(), base.size());
    std::mt19937 rng(20261210);
    for (int run = 0; run < 1500; ++run) {
        std::vector<uint8_t> f = base;
        const int edits = 1 + int(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            switch (rng() % 4) {
            case 0: // any byte, the header's most often
                f[rng() % (rng() % 2 ? 48 : f.size())] = uint8_t(rng());
                break;
            case 1: // cut the file short
                f.resize(rng() % (f.size() + 1));
                break;
            case 2: // a header field set to an extreme
                if (f.size() >= 44) {
                    const uint32_t v = std::vector<uint32_t>{0,           1,     0x7fffffffu, 0x80000000u,
                                                             0xffffffffu, 96000, 16000}[rng() % 7];
                    const std::size_t at = std::vector<std::size_t>{4, 24, 34, 40}[rng() % 4];
                    for (int i = 0; i < (at == 34 ? 2 : 4); ++i)
                        f[at + std::size_t(i)] = uint8_t(v >> (8 * i));
                }
                break;
            default: // a burst of separators, NULs and digits in the trailer
                for (int i = 0; i < 64 && !f.empty(); ++i)
                    f[f.size() - 1 - rng() % std::min<std::size_t>(f.size(), 400)] =
                        uint8_t("\0\4=FSET0123456789-:"[rng() % 19]);
                break;
            }
            if (f.empty()) break;
        }
        recorder::fuzz::readAndPlay(f.data(), f.size());
    }
}

} // namespace
