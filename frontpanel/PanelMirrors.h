// The widgets that show the front panel's controls: each widget follows its core control, aspect by
// aspect, and hands the user's change back to it. A change that comes back from the widget finds the
// core control at that value already, so the handler runs once. Each binding returns what undoes it,
// for a widget that goes before its control.
#pragma once

#include <functional>

#include "frontpanel/PanelControls.h"
#include "platform/dial/Dial.h"
#include "platform/ui/ControlArray.h"
#include "platform/ui/Controls.h"

namespace frontpanel {

using Unbind = std::function<void()>;

Unbind mirror(PanelCheckBox& model, ui::CheckBox& widget);
Unbind mirror(PanelOptionGroup& model, ui::ControlArray<ui::OptionButton>& widgets);
Unbind mirror(PanelSlider& model, ui::Slider& widget);
Unbind mirror(PanelDial& model, dial::Dial& widget);
// A label's look and caption.
Unbind mirror(PanelControl& model, ui::Label& widget);
// A list's entries, selection and look, on a list box or drop-down list.
Unbind mirror(PanelList& model, ui::ListControl& widget);
// Whether a knob's label is shown and enabled; its caption and colours are the knob table's.
Unbind mirrorShown(PanelControl& model, ui::Label& widget);

} // namespace frontpanel
