// The top-level windows of an X server and the polite close request (WM_DELETE_WINDOW), over xcb.
#pragma once

#include <memory>
#include <string>

#include "platform/process/ProcessSystem.h"

namespace process {

class X11WindowSystem final : public WindowSystem {
public:
    // An empty display name means the one in $DISPLAY.
    explicit X11WindowSystem(std::string displayName = {});

    std::unique_ptr<WindowSession> open() override;

private:
    std::string displayName_;
};

} // namespace process
