// The main window: the receiver's front end. Its start-up runs when the supervisor loads it.
#pragma once

#include "frame/ReceiverState.h"
#include "platform/ui/Form.h"

class frmMain final : public ui::Form {
public:
    explicit frmMain(ReceiverState& state);

    // True while Form_Load runs; the sub-band buttons read it.
    bool FormLoading = false;

protected:
    void Form_Load() override;

private:
    void trace(const char* step) const;

    ReceiverState& state_;
    bool FormLoadBusy = false;
};
