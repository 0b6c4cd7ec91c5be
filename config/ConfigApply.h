// Apply: puts what the configuration dialog shows into force on the live receiver, in its fixed order.
// The VFO, oscillator and line settings are saved before anything changes; a new model is built before
// its IF, clock and multipliers are set; the line is switched after the oscillator has its new clock; the
// main window is recoloured after every colour is in place. A statement that fails is skipped alone,
// leaving a trace line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "config/ColourScheme.h"
#include "config/ConfigMembers.h"
#include "config/ConfigPorts.h"
#include "frame/NumberFormat.h"
#include "frame/ReceiverState.h"
#include "platform/ui/DialogService.h"
#include "radio/RXDefinitions.h"
#include "radio/modRigList.h"

namespace config {

// What the dialog's controls show when Apply runs. A list position of -1 or an empty option is "none".
struct ApplyInputs {
    // General
    std::optional<int32_t> SelectedModel; // the model number held with cboSDRModel's entry
    bool UseSPL = false;
    bool KBDSupport = false;
    bool AutoTrackPresets = false;
    bool ScrollWheelEnableOverScope = false;
    bool EnableEncoder = false;
    bool ShaftAutoRate = false;
    bool AutoStartSDR = false;
    bool TitleBarOff = false; // FormCaptionOffOnPwrOn
    std::string SaveRecordingsPath;
    // Soundcard
    int32_t PlayDeviceIndex = -1;
    int32_t CapDeviceIndex = -1;
    bool ADCDelayBitCorrection = false;
    // VFO
    std::string IFFrequency;
    bool LoLO = false;
    int32_t VFOMultIndex = -1;
    int32_t PLLMultiplierIndex = -1;
    std::string XtalFrequency;
    // DDS
    std::string DDSClkin;
    bool AutoDDSRefresh = false;
    std::optional<int16_t> InterfaceKind; // the lowest selected option of optIF
    // Serial I/F
    bool ComPortEnabled = true;
    int32_t ComPortIndex = -1;
    std::string BitPeriod;
    // Parallel I/F
    std::string PortAddress;
    std::string ParallelPortBitPeriod;
    bool InvertingIF = false;
    // DREAM
    bool DreamRunOnDRM = false;
    bool MuteAFOnDRM = false;
    bool CloseSoundCardOnDRM = false;
    bool DreamCloseOnModeChange = false;
    bool DreamCloseOnExit = false;
    std::optional<int16_t> DreamWindow;
    std::string PathToDream;
    std::string DreamProgArgs;
    // Spectrum Display
    std::string SmoothingCount;
    bool HideFreqToolTip = false;
    // Controls
    SwatchColours Swatches;
    bool HiliteBorder = false;
};

// The labels of the typed fields whose text must be a number; a field that does not convert is named in
// the message that ends Apply by its label.
inline constexpr const char* kXtalFrequencyLabel = "XTAL Frequ (Hz)";
inline constexpr const char* kPortAddressLabel = "Port Address    Hex";
inline constexpr const char* kParallelBitPeriodLabel = "Bit Period           sec";
inline constexpr const char* kSerialBitPeriodLabel = "Bit Period        sec";
inline constexpr const char* kSmoothingCountLabel = "Default Smooth Count";

// The live objects Apply reaches. The receiver is always there; any other may be absent, and its
// statements are then skipped with a trace line.
struct ApplyPorts {
    ReceiverState& State;
    LiveReceiver& Receiver;
    const RXDefinitions::RxModelTable& RxModels;
    const modRigList::RigListTable& RigList;
    ui::DialogService& Dialogs;
    SoundEngine* Sound = nullptr;
    AnalyserSettings* Analyser = nullptr;
    KnobValues* Knobs = nullptr;
    MainWindowShell* MainWindow = nullptr;
};

enum class ApplyEnd {
    Complete,
    IFRefused,    // "IF Frequency must be greater than 0.0 MHZ": the saves, model and rig stay done
    ClockRefused, // "CLKIN must be greater than 1.0000 MHZ": the IF and LO side stay done too
};

// Pumps of the message loop Apply waits through for a block the DSP chain is in before it changes the
// sound devices. On the one UI thread a block that does not end within them is one Apply was reached
// from, and the device change is left for the next Apply rather than wait for ever.
inline constexpr int32_t kDspSettlePumps = 1000;

// Runs Apply. dialogCaption titles the refusals (with " CLKIN - ERROR") and the message about values
// that did not convert; separators are the user's, in which the dialog shows its periods.
ApplyEnd Apply(const ApplyInputs& inputs, ConfigMembers& members, const ApplyPorts& ports,
               const std::string& dialogCaption, const NumberFormat::Separators& separators);

// The main window's caption for a model: the product name, " - " and the model's name; for the model
// "Hamlib" (any letter case) also " (", the rig's description and ")".
std::string mainWindowCaption(const std::string& modelName, const std::string& rigDesc);

} // namespace config
