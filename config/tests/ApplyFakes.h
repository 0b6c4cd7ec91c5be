// Fakes of every live object Apply and the preview reach, writing one ordered call log: the VFO, the
// oscillators and lines, the receiver, the sound engine, the analyser, the knob table and the main window.
// A member named in a fake's `failing` set raises, as a member the object lacks does.
#pragma once

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "config/ConfigApply.h"
#include "config/ConfigPorts.h"
#include "frame/PublicFuncs.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/ui/testing/ScriptedDialogService.h"
#include "radio/LineInterface.h"
#include "radio/Oscillator.h"
#include "radio/RXDefinitions.h"
#include "radio/modRigList.h"
#include "radio/modSetupRX.h"

namespace applytest {

using Log = std::vector<std::string>;

inline std::string yes(bool v) {
    return v ? "True" : "False";
}

// Fails a member with 438 when it is named in the set.
struct Failing {
    std::set<std::string> failing;
    void check(const std::string& object, const std::string& member) const {
        if (failing.count(member)) runtime::raise(runtime::err::kUnsupportedMember, object + "." + member);
    }
};

class LogLine final : public LineInterface, public Failing {
public:
    LogLine(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
    int32_t handle = 7;               // what OpenPort returns; 0: the port did not open
    std::function<void()> ownMessage; // what OpenPort shows when it fails
    int32_t portNo = 1;

    void setName(std::string v) override { call("Name=" + v); }
    void setWaitTime(double s) override { call("WaitTime=" + runtime::CStr(s)); }
    int32_t Initialise() override { return call("Initialise"), 0; }
    void SaveSettings() override { call("SaveSettings"); }
    int32_t ClosePort() override { return call("ClosePort"), 0; }
    int32_t OpenPort(bool eventMode) override {
        call("OpenPort(" + yes(eventMode) + ")");
        if (handle == 0 && ownMessage) ownMessage();
        return handle;
    }
    int32_t PortNo() const override { return portNo; }
    void setPortNo(int32_t v) override {
        call("PortNo=" + std::to_string(v));
        portNo = v;
    }
    void setMSCommCtl(comm::MSComm*) override { call("MSCommCtl"); }
    void setPortAddress(int32_t v) override { call("PortAddress=" + std::to_string(v)); }
    void setInverting(bool v) override { call("Inverting=" + yes(v)); }
    void setIOUPDBitNo(int32_t v) override { call("IOUPDBitNo=" + std::to_string(v)); }
    void setSCLCKBitNo(int32_t v) override { call("SCLCKBitNo=" + std::to_string(v)); }
    void setSDATABitNo(int32_t v) override { call("SDATABitNo=" + std::to_string(v)); }
    const std::string& logName() const { return name_; }

protected:
    std::string_view className() const override { return "LogLine"; }

private:
    void call(const std::string& member) {
        const std::string bare = member.substr(0, member.find_first_of("=("));
        check(name_, bare);
        log_.push_back(name_ + "." + member);
    }
    Log& log_;
    std::string name_;
};

class LogOsc final : public Oscillator, public Failing {
public:
    LogOsc(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
    LineInterface* handler = nullptr;
    int32_t rigNo = 1;
    std::string rigDesc;

    LineInterface* IFHandler() const override { return handler; }
    void setIFHandler(LineInterface* v) override {
        const auto* line = dynamic_cast<LogLine*>(v);
        call("IFHandler=" + (line ? line->logName() : std::string("Nothing")));
        handler = v;
    }
    void setClkIn(double hertz) override { call("ClkIn=" + runtime::CStr(hertz)); }
    void setBaseFrequency(int32_t hertz) override { call("BaseFrequency=" + std::to_string(hertz)); }
    int32_t Initialise() override { return call("Initialise"), 0; }
    void SaveSettings() override { call("SaveSettings"); }
    int32_t RigNo() const override { return rigNo; }
    void setRigNo(int32_t v) override {
        call("RigNo=" + std::to_string(v));
        rigNo = v;
    }
    std::string RigDesc() const override { return rigDesc; }
    void setRigDesc(std::string v) override {
        call("RigDesc=" + v);
        rigDesc = std::move(v);
    }

protected:
    std::string_view className() const override { return "LogOsc"; }

private:
    void call(const std::string& member) {
        check(name_, member.substr(0, member.find_first_of("=(")));
        log_.push_back(name_ + "." + member);
    }
    Log& log_;
    std::string name_;
};

class LogVfo final : public config::VfoControl {
public:
    LogVfo(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
    Oscillator* osc = nullptr;
    int32_t kind = 0;

    void SaveSettings() override { call("SaveSettings"); }
    Oscillator* OscType() const override { return osc; }
    void setHiSideLo(bool v) override { call("HiSideLo=" + yes(v)); }
    void setIFFrequency(int32_t v) override { call("IFFrequency=" + std::to_string(v)); }
    void setAutoUpdate(bool v) override { call("AutoUpdate=" + yes(v)); }
    void setOscMultiplier(int32_t v) override { call("OscMultiplier=" + std::to_string(v)); }
    void setPLLMultiplier(int32_t v) override { call("PLLMultiplier=" + std::to_string(v)); }
    int32_t DDSInterfaceType() const override { return kind; }
    void setDDSInterfaceType(int32_t v) override {
        call("DDSInterfaceType=" + std::to_string(v));
        kind = v;
    }
    void Refresh() override { call("Refresh"); }

private:
    void call(const std::string& member) { log_.push_back(name_ + "." + member); }
    Log& log_;
    std::string name_;
};

// The receiver: a replaced VFO is a new fake ("Vfo#2"), which the set-up wires as the model's row says.
class LogReceiver final : public config::LiveReceiver {
public:
    LogReceiver(Log& log, ReceiverState& state, const RXDefinitions::RxModelTable& models)
        : log_(log), state_(state), models_(models) {}

