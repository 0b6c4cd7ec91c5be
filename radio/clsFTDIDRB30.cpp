// The DRB30 adaptor line interface.
#include "radio/clsFTDIDRB30.h"

clsFTDIDRB30::clsFTDIDRB30(ftdi::FtdiDriver& driver, profile::SettingsStore& store, modTiming::Timing& timing)
    : FtdiThreeWireLine("clsFTDIDRB30", kAdaptor, kPins, driver, store, timing) {}

int32_t clsFTDIDRB30::ResetDevice() {
    fillPins(0x00, 100);
    UpdateDevice();
    fillPins(kResetPin, 900);
    UpdateDevice();
    fillPins(0x00, 100);
    UpdateDevice();
    return 0;
}
