// The front panel's Qt-free core as one object: the knob table, the tuning dial's handler, the knob apply
// routines, the knob labels' handlers, the readout with its steps, the wheel hook, and the receiver's
// controls (filters, mode, AGC, noise reduction, notch, volume, switches). The main window composes one
// and its widgets forward their events to it.
#pragma once

#include <memory>
#include <vector>

#include "dsp/FilterBank.h"
#include "dsp/Nerix.h"
#include "frame/ReceiverState.h"
#include "frontpanel/FilterControls.h"
#include "frontpanel/FilterSetup.h"
#include "frontpanel/KnobPanel.h"
#include "frontpanel/KnobRoutines.h"
#include "frontpanel/LevelControls.h"
#include "frontpanel/ModeControls.h"
#include "frontpanel/PanelPorts.h"
#include "frontpanel/ReceiverSwitches.h"
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
    // Stand-ins for the noise-reduction and volume knobs' twins; an empty one is the core's own control.
    KnobTwins twins{};
    ReceiverShell* receiverShell = nullptr;
    SoundCardStatus* soundCard = nullptr;
    NotchOverlay* notchDisplay = nullptr;
    FilterCurveSink* filterCurve = nullptr;
    ReceiverSwitches::Ports switches{};
};

class FrontPanelCore {
public:
    explicit FrontPanelCore(const FrontPanelContext& c)
        : state(c.state), tables(c.tables), vfo(c.vfo), view(c.view), shell(c.shell),
          dial(c.state, c.vfo, c.dialtuner), routines({c.state, ctlArray, c.nerix, c.tables, c.vfo, dial,
                                                       c.analyser, c.filters, c.encoder, twinsOf(c.twins)}),
          knobs(c.state, ctlArray, routines, c.shell, c.tables, c.analyser),
          tuning({c.state, ctlArray, c.vfo, c.view, c.shell, c.dialogs, c.steps, c.mainBands}),
          wheel(ctlArray, c.state),
          setup(c.filters ? std::make_unique<FilterSetup>(c.state, *c.filters, c.tables, c.filterCurve)
                          : nullptr),
          filterControls(c.state, ctlArray, c.tables, routines, c.filters),
          modes(c.state, filterControls, setup.get(), c.receiverShell, c.soundCard),
          levels(c.state, c.nerix, ctlArray, c.tables, routines, c.filters, c.notchDisplay),
          switches(c.state, c.vfo, routines, tuning, c.switches) {}
    FrontPanelCore(const FrontPanelCore&) = delete;
    FrontPanelCore& operator=(const FrontPanelCore&) = delete;

    ReceiverState& state;
    FilterTables& tables;
    TuningVfo& vfo;
    ReadoutView& view;
    ShellHighlight& shell;
    CtlArray ctlArray{};
    TuningDial dial;
    MouseOverS::KnobRoutines routines;
    KnobPanel knobs;
    TuningPanel tuning;
    modWheelMouse::WheelHook wheel;
    // The rebuild of the filter bank, when there is one; the housekeeping timer runs it.
    std::unique_ptr<FilterSetup> setup;
    FilterControls filterControls;
    ModeControls modes;
    LevelControls levels;
    ReceiverSwitches switches;

private:
    // The knob routines move these twins: the context's stand-in where it gives one, else the control.
    KnobTwins twinsOf(const KnobTwins& given) {
        KnobTwins t;
        t.sldNB = given.sldNB ? given.sldNB : [this](int32_t v) { levels.sldNB.setValue(v); };
        t.dialNB = given.dialNB ? given.dialNB : [this](int32_t v) { levels.dialNB.setValue(v); };
        t.dialOutVol =
            given.dialOutVol ? given.dialOutVol : [this](int32_t v) { levels.dialOutVol.setValue(v); };
        t.sldOutVolume =
            given.sldOutVolume ? given.sldOutVolume : [this](int32_t v) { levels.sldOutVolume.setValue(v); };
        return t;
    }
};

} // namespace frontpanel
