// The main window's settings section "frmMain": the colour scheme the start-up reads first, the
// restore the start-up runs after the default tables, and the save the shutdown runs. Every key is read,
// converted and stored, or written, on its own guard: a key that fails keeps the field as it was and
// the rest goes on.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "frame/ReceiverState.h"
#include "platform/profile/SettingsStore.h"

class NerixDX8;
class clsFFTFilter;

namespace mainwindow {

// What the settings reach besides the receiver state. Any may be absent; its keys are then skipped.
struct SettingsObjects {
    NerixDX8* SoundCard = nullptr;          // the device choice
    clsFFTFilter* HilbertFilter1 = nullptr; // the I/Q phase correction, "SoundcardCorrection"
    std::function<float()> NbKnobValue;     // the noise-reduction knob's value, saved as "NB"
};

class FormSettings {
public:
    static constexpr const char* kSection = "frmMain";

    // programFolder is where recordings go when no folder was saved.
    FormSettings(profile::SettingsStore& store, ReceiverState& state, std::string programFolder);

    // The seven window colours, each with the current colour as its default.
    void RestoreColourScheme();
    void RestoreSettings(const SettingsObjects& objects);
    // Writes every key, then makes them durable with one commit.
    void SaveSettings(const SettingsObjects& objects);

private:
    std::string read(const char* key, const std::string& defaultText) const;
    void write(const char* key, const std::string& text);

    profile::SettingsStore& store_;
    ReceiverState& state_;
    std::string programFolder_;
};

} // namespace mainwindow
