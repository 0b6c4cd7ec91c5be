// Inside the receiver: the small adapters its cores are made over, and the ports of its power,
// shutdown, decoder, housekeeping and timer routines, each reaching the cores directly.
#pragma once

#include <chrono>
#include <optional>
#include <random>

#include "frame/modTiming.h"
#include "frontpanel/PresetRoutines.h"
#include "frontpanel/ReceiverSwitches.h"
#include "mainwindow/PowerSequence.h"
#include "mainwindow/Receiver.h"
#include "platform/process/ProcessPriority.h"
#include "platform/process/ProgramLauncher.h"
#include "platform/profile/SettingsStore.h"
#include "platform/runtime/Hooks.h"
#include "recorder/RecorderPanelPorts.h"

namespace mainwindow {

// An object the load has not made: the run-time error, never a null dereference.
template <class T> T& must(const std::unique_ptr<T>& object, const char* name) {
    if (!object) runtime::raise(runtime::err::kObjectNotSet, name);
    return *object;
}

class Receiver::Neighbours {
public:
    explicit Neighbours(Receiver& r)
        : highlight(r), shell(r), recorderFormat(r), recorderLog(r), spectrum(r), display(r),
          encoderReadout(r), recordingChoices(r), powerChoice(r) {}

    // The knobs' hover: the window's highlight over the knob table, and its frames.
    class Highlight final : public frontpanel::ShellHighlight {
    public:
        explicit Highlight(Receiver& r) : r_(r) {}
        void HighlightValueLabel(int16_t& Index) override { r_.Highlight.HighlightValueLabel(Index); }
        void UnhighlightValueLabel() override { r_.Highlight.UnhighlightValueLabel(); }
        void UnhighlightValueLabel(int16_t Index) override { r_.Highlight.UnhighlightValueLabel(Index); }
        void DarkenControls() override { r_.DarkenControls(); }
        void FocusFrame(frontpanel::KnobFrame frame) override { r_.views_.Window.focusFrame(frame); }
        void UnFocusFrames() override { r_.UnFocusFrames(); }
        void focusSink() override { r_.views_.Window.focusSink(); }

    private:
        Receiver& r_;
    };

    // The power state, the sound start and the decoder as the mode's hand-over reaches them.
    class Shell final : public frontpanel::ReceiverShell, public frontpanel::SoundCardStatus {
    public:
        explicit Shell(Receiver& r) : r_(r) {}
        bool PowerOn() const override { return r_.views_.Window.PowerOn(); }
        void StartSound() override { r_.StartSound(); }
        void RunDREAM() override { r_.RunDREAM(); }
        void CloseProcessWindows() override {
            if (r_.Context.ProcessWatch) r_.Context.ProcessWatch->CloseProcessWindows();
        }
        bool Prepared() const override { return must(r_.SoundCard, "frmMain.SoundCard").Prepared(); }
        int32_t StopSound() override { return must(r_.SoundCard, "frmMain.SoundCard").StopSound(); }
        int32_t ReleaseDevices() override { return must(r_.SoundCard, "frmMain.SoundCard").ReleaseDevices(); }

    private:
        Receiver& r_;
    };

    // The recorder as the recording format's buttons reach it, once the load has made it.
    class RecorderFormat final : public frontpanel::RecorderFormat {
    public:
        explicit RecorderFormat(Receiver& r) : r_(r) {}
        bool IsClosed() const override { return r_.wav().IsClosed(); }
        void setDecimator(int32_t factor) override { r_.wav().setDecimator(factor); }
        int32_t WavSamplingRate() const override { return r_.wav().WavSamplingRate(); }
        void setBitsPerSample(int32_t bits) override { r_.wav().setBitsPerSample(bits); }

    private:
        Receiver& r_;
    };

    // The recorder's frequency log, once the load has made the recorder; before that no record is asked
    // for.
    class RecorderLog final : public frontpanel::FrequencyLog {
    public:
        explicit RecorderLog(Receiver& r) : r_(r) {}
        void NewLogRecord(int32_t tunedFrequency) override {
            if (r_.WavFile) frontpanel::WavFileLog(*r_.WavFile).NewLogRecord(tunedFrequency);
        }

    private:
        Receiver& r_;
    };

