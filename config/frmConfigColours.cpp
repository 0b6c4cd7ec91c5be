// The configuration dialog's "Controls" tab: the swatches, their colour dialog, the defaults, the
// preview and the theme files.
#include "config/ColourTheme.h"
#include "config/frmConfig.h"
#include "platform/profile/ProgramFolder.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

void frmConfig::setSwatchColour(ui::Shape& swatch, int32_t colour) {
    swatch.setBackColor(colour);
}

ui::Shape& frmConfig::swatch(config::Swatch which) {
    using config::Swatch;
    switch (which) {
    case Swatch::SDRBackGround:
        return shpSDRBackGroundColour;
    case Swatch::SDRFrameFocus:
        return shpSDRFrameFocusColour;
    case Swatch::SDRFrameNormal:
        return shpSDRFrameNormalColour;
    case Swatch::SDRLabel:
        return shpSDRLabelColour;
    case Swatch::SDRTuning:
        return shpSDRTuningColour;
    case Swatch::NormalScrollLabel:
        return shpNormalScrollLabelColour;
    case Swatch::FocusScrollLabel:
        return shpFocusScrollLabelColour;
    case Swatch::ScopeBack:
        return shpScopeBackColour;
    case Swatch::ScopeGraticule:
        return shpScopeGraticuleColour;
    case Swatch::ScopeY1:
        return shpScopeY1Colour;
    case Swatch::ScopeY2:
        return shpScopeY2Colour;
    case Swatch::ScopeNotchFilter:
        return shpScopeNotchFilterColour;
    case Swatch::ScopeFilterCurve:
        return shpScopeFilterCurveColour;
    case Swatch::ScopeXText:
        return shpScopeXTextColour;
    case Swatch::ScopeYText:
        return shpScopeYTextColour;
    }
    runtime::raise(runtime::err::kInvalidPropertyArrayIndex, "frmConfig.swatch");
}

config::SwatchColours frmConfig::swatches() {
    config::SwatchColours colours;
    for (std::size_t i = 0; i < config::kSwatchCount; ++i)
        colours.colours[i] = swatchColour(swatch(static_cast<config::Swatch>(i)));
    return colours;
}

void frmConfig::setSwatches(const config::SwatchColours& colours) {
    for (std::size_t i = 0; i < config::kSwatchCount; ++i)
        setSwatchColour(swatch(static_cast<config::Swatch>(i)), colours.colours[i]);
}

void frmConfig::SelectShapeColour(ui::Shape& swatch) {
    // -1: cancelled, or no colour dialog could be shown; black (0) is a colour.
    const int32_t colour = context_.ComDlg.SelectColour(this, swatchColour(swatch), true);
    if (colour != -1) setSwatchColour(swatch, colour);
}

void frmConfig::cmdSDRControlDefaults_Click() {
    config::SwatchColours colours = swatches();
    config::controlDefaults(colours);
    setSwatches(colours);
    chkScollLabelHiliteBorder.setValue(0);
}

void frmConfig::cmdScopeDefaults_Click() {
    config::SwatchColours colours = swatches();
    config::scopeDefaults(colours);
    setSwatches(colours);
}

void frmConfig::cmdSDRPreviewColours_MouseDown() {
    preview_.Press(swatches());
}

void frmConfig::cmdSDRPreviewColours_MouseUp() {
    preview_.Release(InitialColours);
}

std::optional<std::string> frmConfig::chooseThemeFile(const char* title, int32_t flags) {
    clsComDlg& dialog = context_.ComDlg;
    dialog.setAllowMultiSelect(false);
    dialog.setDialogTitle(title);
    dialog.setDirectory(profile::programFolder());
    // Flags an earlier caller left would refuse a name Save may type.
    dialog.clearExistFlags();
    dialog.setExistFlags(flags);
    dialog.setFileName("");
    dialog.setExtension("thm");
    dialog.setFilter("SDR Colour Themes (*.thm)|*.thm");
    dialog.setReadOnlyIsVisible(false);
    if (!dialog.ShowOpen()) return std::nullopt;
    return dialog.FileName();
}

void frmConfig::cmdSDRColoursSave_Click() {
    // Save uses the open dialog with the create prompt: an existing theme is written without a question.
    const auto path = chooseThemeFile("Save SDr Colour Theme Filename", clsComDlg::OFN_CREATEPROMPT);
    if (!path) return;
    if (const auto failure = config::saveTheme(*path, swatches()))
        context_.Dialogs.MsgBox(*failure, runtime::mb::kOkOnly, Caption());
}

void frmConfig::cmdSDRColoursLoad_Click() {
    const auto path = chooseThemeFile("Load SDr Colour Theme Filename", clsComDlg::OFN_FILEMUSTEXIST);
    if (!path) return;
    const config::ThemeLoad load = config::loadTheme(*path, swatches());
    setSwatches(load.colours);
    if (load.failure)
        context_.Dialogs.MsgBox(*load.failure, runtime::mb::kOkOnly, Caption());
    else if (!load.ignoredKeys.empty())
        context_.Dialogs.MsgBox(config::ignoredKeysMessage(*path, load.ignoredKeys), runtime::mb::kOkOnly,
                                Caption());
}
