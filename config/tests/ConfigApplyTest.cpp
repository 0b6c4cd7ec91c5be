// Apply over fakes of every live object, all writing one ordered call log: the fixed order of its steps,
// what each choice changes and what it leaves alone, the refusals, the values that do not convert, and the
// values no live object may be given.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/ConfigApply.h"
#include "config/tests/ApplyFakes.h"
#include "platform/runtime/Hooks.h"

using namespace applytest;

namespace {

constexpr const char* kCaption = "NerixSDR - Configuration";
constexpr int32_t kScaled = 0x00BFBF00;

// The receiver as the filling left the dialog: model 2 ("IQ,AD9850 DDS") on the parallel line, the
// dialog's controls and members showing exactly what is in force.
struct ApplyRig {
    Log log;
    ReceiverState state;
    RXDefinitions::RxModelTable models;
    modRigList::RigListTable rigs;
    LogDialogs dialogs{log};
    LogLine serial{log, "SerialLine"}, parallel{log, "ParallelLine"}, nullLine{log, "NullLine"},
        drb30{log, "Drb30Line"}, us232c{log, "Us232cLine"}, ft232{log, "Ft232Line"};
    LogOsc ad9850{log, "Ad9850Osc"}, softDds{log, "SoftDdsOsc"}, hamlib{log, "HamlibOsc"};
    LogReceiver receiver{log, state, models};
    LogSound sound{log};
    LogAnalyser analyser{log};
    LogKnobs knobs{log};
    LogShell shell{log};
    config::ConfigMembers m;
    config::ApplyInputs in;
    std::vector<std::string> trace;
    // What a pump of the message loop does besides being logged.
    std::function<void()> onPump;
    runtime::ScopedHooks hooks{runtime::Hooks{[this] {
                                                  log.push_back("DoEvents");
                                                  if (onPump) onPump();
                                              },
                                              [this](const std::string& line) { trace.push_back(line); },
                                              {}}};

    ApplyRig() {
        RXDefinitions::Initialise(models, state.BaseIF);
        rigs.BuildRigList();
        state.SDRModelNo = 2;
        state.VFOControl = true;
        state.SPLAvailable = true;
        state.SDRColourSchemes = {0x000000, kScaled, 0xFFFF00, kScaled, 0x0000FF, kScaled, 0x0000FF};
        receiver.objects.SerialLine = &serial;
        receiver.objects.ParallelLine = &parallel;
        receiver.objects.NullLine = &nullLine;
        receiver.objects.Drb30Line = &drb30;
        receiver.objects.Us232cLine = &us232c;
        receiver.objects.Ft232Line = &ft232;
        receiver.objects.Ad9850Osc = &ad9850;
        receiver.objects.SoftDdsOsc = &softDds;
        receiver.objects.HamlibOsc = &hamlib;
        receiver.modelOscillator = &ad9850;
        receiver.modelLine = &parallel;
        LogVfo& vfo = receiver.current();
        vfo.osc = &ad9850;
        vfo.kind = 1;
        ad9850.handler = &parallel;
        hamlib.rigDesc = "Hamlib:Dummy";

        m.InitialSDRModelNo = m.NewSDRModelNo = 2;
        m.InitialHamLibRigNo = m.NewHamLibRigNo = 1;
        m.InitialPlaybackDevice = 3;
        m.InitialCaptureDevice = 1;
        m.InitialDDSInterfaceType = 1;
        m.NewIOUPDBitNo = 2;
        m.NewSCLCKBitNo = 1;
        m.NewSDATABitNo = 0;
        m.NewRunPriority = 128;

        in.SelectedModel = 2;
        in.IFFrequency = "0 012 000";
        in.AutoDDSRefresh = true;
        in.VFOMultIndex = 2;
        in.PLLMultiplierIndex = 0;
        in.XtalFrequency = "0";
        in.DDSClkin = "100 000 000";
        in.PlayDeviceIndex = 2;
        in.CapDeviceIndex = 0;
        in.InterfaceKind = 1;
        in.ComPortIndex = 0;
        in.BitPeriod = "0.000005000";
        in.PortAddress = "&H378";
        in.ParallelPortBitPeriod = "0.000005000";
        in.SmoothingCount = "8";
        in.DreamWindow = 0;
        config::controlDefaults(in.Swatches);
        in.Swatches[config::Swatch::ScopeBack] = 0x101010;
    }

