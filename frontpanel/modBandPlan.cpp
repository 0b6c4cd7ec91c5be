// The band plan store: records made at a band's first selection, read from its file, written back at
// shutdown as one replacement of the file.
#include "frontpanel/modBandPlan.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <ctime>
#include <limits>
#include <optional>
#include <variant>

#include "frame/ScopedFlag.h"
#include "frame/clsINIFile.h"
#include "frame/modIniFiles.h"
#include "platform/profile/PrivateProfile.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Text.h"

namespace modBandPlan {

namespace {

constexpr std::size_t kSubBandCaptionChars = 6;
constexpr std::size_t kPresetCaptionChars = 7;
constexpr int32_t kNotchWidthLimit = 12999;
constexpr int32_t kNotchWidthDefault = 100;
// A save waiting on a load pumps this often before it gives up: on one thread the load it waits for is
// further down the same call stack and cannot end while the save waits.
constexpr int kBusyWaitPumps = 100;

template <class T> class ValueGuard {
public:
    ValueGuard(T& slot, T value) : slot_(slot), old_(slot) { slot_ = value; }
    ~ValueGuard() { slot_ = old_; }
    ValueGuard(const ValueGuard&) = delete;
    ValueGuard& operator=(const ValueGuard&) = delete;

private:
    T& slot_;
    T old_;
};

const char* booleanText(bool value) {
    return value ? "True" : "False";
}

std::optional<float> toSingle(std::string_view text) {
    const auto number = runtime::parseDouble(text);
    if (!number || std::fabs(*number) > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(*number);
}

std::string cutChars(const std::string& text, std::size_t chars) {
    return profile::cutToChars(text, chars);
}

// Reads typed keys of the current section; a text that does not convert gives the key's default and a
// trace line, and the reading goes on.
class KeyReader {
public:
    using Source = std::function<std::string(std::string_view key, std::string_view defaultText)>;
    KeyReader(Source source, std::string file, const std::string& section)
        : source_(std::move(source)), file_(std::move(file)), section_(section) {}

    std::string text(std::string_view key, const std::string& def) const { return source_(key, def); }

    int32_t number(std::string_view key, int32_t def) const {
        return convert(key, def, std::to_string(def), runtime::parseLong,
                       [](int32_t v) { return std::to_string(v); });
    }
    bool boolean(std::string_view key, bool def) const {
        return convert(key, def, booleanText(def), runtime::parseBoolean,
                       [](bool v) { return std::string(booleanText(v)); });
    }
    float single(std::string_view key, float def) const {
        return convert(key, def, runtime::singleText(def), toSingle, runtime::singleText);
    }

    // A value outside lo..hi is brought to the nearer end.
    int32_t clamp(std::string_view key, int32_t value, int32_t lo, int32_t hi) const {
        return inRange(key, value, lo, hi, std::clamp(value, lo, std::max(lo, hi)));
    }
    // A value outside lo..hi becomes the replacement.
    int32_t inRange(std::string_view key, int32_t value, int32_t lo, int32_t hi, int32_t replacement) const {
        if (value >= lo && value <= hi) return value;
        corrected(key, std::to_string(value), "out of range", std::to_string(replacement));
        return replacement;
    }
    void corrected(std::string_view key, const std::string& found, const char* why,
                   const std::string& used) const {
        runtime::AddLog("modBandPlan: " + file_ + " [" + section_ + "] " + std::string(key) + "=" + found +
                        " " + why + "; " + used + " used");
    }

private:
    template <class T, class Parse, class Show>
    T convert(std::string_view key, T def, const std::string& defText, Parse parse, Show show) const {
        const std::string found = source_(key, defText);
        if (const auto value = parse(found)) return *value;
        corrected(key, found, "does not convert", show(def));
        return def;
    }

    Source source_;
    std::string file_;
    const std::string& section_;
};

// The settings keys in reading order, with the default a missing or unusable key gives (none: the value
// the field holds) and, for index fields, the values allowed.
using Field = std::variant<int32_t PresetSettings::*, bool PresetSettings::*, float PresetSettings::*>;
struct SettingsKey {
    const char* name;
    Field field;
    std::optional<double> fixedDefault;
    int32_t lo = std::numeric_limits<int32_t>::min();
    int32_t hi = std::numeric_limits<int32_t>::max();
};

const std::array<SettingsKey, 24>& settingsKeys() {
    using P = PresetSettings;
    using std::nullopt;
    static const std::array<SettingsKey, 24> keys{{
        {"DemodMode", &P::DemodMode, nullopt, DemodMode::AM, DemodMode::AM1},
        {"FreqCurrent", &P::FreqCurrent, nullopt, std::numeric_limits<int32_t>::min(), kMaxFreqCurrent},
        {"LowSideLO", &P::LowSideLO, nullopt},
        {"TuneStep", &P::TuneStep, 1000},
        {"FilterMode", &P::FilterMode, nullopt, 0, 4},
        {"FilterHi", &P::FilterHi, -1},
        {"FilterLo", &P::FilterLo, -1},
        {"MusicModeActive", &P::MusicModeActive, 0},
        {"DynFilterActive", &P::DynFilterActive, 0},
        {"IFFilterActive", &P::IFFilterActive, 0},
        {"IFFilterMode", &P::IFFilterMode, IFFilterMode::Track, IFFilterMode::Off, IFFilterMode::Track},
        {"IFFilterHi", &P::IFFilterHi, 4500},
        {"IFFilterLo", &P::IFFilterLo, 50},
        {"AGCOn", &P::AGCOn, 1},
        {"AGCMode", &P::AGCMode, 2},
        {"AGCAttack", &P::AGCAttack, 10},
        {"AGCDecay", &P::AGCDecay, 10},
        {"NotchActive", &P::NotchActive, 0},
        {"NotchMode", &P::NotchMode, 1, 0, 1},
        {"NotchType", &P::NotchType, NotchType::AF},
        {"NotchMirror", &P::NotchMirror, 0},
        {"NotchFilterCenter", &P::NotchFilterCenter, 1000},
        {"NotchFilterWidth", &P::NotchFilterWidth, kNotchWidthDefault},
        {"OutputAttenuation", &P::OutputAttenuation, 0},
    }};
    return keys;
}

// The order in which a block's keys are written.
constexpr std::array<const char*, 24> kWriteOrder{"DemodMode",        "FreqCurrent",     "LowSideLO",
                                                  "TuneStep",         "MusicModeActive", "DynFilterActive",
                                                  "IFFilterActive",   "IFFilterMode",    "IFFilterHi",
                                                  "IFFilterLo",       "FilterMode",      "FilterHi",
                                                  "FilterLo",         "AGCOn",           "AGCMode",
                                                  "AGCAttack",        "AGCDecay",        "NotchActive",
                                                  "NotchMode",        "NotchType",       "NotchFilterCenter",
                                                  "NotchFilterWidth", "NotchMirror",     "OutputAttenuation"};

const SettingsKey& settingsKey(std::string_view name) {
    for (const SettingsKey& key : settingsKeys()) {
        if (name == key.name) return key;
    }
    runtime::raise(runtime::err::kInvalidCall, "modBandPlan.settingsKey");
}

void readBlock(const KeyReader& reader, PresetSettings& block) {
    block.Dirty = false;
    for (const SettingsKey& key : settingsKeys()) {
        std::visit(
            [&](auto member) {
                auto& field = block.*member;
                using T = std::remove_reference_t<decltype(field)>;
                const T def = key.fixedDefault ? static_cast<T>(*key.fixedDefault) : field;
                if constexpr (std::is_same_v<T, int32_t>) {
                    field = reader.inRange(key.name, reader.number(key.name, def), key.lo, key.hi, def);
                } else if constexpr (std::is_same_v<T, bool>) {
                    field = reader.boolean(key.name, def);
                } else {
                    field = reader.single(key.name, def);
                }
            },
            key.field);
    }
    if (block.NotchFilterWidth > kNotchWidthLimit) block.NotchFilterWidth = kNotchWidthDefault;
    block.NotchFilterWidth =
        reader.inRange("NotchFilterWidth", block.NotchFilterWidth, 0, kNotchWidthLimit, kNotchWidthDefault);
    block.Loaded = true;
}

std::string fieldText(const PresetSettings& block, const Field& field) {
    return std::visit(
        [&](auto member) -> std::string {
            const auto value = block.*member;
            using T = std::remove_const_t<decltype(value)>;
            if constexpr (std::is_same_v<T, int32_t>) {
                return std::to_string(value);
            } else if constexpr (std::is_same_v<T, bool>) {
                return booleanText(value);
            } else {
                return runtime::singleText(value);
            }
        },
        field);
}

// Names, captions and descriptions are free text: a line break would end the key's line in the file.
std::string oneLine(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') continue; // CR LF: one blank
        if (c == '\r' || c == '\n')
            out += ' ';
        else if (c != '\0')
            out += c;
    }
    return out;
}

template <class T> T& element(std::vector<T>& items, int32_t index, const char* source) {
    if (index < 0 || static_cast<std::size_t>(index) >= items.size())
        runtime::raise(runtime::err::kSubscriptOutOfRange, source);
    return items[static_cast<std::size_t>(index)];
}

// A prefix and a number, appended piece by piece: GCC 12 warns falsely about "literal" + std::string.
std::string numbered(const char* prefix, int64_t number) {
    std::string text(prefix);
    text += std::to_string(number);
    return text;
}

void pump() {
    runtime::resumeNext([] { runtime::DoEvents(); });
}

} // namespace

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

std::string nowText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return std::string(text, n);
}

