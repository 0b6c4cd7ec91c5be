// The band plan store.
#include "frontpanel/modBandPlan.h"

namespace modBandPlan {

MainBandRec newMainBand(const std::string& programFolder, const std::string& fileName, int32_t index) {
    MainBandRec band;
    // The extension is four ASCII characters, so cutting bytes keeps a name that is not UTF-8 intact.
    band.Name = fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0);
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
