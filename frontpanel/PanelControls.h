// The front panel's controls as its handlers see them, without Qt: a check box's value, the selected
// button of an option group, a slider's position in its range, a dial's value, and each control's look.
// Setting a value from code runs the control's handler when the value really changes, as a user's click
// does, so the handlers' chains run in tests without widgets. The widgets mirror these and forward the
// user's changes to them.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace frontpanel {

// Caption colours of the option buttons and check boxes: the chosen one and the others.
inline constexpr int32_t kChosenColour = 0xFFFF00;
inline constexpr int32_t kOtherColour = 0xC0C000;

// What changed on a control, for the widget that shows it.
enum class Aspect { Value, ForeColor, Visible, Enabled, Caption, ToolTip, Range, Focus, Items };

class PanelControl {
public:
    PanelControl() = default;
    explicit PanelControl(std::string caption, std::string toolTip = {})
        : caption_(std::move(caption)), toolTip_(std::move(toolTip)) {}
    virtual ~PanelControl() = default;
    PanelControl(const PanelControl&) = delete;
    PanelControl& operator=(const PanelControl&) = delete;

    int32_t ForeColor() const noexcept { return foreColor_; }
    void setForeColor(int32_t bgr);
    bool Visible() const noexcept { return visible_; }
    void setVisible(bool on);
    bool Enabled() const noexcept { return enabled_; }
    void setEnabled(bool on);
    const std::string& Caption() const noexcept { return caption_; }
    void setCaption(const std::string& text);
    const std::string& ToolTipText() const noexcept { return toolTip_; }
    void setToolTipText(const std::string& text);
    // Asks the widget for the keyboard focus.
    void SetFocus() { show(Aspect::Focus); }

    // Text the handlers keep with the control.
    std::string Tag;

    // The widget that shows the control; it reads the aspect back from here.
    std::function<void(Aspect)> Mirror;

protected:
    void show(Aspect aspect) const {
        if (Mirror) Mirror(aspect);
    }

private:
    int32_t foreColor_ = kOtherColour;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    std::string toolTip_;
};

class PanelCheckBox final : public PanelControl {
public:
    using PanelControl::PanelControl;
    // 0 unticked, 1 ticked, 2 greyed.
    int16_t Value() const noexcept { return value_; }
    // Runs Click when the value changes; a value outside 0 to 2 raises Invalid property value (380).
    void setValue(int16_t value);
    std::function<void()> Click;

private:
    int16_t value_ = 0;
};

// Option buttons of one container: at most one selected. Selecting one that was not selected clears the
// other and runs Click with its index; the cleared one runs nothing.
class PanelOptionGroup {
public:
    struct Button {
        const char* caption;
        const char* toolTip;
    };
    explicit PanelOptionGroup(std::initializer_list<Button> buttons);
    PanelOptionGroup(const PanelOptionGroup&) = delete;
    PanelOptionGroup& operator=(const PanelOptionGroup&) = delete;

    int16_t Count() const noexcept { return static_cast<int16_t>(buttons_.size()); }
    // An index no button answers to raises Invalid property array index (381).
    PanelControl& operator[](int16_t index);
    const PanelControl& operator[](int16_t index) const;

    // The selected button's index, -1 for none.
    int16_t Selected() const noexcept { return selected_; }
    bool Value(int16_t index) const;
    void setValue(int16_t index, bool selected);
    // Every button's caption in the other colour, then the chosen one's in the chosen colour.
    void recolour(int16_t chosen);

    std::function<void(int16_t Index)> Click;
    // The widgets follow the selection: the old index and the new one (-1 for none).
    std::function<void(int16_t previous, int16_t now)> MirrorSelection;

private:
    void check(int16_t index) const;
    std::vector<std::unique_ptr<PanelControl>> buttons_;
    int16_t selected_ = -1;
};

class PanelSlider final : public PanelControl {
public:
    // The position starts within the range: at value, or the end nearer to it.
    PanelSlider(int32_t min, int32_t max, int32_t value = 0)
        : min_(min), max_(max), value_(std::clamp(value, std::min(min, max), std::max(min, max))) {}
    int32_t Min() const noexcept { return min_; }
    int32_t Max() const noexcept { return max_; }
    // A range that no longer holds the position moves it to the nearer end, and Change runs.
    void setMin(int32_t value);
    void setMax(int32_t value);
    int32_t Value() const noexcept { return value_; }
    // A position in the range runs Change when it differs. One beyond the range shows the nearer end
    // without running Change: the value that was set stays with whoever set it, and no handler stops
    // half-way on a value the slider cannot show.
    void setValue(int64_t position);
    // Max + Min - position: the edge an inverted slider shows.
    int32_t inverted(int64_t position) const;
    // The arrow keys' and the page's steps, and the positions between ticks.
    int32_t SmallChange() const noexcept { return smallChange_; }
    void setSmallChange(int32_t step);
    int32_t LargeChange() const noexcept { return largeChange_; }
    void setLargeChange(int32_t step);
    int32_t TickFrequency() const noexcept { return tickFrequency_; }
    void setTickFrequency(int32_t positions);
    std::function<void()> Change;

private:
    void holdInRange();
    int32_t min_;
    int32_t max_;
    int32_t value_;
    int32_t smallChange_ = 1;
    int32_t largeChange_ = 5;
    int32_t tickFrequency_ = 1;
};

// A dial: an integer value within two limits. A value set from code runs Change when it changes, as the
// user's turn does; one beyond the limits shows the nearer limit without running Change.
class PanelDial final : public PanelControl {
public:
    PanelDial() = default;
    int32_t LowerLimit() const noexcept { return lower_; }
    int32_t UpperLimit() const noexcept { return upper_; }
    // Taken in either order; a value outside them moves to the nearer one without Change.
    void setLimits(int32_t lower, int32_t upper);
    int32_t Value() const noexcept { return value_; }
    void setValue(int64_t value);
    std::function<void()> Change;

private:
    int32_t lower_ = INT32_MIN;
    int32_t upper_ = INT32_MAX;
    int32_t value_ = 0;
};

// A list or drop-down list: its entries and the selected index (-1 for none). Setting the index from code
// runs Click when it changes, as the user's choice does; adding, removing and clearing run nothing.
class PanelList final : public PanelControl {
public:
    using PanelControl::PanelControl;
    // Without an index the entry goes to the end; an index past the end raises Invalid argument (5).
    void AddItem(const std::string& text, int32_t index = -1);
    // The selected entry removed leaves none selected; one before it moves the selection up with it.
    void RemoveItem(int32_t index);
    void Clear();
    int32_t ListCount() const noexcept { return static_cast<int32_t>(items_.size()); }
    // An index no entry answers to raises Invalid argument (5).
    const std::string& List(int32_t index) const;
    int32_t ListIndex() const noexcept { return listIndex_; }
    // -1 to ListCount - 1; others raise Invalid property value (380).
    void setListIndex(int32_t index);
    std::function<void()> Click;

private:
    std::vector<std::string> items_;
    int32_t listIndex_ = -1;
};

} // namespace frontpanel
