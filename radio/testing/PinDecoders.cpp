// Decoders of the chips' wire formats, from the simulated pins.
#include "radio/testing/PinDecoders.h"

#include <deque>

namespace pins {

std::vector<ThreeWireSample> threeWireSamples(const PinTrace& trace, const ThreeWire& wiring) {
    std::vector<ThreeWireSample> out;
    for (const TraceEntry& e : trace.entries()) {
        if (e.device != wiring.device) continue;
        out.push_back({e.time, wiring.data.level(e.levels), wiring.clock.level(e.levels),
                       wiring.update.level(e.levels)});
    }
    return out;
}

std::vector<TwoWireSample> twoWireSamples(const PinTrace& trace, const TwoWire& wiring) {
    std::vector<TwoWireSample> out;
    for (const TraceEntry& e : trace.entries()) {
        if (e.device != wiring.device) continue;
        out.push_back({e.time, wiring.scl.level(e.levels), wiring.sda.level(e.levels)});
    }
    return out;
}

std::vector<std::vector<bool>> framesOnUpdate(const std::vector<ThreeWireSample>& samples) {
    std::vector<std::vector<bool>> frames;
    std::vector<bool> bits;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const auto& prev = samples[i - 1];
        const auto& cur = samples[i];
        if (!prev.clock && cur.clock) bits.push_back(cur.data);
        if (!prev.update && cur.update) {
            frames.push_back(bits);
            bits.clear();
        }
    }
    return frames;
}

std::vector<bool> clockedBits(const std::vector<ThreeWireSample>& samples) {
    std::vector<bool> bits;
    for (std::size_t i = 1; i < samples.size(); ++i)
        if (!samples[i - 1].clock && samples[i].clock) bits.push_back(samples[i].data);
    return bits;
}

std::vector<uint8_t> toBytes(const std::vector<bool>& bits, bool msbFirst) {
    std::vector<uint8_t> out;
    for (std::size_t i = 0; i + 8 <= bits.size(); i += 8) {
        uint8_t byte = 0;
        for (std::size_t b = 0; b < 8; ++b)
            if (bits[i + b]) byte |= static_cast<uint8_t>(msbFirst ? 0x80 >> b : 1 << b);
        out.push_back(byte);
    }
    return out;
}

std::vector<Ad985xLatch> decodeAd985x(const std::vector<ThreeWireSample>& samples) {
    std::vector<Ad985xLatch> latches;
    std::deque<bool> shift; // the last 40 bits, oldest first
    std::size_t sinceLatch = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const auto& prev = samples[i - 1];
        const auto& cur = samples[i];
        if (!prev.clock && cur.clock) {
            shift.push_back(cur.data);
            if (shift.size() > 40) shift.pop_front();
            ++sinceLatch;
        }
        if (!prev.update && cur.update) {
            uint64_t value = 0;
            // The oldest of the 40 bits is bit 0 of the tuning word.
            for (std::size_t b = 0; b < shift.size(); ++b)
                if (shift[b]) value |= uint64_t{1} << b;
            latches.push_back(
                {static_cast<uint32_t>(value & 0xFFFFFFFFu), static_cast<uint8_t>(value >> 32), sinceLatch});
            sinceLatch = 0;
        }
    }
    return latches;
}

std::size_t ad9951RegisterBytes(uint8_t address) {
    switch (address) {
    case 0x00:
        return 4; // control function register 1
    case 0x01:
        return 3; // control function register 2
    case 0x02:
        return 2; // amplitude scale factor
    case 0x03:
        return 1; // amplitude ramp rate
    case 0x04:
        return 4; // frequency tuning word 0
    case 0x05:
        return 2; // phase offset word 0
    default:
        return 0;
    }
}