    // The receive path's display port: with no analyser nothing is fed. The redraw it asks for per
    // block goes to the pacing.
    class Spectrum final : public Nerix::SpectrumSink {
    public:
        explicit Spectrum(Receiver& r) : r_(r) {}
        bool Active() const override { return r_.Analyser && r_.Analyser->Active; }
        void SetIQMode(bool iq) override {
            if (r_.Analyser) r_.Analyser->setIQMode(iq);
        }
        bool IQMode() const override { return r_.Analyser && r_.Analyser->IQMode(); }
        void LoadSamples_S(const float* c1, const float* c2) override;
        void LoadSamples_INT16(const int16_t* c1, const int16_t* c2) override;
        double FStart() const override { return r_.analyser().FStart; }
        double FEnd() const override { return r_.analyser().FEnd; }
        void SetFOffset(int32_t hz) override { r_.analyser().FOffset = hz; }
        void SetReverseSpectrum(bool reverse) override { r_.analyser().ReverseSpectrum = reverse; }
        void RequestRedraw() override { r_.pacing().SetScopeTimer(frmUpDateScopeDisplay::kBlockArmMs); }

    private:
        Receiver& r_;
    };

    // What the display reads of the window.
    class Display final : public display::DisplayShell {
    public:
        explicit Display(Receiver& r) : r_(r) {}
        bool Minimised() const override { return r_.views_.Window.Minimised(); }

    private:
        Receiver& r_;
    };

    // The shaft encoder's readout: the front panel's digits and Label15.
    class EncoderReadoutPort final : public EncoderReadout {
    public:
        explicit EncoderReadoutPort(Receiver& r) : r_(r) {}
        void Display7Seg(const std::string& digits) override { r_.Front.tuning.Display7Seg(digits); }
        void setLabel15Caption(const std::string& caption) override {
            r_.views_.Window.setLabel(WindowLabel::EncoderCount, caption);
        }

    private:
        Receiver& r_;
    };

    // The recording format's choices as the recorder panel reaches them: the sample rate selected through
    // the switches (its click runs), the captions of every choice, then of the two frames.
    class RecordingChoices final : public recorder::RecordingChoices {
    public:
        explicit RecordingChoices(Receiver& r) : r_(r) {}
        void SelectRecordSampleRate(int32_t index) override {
            r_.Front.switches.SelectRecordSampleRate(index);
        }
        void setCaptionColour(int32_t colour) override {
            for (frontpanel::PanelOptionGroup* group :
                 {&r_.Front.switches.optRecordSamplePerBit, &r_.Front.switches.optRecordSampleRate})
                for (int16_t i = 0; i < group->Count(); ++i)
                    (*group)[i].setForeColor(colour);
            r_.views_.Window.setRecordingFramesColour(colour);
        }

    private:
        Receiver& r_;
    };

    class PowerChoice final : public recorder::PowerButton {
    public:
        explicit PowerChoice(Receiver& r) : r_(r) {}
        void setPowerChoice(int16_t Index, bool selected) override {
            r_.views_.Window.setPowerChoice(Index, selected);
        }

    private:
        Receiver& r_;
    };

    // The label every knob record holds until its own is bound; nothing shows it.
    class PlaceholderLabel final : public frontpanel::KnobLabel {
    public:
        void setCaption(const std::string&) override {}
        void setForeColor(int32_t) override {}
        void setBorder(bool) override {}
    };

