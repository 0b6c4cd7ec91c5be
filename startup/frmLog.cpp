// The trace log window.
#include "startup/frmLog.h"

#include <QDateTime>
#include <QLocale>
#include <fstream>

#include "frame/ScopedFlag.h"
#include "platform/runtime/Hooks.h"

namespace {

constexpr const char* kLineEnd = "\r\n";

bool writeLine(const std::string& path, const std::string& text, std::ios::openmode mode) {
    std::ofstream file(path, std::ios::binary | mode);
    if (!file) return false;
    file << text << kLineEnd;
    file.close();
    return !file.fail();
}

} // namespace

frmLog::frmLog(bool traceOn, const std::string& programFolder, const std::string& executableName)
    : lstLog(this), cmdClose(this, "&Close"), traceOn_(traceOn), executableName_(executableName) {
    if (!programFolder.empty()) {
        path_ = programFolder;
        if (path_.back() != '/') path_ += '/';
        path_ += std::string(runtime::kProductName) + ".log";
    }
    cmdClose.Click = [this] { cmdClose_Click(); };
    setClientSize(6660, 4905);
    if (traceOn_ && !path_.empty()) {
        const QDateTime now = QDateTime::currentDateTime();
        const QLocale locale = QLocale::system();
        const std::string first = std::string(runtime::kProductName) + " Log File Started at Date=" +
                                  locale.toString(now.date(), QLocale::ShortFormat).toStdString() +
                                  " Time=" + locale.toString(now.time(), QLocale::ShortFormat).toStdString();
        if (!writeLine(path_, first, std::ios::trunc)) fileFailed_ = true;
    }
}

void frmLog::Form_Load() {
    if (!traceOn_) return;
    setCaption(executableName_ + " Log Display");
    lstLog.Clear();
    if (fileFailed_) noteFileFailure();
}

void frmLog::Form_Resize() {
    if (!traceOn_) return;
    const int32_t w = ScaleWidth();
    const int32_t h = ScaleHeight();
    cmdClose.setTop(h - cmdClose.Height());
    cmdClose.setLeft((w - cmdClose.Width()) / 2);
    lstLog.Move(0, 0, w, std::max(0.0, h - cmdClose.Height()));
}

void frmLog::AddLog(const std::string& text) {
    if (!traceOn_ || busy_) return;
    const ScopedFlag busy(busy_);
    lstLog.AddItem(text);
    lstLog.setListIndex(lstLog.ListCount() - 1);
    if (!path_.empty() && !writeLine(path_, text, std::ios::app)) {
        fileFailed_ = true;
        noteFileFailure();
    }
}

void frmLog::noteFileFailure() {
    if (failureNoted_) return;
    failureNoted_ = true;
    lstLog.AddItem("The log file " + path_ + " cannot be written; lines are kept in this list only.");
}

void frmLog::cmdClose_Click() {
    Hide();
}
