// The main window: it builds the widgets (its own power and layout buttons, statistics and labels, and the
// panels' widgets: the readout, the receiver's controls, the band plan, the display panel, the S-meter and
// the recorder's transport), makes the Qt-free receiver over their views, and binds each widget to its
// core. It is the receiver's WindowView and carries out what only moves widgets.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "display/SMeterControls.h"
#include "display/ScopePanel.h"
#include "frame/clsComDlg.h"
#include "frontpanel/BandPlanControls.h"
#include "frontpanel/ReceiverControls.h"
#include "frontpanel/TuningControls.h"
#include "frontpanel/frmEditUserPreset.h"
#include "frontpanel/frmPresetDesc.h"
#include "mainwindow/MainWindowContext.h"
#include "mainwindow/Receiver.h"
#include "mainwindow/WindowLayout.h"
#include "mainwindow/WindowView.h"
#include "platform/ui/ControlArray.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Timer.h"
#include "platform/ui/WheelFilter.h"
#include "recorder/RecorderControls.h"
#include "recorder/RecorderFileDialogs.h"

class QSocketNotifier;
class QTimer;

class frmMain : public ui::Form, private mainwindow::WindowView, private mainwindow::LayoutWindow {
public:
    // How the window makes its receiver over the views it built; tests watch a receiver of their own.
    using ReceiverFactory = std::function<std::unique_ptr<mainwindow::Receiver>(
        mainwindow::MainWindowContext&, const mainwindow::ReceiverViews&)>;
    explicit frmMain(mainwindow::MainWindowContext& context, const ReceiverFactory& makeReceiver = {});
    ~frmMain() override;
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    mainwindow::MainWindowContext& Context;
    mainwindow::WindowLayout Layout;
    // The program's one common dialog object: the recorder's file dialogs and the configuration dialog.
    clsComDlg ComDlg;

private:
    // Declared first, so it goes last: the widgets let go of its cores before it is released.
    std::unique_ptr<mainwindow::Receiver> receiver_;

public:
    mainwindow::Receiver& receiver() { return *receiver_; }

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

    // The panels' widgets.
    frontpanel::TuningControls Tuning;
    frontpanel::ReceiverControls Controls;
    display::ScopePanel ScopePanel;
    display::SMeterControls Meter;
    frontpanel::BandPlanControls BandControls;
    std::unique_ptr<recorder::RecorderControls> RecorderControls;

    // Every control of the window and its panels.
    void forEachControl(const std::function<void(ui::Control&)>& visit);

    // On and Off run the power sequences; Close unloads the window.
    virtual void optPwr_Click(int16_t Index);
    void cmdConfig_Click();
    void frPower_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void frPower_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void frPower_MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    bool WindowDragging = false;
    int32_t DragGrabX = 0, DragGrabY = 0;

    // The outer size in twips as the layouts reckon it: the client area and the window frame measured at
    // start-up (the title bar's share left out while it is hidden).
    int32_t OuterHeight() const;
    int32_t OuterWidth() const;

    // WindowView, as the layouts, the configuration dialog and the window's users also use it.
    void optDisplaySize_Click(int16_t Index) override;
    void ShowTitleBar(bool on) override;
    int32_t BackColor() const override { return ui::Form::BackColor(); }
    void setBackColor(int32_t colour) override { ui::Form::setBackColor(colour); }
    std::string Caption() const override { return ui::Form::Caption(); }
    void setCaption(const std::string& caption) override { ui::Form::setCaption(caption); }

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_MouseMove(int16_t Button, int16_t Shift, float X, float Y) override;
    void Form_Unload(int16_t& Cancel) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class BandShell;
    class ConfigHolder;
    class PresetPlace;

    void buildPowerAndLayoutButtons();
    void buildCalibrationPanel();
    void bindReceiver();
    void focusFrame(ui::Frame& frame);
    // A close must wait while the load runs or a handler pumps the message loop beneath it: the shutdown
    // would release what that handler still uses.
    bool closeMustWait() const;
    // Keeps the close and tries it again shortly, until the outermost handler has returned.
    void deferClose();
    ui::Frame* frameOf(frontpanel::KnobFrame frame);

