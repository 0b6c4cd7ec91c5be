// The receiver behind the main window, Qt-free: the one composition of the window's cores. It owns the
// front panel's core with the band plan, the display's analyser, panel core, redraw pacing and S-meter,
// the recorder with its panel's core, the sound engine and the receive path, the shaft encoder, the serial
// event control, and the power, shutdown, housekeeping, front-panel timer and decoder routines, and wires
// them to each other by reference, once. It runs the window's start-up and shutdown; what only moves
// widgets it asks of the window's views.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "display/DisplayShell.h"
#include "display/SMeter.h"
#include "display/ScopePanelCore.h"
#include "display/frmUpDateScopeDisplay.h"
#include "dsp/NerixDX8.h"
#include "dsp/ReceivePath.h"
#include "dsp/frmDX8Events.h"
#include "frontpanel/BandPlanPanel.h"
#include "frontpanel/FrontPanelCore.h"
#include "mainwindow/DisplayAdapters.h"
#include "mainwindow/DreamStart.h"
#include "mainwindow/FormColours.h"
#include "mainwindow/FormSettings.h"
#include "mainwindow/Housekeeping.h"
#include "mainwindow/MainWindowContext.h"
#include "mainwindow/PanelKnobLabels.h"
#include "mainwindow/PanelKnobValues.h"
#include "mainwindow/PanelTimers.h"
#include "mainwindow/RecorderBlocks.h"
#include "mainwindow/WindowView.h"
#include "platform/comm/MSComm.h"
#include "platform/runtime/PostQueue.h"
#include "radio/EncoderReadout.h"
#include "radio/modEncoder.h"
#include "recorder/RecorderFileDialogs.h"
#include "recorder/RecorderPanel.h"
#include "recorder/clsWavFile.h"

namespace mainwindow {

// The views the window's widgets offer the cores. The window's widgets are made first and outlive the
// receiver.
struct ReceiverViews {
    WindowView& Window;
    frontpanel::ReadoutView& Readout;
    frontpanel::DialPosition& Dial;
    display::ScopePanelView& Scope;
    display::SMeterView& Meter;
    frontpanel::BandPlanShell& BandShell;
    frontpanel::PresetDescPopup& PresetDesc;
    frontpanel::PresetDialog& PresetDialog;
    recorder::RecorderPanelView& RecorderPanel;
    // The frame the recorder's track list lies over; absent, the list waits hidden.
    const recorder::PresetFrame* PresetFrame = nullptr;
    // The recorder's file dialogs.
    recorder::FileDialogService& FileDialogs;
};

class Receiver {
public:
    MainWindowContext& Context;

private:
    // Declared first: the cores below are made over these.
    class Ports;
    class Neighbours;
    const ReceiverViews views_;
    frontpanel::FilterTables tables_;
    frontpanel::CurrentVfo vfo_;
    frontpanel::CurrentVfo pathTuning_;
    std::unique_ptr<Neighbours> neighbours_;
    // The analyser as the front panel and the configuration dialog reach it, once the load has made it.
    AnalyserKnobSettings analyserKnobs_;
    AnalyserNotchOverlay notchOverlay_;
    AnalyserFilterCurve filterCurve_;
    ConfigAnalyser analyserSettings_;
    std::unique_ptr<Ports> ports_;

public:
    // Absent without a VFO.
    std::unique_ptr<modEncoder::Encoder> Encoder;

    Receiver(MainWindowContext& context, const ReceiverViews& views);
    virtual ~Receiver();
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;

    // The start-up: sets the caption, then, unless it runs already, its steps in order, each on its own
    // guard. True while it runs; FormLoading also tells the sub-band buttons.
    void Form_Load();
    bool FormLoadBusy() const { return formLoadBusy_; }
    bool FormLoading = false;

    // The shutdown, once: an unload asked for during its pumps is ignored, and afterwards no handler runs.
    void Form_Unload();
    bool Unloaded() const { return unloaded_; }
    // What the shutdown has not released yet goes, in the shutdown's order, while the window's widgets are
    // still there: the recorder with its panel, the display, the engine. Once only.
    void release();

