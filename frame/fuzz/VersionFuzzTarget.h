// One run of the version record reader over arbitrary file contents.
#pragma once

#include <cstddef>
#include <cstdint>

namespace version::fuzz {

// Reads the bytes as a file that may carry a version record (the file information the About box and the
// library probe show), and as a record on its own; aborts on a broken invariant.
void readVersion(const uint8_t* data, std::size_t size);

} // namespace version::fuzz
