// The trace log: off takes nothing, on starts the file anew with its first line, later lines exactly as
// given, Close hides, a read-only folder fails no caller, resize keeps the button at the bottom centre.
#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/ui/Twips.h"
#include "startup/frmLog.h"

namespace {

std::string readAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

struct TraceLog : ::testing::Test {
    QTemporaryDir dir;
    std::string folder() const { return dir.path().toStdString(); }
    std::string logPath() const { return folder() + "/NerixSDR.log"; }
};

TEST_F(TraceLog, OffTakesNoLinesAndNeverTouchesTheFile) {
    frmLog log(false, folder(), "NerixSDR");
    log.Load();
    log.AddLog("a line");
    EXPECT_EQ(log.lstLog.ListCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(logPath()));
}

TEST_F(TraceLog, OnReplacesAnOldFileAndWritesLinesAsGiven) {
    { std::ofstream(logPath()) << "old run\r\n"; }
    frmLog log(true, folder(), "NerixSDR");
    log.Load();
    EXPECT_EQ(log.Caption(), "NerixSDR Log Display");
    log.AddLog("frmSupervisor.Initialise : Start");
    log.AddLog(" spaced  text ");
    const std::string text = readAll(logPath());
    const std::string prefix = "NerixSDR Log File Started at Date=";
    ASSERT_EQ(text.rfind(prefix, 0), 0u) << text;
    const auto firstEnd = text.find("\r\n");
    const std::string first = text.substr(0, firstEnd);
    const std::string date =
        QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
    EXPECT_EQ(first.substr(prefix.size(), date.size()), date);
    EXPECT_NE(first.find(" Time=", prefix.size() + date.size() - 1), std::string::npos);
    EXPECT_EQ(text.substr(firstEnd + 2), "frmSupervisor.Initialise : Start\r\n spaced  text \r\n");
    EXPECT_EQ(text.find("old run"), std::string::npos);
    ASSERT_EQ(log.lstLog.ListCount(), 2);
    EXPECT_EQ(log.lstLog.List(1), " spaced  text ");
    EXPECT_EQ(log.lstLog.ListIndex(), 1);
}

TEST_F(TraceLog, ALineArrivingWhileOneIsAddedIsDropped) {
    frmLog log(true, folder(), "NerixSDR");
    log.Load();
    // Selecting the new row runs the list's click handler, which here logs again.
    log.lstLog.Click = [&] { log.AddLog("nested"); };
    log.AddLog("outer");
    log.lstLog.Click = nullptr;
    log.AddLog("next");
    ASSERT_EQ(log.lstLog.ListCount(), 2);
    EXPECT_EQ(log.lstLog.List(0), "outer");
    EXPECT_EQ(log.lstLog.List(1), "next");
    EXPECT_EQ(readAll(logPath()).find("nested"), std::string::npos);
}

TEST_F(TraceLog, CloseHidesAndLinesStillReachTheFile) {
    frmLog log(true, folder(), "NerixSDR");
    log.Show();
    log.cmdClose.setValue(true);
    EXPECT_TRUE(log.isHidden());
    log.AddLog("after close");
    EXPECT_NE(readAll(logPath()).find("after close\r\n"), std::string::npos);
}

TEST_F(TraceLog, UnwritableFolderFailsNoCallerAndIsNotedOnce) {
    if (geteuid() == 0) {
        // root writes anywhere: make the log path a folder, which no one can open as a file.
        std::filesystem::create_directory(logPath());
    } else {
        chmod(folder().c_str(), 0500);
    }
    frmLog log(true, folder(), "NerixSDR");
    log.Load();
    EXPECT_NO_THROW(log.AddLog("one"));
    EXPECT_NO_THROW(log.AddLog("two"));
    chmod(folder().c_str(), 0700);
    ASSERT_EQ(log.lstLog.ListCount(), 3);
    EXPECT_NE(log.lstLog.List(0).find("cannot be written"), std::string::npos);
    EXPECT_EQ(log.lstLog.List(1), "one");
    EXPECT_EQ(log.lstLog.List(2), "two");
}

// Without a folder there is no file at all, not even one in the working folder; the list still takes the
// lines, without a note of a file that could not be written.
TEST_F(TraceLog, WithoutAFolderTheLinesStayInTheList) {
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(folder());
    {
        frmLog log(true, "", "NerixSDR");
        log.Load();
        log.AddLog("one");
        EXPECT_TRUE(log.LogFilePath().empty());
        ASSERT_EQ(log.lstLog.ListCount(), 1);
        EXPECT_EQ(log.lstLog.List(0), "one");
    }
    std::filesystem::current_path(before);
    EXPECT_TRUE(std::filesystem::is_empty(folder()));
}

TEST_F(TraceLog, ResizeKeepsTheButtonAtTheBottomCentre) {
    frmLog log(true, folder(), "NerixSDR");
    log.Load();
    EXPECT_EQ(log.ScaleWidth(), 6660);
    EXPECT_EQ(log.ScaleHeight(), 4905);
    for (const auto& [w, h] : {std::pair{6000, 4500}, std::pair{3000, 150}}) {
        log.setClientSize(w, h);
        const int32_t bh = log.cmdClose.Height();
        EXPECT_EQ(log.cmdClose.Top(), h - bh);
        EXPECT_EQ(log.cmdClose.Left(), ui::twips(ui::pixels((w - log.cmdClose.Width()) / 2)));
        EXPECT_EQ(log.lstLog.Top(), 0);
        EXPECT_EQ(log.lstLog.Width(), w);
        EXPECT_EQ(log.lstLog.Height(), std::max(0, h - bh));
    }
}

} // namespace
