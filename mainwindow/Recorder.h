// The recorder panel as a component of the main window: its widgets on picRecorder and beside the preset
// frame, and, once the load has made the recorder, the panel's core over it with the adapters to the
// power button, the recording choices and the preset frame. The core is the recorder's listener.
#pragma once

#include <memory>

#include "mainwindow/MainWindowComponents.h"

namespace recorder {
class RecorderControls;
class RecorderPanel;
class PowerButton;
class PresetFrame;
} // namespace recorder

namespace mainwindow {

class RecorderPanelComponent final : public RecorderComponent {
public:
    // The front panel, when the host has one, must outlive the component.
    explicit RecorderPanelComponent(ComponentHost& host);
    ~RecorderPanelComponent() override;
    RecorderPanelComponent(const RecorderPanelComponent&) = delete;
    RecorderPanelComponent& operator=(const RecorderPanelComponent&) = delete;

    void AttachRecorder(recorder::clsWavFile& wav) override;
    recorder::WavFileListener* listener() override;
    void ClearFileName() override;
    void LayOutPanel() override;
    void StopTimers() override;
    void ReleaseControls() override;
    void Recolour(const RecolourPass& pass) override;
    void forEachControl(const ControlVisitor& visit) override;

    // The widgets, absent once released, and the core, absent until attached.
    recorder::RecorderControls* controls() { return controls_.get(); }
    recorder::RecorderPanel* panel() { return panel_.get(); }

private:
    ComponentHost& host_;
    std::unique_ptr<recorder::PowerButton> power_;
    std::unique_ptr<recorder::PresetFrame> presets_;
    std::unique_ptr<recorder::RecorderControls> controls_;
    std::unique_ptr<recorder::RecorderPanel> panel_;
};

std::unique_ptr<RecorderComponent> makeRecorder(ComponentHost& host);

} // namespace mainwindow
