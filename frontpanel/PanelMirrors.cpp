// The widgets that show the front panel's controls.
#include "frontpanel/PanelMirrors.h"

#include <algorithm>
#include <functional>

namespace frontpanel {

namespace {

// The aspects every control shares; caption is how this kind of widget shows a caption.
void applyLook(const PanelControl& model, ui::Control& widget, Aspect aspect,
               const std::function<void(const std::string&)>& caption) {
    switch (aspect) {
    case Aspect::ForeColor:
        widget.setForeColor(model.ForeColor());
        break;
    case Aspect::Visible:
        widget.setVisible(model.Visible());
        break;
    case Aspect::Enabled:
        widget.setEnabled(model.Enabled());
        break;
    case Aspect::ToolTip:
        widget.setToolTipText(model.ToolTipText());
        break;
    case Aspect::Caption:
        if (caption) caption(model.Caption());
        break;
    case Aspect::Focus:
        // A control not on show cannot take the focus; the pointer over it is all the same.
        runtime::resumeNext([&] { widget.SetFocus(); });
        break;
    default:
        break;
    }
}

constexpr Aspect kLook[] = {Aspect::ForeColor, Aspect::Visible, Aspect::Enabled, Aspect::ToolTip,
                            Aspect::Caption};

} // namespace

Unbind mirror(PanelCheckBox& model, ui::CheckBox& widget) {
    const auto caption = [&widget](const std::string& c) { widget.setCaption(c); };
    model.Mirror = [&model, &widget, caption](Aspect a) {
        if (a == Aspect::Value)
            widget.setValue(model.Value());
        else
            applyLook(model, widget, a, caption);
    };
    for (const Aspect a : kLook)
        model.Mirror(a);
    widget.Click = [&model, &widget] { model.setValue(widget.Value()); };
    widget.setValue(model.Value());
    return [&model, &widget] {
        model.Mirror = {};
        widget.Click = {};
    };
}

Unbind mirror(PanelOptionGroup& model, ui::ControlArray<ui::OptionButton>& widgets) {
    for (int16_t i = 0; i < model.Count(); ++i) {
        PanelControl& button = model[i];
        ui::OptionButton& widget = widgets[i];
        const auto caption = [&widget](const std::string& c) { widget.setCaption(c); };
        button.Mirror = [&button, &widget, caption](Aspect a) { applyLook(button, widget, a, caption); };
        for (const Aspect a : kLook)
            button.Mirror(a);
    }
    model.MirrorSelection = [&widgets](int16_t previous, int16_t now) {
        if (now >= 0)
            widgets[now].setValue(true);
        else if (previous >= 0)
            widgets[previous].setValue(false);
    };
    widgets.Click = [&model](int16_t i) { model.setValue(i, true); };
    if (model.Selected() >= 0) widgets[model.Selected()].setValue(true);
    return [&model, &widgets] {
        for (int16_t i = 0; i < model.Count(); ++i)
            model[i].Mirror = {};
        model.MirrorSelection = {};
        widgets.Click = {};
    };
}

Unbind mirror(PanelSlider& model, ui::Slider& widget) {
    model.Mirror = [&model, &widget](Aspect a) {
        if (a == Aspect::Range) {
            // The model holds its position within the new range already; the widget's own holding
            // hands the same position back.
            widget.setMin(std::min(model.Min(), widget.Max()));
            widget.setMax(model.Max());
            widget.setMin(model.Min());
            widget.setSmallChange(model.SmallChange());
            widget.setLargeChange(model.LargeChange());
            widget.setTickFrequency(model.TickFrequency());
        } else if (a == Aspect::Value) {
            widget.setValue(model.Value());
        } else {
            applyLook(model, widget, a, {});
        }
    };
    model.Mirror(Aspect::Range);
    for (const Aspect a : kLook)
        model.Mirror(a);
    widget.Change = [&model, &widget] { model.setValue(widget.Value()); };
    widget.setValue(model.Value());
    return [&model, &widget] {
        model.Mirror = {};
        widget.Change = {};
    };
}

Unbind mirror(PanelDial& model, dial::Dial& widget) {
    model.Mirror = [&model, &widget](Aspect a) {
        if (a == Aspect::Range) {
            widget.setLowerLimit(model.LowerLimit());
            widget.setUpperLimit(model.UpperLimit());
        } else if (a == Aspect::Value) {
            widget.setValue(model.Value());
        } else {
            applyLook(model, widget, a, {});
        }
    };
    model.Mirror(Aspect::Range);
    for (const Aspect a : kLook)
        model.Mirror(a);
    widget.Changing = [&model, &widget] { model.setValue(widget.Value()); };
    widget.setValue(model.Value());
    return [&model, &widget] {
        model.Mirror = {};
        widget.Changing = {};
    };
}

Unbind mirror(PanelControl& model, ui::Label& widget) {
    const auto caption = [&widget](const std::string& c) { widget.setCaption(c); };
    model.Mirror = [&model, &widget, caption](Aspect a) { applyLook(model, widget, a, caption); };
    for (const Aspect a : kLook)
        model.Mirror(a);
    return [&model] { model.Mirror = {}; };
}

Unbind mirror(PanelList& model, ui::ListControl& widget) {
    const auto items = [&model, &widget] {
        widget.Clear();
        for (int32_t i = 0; i < model.ListCount(); ++i)
            widget.AddItem(model.List(i));
        // The widget's own Click hands the index back, where the model finds it already.
        widget.setListIndex(model.ListIndex());
    };
    model.Mirror = [&model, &widget, items](Aspect a) {
        if (a == Aspect::Items)
            items();
        else if (a == Aspect::Value)
            widget.setListIndex(model.ListIndex());
        else
            applyLook(model, widget, a, {});
    };
    items();
    for (const Aspect a : kLook)
        model.Mirror(a);
    widget.Click = [&model, &widget] { model.setListIndex(widget.ListIndex()); };
    return [&model, &widget] {
        model.Mirror = {};
        widget.Click = {};
    };
}

Unbind mirrorShown(PanelControl& model, ui::Label& widget) {
    model.Mirror = [&model, &widget](Aspect a) {
        if (a == Aspect::Visible || a == Aspect::Enabled) applyLook(model, widget, a, {});
    };
    model.Mirror(Aspect::Visible);
    model.Mirror(Aspect::Enabled);
    return [&model] { model.Mirror = {}; };
}

} // namespace frontpanel
