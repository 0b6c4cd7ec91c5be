// One run of the settings store over arbitrary settings file contents and an arbitrary sequence of saves.
#pragma once

#include <cstddef>
#include <cstdint>

namespace profile::fuzz {

// The input has the INI engine's target's layout (IniFuzzTarget.h, whose makeInput builds it): the
// settings file's bytes, then saves. The store reads the file, every key it holds is read, the saves
// are made and committed, and a second store reads the file. Aborts when a key reads otherwise than the
// file says, a save does not read as saved, a commit writes a file it should leave alone, or the committed
// file reads otherwise than the first store did.
void readSaveCommit(const uint8_t* data, std::size_t size);

} // namespace profile::fuzz
