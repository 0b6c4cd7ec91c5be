// The band plan store: band, sub-band and preset records, and the module that reads and writes them in
// the band plan files (one INI file per band).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frame/ReceiverState.h"

class clsINIFile;
namespace profile {
class ProfileBatch;
}

// The receiver settings a sub-band or preset carries. Frequencies in whole hertz, the tuning step in
// tenths of a hertz.
struct PresetSettings {
    bool Dirty = false;  // changed since it was read; only a dirty and loaded block is written
    bool Loaded = false; // read from the file
    int32_t FreqCurrent = 0;
    bool HiSideLO = false; // as captured; never in a file
    bool LowSideLO = false;
    int32_t TuneStep = 0;
    int32_t FilterMode = 0;
    int32_t FilterHi = 0;
    int32_t FilterLo = 0;
    bool MusicModeActive = false;
    bool DynFilterActive = false;
    bool IFFilterActive = false;
    int32_t IFFilterMode = 0;
    int32_t IFFilterLo = 0;
    int32_t IFFilterHi = 0;
    float AGCAttack = 0.0f;
    float AGCDecay = 0.0f;
    bool AGCOn = false;
    int32_t AGCMode = 0;
    bool NotchActive = false;
    int32_t NotchMode = 0;
    int32_t NotchType = 0;
    int32_t NotchFilterCenter = 0;
    int32_t NotchFilterWidth = 0;
    bool NotchMirror = false;
    int32_t DemodMode = 0;
    float OutputAttenuation = 0.0f;

    bool operator==(const PresetSettings&) const = default;
};

struct PresetRec {
    std::string Name; // band Name & ".SubBand(i).Preset(j)"
    int32_t Index = 0;
    std::string Caption; // at most 7 characters after reading
    std::string Description;
    PresetSettings Settings; // FreqCurrent below 1: the preset is unused
    bool Active = false;
    std::string When; // yyyy-mm-dd hh:mm:ss of the last store

    bool operator==(const PresetRec&) const = default;
};

struct SubBandRec {
    std::string Name; // band Name & ".SubBand(i)"
    int32_t Index = 0;
    std::string Caption; // at most 6 characters after reading
    std::string Description;
    PresetSettings Settings;
    int32_t FreqMin = -1;          // Hz
    int32_t FreqMax = -1;          // Hz
    std::vector<PresetRec> Preset; // 0 to PresetUpperBound; the last one is never shown, read or written
    int32_t ActivePreset = -1;
    int32_t NumPresets = 0;
    int32_t PresetUpperBound = 0;
    bool InUse = false;

    bool operator==(const SubBandRec&) const = default;
};

// One band. The start-up fills the fields up to FilePath from the folder scan; the store fills the
// rest when the band is first selected.
struct MainBandRec {
    std::string Name; // file name without its four-character extension
    int32_t Index = 0;
    std::string Caption;
    std::string Description;
    bool Active = false;
    int32_t ActiveSubBand = 0;
    int32_t NumSubBands = 0; // index of the last sub-band in use
    int32_t SubBandUpperBound = 0;
    int32_t PresetUpperBound = 0;
    std::string FilePath;
    bool Loaded = false;
    std::vector<SubBandRec> SubBand; // 0 to SubBandUpperBound; the last one is never used
    // The file existed at the load but could not be read: the records hold defaults, which must never
    // be written over the user's file.
    bool FileUnreadable = false;
};

namespace modBandPlan {

inline constexpr int32_t kSubBandUpperBound = 18;
inline constexpr int32_t kPresetUpperBound = 12;
// The highest frequency in hertz that can be tuned in tenths of a hertz in 32 bits.
inline constexpr int32_t kMaxFreqCurrent = 214748364;

// The record of a band plan file as the start-up creates it: named after the file, at its index, not
// loaded.
MainBandRec newMainBand(const std::string& programFolder, const std::string& fileName, int32_t index);

// The local date and time as a preset's "When" text, yyyy-mm-dd hh:mm:ss.
std::string nowText();

// The module's state (current section and file, the busy flags, the shared reader) and its routines.
// One per program, owned by the application object; UI thread only.
class BandPlanStore {
public:
    using Clock = std::function<std::string()>; // the "When" text of records made now

    BandPlanStore(std::vector<MainBandRec>& MainBands, ReceiverState& State, Clock clock = nowText);
    ~BandPlanStore();
    BandPlanStore(const BandPlanStore&) = delete;
    BandPlanStore& operator=(const BandPlanStore&) = delete;

    // Creates the sub-band and preset records of a band that is not loaded. Returns True.
    bool InitBandPlanArrays(MainBandRec& band);
    // Reads a band's file once per run. False when another load or a save is running (nothing read).
    bool LoadBandPlan(MainBandRec& band);
    // Writes a loaded band back to its file as one replacement of the file. True when written or when
    // there was nothing to write; False, with a trace line naming the file, when it was not written, and
    // then why in `why` when given.
    bool SaveBandPlan(MainBandRec& band, std::string* why = nullptr);
    // One settings block from the current section of the shared reader.
    void LoadPresetSettings(PresetSettings& block);
    // One settings block into the current section, only when it is dirty and loaded.
    void SavePresetSettings(const PresetSettings& block);
    // One preset's settings block straight from its band's file on disk, unless it is loaded.
    void LoadPresetOnDemand(int32_t band, int32_t subBand, int32_t preset);

    std::string GetBandPlanKey(std::string_view key, std::string_view defaultValue) const;
    // Writes into the running save's batch, or straight into the current file outside a save. Line
    // breaks in the value become blanks, so a text can never add lines to the file.
    bool SaveBandPlanKey(std::string_view key, std::string_view value);

    bool BandPlanBusy() const noexcept { return busy_; }
    // A band is half read: the sub-band tracking stays idle.
    bool BandPlanLoading() const noexcept { return loading_; }

private:
    std::vector<MainBandRec>& MainBands_;
    ReceiverState& State_;
    Clock clock_;
    std::string section_;
    std::string file_;
    bool busy_ = false;
    bool loading_ = false;
    std::unique_ptr<clsINIFile> reader_;     // made at the first load, reused for every band
    profile::ProfileBatch* batch_ = nullptr; // the running save's batch
    const MainBandRec* loadingBand_ = nullptr;
};

} // namespace modBandPlan

using MainBandArray = std::vector<MainBandRec>;