BandPlanStore::BandPlanStore(std::vector<MainBandRec>& MainBands, ReceiverState& State, Clock clock)
    : MainBands_(MainBands), State_(State), clock_(clock ? std::move(clock) : Clock(nowText)) {}

BandPlanStore::~BandPlanStore() = default;

bool BandPlanStore::InitBandPlanArrays(MainBandRec& band) {
    // The band being read keeps its records: a selection run from the load's message pumping would
    // otherwise replace them under it.
    if (band.Loaded || &band == loadingBand_) return true;
    band.NumSubBands = band.SubBandUpperBound - 1;
    const std::string when = clock_();
    band.SubBand.assign(static_cast<std::size_t>(std::max(band.SubBandUpperBound, 0)) + 1, SubBandRec{});
    for (std::size_t i = 0; i < band.SubBand.size(); ++i) {
        SubBandRec& sub = band.SubBand[i];
        const std::string number = std::to_string(i);
        sub.Name = band.Name + ".SubBand(" + number + ")";
        sub.Index = static_cast<int32_t>(i);
        sub.NumPresets = band.PresetUpperBound;
        sub.PresetUpperBound = band.PresetUpperBound;
        sub.Caption = numbered("S", i + 1);
        sub.Description = numbered("SubBand #", i + 1);
        sub.ActivePreset = -1;
        sub.Settings.FreqCurrent = -1;
        sub.FreqMax = -1;
        sub.FreqMin = -1;
        sub.InUse = false;
        sub.Preset.assign(static_cast<std::size_t>(std::max(band.PresetUpperBound, 0)) + 1, PresetRec{});
        for (std::size_t j = 0; j < sub.Preset.size(); ++j) {
            PresetRec& preset = sub.Preset[j];
            preset.Name = sub.Name + numbered(".Preset(", j) + ")";
            preset.Caption = numbered("P", j + 1);
            preset.Description = numbered("Preset", j + 1);
            preset.Index = static_cast<int32_t>(j);
            preset.When = when;
            preset.Active = false;
            preset.Settings.FreqCurrent = -1;
        }
    }
    return true;
}

