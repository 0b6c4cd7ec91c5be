// What the block drivers reach of the display, the recorder, the sound engine, the tuning and the
// window's timers, as small interfaces the receive path wires to the real objects and tests fake.
#pragma once

#include <cstdint>

#include "dsp/ChainPorts.h"
#include "frame/TuningPort.h"
#include "recorder/PlayerMode.h"

class NerixDX8;
namespace recorder {
class clsWavFile;
}

namespace mainwindow {

// The recorder and player; its playing state is what the audio chain reads.
class BlockRecorder : public Nerix::PlayerState {
public:
    // One of recorder::PlayerMode.
    virtual int32_t PlayerMode() const = 0;
    // Fills block[0..n-1] with the player's next samples.
    virtual void GetNextSamples(int16_t* block, int32_t n) = 0;
    virtual void AddSamples(const int16_t* block, int32_t n) = 0;
};

// The sound engine's playback side.
class BlockOutput : public Nerix::OutputAttenuationSink {
public:
    virtual void Output(const int16_t* left, const int16_t* right, int32_t n) = 0;
};

// The window's pacing: one display redraw request and one housekeeping tick per playback notification.
class BlockPacer {
public:
    virtual ~BlockPacer() = default;
    virtual void RequestScopeRedraw() = 0;
    virtual void ArmHousekeeping() = 0;
};

// Any of them may be absent: nothing is shown, recorded, played or paced, and the tuning reads 0.
struct BlockDriverPorts {
    Nerix::SpectrumSink* Display = nullptr;
    BlockRecorder* Recorder = nullptr;
    BlockOutput* Engine = nullptr;
    BlockPacer* Pacer = nullptr;
    TuningPort* Tuning = nullptr;
};

// The real recorder behind BlockRecorder.
class WavFileRecorder final : public BlockRecorder {
public:
    explicit WavFileRecorder(recorder::clsWavFile& wav) : wav_(wav) {}
    int32_t PlayerMode() const override;
    void GetNextSamples(int16_t* block, int32_t n) override;
    void AddSamples(const int16_t* block, int32_t n) override;
    bool IsPlaying() const override;

private:
    recorder::clsWavFile& wav_;
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

} // namespace mainwindow
