// The recorder behind the block drivers' port.
#include "mainwindow/RecorderBlocks.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <span>
#include <thread>

#include "platform/runtime/Convert.h"
#include "recorder/PlayerMode.h"
#include "recorder/clsWavFile.h"

namespace mainwindow {

namespace {

// Tests of the real program only: each received block takes this much longer, spent inside its timing, so
// a signal finds a block under way most of the time and the block pumps the message loop at its end.
std::chrono::milliseconds slowBlocks() {
    static const std::chrono::milliseconds delay = [] {
        const char* text = std::getenv("NERIXSDR_TEST_SLOW_BLOCK_MS");
        return std::chrono::milliseconds(
            std::clamp(runtime::parseLong(text ? text : "").value_or(0), 0, 1000));
    }();
    return delay;
}

} // namespace

bool WavFileRecorder::PlayingBlocks() const {
    const int32_t mode = wav_.PlayerMode();
    return mode == recorder::PlayerMode::Playing || mode == recorder::PlayerMode::PlayingBack;
}
bool WavFileRecorder::Recording() const {
    if (slowBlocks().count() > 0) std::this_thread::sleep_for(slowBlocks());
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