bool BandPlanStore::LoadBandPlan(MainBandRec& band) {
    if (band.Loaded) return true;
    if (busy_) return false;
    const ScopedFlag busy(busy_);
    const ScopedFlag loading(loading_);
    if (band.SubBand.empty()) InitBandPlanArrays(band); // a load without records would fill nothing
    const ValueGuard<const MainBandRec*> current(loadingBand_, &band);

    const std::string file = band.FilePath;
    file_ = file;
    section_ = "MainBand";
    if (!reader_) reader_ = std::make_unique<clsINIFile>();
    band.FileUnreadable = false;
    try {
        reader_->init(file);
    } catch (const runtime::RuntimeError& e) {
        // A file that has gone loads as defaults and is written again at shutdown; one that is there but
        // cannot be read must keep what it holds.
        if (e.Number() != runtime::err::kFileNotFound) {
            band.FileUnreadable = true;
            runtime::AddLog("modBandPlan.LoadBandPlan: " + file + " cannot be read (" + e.Description() +
                            "); the band will not be saved");
        }
    }
    const KeyReader r([this](std::string_view key, std::string_view def) { return GetBandPlanKey(key, def); },
                      file, section_);

    band.Caption = r.text("Caption", band.Caption);
    band.Description = r.text("Description", band.Description);
    band.Active = r.boolean("Active", band.Active);
    band.ActiveSubBand = r.number("ActiveSubBand", band.ActiveSubBand);
    band.NumSubBands = r.number("NumSubBands", band.NumSubBands);
    const int32_t lastSubBand = static_cast<int32_t>(band.SubBand.size()) - 2; // the last record is spare
    band.NumSubBands = r.clamp("NumSubBands", band.NumSubBands, 0, lastSubBand);
    band.ActiveSubBand = r.clamp("ActiveSubBand", band.ActiveSubBand, 0, band.NumSubBands);

    // Records are reached by index after every pump: nothing may hold one across the message loop.
    for (int32_t i = 0; i <= band.NumSubBands; ++i) {
        {
            section_ = numbered("SubBand.", i);
            SubBandRec& sub = band.SubBand[static_cast<std::size_t>(i)];
            sub.Caption = cutChars(r.text("Caption", numbered("S", i + 1)), kSubBandCaptionChars);
            sub.Description = r.text("Description", numbered("SubBand #", i + 1));
            const int32_t lastPreset =
                std::min(sub.NumPresets, static_cast<int32_t>(sub.Preset.size()) - 1) - 1;
            sub.ActivePreset = r.clamp("ActivePreset", r.number("ActivePreset", -1), -1, lastPreset);
            sub.FreqMin = r.number("FreqMin", -1);
            sub.FreqMax = r.number("FreqMax", -1);
            sub.Settings.FreqCurrent = r.inRange("FreqCurrent", r.number("FreqCurrent", -1),
                                                 std::numeric_limits<int32_t>::min(), kMaxFreqCurrent, -1);
            sub.InUse = !(sub.FreqMax < 0 && sub.FreqMin < 0 && sub.Settings.FreqCurrent < 0);
            sub.Settings.Loaded = false;
            LoadPresetSettings(sub.Settings);
        }
        pump();
        const SubBandRec& sub = band.SubBand[static_cast<std::size_t>(i)];
        if (sub.InUse) {
            const int32_t presets = std::min(sub.NumPresets, static_cast<int32_t>(sub.Preset.size()) - 1);
            for (int32_t j = 0; j < presets; ++j) {
                section_ = numbered("Preset.", i) + numbered(".", j);
                PresetRec& preset =
                    band.SubBand[static_cast<std::size_t>(i)].Preset[static_cast<std::size_t>(j)];
                preset.Caption = cutChars(r.text("Caption", numbered("P", j + 1)), kPresetCaptionChars);
                preset.Description = r.text("Description", numbered("Preset", j + 1));
                preset.Active = r.boolean("Active", false);
                preset.When = r.text("When", preset.When);
                preset.Settings.FreqCurrent =
                    r.inRange("FreqCurrent", r.number("FreqCurrent", -1), std::numeric_limits<int32_t>::min(),
                              kMaxFreqCurrent, -1);
                preset.Settings.Loaded = false;
                pump();
            }
        }
        pump();
    }

    if (band.Active) State_.CurrentMainBandIndex = band.Index;
    band.Loaded = true;
    return true;
}