    config::ApplyEnd run() {
        const config::ApplyPorts ports{state,  receiver,  models, rigs,  dialogs,
                                       &sound, &analyser, &knobs, &shell};
        return config::Apply(in, m, ports, kCaption, NumberFormat::Separators{".", ","});
    }
};

} // namespace

TEST(ConfigApply, NothingChangedStillSavesRefreshesAndPutsEveryValueInForceInTheFixedOrder) {
    ApplyRig r;
    EXPECT_EQ(r.run(), config::ApplyEnd::Complete);
    const std::string back = std::to_string(0x101010);
    const std::string scaled = std::to_string(kScaled);
    std::vector<std::string> expected{
        // 1: the saves, before anything changes
        "Vfo.SaveSettings", "Ad9850Osc.SaveSettings", "ParallelLine.SaveSettings",
        // 4, 5
        "Vfo.HiSideLo=True", "Vfo.IFFrequency=12000", "Vfo.AutoUpdate=True", "Ad9850Osc.Initialise",
        "Ad9850Osc.ClkIn=100000000", "Vfo.Refresh", "Vfo.OscMultiplier=4", "Vfo.PLLMultiplier=1",
        "Vfo.Refresh",
        // 8: the kind is set, and as it has not changed, no line is switched
        "Vfo.DDSInterfaceType=1",
        // 9: the parallel line, whatever the kind
        "ParallelLine.PortAddress=888", "ParallelLine.WaitTime=5E-06", "ParallelLine.Inverting=False",
        "ParallelLine.IOUPDBitNo=2", "ParallelLine.SCLCKBitNo=1", "ParallelLine.SDATABitNo=0",
        // the encoder's poll follows its switch
        "frmMain.EncoderSwitchChanged",
        // 13
        "Analyser.HideFreqToolTip=False", "Analyser.ScopeBackColour=" + back,
        "Analyser.GraticuleColour=32512", "Analyser.Y1BaseColour=65280", "Analyser.Y2BaseColour=65535",
        "Analyser.ControlColourFocused=255", "Analyser.ControlColourNormal=" + scaled,
        "Analyser.NotchFilterColour=12648288", "Analyser.FilterCurveColour=12632256",
        "Analyser.XTextColour=16776960", "Analyser.YTextColour=16744192",
        "Analyser.SetChannelBrightness(0,100)", "Analyser.SetChannelBrightness(1,100)",
        "Analyser.DefaultSmoothCount=8", "ctlArray(19).Default=8"};
    for (const int knob : {2, 3, 4, 5, 15, 6, 21, 22, 19}) {
        expected.push_back("ctlArray(" + std::to_string(knob) + ").NormalColour=" + scaled);
        expected.push_back("ctlArray(" + std::to_string(knob) + ").FocusColour=255");
    }
    // 15 and 17: the layout in use is laid out again
    for (const char* e : {"modMemTricks.ShowTitleBar(True)", "frmMain.BackColor=0", "frmMain.ReColour",
                          "frmMain.DarkenControls", "frmMain.UnFocusFrames",
                          "frmMain.optDisplaySize_Click(2)", "frmMain.Caption=NerixSDR - IQ,AD9850 DDS"})
        expected.emplace_back(e);
    EXPECT_EQ(r.log, expected);
    EXPECT_TRUE(r.dialogs.messages.empty());
    EXPECT_EQ(r.state.RunPriority, 128); // stored for the next "On", not applied
    EXPECT_EQ(r.state.SDRColourSchemes.Background, 0);
}

TEST(ConfigApply, AModelChangeBuildsTheNewModelOnANewVfoBeforeItsIfClockAndMultipliers) {
    ApplyRig r;
    r.m.NewSDRModelNo = 3;
    r.in.SelectedModel = 3;
    r.run();
    EXPECT_TRUE(inOrder(r.log, {"Vfo.SaveSettings", "Ad9850Osc.SaveSettings", "ParallelLine.SaveSettings",
                                "ReplaceVfo", "ctlArray(20).Value=0", "MouseOverS.SetBFO", "InitialiseRX(3)",
                                "Vfo#2.HiSideLo=True", "Vfo#2.IFFrequency=12000", "Ad9850Osc.Initialise",
                                "Vfo#2.Refresh", "frmMain.Caption=NerixSDR - IQ,AD9851 DDS"}));
    EXPECT_EQ(r.state.SDRModelNo, 3);
    EXPECT_EQ(r.m.InitialSDRModelNo, 3);
    EXPECT_EQ(r.m.NewSDRModelNo, 3);
    // A second Apply with no new choice changes no model.
    r.log.clear();
    r.run();
    EXPECT_FALSE(logged(r.log, "ReplaceVfo"));
}

