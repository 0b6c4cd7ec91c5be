// The trace log window: while tracing is on, every line goes to the list and to "NerixSDR.log" in the
// program folder; while it is off the window stays hidden and takes no lines.
#pragma once

#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"

class frmLog final : public ui::Form {
public:
    // Starts the log file anew when traceOn is set; an empty programFolder keeps the lines in the list
    // only. executableName heads the caption.
    frmLog(bool traceOn, const std::string& programFolder, const std::string& executableName);

    // Appends text as one line, unchanged. Never fails the caller: a file that cannot be written is
    // noted once in the list and the lines go on reaching the list.
    void AddLog(const std::string& text);

    // Empty when no file is written.
    const std::string& LogFilePath() const { return path_; }

    ui::ListBox lstLog;
    ui::CommandButton cmdClose;

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void cmdClose_Click();
    void noteFileFailure();

    bool traceOn_;
    std::string path_;
    std::string executableName_;
    bool busy_ = false;
    bool fileFailed_ = false;
    bool failureNoted_ = false;
};
