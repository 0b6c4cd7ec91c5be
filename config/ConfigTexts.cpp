// Texts and list positions of the configuration dialog.
#include "config/ConfigTexts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/Text.h"

namespace config {

std::string frequencyText(double hertz) {
    return NumberFormat::Format(std::fabs(hertz), "#0 000 000");
}

std::string periodText(double seconds, const NumberFormat::Separators& separators) {
    return NumberFormat::Format(seconds, "0.000000000", separators);
}

std::string addressText(int32_t address) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%X", static_cast<uint32_t>(address));
    return std::string("&H") + digits;
}

std::string rigEntryText(std::string_view description, int32_t rigNo) {
    std::string text(description);
    const std::size_t length = runtime::charLength(description);
    if (length < 33) text.append(33 - length, ' ');
    const std::string number = std::to_string(rigNo);
    if (number.size() < 4) text.append(4 - number.size(), ' ');
    return text + number;
}

int32_t multiplierPosition(int32_t value, int32_t entries, std::string_view what) {
    if (value <= 0) {
        runtime::AddLog("frmConfig : " + std::string(what) + " " + std::to_string(value) +
                        " cannot be shown, the first entry is selected");
        return 0;
    }
    const double position = runtime::roundHalfEven(std::log(static_cast<double>(value)) / std::log(2.0));
    if (position > entries - 1) {
        runtime::AddLog("frmConfig : " + std::string(what) + " " + std::to_string(value) +
                        " is beyond the list, the last entry is selected");
        return entries - 1;
    }
    return static_cast<int32_t>(position);
}

int32_t priorityPosition(int32_t priorityClass) {
    for (std::size_t i = 0; i < kPriorities.size(); ++i)
        if (kPriorities[i].priorityClass == priorityClass) return static_cast<int32_t>(i);
    return 0;
}

std::string decoderArguments(int32_t captureDevice, int32_t playbackDevice, bool iqMode) {
    const int64_t c = std::max<int64_t>(int64_t{captureDevice} - 2, 0);
    const int64_t p = std::max<int64_t>(int64_t{playbackDevice} - 2, 0);
    return " -M 0 -I " + std::to_string(c) + " -O " + std::to_string(p) + (iqMode ? " -C 3" : " ");
}

bool isHamlibSection(std::string_view modelSection) {
    return runtime::equalsNoCase(modelSection, "RxModel.HamLib");
}

int32_t listPosition(int64_t position, int32_t entries, std::string_view what) {
    if (position >= 0 && position < entries) return static_cast<int32_t>(position);
    runtime::AddLog("frmConfig : " + std::string(what) + " is not in its list, none is selected");
    return -1;
}

} // namespace config
