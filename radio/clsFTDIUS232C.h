// The US232C adaptor: a three-wire chip on pins 0 (clock), 2 (data) and 4 (update), and the shaft
// encoder's input pins 3 and 5 read back through the adaptor's receive queue.
#pragma once

#include "radio/FtdiLine.h"

class clsFTDIUS232C final : public FtdiThreeWireLine {
public:
    static constexpr Adaptor kAdaptor{"US232C", 0x15, 38400, 65537};
    static constexpr Pins kPins{2, 0, 4};

    clsFTDIUS232C(ftdi::FtdiDriver& driver, profile::SettingsStore& store, modTiming::Timing& timing);

    bool FT_Error_Report() const override { return usb().FT_Enable_Error_Report(); }
    void setFT_Error_Report(bool value) override { usb().setFT_Enable_Error_Report(value); }
    // Both work only once the first UpdateDevice has opened the adaptor.
    int32_t Get_USB_Device_Queue_Status(int32_t& count) override {
        return usb().Get_USB_Device_Queue_Status(count);
    }
    int32_t Read_USB_Device(std::span<uint8_t> buffer, int32_t wanted, int32_t& got) override {
        return usb().Read_USB_Device(buffer, wanted, got);
    }
};
