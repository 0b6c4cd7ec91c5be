// The live objects behind the dialog's ports.
#include "config/LiveObjects.h"

#include <utility>

#include "platform/runtime/RuntimeError.h"

namespace config {

clsVFO& ClsVfoControl::vfo() const {
    if (!slot_) runtime::raise(runtime::err::kObjectNotSet, "Vfo");
    return *slot_;
}

VfoControl& LiveRadio::Vfo() {
    if (!parts_.Vfo) runtime::raise(runtime::err::kObjectNotSet, "Vfo");
    return vfo_;
}

modSetupRX::RadioObjects LiveRadio::Objects() {
    modSetupRX::RadioObjects objects = parts_.Objects ? parts_.Objects() : modSetupRX::RadioObjects{};
    objects.Vfo = parts_.Vfo.get();
    return objects;
}

void LiveRadio::ReplaceVfo() {
    std::unique_ptr<clsVFO>& slot = parts_.Vfo;
    clsVFO* old = slot.get();
    // A tuning of this VFO further up the stack is pumping the message loop (a settle wait): releasing
    // it now would pull it from under that tuning. The receiver is then rebuilt on it instead.
    if (old && old->InUse()) runtime::raise(runtime::err::kInvalidCall, "Vfo (a tuning is still running)");
    if (old) old->setOscType(nullptr);
    std::unique_ptr<clsVFO> released = std::exchange(slot, std::make_unique<clsVFO>(parts_.Settings));
    try {
        if (old) {
            const modSetupRX::RadioObjects o = Objects();
            for (Oscillator* osc : {o.Ad9835Osc, o.Ad9850Osc, o.Ad9851Osc, o.Ad9951Osc, o.Cy27ee16Osc,
                                    o.SoftDdsOsc, o.HamlibOsc})
                // A class without a parent answers 438: it keeps none.
                if (osc)
                    runtime::resumeNext([&] {
                        if (osc->Parent() == old) osc->setParent(nullptr);
                    });
        }
        for (const auto& repoint : repointers_)
            repoint(*slot);
    } catch (...) {
        // A user that could not be re-pointed may still hold the old VFO: it is kept rather than left
        // dangling.
        (void)released.release();
        throw;
    }
    released.reset();
}

void LiveRadio::InitialiseRX() {
    int32_t model = -1;
    const modSetupRX::Globals globals{parts_.Settings, parts_.State, parts_.RxModels, Objects(),
                                      parts_.MSComm1 ? parts_.MSComm1() : nullptr};
    parts_.SetupRX.InitialiseRX(model, globals);
}

} // namespace config
