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

using Caption = std::function<void(const std::string&)>;

// A control that shows its look alone.
void bindLook(PanelControl& model, ui::Control& widget, const Caption& caption) {
    model.Mirror = [&model, &widget, caption](Aspect a) { applyLook(model, widget, a, caption); };
    for (const Aspect a : kLook)
        model.Mirror(a);
}

// A control with a value. `own` shows the value and the aspects of its kind (the first of them before the
// look) and says whether it took the aspect; the rest is the look. The widget's event hands the user's value
// back; then the widget shows the model's value.
template <class Model, class Widget, class Own>
Unbind bindValued(Model& model, Widget& widget, ui::Handler Widget::*event,
                  std::initializer_list<Aspect> first, Own own, const Caption& caption,
                  ui::Handler handBack) {
    model.Mirror = [&model, &widget, own, caption](Aspect a) {
        if (!own(a)) applyLook(model, widget, a, caption);
    };
    for (const Aspect a : first)
        model.Mirror(a);
    for (const Aspect a : kLook)
        model.Mirror(a);
    widget.*event = std::move(handBack);
    model.Mirror(Aspect::Value);
    return [&model, &widget, event] {
        model.Mirror = {};
        widget.*event = {};
    };
}

} // namespace

Unbind mirror(PanelCheckBox& model, ui::CheckBox& widget) {
    const auto own = [&model, &widget](Aspect a) {
        if (a != Aspect::Value) return false;
        widget.setValue(model.Value());
        return true;
    };
    return bindValued(
        model, widget, &ui::CheckBox::Click, {}, own,
        [&widget](const std::string& c) { widget.setCaption(c); },
        [&model, &widget] { model.setValue(widget.Value()); });
}

Unbind mirror(PanelOptionGroup& model, ui::ControlArray<ui::OptionButton>& widgets) {
    for (int16_t i = 0; i < model.Count(); ++i) {
        ui::OptionButton& widget = widgets[i];
        bindLook(model[i], widget, [&widget](const std::string& c) { widget.setCaption(c); });
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
    const auto own = [&model, &widget](Aspect a) {
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
            return false;
        }
        return true;
    };
    return bindValued(model, widget, &ui::Slider::Change, {Aspect::Range}, own, {},
                      [&model, &widget] { model.setValue(widget.Value()); });
}

Unbind mirror(PanelDial& model, dial::Dial& widget) {
    const auto own = [&model, &widget](Aspect a) {
        if (a == Aspect::Range) {
            widget.setLowerLimit(model.LowerLimit());
            widget.setUpperLimit(model.UpperLimit());
        } else if (a == Aspect::Value) {
            widget.setValue(model.Value());
        } else {
            return false;
        }
        return true;
    };
    return bindValued(model, widget, &dial::Dial::Changing, {Aspect::Range}, own, {},
                      [&model, &widget] { model.setValue(widget.Value()); });
}

Unbind mirror(PanelControl& model, ui::Label& widget) {
    bindLook(model, widget, [&widget](const std::string& c) { widget.setCaption(c); });
    return [&model] { model.Mirror = {}; };
}

Unbind mirror(PanelList& model, ui::ListControl& widget) {
    const auto own = [&model, &widget](Aspect a) {
        if (a == Aspect::Items) {
            widget.Clear();
            for (int32_t i = 0; i < model.ListCount(); ++i)
                widget.AddItem(model.List(i));
            // The widget's own Click hands the index back, where the model finds it already.
            widget.setListIndex(model.ListIndex());
        } else if (a == Aspect::Value) {
            widget.setListIndex(model.ListIndex());
        } else {
            return false;
        }
        return true;
    };
    return bindValued(model, widget, &ui::ListControl::Click, {Aspect::Items}, own, {},
                      [&model, &widget] { model.setListIndex(widget.ListIndex()); });
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
