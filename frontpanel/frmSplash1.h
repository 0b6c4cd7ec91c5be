// The splash window shown while band plans load: at start-up and when a band is first selected.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"

class frmSplash1 final : public ui::Form {
public:
    frmSplash1();

    ui::Label lblBandPlan;
    ui::Label Label1;
};
