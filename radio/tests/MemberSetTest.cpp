// The member sets: what each class offers, and the member-not-supported error for the rest.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/runtime/RuntimeError.h"
#include "radio/clsDDSNullIF.h"
#include "radio/clsSoftDDS.h"

namespace {

// 0 when the call went through, the error number otherwise.
template <class Object> int32_t callResult(const std::function<void(Object&)>& call, Object& object) {
    try {
        call(object);
        return 0;
    } catch (const runtime::RuntimeError& e) {
        return e.Number();
    }
}

constexpr int32_t kNo = runtime::err::kUnsupportedMember;

TEST(LineInterfaceMembers, TheNullInterfaceOffersTheThreeWireSetOnly) {
    profile::MemorySettingsStore store;
    const std::array<uint8_t, 1> bytes{0};
    int32_t count = 0;
    std::array<uint8_t, 1> buffer{};
    const struct {
        const char* member;
        std::function<void(LineInterface&)> call;
        int32_t expected;
    } cases[] = {
        {"Name", [](LineInterface& l) { l.setName(l.Name()); }, 0},
        {"RxName", [](LineInterface& l) { l.setRxName(l.RxName()); }, 0},
        {"WaitTime", [](LineInterface& l) { l.setWaitTime(l.WaitTime()); }, 0},
        {"Initialise", [](LineInterface& l) { l.Initialise(); }, 0},
        {"RestoreSettings", [](LineInterface& l) { l.RestoreSettings(); }, 0},
        {"SaveSettings", [](LineInterface& l) { l.SaveSettings(); }, 0},
        {"ClosePort", [](LineInterface& l) { l.ClosePort(); }, 0},
        {"ResetDevice", [](LineInterface& l) { l.ResetDevice(); }, 0},
        {"UpdateDevice", [](LineInterface& l) { l.UpdateDevice(); }, 0},
        {"SDATA", [](LineInterface& l) { l.SDATA(1); }, 0},
        {"SCLCK", [](LineInterface& l) { l.SCLCK(1); }, 0},
        {"IOUPD", [](LineInterface& l) { l.IOUPD(1); }, 0},
        {"Out8", [](LineInterface& l) { l.Out8(1); }, 0},
        {"Out8LSB", [](LineInterface& l) { l.Out8LSB(1); }, 0},
        {"Out16", [](LineInterface& l) { l.Out16(1); }, 0},
        {"SendSeqMSB", [&](LineInterface& l) { l.SendSeqMSB(bytes, 1); }, 0},
        {"SendSeqLSB", [&](LineInterface& l) { l.SendSeqLSB(bytes, 1); }, 0},
        {"I2CInit", [](LineInterface& l) { l.I2CInit(); }, kNo},
        {"I2CSendSeq", [&](LineInterface& l) { l.I2CSendSeq(bytes, 1); }, kNo},
        {"OpenPort", [](LineInterface& l) { l.OpenPort(false); }, kNo},
        {"openPortError", [](LineInterface& l) { l.openPortError(); }, kNo},
        {"PortNo", [](LineInterface& l) { l.setPortNo(l.PortNo()); }, kNo},
        {"GetEncoderBits", [](LineInterface& l) { l.GetEncoderBits(); }, kNo},
        {"MSCommCtl", [](LineInterface& l) { l.setMSCommCtl(l.MSCommCtl()); }, kNo},
        {"PortAddress", [](LineInterface& l) { l.setPortAddress(l.PortAddress()); }, kNo},
        {"Inverting", [](LineInterface& l) { l.setInverting(l.Inverting()); }, kNo},
        {"IOUPDBitNo", [](LineInterface& l) { l.setIOUPDBitNo(l.IOUPDBitNo()); }, kNo},
        {"SDATABitNo", [](LineInterface& l) { l.setSDATABitNo(l.SDATABitNo()); }, kNo},
        {"SCLCKBitNo", [](LineInterface& l) { l.setSCLCKBitNo(l.SCLCKBitNo()); }, kNo},
        {"PortState", [](LineInterface& l) { l.setPortState(l.PortState()); }, kNo},
        {"FT_Error_Report", [](LineInterface& l) { l.setFT_Error_Report(true); }, kNo},
        {"Get_USB_Device_Queue_Status", [&](LineInterface& l) { l.Get_USB_Device_Queue_Status(count); }, kNo},
        {"Read_USB_Device", [&](LineInterface& l) { l.Read_USB_Device(buffer, 1, count); }, kNo},
    };
    for (const auto& c : cases) {
        clsDDSNullIF line(store);
        EXPECT_EQ(callResult<LineInterface>(c.call, line), c.expected) << c.member;
    }
}

TEST(LineInterfaceMembers, TheRefusalNamesTheClassAndMember) {
    profile::MemorySettingsStore store;
    clsDDSNullIF line(store);
    line.setName("DDSInterface.Null");
    try {
        line.OpenPort(true);
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kUnsupportedMember);
        EXPECT_EQ(e.Source(), "clsDDSNullIF.OpenPort");
    }
}

