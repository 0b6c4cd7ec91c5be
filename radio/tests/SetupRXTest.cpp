// The receiver set-up over the simulated ports: which objects each model gets and how they are filled,
// the fallbacks for saved values the tables do not know, the serial port that does not open, and the
// tuning of each model family decoded from the chip's pins.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/Hooks.h"
#include "radio/clsAD9835.h"
#include "radio/clsAD9850.h"
#include "radio/clsAD9851.h"
#include "radio/clsAD9951.h"
#include "radio/clsDDSNullIF.h"
#include "radio/clsDDSParallelIF.h"
#include "radio/clsDDSSerialIF.h"
#include "radio/clsFT232IF.h"
#include "radio/clsFTDIDRB30.h"
#include "radio/clsFTDIUS232C.h"
#include "radio/clsHamlib.h"
#include "radio/clsSoftDDS.h"
#include "radio/modSetupRX.h"
#include "radio/testing/PinBench.h"
#include "radio/testing/PinDecoders.h"
#include "radio/testing/Wirings.h"

namespace {

constexpr double kTwoTo32 = 4294967296.0;

class RecordingKnob final : public BfoKnob {
public:
    void setBfoValue(float hertz) override { value = hertz; }
    void SetBFO() override { applied.push_back(value); }
    float value = 0;
    std::vector<float> applied;
};

// Hamlib as the oscillator reaches it: a rig that takes every call.
class FakeRigs final : public RigBridge {
public:
    int32_t rig_set_debug(int32_t) override { return 0; }
    int32_t rig_init(int32_t model) override {
        models.push_back(model);
        return 5;
    }
    int32_t rig_open(int32_t) override { return 0; }
    int32_t rig_set_freq(int32_t, int32_t, double hz) override {
        frequencies.push_back(hz);
        return 0;
    }
    int32_t rig_close(int32_t) override { return 0; }
    int32_t rig_cleanup(int32_t) override { return 0; }
    std::vector<int32_t> models;
    std::vector<double> frequencies;
};

struct Message {
    std::string prompt;
    int32_t buttons;
    std::string title;
    bool operator==(const Message&) const = default;
};
void PrintTo(const Message& m, std::ostream* os) {
    *os << '"' << m.prompt << "\" " << m.buttons << " \"" << m.title << '"';
}

// The fourteen objects over simulated ports, with every adaptor and serial port 1 plugged in unless a test
// says otherwise.
struct Radio : pins::PinBench {
    explicit Radio(bool plugIn = true) {
        if (!plugIn) return;
        ports.plugIn(1);
        driver.plugIn("DRB USB ADP");
        driver.plugIn("US232C");
        driver.plugIn("FT232R USB UART");
    }

    modSetupRX::Globals globals() {
        return {store,
                state,
                models,
                {&vfo, &serial, &parallel, &null, &drb30, &us232c, &ft232, &ad9835, &ad9850, &ad9851, &ad9951,
                 nullptr, &soft, &hamlib},
                msComm1};
    }
    void initialise(int32_t model) {
        state.SDRModelNo = model;
        int32_t m = -1;
        setup.InitialiseRX(m, globals());
        EXPECT_EQ(m, model);
    }
    void save(const std::string& section, const std::string& key, const std::string& value) {
        store.SaveSetting("NerixSDR", section, key, value);
    }

    FakeRigs rigs;
    RecordingKnob knob;
    comm::MSComm* msComm1 = nullptr;
    ReceiverState state;
    RXDefinitions::RxModelTable models;
    std::vector<std::string> log;
    std::vector<Message> messages;
    runtime::ScopedHooks hooks{{.doEvents = [] {},
                                .addLog = [this](const std::string& l) { log.push_back(l); },
                                .msgBox =
                                    [this](const std::string& p, int32_t b, const std::string& t) {
                                        messages.push_back({p, b, t});
                                        return 1;
                                    }}};

