// The layout arithmetic and the two routines that apply and hold it.
#include "mainwindow/WindowLayout.h"

#include "frame/ScopedFlag.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"

namespace mainwindow {

ChromeMetrics measureChrome(double outerWidth, double outerHeight, double clientWidth, double clientHeight) {
    return {runtime::CLng((outerWidth - clientWidth) / 2), runtime::CLng(outerHeight - clientHeight)};
}

WindowLayout::WindowLayout(ReceiverState& state) : state_(state) {}

LayoutPlan WindowLayout::plan(int16_t Index, std::string_view CurrentModelSection) const {
    if (Index < layout::kCompact || Index > layout::kFull)
        runtime::raise(runtime::err::kInvalidPropertyArrayIndex, "frmMain.optDisplaySize_Click");
    LayoutPlan p;
    p.Index = Index;
    p.ElektorPanel = CurrentModelSection == kElektorSection;
    p.picElektor200705 = design::picElektor200705;
    const design::StackedPanels stacked = design::stackedPanels(p.ElektorPanel);
    p.picRecorder = stacked.picRecorder;
    p.picScopeContainer = stacked.picScopeContainer;
    p.picCalib = stacked.picCalib;

    const int32_t B = Chrome.FormBorderWidth;
    const int32_t C = Chrome.FormChromeHeight;
    p.LayoutWidth = static_cast<float>(p.picCalib.Width + 2 * p.picCalib.Left + 2 * B);
    p.LayoutHeight = static_cast<float>(design::clientHeight(Index, p.ElektorPanel) + B + C);
    p.SwitchesFollowBoxes = Index >= layout::kExtended;
    if (TitleBarHidden) p.LayoutHeight = p.LayoutHeight - static_cast<float>(C) + static_cast<float>(B);
    return p;
}

void WindowLayout::optDisplaySize_Click(int16_t Index, std::string_view CurrentModelSection,
                                        LayoutWindow& window) {
    if (layoutBusy_) return;
    const ScopedFlag busy(layoutBusy_);
    // A click refused above while this run goes on has still selected its button: the layout in force
    // is selected again on the way out, its click refused the same way.
    struct ShowLayoutInForce {
        const ReceiverState& state;
        LayoutWindow& window;
        ~ShowLayoutInForce() {
            runtime::resumeNext([&] {
                const auto shown = runtime::checkedNarrow<int16_t>(int64_t{state.DisplayMode});
                if (window.selectedLayoutButton() != shown) window.markLayoutButton(shown);
            });
        }
    } showLayoutInForce{state_, window};
    const LayoutPlan p = plan(Index, CurrentModelSection);
    window.markLayoutButton(Index);
    state_.DisplayMode = Index;
    window.placePanels(p);
    LayoutWidth = p.LayoutWidth;
    LayoutHeight = p.LayoutHeight;
    if (p.SwitchesFollowBoxes)
        window.followStatisticsAndAnalyserBoxes();
    else {
        state_.PerfStatsOn = false;
        window.switchOffAnalyser();
    }
    window.setWindowHeight(runtime::CLng(LayoutHeight));
    window.setWindowWidth(runtime::CLng(LayoutWidth));
}

void WindowLayout::Form_Resize(LayoutWindow& window) {
    if (resizeBusy_) return;
    const ScopedFlag busy(resizeBusy_);
    if (!window.windowStateNormal()) return;
    if (LayoutHeight > 0) window.setWindowHeight(runtime::CLng(LayoutHeight));
    if (LayoutWidth > 0) window.setWindowWidth(runtime::CLng(LayoutWidth));
}

} // namespace mainwindow
