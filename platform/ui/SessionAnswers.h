// The end of the desktop session answers every dialog that waits for a person, so the close that follows
// is never held up by a box nobody will answer.
#pragma once

namespace ui {

// The Qt property a form carries while ShowModal or ShowAndWait waits on it.
extern const char* const kWaitingProperty;

// Closes what is up: popup menus, message boxes (answered No, Cancel or their only button by the dialog
// service), other dialogs rejected, and forms a caller waits on closed. UI thread only.
void answerDialogsForSessionEnd();

// Marks the session as ending, so no dialog waits from now on, and answers those that are up.
void beginSessionEnd();

} // namespace ui
