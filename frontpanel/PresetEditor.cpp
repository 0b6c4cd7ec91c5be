// The preset dialog's fields.
#include "frontpanel/PresetEditor.h"

#include <algorithm>
#include <cmath>

#include "frame/NumberFormat.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/Text.h"

namespace frontpanel {

namespace {

// Characters from (0-based) for at most count, as the runtime's Mid counts them.
std::string mid(const std::string& text, std::size_t from, std::size_t count) {
    const std::u32string t = runtime::toU32(text);
    if (from >= t.size()) return {};
    return runtime::toUtf8(t.substr(from, count));
}

std::string withoutBlanks(const std::string& text) {
    std::string out;
    for (const char c : text)
        if (c != ' ') out += c;
    return out;
}

} // namespace

std::string frequencyRefusedMessage() {
    return "The frequency must not be above " +
           NumberFormat::Format(modBandPlan::kMaxFreqCurrent, "### ### 000") + " Hz.";
}

PresetDialogFields loadPresetDialog(const PresetEdit& edit) {
    const PresetRec& b = edit.PresetEditBuffer;
    PresetDialogFields f;
    f.Title = std::string(runtime::kProductName) + " - " + edit.PresetEditTitle;
    f.SaveCaption = edit.PresetEditSaveCaption;
    f.Index = std::to_string(b.Index);
    f.Description = b.Description;
    f.Frequency = NumberFormat::Format(b.Settings.FreqCurrent, "### ### 000");
    f.Date = mid(b.When, 0, 10);
    f.Time = mid(b.When, 11, 8);
    const int32_t demod = b.Settings.DemodMode;
    f.Demodulation = demod >= 0 && demod < kDialogDemodButtons ? static_cast<int16_t>(demod) : -1;
    const int32_t filter = b.Settings.FilterMode;
    f.Filtering = filter >= 0 && filter < kDialogFilterButtons ? static_cast<int16_t>(filter) : -1;
    f.LowSideLO = b.Settings.LowSideLO ? 1 : 0;
    return f;
}

std::optional<std::string> savePresetDialog(const PresetDialogFields& f, PresetRec& b) {
    // The number the text begins with, blanks between its digit groups ignored, rounded as the runtime
    // rounds. A text too long for a double is as far beyond the limit as any other; a negative
    // number too large for a Long leaves the preset unused, as any below 1 does.
    double hertz = 0;
    try {
        hertz = runtime::leadingNumber(withoutBlanks(f.Frequency));
    } catch (const runtime::RuntimeError&) {
        return frequencyRefusedMessage();
    }
    if (hertz >= static_cast<double>(modBandPlan::kMaxFreqCurrent) + 1) return frequencyRefusedMessage();
    const int32_t frequency = hertz <= -2147483648.0 ? -1 : runtime::CLng(hertz);
    if (frequency > modBandPlan::kMaxFreqCurrent) return frequencyRefusedMessage();

    PresetSettings& s = b.Settings;
    if (f.Demodulation >= 0) s.DemodMode = f.Demodulation;
    if (f.Filtering >= 0) s.FilterMode = f.Filtering;
    s.LowSideLO = f.LowSideLO != 0;
    b.Description = f.Description;
    s.FreqCurrent = frequency;
    b.When = f.Date + " " + f.Time;
    b.Caption = NumberFormat::Format(std::floor(frequency / 1000.0 + 0.5), "#0");
    s.Dirty = true;
    return std::nullopt;
}

} // namespace frontpanel