TEST(ConfigApply, ARigChangeActsOnTheHamlibOscillatorWhateverTheModelAndTheCaptionNamesTheRigForHamlib) {
    ApplyRig r;
    r.m.NewHamLibRigNo = 101;
    r.run();
    EXPECT_TRUE(
        inOrder(r.log, {"ParallelLine.SaveSettings", "HamlibOsc.RigNo=101", "HamlibOsc.RigDesc=Yaesu:FT-847",
                        "HamlibOsc.SaveSettings", "Vfo.HiSideLo=True"}));
    EXPECT_EQ(r.m.InitialHamLibRigNo, 1); // the rig pair is the filling's; only the model pair is renewed

    ApplyRig h;
    h.state.SDRModelNo = 18;
    h.m.InitialSDRModelNo = h.m.NewSDRModelNo = 18;
    h.in.SelectedModel = 18;
    h.in.IFFrequency = "0 000 000";
    h.hamlib.rigDesc = "Yaesu:FT-847";
    h.run();
    EXPECT_TRUE(logged(h.log, "Vfo.IFFrequency=0")); // 0 passes: the "Hamlib" model's IF
    EXPECT_TRUE(logged(h.log, "frmMain.Caption=NerixSDR - Hamlib (Yaesu:FT-847)"));
}

TEST(ConfigApply, NewDevicesRestartARunningSoundThroughTheShellAndLeaveAStoppedOneStopped) {
    ApplyRig running;
    running.sound.running = true;
    running.state.DspBusy = true;
    int pumps = 0;
    running.onPump = [&] {
        if (++pumps == 3) running.state.DspBusy = false;
    };
    running.in.PlayDeviceIndex = 1;
    running.run();
    EXPECT_EQ(startingWith(running.log, "SoundCard.").size(), 5u);
    EXPECT_TRUE(
        inOrder(running.log, {"Vfo.Refresh", "DoEvents", "DoEvents", "DoEvents", "SoundCard.StopSound",
                              "SoundCard.ReleaseDevices", "SoundCard.CurrentPlaybackDevice=2",
                              "SoundCard.CurrentCaptureDevice=1", "SoundCard.PrepareDevices",
                              "frmMain.StartSound", "Vfo.DDSInterfaceType=1"}));
    EXPECT_EQ(running.m.InitialPlaybackDevice, 2);

    ApplyRig stopped;
    stopped.in.CapDeviceIndex = 1;
    stopped.run();
    EXPECT_EQ(startingWith(stopped.log, "SoundCard."),
              (std::vector<std::string>{"SoundCard.ReleaseDevices", "SoundCard.CurrentPlaybackDevice=3",
                                        "SoundCard.CurrentCaptureDevice=2", "SoundCard.PrepareDevices"}));
    EXPECT_FALSE(logged(stopped.log, "frmMain.StartSound"));
    EXPECT_FALSE(logged(stopped.log, "DoEvents"));
    EXPECT_EQ(stopped.m.InitialCaptureDevice, 2);
}

TEST(ConfigApply, NoDeviceIsChangedWithoutAChosenEntryNorUnderABlockThatNeverEnds) {
    for (const auto& [play, capture] : {std::pair{-1, 0}, std::pair{2, -1}, std::pair{-1, -1}}) {
        ApplyRig r;
        r.in.PlayDeviceIndex = play;
        r.in.CapDeviceIndex = capture;
        r.run();
        EXPECT_TRUE(startingWith(r.log, "SoundCard.").empty()) << play << " " << capture;
    }
    // On the one thread a block that is still running is one this Apply was reached from.
    ApplyRig stuck;
    stuck.sound.running = true;
    stuck.state.DspBusy = true;
    stuck.in.PlayDeviceIndex = 0;
    stuck.run();
    EXPECT_TRUE(startingWith(stuck.log, "SoundCard.").empty());
    EXPECT_EQ(std::count(stuck.log.begin(), stuck.log.end(), "DoEvents"), config::kDspSettlePumps + 1);
    EXPECT_TRUE(logged(stuck.log, "frmMain.Caption=NerixSDR - IQ,AD9850 DDS"));
}

