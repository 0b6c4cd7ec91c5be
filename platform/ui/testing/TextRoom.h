// What a window shows a person, measured: each caption in its control's own font against the room the
// control gives it, and each visible control against the others it would cover.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace ui::testing {

// A deliberate exception, with its reason: two controls the design stacks (a control stands for itself
// and everything inside it), or, with second null, a control whose caption may run past its room.
struct Allowance {
    const QWidget* first = nullptr;
    const QWidget* second = nullptr;
    std::string why;
};

// One line per fault, naming the control (its kind, caption and place in the window) and what is wrong:
// a caption wider or taller than its room (labels, buttons, option and check boxes, frames' captions
// and tabs), a caption cut by the edge of a container or covered by a control inside its frame, or two
// visible controls that overlap. Windows inside the window are walked on their own.
std::vector<std::string> textRoomFaults(const QWidget& window, const std::vector<Allowance>& allowed = {});

} // namespace ui::testing
