// The common dialog wrapper over a scripted dialog service: flags, filters, extensions, results, cancel
// and the custom colours' round trip through the settings store.
#include <gtest/gtest.h>

#include <functional>

#include "frame/clsComDlg.h"
#include "platform/runtime/RuntimeError.h"
#include "platform/ui/testing/ScriptedDialogService.h"

namespace {

using ui::FileDialogResult;

struct ComDlg : ::testing::Test {
    ui::testing::ScriptedDialogService dialogs;
    profile::MemorySettingsStore store;

    void choose(std::vector<std::string> files, int32_t filterIndex = 1) {
        dialogs.fileAnswers.push_back(FileDialogResult{std::move(files), filterIndex, false});
    }
};

TEST_F(ComDlg, CreationSetsTheNameAndExplorerFlags) {
    clsComDlg dlg(dialogs, store);
    EXPECT_EQ(dlg.Name, "ComDlg");
    EXPECT_EQ(dlg.Flags(), clsComDlg::OFN_EXPLORER | clsComDlg::OFN_LONGNAMES | clsComDlg::OFN_HIDEREADONLY);
    EXPECT_EQ(dlg.FileName(), "");
}

TEST_F(ComDlg, FlagSettersSetAndClearTheirBits) {
    using C = clsComDlg;
    const struct {
        const char* setter;
        std::function<void(C&, bool)> set;
        int32_t bit;
        bool setsWhenTrue;
    } cases[] = {
        {"AllowMultiSelect", [](C& d, bool v) { d.setAllowMultiSelect(v); }, C::OFN_ALLOWMULTISELECT, true},
        {"RestoreCurDir", [](C& d, bool v) { d.setRestoreCurDir(v); }, C::OFN_NOCHANGEDIR, true},
        {"ReadOnlyIsVisible", [](C& d, bool v) { d.setReadOnlyIsVisible(v); }, C::OFN_HIDEREADONLY, false},
        {"ReadOnly", [](C& d, bool v) { d.setReadOnly(v); }, C::OFN_READONLY, true},
    };
    for (const auto& c : cases) {
        clsComDlg dlg(dialogs, store);
        c.set(dlg, true);
        EXPECT_EQ((dlg.Flags() & c.bit) != 0, c.setsWhenTrue) << c.setter;
        c.set(dlg, false);
        EXPECT_EQ((dlg.Flags() & c.bit) != 0, !c.setsWhenTrue) << c.setter;
    }
    // A ticked read-only box is shown even while hidden was asked for.
    clsComDlg dlg(dialogs, store);
    dlg.setReadOnly(true);
    dialogs.fileAnswers.push_back(std::nullopt);
    dlg.ShowOpen();
    EXPECT_TRUE(dialogs.fileRequests.back().showReadOnly);
    EXPECT_EQ(dlg.Flags() & C::OFN_HIDEREADONLY, 0);
}

TEST_F(ComDlg, DefaultExtensionRules) {
    const struct {
        const char* given;
        const char* expected;
    } cases[] = {{".wav", "wav"}, {"*.wav", "wav"}, {"*.thm", "thm"}, {"WAVE", "wav"}, {"..", ""}, {"*", ""}};
    clsComDlg dlg(dialogs, store);
    for (const auto& c : cases) {
        dlg.setExtension(c.given);
        EXPECT_EQ(dlg.DefaultExtension(), c.expected) << c.given;
    }
}

TEST_F(ComDlg, FilterTextBecomesPairsAndReadsBackTheSelectedPair) {
    clsComDlg dlg(dialogs, store);
    dlg.setFilter("Sound Files (*.wav)|*.wav|All Files (*.*)|*.*");
    EXPECT_EQ(dlg.Filter(), ""); // index 0
    choose({"/rec/a.wav"}, 2);
    ASSERT_TRUE(dlg.ShowOpen());
    const auto& r = dialogs.fileRequests.back();
    ASSERT_EQ(r.filters.size(), 2u);
    EXPECT_EQ(r.filters[0], std::make_pair(std::string("Sound Files (*.wav)"), std::string("*.wav")));
    EXPECT_EQ(r.filters[1].second, "*.*");
    EXPECT_EQ(dlg.FilterIndex(), 2);
    EXPECT_EQ(dlg.Filter(), "All Files (*.*)|*.*");
    dlg.setFilterIndex(3);
    EXPECT_THROW(dlg.Filter(), runtime::RuntimeError);
    dlg.clearFilter();
    dlg.setFilterIndex(1);
    EXPECT_EQ(dlg.Filter(), "|");
}

TEST_F(ComDlg, FlagBitsStayButEachDialogAppliesOnlyItsOwn) {
    clsComDlg dlg(dialogs, store);
    dlg.setExistFlags(clsComDlg::OFN_FILEMUSTEXIST);
    choose({"/t/a.thm"});
    ASSERT_TRUE(dlg.ShowOpen());
    EXPECT_TRUE(dialogs.fileRequests.back().fileMustExist);

    // A must-exist bit left from the open dialog never blocks a save.
    choose({"/t/b.thm"});
    ASSERT_TRUE(dlg.ShowSave());
    EXPECT_FALSE(dialogs.fileRequests.back().fileMustExist);
    EXPECT_TRUE(dialogs.fileRequests.back().overwritePrompt);
    EXPECT_TRUE(dialogs.fileRequests.back().pathMustExist);

    // The open dialog after the save keeps the save's bits in the word, without prompting to overwrite.
    dlg.setExistFlags(clsComDlg::OFN_CREATEPROMPT);
    choose({"/t/c.thm"});
    ASSERT_TRUE(dlg.ShowOpen());
    const int32_t all = clsComDlg::OFN_FILEMUSTEXIST | clsComDlg::OFN_CREATEPROMPT |
                        clsComDlg::OFN_PATHMUSTEXIST | clsComDlg::OFN_OVERWRITEPROMPT;
    EXPECT_EQ(dlg.Flags() & all, all);
    const auto& r = dialogs.fileRequests.back();
    EXPECT_FALSE(r.overwritePrompt);
    EXPECT_TRUE(r.createPrompt);
    EXPECT_FALSE(r.fileMustExist); // a create prompt outranks must-exist

    // A caller that wants none of the bits for its dialog clears them; the save's overwrite bit stays.
    dlg.clearExistFlags();
    choose({"/t/dummy.wav"});
    ASSERT_TRUE(dlg.ShowOpen());
    EXPECT_FALSE(dialogs.fileRequests.back().fileMustExist);
    EXPECT_FALSE(dialogs.fileRequests.back().createPrompt);
    EXPECT_FALSE(dialogs.fileRequests.back().pathMustExist);
    EXPECT_EQ(dlg.Flags() & all, clsComDlg::OFN_OVERWRITEPROMPT);
}

TEST_F(ComDlg, ResultsOfOneFile) {
    const struct {
        const char* chosen;
        const char* directory;
        const char* title;
    } cases[] = {{"C:\\a.thm", "C:\\", "a.thm"},
                 {"C:\\Themes\\Dark\\b.thm", "C:\\Themes\\Dark", "b.thm"},
                 {"/home/u/rec/c.wav", "/home/u/rec", "c.wav"},
                 {"/d.wav", "/", "d.wav"}};
    for (const auto& c : cases) {
        clsComDlg dlg(dialogs, store);
        choose({c.chosen});
        ASSERT_TRUE(dlg.ShowOpen());
        EXPECT_EQ(dlg.FileName(), c.chosen);
        EXPECT_EQ(dlg.Directory(), c.directory) << c.chosen;
        EXPECT_EQ(dlg.FileTitle(), c.title);
        EXPECT_EQ(dlg.FileTitles().back(), c.title);
        EXPECT_EQ(dlg.FileNames().back(), c.chosen);
    }
}

TEST_F(ComDlg, NameWithoutExtensionKeepsThePreviousExtension) {
    clsComDlg dlg(dialogs, store);
    choose({"/r/a.wav"});
    ASSERT_TRUE(dlg.ShowOpen());
    choose({"/r/noext"});
    ASSERT_TRUE(dlg.ShowOpen());
    EXPECT_EQ(dlg.Extension(), "wav");
    EXPECT_EQ(dlg.FileName(), "/r/noext");
}

TEST_F(ComDlg, CancelLeavesResultsAndReturnsFalse) {
    clsComDlg dlg(dialogs, store);
    choose({"/r/a.wav"});
    ASSERT_TRUE(dlg.ShowOpen());
    dialogs.fileAnswers.push_back(std::nullopt);
    EXPECT_FALSE(dlg.ShowSave());
    EXPECT_EQ(dlg.FileName(), "/r/a.wav");
    EXPECT_EQ(dlg.Directory(), "/r");
    EXPECT_EQ(dlg.FileNames().size(), 1u);
}

TEST_F(ComDlg, FileNameOver260CharactersIsIgnoredAndSettingsCarryOver) {
    clsComDlg dlg(dialogs, store);
    dlg.setFileName("keep.wav");
    dlg.setFileName(std::string(261, 'x'));
    dlg.setDialogTitle("Record to");
    dlg.setDirectory("/rec");
    dialogs.fileAnswers.push_back(std::nullopt);
    dlg.ShowSave();
    dialogs.fileAnswers.push_back(std::nullopt);
    dlg.ShowOpen();
    const auto& r = dialogs.fileRequests.back();
    EXPECT_EQ(r.fileName, "keep.wav");
    EXPECT_EQ(r.title, "Record to");
    EXPECT_EQ(r.initialDirectory, "/rec");
}

TEST_F(ComDlg, SeveralFilesFillTheListsAndEmptyTheFileName) {
    clsComDlg dlg(dialogs, store);
    dlg.setAllowMultiSelect(true);
    choose({"/r/a.wav", "/r/b.wav"});
    ASSERT_TRUE(dlg.ShowOpen());
    EXPECT_TRUE(dialogs.fileRequests.back().allowMultiSelect);
    EXPECT_EQ(dlg.FileName(), "");
    EXPECT_EQ(dlg.Directory(), "/r");
    EXPECT_EQ(dlg.FileTitles(), (std::vector<std::string>{"a.wav", "b.wav"}));
    EXPECT_EQ(dlg.FileNames(), (std::vector<std::string>{"/r/a.wav", "/r/b.wav"}));
}

TEST_F(ComDlg, ColourCancelReturnsMinusOne) {
    clsComDlg dlg(dialogs, store);
    dialogs.colourAnswers.push_back(std::nullopt);
    EXPECT_EQ(dlg.SelectColour(nullptr, 0x123456, true), -1);
    EXPECT_TRUE(dialogs.colourRequests.back().fullOpen);
    EXPECT_EQ(dialogs.colourRequests.back().initialColour, 0x123456);
}

TEST_F(ComDlg, CustomColoursRoundTripThroughTheStore) {
    {
        clsComDlg dlg(dialogs, store);
        for (int32_t c : dlg.CustomColours)
            EXPECT_EQ(c, 16777215);
        ui::ColourDialogResult chosen;
        chosen.colour = 0x00FF00;
        chosen.customColours.fill(16777215);
        chosen.customColours[3] = 0x0000FF;
        dialogs.colourAnswers.push_back(chosen);
        EXPECT_EQ(dlg.SelectColour(nullptr, 0, false), 0x00FF00);
        // Saved at once, not only when the object goes.
        EXPECT_EQ(store.GetSetting("NerixSDR", "comdlg", "CustomColour(3)"), "255");
    }
    store.SaveSetting("NerixSDR", "ComDlg", "CustomColour(5)", "not a colour");
    clsComDlg again(dialogs, store);
    EXPECT_EQ(again.CustomColours[3], 0x0000FF);
    EXPECT_EQ(again.CustomColours[5], 16777215);
    EXPECT_EQ(dialogs.unexpected, 0);
}

} // namespace