TEST(ConfigApply, AChangedKindClosesThePortAndAttachesItsLineBeforeInitialisingTheOscillator) {
    const struct {
        int16_t kind;
        const char* attached;
    } cases[] = {{3, "NullLine"}, {4, "Drb30Line"}, {5, "Us232cLine"}, {6, "Ft232Line"}, {2, "Nothing"}};
    for (const auto& c : cases) {
        ApplyRig r;
        r.in.InterfaceKind = c.kind;
        r.run();
        std::vector<std::string> expected{"Vfo.DDSInterfaceType=" + std::to_string(c.kind),
                                          "ParallelLine.ClosePort",
                                          std::string("Ad9850Osc.IFHandler=") + c.attached};
        if (c.kind != 2) expected.emplace_back("Ad9850Osc.Initialise");
        expected.emplace_back("ParallelLine.PortAddress=888");
        EXPECT_TRUE(inOrder(r.log, expected)) << c.kind;
        EXPECT_EQ(r.m.InitialDDSInterfaceType, c.kind);
        EXPECT_TRUE(startingWith(r.log, "SerialLine.").empty()) << c.kind;
    }
}

TEST(ConfigApply, ASerialPortThatDoesNotOpenGivesTwoMessagesAndIsAttachedAllTheSame) {
    ApplyRig r;
    r.in.InterfaceKind = 0;
    r.state.EnableShaftEncoder = true; // as it stood before this Apply
    r.in.EnableEncoder = false;
    r.serial.handle = 0;
    r.serial.portNo = 4;
    r.in.ComPortIndex = 3;
    r.serial.ownMessage = [&] { r.dialogs.MsgBox("Please set a valid COM port", 0, "NerixSDR"); };
    r.serial.failing = {"MSCommCtl"};
    r.run();
    EXPECT_TRUE(inOrder(
        r.log, {"ParallelLine.ClosePort", "SerialLine.Name=DDSInterface.Serial", "SerialLine.Initialise",
                "SerialLine.OpenPort(True)", "MsgBox: Please set a valid COM port",
                "MsgBox: Unable to open Serial Interface COM4", "Ad9850Osc.IFHandler=SerialLine",
                "Ad9850Osc.Initialise", "ParallelLine.PortAddress=888", "SerialLine.WaitTime=5E-06"}));
    ASSERT_EQ(r.dialogs.messages.size(), 2u);
    EXPECT_EQ(r.dialogs.messages[0].prompt, "Please set a valid COM port");
    // Built from the last error Apply skipped: here the control the line lacks.
    EXPECT_EQ(r.dialogs.messages[1].prompt, "Unable to open Serial Interface COM4\r\n"
                                            "frmConfig.cmdApply_Click():0\r\n"
                                            "Error Code=438\r\n"
                                            "Error Desc=Object doesn't support this property or method");
    EXPECT_EQ(r.dialogs.messages[1].title, "NerixSDR");
    EXPECT_EQ(r.dialogs.messages[1].buttons, runtime::mb::kOkOnly);
    EXPECT_FALSE(r.state.EnableShaftEncoder);
}

TEST(ConfigApply, TheComPortChangesOnlyWithSerChosenAndOnlyWhenAnEntryIsChosen) {
    ApplyRig ser;
    ser.receiver.current().kind = 0;
    ser.m.InitialDDSInterfaceType = 0;
    ser.in.InterfaceKind = 0;
    ser.in.ComPortIndex = 2;
    ser.in.BitPeriod = "0.000010000";
    ser.run();
    EXPECT_EQ(startingWith(ser.log, "SerialLine."),
              (std::vector<std::string>{"SerialLine.ClosePort", "SerialLine.PortNo=3",
                                        "SerialLine.OpenPort(False)", "SerialLine.WaitTime=1E-05"}));

    ApplyRig noEntry = ApplyRig();
    noEntry.receiver.current().kind = 0;
    noEntry.m.InitialDDSInterfaceType = 0;
    noEntry.in.InterfaceKind = 0;
    noEntry.in.ComPortIndex = -1;
    noEntry.run();
    EXPECT_EQ(startingWith(noEntry.log, "SerialLine."),
              std::vector<std::string>{"SerialLine.WaitTime=5E-06"});

    ApplyRig par;
    par.in.ComPortIndex = 2;
    par.run();
    EXPECT_TRUE(startingWith(par.log, "SerialLine.").empty());
}