bool BandPlanStore::SaveBandPlan(MainBandRec& band, std::string* why) {
    if (!band.Loaded) return true;
    const auto refuse = [&](const std::string& reason) {
        runtime::AddLog("modBandPlan.SaveBandPlan: " + band.FilePath + " not saved: " + reason);
        if (why) *why = reason;
        return false;
    };
    for (int n = 0; busy_ && n < kBusyWaitPumps; ++n)
        pump();
    if (busy_) return refuse("a band plan is being read");
    if (band.FileUnreadable) return refuse("it could not be read when the band was loaded");
    const ScopedFlag busy(busy_);
    profile::ProfileBatch batch(band.FilePath);
    const ValueGuard<profile::ProfileBatch*> inBatch(batch_, &batch);
    file_ = band.FilePath;
    section_ = "MainBand";

    bool written = true;
    const auto put = [&](std::string_view key, const std::string& value) {
        written = SaveBandPlanKey(key, value) && written;
    };
    put("Index", std::to_string(band.Index));
    put("Name", band.Name);
    put("Caption", band.Caption);
    put("Description", band.Description);
    put("Active", booleanText(band.Active));
    put("ActiveSubBand", std::to_string(band.ActiveSubBand));
    put("NumSubBands", std::to_string(band.NumSubBands));

    const int32_t lastSubBand = std::min(band.NumSubBands, static_cast<int32_t>(band.SubBand.size()) - 1);
    for (int32_t i = 0; i <= lastSubBand; ++i) {
        const SubBandRec& sub = band.SubBand[static_cast<std::size_t>(i)];
        section_ = numbered("SubBand.", i);
        put("Index", std::to_string(sub.Index));
        put("Name", sub.Name);
        put("Caption", sub.Caption);
        put("Description", sub.Description);
        put("NumPresets", std::to_string(sub.NumPresets));
        put("ActivePreset", std::to_string(sub.ActivePreset));
        put("FreqMin", std::to_string(sub.FreqMin));
        put("FreqMax", std::to_string(sub.FreqMax));
        SavePresetSettings(sub.Settings);
        const int32_t presets = std::min(sub.PresetUpperBound, static_cast<int32_t>(sub.Preset.size()));
        for (int32_t j = 0; j < presets; ++j) {
            const PresetRec& preset = sub.Preset[static_cast<std::size_t>(j)];
            section_ = numbered("Preset.", i) + numbered(".", j);
            if (preset.Settings.FreqCurrent <= 0) continue;
            put("Index", std::to_string(preset.Index));
            put("Name", preset.Name);
            put("Caption", preset.Caption);
            put("Description", preset.Description);
            put("Active", booleanText(preset.Active));
            put("When", preset.When);
            SavePresetSettings(preset.Settings);
        }
    }

    // A file the save would leave as it is is not replaced, so an unchanged read-only band plan is no
    // failure.
    const profile::ProfileStatus status = batch.changesFile() ? batch.commit() : profile::ProfileStatus::Ok;
    if (status != profile::ProfileStatus::Ok) return refuse(profile::describe(status));
    if (!written && why) *why = "some keys could not be written";
    return written;
}

