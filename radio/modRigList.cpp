// The Hamlib rig list and the conversion of its numbers to Hamlib 4's.
#include "radio/modRigList.h"

#include <iterator>
#include <utility>

#include "platform/runtime/RuntimeError.h"

namespace modRigList {
namespace {

struct Row {
    int32_t RigNo;
    const char* Desc;
    const char* Version;
    const char* Status;
};

constexpr Row kRows[] = {
    {1, "Hamlib:Dummy", "0.2", "Beta"},
    {101, "Yaesu:FT-847", "0.2", "Alpha"},
    {103, "Yaesu:FT-1000D", "0.0.5", "Alpha"},
    {104, "Yaesu:MARK-V-FT1000MP", "0.4", "Alpha"},
    {105, "Yaesu:FT-747GX", "0.0.5", "Untested"},
    {106, "Yaesu:FT-757GX", "0.4.1", "Beta"},
    {107, "Yaesu:FT-757GXII", "0.6", "Alpha"},
    {110, "Yaesu:FT-736R", "0.5.0.6", "Untested"},
    {113, "Yaesu:FT-900", "0.1", "New"},
    {114, "Yaesu:FT-920", "0.2", "Beta"},
    {115, "Yaesu:FT-890", "0.2.1", "New"},
    {116, "Yaesu:FT-990", "0.4", "Alpha"},
    {117, "Yaesu:FRG-100", "0.0.5", "Untested"},
    {118, "Yaesu:FRG-9600", "0.4.1", "Beta"},
    {119, "Yaesu:FRG-8800", "0.6", "Alpha"},
    {120, "Yaesu:FT-817", "0.5.0.6", "Untested"},
    {121, "Yaesu:FT-100", "0.1", "Beta"},
    {122, "Yaesu:FT-857", "0.2", "New"},
    {123, "Yaesu:FT-897", "0.2.1", "Alpha"},
    {124, "Yaesu:FT-1000MP", "0.4", "Untested"},
    {125, "Yaesu:MARK-V-Field-FT1000MP", "0.0.5", "Beta"},
    {126, "Yaesu:VR-5000", "0.4.1", "Alpha"},
    {201, "Kenwood:TS-50S", "0.6", "Untested"},
    {202, "Kenwood:TS-440", "0.5.0.6", "Alpha"},
    {203, "Kenwood:TS-450S", "0.1", "Beta"},
    {204, "Kenwood:TS-570D", "0.2", "New"},
    {205, "Kenwood:TS-690S", "0.2.1", "Alpha"},
    {206, "Kenwood:TS-711", "0.4", "Untested"},
    {207, "Kenwood:TS-790", "0.0.5", "Beta"},
    {208, "Kenwood:TS-811", "0.4.1", "Alpha"},
    {209, "Kenwood:TS-850", "0.6", "Untested"},
    {210, "Kenwood:TS-870S", "0.5.0.6", "Beta"},
    {211, "Kenwood:TS-940S", "0.1", "New"},
    {213, "Kenwood:TS-950SDX", "0.2", "Alpha"},
    {214, "Kenwood:TS-2000", "0.2.1", "Untested"},
    {215, "Kenwood:R-5000", "0.4", "Beta"},
    {216, "Kenwood:TS-570S", "0.0.5", "Alpha"},
    {217, "Kenwood:TH-D7A", "0.4.1", "Untested"},
    {220, "Kenwood:TH-F7E", "0.6", "Beta"},
    {221, "Elecraft:K2", "0.5.0.6", "New"},
    {222, "Kenwood:TS-930", "0.1", "Alpha"},
    {223, "Kenwood:TH-G71", "0.2", "Untested"},
    {224, "Kenwood:TS-680S", "0.2.1", "Beta"},
    {225, "Kenwood:TS-140S", "0.4", "Alpha"},
    {226, "Kenwood:TM-D700", "0.0.5", "Untested"},
    {227, "Kenwood:TM-V7", "0.4.1", "Beta"},
    {228, "Kenwood:TS-480", "0.6", "New"},
    {303, "Icom:IC-271", "0.5.0.6", "Alpha"},
    {304, "Icom:IC-275", "0.1", "Untested"},
    {306, "Icom:IC-471", "0.2", "Beta"},
    {307, "Icom:IC-475", "0.2.1", "Alpha"},
    {309, "Icom:IC-706", "0.4", "Untested"},
    {310, "Icom:IC-706MkII", "0.0.5", "Beta"},
    {311, "Icom:IC-706MkIIG", "0.4.1", "New"},
    {312, "Icom:IC-707", "0.6", "Alpha"},
    {313, "Icom:IC-718", "0.5.0.6", "Untested"},
    {314, "Icom:IC-725", "0.1", "Beta"},
    {315, "Icom:IC-726", "0.4", "Stable"},
    {316, "Icom:IC-728", "0.2.1", "Alpha"},
    {319, "Icom:IC-735", "0.4", "Untested"},
    {320, "Icom:IC-736", "0.0.5", "Beta"},
    {321, "Icom:IC-737", "0.4.1", "New"},
    {323, "Icom:IC-746", "0.6", "Alpha"},
    {324, "Icom:IC-751", "0.4.1", "Beta"},
    {326, "Icom:IC-756", "0.1", "Untested"},
    {327, "Icom:IC-756PRO", "0.2", "Beta"},
    {328, "Icom:IC-761", "0.2.1", "Alpha"},
    {329, "Icom:IC-765", "0.4", "Untested"},
    {330, "Icom:IC-775", "0.0.5", "Beta"},
    {331, "Icom:IC-781", "0.4.1", "New"},
    {334, "Icom:IC-821H", "0.6", "Alpha"},
    {335, "Icom:IC-970", "0.5.0.6", "Untested"},
    {336, "Icom:IC-R10", "0.1", "Beta"},
    {337, "Icom:IC-R71", "0.2", "Alpha"},
    {338, "Icom:IC-R72", "0.2.1", "Untested"},
    {339, "Icom:IC-R75", "0.4", "Beta"},
    {340, "Icom:IC-R7000", "0.0.5", "New"},
    {341, "Icom:IC-R7100", "0.4.1", "Alpha"},
    {342, "Icom:ICR-8500", "0.6", "Untested"},
    {343, "Icom:IC-R9000", "0.5.0.6", "Beta"},
    {344, "Icom:IC-910", "0.1", "Alpha"},
    {345, "Icom:IC-78", "0.2", "Untested"},
    {346, "Icom:IC-746PRO", "0.2.1", "Beta"},
    {347, "Icom:IC-756PROII", "0.4", "New"},
    {351, "Ten-Tec:Omni_V1_Plus", "0.0.5", "Alpha"},
    {352, "Optoelectronics:OptoScan535", "0.4.1", "Untested"},
    {353, "Optoelectronics:OptoScan456", "0.6", "Beta"},
    {354, "Icom:IC ID-1", "0.5.0.6", "Alpha"},
    {355, "Icom:IC-703", "0.1", "Untested"},
    {356, "Icom:IC-7800", "0.2", "Beta"},
    {357, "Icom:IC-756PROIII", "0.2.1", "New"},
    {358, "Icom:IC-R20", "0.4", "Alpha"},
    {360, "Icom:IC-7000", "0.0.5", "Untested"},
    {401, "Icom:IC-PCR1000", "0.4.1", "Beta"},
    {402, "Icom:IC-PCR100", "0.6", "Alpha"},
    {501, "AOR:AR8200", "0.5.0.6", "Untested"},
    {502, "AOR:AR8000", "0.1", "Beta"},
    {503, "AOR:AR7030", "0.2", "New"},
    {504, "AOR:AR5000", "0.2.1", "Alpha"},
    {505, "AOR:AR3030", "0.4", "Untested"},
    {506, "AOR:AR3000A", "0.0.5", "Beta"},
    {508, "AOR:AR2700", "0.4.1", "Alpha"},
    {513, "AOR:AR8600", "0.6", "Untested"},
    {514, "AOR:AR5000A", "0.5.0.6", "Beta"},
    {606, "JRC:NRD-535D", "0.6", "Stable"},
    {607, "JRC:NRD-545-DSP", "0.2", "New"},
    {802, "Uniden:BC245xlt", "0.2.1", "Alpha"},
    {803, "Uniden:BC895xlt", "0.4", "Untested"},
    {902, "Drake:R-8A", "0.0.5", "Beta"},
    {903, "Drake:R-8B", "0.4.1", "Alpha"},
    {1004, "Lowe:HF-235", "0.6", "Untested"},
    {1103, "Racal:RA6790/GM", "0.5.0.6", "Beta"},
    {1204, "Watkins-Johnson:WJ-8888", "0.1", "Alpha"},
    {1402, "Skanti:TRP8000", "0.2", "Untested"},
    {1508, "Winradio:WR-G303", "0.2.1", "Alpha"},
    {1509, "Winradio:WR-G313", "0.4", "Untested"},
    {1601, "Ten-Tec:TT-550", "0.0.5", "Alpha"},
    {1602, "Ten-Tec:TT-538 Jupiter", "0.4.1", "Untested"},
    {1603, "Ten-Tec:RX-320", "0.6", "Alpha"},
    {1604, "Ten-Tec:RX-340", "0.5.0.6", "Untested"},
    {1605, "Ten-Tec:RX-350", "0.1", "Alpha"},
    {1607, "Ten-Tec:TT-516-Argonaut", "0.2", "Untested"},
    {1608, "Ten-Tec:TT-565-Orion", "0.2.1", "Alpha"},
    {1701, "Alinco:DX-77", "0.4", "Untested"},
    {1801, "Kachina:505DSP", "0.0.5", "Alpha"},
    {2101, "Microtune:4937-D15", "0.2.1", "Untested"},
    {2102, "Microtune:4702-DTS", "0.6", "Untested"},
    {2201, "TAPR:DSP-10", "0.5.0.6", "Untested"},
    {2301, "Flex-Radio:SDR-1000", "0.1", "Untested"},
    {2401, "RFT:EKD-500", "0.2", "Stable"},
    {2501, "Elektor:DRM RX 03/04", "0.4", "Beta"},
    {2502, "SAT-Schneider:DRT1", "0.2", "Beta"},
    {2503, "Coding-Technologies:DWT", "0.1", "Alpha"},
};

static_assert(std::size(kRows) == 133);

} // namespace

void RigListTable::BuildRigList() {
    RigList.clear();
    RigList.reserve(std::size(kRows));
    for (const Row& row : kRows) {
        const auto index = static_cast<int32_t>(RigList.size());
        RigList.push_back({index, row.RigNo, row.Desc, row.Version, row.Status});
        RigListCount = index;
    }
}

std::string RigListTable::RigDescFromNo(int32_t rigNo) const {
    for (const RigListEntry& entry : RigList)
        if (entry.RigNo == rigNo) return entry.Desc;
    return {};
}

int32_t hamlibModelNumber(int32_t rigNo) {
    const int64_t number = int64_t{rigNo} / 100 * 1000 + rigNo % 100;
    if (!std::in_range<int32_t>(number))
        runtime::raise(runtime::err::kOverflow, "modRigList.hamlibModelNumber");
    return static_cast<int32_t>(number);
}

} // namespace modRigList
