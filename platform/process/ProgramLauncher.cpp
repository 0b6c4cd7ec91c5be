// The program start over posix_spawn.
#include "platform/process/ProgramLauncher.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace process {

namespace {

// Owns the spawn attributes so every way out releases them.
struct FileActions {
    posix_spawn_file_actions_t a{};
    bool ok = posix_spawn_file_actions_init(&a) == 0;
    ~FileActions() {
        if (ok) posix_spawn_file_actions_destroy(&a);
    }
};

} // namespace

Pid SpawnLauncher::Start(const LaunchRequest& r) {
    if (r.Program.empty()) return 0;
    FileActions fa;
    if (!fa.ok) return 0;
    if (posix_spawn_file_actions_addopen(&fa.a, 0, "/dev/null", O_RDONLY, 0) != 0) return 0;
    if (posix_spawn_file_actions_addclosefrom_np(&fa.a, 3) != 0) return 0;
    if (!r.WorkingDirectory.empty() &&
        posix_spawn_file_actions_addchdir_np(&fa.a, r.WorkingDirectory.c_str()) != 0)
        return 0;

    std::vector<std::string> words;
    words.reserve(r.Args.size() + 1);
    words.push_back(r.Program);
    words.insert(words.end(), r.Args.begin(), r.Args.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    if (posix_spawn(&pid, r.Program.c_str(), &fa.a, nullptr, argv.data(), environ) != 0) return 0;
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return pid;
}

std::vector<std::string> splitArguments(std::string_view text) {
    std::vector<std::string> out;
    std::string word;
    bool inWord = false, quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord) out.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) out.push_back(std::move(word));
    return out;
}

} // namespace process