    modSetupRX::RadioObjects objects;
    // The oscillator the set-up chooses for every model.
    Oscillator* modelOscillator = nullptr;
    LineInterface* modelLine = nullptr;

    LogVfo& current() {
        if (!vfo_) vfo_ = std::make_unique<LogVfo>(log_, "Vfo");
        return *vfo_;
    }
    config::VfoControl& Vfo() override { return current(); }
    modSetupRX::RadioObjects Objects() override { return objects; }
    void ReplaceVfo() override {
        log_.push_back("ReplaceVfo");
        vfo_ = std::make_unique<LogVfo>(log_, "Vfo#" + std::to_string(++generation_));
    }
    void InitialiseRX() override {
        log_.push_back("InitialiseRX(" + std::to_string(state_.SDRModelNo) + ")");
        LogVfo& vfo = current();
        vfo.osc = modelOscillator;
        const auto& row = models_.RxModels.at(static_cast<std::size_t>(state_.SDRModelNo));
        vfo.kind = row.DDSInterfaceType;
        if (modelOscillator) modelOscillator->setIFHandler(modelLine);
    }

private:
    Log& log_;
    ReceiverState& state_;
    const RXDefinitions::RxModelTable& models_;
    std::unique_ptr<LogVfo> vfo_;
    int generation_ = 1;
};

class LogSound final : public config::SoundEngine {
public:
    explicit LogSound(Log& log) : log_(log) {}
    bool running = false;
    int32_t playback = 3, capture = 1;
    int32_t prepareStatus = 0;

