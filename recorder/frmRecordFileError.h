// The recording-file error window: a message and OK, shown without blocking the main window.
#pragma once

#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"

class frmRecordFileError final : public ui::Form {
public:
    explicit frmRecordFileError(QWidget* owner = nullptr);

    // Shows the message; while the window already shows, the message goes below what it holds.
    void report(const std::string& message);
    // Shows the message, then waits, events flowing, until the window is closed or destroyed or the
    // program ends. Within a wait already running it only adds the message.
    void reportAndWait(const std::string& message);

    ui::TextBox txtMessage;
    ui::CommandButton OKButton;

private:
    void OKButton_Click();
    bool waiting_ = false;
};
