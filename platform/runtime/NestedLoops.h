// Where the UI thread stands: the message loops running inside handlers, and the session's end, after
// which no dialog may wait for a person. UI thread only.
#pragma once

#include <cstdint>

namespace runtime {

// A message loop run inside a handler (a pump, a modal wait): a close that arrives meanwhile must wait
// until the handler beneath it has returned. DoEvents and MsgBox hold one while they run.
class NestedLoop {
public:
    NestedLoop();
    ~NestedLoop();
    NestedLoop(const NestedLoop&) = delete;
    NestedLoop& operator=(const NestedLoop&) = delete;
};
// The nested loops running now; 0 in the outermost event loop.
int32_t nestedLoops();

// Set once the desktop session ends. From then on MsgBox shows nothing: the trace log gets
// "title: prompt" and the caller gets sessionEndAnswer's answer.
bool sessionEnding();
void setSessionEnding(bool ending);

// The answer that commits to nothing, for a box nobody may answer: Cancel, No or Abort where the set of
// buttons (runtime::mb) has one, else its only button.
int32_t sessionEndAnswer(int32_t buttons);

} // namespace runtime
