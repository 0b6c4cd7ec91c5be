// The session's end answers each kind of dialog that is up through the Qt dialog service, and a waiting
// form, with the answer that commits to nothing; once it has ended, none is shown at all.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/NestedLoops.h"
#include "platform/ui/Form.h"
#include "platform/ui/QtDialogService.h"
#include "platform/ui/SessionAnswers.h"
#include "platform/ui/UiHooks.h"

namespace {

// The session ends once something waits for a person (or after a long while, which the test reports).
class EndWhenUp {
public:
    explicit EndWhenUp(std::function<bool()> up) : up_(std::move(up)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            ++ticks_;
            if (!up_() && ticks_ < 1000) return;
            wasUp = up_();
            nestedWhenUp = runtime::nestedLoops();
            timer_.stop();
            ui::beginSessionEnd();
        });
        timer_.start();
    }
    ~EndWhenUp() { runtime::setSessionEnding(false); }

    bool wasUp = false;
    int32_t nestedWhenUp = 0;

private:
    std::function<bool()> up_;
    QTimer timer_;
    int ticks_ = 0;
};

bool dialogUp() {
    return QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr;
}

struct SessionAnswers : ::testing::Test {
    ui::QtDialogService dialogs;
    std::vector<std::string> lines;
    ui::UiHooks hooks{dialogs, [this](const std::string& l) { lines.push_back(l); }};
};

TEST_F(SessionAnswers, EachDialogUpIsAnsweredByNoCancelOrItsOnlyButton) {
    const struct {
        const char* name;
        std::function<std::string()> show; // the answer, as text
        std::string answer;
        std::vector<std::string> traced;
    } cases[] = {
        {"a yes/no box",
         [] {
             return std::to_string(runtime::MsgBox("Current Recording Not Saved\r\nDo you want to Save it ?",
                                                   runtime::mb::kYesNo, "NerixSDR"));
         },
         std::to_string(runtime::mb::kNo),
         {"NerixSDR: Current Recording Not Saved\r\nDo you want to Save it ?"}},
        {"a box with one button",
         [this] {
             return std::to_string(dialogs.MsgBox("Unable to open Serial Interface COM1",
                                                  runtime::mb::kOkOnly | runtime::mb::kCritical, "Serial"));
         },
         std::to_string(runtime::mb::kOk),
         {"Serial: Unable to open Serial Interface COM1"}},
        {"a file dialog",
         [this] {
             ui::FileDialogRequest r;
             r.title = "Save Recording";
             return std::string(dialogs.FileDialog(r) ? "chosen" : "cancelled");
         },
         "cancelled",
         {}},
        {"a popup menu",
         [this] {
             return std::to_string(dialogs.PopupMenu({"Store", "Clear"}));
         },
         "-1",
         {}},
        {"an input box",
         [this] { return std::string(dialogs.InputBox("Name", "Preset", "x") ? "entered" : "cancelled"); },
         "cancelled",
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        lines.clear();
        EndWhenUp end(dialogUp);
        EXPECT_EQ(c.show(), c.answer);
        EXPECT_TRUE(end.wasUp) << "never shown";
        EXPECT_GE(end.nestedWhenUp, 1) << "not counted as a nested loop";
        EXPECT_EQ(lines, c.traced);
        EXPECT_EQ(runtime::nestedLoops(), 0);
    }
}

TEST_F(SessionAnswers, AFormWaitedOnIsClosedAndTheWaitEnds) {
    ui::Form form;
    EndWhenUp end([&] { return form.property(ui::kWaitingProperty).toBool() && form.isVisible(); });
    form.ShowAndWait();
    EXPECT_TRUE(end.wasUp);
    EXPECT_GE(end.nestedWhenUp, 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.property(ui::kWaitingProperty).toBool());
}

TEST_F(SessionAnswers, OnceTheSessionHasEndedNothingWaits) {
    runtime::setSessionEnding(true);
    ui::Form form;
    form.ShowAndWait();
    EXPECT_EQ(dialogs.MsgBox("Settings could not be saved", runtime::mb::kOkOnly, "NerixSDR"),
              runtime::mb::kOk);
    EXPECT_EQ(runtime::MsgBox("Save?", runtime::mb::kYesNo, "Recorder"), runtime::mb::kNo);
    EXPECT_FALSE(dialogs.FileDialog({}).has_value());
    EXPECT_FALSE(dialogs.ColourDialog({}).has_value());
    EXPECT_EQ(dialogs.PopupMenu({"Store"}), -1);
    runtime::setSessionEnding(false);
    EXPECT_EQ(lines, (std::vector<std::string>{"NerixSDR: Settings could not be saved", "Recorder: Save?"}));
}

} // namespace
