// Starting another program (the DRM decoder): no shell, only standard input, output and error inherited,
// and the child reaped when it ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/process/ProcessSystem.h"

namespace process {

struct LaunchRequest {
    std::string Program;           // the path as given, blanks and all
    std::vector<std::string> Args; // after the program's own name
    std::string WorkingDirectory;  // empty: the caller's
    int32_t ShowCode = 1;          // the first window's state asked for; recorded only (see below)
};

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // The new process's pid, or 0 when it could not be started (also when the file cannot be executed).
    virtual Pid Start(const LaunchRequest& request) = 0;
};

// posix_spawn: the exec's failure is reported, standard input is /dev/null, descriptors from 3 up are
// closed in the child (an inherited instance lock would block the receiver's next start), and a reaper
// thread waits for the child so no zombie stays. No Linux facility sets another program's first window
// state, so the show code is not applied.
class SpawnLauncher final : public ProgramLauncher {
public:
    Pid Start(const LaunchRequest& request) override;
};

// The user's argument text split at blanks and tabs; double quotes group (and are removed), nothing is
// expanded.
std::vector<std::string> splitArguments(std::string_view text);

} // namespace process
