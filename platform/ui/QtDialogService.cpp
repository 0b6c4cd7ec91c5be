// Qt's message box, input dialog, menu, file dialog and colour dialog behind the dialog service.
#include "platform/ui/QtDialogService.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/NestedLoops.h"
#include "platform/ui/QtSupport.h"
#include "platform/ui/Twips.h"

namespace ui {

namespace {

// A box answered for the session's end leaves its question in the trace log.
int32_t answeredForSessionEnd(const std::string& prompt, int32_t buttons, const std::string& title) {
    runtime::AddLog(title + ": " + prompt);
    return runtime::sessionEndAnswer(buttons);
}

} // namespace

int32_t QtDialogService::MsgBox(const std::string& prompt, int32_t buttons, const std::string& title) {
    using namespace runtime::mb;
    if (runtime::sessionEnding()) return answeredForSessionEnd(prompt, buttons, title);
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(q(title));
    box.setText(q(prompt));
    switch (buttons & 0x70) {
    case kCritical:
        box.setIcon(QMessageBox::Critical);
        break;
    case kQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case kExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case kInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct B {
        const char* text;
        int32_t answer;
        QMessageBox::ButtonRole role;
    };
    std::vector<B> set;
    switch (buttons & 0x0F) {
    case kOkCancel:
        set = {{"OK", kOk, QMessageBox::AcceptRole}, {"Cancel", kCancel, QMessageBox::RejectRole}};
        break;
    case kAbortRetryIgnore:
        set = {{"&Abort", kAbort, QMessageBox::RejectRole},
               {"&Retry", kRetry, QMessageBox::AcceptRole},
               {"&Ignore", kIgnore, QMessageBox::AcceptRole}};
        break;
    case kYesNoCancel:
        set = {{"&Yes", kYes, QMessageBox::YesRole},
               {"&No", kNo, QMessageBox::NoRole},
               {"Cancel", kCancel, QMessageBox::RejectRole}};
        break;
    case kYesNo:
        set = {{"&Yes", kYes, QMessageBox::YesRole}, {"&No", kNo, QMessageBox::NoRole}};
        break;
    case kRetryCancel:
        set = {{"&Retry", kRetry, QMessageBox::AcceptRole}, {"Cancel", kCancel, QMessageBox::RejectRole}};
        break;
    default:
        set = {{"OK", kOk, QMessageBox::AcceptRole}};
        break;
    }
    std::vector<QPushButton*> made;
    for (const auto& b : set)
        made.push_back(box.addButton(QString::fromUtf8(b.text), b.role));
    {
        const runtime::NestedLoop nested;
        box.exec();
    }
    // Closed by the session's end: its answer, whatever the box would have given.
    if (runtime::sessionEnding()) return answeredForSessionEnd(prompt, buttons, title);
    for (std::size_t i = 0; i < made.size(); ++i)
        if (box.clickedButton() == made[i]) return set[i].answer;
    // Closed from the title bar: Cancel where there is one, else the only or first button.
    for (const auto& b : set)
        if (b.answer == kCancel) return kCancel;
    return set.front().answer;
}

std::optional<std::string> QtDialogService::InputBox(const std::string& prompt, const std::string& title,
                                                     const std::string& defaultText) {
    if (runtime::sessionEnding()) return std::nullopt;
    const runtime::NestedLoop nested;
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), q(title), q(prompt),
                                               QLineEdit::Normal, q(defaultText), &ok);
    if (!ok || runtime::sessionEnding()) return std::nullopt;
    return text.toStdString();
}

int32_t QtDialogService::PopupMenu(const std::vector<MenuItem>& items) {
    if (runtime::sessionEnding()) return -1;
    QMenu menu(QApplication::activeWindow());
    std::vector<QAction*> actions;
    for (const auto& item : items) {
        if (item.separator()) {
            actions.push_back(menu.addSeparator());
        } else {
            actions.push_back(menu.addAction(q(item.Caption)));
            actions.back()->setEnabled(item.Enabled);
        }
    }
    QAction* chosen = nullptr;
    {
        const runtime::NestedLoop nested;
        chosen = menu.exec(QCursor::pos());
    }
    for (std::size_t i = 0; i < actions.size(); ++i)
        if (chosen && chosen == actions[i]) return static_cast<int32_t>(i);
    return -1;
}

std::optional<FileDialogResult> QtDialogService::FileDialog(const FileDialogRequest& r) {
    if (runtime::sessionEnding()) return std::nullopt;
    QFileDialog dialog(QApplication::activeWindow(), q(r.title), q(r.initialDirectory));
    QStringList filters;
    for (const auto& [description, pattern] : r.filters)
        filters << q(description) + " (" + q(pattern).replace(';', ' ') + ")";
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (r.filterIndex >= 1 && r.filterIndex <= filters.size())
            dialog.selectNameFilter(filters[r.filterIndex - 1]);
    }
    dialog.setDefaultSuffix(q(r.defaultExtension));
    if (r.isOpen) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // Without must-exist (or with create-prompt) the open dialog accepts a name that is not there yet.
        dialog.setFileMode(r.allowMultiSelect                   ? QFileDialog::ExistingFiles
                           : r.fileMustExist && !r.createPrompt ? QFileDialog::ExistingFile
                                                                : QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !r.overwritePrompt);
    }
    dialog.setOption(QFileDialog::ReadOnly, r.readOnly);
    if (!r.fileName.empty()) dialog.selectFile(q(r.fileName));
    int answer = QDialog::Rejected;
    {
        const runtime::NestedLoop nested;
        answer = dialog.exec();
    }
    if (answer != QDialog::Accepted || runtime::sessionEnding()) return std::nullopt;
    FileDialogResult result;
    for (const QString& f : dialog.selectedFiles())
        result.files.push_back(QDir::toNativeSeparators(f).toStdString());
    result.filterIndex = static_cast<int32_t>(filters.indexOf(dialog.selectedNameFilter()) + 1);
    if (result.filterIndex < 1) result.filterIndex = r.filterIndex;
    result.readOnly = r.readOnly;
    if (result.files.empty()) return std::nullopt;
    return result;
}

std::optional<ColourDialogResult> QtDialogService::ColourDialog(const ColourDialogRequest& r) {
    if (runtime::sessionEnding()) return std::nullopt;
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, toQColor(r.customColours[static_cast<std::size_t>(i)]));
    QColor chosen;
    {
        const runtime::NestedLoop nested;
        chosen = QColorDialog::getColor(toQColor(r.initialColour), QApplication::activeWindow());
    }
    ColourDialogResult result;
    for (int i = 0; i < 16; ++i)
        result.customColours[static_cast<std::size_t>(i)] = fromQColor(QColorDialog::customColor(i));
    if (!chosen.isValid() || runtime::sessionEnding()) return std::nullopt;
    result.colour = fromQColor(chosen);
    return result;
}

} // namespace ui