TEST(ConfigApply, TheIfAndClockRefusalsEndApplyWithTheirMessagesAfterTheStepsTheyFollow) {
    const struct {
        const char* ifText;
        const char* clockText;
        config::ApplyEnd end;
        const char* message;
        const char* last; // the last statement done
    } cases[] = {
        {"-5", "100 000 000", config::ApplyEnd::IFRefused, "IF Frequency must be greater than 0.0 MHZ",
         "HamlibOsc.SaveSettings"},
        {"0 012 000", "1", config::ApplyEnd::ClockRefused, "CLKIN must be greater than 1.0000 MHZ",
         "Vfo#2.AutoUpdate=True"},
        {"0 012 000", "0", config::ApplyEnd::ClockRefused, "CLKIN must be greater than 1.0000 MHZ",
         "Vfo#2.AutoUpdate=True"},
        {"0 012 000", "", config::ApplyEnd::ClockRefused, "CLKIN must be greater than 1.0000 MHZ",
         "Vfo#2.AutoUpdate=True"},
    };
    for (const auto& c : cases) {
        ApplyRig r;
        r.m.NewSDRModelNo = 3;
        r.in.SelectedModel = 3;
        r.m.NewHamLibRigNo = 101;
        r.in.IFFrequency = c.ifText;
        r.in.DDSClkin = c.clockText;
        EXPECT_EQ(r.run(), c.end) << c.ifText << " " << c.clockText;
        ASSERT_EQ(r.dialogs.messages.size(), 1u);
        EXPECT_EQ(r.dialogs.messages[0].prompt, c.message);
        EXPECT_EQ(r.dialogs.messages[0].title, "NerixSDR - Configuration CLKIN - ERROR");
        // Nothing after the message.
        ASSERT_GE(r.log.size(), 2u);
        EXPECT_EQ(r.log[r.log.size() - 2], c.last);
        EXPECT_EQ(r.log.back(), std::string("MsgBox: ") + c.message);
        // The Initial members stay, so the next Apply makes the model change again.
        EXPECT_EQ(r.m.InitialSDRModelNo, 2);
        r.log.clear();
        r.in.IFFrequency = "0 012 000";
        r.in.DDSClkin = "100 000 000";
        EXPECT_EQ(r.run(), config::ApplyEnd::Complete);
        EXPECT_TRUE(logged(r.log, "ReplaceVfo"));
    }
}

TEST(ConfigApply, FrequenciesAreReadLenientlyAndRoundedHalfToEven) {
    const struct {
        const char* ifText;
        const char* clockText;
        const char* ifSet;
        const char* clockSet;
    } cases[] = {
        {"0 455 000", "125 000 000", "Vfo.IFFrequency=455000", "Ad9850Osc.ClkIn=125000000"},
        {"2.5", "1.5", "Vfo.IFFrequency=2", "Ad9850Osc.ClkIn=1.5"},
        {"3.5", "48000", "Vfo.IFFrequency=4", "Ad9850Osc.ClkIn=48000"},
        {"", "&H100", "Vfo.IFFrequency=0", "Ad9850Osc.ClkIn=256"},
        {"abc", "300 000 000 Hz", "Vfo.IFFrequency=0", "Ad9850Osc.ClkIn=300000000"},
    };
    for (const auto& c : cases) {
        ApplyRig r;
        r.in.IFFrequency = c.ifText;
        r.in.DDSClkin = c.clockText;
        EXPECT_EQ(r.run(), config::ApplyEnd::Complete) << c.ifText;
        EXPECT_TRUE(logged(r.log, c.ifSet)) << c.ifText;
        EXPECT_TRUE(logged(r.log, c.clockSet)) << c.clockText;
    }
}

