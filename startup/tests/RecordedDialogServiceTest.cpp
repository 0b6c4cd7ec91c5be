// The test mode's dialogs: file dialogs answered from a file read anew at each dialog, message boxes
// given their first button, and the record of both that tests read back.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <ostream>

#include "frame/clsComDlg.h"
#include "platform/profile/SettingsStore.h"
#include "platform/profile/testing/TempFolder.h"
#include "platform/runtime/Hooks.h"
#include "platform/runtime/NestedLoops.h"
#include "startup/RecordedDialogService.h"

using profile::testing::TempFolder;
using startup::RecordedDialogService;

namespace {

// One file dialog: what is appended to the answers file just before it, what it asks, what it gets.
struct Step {
    std::string append;
    bool isOpen = true;
    std::string title;
    std::optional<std::string> file; // nothing: cancelled
    int32_t filterIndex = 1;
};

struct Case {
    const char* name;
    std::optional<std::string> answers; // nothing: no answers file at all
    std::vector<Step> steps;
    std::string record;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// Every request offers two filters and starts on the second, so an answer without an index keeps 2.
ui::FileDialogRequest requestFor(const Step& step) {
    ui::FileDialogRequest r;
    r.isOpen = step.isOpen;
    r.title = step.title;
    r.filters = {{"Wave files", "*.wav"}, {"All files", "*.*"}};
    r.filterIndex = 2;
    return r;
}

const Case kCases[] = {
    {"AnswersAreTakenInOrder",
     "/rec/one.wav\n/plans/two.bpl\n",
     {{"", false, "Save Recording", "/rec/one.wav", 2}, {"", true, "Open Band Plan", "/plans/two.bpl", 2}},
     "Save Recording\tfile save\t/rec/one.wav\nOpen Band Plan\tfile open\t/plans/two.bpl\n"},
    {"AnEmptyLineCancelsAndUsesUpItsAnswer",
     "\n/rec/after.wav\n",
     {{"", true, "Open", std::nullopt}, {"", true, "Open", "/rec/after.wav", 2}},
     "Open\tfile open\tcancel\nOpen\tfile open\t/rec/after.wav\n"},
    {"RunningOutCancelsAndAnAnswerAppendedLaterIsPickedUp",
     "/rec/first.wav\n",
     {{"", true, "Open", "/rec/first.wav", 2},
      {"", true, "Open", std::nullopt},
      {"/rec/late.wav\n", true, "Open", "/rec/late.wav", 2},
      {"", true, "Open", std::nullopt}},
     "Open\tfile open\t/rec/first.wav\nOpen\tfile open\tno answer\nOpen\tfile open\t/rec/late.wav\n"
     "Open\tfile open\tno answer\n"},
    {"AHalfWrittenLineIsNotTakenUntilItEnds",
     "/rec/one.wav\n/rec/tw",
     {{"", true, "Open", "/rec/one.wav", 2},
      {"", true, "Open", std::nullopt},
      {"o.wav\n", true, "Open", "/rec/two.wav", 2}},
     "Open\tfile open\t/rec/one.wav\nOpen\tfile open\tno answer\nOpen\tfile open\t/rec/two.wav\n"},
    {"AFilterIndexAfterATabIsChosenAndOneOutOfRangeCancels",
     "/rec/a.wav\t1\n/rec/b.wav\t3\n/rec/c.wav\tx\n/rec/d.wav\n",
     {{"", false, "Save", "/rec/a.wav", 1},
      {"", false, "Save", std::nullopt},
      {"", false, "Save", std::nullopt},
      {"", false, "Save", "/rec/d.wav", 2}},
     "Save\tfile save\t/rec/a.wav\t1\nSave\tfile save\tbad answer: /rec/b.wav\t3\n"
     "Save\tfile save\tbad answer: /rec/c.wav\tx\nSave\tfile save\t/rec/d.wav\n"},
    {"WindowsLineEndsAreTakenAsLineEnds",
     "/rec/one.wav\r\n\r\n",
     {{"", true, "Open", "/rec/one.wav", 2}, {"", true, "Open", std::nullopt}},
     "Open\tfile open\t/rec/one.wav\nOpen\tfile open\tcancel\n"},
    {"WithoutAnAnswersFileEveryFileDialogIsCancelled",
     std::nullopt,
     {{"", true, "Line one\nLine two", std::nullopt}},
     "Line one\\nLine two\tfile open\tno answer\n"},
};

class FileDialogAnswers : public ::testing::TestWithParam<Case> {};

TEST_P(FileDialogAnswers, AnswersAndRecords) {
    const Case& c = GetParam();
    TempFolder root;
    if (c.answers) root.write("answers", *c.answers);
    RecordedDialogService service(root.file("record"), root.file("answers"));
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
        const Step& step = c.steps[i];
        SCOPED_TRACE("dialog " + std::to_string(i));
        if (!step.append.empty())
            std::ofstream(root.file("answers"), std::ios::binary | std::ios::app) << step.append;
        const auto result = service.FileDialog(requestFor(step));
        ASSERT_EQ(result.has_value(), step.file.has_value());
        if (!result) continue;
        EXPECT_EQ(result->files, std::vector<std::string>{*step.file});
        EXPECT_EQ(result->filterIndex, step.filterIndex);
    }
    EXPECT_EQ(root.read("record"), c.record);
}

INSTANTIATE_TEST_SUITE_P(Cases, FileDialogAnswers, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RecordedDialogs, MessageBoxesGetTheirFirstButtonAndAreRecordedWithTheirLineBreaksWritten) {
    namespace mb = runtime::mb;
    const struct {
        int32_t buttons;
        int32_t answer;
    } kButtons[] = {{mb::kOkOnly, mb::kOk},
                    {mb::kOkCancel | mb::kQuestion, mb::kOk},
                    {mb::kAbortRetryIgnore, mb::kAbort},
                    {mb::kYesNoCancel | mb::kExclamation, mb::kYes},
                    {mb::kYesNo, mb::kYes},
                    {mb::kRetryCancel | mb::kCritical, mb::kRetry}};
    TempFolder root;
    RecordedDialogService service(root.file("record"), "");
    std::string expected;
    for (const auto& b : kButtons) {
        EXPECT_EQ(service.MsgBox("Line one\r\nLine two", b.buttons, "NerixSDR"), b.answer) << b.buttons;
        expected += "NerixSDR\t" + std::to_string(b.buttons) + "\tLine one\\r\\nLine two\n";
    }
    EXPECT_EQ(root.read("record"), expected);
}

// The program's own file dialogs go through the common dialog wrapper: a save answered from the file
// gives the caller the path, its name and the filter chosen.
TEST(RecordedDialogs, APopupMenuTakesOnlyAMenuAnswerAndChoosesTheChoosableItemOfItsCaption) {
    TempFolder root;
    root.write("answers", "menu\tEdit Preset\n/rec/one.wav\nmenu\tEdit Preset\nmenu\tSave to Preset\n");
    RecordedDialogService service(root.file("record"), root.file("answers"));
    const std::vector<ui::MenuItem> items{"Save to Preset", "-", ui::MenuItem("Edit Preset", true)};
    const std::vector<ui::MenuItem> editGreyed{"Save to Preset", "-", ui::MenuItem("Edit Preset", false)};
    EXPECT_EQ(service.PopupMenu(items), 2); // separators count
    // A file dialog's answer is left to the file dialog.
    EXPECT_EQ(service.PopupMenu(items), -1);
    ui::FileDialogRequest open;
    open.title = "Open";
    const auto file = service.FileDialog(open);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->files, std::vector<std::string>{"/rec/one.wav"});
    // A greyed item cannot be chosen: the answer is used up all the same.
    EXPECT_EQ(service.PopupMenu(editGreyed), -1);
    EXPECT_EQ(service.PopupMenu(editGreyed), 0);
    EXPECT_EQ(service.PopupMenu(items), -1); // the answers ran out
    EXPECT_EQ(root.read("record"), "popup menu\tEdit Preset\nOpen\tfile open\t/rec/one.wav\n"
                                   "popup menu\tbad answer: Edit Preset\npopup menu\tSave to Preset\n");
}