    Highlight highlight;
    Shell shell;
    RecorderFormat recorderFormat;
    RecorderLog recorderLog;
    Spectrum spectrum;
    Display display;
    EncoderReadoutPort encoderReadout;
    RecordingChoices recordingChoices;
    PowerChoice powerChoice;
    PlaceholderLabel placeholder;
};

// The ports of the power sequences, the shutdown, the decoder's start, the housekeeping, the front-panel
// timers and the block drivers' pacing.
class Receiver::Ports final : public PowerPorts,
                              public ShutdownPorts,
                              public DreamPorts,
                              public HousekeepingPorts,
                              public PanelTimerPorts,
                              public Nerix::BlockPacer {
public:
    explicit Ports(Receiver& r) : r_(r), priority_(nice_), random_(std::random_device{}()) {}

    // PowerPorts
    void setTitleBarHidden(bool hidden) override { r_.views_.Window.setTitleBarHidden(hidden); }
    void ApplyLayout() override;
    void ShowTitleBar(bool on) override { r_.views_.Window.ShowTitleBar(on); }
    void ShowClose(bool visible) override { r_.views_.Window.showClose(visible); }
    void SetPowerColours(int32_t on, int32_t off) override { r_.views_.Window.setPowerColours(on, off); }
    void SetBfoRange(int32_t min, int32_t max) override;
    void MakeFilters() override { rebuildFilters(); }
    void SetPriorityClass(int32_t c) override;
    void SetFreeze(bool frozen) override { r_.analyser().Freeze = frozen; }
    void KillScopeTimer() override { r_.pacing().KillScopeTimer(); }
    void SetScopeTimer(int32_t ms) override { r_.pacing().SetScopeTimer(ms); }
    void StartSound() override { r_.StartSound(); }
    void StopSound() override { must(r_.SoundCard, "frmMain.SoundCard").StopSound(); }
    void StopHousekeeping() override { r_.views_.Window.stopTimer(WindowTimer::PerfStats); }

    // ShutdownPorts
    void Pump() override { runtime::DoEvents(); }
    bool Drawing() override { return r_.Analyser && r_.Analyser->InDisplay; }
    void StopTimers() override;
    void StopRecorderTimers() override {
        if (r_.RecorderPanel) r_.RecorderPanel->stopTimers();
    }
    void StopEncoderTimer() override { must(r_.Encoder, "modEncoder").StopEncoderTimer(); }
    void Hide() override { r_.views_.Window.hideWindow(); }
    void UnhookWheel() override { r_.views_.Window.unhookWheel(); }
    void ReleaseDevices() override { must(r_.SoundCard, "frmMain.SoundCard").ReleaseDevices(); }
    int32_t BandCount() override { return static_cast<int32_t>(r_.Context.MainBands.size()); }
    bool SaveBandPlan(int32_t i, BandSaveFailure& failure) override;
    // The saves of the settings file's keys, through to the failure's report, write the file once: each
    // write is a flush to the disk, slow on a busy machine.
    void SaveSettings() override {
        if (!held_) held_.emplace(r_.Context.Settings);
        r_.SaveSettings();
    }
    void SaveVfoSettings() override { r_.vfo().SaveSettings(); }
    void SaveLineSettings() override;
    void SaveOscillatorSettings() override { r_.oscillator().SaveSettings(); }
    // The settings are written here rather than when the store goes, so a failure can still be told.
    std::optional<FileSaveFailure> SettingsSaveFailure() override {
        held_.reset();
        r_.Context.Settings.commit();
        const auto failure = r_.Context.Settings.commitFailure();
        if (!failure) return std::nullopt;
        return FileSaveFailure{failure->file, failure->reason};
    }
    void ReleaseRX() override {
        if (r_.Context.ReleaseRX) r_.Context.ReleaseRX();
    }
    void ClosePort(int32_t line) override;
    void ReleaseRadioObjects() override {
        if (r_.Context.ReleaseRadioObjects) r_.Context.ReleaseRadioObjects();
    }
    void ReleaseSoundCard() override { r_.releaseSoundCard(); }
    void ReleaseWavFile() override { r_.releaseRecorder(); }
    void ShowMessage(const std::string& text) override { runtime::MsgBox(text, runtime::mb::kOkOnly); }

    // DreamPorts
    int16_t IsProcessRunning(const std::string& exe) override { return watch().IsProcessRunning(exe); }
    void setTargetProcessId(int32_t pid) override { watch().setTargetProcessId(pid); }
    int32_t ApplyWindowStyle(int32_t style) override { return watch().ApplyWindowStyle(style); }
    int32_t CurrentCaptureDevice() override {
        return must(r_.SoundCard, "frmMain.SoundCard").CurrentCaptureDevice();
    }
    int32_t CurrentPlaybackDevice() override {
        return must(r_.SoundCard, "frmMain.SoundCard").CurrentPlaybackDevice();
    }
    int32_t TunedFrequency() override { return r_.vfo().TunedFrequency(); }
    void ProfileSaveItem(const std::string& section, const std::string& key,
                         const std::string& value) override;
    int32_t Launch(const std::string& program, const std::vector<std::string>& args, int32_t show) override {
        return launcher_.Start({program, args, r_.Context.ProgramFolder, show});
    }
    void Sleep(int32_t ms) override;
    void Trace(const std::string& line) override { runtime::AddLog(line); }
    void MsgBox(const std::string& text) override { runtime::MsgBox(text, runtime::mb::kOkOnly); }

    // HousekeepingPorts
    bool Minimised() override { return r_.views_.Window.Minimised(); }
    void UpdateSMeter(double level) override { r_.SMeter.UpdateSMeter(level); }
    void SetSMeterToolTip(const std::string& tip) override { r_.views_.Meter.setToolTipText(2, tip); }
    const BlockStatistics* Statistics() override;
    void SetStat(int16_t i, const std::string& caption) override { r_.views_.Window.setStat(i, caption); }
    void SetStatColour(int16_t i, int32_t colour) override { r_.views_.Window.setStatColour(i, colour); }
    bool RebuildFilters() override { return rebuildFilters(); }
    clsFFTFilter& AfFilter() override { return bank().AfFilter; }
    clsFFTFilter& NotchFilter() override { return bank().NotchFilter; }
    void MakeFilter(clsFFTFilter& f) override { f.MakeFilter(); }
    void ShowNotchPeak(const std::string& caption, const std::string& tip) override {
        r_.Front.levels.lblNotch.setCaption(caption);
        r_.Front.levels.sldNotch.setToolTipText(tip);
    }
    int32_t OscOut() override { return r_.vfo().OscOut(); }
    ModelFlags Model() override {
        const auto& m = r_.Context.SetupRX.CurrentModel;
        return {m.VFOControl, m.LowSideLOOption, m.IQMode};
    }
    void ShowModelControls(bool iq, bool tuneLo, bool sam) override;

    // PanelTimerPorts
    void IncFreq(double step) override { r_.vfo().Inc_Freq(step); }
    void DecFreq(double step) override { r_.vfo().Dec_Freq(step); }
    bool AutoUpdate() override { return r_.vfo().AutoUpdate(); }
    bool OscillatorBusy() override { return r_.oscillator().CMDOutActive(); }
    void RefreshOscillator() override { r_.oscillator().Refresh(); }
    void StepDial(int32_t delta) override;
    void Display7Seg(const std::string& digits) override { r_.Front.tuning.Display7Seg(digits); }
    void SetScopeXCentre() override { r_.Front.routines.SetScopeXCentre(); }
    void CopyTuningRate() override { r_.views_.Window.copyTuningRate(); }
    int16_t SelectedRFInput() override;
    void SelectRFInput(int16_t i) override { r_.Front.switches.optRFInSel.setValue(i, true); }
    void SetClock(const std::string& text) override { r_.views_.Window.setLabel(WindowLabel::Clock, text); }
    void EnableRit(bool enabled) override;
    void SetVfoUpdateInterval(int32_t ms) override {
        r_.views_.Window.setTimerInterval(WindowTimer::VfoUpdate, ms);
    }
    double Random() override { return std::uniform_real_distribution<double>(0.0, 1.0)(random_); }
    std::chrono::system_clock::time_point UtcNow() override { return std::chrono::system_clock::now(); }

    // BlockPacer
    void ArmHousekeeping() override { r_.views_.Window.startTimer(WindowTimer::PerfStats, 10); }

private:
    bool rebuildFilters() { return r_.Front.setup ? r_.Front.setup->MakeFilters() : true; }
    Nerix::FilterBank& bank() {
        if (!r_.Context.Filters) runtime::raise(runtime::err::kObjectNotSet, "FilterBank");
        return *r_.Context.Filters;
    }
    modIsProcessRunning::ProcessWatch& watch() {
        if (!r_.Context.ProcessWatch) runtime::raise(runtime::err::kObjectNotSet, "modIsProcessRunning");
        return *r_.Context.ProcessWatch;
    }

    Receiver& r_;
    process::SystemNice nice_;
    process::ProcessPriority priority_;
    process::SpawnLauncher launcher_;
    modTiming::Timing timing_;
    bool timingReady_ = false;
    std::mt19937 random_;
    BlockStatistics stats_;
    std::optional<profile::CommitHold> held_; // the shutdown's settings saves, until their failure is read
};

} // namespace mainwindow