    // The power button: On and Off run the power sequences, Close asks the window to close.
    void optPwr_Click(int16_t Index);
    // Prepares the sound devices and starts sound; a failure selects "Off" and raises.
    void StartSound();
    // The encoder's switch was set: its poll is armed or stopped to match.
    void EncoderSwitchChanged();
    void cmdCalibrateSMeter_Click() { Housekeeping.CalibrateSMeterRequest = true; }
    void RunDREAM();
    // The timers' ticks; none runs after the unload.
    void tmrPerfStats_Timer();
    void tmrTune_Timer();
    void tmrVFOUpdate_Timer();
    void tmrClock_Timer();

    // The colours and the highlight, over the cores and the window's widgets.
    void ReColour();
    void DarkenControls();
    void UnFocusFrames();
    // The pointer over the bare window ends every hover effect.
    void Form_MouseMove();
    // The layouts: the analyser off, or as its box says, with the statistics switch.
    void switchOffAnalyser();
    void followStatisticsAndAnalyserBoxes();
    // The configuration dialog put a new VFO in the slot: the analyser, which keeps the object for its
    // pass-band box, takes it before the old one is released. Never fails.
    virtual void VfoReplaced(clsVFO& vfo) noexcept;

    // What the start-up and the shutdown run by name; tests watch them.
    virtual void RestoreSettings();
    virtual void SaveSettings();
    virtual void SetSoundFormat();
    // The analyser, its panel's core and the pacing; a failure leaves the display without them.
    virtual void CreateAnalyser();

    FormSettings Settings;
    // The serial event control and the queue its watcher posts to (the window drains it).
    runtime::PostQueue CommEvents;
    comm::MSComm MSComm1;

    // The front panel's core and the band plan over it.
    frontpanel::FrontPanelCore Front;
    frontpanel::BandPlanPanel Bands;

private:
    PanelKnobLabels knobLabels_;
    PanelKnobValues knobValues_;

public:
    KnobHighlight Highlight;
    // The display: the analyser and, once it is made, the panel's core and the pacing; the S-meter.
    std::unique_ptr<clsSpectrumAnalyser> Analyser;
    std::unique_ptr<display::ScopePanelCore> Scope;
    std::unique_ptr<frmUpDateScopeDisplay> Pacing;
    display::SMeter SMeter;

    // Made by the load; absent when their step failed.
    std::unique_ptr<NerixDX8> SoundCard;
    std::unique_ptr<frmDX8Events> DX8Events;
    std::unique_ptr<recorder::clsWavFile> WavFile;
    std::unique_ptr<recorder::RecorderPanel> RecorderPanel;
    std::unique_ptr<Nerix::ReceivePath> Path;

    mainwindow::Housekeeping Housekeeping;
    mainwindow::PanelTimers PanelTimers;
    DreamStart Dream;

    // What the configuration dialog reads and sets of the display and the knobs.
    config::AnalyserSettings& analyserSettings() { return analyserSettings_; }
    config::KnobValues& knobValues() { return knobValues_; }

private:
    void trace(const char* step) const;
    void loadSteps();
    void loadWindowAndColours();
    void loadRecorder();
    void loadBandPlanButtons();
    void loadSoundAndPath();
    void loadInterface();
    void loadAnalyserAndTables();
    void loadRestoredState();
    void loadBandAndPassBand();
    void loadTimersAndSelectors();
    void loadLastSteps();
    void makeReceivePath();
    void connectRecorder();
    void releaseRecorder();
    void releaseSoundCard();
    std::string modelCaption() const;
    SettingsObjects settingsObjects();
    void handOverBfoKnob(BfoKnob* knob);
    clsVFO& vfo() const;
    Oscillator& oscillator() const;
    clsSpectrumAnalyser& analyser() const;
    display::ScopePanelCore& scope() const;
    frmUpDateScopeDisplay& pacing() const;
    recorder::clsWavFile& wav() const;

    std::unique_ptr<WavFileRecorder> recorderBlocks_;
    bool formLoadBusy_ = false;
    bool unloaded_ = false;
    bool released_ = false;
    // The load's analyser set-up has run: its pictures can be drawn.
    bool displaySetUp_ = false;
};

} // namespace mainwindow
