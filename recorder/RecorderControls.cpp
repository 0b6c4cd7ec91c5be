// The recorder panel's widgets, placed as the panel was designed (twips).
#include "recorder/RecorderControls.h"

#include "frame/ScopedFlag.h"
#include "recorder/RecorderDesign.h"
#include "recorder/TransportFaces.h"

namespace recorder {

namespace {

static_assert(design::kButtonLeft.size() == transport::kButtons);
constexpr std::array<const char*, transport::kButtons> kToolTips{"Record",
                                                                 "Play",
                                                                 "Pause",
                                                                 "Stop",
                                                                 "Next Track",
                                                                 "Previous Track",
                                                                 "Continuous Looping Playback",
                                                                 "Load Wav File",
                                                                 "Save Recording",
                                                                 "Close Recorder"};
constexpr int32_t kListText = 0xC0C000;
constexpr double kHeaderHeight = design::kTrackHeaderHeight;

using ui::place;

} // namespace

RecorderControls::RecorderControls(const Hosts& hosts)
    : picWavCtlsOffFocus(hosts.recorderPanel), txtRecordFileName(hosts.recorderPanel, "nerixsdr.wav"),
      lblRecordTime(hosts.recorderPanel, "00:00:00"), lblRecordSize(hosts.recorderPanel, "000,000,000"),
      picRecorderTrackList(hosts.trackListContainer), txtRecordingLogHeaders(picRecorderTrackList.widget()),
      lstRecordingLogs(picRecorderTrackList.widget()), owner_(hosts.owner) {
    for (int16_t i = 0; i < transport::kButtons; ++i) {
        ui::CommandButton& cmd = cmdWavCtls.Load(i, hosts.recorderPanel, "");
        place(cmd, design::cmdWavCtls(i));
        cmd.setToolTipText(kToolTips[std::size_t(i)]);
        cmd.setPicture(transportFace(i));
    }
    // The focus sink: one pixel that takes the focus, so no button keeps it.
    picWavCtlsOffFocus.Move(0, 0, 15, 15);
    picWavCtlsOffFocus.widget()->setFocusPolicy(Qt::StrongFocus);
    place(txtRecordFileName, design::txtRecordFileName);
    txtRecordFileName.setToolTipText("Filename for recording");
    lblRecordTime.Move(5400, 195, 900, 240);
    lblRecordSize.Move(6330, 195, 1140, 240);

    picRecorderTrackList.setVisible(false);
    txtRecordingLogHeaders.setVisible(false);
    txtRecordingLogHeaders.setFontName("Courier New");
    txtRecordingLogHeaders.setHeight(kHeaderHeight);
    lstRecordingLogs.setVisible(false);
    lstRecordingLogs.setBackColor(0x000000);
    lstRecordingLogs.setForeColor(kListText);
    lstRecordingLogs.setFontName("Courier New");
    lstRecordingLogs.setFontSize(8.25);
    // Interval 0: the timers fire only once a handler has armed them.
    tmrRecorderWrite.setInterval(0);
    tmrPlaybackRead.setInterval(0);
}

RecorderControls::~RecorderControls() {
    tmrRecorderWrite.setEnabled(false);
    tmrPlaybackRead.setEnabled(false);
    delete errorWindow_.data();
}

void RecorderControls::connect(RecorderPanel& core) {
    core_ = &core;
    cmdWavCtls.Click = [this](int16_t Index) { core_->cmdWavCtls_Click(Index); };
    txtRecordFileName.LostFocus = [this] { core_->txtRecordFileName_LostFocus(); };
    lstRecordingLogs.Click = [this] {
        if (!mirroring_) core_->userPicksTrack(lstRecordingLogs.ListIndex());
    };
    tmrRecorderWrite.Timer_ = [this] { core_->tmrRecorderWrite_Timer(); };
    tmrPlaybackRead.Timer_ = [this] { core_->tmrPlaybackRead_Timer(); };
    deferred_ = std::make_unique<ui::PostQueueWatcher>(core.deferredEvents());
}

void RecorderControls::centreButtons(double panelScaleHeight) {
    cmdWavCtls.forEach([&](ui::CommandButton& cmd) { cmd.setTop((panelScaleHeight - cmd.Height()) / 2); });
}

void RecorderControls::forEachControl(const std::function<void(ui::Control&)>& f) {
    cmdWavCtls.forEach([&](ui::CommandButton& cmd) { f(cmd); });
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             &picWavCtlsOffFocus, &txtRecordFileName, &lblRecordTime, &lblRecordSize, &picRecorderTrackList,
             &txtRecordingLogHeaders, &lstRecordingLogs})
        f(*c);
}

