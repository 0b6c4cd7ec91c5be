// The about text of the configuration dialog, from the program's version record.
#pragma once

#include <cstdint>
#include <string>

namespace config {

struct ProgramVersion {
    std::string ProductName;
    uint16_t Major = 0;
    uint16_t Minor = 0;
    uint16_t Revision = 0;
    std::string LegalCopyright;
    std::string Comments;
    std::string WebAddress;
};

// The version of the program file at path: the numbers of the record's fixed part (major and minor from
// its high word, the revision from the last of the four), its legal notice and comments, and the web
// address given. A file without a record gives the product name alone.
ProgramVersion readProgramVersion(const std::string& path, std::string webAddress);
// This program's own, with the web address the build was configured with (empty by default).
ProgramVersion ownProgramVersion();

// "<product> Ver <major>.<minor>.<revision>", the legal notice, the comments and the web address, on
// lines ended by CR LF, with a blank line before the comments and before the address.
std::string aboutText(const ProgramVersion& version);

} // namespace config
