// The recorder panel's transport buttons: Record, Play, Pause, Stop, the track steps, Loop, Load, Save and
// Close, with the enable patterns they leave, and the end of a played file.
#include "recorder/RecorderPanel.h"

#include "frame/ScopedFlag.h"
#include "platform/files/FileSystem.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/NestedLoops.h"
#include "platform/runtime/RuntimeError.h"
#include "recorder/RecorderDesign.h"
#include "recorder/TrackList.h"
#include "recorder/clsWavFile.h"

namespace recorder {

void RecorderPanel::setPattern(const EnablePattern& pattern) {
    pattern_ = pattern;
    // Within an action the buttons stay disabled; its end shows the pattern.
    if (!WavCtlsBusy_) view_.setButtonsEnabled(pattern);
}

void RecorderPanel::setChoicesColour(int32_t colour) {
    if (ports_.choices) ports_.choices->setCaptionColour(colour);
}

void RecorderPanel::emptyFileNameAndLabels() {
    runtime::resumeNext([&] { view_.setFileNameText(""); });
    runtime::resumeNext([&] { view_.setRecordTime(""); });
    runtime::resumeNext([&] { view_.setRecordSize(""); });
}

void RecorderPanel::cmdWavCtls_Click(int16_t Index) {
    // The focus leaves the buttons even when the click is refused.
    view_.focusOffFocusSink();
    if (WavCtlsBusy_) return;
    const ScopedFlag busy(WavCtlsBusy_);
    // An action may pump messages (the power button's Off, a dialog, the error window), and a click then
    // is refused: the buttons show disabled meanwhile rather than enabled and deaf, and show the
    // pattern in force again on every way out.
    runtime::resumeNext([&] { view_.setButtonsEnabled(patterns::kNone); });
    struct ShowPattern {
        RecorderPanel& panel;
        ~ShowPattern() {
            runtime::resumeNext([&] { panel.view_.setButtonsEnabled(panel.pattern_); });
        }
    } showPattern{*this};
    switch (Index) {
    case transport::kRecord:
        record();
        break;
    case transport::kPlay:
        play();
        break;
    case transport::kPause:
        pause();
        break;
    case transport::kStop:
        stop();
        break;
    case transport::kNextTrack:
        nextTrack(1);
        break;
    case transport::kPreviousTrack:
        nextTrack(-1);
        break;
    case transport::kLoop:
        loop();
        break;
    case transport::kLoad:
        load();
        break;
    case transport::kSave:
        save();
        break;
    case transport::kClose:
        close();
        break;
    default:
        break;
    }
}

void RecorderPanel::record() {
    // Only a recording whose file is still open resumes; otherwise (a cancelled Save, Pause on a loaded
    // file) a new one starts, and OpenRecording moves an unsaved one aside.
    if ((wav_.IsPaused() || wav_.IsRecording()) && wav_.RecordingResumable()) {
        runtime::resumeNext([&] { wav_.setIsPaused(false); });
        runtime::resumeNext([&] { wav_.setPlayerMode(PlayerMode::Recording); });
        runtime::resumeNext([&] { wav_.setIsRecording(true); });
    } else {
        runtime::resumeNext([&] {
            const std::string folder = ports_.recordingsFolder ? ports_.recordingsFolder() : std::string();
            wav_.TempFileName = folder + "/~NerixWAV.TMP";
        });
        int32_t status = 0;
        if (!runtime::resumeNext([&] { status = wav_.OpenRecording(); }) && status == 0)
            status = runtime::err::kInvalidCall;
        runtime::resumeNext([&] { nameRecoveredRecording(); });
        if (status != 0) {
            runtime::resumeNext(
                [&] { view_.showRecordFileError(messages::unableToCreate(wav_.TempFileName)); });
            return;
        }
        runtime::resumeNext([&] { view_.setFileNameText(""); });
    }
    runtime::resumeNext([&] { setChoicesColour(kChoicesRecording); });
    runtime::resumeNext([&] { setPattern(patterns::kRecording); });
}

void RecorderPanel::play() {
    if (wav_.IsRecording()) {
        runtime::resumeNext([&] { wav_.RecordPlayback(); });
        runtime::resumeNext([&] { wav_.PlayRecording(); });
        runtime::resumeNext([&] { setPattern(patterns::kRecording); });
    } else {
        runtime::resumeNext([&] { setPattern(patterns::kPlayingFile); });
        runtime::resumeNext([&] { wav_.Play(); });
    }
    // The player advances only while sound runs.
    runtime::resumeNext([&] {
        if (ports_.power) ports_.power->setPowerChoice(0, true);
    });
}

void RecorderPanel::pause() {
    runtime::resumeNext([&] { wav_.Pause(); });
    runtime::resumeNext(
        [&] { view_.setButtonFace(transport::kPause, wav_.IsPaused() ? kToggleActiveFace : kButtonFace); });
}

void RecorderPanel::stop() {
    runtime::resumeNext([&] {
        if (ports_.power) ports_.power->setPowerChoice(0, false);
    });
    runtime::resumeNext([&] {
        if (ports_.power) ports_.power->setPowerChoice(1, true);
    });
    runtime::resumeNext(
        [&] { setPattern(wav_.IsRecording() ? patterns::kStoppedRecording : patterns::kStopped); });
    runtime::resumeNext([&] { wav_.StopPlayer(); });
    runtime::resumeNext([&] { view_.setButtonFace(transport::kPause, kButtonFace); });
}

// Next goes round to the first row, Previous to the last; on an empty list neither does anything.
void RecorderPanel::nextTrack(int16_t step) {
    const int32_t count = ListCount();
    if (count == 0) return;
    auto i = int16_t(listIndex_ + step);
    if (i > count - 1) i = 0;
    if (i < 0) i = int16_t(count - 1);
    runtime::resumeNext([&] { setListIndex(i); });
    runtime::resumeNext([&] {
        if (const int32_t entry = entryOfRow(i); entry >= 0) wav_.PlayFrom(entry);
    });
}

void RecorderPanel::loop() {
    wav_.Looping = !wav_.Looping;
    runtime::resumeNext(
        [&] { view_.setButtonFace(transport::kLoop, wav_.Looping ? kToggleActiveFace : kButtonFace); });
}

void RecorderPanel::load() {
    runtime::resumeNext([&] { wav_.LoadMedia(); });
    if (!wav_.FileName().empty()) {
        runtime::resumeNext([&] { view_.setFileNameText(wav_.FileShortName()); });
        std::string reason;
        try {
            const int32_t result = wav_.OpenFile();
            if (!wav_.IsFileOpen()) reason = files::describeError(result);
        } catch (const runtime::RuntimeError& e) {
            reason = e.Description();
        } catch (const std::exception& e) {
            reason = e.what();
        }
        if (!wav_.IsFileOpen()) {
            // The list would otherwise go on showing the tracks of another file.
            runtime::resumeNext([&] { clearTrackList(); });
            runtime::resumeNext([&] { view_.setTrackHeader(kNoTracks); });
            runtime::resumeNext(
                [&] { view_.reportRecordFileError(messages::unableToOpen(wav_.FileName(), reason)); });
        }
        runtime::resumeNext([&] {
            int32_t index = -1;
            for (int32_t i = 0; i < 5; ++i)
                if (wav_.WavSamplingRate() == (48000 >> i)) index = i;
            if (ports_.choices) ports_.choices->SelectRecordSampleRate(index);
        });
    }
    layTrackPanel();
    runtime::resumeNext([&] { setPattern(patterns::kLoaded); });
}

// The track list takes the preset frame's place, its heading above the list.
void RecorderPanel::layTrackPanel() {
    const PresetFrame* presets = ports_.presets;
    if (!presets) return;
    runtime::resumeNext([&] {
        view_.showTrackPanel(presets->BackColor(), presets->Width(), presets->Height(), presets->Left(),
                             presets->Top());
    });
    runtime::resumeNext([&] { view_.showTrackHeader(view_.trackPanelScaleWidth(), kTrackHeaderText); });
    runtime::resumeNext([&] {
        const double top = view_.trackHeaderTop() + design::kTrackListTopShare * view_.trackHeaderHeight();
        view_.showTrackList(top, view_.trackPanelScaleWidth(), presets->Height() - top);
    });
}

void RecorderPanel::save() {
    const int32_t mode = wav_.PlayerMode();
    if (mode == PlayerMode::Recording || mode == PlayerMode::Paused || mode == PlayerMode::Stopped)
        runtime::resumeNext([&] { wav_.Save(); });
    emptyFileNameAndLabels();
    runtime::resumeNext([&] { setPattern(patterns::kLoaded); });
}

void RecorderPanel::close() {
    if (wav_.StatusOfMedia() == MediaStatus::RecordingUnsaved) {
        runtime::resumeNext([&] {
            if (runtime::MsgBox(messages::kCloseUnsaved, runtime::mb::kYesNo) == runtime::mb::kYes)
                wav_.Save();
            // The No the session's end gave is nobody's decision: the recording stays for the next
            // start's recovery.
            else if (!runtime::sessionEnding())
                wav_.DiscardRecording();
        });
    }
    runtime::resumeNext([&] { view_.hideTrackPanel(); });
    int32_t status = 0;
    if (!runtime::resumeNext([&] { status = wav_.CloseFile(); }) && status == 0)
        status = runtime::err::kInvalidCall;
    if (status != 0) {
        runtime::resumeNext(
            [&] { view_.showRecordFileError(messages::unableToClose(wav_.RecordFileName())); });
        runtime::resumeNext([&] { view_.focusButton(transport::kPause); });
        return;
    }
    emptyFileNameAndLabels();
    runtime::resumeNext([&] { wav_.setIsPaused(false); });
    runtime::resumeNext([&] { setChoicesColour(kChoicesClosed); });
    runtime::resumeNext([&] { setPattern(patterns::kClosed); });
}

void RecorderPanel::WavFile_PlayEnd() {
    if (wav_.Looping) {
        runtime::resumeNext([&] { setListIndex(0); });
        cmdWavCtls_Click(transport::kPlay);
    } else {
        cmdWavCtls_Click(transport::kStop);
    }
    wav_.setNumSamples(0);
}

} // namespace recorder
