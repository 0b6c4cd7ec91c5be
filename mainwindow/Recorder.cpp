// The recorder panel component: its adapters to the window, the widgets and the core, and its start-up
// and shutdown steps.
#include "mainwindow/Recorder.h"

#include "frontpanel/BandPlanControls.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/PictureBox.h"
#include "recorder/RecorderControls.h"
#include "recorder/RecorderPanel.h"

namespace mainwindow {

namespace {

class PowerChoice final : public recorder::PowerButton {
public:
    explicit PowerChoice(ComponentHost& host) : host_(host) {}
    void setPowerChoice(int16_t Index, bool selected) override {
        if (host_.SetPowerChoice) host_.SetPowerChoice(Index, selected);
    }

private:
    ComponentHost& host_;
};

// The preset frame's place in its container, read at each Load.
class PresetPlace final : public recorder::PresetFrame {
public:
    explicit PresetPlace(const frontpanel::PresetFrame& frame) : frame_(frame) {}
    int32_t BackColor() const override { return frame_.FrameBackColor(); }
    double Left() const override { return frame_.FrameLeft(); }
    double Top() const override { return frame_.FrameTop(); }
    double Width() const override { return frame_.FrameWidth(); }
    double Height() const override { return frame_.FrameHeight(); }

private:
    const frontpanel::PresetFrame& frame_;
};

const frontpanel::PresetFrame* presetFrameOf(ComponentHost& host) {
    return host.FrontPanel ? host.FrontPanel->presetFrame() : nullptr;
}

} // namespace

RecorderPanelComponent::RecorderPanelComponent(ComponentHost& host)
    : host_(host), power_(std::make_unique<PowerChoice>(host)) {
    const frontpanel::PresetFrame* frame = presetFrameOf(host);
    if (frame) presets_ = std::make_unique<PresetPlace>(*frame);
    // Without a preset frame the track list waits, hidden, on the form.
    controls_ = std::make_unique<recorder::RecorderControls>(recorder::RecorderControls::Hosts{
        host.picRecorder, frame ? frame->Container() : host.Form, host.Form});
}

RecorderPanelComponent::~RecorderPanelComponent() {
    // The widgets hold the core's handlers: they go first.
    controls_.reset();
    panel_.reset();
}

void RecorderPanelComponent::AttachRecorder(recorder::clsWavFile& wav) {
    if (!controls_) return;
    recorder::RecorderPanel::Ports ports;
    ports.power = power_.get();
    ports.choices = host_.FrontPanel ? host_.FrontPanel->recordingChoices() : nullptr;
    ports.presets = presets_.get();
    ReceiverState& state = host_.Context.State;
    ports.recordingsFolder = [&state] { return state.SaveRecordingsPath; };
    auto panel = std::make_unique<recorder::RecorderPanel>(wav, *controls_, std::move(ports));
    controls_->connect(*panel);
    panel_ = std::move(panel);
}

recorder::WavFileListener* RecorderPanelComponent::listener() {
    return panel_.get();
}

void RecorderPanelComponent::ClearFileName() {
    if (controls_) controls_->txtRecordFileName.setText("");
}

void RecorderPanelComponent::LayOutPanel() {
    if (!controls_) return;
    const ui::PictureSurface* surface = ui::pictureSurfaceOf(host_.picRecorder);
    if (!surface) runtime::raise(runtime::err::kObjectNotSet, "picRecorder");
    const double height = surface->ScaleHeight();
    ui::TextBox& name = controls_->txtRecordFileName;
    runtime::resumeNext([&] { controls_->centreButtons(height); });
    runtime::resumeNext([&] { name.setTop((height - name.Height()) / 2); });
    runtime::resumeNext([&] { name.setLocked(true); });
    if (panel_) panel_->startUp();
}

// The core drives the widgets, so once they are released it has nothing left to stop.
void RecorderPanelComponent::StopTimers() {
    if (!controls_) return;
    if (panel_)
        panel_->stopTimers();
    else
        for (ui::Timer* t : {&controls_->tmrRecorderWrite, &controls_->tmrPlaybackRead})
            t->setEnabled(false);
}

void RecorderPanelComponent::ReleaseControls() {
    controls_.reset();
}

// The time and size labels in the knobs' focus colour; the file name box with them, as a text box keeps
// the window's background and its own dark text would not read on a dark scheme.
void RecorderPanelComponent::Recolour(const RecolourPass& pass) {
    if (!controls_) return;
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             &controls_->lblRecordTime, &controls_->lblRecordSize, &controls_->txtRecordFileName})
        runtime::resumeNext([&] { c->setForeColor(pass.Derived.RecorderLabels); });
}

void RecorderPanelComponent::forEachControl(const ControlVisitor& visit) {
    if (controls_) controls_->forEachControl(visit);
}

std::unique_ptr<RecorderComponent> makeRecorder(ComponentHost& host) {
    return std::make_unique<RecorderPanelComponent>(host);
}

} // namespace mainwindow
