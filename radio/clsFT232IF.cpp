// The FT232R adaptor line interface.
#include "radio/clsFT232IF.h"

clsFT232IF::clsFT232IF(ftdi::FtdiDriver& driver, profile::SettingsStore& store, modTiming::Timing& timing)
    : FtdiLine("clsFT232IF", 1.0 / 230400.0, kAdaptor, driver, store, timing) {}

clsFT232IF::~clsFT232IF() {
    // A store that refuses the save must not stop the release.
    try {
        ClosePort();
    } catch (...) {
    }
    try {
        SaveSettings();
    } catch (...) {
    }
}

int32_t clsFT232IF::Initialise() {
    timing()->InitTiming();
    RestoreSettings();
    sclPin_ = 1;
    sdaPin_ = 0;
    markInitialised();
    return 0;
}

void clsFT232IF::RestoreSettings() {
    if (hasSection()) restoreWaitTime(section(), "SerialWaitTime");
}

void clsFT232IF::SaveSettings() {
    if (!canSaveSettings()) return;
    SettingsSection settings = section();
    settings.writeDouble("SerialWaitTime", WaitTime());
    settings.commit();
}

int32_t clsFT232IF::ClosePort() {
    usb().Close_USB_Device();
    return 0;
}

void clsFT232IF::setPin(int32_t pinNo, int32_t level) {
    const auto mask = static_cast<uint8_t>(1u << pinNo);
    portState_ =
        level != 0 ? static_cast<uint8_t>(portState_ | mask) : static_cast<uint8_t>(portState_ & ~mask);
    appendPin(portState_);
}