TEST(ConfigApply, TypedValuesThatDoNotConvertAreSkippedAndNamedInOneMessageAtTheEnd) {
    ApplyRig r;
    r.state.VFOControl = false; // a crystal-controlled model: its crystal frequency is applied
    r.in.InterfaceKind = 0;
    r.in.XtalFrequency = "abc";
    r.in.PortAddress = "378";
    r.in.ParallelPortBitPeriod = "0,000005";
    r.in.BitPeriod = "";
    r.in.SmoothingCount = "eight";
    r.run();
    EXPECT_FALSE(logged(r.log, "SoftDdsOsc.BaseFrequency=0"));
    EXPECT_TRUE(logged(r.log, "ParallelLine.PortAddress=378")); // decimal is a number too
    EXPECT_TRUE(startingWith(r.log, "ParallelLine.WaitTime").empty());
    EXPECT_TRUE(startingWith(r.log, "SerialLine.WaitTime").empty());
    EXPECT_TRUE(startingWith(r.log, "Analyser.DefaultSmoothCount").empty());
    // Apply went on to its end.
    EXPECT_TRUE(logged(r.log, "frmMain.Caption=NerixSDR - IQ,AD9850 DDS"));
    ASSERT_EQ(r.dialogs.messages.size(), 1u);
    EXPECT_EQ(r.dialogs.messages[0].prompt, "These values were not applied:\r\n"
                                            "XTAL Frequ (Hz)\r\n"
                                            "Bit Period           sec\r\n"
                                            "Bit Period        sec\r\n"
                                            "Default Smooth Count");
    EXPECT_EQ(r.dialogs.messages[0].title, kCaption);
    EXPECT_EQ(r.log.back(), "MsgBox: These values were not applied:");
    for (const char* label : {"XTAL Frequ (Hz)", "Default Smooth Count"}) {
        const bool traced = std::any_of(r.trace.begin(), r.trace.end(), [&](const std::string& l) {
            return l.find(label) != std::string::npos && l.find("Code=13") != std::string::npos;
        });
        EXPECT_TRUE(traced) << label;
    }

    // The crystal as the dialog shows it after a model choice reads whole.
    ApplyRig grouped;
    grouped.state.VFOControl = false;
    grouped.in.XtalFrequency = "12 340 000";
    grouped.run();
    EXPECT_TRUE(inOrder(grouped.log, {"Ad9850Osc.Initialise", "SoftDdsOsc.BaseFrequency=12340000",
                                      "Ad9850Osc.ClkIn=100000000"}));
    EXPECT_TRUE(grouped.dialogs.messages.empty());
}

TEST(ConfigApply, NoValueALiveObjectCannotTakeReachesIt) {
    ApplyRig r;
    r.in.VFOMultIndex = -1; // typed text in the LO Divider
    r.in.PLLMultiplierIndex = -1;
    r.m.NewIOUPDBitNo = 9;
    r.in.InterfaceKind.reset();
    r.run();
    EXPECT_TRUE(startingWith(r.log, "Vfo.OscMultiplier").empty());
    EXPECT_TRUE(startingWith(r.log, "Vfo.PLLMultiplier").empty());
    EXPECT_TRUE(startingWith(r.log, "ParallelLine.IOUPDBitNo").empty());
    EXPECT_TRUE(logged(r.log, "ParallelLine.SCLCKBitNo=1"));
    EXPECT_TRUE(startingWith(r.log, "Vfo.DDSInterfaceType").empty()); // no option: the kind stays
    // Every value left out leaves a trace line.
    EXPECT_EQ(std::count_if(r.trace.begin(), r.trace.end(),
                            [](const std::string& l) { return l.find(" left out: ") != std::string::npos; }),
              3);
}

