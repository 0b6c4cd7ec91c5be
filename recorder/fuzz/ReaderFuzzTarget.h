// One run of the recording reader and player over arbitrary file contents.
#pragma once

#include <cstddef>
#include <cstdint>

namespace recorder::fuzz {

// Opens the bytes as a recording, lists its tracks and plays its first blocks with a seek; aborts on a
// broken invariant.
void readAndPlay(const uint8_t* data, std::size_t size);

} // namespace recorder::fuzz