    bool InAction() const override { return running; }
    int32_t CurrentPlaybackDevice() const override { return playback; }
    void setCurrentPlaybackDevice(int32_t d) override {
        log_.push_back("SoundCard.CurrentPlaybackDevice=" + std::to_string(d));
        playback = d;
    }
    int32_t CurrentCaptureDevice() const override { return capture; }
    void setCurrentCaptureDevice(int32_t d) override {
        log_.push_back("SoundCard.CurrentCaptureDevice=" + std::to_string(d));
        capture = d;
    }
    int32_t StopSound() override {
        log_.push_back("SoundCard.StopSound");
        running = false;
        return 0;
    }
    int32_t ReleaseDevices() override {
        log_.push_back("SoundCard.ReleaseDevices");
        running = false;
        return 0;
    }
    int32_t PrepareDevices() override {
        log_.push_back("SoundCard.PrepareDevices");
        return prepareStatus;
    }

private:
    Log& log_;
};

class LogAnalyser final : public config::AnalyserSettings {
public:
    explicit LogAnalyser(Log& log) : log_(log) {}
    // Back, graticule, Y1 base, Y2 base, filter curve, notch, X text, Y text.
    std::array<int32_t, 8> colours{0x000000, 0x007F00, 0x00FF00, 0x00FFFF,
                                   0xC0C0C0, 0xC0FF60, 0xFFFF00, 0xFF7F00};
    int32_t focused = 0x0000FF, normal = 0xBFBF00;
    int32_t y1 = 0x007F00, y2 = 0x007F7F; // the traces at half brightness
    bool hide = false;
    int32_t smooth = 8;

    int32_t ScopeBackColour() const override { return colours[0]; }
    void setScopeBackColour(int32_t c) override { set("ScopeBackColour", colours[0], c); }
    int32_t GraticuleColour() const override { return colours[1]; }
    void setGraticuleColour(int32_t c) override { set("GraticuleColour", colours[1], c); }
    int32_t Y1BaseColour() const override { return colours[2]; }
    void setY1BaseColour(int32_t c) override { set("Y1BaseColour", colours[2], c); }
    int32_t Y2BaseColour() const override { return colours[3]; }
    void setY2BaseColour(int32_t c) override { set("Y2BaseColour", colours[3], c); }
    int32_t FilterCurveColour() const override { return colours[4]; }
    void setFilterCurveColour(int32_t c) override { set("FilterCurveColour", colours[4], c); }
    int32_t NotchFilterColour() const override { return colours[5]; }
    void setNotchFilterColour(int32_t c) override { set("NotchFilterColour", colours[5], c); }
    int32_t XTextColour() const override { return colours[6]; }
    void setXTextColour(int32_t c) override { set("XTextColour", colours[6], c); }
    int32_t YTextColour() const override { return colours[7]; }
    void setYTextColour(int32_t c) override { set("YTextColour", colours[7], c); }
    int32_t ControlColourFocused() const override { return focused; }
    void setControlColourFocused(int32_t c) override { set("ControlColourFocused", focused, c); }
    int32_t ControlColourNormal() const override { return normal; }
    void setControlColourNormal(int32_t c) override { set("ControlColourNormal", normal, c); }
    int32_t Y1Colour() const override { return y1; }
    void setY1Colour(int32_t c) override { set("Y1Colour", y1, c); }
    int32_t Y2Colour() const override { return y2; }
    void setY2Colour(int32_t c) override { set("Y2Colour", y2, c); }
    void SetChannelBrightness(int16_t channel, int16_t level) override {
        log_.push_back("Analyser.SetChannelBrightness(" + std::to_string(channel) + "," +
                       std::to_string(level) + ")");
        if (channel == 0) y1 = PublicFuncs::ScaleColour(colours[2], level);
        if (channel == 1) y2 = PublicFuncs::ScaleColour(colours[3], level);
    }
    bool HideFreqToolTip() const override { return hide; }
    void setHideFreqToolTip(bool h) override {
        log_.push_back("Analyser.HideFreqToolTip=" + yes(h));
        hide = h;
    }
    int32_t DefaultSmoothCount() const override { return smooth; }
    void setDefaultSmoothCount(int32_t n) override {
        log_.push_back("Analyser.DefaultSmoothCount=" + std::to_string(n));
        smooth = n;
    }

private:
    void set(const char* what, int32_t& field, int32_t c) {
        log_.push_back(std::string("Analyser.") + what + "=" + std::to_string(c));
        field = c;
    }
    Log& log_;
};

class LogKnobs final : public config::KnobValues {
public:
    explicit LogKnobs(Log& log) : log_(log) {}
    float Value(int16_t) const override { return 0; }
    void setValue(int16_t knob, float v) override { put(knob, "Value=" + runtime::singleText(v)); }
    void setDefault(int16_t knob, float v) override { put(knob, "Default=" + runtime::singleText(v)); }
    void setNormalColour(int16_t knob, int32_t c) override { put(knob, "NormalColour=" + std::to_string(c)); }
    void setFocusColour(int16_t knob, int32_t c) override { put(knob, "FocusColour=" + std::to_string(c)); }
    void SetBFO() override { log_.push_back("MouseOverS.SetBFO"); }

private:
    void put(int16_t knob, const std::string& what) {
        log_.push_back("ctlArray(" + std::to_string(knob) + ")." + what);
    }
    Log& log_;
};

class LogShell final : public config::MainWindowShell {
public:
    explicit LogShell(Log& log) : log_(log) {}
    std::optional<int16_t> layout = 2;

