// The FTDI adaptors' pin buffer, its USB write, and the three-wire lines of the US232C and DRB30.
#include "radio/FtdiLine.h"

#include <algorithm>

FtdiLine::FtdiLine(std::string className, double defaultWaitSeconds, const Adaptor& adaptor,
                   ftdi::FtdiDriver& driver, profile::SettingsStore& store, modTiming::Timing& timing)
    : LineInterfaceBase(std::move(className), defaultWaitSeconds, store, &timing), adaptor_(adaptor),
      usb_(driver), buffer_(static_cast<std::size_t>(adaptor.bufferSize)) {}

int32_t FtdiLine::UpdateDevice() {
    if (usb_.FT_Handle() == 0) {
        usb_.setFT_Enable_Error_Report(true);
        int32_t status = usb_.Open_USB_Device_By_Device_Description(adaptor_.description);
        if (status == 0) status = usb_.Set_USB_Device_BitMode(adaptor_.outputMask, ftdi::kModeAsyncBitBang);
        if (status == 0) status = usb_.Set_USB_Device_BaudRate(adaptor_.baudRate);
        if (status != 0) {
            // Closed again, so that the next update starts from the open.
            usb_.Close_USB_Device();
            pinCount_ = 0;
            return status;
        }
    }
    const int32_t status = usb_.Write_USB_Device_Buffer(buffer_, pinCount_);
    if (status != 0) usb_.Close_USB_Device();
    pinCount_ = 0;
    return status;
}

void FtdiLine::appendPin(uint8_t pins) {
    if (pinCount_ == adaptor_.bufferSize) UpdateDevice();
    buffer_[static_cast<std::size_t>(pinCount_++)] = pins;
}

void FtdiLine::fillPins(uint8_t pins, int32_t count) {
    std::fill_n(buffer_.begin(), count, pins);
    pinCount_ = count;
}

FtdiThreeWireLine::FtdiThreeWireLine(std::string className, const Adaptor& adaptor, const Pins& pins,
                                     ftdi::FtdiDriver& driver, profile::SettingsStore& store,
                                     modTiming::Timing& timing)
    : ThreeWireLine(std::move(className), 5e-6, adaptor, driver, store, timing), fixed_(pins) {
    keepPins();
}

FtdiThreeWireLine::~FtdiThreeWireLine() {
    // A store that refuses the save must not stop the release.
    try {
        SaveSettings();
    } catch (...) {
    }
}

int32_t FtdiThreeWireLine::Initialise() {
    timing()->InitTiming();
    RestoreSettings();
    keepPins();
    markInitialised();
    return 0;
}

void FtdiThreeWireLine::keepPins() {
    keys_.Inverting = false;
    keys_.IOUPDBitNo = fixed_.update;
    keys_.SDATABitNo = fixed_.data;
    keys_.SCLCKBitNo = fixed_.clock;
}

void FtdiThreeWireLine::setLine(int32_t pinNo, bool level) {
    const auto mask = static_cast<uint16_t>(1u << pinNo);
    shadow_ = level ? static_cast<uint16_t>(shadow_ | mask) : static_cast<uint16_t>(shadow_ & ~mask);
    appendPin(static_cast<uint8_t>(shadow_ & 0xFF));
}

void FtdiThreeWireLine::SDATA(int32_t level) {
    setLine(fixed_.data, level != 0);
}

void FtdiThreeWireLine::SCLCK(int32_t level) {
    setLine(fixed_.clock, level > 0);
}

void FtdiThreeWireLine::IOUPD(int32_t level) {
    setLine(fixed_.update, level > 0);
}