std::vector<Ad9951Update> decodeAd9951(const std::vector<ThreeWireSample>& samples) {
    std::vector<Ad9951Update> updates;
    std::map<uint8_t, std::vector<uint8_t>> written;
    std::vector<uint8_t> cycle; // instruction byte, then data bytes
    uint8_t current = 0;
    std::size_t bitCount = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const auto& prev = samples[i - 1];
        const auto& cur = samples[i];
        if (!prev.clock && cur.clock) {
            current = static_cast<uint8_t>((current << 1) | (cur.data ? 1 : 0));
            if (++bitCount % 8 == 0) {
                cycle.push_back(current);
                current = 0;
                const uint8_t instruction = cycle.front();
                const std::size_t width = ad9951RegisterBytes(instruction & 0x1F);
                if (cycle.size() == width + 1) {
                    if ((instruction & 0x80) == 0)
                        written[instruction & 0x1F] = std::vector<uint8_t>(cycle.begin() + 1, cycle.end());
                    cycle.clear();
                    bitCount = 0;
                }
            }
        }
        if (!prev.update && cur.update) {
            updates.push_back({written, bitCount});
            written.clear();
        }
    }
    return updates;
}

std::vector<Ad9835Frame> decodeAd9835(const std::vector<ThreeWireSample>& samples) {
    std::vector<Ad9835Frame> frames;
    bool inFrame = false;
    std::size_t edges = 0;
    uint16_t word = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const auto& prev = samples[i - 1];
        const auto& cur = samples[i];
        if (prev.update && !cur.update) {
            inFrame = true;
            edges = 0;
            word = 0;
        }
        if (inFrame && prev.clock && !cur.clock) {
            if (edges < 16 && cur.data) word |= static_cast<uint16_t>(0x8000u >> edges);
            ++edges;
        }
        if (!prev.update && cur.update && inFrame) {
            frames.push_back({edges, word});
            inFrame = false;
        }
    }
    return frames;
}

std::optional<uint32_t> ad9835Freq0(const std::vector<Ad9835Frame>& frames) {
    uint8_t bytes[4] = {};
    bool seen[4] = {};
    uint8_t defer = 0;
    for (const Ad9835Frame& f : frames) {
        if (f.clockEdges < 16) continue;
        const unsigned command = f.word >> 12;
        const unsigned address = (f.word >> 8) & 0x0F;
        const auto data = static_cast<uint8_t>(f.word & 0xFF);
        if (command == 0x3) {
            defer = data;
        } else if (command == 0x2 && address < 4) {
            // A 16-bit write: this byte to the even address, the deferred byte to the odd one.
            bytes[address & ~1u] = data;
            bytes[address | 1u] = defer;
            seen[address & ~1u] = seen[address | 1u] = true;
        }
    }
    if (!(seen[0] && seen[1] && seen[2] && seen[3])) return std::nullopt;
    return uint32_t{bytes[3]} << 24 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[1]} << 8 | bytes[0];
}

std::vector<I2CTransaction> decodeI2C(const std::vector<TwoWireSample>& samples) {
    std::vector<I2CTransaction> out;
    bool open = false;
    I2CTransaction t{};
    std::optional<bool> pendingBit; // taken on the rising edge, counted when the clock falls again
    std::vector<bool> bits;
    const auto close = [&](bool stopped) {
        t.stopped = stopped;
        out.push_back(t);
        open = false;
    };
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const auto& prev = samples[i - 1];
        const auto& cur = samples[i];
        if (prev.scl && cur.scl && prev.sda && !cur.sda) {
            if (open) close(false); // a repeated start
            open = true;
            t = I2CTransaction{};
            bits.clear();
            pendingBit.reset();
            continue;
        }
        if (prev.scl && cur.scl && !prev.sda && cur.sda && open) {
            close(true);
            continue;
        }
        if (!open) continue;
        if (!prev.scl && cur.scl) pendingBit = cur.sda;
        if (prev.scl && !cur.scl && pendingBit) {
            ++t.clockPulses;
            bits.push_back(*pendingBit);
            pendingBit.reset();
            // Eight data bits, then the acknowledge bit, which is not part of the byte.
            if (bits.size() == 9) {
                bits.pop_back();
                t.bytes.push_back(toBytes(bits, true).front());
                bits.clear();
            }
        }
    }
    if (open) close(false);
    return out;
}

} // namespace pins
