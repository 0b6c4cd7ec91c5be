// The Hamlib rig list: the rigs the receiver model "Hamlib" can tune, by Hamlib model number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace modRigList {

struct RigListEntry {
    int32_t Index = 0;
    int32_t RigNo = 0;   // Hamlib's model number in its old numbering of 100 per backend
    std::string Desc;    // maker and model joined by ":", as "Yaesu:FT-847"
    std::string Version; // of the Hamlib backend
    std::string Status;  // "Alpha", "Beta", "New", "Stable" or "Untested"
};

// The list as start-up builds it; the configuration dialog reads rows 0 to RigListCount.
class RigListTable {
public:
    // Fills the 133 rows; building again gives the same rows.
    void BuildRigList();
    // The Desc of the first row with this number; empty when no row has it.
    std::string RigDescFromNo(int32_t rigNo) const;

    std::vector<RigListEntry> RigList;
    int32_t RigListCount = 0; // highest index
};

// The list keeps the numbers users have saved and seen, 100 per backend; Hamlib 4 numbers 1000 per
// backend. This is the number to hand Hamlib for a list number. A saved number can be anything, so one
// whose Hamlib number does not fit 32 bits raises Overflow.
int32_t hamlibModelNumber(int32_t rigNo);

} // namespace modRigList
