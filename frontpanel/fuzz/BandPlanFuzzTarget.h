// One run of the band plan store over arbitrary band plan file contents: load, a preset press and a
// capture, a save, and a second load.
#pragma once

#include <cstddef>
#include <cstdint>

namespace modBandPlan::fuzz {

// The input: the band plan file's bytes, then three bytes choosing the sub-band and the preset pressed
// and what the capture stores. Aborts when a value that nothing changed reads differently after the save,
// or when a file the store refused is written.
void loadPressSaveLoad(const uint8_t* data, std::size_t size);

} // namespace modBandPlan::fuzz
