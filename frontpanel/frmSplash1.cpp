// The splash window.
#include "frontpanel/frmSplash1.h"

#include "platform/runtime/Hooks.h"

frmSplash1::frmSplash1() : lblBandPlan(this, "Loading Bandplans"), Label1(this, "Loading Bandplans") {
    setCaption(runtime::kProductName);
    setWindowFlag(Qt::SplashScreen);
    setClientSize(4500, 1500);
    Label1.Move(240, 240, 4020, 375);
    lblBandPlan.Move(240, 780, 4020, 375);
    Label1.setAlignment(2);
    lblBandPlan.setAlignment(2);
}
