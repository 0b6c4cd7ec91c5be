// The US232C adaptor line interface.
#include "radio/clsFTDIUS232C.h"

clsFTDIUS232C::clsFTDIUS232C(ftdi::FtdiDriver& driver, profile::SettingsStore& store,
                             modTiming::Timing& timing)
    : FtdiThreeWireLine("clsFTDIUS232C", kAdaptor, kPins, driver, store, timing) {}
