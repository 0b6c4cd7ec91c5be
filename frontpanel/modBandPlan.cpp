// The band plan store.
#include "frontpanel/modBandPlan.h"

#include "platform/runtime/Text.h"

namespace modBandPlan {

MainBandRec newMainBand(const std::string& programFolder, const std::string& fileName, int32_t index) {
    MainBandRec band;
    // Four characters, not bytes: a name may hold any UTF-8 text.
    std::u32string name = runtime::toU32(fileName);
    name.resize(name.size() >= 4 ? name.size() - 4 : 0);
    band.Name = runtime::toUtf8(name);
    band.Index = index;
    band.Caption = band.Name;
    band.Description = band.Name;
    band.SubBandUpperBound = kSubBandUpperBound;
    band.PresetUpperBound = kPresetUpperBound;
    band.FilePath = programFolder;
    if (band.FilePath.empty() || band.FilePath.back() != '/') band.FilePath += '/';
    band.FilePath += fileName;
    return band;
}

} // namespace modBandPlan
