// What the display's components read of the main window that composes them.
#pragma once

namespace display {

class DisplayShell {
public:
    virtual ~DisplayShell() = default;
    // The main window is minimised: nothing is drawn or lit meanwhile.
    virtual bool Minimised() const = 0;
};

} // namespace display
