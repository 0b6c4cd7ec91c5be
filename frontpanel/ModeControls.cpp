// The mode buttons' handler.
#include "frontpanel/ModeControls.h"

#include <exception>
#include <type_traits>

#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

namespace frontpanel {

namespace {} // namespace

ModeControls::ModeControls(ReceiverState& state, FilterControls& filterControls, FilterSetup* setup,
                           ReceiverShell* shell, SoundCardStatus* soundCard)
    : state_(state), filterControls_(filterControls), setup_(setup), shell_(shell), soundCard_(soundCard) {
    optMode.Click = [this](int16_t i) { optMode_Click(i); };
}

ReceiverShell& ModeControls::shell() {
    if (!shell_) runtime::raise(runtime::err::kObjectNotSet, "frmMain");
    return *shell_;
}

SoundCardStatus& ModeControls::soundCard() {
    if (!soundCard_) runtime::raise(runtime::err::kObjectNotSet, "SoundCard");
    return *soundCard_;
}

template <class Step> void ModeControls::handOver(Step&& step) {
    try {
        int32_t status = 0;
        if constexpr (std::is_void_v<decltype(step())>)
            step();
        else
            status = step();
        if (status != 0 && failure_ == 0) {
            failure_ = status;
            failureText_ = runtime::standardDescription(status);
        }
    } catch (const runtime::RuntimeError& e) {
        if (failure_ == 0) {
            failure_ = e.Number();
            failureText_ = e.Description();
        }
    } catch (const std::exception& e) {
        if (failure_ == 0) {
            failure_ = runtime::err::kInvalidCall;
            failureText_ = e.what();
        }
    }
}

void ModeControls::leaveDrm() {
    bool startSound = false;
    handOver([&] { startSound = shell().PowerOn() && !soundCard().Prepared(); });
    if (startSound) handOver([&] { shell().StartSound(); });
    if (state_.DRM.DreamCloseOnModeChange) handOver([&] { shell().CloseProcessWindows(); });
    // The AF preset in force again replaces edges dragged before DRM.
    filterControls_.optFilter_Click(state_.FilterMode);
}

void ModeControls::enterDrm() {
    bool release = false;
    handOver([&] { release = soundCard().Prepared() && state_.DRM.CloseSoundcardOnDRM; });
    if (release) {
        handOver([&] { return soundCard().StopSound(); });
        handOver([&] { return soundCard().ReleaseDevices(); });
    }
    handOver([&] { shell().RunDREAM(); });
}

void ModeControls::optMode_Click(int16_t Index) {
    if (busy_) return;
    const ScopedFlag busy(busy_);
    // A click refused above while this run pumps messages has still selected its button: the button of
    // the mode in force is selected again on the way out, its click refused the same way.
    struct ShowModeInForce {
        ModeControls& c;
        ~ShowModeInForce() {
            runtime::resumeNext([&] {
                const auto mode = runtime::checkedNarrow<int16_t>(int64_t{c.state_.DemodMode});
                if (c.optMode.Selected() == mode) return;
                c.optMode.recolour(mode);
                c.optMode.setValue(mode, true);
            });
        }
    } showModeInForce{*this};
    failure_ = 0;
    failureText_.clear();
    previousMode_ = state_.DemodMode;
    try {
        optMode.recolour(Index);
        optMode.setValue(Index, true);
        runtime::DoEvents();
        if (!setup_) runtime::raise(runtime::err::kObjectNotSet, "FilterBank");
        setup_->SelectMode(Index);
        if (previousMode_ != state_.DemodMode) {
            if (previousMode_ == DemodMode::DRM) leaveDrm();
            if (state_.DemodMode == DemodMode::DRM) enterDrm();
        }
        filterControls_.optIFFilter_Click(state_.IFFilterMode);
    } catch (...) {
        // The hand-over is reported below; an error outside it is the caller's, after the report.
        if (failure_ != 0) runtime::MsgBox(report(), runtime::mb::kOkOnly, "Error");
        throw;
    }
    if (failure_ != 0) runtime::MsgBox(report(), runtime::mb::kOkOnly, "Error");
}

std::string ModeControls::report() const {
    std::string text = "frmMain:frmMain:optMode_Click:" + runtime::CStr(int64_t{failure_});
    if (!failureText_.empty()) text += " " + failureText_;
    return text;
}

} // namespace frontpanel
