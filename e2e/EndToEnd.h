// The fixture of every end-to-end test: the run's servers (skipped with the reason when they cannot be
// had, failed under CI=true), a sandbox of the test's own and the program started in it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "e2e/harness/Audio.h"
#include "e2e/harness/ContactSheet.h"
#include "e2e/harness/ProgramRun.h"

namespace e2e {

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        servers_ = Servers::get(&why);
        if (servers_) return;
        if (underCi())
            FAIL() << "the end-to-end run needs its servers under CI=true: " << why;
        else
            GTEST_SKIP() << "end-to-end run skipped: " << why;
    }

    Screen& screen() { return servers_->screen(); }

    // Starts the program and waits for its main window with the caption; fails the test when it never
    // comes.
    std::unique_ptr<Program> start(const std::vector<std::string>& arguments = {"trace"},
                                   const std::string& caption = kSoftRockCaption) {
        auto program = std::make_unique<Program>(sandbox_, arguments);
        main_ = screen().waitFor(caption, kBound);
        EXPECT_TRUE(main_) << "the main window never showed \"" << caption << "\"; stderr:\n"
                           << readFile(sandbox_.root() / "stderr");
        return program;
    }

    // Saves the picture of a window under the artefacts folder, lays the folder's pictures out on the
    // contact sheet again, and checks it is a picture of something.
    Picture photograph(const WindowOnScreen& w, const std::string& name) {
        // The toolkit paints a moment after a window changes.
        std::this_thread::sleep_for(400ms);
        const Picture p = screen().capture(w);
        EXPECT_TRUE(p.savePng((screenshotFolder() / (name + ".png")).string())) << name;
        EXPECT_TRUE(saveContactSheet(screenshotFolder())) << name;
        EXPECT_GE(p.colours(), 4) << name << " is blank";
        return p;
    }

    Servers* servers_ = nullptr;
    Sandbox sandbox_;
    std::optional<WindowOnScreen> main_;
};

} // namespace e2e