// The sink cannot take the focus while the window is hidden: the click goes on without it.
void RecorderControls::focusOffFocusSink() {
    try {
        picWavCtlsOffFocus.SetFocus();
    } catch (const std::exception&) {
    }
}

void RecorderControls::setButtonsEnabled(const EnablePattern& pattern) {
    for (int16_t i = 0; i < transport::kButtons; ++i)
        cmdWavCtls[i].setEnabled(pattern[std::size_t(i)]);
}

void RecorderControls::setButtonFace(int16_t index, int32_t colour) {
    cmdWavCtls[index].setBackColor(colour);
}

void RecorderControls::focusButton(int16_t index) {
    cmdWavCtls[index].SetFocus();
}

std::string RecorderControls::fileNameText() const {
    return txtRecordFileName.Text();
}

void RecorderControls::setFileNameText(const std::string& text) {
    txtRecordFileName.setText(text);
}

void RecorderControls::setRecordTime(const std::string& caption) {
    lblRecordTime.setCaption(caption);
}

void RecorderControls::setRecordSize(const std::string& caption) {
    lblRecordSize.setCaption(caption);
}

void RecorderControls::setTrackHeader(const std::string& text) {
    txtRecordingLogHeaders.setText(text);
}

void RecorderControls::clearTracks() {
    lstRecordingLogs.Clear();
}

void RecorderControls::addTrack(const std::string& row, int32_t entry) {
    lstRecordingLogs.AddItem(row);
    lstRecordingLogs.setItemData(lstRecordingLogs.NewIndex(), entry);
}

void RecorderControls::showTrackSelection(int32_t row) {
    const ScopedFlag mirroring(mirroring_);
    lstRecordingLogs.setListIndex(row);
}

void RecorderControls::showTrackPanel(int32_t backColour, double width, double height, double left,
                                      double top) {
    picRecorderTrackList.setBackColor(backColour);
    picRecorderTrackList.Move(left, top, width, height);
    picRecorderTrackList.setVisible(true);
    // In front of the preset frame it covers.
    picRecorderTrackList.ZOrder(0);
}

double RecorderControls::trackPanelScaleWidth() const {
    return picRecorderTrackList.ScaleWidth();
}

void RecorderControls::showTrackHeader(double width, int32_t textColour) {
    txtRecordingLogHeaders.Move(0, 0, width, kHeaderHeight);
    txtRecordingLogHeaders.setVisible(true);
    txtRecordingLogHeaders.ZOrder(0);
    txtRecordingLogHeaders.setLocked(true);
    txtRecordingLogHeaders.setFontName(lstRecordingLogs.FontName());
    txtRecordingLogHeaders.setBackColor(lstRecordingLogs.BackColor());
    txtRecordingLogHeaders.setForeColor(textColour);
}

double RecorderControls::trackHeaderTop() const {
    return txtRecordingLogHeaders.Top();
}

double RecorderControls::trackHeaderHeight() const {
    return txtRecordingLogHeaders.Height();
}

void RecorderControls::showTrackList(double top, double width, double height) {
    lstRecordingLogs.Move(0, top, width, height);
    lstRecordingLogs.setVisible(true);
    lstRecordingLogs.ZOrder(0);
}

void RecorderControls::hideTrackPanel() {
    picRecorderTrackList.setVisible(false);
}

void RecorderControls::armTimer(RecorderTimer t, int32_t intervalMs) {
    timer(t).setInterval(intervalMs);
    timer(t).setEnabled(true);
}

void RecorderControls::disarmTimer(RecorderTimer t) {
    timer(t).setEnabled(false);
    timer(t).setInterval(0);
}

frmRecordFileError& RecorderControls::loadErrorWindow() {
    if (!errorWindow_) errorWindow_ = new frmRecordFileError(owner_);
    return *errorWindow_;
}

void RecorderControls::showRecordFileError(const std::string& message) {
    loadErrorWindow().reportAndWait(message);
}

void RecorderControls::reportRecordFileError(const std::string& message) {
    loadErrorWindow().report(message);
}

} // namespace recorder