TEST(RecordedDialogs, TheCommonDialogWrapperGetsTheAnsweredPath) {
    TempFolder root;
    root.write("answers", root.file("rec/take one.wav") + "\t2\n");
    RecordedDialogService service("", root.file("answers"));
    profile::MemorySettingsStore store;
    clsComDlg dlg(service, store);
    dlg.setDialogTitle("Save Recording");
    dlg.setFilter("Wave files|*.wav|All files|*.*");
    ASSERT_TRUE(dlg.ShowSave());
    EXPECT_EQ(dlg.FileName(), root.file("rec/take one.wav"));
    EXPECT_EQ(dlg.FileTitle(), "take one.wav");
    EXPECT_EQ(dlg.FilterIndex(), 2);
    EXPECT_FALSE(dlg.ShowOpen()); // the answers ran out
    EXPECT_FALSE(std::filesystem::exists(root.file("record")));
}

} // namespace

// Once the session ends the test mode answers as the real service does: nothing recorded, no answer used
// up, message boxes given the answer that commits to nothing with their question traced.
TEST(RecordedDialogs, OnceTheSessionEndsNothingIsRecordedOrTakenAndBoxesAreAnsweredNo) {
    TempFolder root;
    root.write("answers", "/rec/one.wav\nmenu\tStore\n");
    RecordedDialogService service(root.file("record"), root.file("answers"));
    std::vector<std::string> lines;
    runtime::ScopedHooks hooks{{.addLog = [&](const std::string& l) { lines.push_back(l); }}};
    runtime::setSessionEnding(true);
    const int32_t save = service.MsgBox("Save it ?", runtime::mb::kYesNo, "NerixSDR");
    const bool chosen = service.FileDialog({}).has_value();
    const int32_t item = service.PopupMenu({"Store"});
    runtime::setSessionEnding(false);
    EXPECT_EQ(save, runtime::mb::kNo);
    EXPECT_FALSE(chosen);
    EXPECT_EQ(item, -1);
    EXPECT_EQ(lines, std::vector<std::string>{"NerixSDR: Save it ?"});
    EXPECT_FALSE(std::ifstream(root.file("record")).good());
    // The answers wait for the dialogs after.
    const auto after = service.FileDialog({});
    ASSERT_TRUE(after);
    EXPECT_EQ(after->files, std::vector<std::string>{"/rec/one.wav"});
}
