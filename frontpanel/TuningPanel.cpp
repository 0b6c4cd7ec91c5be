// The frequency readout and its tuning controls.
#include "frontpanel/TuningPanel.h"

#include <cmath>

#include "dsp/Nerix.h"
#include "frame/NumberFormat.h"
#include "platform/runtime/Convert.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/runtime/Text.h"

namespace frontpanel {

namespace {

constexpr int16_t kLeftButton = 1, kRightButton = 2;
constexpr int16_t kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40, kKeyA = 65, kKeyZ = 90;
constexpr int16_t kEscape = 27;
// The tuning-repeat timer's pace once the readout's keys are in use.
constexpr int32_t kKeyRepeatInterval = 20;

enum VfoControlItem : int16_t { kCancel, kSeparator, kSetTuningRate, kLockTuneRate, kUnlockTuneRate };

double placeValue(int32_t digit) {
    return std::pow(10.0, 8 - digit);
}

int32_t rounded(double twips) {
    return runtime::CLng(twips);
}

} // namespace

TwipsRect markerAround(const TwipsRect& d) {
    return {d.left - 20, d.top + 150, d.width + 40, d.height - 150};
}

const std::vector<ui::MenuItem>& TuningPanel::vfoControlItems() {
    static const std::vector<ui::MenuItem> items = {"Cancel", "-", "Set Tuning Rate", "Lock Tune Rate",
                                                    "Unlock Tune rate"};
    return items;
}

void TuningPanel::checkDigit(int32_t digit) const {
    if (digit < 0 || digit >= kReadoutDigits) runtime::raise(runtime::err::kSubscriptOutOfRange, "lbl7Seg");
}

void TuningPanel::placeMarker(int32_t digit) {
    p_.view.setMarker(markerAround(p_.view.digitRect(static_cast<int16_t>(digit))),
                      readoutKnob().FocusColour);
}

// ---- The readout

void TuningPanel::Display7Seg(const std::string& text) {
    if (text == ShownReadout_) return;
    ShownReadout_ = text;
    const std::u32string chars = runtime::toU32(text);
    for (int16_t i = 0; i < kReadoutDigits; ++i)
        p_.view.setDigitCaption(i, static_cast<size_t>(i) < chars.size()
                                       ? runtime::toUtf8(chars[static_cast<size_t>(i)])
                                       : std::string());
    p_.view.setLoCaption(NumberFormat::Format(p_.vfo.OscOut() / 10.0, "#0 000 000 Hz"));
}

void TuningPanel::SetTuningStepDigit(int32_t digit, float multiplier) {
    if (MarkedDigit_ <= 0) MarkedDigit_ = 0;
    checkDigit(digit);
    p_.view.setDigitColour(static_cast<int16_t>(MarkedDigit_), readoutKnob().NormalColour);
    p_.view.setDigitColour(static_cast<int16_t>(digit), readoutKnob().FocusColour);
    p_.vfo.setTuneStep(placeValue(digit) * multiplier);
    p_.view.setTuningRateCaption(TuningRateCaption(digit, p_.vfo.TuneStep()));
    MarkedDigit_ = digit;
    placeMarker(digit);
}

void TuningPanel::lbl7Seg_MouseMove(int16_t index) {
    ReceiverState& st = p_.state;
    st.ActiveKnob = kFrequencyReadoutKnob;
    if (index == HoverDigit_ || p_.vfo.TuneStepLock() || st.TuneStepLocked) return;
    st.ActiveKnob = kFrequencyReadoutKnob;
    p_.view.setDigitColour(HoverDigit_, readoutKnob().NormalColour);
    st.RepeatStep = static_cast<float>(placeValue(index));
    KeyDigit_ = index;
    SetTuningStepDigit(index, 1.0f);
    HoverDigit_ = index;
    p_.view.setDigitColour(index, readoutKnob().FocusColour);
    placeMarker(index);
}

void TuningPanel::lbl7Seg_Click(int16_t index) {
    lbl7Seg_DblClick(index);
}

void TuningPanel::lbl7Seg_DblClick(int16_t index) {
    ClickLock_ = !p_.vfo.TuneStepLock();
    if (index != ClickedDigit_) {
        ClickLock_ = true;
        p_.vfo.setTuneStepLock(false);
        SetTuningStepDigit(index, 1.0f);
    }
    ClickedDigit_ = index;
    p_.state.TuneStepLocked = ClickLock_;
    p_.vfo.setTuneStepLock(ClickLock_);
    p_.view.setLockPictureVisible(ClickLock_);
}

void TuningPanel::lbl7Seg_MouseDown(int16_t index, int16_t Button) {
    if (Button != kRightButton) return;
    vfoControlTag_ = std::to_string(index);
    const int32_t chosen = p_.dialogs.PopupMenu(vfoControlItems());
    if (chosen >= 0) mnuVFOControlSub_Click(static_cast<int16_t>(chosen));
}

void TuningPanel::picFreqDisp_KeyDown(int16_t KeyCode, int16_t /*Shift*/) {
    ReceiverState& st = p_.state;
    if (st.ActiveKnob != kFrequencyReadoutKnob) return;
    if (!KeyDigitSet_) {
        KeyDigitSet_ = true;
        // The logarithm of no step at all is taken as 0: the keys then start on the last digit.
        KeyDigit_ = runtime::CLng(8 - Nerix::Log10(st.RepeatStep));
    }
    switch (KeyCode) {
    case kKeyLeft:
        if (--KeyDigit_ < 0) KeyDigit_ = 8;
        SetTuningStepDigit(KeyDigit_, 1.0f);
        break;
    case kKeyRight:
        if (++KeyDigit_ > 8) KeyDigit_ = 0;
        SetTuningStepDigit(KeyDigit_, 1.0f);
        break;
    case kKeyUp:
    case kKeyA:
        st.TuneUpRequest = true;
        st.TuneDownRequest = false;
        break;
    case kKeyDown:
    case kKeyZ:
        st.TuneDownRequest = true;
        st.TuneUpRequest = false;
        break;
    default:
        break;
    }
    st.RepeatStep = static_cast<float>(p_.vfo.TuneStep());
    p_.vfo.setTuneStepLSD(p_.vfo.TuneStep());
    p_.view.setTuneRepeatInterval(kKeyRepeatInterval);
}

void TuningPanel::picFreqDisp_KeyUp() {
    p_.state.TuneUpRequest = false;
    p_.state.TuneDownRequest = false;
    p_.state.RepeatStep = 0;
}

void TuningPanel::picFreqDisp_MouseMove() {
    p_.shell.UnFocusFrames();
    p_.state.ActiveKnob = kFrequencyReadoutKnob;
    p_.view.focusReadout();
}

void TuningPanel::img7SegArea_MouseMove() {
    picFreqDisp_MouseMove();
}

void TuningPanel::frFreqCtl_MouseMove() {
    p_.shell.UnFocusFrames();
}

void TuningPanel::picFreqDisp_MouseUp(int16_t Button) {
    if (Button == kLeftButton) p_.state.TuneUpRequest = false;
    if (Button == kRightButton) p_.state.TuneDownRequest = false;
}

// ---- The steps

void TuningPanel::SelectTuningStepIndex(int32_t index, bool force) {
    if (force)
        p_.vfo.setTuneStepLock(false);
    else if (p_.vfo.TuneStepLock())
        return;
    TuningStepIndex_ = index;
    if (TuningStepIndex_ > kTuningStepEntries - 1) TuningStepIndex_ = 0;
    if (TuningStepIndex_ < 0) TuningStepIndex_ = kTuningStepEntries - 1;
    p_.vfo.setTuneStepLSD(p_.steps[static_cast<size_t>(TuningStepIndex_)]);
    const StepPlace place = StepPlaceOf(p_.steps, TuningStepIndex_);
    SetTuningStepDigit(place.digit, place.multiplier);
    p_.vfo.setTuneStepLock(true);
}

void TuningPanel::lblTuneDialRate_MouseDown(int16_t Button) {
    if (Button != kRightButton) return;
    const TwipsRect dial = p_.view.dialRect();
    const TwipsRect selector = p_.view.stepSelectorRect();
    p_.view.showStepSelector(dial.left, rounded(dial.top + dial.height / 2.0 - selector.height / 2.0));
}

void TuningPanel::lblTuningRate_MouseDown(int16_t Button) {
    if (Button != kRightButton) return;
    const TwipsRect label = p_.view.tuningRateRect();
    const TwipsRect selector = p_.view.stepSelectorRect();
    // The right edges line up.
    p_.view.showStepSelector(label.left - (selector.width - label.width), label.top);
}

void TuningPanel::showSelectorUnderDigit(int32_t digit) {
    checkDigit(digit);
    const TwipsRect readout = p_.view.readoutRect();
    const TwipsRect d = p_.view.digitRect(static_cast<int16_t>(digit));
    const TwipsRect selector = p_.view.stepSelectorRect();
    p_.view.showStepSelector(rounded(readout.left + d.left - selector.width / 2.0),
                             readout.top + d.top + d.height);
}

void TuningPanel::lblTuningRate_Click() {
    ReceiverState& st = p_.state;
    if (st.TuneStepLocked) {
        st.TuneStepLocked = false;
        p_.view.setTuningRateLook(readoutKnob().FocusColour, "Click to Lock Tuning Rate");
    } else {
        st.TuneStepLocked = true;
        p_.view.setTuningRateLook(readoutKnob().NormalColour, "Click to Unlock Tuning Rate");
    }
}

void TuningPanel::cboTuningSteps_Click(int32_t listIndex) {
    if (listIndex < 0) return;
    if (listIndex >= kTuningStepEntries) runtime::raise(runtime::err::kSubscriptOutOfRange, "TuningSteps");
    // The step is kept with the active sub-band, so the band plan saves it; a band not loaded yet has
    // no sub-band records to keep it in.
    if (p_.mainBands) {
        const int32_t b = p_.state.CurrentMainBandIndex;
        if (b >= 0 && static_cast<size_t>(b) < p_.mainBands->size()) {
            MainBandRec& band = (*p_.mainBands)[static_cast<size_t>(b)];
            if (band.ActiveSubBand >= 0 && static_cast<size_t>(band.ActiveSubBand) < band.SubBand.size()) {
                PresetSettings& s = band.SubBand[static_cast<size_t>(band.ActiveSubBand)].Settings;
                s.TuneStep = p_.steps[static_cast<size_t>(listIndex)];
                s.Dirty = true;
            }
        }
    }
    SelectTuningStepIndex(listIndex, true);
}

void TuningPanel::cboTuningSteps_KeyPress(int16_t KeyAscii) {
    if (KeyAscii == kEscape) p_.view.hideStepSelector();
}

void TuningPanel::cboTuningSteps_LostFocus() {
    p_.view.hideStepSelector();
}

void TuningPanel::imgTuneStepLock_DblClick() {
    p_.state.TuneStepLocked = false;
    p_.vfo.setTuneStepLock(false);
    p_.view.setLockPictureVisible(false);
}

int32_t TuningPanel::tagDigit() const {
    const auto digit = runtime::parseInt(vfoControlTag_);
    if (!digit || *digit < INT32_MIN || *digit > INT32_MAX)
        runtime::raise(runtime::err::kTypeMismatch, "mnuVFOControl.Tag");
    return static_cast<int32_t>(*digit);
}

void TuningPanel::mnuVFOControlSub_Click(int16_t index) {
    switch (index) {
    case kSetTuningRate:
        showSelectorUnderDigit(tagDigit());
        break;
    case kLockTuneRate:
        p_.vfo.setTuneStepLock(false);
        p_.state.TuneStepLocked = false;
        SetTuningStepDigit(tagDigit(), 1.0f);
        p_.vfo.setTuneStepLock(true);
        p_.state.TuneStepLocked = true;
        break;
    case kUnlockTuneRate:
        p_.state.TuneStepLocked = false;
        p_.vfo.setTuneStepLock(false);
        break;
    default:
        break;
    }
    p_.view.setLockPictureVisible(p_.vfo.TuneStepLock());
}

void TuningPanel::lblScale_Click(int16_t index) {
    std::string s = p_.vfo.FormattedTunedFreq();
    // Which characters of the nine digits each scale label clears, 1-based; the tenths stay.
    struct Span {
        size_t first, count;
    };
    static constexpr Span kCleared[] = {{1, 2}, {3, 3}, {6, 3}};
    if (index < 0 || index > 2) runtime::raise(runtime::err::kSubscriptOutOfRange, "lblScale");
    const Span span = kCleared[index];
    for (size_t i = span.first - 1; i < span.first - 1 + span.count && i < s.size(); ++i)
        s[i] = '0';
    const auto value = runtime::parseDouble(s);
    p_.vfo.setTunedFrequency(runtime::CLng(value.value_or(0)));
    Display7Seg(p_.vfo.FormattedTunedFreq());
}

} // namespace frontpanel