TEST(NullLineInterface, SendsNothingAndNeverRefuses) {
    profile::MemorySettingsStore store;
    clsDDSNullIF line(store);
    const std::array<uint8_t, 2> bytes{1, 2};
    EXPECT_EQ(line.SendSeqMSB(bytes, 2), 0); // no Initialise needed
    EXPECT_EQ(line.Initialise(), 0);
    EXPECT_EQ(line.SendSeqLSB(bytes, 2), 0);
    line.setWaitTime(0.001);
    EXPECT_EQ(line.WaitTime(), 0.001);
    EXPECT_EQ(line.Name(), "clsDDSNullIF");
    line.setRxName("RXModel.Test");
    line.SaveSettings();
    EXPECT_EQ(store.size(), 0u);
}

TEST(OscillatorMembers, TheSoftwareOscillatorHasNoMembersOfOtherClasses) {
    profile::MemorySettingsStore store;
    const struct {
        const char* member;
        std::function<void(Oscillator&)> call;
        int32_t expected;
    } cases[] = {
        {"Name", [](Oscillator& o) { o.setName(o.Name()); }, 0},
        {"RxName", [](Oscillator& o) { o.setRxName(o.RxName()); }, 0},
        {"Parent", [](Oscillator& o) { o.setParent(o.Parent()); }, 0},
        {"IFHandler", [](Oscillator& o) { o.setIFHandler(o.IFHandler()); }, 0},
        {"ClkIn", [](Oscillator& o) { o.setClkIn(o.ClkIn()); }, 0},
        {"BaseFrequency", [](Oscillator& o) { o.setBaseFrequency(o.BaseFrequency()); }, 0},
        {"FreqScaling", [](Oscillator& o) { o.setFreqScaling(1.0); }, 0},
        {"MaxFreq", [](Oscillator& o) { (void)o.MaxFreq(); }, 0},
        {"MinFreq", [](Oscillator& o) { (void)o.MinFreq(); }, 0},
        {"CurrentTuningWord", [](Oscillator& o) { (void)o.CurrentTuningWord(); }, 0},
        {"CMDOutActive", [](Oscillator& o) { (void)o.CMDOutActive(); }, 0},
        {"Initialise", [](Oscillator& o) { o.Initialise(); }, 0},
        {"Refresh", [](Oscillator& o) { o.Refresh(); }, 0},
        {"SaveSettings", [](Oscillator& o) { o.SaveSettings(); }, 0},
        {"AutoRefresh", [](Oscillator& o) { o.setAutoRefresh(true); }, kNo},
        {"CalibMode", [](Oscillator& o) { o.setCalibMode(true); }, kNo},
        {"InitialiseChip", [](Oscillator& o) { o.InitialiseChip(); }, kNo},
        {"RigNo", [](Oscillator& o) { (void)o.RigNo(); }, kNo},
        {"RigDesc", [](Oscillator& o) { o.setRigDesc("x"); }, kNo},
    };
    for (const auto& c : cases) {
        clsSoftDDS osc(store);
        EXPECT_EQ(callResult<Oscillator>(c.call, osc), c.expected) << c.member;
    }
}

} // namespace
