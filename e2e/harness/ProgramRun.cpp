#include "e2e/harness/ProgramRun.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace e2e {

namespace {

fs::path makeTemporary(const char* stem) {
    std::string pattern = (fs::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw HarnessError("mkdtemp");
    return pattern;
}

std::vector<std::string> lines(const fs::path& file) {
    std::vector<std::string> out;
    std::istringstream in(readFile(file));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line);
    }
    return out;
}

// What /proc shows of a process's progress: its state letter and its threads' CPU time in clock ticks.
struct Progress {
    char state = '?';
    long long ticks = -1;
};

Progress progressOf(pid_t pid) {
    const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) return {};
    std::istringstream fields(stat.substr(close + 2));
    Progress p;
    std::string skip;
    long long user = 0, system = 0;
    fields >> p.state;
    // utime and stime are the 12th and 13th fields after the state.
    for (int i = 0; i < 10; ++i)
        fields >> skip;
    fields >> user >> system;
    if (fields) p.ticks = user + system;
    return p;
}

std::uintmax_t sizeOf(const fs::path& file) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(file, error);
    return error ? 0 : size;
}

} // namespace

Servers* Servers::get(std::string* why) {
    static std::unique_ptr<Servers> servers;
    static std::string failure;
    static bool tried = false;
    if (!tried) {
        tried = true;
        const std::string missing = missingPrograms({"Xvfb", "pulseaudio", "pactl", "pacat"});
        if (!missing.empty())
            failure = "not installed: " + missing;
        else
            try {
                servers.reset(new Servers());
            } catch (const std::exception& e) {
                failure = e.what();
            }
    }
    if (why) *why = failure;
    return servers.get();
}

Servers::Servers() : folder_(makeTemporary("nerix-e2e-servers")) {
    x_ = std::make_unique<XServer>();
    sound_ = std::make_unique<SoundServer>(folder_);
    screen_ = std::make_unique<Screen>(x_->display());
}

Servers::~Servers() {
    screen_.reset();
    sound_.reset();
    x_.reset();
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

Sandbox::Sandbox() : root_(makeTemporary("nerix-e2e")) {
    for (const char* d : {"home", "config/NerixSDR", "files"})
        fs::create_directories(root_ / d);
    for (const auto& e : fs::directory_iterator(Program::dataFolder())) {
        std::string ext = e.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        if (ext == ".bpl") fs::copy_file(e.path(), home() / e.path().filename());
    }
}

Sandbox::~Sandbox() {
    std::error_code ignored;
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(root_, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
}

void Sandbox::writeSettings(const std::string& ini) const {
    writeFile(settingsFile(), ini);
}

void Sandbox::addBandPlan(const std::string& name, const std::string& text) const {
    writeFile(home() / name, text);
}

void Sandbox::answerFileDialog(const std::string& path) const {
    std::ofstream(root_ / "answers", std::ios::binary | std::ios::app) << path << '\n';
}

void Sandbox::answerPopupMenu(const std::string& caption) const {
    answerFileDialog("menu\t" + caption);
}

std::vector<std::string> Sandbox::dialogs() const {
    return lines(root_ / "dialogs");
}

std::vector<std::string> Sandbox::trace() const {
    return lines(traceFile());
}

void Sandbox::enter() const {
    setEnv("NERIXSDR_HOME", home().string());
    setEnv("XDG_CONFIG_HOME", (root_ / "config").string());
    setEnv("XDG_CACHE_HOME", (root_ / "cache").string()); // the program's measured FFT plans
    if (dialogsWaitForAPerson) {
        ::unsetenv("NERIXSDR_DIALOG_RECORD");
        ::unsetenv("NERIXSDR_DIALOG_ANSWERS");
    } else {
        setEnv("NERIXSDR_DIALOG_RECORD", (root_ / "dialogs").string());
        setEnv("NERIXSDR_DIALOG_ANSWERS", (root_ / "answers").string());
    }
    // The first serial port names a device that is not there, so no test ever opens a real one.
    setEnv("NERIX_COM1", (root_ / "no-serial-port").string());
    // A sanitized program reports only its own leaks, as the test command runs it.
    if (!std::getenv("LSAN_OPTIONS")) setEnv("LSAN_OPTIONS", "suppressions=" NERIX_LSAN_SUPPRESSIONS);
}

std::string softRockSettings(bool autoStart, const std::string& more) {
    return std::string("[frmMain]\r\nSDRModelNo=13\r\nAutoStartSDR=") + (autoStart ? "True" : "False") +
           "\r\n" + more;
}

Program::Program(const Sandbox& sandbox, const std::vector<std::string>& arguments) {
    sandbox.enter();
    std::vector<std::string> argv{path()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    child_ = std::make_unique<ChildProcess>(
        path(), argv, process::testing::Redirects{.error = (sandbox.root() / "stderr").string()});
}

Program::~Program() {
    if (running()) {
        stop(*child_);
    }
}

std::optional<int> Program::waitForEndOfClose(const Sandbox& sandbox, std::string* why) {
    return waitWhileProgressing(*child_, sandbox.traceFile(), why);
}

std::optional<int> waitWhileProgressing(ChildProcess& child, const fs::path& trace, std::string* why,
                                        std::chrono::milliseconds stall, std::chrono::milliseconds ceiling) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto lastProgress = start;
    Progress last = progressOf(child.pid());
    std::uintmax_t traced = sizeOf(trace);
    for (;;) {
        if (const auto status = child.waitFor(50ms)) return status;
        const auto now = Clock::now();
        const Progress p = progressOf(child.pid());
        const std::uintmax_t size = sizeOf(trace);
        // R: running or waiting for a core; D: waiting for the disk.
        if (p.state == 'R' || p.state == 'D' || p.ticks != last.ticks || size != traced) lastProgress = now;
        last = p;
        traced = size;
        const auto seconds = [](auto d) { return std::to_string(std::chrono::duration<double>(d).count()); };
        if (now - lastProgress > stall) {
            if (why)
                *why = "no progress for " + seconds(now - lastProgress) + " s (state " + p.state + ", " +
                       std::to_string(p.ticks) + " CPU ticks)";
            return std::nullopt;
        }
        if (now - start > ceiling) {
            if (why) *why = "still running after " + seconds(now - start) + " s, state " + p.state;
            return std::nullopt;
        }
    }
}

std::vector<ProcessEntry> processes() {
    std::vector<ProcessEntry> all;
    for (const auto& e : fs::directory_iterator("/proc")) {
        const std::string name = e.path().filename().string();
        if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit)) continue;
        const std::string stat = readFile(e.path() / "stat");
        // The command may hold blanks and parentheses; the fields after its last ")" are plain.
        const size_t close = stat.rfind(')');
        if (close == std::string::npos) continue;
        ProcessEntry p;
        p.pid = std::stoi(name);
        p.name = stat.substr(0, close + 1);
        std::istringstream fields(stat.substr(close + 2));
        fields >> p.state >> p.parent;
        all.push_back(std::move(p));
    }
    return all;
}

std::string Program::path() {
    return NERIX_E2E_PROGRAM;
}

fs::path Program::dataFolder() {
    return fs::path(NERIX_E2E_PROGRAM).parent_path();
}

bool waitForLine(const fs::path& file, const std::string& line, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        const auto all = lines(file);
        if (std::find(all.begin(), all.end(), line) != all.end()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
}

fs::path screenshotFolder() {
    const fs::path folder = NERIX_E2E_ARTEFACTS;
    fs::create_directories(folder);
    return folder;
}

} // namespace e2e
