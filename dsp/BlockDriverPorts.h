// What the block drivers reach of the recorder, the sound engine and the housekeeping, as small
// interfaces the receive path's owner wires to the real objects and tests fake. The display and the tuning
// are the chain's own ports (dsp/ChainPorts.h, frame/TuningPort.h).
#pragma once

#include <cstdint>

#include "dsp/ChainPorts.h"
#include "frame/TuningPort.h"

class NerixDX8;

namespace Nerix {

// The recorder and player; its playing state is what the audio chain reads.
class BlockRecorder : public PlayerState {
public:
    // A file or the recording just made is being played: its samples replace the capture.
    virtual bool PlayingBlocks() const = 0;
    // A recording is being made: each played block is added to it.
    virtual bool Recording() const = 0;
    // Fills block[0..n-1] with the player's next samples.
    virtual void GetNextSamples(int16_t* block, int32_t n) = 0;
    virtual void AddSamples(const int16_t* block, int32_t n) = 0;
};

// The sound engine's playback side.
class BlockOutput : public OutputAttenuationSink {
public:
    virtual void Output(const int16_t* left, const int16_t* right, int32_t n) = 0;
};

// The housekeeping tick, armed once per playback notification.
class BlockPacer {
public:
    virtual ~BlockPacer() = default;
    virtual void ArmHousekeeping() = 0;
};

// Any of them may be absent: nothing is shown, recorded, played or paced, and the tuning reads 0.
struct BlockDriverPorts {
    SpectrumSink* Display = nullptr;
    BlockRecorder* Recorder = nullptr;
    BlockOutput* Engine = nullptr;
    BlockPacer* Pacer = nullptr;
    TuningPort* Tuning = nullptr;
};

// The real sound engine behind BlockOutput.
class SoundCardOutput final : public BlockOutput {
public:
    explicit SoundCardOutput(NerixDX8& engine) : engine_(engine) {}
    void SetOutputAttenuation(int32_t hundredthsDb) override;
    void Output(const int16_t* left, const int16_t* right, int32_t n) override;

private:
    NerixDX8& engine_;
};

} // namespace Nerix
