// The power button's sequences and the shutdown.
#include "mainwindow/PowerSequence.h"

#include "platform/process/ProcessPriority.h"
#include "platform/runtime/RuntimeError.h"

namespace mainwindow {

void powerOn(PowerPorts& p, const ReceiverState& state) {
    if (state.FormCaptionOffOnPwrOn) {
        p.setTitleBarHidden(true);
        p.ApplyLayout();
        p.ShowTitleBar(false);
    }
    const int32_t range = state.IQMode ? 2 * state.BaseIF : state.BaseIF;
    p.SetBfoRange(-range, range);
    p.SetPowerColours(kOnColourWhenOn, kOffColourWhenOn);
    p.MakeFilters();
    p.SetPriorityClass(state.RunPriority);
    p.ShowClose(false);
    p.SetFreeze(false);
    p.KillScopeTimer();
    p.StartSound();
}

void powerOff(PowerPorts& p, const ReceiverState& state) {
    p.StopSound();
    p.SetFreeze(true);
    p.SetPriorityClass(process::kIdle);
    p.StopHousekeeping();
    p.SetPowerColours(kOnColourWhenOff, kOffColourWhenOff);
    p.ShowClose(true);
    if (state.FormCaptionOffOnPwrOn) {
        p.ShowTitleBar(true);
        p.setTitleBarHidden(false);
        p.ApplyLayout();
    }
    p.SetScopeTimer(kIdleRedrawMs);
}

std::string bandSaveMessage(const std::vector<BandSaveFailure>& failures) {
    if (failures.empty()) return {};
    std::string text =
        failures.size() == 1 ? "This band plan could not be saved:" : "These band plans could not be saved:";
    for (const BandSaveFailure& f : failures)
        text += "\r\n" + f.File + " (" + f.Reason + ")";
    return text;
}

std::string shutdownSaveMessage(const std::vector<BandSaveFailure>& bands,
                                const std::optional<FileSaveFailure>& settings) {
    std::string text = bandSaveMessage(bands);
    if (settings) {
        if (!text.empty()) text += "\r\n\r\n";
        text += "The settings could not be saved:\r\n" + settings->File + " (" + settings->Reason + ")";
    }
    return text;
}

void runShutdown(ShutdownPorts& p) {
    const auto step = [](auto&& f) { runtime::resumeNext(f); };
    // 1
    step([&] { p.KillScopeTimer(); });
    step([&] { p.Pump(); });
    // 2: the display's frame may be half drawn; a display that never ends delays only so long.
    step([&] {
        for (int64_t n = 0; p.Drawing() && n <= kDisplayWaitPasses; ++n)
            p.Pump();
    });
    // 3 and 4
    step([&] { p.StopTimers(); });
    step([&] { p.StopRecorderTimers(); });
    step([&] { p.StopEncoderTimer(); });
    // 5 and 6
    step([&] { p.Hide(); });
    step([&] { p.UnhookWheel(); });
    // 7
    step([&] { p.StopSound(); });
    step([&] { p.ReleaseDevices(); });
    // 8: every band, each on its own guard; the refusals are told once the saves are done, with the
    // settings file's.
    std::vector<BandSaveFailure> failures;
    int32_t bands = 0;
    step([&] { bands = p.BandCount(); });
    for (int32_t i = 0; i < bands; ++i)
        step([&] {
            BandSaveFailure failure;
            if (!p.SaveBandPlan(i, failure)) failures.push_back(std::move(failure));
        });
    // 9 and 10
    step([&] { p.SaveSettings(); });
    step([&] { p.SaveVfoSettings(); });
    step([&] { p.SaveLineSettings(); });
    step([&] { p.SaveOscillatorSettings(); });
    std::optional<FileSaveFailure> settingsFailure;
    step([&] { settingsFailure = p.SettingsSaveFailure(); });
    step([&] {
        const std::string text = shutdownSaveMessage(failures, settingsFailure);
        if (!text.empty()) p.ShowMessage(text);
    });
    // 11 to 13
    step([&] { p.ReleaseRX(); });
    for (int32_t line = 0; line < 6; ++line)
        step([&] { p.ClosePort(line); });
    step([&] { p.ReleaseRadioObjects(); });
    step([&] { p.ReleaseSoundCard(); });
    step([&] { p.ReleaseWavFile(); });
}

} // namespace mainwindow
