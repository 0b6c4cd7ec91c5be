// Every control, for windows that use several: each has its own header, named after its class.
// Handlers run when a value really changes, whether the user or code changed it (and never otherwise).
#pragma once

#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/CommandButton.h"
#include "platform/ui/Control.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Label.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ListControl.h"
#include "platform/ui/OptionButton.h"
#include "platform/ui/Shape.h"
#include "platform/ui/Slider.h"
#include "platform/ui/TabStrip.h"
#include "platform/ui/TextBox.h"
