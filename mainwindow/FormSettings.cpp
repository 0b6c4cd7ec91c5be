// The main window's settings: keys, their order, defaults and conversions.
#include "mainwindow/FormSettings.h"

#include <cmath>
#include <limits>

#include "dsp/NerixDX8.h"
#include "dsp/clsFFTFilter.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

namespace mainwindow {

namespace {

constexpr const char* kSource = "frmMain.RestoreSettings";

double toNumber(const std::string& text) {
    const auto value = runtime::parseDouble(text);
    if (!value) runtime::raise(runtime::err::kTypeMismatch, kSource);
    return *value;
}

int32_t toLong(const std::string& text) {
    return runtime::CLng(toNumber(text));
}

float toSingle(const std::string& text) {
    const double value = toNumber(text);
    if (std::fabs(value) > std::numeric_limits<float>::max())
        runtime::raise(runtime::err::kOverflow, kSource);
    return static_cast<float>(value);
}

bool toBoolean(const std::string& text) {
    const auto value = runtime::parseBoolean(text);
    if (!value) runtime::raise(runtime::err::kTypeMismatch, kSource);
    return *value;
}

std::string longText(int64_t value) {
    return runtime::CStr(value);
}
std::string booleanText(bool value) {
    return value ? "True" : "False";
}
// A Single that is not finite has no text the restore would take back.
std::string singleText(float value) {
    if (!std::isfinite(value)) runtime::raise(runtime::err::kOverflow, "frmMain.SaveSettings");
    return runtime::singleText(value);
}

std::string doubleText(double value) {
    if (!std::isfinite(value)) runtime::raise(runtime::err::kOverflow, "frmMain.SaveSettings");
    return runtime::CStr(value);
}

template <class T> T& present(T* object) {
    if (!object) runtime::raise(runtime::err::kObjectNotSet, "frmMain");
    return *object;
}

} // namespace

FormSettings::FormSettings(profile::SettingsStore& store, ReceiverState& state, std::string programFolder)
    : store_(store), state_(state), programFolder_(std::move(programFolder)) {}

std::string FormSettings::read(const char* key, const std::string& defaultText) const {
    return store_.GetSetting(runtime::kProductName, kSection, key, defaultText);
}

void FormSettings::write(const char* key, const std::string& text) {
    store_.SaveSetting(runtime::kProductName, kSection, key, text);
}

void FormSettings::RestoreColourScheme() {
    SDRColourScheme& c = state_.SDRColourSchemes;
    const auto colour = [this](const char* key, int32_t& field) {
        runtime::resumeNext([&] { field = toLong(read(key, longText(field))); });
    };
    colour("SDRBackgroundColour", c.Background);
    colour("SDRLabelColour", c.Label);
    colour("SDRTuningColour", c.Tuning);
    colour("SDRFrameNormalColour", c.FrameNormal);
    colour("SDRFrameFocusColour", c.FrameFocus);
    colour("ScrollableLabelNormalColour", c.ScrollLabelNormal);
    colour("ScrollableLabelFocusColour", c.ScrollLabelFocus);
}

void FormSettings::RestoreSettings(const SettingsObjects& o) {
    runtime::AddLog("RestoreSettings : Start");
    ReceiverState& s = state_;
    const auto boolean = [&](const char* key, bool& field, bool def) {
        runtime::resumeNext([&] { field = toBoolean(read(key, booleanText(def))); });
    };
    const auto text = [&](const char* key, std::string& field, const std::string& def) {
        runtime::resumeNext([&] { field = read(key, def); });
    };

    runtime::resumeNext([&] { s.SDRModelNo = toLong(read("SDRModelNo", longText(s.SDRModelNo))); });
    runtime::resumeNext([&] {
        s.CurrentMainBandIndex = toLong(read("CurrentMainBandIndex", longText(s.CurrentMainBandIndex)));
    });
    // Two statements: a text that is no number still divides the noise floor it leaves.
    runtime::resumeNext([&] { s.NoiseFloor = toSingle(read("NoiseFloor", "1000000")); });
    runtime::resumeNext(
        [&] { s.NoiseFloor = static_cast<float>(static_cast<double>(s.NoiseFloor) / 100000.0); });
    runtime::resumeNext([&] { s.DisplayMode = toLong(read("DisplayMode", "2")); });
    runtime::resumeNext(
        [&] { s.ScopeSource = runtime::CLng(runtime::leadingNumber(read("ScopeSource", "0"))); });
    boolean("PerfStatsOn", s.PerfStatsOn, false);
    if (s.SPLAvailable) boolean("UseSPL", s.UseSPL, false);
    boolean("ShaftAutoRate", s.ShaftAutoRate, false);
    boolean("EnableShaftEncoder", s.EnableShaftEncoder, false);
    boolean("ScrollWheelEnableOverScope", s.ScrollWheelEnableOverScope, false);
    runtime::resumeNext(
        [&] { present(o.SoundCard).setCurrentPlaybackDevice(toLong(read("CurrentPlaybackDevice", "1"))); });
    runtime::resumeNext(
        [&] { present(o.SoundCard).setCurrentCaptureDevice(toLong(read("CurrentCaptureDevice", "1"))); });
    boolean("MuteAf", s.MuteAf, false);
    boolean("NBOn", s.NBOn, false);
    boolean("MouseOverS.HiLiteBorder", s.HiLiteBorder, false);
    boolean("DRM.RunDreamOnDRM", s.DRM.RunDreamOnDRM, false);
    boolean("DRM.MuteAFOnDRM", s.DRM.MuteAFOnDRM, false);
    boolean("DRM.CloseSoundcardOnDRM", s.DRM.CloseSoundcardOnDRM, false);
    text("DRM.PathToDream", s.DRM.PathToDream, "");
    text("DRM.DreamProgArgs", s.DRM.DreamProgArgs, "");
    runtime::resumeNext([&] { s.DRM.DreamWindowStyle = toLong(read("DRM.DreamWindowStyle", "1")); });
    boolean("DRM.DreamCloseOnExit", s.DRM.DreamCloseOnExit, true);
    boolean("DRM.DreamCloseOnModeChange", s.DRM.DreamCloseOnModeChange, false);
    boolean("KBDSupport", s.KBDSupport, false);
    boolean("AutoTrackPresets", s.AutoTrackPresets, true);
    boolean("FormCaptionOffOnPwrOn", s.FormCaptionOffOnPwrOn, false);
    boolean("AutoStartSDR", s.AutoStartSDR, false);
    // Written as "SaveRecordingsPath": the store's case-blind keys make the two one.
    text("SaveRecordingspath", s.SaveRecordingsPath, programFolder_);
    boolean("PhaseBitCorrection", s.PhaseBitCorrection, s.PhaseBitCorrection);
    boolean("FlipIQ", s.FlipIQ, s.FlipIQ);
    runtime::resumeNext(
        [&] { present(o.HilbertFilter1).PhaseAngle = toNumber(read("SoundcardCorrection", "0")); });
    runtime::resumeNext(
        [&] { s.SoundcardCorrectionAmpBalance = toSingle(read("SoundcardCorrectionAmpBalance", "1")); });
    runtime::resumeNext([&] { s.RunPriority = toLong(read("RunPriority", "256")); });
    runtime::AddLog("RestoreSettings : End");
}

void FormSettings::SaveSettings(const SettingsObjects& o) {
    const ReceiverState& s = state_;
    const SDRColourScheme& c = s.SDRColourSchemes;
    const auto put = [this](const char* key, auto&& makeText) {
        runtime::resumeNext([&] { write(key, makeText()); });
    };
    const auto putLong = [&](const char* key, int64_t v) { put(key, [v] { return longText(v); }); };
    const auto putBoolean = [&](const char* key, bool v) { put(key, [v] { return booleanText(v); }); };
    const auto putText = [&](const char* key, const std::string& v) { put(key, [&v] { return v; }); };

    putLong("SDRModelNo", s.SDRModelNo);
    putLong("SDRBackgroundColour", c.Background);
    putLong("SDRFrameFocusColour", c.FrameFocus);
    putLong("SDRFrameNormalColour", c.FrameNormal);
    putLong("SDRLabelColour", c.Label);
    putLong("SDRTuningColour", c.Tuning);
    putLong("ScrollableLabelFocusColour", c.ScrollLabelFocus);
    putLong("ScrollableLabelNormalColour", c.ScrollLabelNormal);
    putLong("CurrentMainBandIndex", s.CurrentMainBandIndex);
    // The nearest whole number: rounding down made the restored Single drift down by one per run.
    put("NoiseFloor",
        [&] { return longText(runtime::CLngLng(static_cast<double>(s.NoiseFloor) * 100000.0)); });
    putLong("DisplayMode", s.DisplayMode);
    putBoolean("PerfStatsOn", s.PerfStatsOn);
    putBoolean("UseSPL", s.UseSPL);
    putBoolean("ShaftAutoRate", s.ShaftAutoRate);
    putBoolean("EnableShaftEncoder", s.EnableShaftEncoder);
    putBoolean("ScrollWheelEnableOverScope", s.ScrollWheelEnableOverScope);
    putLong("ScopeSource", s.ScopeSource);
    putBoolean("NBOn", s.NBOn);
    put("NB", [&] {
        if (!o.NbKnobValue) runtime::raise(runtime::err::kObjectNotSet, "frmMain.SaveSettings");
        return singleText(o.NbKnobValue());
    });
    put("CurrentPlaybackDevice", [&] { return longText(present(o.SoundCard).CurrentPlaybackDevice()); });
    put("CurrentCaptureDevice", [&] { return longText(present(o.SoundCard).CurrentCaptureDevice()); });
    putBoolean("MuteAf", s.MuteAf);
    putText("AutoDDSRefresh", "False");
    putBoolean("MouseOverS.HiLiteBorder", s.HiLiteBorder);
    putBoolean("KBDSupport", s.KBDSupport);
    putBoolean("DRM.RunDreamOnDRM", s.DRM.RunDreamOnDRM);
    putBoolean("DRM.MuteAFOnDRM", s.DRM.MuteAFOnDRM);
    putBoolean("DRM.CloseSoundcardOnDRM", s.DRM.CloseSoundcardOnDRM);
    putText("DRM.PathToDream", s.DRM.PathToDream);
    putText("DRM.DreamProgArgs", s.DRM.DreamProgArgs);
    putLong("DRM.DreamWindowStyle", s.DRM.DreamWindowStyle);
    putBoolean("DRM.DreamCloseOnExit", s.DRM.DreamCloseOnExit);
    putBoolean("DRM.DreamCloseOnModeChange", s.DRM.DreamCloseOnModeChange);
    putBoolean("AutoTrackPresets", s.AutoTrackPresets);
    putBoolean("FormCaptionOffOnPwrOn", s.FormCaptionOffOnPwrOn);
    putBoolean("AutoStartSDR", s.AutoStartSDR);
    putText("SaveRecordingsPath", s.SaveRecordingsPath);
    putBoolean("PhaseBitCorrection", s.PhaseBitCorrection);
    putBoolean("FlipIQ", s.FlipIQ);
    put("SoundcardCorrection", [&] { return doubleText(present(o.HilbertFilter1).PhaseAngle); });
    put("SoundcardCorrectionAmpBalance", [&] { return singleText(s.SoundcardCorrectionAmpBalance); });
    putText("DDSIFType", "0");
    putLong("RunPriority", s.RunPriority);
    if (!store_.commit()) runtime::AddLog("frmMain.SaveSettings : the settings could not be written");
}

} // namespace mainwindow