void BandPlanStore::LoadPresetSettings(PresetSettings& block) {
    const KeyReader r([this](std::string_view key, std::string_view def) { return GetBandPlanKey(key, def); },
                      file_, section_);
    readBlock(r, block);
}

void BandPlanStore::SavePresetSettings(const PresetSettings& block) {
    if (!(block.Loaded && block.Dirty)) return;
    for (const char* name : kWriteOrder)
        SaveBandPlanKey(name, fieldText(block, settingsKey(name).field));
}

void BandPlanStore::LoadPresetOnDemand(int32_t band, int32_t subBand, int32_t preset) {
    constexpr const char* kSource = "modBandPlan.LoadPresetOnDemand";
    MainBandRec& b = element(MainBands_, band, kSource);
    file_ = b.FilePath;
    section_ = numbered("Preset.", subBand) + numbered(".", preset);
    PresetRec& p = element(element(b.SubBand, subBand, kSource).Preset, preset, kSource);
    if (p.Settings.Loaded) return;
    const std::string file = file_;
    const std::string section = section_;
    // One reading of the file serves the block's keys: read once per key, the press cost as much as
    // reading the whole plan again for each of them.
    const profile::ProfileBatch reading(file);
    const KeyReader r([&reading, &section](std::string_view key,
                                           std::string_view def) { return reading.read(section, key, def); },
                      file, section);
    readBlock(r, p.Settings);
}

std::string BandPlanStore::GetBandPlanKey(std::string_view key, std::string_view defaultValue) const {
    if (!reader_) return std::string(defaultValue);
    return reader_->LoadItem(section_, key, defaultValue);
}

bool BandPlanStore::SaveBandPlanKey(std::string_view key, std::string_view value) {
    const std::string text = oneLine(value);
    if (batch_ == nullptr) return modIniFiles::ProfileSaveItem(section_, std::string(key), text, file_);
    const profile::ProfileStatus status = batch_->write(section_, key, text);
    if (status == profile::ProfileStatus::Ok) return true;
    runtime::AddLog("modBandPlan.SaveBandPlanKey: [" + section_ + "] " + std::string(key) +
                    " not written to " + file_ + ": " + profile::describe(status));
    return false;
}

} // namespace modBandPlan
