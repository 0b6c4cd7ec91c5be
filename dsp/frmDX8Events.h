// The sound engine's hidden event form: receives the device notifications and hands them, with its
// two channel arrays, to the engine.
#pragma once

#include <cstdint>
#include <vector>

#include "dsp/NerixDX8.h"
#include "platform/sound/SoundSystem.h"

class frmDX8Events final : public sound::EventSink {
public:
    static constexpr const char* kCaption = "DX8EventForm";
    // The form is never shown; this stands for its window handle at the cooperative level.
    static constexpr int32_t kWindowHandle = 1;

    explicit frmDX8Events(NerixDX8& engine) : engine_(engine) {}

    // Binds the form to the engine and sizes the channel arrays from the engine's block length.
    void Load();
    void DXCallback(int32_t eventid) override;

    std::vector<int16_t> Channel1;
    std::vector<int16_t> Channel2;

private:
    void fitArrays();
    NerixDX8& engine_;
};
