// The preset dialog's computing half: what its fields show of the edit buffer, and what a save writes back
// into the buffer from them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "frontpanel/modBandPlan.h"

namespace frontpanel {

// The edit buffer and what the dialog reports: the menu item fills them before the dialog opens.
struct PresetEdit {
    PresetRec PresetEditBuffer;
    bool PresetEditSaved = false;
    std::string PresetEditTitle;
    std::string PresetEditSaveCaption;
};

// The dialog's fields as the user sees and edits them.
struct PresetDialogFields {
    std::string Title;         // the window's title
    std::string SaveCaption;   // cmdSave
    std::string Index;         // lblPresetIndex
    std::string Description;   // txtPresetValues(0)
    std::string Frequency;     // txtPresetValues(1), "### ### 000"
    std::string Date;          // txtPresetValues(2)
    std::string Time;          // txtPresetValues(3)
    int16_t Demodulation = -1; // the selected optDemodulationValue, -1 for none
    int16_t Filtering = -1;    // the selected optFilteringValues, -1 for none
    int16_t LowSideLO = 0;     // chkPresetTuneImage

    bool operator==(const PresetDialogFields&) const = default;
};

inline constexpr int16_t kDialogDemodButtons = 4; // AM, USB, LSB, DRM
inline constexpr int16_t kDialogFilterButtons = 5;

// The fields of a dialog opening on the edit. A mode the dialog has no button for selects none, so a
// save keeps it.
PresetDialogFields loadPresetDialog(const PresetEdit& edit);

// Writes the fields into the buffer. A frequency that cannot be tuned (above 214 748 364 Hz) is refused:
// the buffer stays and the message to show is returned. A saved buffer's block is marked dirty, so the
// band plan's save writes it.
std::optional<std::string> savePresetDialog(const PresetDialogFields& fields, PresetRec& buffer);

// The refusal's message.
std::string frequencyRefusedMessage();

} // namespace frontpanel
