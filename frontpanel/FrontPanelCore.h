// The front panel's Qt-free core as one object: the knob table, the tuning dial's handler, the knob apply
// routines, the knob labels' handlers, the readout with its steps, and the wheel hook. The main window
// composes one and its widgets forward their events to it.
#pragma once

#include <vector>

#include "dsp/FilterBank.h"
#include "dsp/Nerix.h"
#include "frame/ReceiverState.h"
#include "frontpanel/FilterSetup.h"
#include "frontpanel/KnobPanel.h"
#include "frontpanel/KnobRoutines.h"
#include "frontpanel/PanelPorts.h"
#include "frontpanel/ScrollLabel.h"
#include "frontpanel/TuningDial.h"
#include "frontpanel/TuningPanel.h"
#include "frontpanel/modBandPlan.h"
#include "frontpanel/modWheelMouse.h"
#include "platform/ui/DialogService.h"

namespace frontpanel {

// What the core reaches; none of it is owned. The pointers may be absent until their owner is composed.
struct FrontPanelContext {
    ReceiverState& state;
    Nerix::Wrappers& nerix;
    FilterTables& tables;
    TuningVfo& vfo;
    DialPosition& dialtuner;
    ShellHighlight& shell;
    ReadoutView& view;
    ui::DialogService& dialogs;
    const TuningStepTable& steps;
    std::vector<MainBandRec>* mainBands = nullptr;
    AnalyserKnobs* analyser = nullptr;
    Nerix::FilterBank* filters = nullptr;
    modEncoder::Encoder* encoder = nullptr;
    KnobTwins twins{};
};

class FrontPanelCore {
public:
    explicit FrontPanelCore(const FrontPanelContext& c)
        : dial(c.state, c.vfo, c.dialtuner), routines({c.state, ctlArray, c.nerix, c.tables, c.vfo, dial,
                                                       c.analyser, c.filters, c.encoder, c.twins}),
          knobs(c.state, ctlArray, routines, c.shell, c.tables, c.analyser),
          tuning({c.state, ctlArray, c.vfo, c.view, c.shell, c.dialogs, c.steps, c.mainBands}),
          wheel(ctlArray, c.state) {}
    FrontPanelCore(const FrontPanelCore&) = delete;
    FrontPanelCore& operator=(const FrontPanelCore&) = delete;

    CtlArray ctlArray{};
    TuningDial dial;
    MouseOverS::KnobRoutines routines;
    KnobPanel knobs;
    TuningPanel tuning;
    modWheelMouse::WheelHook wheel;
};

} // namespace frontpanel
