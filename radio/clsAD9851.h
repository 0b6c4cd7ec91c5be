// The AD9851 driver: control byte 0x01 (the 6x reference multiplier on), float limits, settings read at
// Initialise.
#pragma once

#include "radio/clsAD985x.h"

class clsAD9851 final : public clsAD985x {
public:
    explicit clsAD9851(profile::SettingsStore& store);
    ~clsAD9851() override;
};
