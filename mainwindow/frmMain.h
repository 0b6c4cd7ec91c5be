// The main window: the receiver's front end. It owns the form, the frames and panels placed directly on
// it, its own controls, the sound engine with its event form, the recorder, the one receive path, the
// shaft encoder and the serial event control, and composes the front panel, the display and the recorder
// panel, which build their controls in its panels. Its start-up runs when the supervisor loads it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dsp/NerixDX8.h"
#include "dsp/frmDX8Events.h"
#include "frame/ShellRoutines.h"
#include "frame/clsComDlg.h"
#include "mainwindow/BlockDriverPorts.h"
#include "mainwindow/DreamStart.h"
#include "mainwindow/FormColours.h"
#include "mainwindow/FormSettings.h"
#include "mainwindow/Housekeeping.h"
#include "mainwindow/MainWindowComponents.h"
#include "mainwindow/MainWindowContext.h"
#include "mainwindow/PanelTimers.h"
#include "mainwindow/ReceivePath.h"
#include "mainwindow/WindowLayout.h"
#include "platform/comm/MSComm.h"
#include "platform/runtime/PostQueue.h"
#include "platform/ui/ControlArray.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Timer.h"
#include "radio/EncoderReadout.h"
#include "radio/modEncoder.h"
#include "recorder/RecorderFileDialogs.h"
#include "recorder/clsWavFile.h"

class QSocketNotifier;