TEST(ConfigApply, ReceiverStateValuesFollowTheirBoxesWithUseSplOnlyWhileTheLibraryIsThere) {
    ApplyRig r;
    r.state.SPLAvailable = false;
    r.state.UseSPL = false;
    r.in.UseSPL = true;
    r.in.DreamWindow.reset();
    r.state.DRM.DreamWindowStyle = 2;
    r.in.TitleBarOff = true;
    r.in.ADCDelayBitCorrection = true;
    r.in.PathToDream = "/opt/dream";
    r.in.SaveRecordingsPath = "/home/user/rec";
    r.in.HiliteBorder = true;
    r.run();
    EXPECT_FALSE(r.state.UseSPL);
    EXPECT_EQ(r.state.DRM.DreamWindowStyle, 0);
    EXPECT_TRUE(r.state.FormCaptionOffOnPwrOn);
    EXPECT_TRUE(logged(r.log, "modMemTricks.ShowTitleBar(False)"));
    EXPECT_TRUE(r.state.PhaseBitCorrection);
    EXPECT_EQ(r.state.DRM.PathToDream, "/opt/dream");
    EXPECT_EQ(r.state.SaveRecordingsPath, "/home/user/rec");
    EXPECT_TRUE(r.state.HiLiteBorder);

    ApplyRig noLayout;
    noLayout.shell.layout.reset();
    noLayout.run();
    EXPECT_TRUE(startingWith(noLayout.log, "frmMain.optDisplaySize_Click").empty());
    EXPECT_TRUE(logged(noLayout.log, "frmMain.UnFocusFrames"));
}

TEST(ConfigApply, ApplyRenewsTheColoursAPreviewPutsBack) {
    ApplyRig r;
    r.in.Swatches[config::Swatch::SDRBackGround] = 0x202020;
    r.in.Swatches[config::Swatch::ScopeY1] = 0x00FF10;
    r.in.Swatches[config::Swatch::FocusScrollLabel] = 0x0000EE;
    r.run();
    EXPECT_EQ(r.m.InitialColours[0], 0x202020);
    EXPECT_EQ(r.m.InitialColours[6], 0x0000EE);
    EXPECT_EQ(r.m.InitialColours[10], 0x00FF10);

    // A preview after the Apply returns to the applied colours, not to those of the filling.
    config::ColourPreview preview(r.state, &r.analyser, &r.shell);
    config::SwatchColours other = r.in.Swatches;
    other[config::Swatch::SDRBackGround] = 0x0000AA;
    other[config::Swatch::ScopeY1] = 0x0000BB;
    preview.Press(other);
    EXPECT_EQ(r.state.SDRColourSchemes.Background, 0x0000AA);
    preview.Release(r.m.InitialColours);
    EXPECT_EQ(r.state.SDRColourSchemes.Background, 0x202020);
    EXPECT_EQ(r.analyser.Y1BaseColour(), 0x00FF10);
    EXPECT_EQ(r.analyser.ControlColourFocused(), 0x0000EE);
}

TEST(ConfigApply, ObjectsThatAreMissingOrLackAMemberSkipOnlyTheirStatements) {
    ApplyRig r;
    const config::ApplyPorts bare{r.state, r.receiver, r.models, r.rigs, r.dialogs};
    r.ad9850.failing = {"SaveSettings", "Initialise"};
    r.m.NewSDRModelNo = 3;
    r.in.SelectedModel.reset(); // the model list without a selection
    EXPECT_EQ(config::Apply(r.in, r.m, bare, kCaption, {".", ","}), config::ApplyEnd::Complete);
    EXPECT_TRUE(
        inOrder(r.log, {"Vfo.SaveSettings", "ParallelLine.SaveSettings", "ReplaceVfo", "InitialiseRX(2)",
                        "Vfo#2.HiSideLo=True", "Vfo#2.Refresh", "ParallelLine.SDATABitNo=0"}));
    EXPECT_TRUE(startingWith(r.log, "Analyser.").empty());
    EXPECT_TRUE(startingWith(r.log, "frmMain.").empty());
    EXPECT_EQ(r.state.SDRModelNo, 2);
    // The state still takes the colours, and the trace names every skipped statement.
    EXPECT_EQ(r.state.SDRColourSchemes.Background, 0);
    for (const char* skipped : {"Vfo.OscType.SaveSettings", "SDRModelNo", "MouseOverS.SetBFO",
                                "Vfo.OscType.Initialise", "Analyser.ScopeBackColour", "frmMain.ReColour"}) {
        const bool traced = std::any_of(r.trace.begin(), r.trace.end(), [&](const std::string& l) {
            return l.find(std::string(": ") + skipped + " skipped") != std::string::npos;
        });
        EXPECT_TRUE(traced) << skipped;
    }
}
