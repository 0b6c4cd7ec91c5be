// The start-up's long-lived objects and tables: the fourteen oscillator and line objects in their fixed
// order, the filter bank, the model table and rig list, and the receiver set-up of the saved model.
#pragma once

#include <memory>

#include "startup/Application.h"

namespace startup {

// Makes each of the fourteen objects over the application's store, timing and devices. Tests put their
// own in its place to watch the order or make a step fail.
class ObjectFactory {
public:
    virtual ~ObjectFactory() = default;
    virtual std::unique_ptr<clsVFO> makeVfo(Application& app);
    virtual std::unique_ptr<clsDDSSerialIF> makeSerialLine(Application& app);
    virtual std::unique_ptr<clsDDSParallelIF> makeParallelLine(Application& app);
    virtual std::unique_ptr<clsDDSNullIF> makeNullLine(Application& app);
    virtual std::unique_ptr<clsFTDIDRB30> makeDrb30Line(Application& app);
    virtual std::unique_ptr<clsFTDIUS232C> makeUs232cLine(Application& app);
    virtual std::unique_ptr<clsFT232IF> makeFt232Line(Application& app);
    virtual std::unique_ptr<clsAD9835> makeAd9835Osc(Application& app);
    virtual std::unique_ptr<clsAD9850> makeAd9850Osc(Application& app);
    virtual std::unique_ptr<clsAD9851> makeAd9851Osc(Application& app);
    virtual std::unique_ptr<clsAD9951> makeAd9951Osc(Application& app);
    virtual std::unique_ptr<clsCY27EE16> makeCy27ee16Osc(Application& app);
    virtual std::unique_ptr<clsSoftDDS> makeSoftDdsOsc(Application& app);
    virtual std::unique_ptr<clsHamlib> makeHamlibOsc(Application& app);
};

// Makes the fourteen objects in their order; one that cannot be made is skipped and stays absent.
void CreateGlobalObjects(Application& app, ObjectFactory& factory);
// The filter bank around the base IF; stays absent when a design fails.
void CreateFilterBank(Application& app);
// The receiver model table, then the Hamlib rig list; a failing one is skipped.
void BuildTables(Application& app);

// The main window's receiver set-up at its load: the saved model ("SDRModelNo") and shaft encoder
// switch ("EnableShaftEncoder") of section "frmMain", then the radio of that model. Errors reach the
// caller.
void InitialiseRX(Application& app, comm::MSComm* msComm1 = nullptr);

} // namespace startup