class frmMain : public ui::Form,
                public ShellRoutines,
                private mainwindow::LayoutWindow,
                private mainwindow::BlockPacer {
public:
    // The program's components: the display with its analyser, the front panel over it, and the recorder
    // panel.
    static mainwindow::ComponentFactories programComponents();

    frmMain(mainwindow::MainWindowContext& context,
            const mainwindow::ComponentFactories& components = programComponents());
    ~frmMain() override;
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // True while Form_Load runs; the sub-band buttons read it.
    bool FormLoading = false;
    // True from the load's re-entry guard to its second-last step.
    bool FormLoadBusy() const { return formLoadBusy_; }

    // ShellRoutines
    void ReColour() override;
    void DarkenControls() override;
    void UnFocusFrames() override;
    void FocusFrame(ui::Frame& frame) override;
    void HighlightValueLabel(int16_t& Index) override;
    void UnhighlightValueLabel() override;
    void UnhighlightValueLabel(int16_t Index) override;
    void optDisplaySize_Click(int16_t Index) override;
    std::string Caption() const override { return ui::Form::Caption(); }
    void setCaption(const std::string& caption) override { ui::Form::setCaption(caption); }
    void StartSound() override;
    void RunDREAM() override;
    void tmrPerfStats_Timer() override;

    // The outer size in twips as the layouts reckon it: the client area and the window frame measured at
    // start-up (the title bar's share left out while it is hidden).
    int32_t OuterHeight() const;
    int32_t OuterWidth() const;

    mainwindow::MainWindowContext& Context;
    mainwindow::FormSettings Settings;
    mainwindow::WindowLayout Layout;
    // The program's one common dialog object: the recorder's file dialogs and the configuration dialog.
    clsComDlg ComDlg;

    // Made by the load; absent when their step failed.
    std::unique_ptr<NerixDX8> SoundCard;
    std::unique_ptr<frmDX8Events> DX8Events;
    std::unique_ptr<recorder::clsWavFile> WavFile;
    std::unique_ptr<mainwindow::ReceivePath> Path;
    // The serial event control and the queue its watcher posts to.
    runtime::PostQueue CommEvents;
    comm::MSComm MSComm1;
    // Absent without a VFO.
    std::unique_ptr<modEncoder::Encoder> Encoder;

    // The frames and panels that sit on the form.
    ui::Frame frPower;
    ui::ControlArray<ui::OptionButton> optPwr;
    ui::Frame frDispMode;
    ui::ControlArray<ui::OptionButton> optDisplaySize;
    ui::PictureBox picElektor200705;
    ui::PictureBox picRecorder;
    ui::PictureBox picScopeContainer;
    ui::PictureBox picCalib;
    // picCalib's buttons and statistics.
    ui::CommandButton cmdConfig;
    ui::CommandButton cmdCalibrateSMeter;
    ui::CheckBox chkPerfStatsOn;
    ui::ControlArray<ui::Label> lblStats;
    ui::ControlArray<ui::Label> lblStatsVal;
    ui::Label lblCLKINFreq;
    ui::Label lblIFFreq;
    // The form's own labels, slider and focus sink.
    ui::Label lblVer;
    ui::Label lblClock;
    ui::Label Label15;
    ui::Slider sldPwm;
    ui::PictureBox Picture1;

    ui::Timer tmrTune;
    ui::Timer tmrVFOUpdate;
    ui::Timer tmrClock;
    ui::Timer tmrPerfStats;

    // The components; any may be absent.
    std::unique_ptr<mainwindow::DisplayComponent> Display;
    std::unique_ptr<mainwindow::FrontPanelComponent> FrontPanel;
    std::unique_ptr<mainwindow::RecorderComponent> Recorder;

    // Every control of the window and its components, with the kind ReColour tells apart.
    void forEachControl(const mainwindow::ControlVisitor& visit);

    // On and Off run the power sequences; Close unloads the window.
    virtual void optPwr_Click(int16_t Index);
    void cmdConfig_Click();
    void cmdCalibrateSMeter_Click();
    void frPower_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void frPower_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void frPower_MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    void tmrTune_Timer();
    void tmrVFOUpdate_Timer();
    void tmrClock_Timer();

    // The Qt-free halves of the housekeeping, the front-panel timers and the decoder's start.
    std::unique_ptr<mainwindow::Housekeeping> Housekeeping;
    std::unique_ptr<mainwindow::PanelTimers> PanelTimers;
    std::unique_ptr<mainwindow::DreamStart> Dream;
    bool WindowDragging = false;
    int32_t DragGrabX = 0, DragGrabY = 0;
    // True once Form_Unload has begun: a second unload is ignored and no handler runs any more.
    bool Unloaded() const { return unloaded_; }

protected:
    void Form_Load() override;
    void Form_Resize() override;
    // The pointer over the bare window ends every hover effect.
    void Form_MouseMove(int16_t Button, int16_t Shift, float X, float Y) override;
    void Form_Unload(int16_t& Cancel) override;
    void closeEvent(QCloseEvent* event) override;

    // Steps the load runs by name; the tests watch their order.
    virtual void RestoreSettings();
    virtual void SaveSettings();
    virtual void SetSoundFormat();
    virtual void ShowTitleBar(bool on);

private:
    class Host;
    class ConfigHolder;
    class CorePorts;
    void trace(const char* step) const;
    void loadSteps();
    void makeReceivePath();
    void connectRecorder();
    void releaseRecorder();
    mainwindow::SettingsObjects settingsObjects();
    std::string modelCaption() const;

    // LayoutWindow
    void markLayoutButton(int16_t Index) override;
    void placePanels(const mainwindow::LayoutPlan& plan) override;
    void switchOffAnalyser() override;
    void followStatisticsAndAnalyserBoxes() override;
    void setWindowHeight(int32_t twips) override;
    void setWindowWidth(int32_t twips) override;
    bool windowStateNormal() const override;

    // BlockPacer
    void RequestScopeRedraw() override;
    void ArmHousekeeping() override;

    bool formLoadBusy_ = false;
    bool closePending_ = false;
    bool focusFrameBusy_ = false;
    bool titleBarShown_ = true;
    recorder::ComDlgFileDialogs recorderDialogs_{ComDlg};
    std::unique_ptr<Host> host_;
    std::unique_ptr<mainwindow::KnobHighlight> highlight_;
    std::unique_ptr<EncoderReadout> encoderReadout_;
    std::unique_ptr<QSocketNotifier> commNotifier_;
    std::unique_ptr<ConfigHolder> config_;
    std::unique_ptr<CorePorts> ports_;
    bool unloaded_ = false;
};