    void ShowTitleBar(bool on) override { log_.push_back("modMemTricks.ShowTitleBar(" + yes(on) + ")"); }
    void setBackColor(int32_t c) override { log_.push_back("frmMain.BackColor=" + std::to_string(c)); }
    void ReColour() override { log_.push_back("frmMain.ReColour"); }
    void DarkenControls() override { log_.push_back("frmMain.DarkenControls"); }
    void UnFocusFrames() override { log_.push_back("frmMain.UnFocusFrames"); }
    std::optional<int16_t> SelectedDisplaySize() const override { return layout; }
    void optDisplaySize_Click(int16_t i) override {
        log_.push_back("frmMain.optDisplaySize_Click(" + std::to_string(i) + ")");
    }
    void setCaption(const std::string& c) override { log_.push_back("frmMain.Caption=" + c); }
    void StartSound() override { log_.push_back("frmMain.StartSound"); }
    comm::MSComm* MSComm1() override { return nullptr; }
    void EncoderSwitchChanged() override { log_.push_back("frmMain.EncoderSwitchChanged"); }

private:
    Log& log_;
};

// Message boxes, in the log as "MsgBox: " and the prompt's first line, and kept whole; every answer is OK.
class LogDialogs final : public ui::CancellingDialogService {
public:
    explicit LogDialogs(Log& log) : log_(log) {}
    std::vector<ui::testing::ScriptedDialogService::Message> messages;

    int32_t MsgBox(const std::string& prompt, int32_t buttons, const std::string& title) override {
        messages.push_back({prompt, buttons, title});
        log_.push_back("MsgBox: " + prompt.substr(0, prompt.find('\r')));
        return runtime::mb::kOk;
    }

private:
    Log& log_;
};

// Whether the entries come in the log in this order (others may stand between them).
inline ::testing::AssertionResult inOrder(const Log& log, const std::vector<std::string>& entries) {
    auto at = log.begin();
    for (const auto& e : entries) {
        at = std::find(at, log.end(), e);
        if (at == log.end()) {
            std::string all;
            for (const auto& l : log)
                all += "\n  " + l;
            return ::testing::AssertionFailure() << "\"" << e << "\" missing or out of order in:" << all;
        }
        ++at;
    }
    return ::testing::AssertionSuccess();
}

inline bool logged(const Log& log, const std::string& entry) {
    return std::find(log.begin(), log.end(), entry) != log.end();
}

// Entries that begin with a prefix.
inline std::vector<std::string> startingWith(const Log& log, const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& l : log)
        if (l.rfind(prefix, 0) == 0) out.push_back(l);
    return out;
}

} // namespace applytest
