// The per-block drivers: each captured sound-card block goes through the player, the display, the DSP
// chain, muting and the recorder to the engine's output, timed and counted for the housekeeping timer.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "dsp/BlockDriverPorts.h"
#include "dsp/DisplayTap.h"
#include "dsp/NerixDX8.h"
#include "dsp/ReceiveChain.h"
#include "frame/Profiler.h"

namespace Nerix {

class BlockDrivers final : public NerixDX8Listener {
public:
    static constexpr int32_t kBlock = 2048;
    static constexpr int32_t kRingLength = 48; // entries 0..46 are used
    // The block time 2048 / 48000 s as the float constant the load figure divides by.
    static constexpr double kBlockSeconds = static_cast<double>(0.042666666f);

    BlockDrivers(ReceiverState& state, Wrappers& nerix, FilterBank& bank, ReceiveChain& chain,
                 Profiler& blockProfiler, BlockDriverPorts ports = {});
    BlockDrivers(const BlockDrivers&) = delete;
    BlockDrivers& operator=(const BlockDrivers&) = delete;

    BlockDriverPorts Ports;

    // The engine's events.
    void DataReady(std::span<int16_t> Channel1, std::span<int16_t> Channel2, int32_t NoSamples) override;
    void DataOut(std::span<int16_t> Buffer, int32_t Offset, int32_t NoSamples) override;
    void SoundCard_DataReady(std::span<int16_t> Channel1, std::span<int16_t> Channel2, int32_t NoSamples) {
        DataReady(Channel1, Channel2, NoSamples);
    }
    void SoundCard_DataOut(std::span<int16_t> Buffer, int32_t Offset, int32_t NoSamples) {
        DataOut(Buffer, Offset, NoSamples);
    }

    // One block each; A becomes the played block, B is read (the I/Q driver may delay it by a sample).
    // A block that arrives while its driver runs is dropped and counted.
    void ProcessAudioBlock(std::span<int16_t> A, std::span<int16_t> B);
    void ProcessIqBlock(std::span<int16_t> A, std::span<int16_t> B);

    // Statistics for the housekeeping timer.
    std::array<int16_t, kRingLength> InputPeakRing{}, OutputPeakRing{};
    std::array<int32_t, kRingLength> BlockTimeRing{};
    int32_t InputPeakIndex = 0, OutputPeakIndex = 0, BlockTimeIndex = 0;
    float AudioLoad() const noexcept { return audioLoad_; }
    float IqLoad() const noexcept { return iqLoad_; }
    int16_t PrevQSample() const noexcept { return prevQSample_; }
    // Blocks dropped because their driver was still running.
    int64_t DroppedBlocks() const noexcept { return dropped_; }

private:
    // One block in place: A becomes the played block, B is read.
    struct Block {
        int16_t* a;
        int16_t* b;
        bool iq;
        TapAnnounce announce;
    };
    void process(std::span<int16_t> A, std::span<int16_t> B, bool iq);
    void input(const Block& block);
    void output(const Block& block);
    void timing(bool iq);
    void playbackPath(int16_t* A);
    void pushPeak(std::array<int16_t, kRingLength>& ring, int32_t& index, const int16_t* block);
    bool playing() const;
    int32_t tuned() const;

    ReceiverState& state_;
    Wrappers& nerix_;
    FilterBank& bank_;
    ReceiveChain& chain_;
    Profiler& profiler_;
    bool audioBusy_ = false, iqBusy_ = false;
    float audioLoad_ = 0.0f, iqLoad_ = 0.0f;
    int16_t prevQSample_ = 0;
    std::vector<int16_t> delayScratch_;
    std::vector<float> powerScratch_;
    int64_t dropped_ = 0;
};

} // namespace Nerix