    // WindowView
    void showWindow() override { ui::Form::show(); }
    void resizeToDesignHeight() override;
    void setTitleBarHidden(bool hidden) override { Layout.TitleBarHidden = hidden; }
    void measureChrome() override;
    bool Minimised() const override { return isMinimized(); }
    void hideWindow() override { ui::Form::hide(); }
    void requestClose() override;
    void focusSink() override;
    bool PowerOn() const override;
    void setPowerChoice(int16_t Index, bool selected) override { optPwr[Index].setValue(selected); }
    void enablePowerButtons() override;
    void showClose(bool visible) override { optPwr[2].setVisible(visible); }
    void setPowerColours(int32_t onColour, int32_t offColour) override;
    void setStat(int16_t index, const std::string& caption) override {
        lblStatsVal[index].setCaption(caption);
    }
    void setStatColour(int16_t index, int32_t colour) override { lblStatsVal[index].setForeColor(colour); }
    void setStatVisible(int16_t index, bool visible) override { lblStatsVal[index].setVisible(visible); }
    void setStatCaptionVisible(int16_t index, bool visible) override { lblStats[index].setVisible(visible); }
    bool PerfStatsBox() const override { return chkPerfStatsOn.Value() == 1; }
    void setPerfStatsBox(bool on) override { chkPerfStatsOn.setValue(on ? 1 : 0); }
    void setLabel(mainwindow::WindowLabel label, const std::string& caption) override;
    void startTimer(mainwindow::WindowTimer timer, int32_t ms) override;
    void setTimerInterval(mainwindow::WindowTimer timer, int32_t ms) override {
        timerOf(timer).setInterval(ms);
    }
    void stopTimer(mainwindow::WindowTimer timer) override { timerOf(timer).setEnabled(false); }
    void layOutBandSelectors() override { BandControls.LayOutSelectors(receiver_->Bands); }
    void layOutSubBandButtons() override;
    void layOutPresetButtons() override;
    void startSubBandTracking() override { BandControls.StartTracking(); }
    void stopSubBandTracking() override { BandControls.tmrSubBands.setEnabled(false); }
    void fillStepSelector(int32_t backColour, int32_t foreColour, double tuneStep) override;
    void copyTuningRate() override { Tuning.lblTuneDialRate.setCaption(Tuning.lblTuningRate.Caption()); }
    void hookWheel(std::function<bool(const ui::HookMessage&)> hook) override {
        wheelFilter_.Hook(std::move(hook));
    }
    void unhookWheel() override;
    void blackenDisplayPictures() override;
    void overlayFrequencyLabels() override;
    void layOutRecorderPanel() override;
    void releaseRecorderWidgets() override { RecorderControls.reset(); }
    void setRecordingFramesColour(int32_t colour) override;
    void recolourWidgets(const mainwindow::RecolourPass& pass) override;
    void unfocusFrames(int32_t frameNormal) override;
    void focusFrame(frontpanel::KnobFrame frame) override;
    void bindDisplay(display::ScopePanelCore& panel) override;
    void bindRecorder(recorder::RecorderPanel& panel) override;
    ui::Timer& timerOf(mainwindow::WindowTimer timer);

    // LayoutWindow
    void markLayoutButton(int16_t Index) override;
    int16_t selectedLayoutButton() const override;
    void placePanels(const mainwindow::LayoutPlan& plan) override;
    void switchOffAnalyser() override { receiver_->switchOffAnalyser(); }
    void followStatisticsAndAnalyserBoxes() override { receiver_->followStatisticsAndAnalyserBoxes(); }
    void setWindowHeight(int32_t twips) override;
    void setWindowWidth(int32_t twips) override;
    bool windowStateNormal() const override;

    bool closePending_ = false;
    std::unique_ptr<QTimer> closeRetry_;
    bool focusFrameBusy_ = false;
    frmPresetDesc presetDesc_;
    frontpanel::ModalPresetDialog presetDialog_;
    std::unique_ptr<BandShell> bandShell_;
    std::unique_ptr<PresetPlace> presetPlace_;
    recorder::ComDlgFileDialogs recorderDialogs_{ComDlg};
    ui::WheelFilter wheelFilter_;
    std::unique_ptr<QSocketNotifier> commNotifier_;
    std::unique_ptr<ConfigHolder> config_;
};
