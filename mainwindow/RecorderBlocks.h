// The recorder as the block drivers reach it.
#pragma once

#include "dsp/BlockDriverPorts.h"

namespace recorder {
class clsWavFile;
}

namespace mainwindow {

class WavFileRecorder final : public Nerix::BlockRecorder {
public:
    explicit WavFileRecorder(recorder::clsWavFile& wav) : wav_(wav) {}
    bool PlayingBlocks() const override;
    bool Recording() const override;
    void GetNextSamples(int16_t* block, int32_t n) override;
    void AddSamples(const int16_t* block, int32_t n) override;
    bool IsPlaying() const override;

private:
    recorder::clsWavFile& wav_;
};

} // namespace mainwindow
