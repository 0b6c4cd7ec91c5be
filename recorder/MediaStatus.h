// What the recorder and player holds (clsWavFile.StatusOfMedia), as the transport buttons ask it.
#pragma once

#include <cstdint>

namespace recorder {

// The numbers are the ones the object has always held; nothing ever holds 2.
enum class MediaStatus : int32_t {
    Empty = 0,            // nothing loaded or recorded since the object was made
    FileLoaded = 1,       // a file chosen or opened for playback
    RecordingUnsaved = 3, // a recording made and not saved yet (it may be closed already)
    RecordingSaved = 4,
};

} // namespace recorder
