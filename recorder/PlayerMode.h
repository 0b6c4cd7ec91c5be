// Names for what the recorder and player is doing (clsWavFile.PlayerMode), as the block drivers read it.
#pragma once

#include <cstdint>

namespace recorder {

// The mode stays an int32_t where it is held and read; these names convert to it.
struct PlayerMode {
    enum : int32_t {
        Closed = 0,
        Recording = 1,
        Playing = 2, // a file
        Paused = 3,
        Stopped = 4,
        PlayingBack = 5, // the recording just made
    };
};

} // namespace recorder
