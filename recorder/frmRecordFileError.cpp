// The recording-file error window.
#include "recorder/frmRecordFileError.h"

#include <QPointer>

frmRecordFileError::frmRecordFileError(QWidget* owner)
    : ui::Form(owner), txtMessage(this, "Text1", true), OKButton(this, "OK") {
    setCaption("Recording File Error");
    setClientSize(6030, 1950);
    txtMessage.Move(120, 120, 5775, 1095);
    txtMessage.setLocked(true);
    OKButton.Move(2400, 1440, 1215, 375);
    OKButton.Click = [this] { OKButton_Click(); };
}

void frmRecordFileError::OKButton_Click() {
    Unload();
}

void frmRecordFileError::report(const std::string& message) {
    if (isVisible()) {
        txtMessage.setText(txtMessage.Text() + "\r\n" + message);
        return;
    }
    Show();
    txtMessage.setText(message);
}

void frmRecordFileError::reportAndWait(const std::string& message) {
    report(message);
    // Within a wait already running the message joins it; that wait ends with the window.
    if (waiting_) return;
    const QPointer<frmRecordFileError> self(this);
    waiting_ = true;
    try {
        ShowAndWait();
    } catch (...) {
        if (self) waiting_ = false;
        throw;
    }
    if (self) waiting_ = false;
}
