// Every member of the LineInterface set refuses by default, the way a late-bound call of a missing
// member did.
#include "radio/LineInterface.h"

#include "platform/runtime/RuntimeError.h"

void LineInterface::unsupported(std::string_view member) const {
    std::string source(className());
    source += '.';
    source += member;
    runtime::raise(runtime::err::kUnsupportedMember, source);
}

// clang-format off
std::string LineInterface::Name() const { unsupported("Name"); }
void LineInterface::setName(std::string) { unsupported("Name"); }
std::string LineInterface::RxName() const { unsupported("RxName"); }
void LineInterface::setRxName(std::string) { unsupported("RxName"); }
double LineInterface::WaitTime() const { unsupported("WaitTime"); }
void LineInterface::setWaitTime(double) { unsupported("WaitTime"); }
int32_t LineInterface::Initialise() { unsupported("Initialise"); }
void LineInterface::RestoreSettings() { unsupported("RestoreSettings"); }
void LineInterface::SaveSettings() { unsupported("SaveSettings"); }
int32_t LineInterface::ClosePort() { unsupported("ClosePort"); }
int32_t LineInterface::ResetDevice() { unsupported("ResetDevice"); }
int32_t LineInterface::UpdateDevice() { unsupported("UpdateDevice"); }
void LineInterface::SDATA(int32_t) { unsupported("SDATA"); }
void LineInterface::SCLCK(int32_t) { unsupported("SCLCK"); }
void LineInterface::IOUPD(int32_t) { unsupported("IOUPD"); }
void LineInterface::Out8(uint8_t) { unsupported("Out8"); }
void LineInterface::Out8LSB(uint8_t) { unsupported("Out8LSB"); }
void LineInterface::Out16(uint16_t) { unsupported("Out16"); }
int32_t LineInterface::SendSeqMSB(std::span<const uint8_t>, int32_t) { unsupported("SendSeqMSB"); }
int32_t LineInterface::SendSeqLSB(std::span<const uint8_t>, int32_t) { unsupported("SendSeqLSB"); }
void LineInterface::I2CInit() { unsupported("I2CInit"); }
int32_t LineInterface::I2CSendSeq(std::span<const uint8_t>, int32_t) { unsupported("I2CSendSeq"); }
int32_t LineInterface::OpenPort(bool) { unsupported("OpenPort"); }
int32_t LineInterface::openPortError() const { unsupported("openPortError"); }
int32_t LineInterface::PortNo() const { unsupported("PortNo"); }
void LineInterface::setPortNo(int32_t) { unsupported("PortNo"); }
int32_t LineInterface::GetEncoderBits() { unsupported("GetEncoderBits"); }
comm::MSComm* LineInterface::MSCommCtl() const { unsupported("MSCommCtl"); }
void LineInterface::setMSCommCtl(comm::MSComm*) { unsupported("MSCommCtl"); }
int32_t LineInterface::PortAddress() const { unsupported("PortAddress"); }
void LineInterface::setPortAddress(int32_t) { unsupported("PortAddress"); }
bool LineInterface::Inverting() const { unsupported("Inverting"); }
void LineInterface::setInverting(bool) { unsupported("Inverting"); }
int32_t LineInterface::IOUPDBitNo() const { unsupported("IOUPDBitNo"); }
void LineInterface::setIOUPDBitNo(int32_t) { unsupported("IOUPDBitNo"); }
int32_t LineInterface::SDATABitNo() const { unsupported("SDATABitNo"); }
void LineInterface::setSDATABitNo(int32_t) { unsupported("SDATABitNo"); }
int32_t LineInterface::SCLCKBitNo() const { unsupported("SCLCKBitNo"); }
void LineInterface::setSCLCKBitNo(int32_t) { unsupported("SCLCKBitNo"); }
uint8_t LineInterface::PortState() const { unsupported("PortState"); }
void LineInterface::setPortState(uint8_t) { unsupported("PortState"); }
bool LineInterface::FT_Error_Report() const { unsupported("FT_Error_Report"); }
void LineInterface::setFT_Error_Report(bool) { unsupported("FT_Error_Report"); }
int32_t LineInterface::Get_USB_Device_Queue_Status(int32_t&) { unsupported("Get_USB_Device_Queue_Status"); }
int32_t LineInterface::Read_USB_Device(std::span<uint8_t>, int32_t, int32_t&) { unsupported("Read_USB_Device"); }
// clang-format on
