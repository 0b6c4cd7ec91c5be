// The oscillator of the receiver model "Hamlib": it tunes a rig through the rig bridge, creating, opening,
// tuning, closing and freeing the rig for every frequency.
#pragma once

#include <string>
#include <utility>

#include "radio/OscillatorBase.h"
#include "radio/RigBridge.h"

class clsHamlib final : public OscillatorBase {
public:
    // The bridge is not owned; the program passes its RigBridgeLibrary, tests a fake.
    clsHamlib(profile::SettingsStore& store, RigBridge& bridge);
    ~clsHamlib() override;

    std::optional<int32_t> SetFrequency(int32_t f) override;
    void Refresh() override;

    // In the rig list's numbering of 100 per backend, as saved and shown.
    int32_t RigNo() const override { return rigNo_; }
    void setRigNo(int32_t value) override { rigNo_ = value; }
    std::string RigDesc() const override { return rigDesc_; }
    void setRigDesc(std::string value) override { rigDesc_ = std::move(value); }
    // The rig keeps its own reference; ClkIn only sets the tuning range.
    bool hasCalibratableClock() const override { return false; }

    // Hamlib's trace level, set before every tuning change.
    static constexpr int32_t kDebugLevel = 5;

protected:
    void startSequence() override;
    void saveExtra(SettingsSection& settings) override;
    void restoreExtra(const SettingsSection& settings) override;

private:
    void tune(double hertz);

    RigBridge& bridge_;
    int32_t rigNo_ = 2502;
    std::string rigDesc_;
};
