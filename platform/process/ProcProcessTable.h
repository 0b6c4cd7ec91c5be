// The process list and process identities read from /proc, and SIGTERM that cannot hit a reused pid.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/process/ProcessSystem.h"

namespace process {

class ProcProcessTable final : public ProcessTable {
public:
    // procRoot lets tests point the list at a folder that is not there.
    explicit ProcProcessTable(std::string procRoot = "/proc");

    std::optional<std::vector<ProcessNames>> list() const override;
    std::optional<ProcessIdentity> identify(Pid pid) const override;
    bool terminate(const ProcessIdentity& target) override;

private:
    std::string root_;
};

namespace procfs {

// The start time (field 22) of a /proc/<pid>/stat line; nullopt when the line does not have one.
std::optional<uint64_t> parseStartTime(std::string_view statLine);
// The file name in the target of /proc/<pid>/exe, without the mark of a deleted file.
std::string exeFileName(std::string_view linkTarget);
// The file name of the first word (argv[0]) of the NUL-separated /proc/<pid>/cmdline.
std::string commandFileName(std::string_view cmdline);

} // namespace procfs

} // namespace process
