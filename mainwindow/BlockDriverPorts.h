// What the block drivers reach of the display, the recorder, the sound engine and the window's timers,
// as small interfaces the main window wires to the real objects and tests fake.
#pragma once

#include <cstdint>

#include "dsp/ChainPorts.h"

class NerixDX8;
class clsVFO;
namespace recorder {
class clsWavFile;
}

namespace mainwindow {

// The spectrum analyser, with the 16-bit load the drivers use at source points 0 and 3.
class BlockDisplay : public Nerix::SpectrumSink {
public:
    // Two channels of Points samples each (at most 2048).
    virtual void LoadSamples_INT16(const int16_t* channel1, const int16_t* channel2) = 0;
};

// The recorder and player.
class BlockRecorder {
public:
    virtual ~BlockRecorder() = default;
    // 0 closed, 1 recording, 2 playing a file, 3 paused, 4 stopped, 5 playing back the recording.
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
    BlockDisplay* Display = nullptr;
    BlockRecorder* Recorder = nullptr;
    BlockOutput* Engine = nullptr;
    BlockPacer* Pacer = nullptr;
    clsVFO* Vfo = nullptr;
};

// The real recorder behind BlockRecorder.
class WavFileRecorder final : public BlockRecorder, public Nerix::PlayerState {
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
