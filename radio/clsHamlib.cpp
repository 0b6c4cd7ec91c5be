// The Hamlib oscillator.
#include "radio/clsHamlib.h"

#include <cstdint>
#include <exception>

#include "frame/ScopedFlag.h"
#include "platform/runtime/RuntimeError.h"
#include "radio/LineInterface.h"
#include "radio/clsAD985x.h"
#include "radio/modRigList.h"
#include "rigbridge/rigbridge.h"

namespace {
// The AD9851's, whose line refresh it repeats, without the word limit: a rig takes no tuning word.
constexpr OscillatorBase::Traits kTraits{.className = "clsHamLib"};

// The AD9851's control byte, which the line refresh repeats: its 6x clock multiplier on.
constexpr uint8_t kControlByte = 0x01;

} // namespace

clsHamlib::clsHamlib(profile::SettingsStore& store, RigBridge& bridge)
    : OscillatorBase(kTraits, store), bridge_(bridge) {}

clsHamlib::~clsHamlib() {
    saveAtEnd();
}

std::optional<int32_t> clsHamlib::SetFrequency(int32_t f) {
    if (!Initialised()) return std::nullopt;
    bool& busy = setFrequencyBusy();
    if (busy) return f;
    const ScopedFlag guard(busy);
    f = clamp(f);
    if (!factorIsSet()) {
        showClkInMessage();
        return f;
    }
    // No tuning word: CurrentTuningWord stays 0. The rig takes whole hertz, the tenths dropped.
    tune(static_cast<double>(f / 10));
    return f;
}

void clsHamlib::tune(double hertz) {
    bridge_.rig_set_debug(kDebugLevel);
    // The list keeps Hamlib's old numbers; Hamlib 4 is handed its own. A saved number can be anything,
    // so one that has no Hamlib 4 number raises Overflow here, before any rig exists.
    const int32_t rig = bridge_.rig_init(modRigList::hamlibModelNumber(rigNo_));
    // No rig for this model: the other calls could only be refused, so they are skipped.
    if (rig == 0) return;
    try {
        bridge_.rig_open(rig);
        bridge_.rig_set_freq(rig, rigbridge::kRigVfoCurr, hertz);
    } catch (const std::exception&) {
        // The rig lives in the bridge until cleaned up: a failing call must not strand it there.
        runtime::resumeNext([&] { bridge_.rig_close(rig); });
        runtime::resumeNext([&] { bridge_.rig_cleanup(rig); });
        throw;
    }
    bridge_.rig_close(rig);
    bridge_.rig_cleanup(rig);
}

void clsHamlib::startSequence() {
    ad985x::startLines(lines());
    SetFrequency(0);
}

void clsHamlib::Refresh() {
    if (CMDOutActive()) return;
    // CMDOutActive is cleared on every way out, a failing line call included.
    const ScopedFlag active(cmdOutActiveFlag());
    LineInterface* line = IFHandler();
    if (!line) return;
    ad985x::refreshLines(*line, CurrentTuningWord(), kControlByte);
}

void clsHamlib::saveExtra(SettingsSection& settings) {
    settings.writeInt("RigNo", rigNo_);
    settings.writeText("RigDesc", rigDesc_);
}

void clsHamlib::restoreExtra(const SettingsSection& settings) {
    // A missing rig falls back to Hamlib's dummy rig, not to the number held before.
    rigNo_ = settings.readInt32("RigNo", 1);
    rigDesc_ = settings.readText("RigDesc", "Dummy");
}