    clsVFO vfo{store};
    clsDDSSerialIF serial{store, timing, ports};
    clsDDSParallelIF parallel{store, timing, lpt};
    clsDDSNullIF null{store};
    clsFTDIDRB30 drb30{driver, store, timing};
    clsFTDIUS232C us232c{driver, store, timing};
    clsFT232IF ft232{driver, store, timing};
    clsAD9835 ad9835{store};
    clsAD9850 ad9850{store};
    clsAD9851 ad9851{store};
    clsAD9951 ad9951{store};
    clsSoftDDS soft{store, &knob};
    clsHamlib hamlib{store, rigs};
    modSetupRX::ReceiverSetup setup;
};

const std::string kSection0 = "RXModel.Sat Schneider DRT1";

} // namespace

TEST(SetupRX, FreshStoreModel0IsTheAd9951OnTheSerialPort) {
    Radio r;
    r.initialise(0);
    EXPECT_EQ(r.setup.ModelSection, kSection0);
    EXPECT_EQ(r.vfo.Name(), kSection0);
    EXPECT_EQ(r.vfo.OscType(), &r.ad9951);
    EXPECT_EQ(r.vfo.IFFrequency(), 45'000'000);
    EXPECT_EQ(r.vfo.OscMultiplier(), 1);
    EXPECT_EQ(r.vfo.PLLMultiplier(), 1);
    EXPECT_TRUE(r.vfo.HiSideLo());
    EXPECT_FALSE(r.vfo.AutoUpdate());
    EXPECT_EQ(r.vfo.TunedFrequency(), 100'000'000);
    EXPECT_EQ(r.vfo.TuneStep(), 100);
    EXPECT_EQ(r.vfo.DDSInterfaceType(), 0);
    EXPECT_EQ(r.ad9951.Parent(), &r.vfo);
    EXPECT_EQ(r.ad9951.Name(), "DDSChip.AD9951");
    EXPECT_EQ(r.ad9951.RxName(), kSection0);
    EXPECT_EQ(r.ad9951.ClkIn(), 360'096'000);
    EXPECT_EQ(r.ad9951.BaseFrequency(), 0); // the row's -1: no crystal
    EXPECT_EQ(r.ad9951.IFHandler(), &r.serial);
    EXPECT_TRUE(r.ad9951.Initialised());
    EXPECT_EQ(r.serial.Name(), "DDSInterface.Serial");
    EXPECT_EQ(r.serial.RxName(), kSection0);
    EXPECT_DOUBLE_EQ(r.serial.WaitTime(), 5e-6);
    EXPECT_GT(r.serial.hComm(), 0);
    EXPECT_FALSE(r.serial.EventMode());
    EXPECT_FALSE(r.state.IQMode);
    EXPECT_TRUE(r.state.VFOControl);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(r.log,
              (std::vector<std::string>{"modSetupRx.InitialiseRX:Start", "modSetupRx.SetRx:Start",
                                        "RxDefinitions.Initialise:Start", "RxDefinitions.Initialise:End",
                                        "modSetupRx.SetRx:End", "modSetupRx.InitialiseRX:End"}));

    // The model's range, 10 kHz to 30 MHz.
    r.vfo.setTunedFrequency(50'000);
    EXPECT_EQ(r.vfo.TunedFrequency(), 100'000);
    r.vfo.setTunedFrequency(400'000'000);
    EXPECT_EQ(r.vfo.TunedFrequency(), 300'000'000);
}

TEST(SetupRX, FreshStoreModel13IsTheSoftwareOscillatorAtItsCrystal) {
    Radio r;
    r.initialise(13);
    EXPECT_EQ(r.vfo.OscType(), &r.soft);
    EXPECT_EQ(r.soft.BaseFrequency(), 28'220'000);
    EXPECT_EQ(r.soft.ClkIn(), 48'000);
    EXPECT_EQ(r.soft.IFHandler(), &r.null);
    EXPECT_EQ(r.null.Name(), "DDSInterface.Null");
    EXPECT_TRUE(r.state.IQMode);
    EXPECT_FALSE(r.state.VFOControl);
    // 7.043 MHz, the crystal's own frequency: the knob sits at 0.
    EXPECT_EQ(r.vfo.TunedFrequency(), 70'430'000);
    EXPECT_EQ(r.setup.CurrentModel.TunedFrequency, 70'430'000);
    ASSERT_FALSE(r.knob.applied.empty());
    EXPECT_EQ(r.knob.applied.back(), 0.0f);
    EXPECT_TRUE(r.messages.empty());
}

// Every model gets the oscillator and line its row names, filled with the row's values (the clock
// generator's models are held by its own tests).
TEST(SetupRX, EveryModelGetsTheObjectsItsRowNames) {
    struct Case {
        int model;
        const char* osc; // global name
        const char* line;
        const char* lineName;
        double clock;
        int32_t base;
        int32_t ifHz;
        bool iq;
    };
    const Case cases[] = {
        {0, "Ad9951", "Serial", "DDSInterface.Serial", 360096000, 0, 45000000, false},
        {1, "Ad9835", "Serial", "DDSInterface.Serial", 50000000, 0, 455000, false},
        {2, "Ad9850", "Parallel", "DDSInterface.Parallel", 100000000, 0, 12000, true},
        {3, "Ad9851", "Parallel", "DDSInterface.Parallel", 180000000, 0, 12000, true},
        {4, "SoftDds", "Null", "DDSInterface.Null", 48000, 12340000, 12000, true},
        {5, "Ad9835", "Serial", "DDSInterface.Serial", 50000000, 0, 12000, true},
        {6, "SoftDds", "Null", "DDSInterface.Null", 48000, 28304000, 12000, true},
        {7, "SoftDds", "Null", "DDSInterface.Null", 48000, 15000000, 12000, true},
        {8, "SoftDds", "Null", "DDSInterface.Null", 48000, 14000000, 12000, true},
        {9, "SoftDds", "Null", "DDSInterface.Null", 48000, 14318000, 12000, true},
        {10, "SoftDds", "Null", "DDSInterface.Null", 48000, 14747000, 12000, true},
        {11, "SoftDds", "Null", "DDSInterface.Null", 48000, 7380000, 12000, true},
        {12, "SoftDds", "Null", "DDSInterface.Null", 48000, 14108000, 12000, true},
        {13, "SoftDds", "Null", "DDSInterface.Null", 48000, 28220000, 12000, true},
        {14, "SoftDds", "Null", "DDSInterface.Null", 48000, 40500000, 12000, true},
        {15, "Ad9951", "Parallel", "DDSInterface.Parallel", 360080000, 0, 44998000, false},
        {16, "Ad9951", "Serial", "DDSInterface.Serial", 300000000, 0, 12000, true},
        {18, "Hamlib", "Null", "DDSInterface.Null", 360096000, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("model " + std::to_string(c.model));
        auto r = std::make_unique<Radio>();
        const std::map<std::string, OscillatorBase*> oscs = {{"Ad9835", &r->ad9835}, {"Ad9850", &r->ad9850},
                                                             {"Ad9851", &r->ad9851}, {"Ad9951", &r->ad9951},
                                                             {"SoftDds", &r->soft},  {"Hamlib", &r->hamlib}};
        const std::map<std::string, LineInterface*> lines = {
            {"Serial", &r->serial}, {"Parallel", &r->parallel}, {"Null", &r->null},
            {"Drb30", &r->drb30},   {"Us232c", &r->us232c},     {"Ft232", &r->ft232}};
        r->initialise(c.model);
        OscillatorBase* osc = oscs.at(c.osc);
        LineInterface* line = lines.at(c.line);
        const std::string section = "RXModel." + r->models.RxModels[static_cast<size_t>(c.model)].Name;
        EXPECT_EQ(r->vfo.OscType(), osc);
        EXPECT_EQ(r->setup.SelectedOsc, osc);
        EXPECT_EQ(r->setup.SelectedLine, line);
        EXPECT_EQ(osc->IFHandler(), line);
        EXPECT_EQ(line->Name(), c.lineName);
        EXPECT_EQ(line->RxName(), section);
        EXPECT_EQ(osc->RxName(), section);
        EXPECT_EQ(osc->Name(), "DDSChip." + r->models.RxModels[static_cast<size_t>(c.model)].DDSChipName);
        EXPECT_EQ(osc->ClkIn(), c.clock);
        EXPECT_EQ(osc->BaseFrequency(), c.base);
        EXPECT_TRUE(osc->Initialised());
        EXPECT_EQ(r->vfo.IFFrequency(), c.ifHz);
        EXPECT_EQ(r->state.IQMode, c.iq);
        EXPECT_TRUE(r->messages.empty());
        for (const auto& [name, other] : oscs) {
            if (other == osc) continue;
            EXPECT_EQ(other->Parent(), nullptr) << name;
        }
    }
}

// Saved numbers the tables do not know.
TEST(SetupRX, ModelsPastTheTableSetUpModel0AndSayWhy) {
    for (const int32_t model : {20, 40000}) {
        SCOPED_TRACE(model);
        Radio r;
        int32_t m = model;
        EXPECT_TRUE(r.setup.SetRx(m, r.globals()));
        EXPECT_EQ(r.setup.SetupModelNo, 0);
        EXPECT_EQ(r.setup.ModelSection, kSection0);
        EXPECT_EQ(r.setup.SelectedOsc, &r.ad9951);
        EXPECT_NE(std::find(r.log.begin(), r.log.end(),
                            "modSetupRx.SetRx:Model " + std::to_string(model) +
                                " is not in the model table, model 0 used"),
                  r.log.end());
    }
    // A negative number keeps the model set up before.
    Radio r;
    int32_t m = 13;
    r.setup.SetRx(m, r.globals());
    m = -5;
    r.setup.SetRx(m, r.globals());
    EXPECT_EQ(r.setup.SetupModelNo, 13);
    EXPECT_EQ(r.setup.SelectedOsc, &r.soft);
}

TEST(SetupRX, AnUnknownChipShowsTheMessageAndAnUnknownInterfaceFallsBackSilently) {
    {
        Radio r;
        r.save(kSection0, "DDSChip", "1234");
        int32_t m = 0;
        r.setup.SetRx(m, r.globals());
        EXPECT_EQ(r.messages, (std::vector<Message>{{"Unknown DDSChip", 0, "NerixSDR"}}));
        EXPECT_EQ(r.setup.SelectedOsc, &r.soft);
        EXPECT_EQ(r.setup.CurrentModel.DDSChipName, "DDSChip.AD9951");
    }
    for (const char* type : {"2", "3", "9", "-1", "7"}) {
        SCOPED_TRACE(type);
        Radio r;
        r.save(kSection0, "DDSInterfaceType", type);
        r.initialise(0);
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.ad9951.IFHandler(), &r.null);
        EXPECT_EQ(r.null.Name(), "DDSInterface.Null");
        EXPECT_EQ(r.ports.opens(), 0);
    }
    // The three USB adaptors by their saved numbers.
    const std::pair<const char*, std::string> adaptors[] = {{"4", "DDSInterface.NTIUSB"},
                                                            {"5", "DDSInterface.DDSFTDIUS232C"},
                                                            {"6", "DDSInterface.DDSFTDIFT232IF"}};
    for (const auto& [type, name] : adaptors) {
        Radio r;
        r.save(kSection0, "DDSInterfaceType", type);
        int32_t m = 0;
        r.setup.SetRx(m, r.globals());
        EXPECT_EQ(r.setup.SelectedLineName, name);
    }
}

// Values the VFO saved are the model's from then on; only the table's default is scaled to 0.1 Hz.
TEST(SetupRX, SavedValuesWinOverTheRow) {
    Radio r;
    r.save(kSection0, "TunedFrequency", "71234567");
    r.save(kSection0, "TuneStep", "1000");
    r.save(kSection0, "LOOffset", "10700000");
    r.save(kSection0, "XtalFrequency", "-7");
    r.save(kSection0, "WaitTime", "2E-05");
    r.initialise(0);
    EXPECT_EQ(r.setup.CurrentModel.TunedFrequency, 71'234'567);
    EXPECT_EQ(r.vfo.TunedFrequency(), 71'234'567);
    EXPECT_EQ(r.vfo.TuneStep(), 1000);
    EXPECT_EQ(r.vfo.IFFrequency(), 10'700'000);
    EXPECT_EQ(r.ad9951.BaseFrequency(), 0);
    EXPECT_DOUBLE_EQ(r.setup.CurrentModel.WaitTime, 2e-5);
}

TEST(SetupRX, ASavedValueThatDoesNotConvertEndsTheSetUp) {
    Radio r;
    r.save(kSection0, "TuneStep", "fast");
    int32_t m = 0;
    try {
        r.setup.InitialiseRX(m, r.globals());
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kTypeMismatch);
    }
    EXPECT_EQ(r.vfo.OscType(), nullptr);
}

// The set-up's message describes the failed open in the system's words: a port with no device, one
// another program holds, and, without a serial event control to open it, no open and no description.
TEST(SetupRX, ASerialPortThatDoesNotOpenGivesBothMessagesAndTheOscillatorIsStillInitialised) {
    const std::string setupMessage =
        "Unable to open Serial Interface COM1\r\nmodSetupRx.InitialiseRX:0\r\nError Code=0\r\nError Desc=";
    const std::string pollMessage = "clsDDSSerialIF:clsDDSSerialIF:OpenPort : PollMode : Unable to Open COM1";
    const std::string eventMessage = "clsDDSSerialIF:clsDDSSerialIF:OpenPort : Unable to Open COM1";
    const struct {
        const char* name;
        bool encoder, control, heldElsewhere;
        const std::string& lineMessage;
        const char* description;
    } cases[] = {
        {"poll mode, no device", false, false, false, pollMessage, "No such file or directory"},
        {"event mode, no device", true, true, false, eventMessage, "No such file or directory"},
        {"poll mode, port in use", false, false, true, pollMessage, "Device or resource busy"},
        {"event mode without a control", true, false, false, eventMessage, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Radio r(false);
        std::unique_ptr<comm::SerialPort> other;
        if (c.heldElsewhere) {
            r.ports.plugIn(1);
            other = r.ports.open(1);
            ASSERT_NE(other, nullptr);
        }
        runtime::PostQueue ui;
        comm::MSComm control(r.ports, ui);
        if (c.control) r.msComm1 = &control;
        r.state.EnableShaftEncoder = c.encoder;
        r.initialise(0);
        ASSERT_EQ(r.messages.size(), 2u);
        EXPECT_EQ(r.messages[0].prompt.rfind(c.lineMessage, 0), 0u) << r.messages[0].prompt;
        EXPECT_EQ(r.messages[1], (Message{setupMessage + c.description, 0, "NerixSDR"}));
        EXPECT_TRUE(r.ad9951.Initialised());
        EXPECT_EQ(r.log.back(), "modSetupRx.InitialiseRX:End");
    }
}

namespace {

// An oscillator and a line that write down what is done to them, with the VFO's state at the time.
struct Journal {
    std::vector<std::string> entries;
};

class RecordingOsc final : public Oscillator {
public:
    RecordingOsc(Journal& j, clsVFO& vfo) : j_(j), vfo_(vfo) {}
    void setName(std::string v) override { j_.entries.push_back("osc.Name=" + v); }
    void setRxName(std::string v) override { j_.entries.push_back("osc.RxName=" + v); }
    void setParent(clsVFO* v) override {
        j_.entries.push_back(std::string("osc.Parent") +
                             (v == &vfo_ && vfo_.OscType() == this ? "=Vfo" : "?"));
    }
    LineInterface* IFHandler() const override { return line_; }
    void setIFHandler(LineInterface* v) override {
        line_ = v;
        j_.entries.push_back("osc.IFHandler");
    }
    double ClkIn() const override { return clk_; }
    void setClkIn(double v) override {
        clk_ = v;
        j_.entries.push_back("osc.ClkIn=" + std::to_string(static_cast<int64_t>(v)));
    }
    void setBaseFrequency(int32_t v) override {
        j_.entries.push_back("osc.BaseFrequency=" + std::to_string(v));
    }
    void setFreqScaling(double v) override { j_.entries.push_back("osc.FreqScaling=" + std::to_string(v)); }
    double MaxFreq() const override { return 2e9; }
    double MinFreq() const override { return 0; }
    std::optional<int32_t> SetFrequency(int32_t f) override {
        // The VFO is whole by its first tuning.
        j_.entries.push_back("osc.SetFrequency=" + std::to_string(f) + " if " +
                             std::to_string(vfo_.IFFrequency()) + " step " +
                             std::to_string(static_cast<int>(vfo_.TuneStep())) + " type " +
                             std::to_string(vfo_.DDSInterfaceType()) + (vfo_.AutoUpdate() ? " auto" : ""));
        return f;
    }
    int32_t Initialise() override {
        j_.entries.push_back("osc.Initialise");
        return 0;
    }

protected:
    std::string_view className() const override { return "RecordingOsc"; }

private:
    Journal& j_;
    clsVFO& vfo_;
    LineInterface* line_ = nullptr;
    double clk_ = 0;
};

class RecordingLine final : public LineInterface {
public:
    explicit RecordingLine(Journal& j) : j_(j) {}
    void setName(std::string v) override { j_.entries.push_back("line.Name=" + v); }
    void setRxName(std::string v) override { j_.entries.push_back("line.RxName=" + v); }
    void setWaitTime(double v) override {
        j_.entries.push_back("line.WaitTime=" + std::to_string(v * 1e6) + "us");
    }
    void setMSCommCtl(comm::MSComm*) override { j_.entries.push_back("line.MSCommCtl"); }
    int32_t Initialise() override {
        j_.entries.push_back("line.Initialise");
        return 0;
    }
    int32_t OpenPort(bool eventMode) override {
        j_.entries.push_back(std::string("line.OpenPort ") + (eventMode ? "event" : "poll"));
        return 3;
    }
    int32_t PortNo() const override { return 1; }

protected:
    std::string_view className() const override { return "RecordingLine"; }

private:
    Journal& j_;
};

} // namespace

TEST(SetupRX, FillsTheVfoThenTheOscillatorClockBeforeBaseThenTheLine) {
    Radio r;
    Journal j;
    RecordingOsc osc(j, r.vfo);
    RecordingLine line(j);
    r.save(kSection0, "AutoUpdate", "True");
    r.state.EnableShaftEncoder = true;
    modSetupRX::Globals g = r.globals();
    g.Objects.Ad9951Osc = &osc;
    g.Objects.SerialLine = &line;
    int32_t m = 0;
    r.setup.InitialiseRX(m, g);
    EXPECT_EQ(j.entries, (std::vector<std::string>{
                             "osc.Parent=Vfo",
                             "osc.FreqScaling=1.000000",
                             "osc.FreqScaling=1.000000",
                             "osc.SetFrequency=550000000 if 45000000 step 100 type 0",
                             "osc.Name=DDSChip.AD9951",
                             "osc.RxName=" + kSection0,
                             "osc.ClkIn=360096000",
                             "osc.BaseFrequency=0",
                             "osc.IFHandler",
                             "line.Name=DDSInterface.Serial",
                             "line.RxName=" + kSection0,
                             "line.WaitTime=5.000000us",
                             "line.MSCommCtl",
                             "line.Initialise",
                             "line.OpenPort event",
                             "osc.Initialise",
                         }));
    EXPECT_TRUE(r.vfo.AutoUpdate()); // off while the set-up tunes, the saved value afterwards
}

// The set-up end to end: the radio a model gets, tuned through the VFO, reaches the chip, the rig or the
// knob at the frequency the model's IF and multipliers give.
namespace {

struct Family {
    const char* name;
    int model;
    const char* savedInterface; // a saved "DDSInterfaceType", or none
    std::array<int32_t, 3> tunedHz;
};

// Frequencies whose tuning word fits every DDS model's chip.
constexpr std::array<int32_t, 3> kDds = {7'100'000, 3'500'001, 10'123'457};
// Within a quarter of the sound card's rate of the model's crystal (80 m: 3.527 MHz less the IF).
constexpr std::array<int32_t, 3> kCrystal80m = {3'515'000, 3'520'123, 3'509'001};

void PrintTo(const Family& f, std::ostream* os) {
    *os << f.name;
}

class TuningEndToEnd : public ::testing::TestWithParam<Family> {};

} // namespace

TEST_P(TuningEndToEnd, TheTunedFrequencyReachesTheHardware) {
    const Family& f = GetParam();
    Radio r;
    const std::string section = "RXModel." + [&] {
        RXDefinitions::RxModelTable t;
        RXDefinitions::Initialise(t, 12000);
        return t.RxModels[static_cast<size_t>(f.model)].Name;
    }();
    if (f.savedInterface) r.save(section, "DDSInterfaceType", f.savedInterface);
    r.initialise(f.model);
    ASSERT_TRUE(r.messages.empty());
    const RXDefinitions::RxModelEntry& row = r.models.RxModels[static_cast<size_t>(f.model)];

    for (const int32_t tunedHz : f.tunedHz) {
        SCOPED_TRACE(tunedHz);
        r.trace.clearKeepingState();
        r.knob.applied.clear();
        r.rigs.frequencies.clear();
        r.vfo.setTunedFrequency(tunedHz * 10);
        // The local oscillator above the signal by the IF; the oscillator runs at its multiple.
        const double loHz = static_cast<double>(tunedHz) + row.LOOffset;
        const double oscHz = loHz * row.OscMultiplier / row.PLLMultiplier;
        const double clock = row.DDSClock;
        switch (row.DDSChip) {
        case 9850:
        case 9851: {
            const auto wiring = pins::wiring::parallel(r.parallel.PortAddress(), r.parallel.SDATABitNo(),
                                                       r.parallel.SCLCKBitNo(), r.parallel.IOUPDBitNo(),
                                                       r.parallel.Inverting());
            const auto latches = pins::decodeAd985x(pins::threeWireSamples(r.trace, wiring));
            ASSERT_EQ(latches.size(), 1u);
            EXPECT_NEAR(latches[0].tuningWord * clock / kTwoTo32, oscHz, clock / kTwoTo32);
            break;
        }
        case 9951: {
            const auto wiring = f.savedInterface ? pins::wiring::drb30() : pins::wiring::serialThreeWire(1);
            const auto updates = pins::decodeAd9951(pins::threeWireSamples(r.trace, wiring));
            ASSERT_EQ(updates.size(), 1u);
            const auto& b = updates[0].written.at(0x04);
            ASSERT_EQ(b.size(), 4u);
            const uint32_t word = uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
            EXPECT_NEAR(word * clock / kTwoTo32, oscHz, clock / kTwoTo32);
            break;
        }
        case 9835: {
            const auto frames =
                pins::decodeAd9835(pins::threeWireSamples(r.trace, pins::wiring::serialThreeWire(1)));
            const auto word = pins::ad9835Freq0(frames);
            ASSERT_TRUE(word.has_value());
            EXPECT_NEAR(*word * clock / kTwoTo32, oscHz, clock / kTwoTo32);
            break;
        }
        case 1:
            ASSERT_EQ(r.rigs.frequencies.size(), 1u);
            EXPECT_DOUBLE_EQ(r.rigs.frequencies[0], oscHz);
            break;
        default: // the software oscillator: the knob's offset from the crystal
            ASSERT_EQ(r.knob.applied.size(), 1u);
            EXPECT_EQ(row.XtalFrequency / 4.0 + r.knob.applied[0], loHz);
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    SetupRX, TuningEndToEnd,
    ::testing::Values(Family{"Ad9951Serial", 0, nullptr, kDds}, Family{"Ad9835Serial", 1, nullptr, kDds},
                      Family{"Ad9850Parallel", 2, nullptr, kDds}, Family{"Ad9851Parallel", 3, nullptr, kDds},
                      Family{"Ad9951Drb30", 15, "4", kDds}, Family{"Hamlib", 18, nullptr, kDds},
                      Family{"SoftDds", 12, nullptr, kCrystal80m}),
    [](const auto& info) { return std::string(info.param.name); });
