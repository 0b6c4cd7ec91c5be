// The display panel's controls as its Qt-free handlers reach them: the check boxes they read and set, the
// controls they show, hide and caption, the three sliders in their holder, and the two display pictures
// with their frequency labels. The panel's widgets implement it.
#pragma once

#include <cstdint>
#include <string>

#include "display/ScopeArithmetic.h"
#include "platform/ui/Picture.h"

namespace display {

enum class ScopeBox {
    chkScopeMode0, // "Freq"
    chkScopeMode1, // "Time"
    chkScopeMode2, // "Phase"
    chkTrigOn1,
    chkTrigOn2,
    chkChn1On,
    chkChn2On,
    chkLog,            // "Lin"
    chkSmoothSpectrum, // "Fast"
    chkScopeShowFilters,
    chkSpectrumAutoGain,
    chkSpectrumAnalyser,
    chkPerfStatsOn,
};

// The controls the handlers show, hide, enable or caption.
enum class ScopePart {
    frScopeSweep,
    frScopeYMode,
    chkTrigOn1,
    chkTrigOn2,
    chkChn1On,
    chkChn2On,
    chkScopeShowFilters,
    lblScopeCtl2,
    lblScopeCtl3,
    lblScopeCtl6,
    lblScopeCtl7,
    lblScopeXCentre,
    lblSpectrumSmooth,
};

enum class ScopeSlider { sldSpectrumGain, sldXWidth, sldXCentre };

class ScopePanelView {
public:
    virtual ~ScopePanelView() = default;

    // 0 unticked, 1 ticked. A value that differs runs the box's click handler, as a user's click does.
    virtual int16_t Value(ScopeBox box) const = 0;
    virtual void setValue(ScopeBox box, int16_t value) = 0;

    // Selects the source point's option button Index (its click handler runs when it was not selected).
    virtual void selectSource(int16_t index) = 0;

    virtual void setVisible(ScopePart part, bool on) = 0;
    virtual void setEnabled(ScopePart part, bool on) = 0;
    virtual void setCaption(ScopePart part, const std::string& caption) = 0;

    virtual int32_t Min(ScopeSlider slider) const = 0;
    virtual int32_t Max(ScopeSlider slider) const = 0;
    virtual int32_t Value(ScopeSlider slider) const = 0;
    // A range that no longer holds the value moves it to the nearer end; a value that changes runs the
    // slider's change handler.
    virtual void setMin(ScopeSlider slider, int32_t value) = 0;
    virtual void setMax(ScopeSlider slider, int32_t value) = 0;
    virtual void setValue(ScopeSlider slider, int32_t value) = 0;
    virtual void setSteps(ScopeSlider slider, const SliderSteps& steps) = 0;
    virtual void setToolTipText(ScopeSlider slider, const std::string& text) = 0;
    virtual void Refresh(ScopeSlider slider) = 0;

    // picScope(0) and picScope(1), their tags and their frequency labels lblSpectrumFreq(0) and (1),
    // placed in the pictures' user scale. A label takes the size of its caption.
    virtual ui::Picture& displayPicture(int16_t index) = 0;
    virtual std::string Tag(int16_t picture) const = 0;
    virtual void setTag(int16_t picture, const std::string& text) = 0;
    virtual void setFreqLabelCaption(int16_t index, const std::string& caption) = 0;
    virtual double FreqLabelWidth(int16_t index) const = 0;
    virtual double FreqLabelHeight(int16_t index) const = 0;
    virtual void moveFreqLabel(int16_t index, double left, double top, double width, double height) = 0;
    virtual void setFreqLabelVisible(int16_t index, bool on) = 0;
};

} // namespace display
