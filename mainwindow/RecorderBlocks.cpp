// The recorder behind the block drivers' port.
#include "mainwindow/RecorderBlocks.h"

#include <span>

#include "platform/runtime/Convert.h"
#include "recorder/PlayerMode.h"
#include "recorder/clsWavFile.h"

namespace mainwindow {

bool WavFileRecorder::PlayingBlocks() const {
    const int32_t mode = wav_.PlayerMode();
    return mode == recorder::PlayerMode::Playing || mode == recorder::PlayerMode::PlayingBack;
}
bool WavFileRecorder::Recording() const {
    return wav_.PlayerMode() == recorder::PlayerMode::Recording;
}
void WavFileRecorder::GetNextSamples(int16_t* block, int32_t n) {
    wav_.GetNextSamples(std::span<int16_t>(block, runtime::checkedNarrow<size_t>(n)),
                        runtime::checkedNarrow<int16_t>(n));
}
void WavFileRecorder::AddSamples(const int16_t* block, int32_t n) {
    wav_.AddSamples(std::span<const int16_t>(block, runtime::checkedNarrow<size_t>(n)), n);
}
bool WavFileRecorder::IsPlaying() const {
    return wav_.IsPlaying();
}

} // namespace mainwindow
