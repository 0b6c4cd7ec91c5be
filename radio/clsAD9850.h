// The AD9850 driver: control byte 0x00, integer limits, no settings read at Initialise.
#pragma once

#include "radio/clsAD985x.h"

class clsAD9850 final : public clsAD985x {
public:
    explicit clsAD9850(profile::SettingsStore& store);
    ~clsAD9850() override;

    // Its settings are written at shutdown and never read back.
    void RestoreSettings() override { unsupported("RestoreSettings"); }
};
