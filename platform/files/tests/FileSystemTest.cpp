// The Linux file layer: offsets, replacing renames and the injected faults tests rely on.
#include "platform/files/FileSystem.h"
#include "platform/files/testing/FaultyFileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("nerix-files-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const char* name) const { return (dir_ / name).string(); }
    static std::string slurp(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static void put(const std::string& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }

    fs::path dir_;
    files::PosixFileSystem real_;
};

std::span<const uint8_t> bytes(const std::string& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

TEST_F(FileSystemTest, WritesAndReadsAtOffsets) {
    std::unique_ptr<files::File> f;
    ASSERT_EQ(real_.create(path("a"), f), 0);
    std::size_t n = 0;
    ASSERT_EQ(f->writeAt(4, bytes("WXYZ"), n), 0);
    EXPECT_EQ(n, 4u);
    int64_t len = 0;
    ASSERT_EQ(f->size(len), 0);
    EXPECT_EQ(len, 8);
    uint8_t buf[16];
    ASSERT_EQ(f->readAt(6, buf, n), 0);
    EXPECT_EQ(n, 2u) << "a read at the end returns what is there";
    ASSERT_EQ(f->truncate(5), 0);
    ASSERT_EQ(f->close(), 0);
    EXPECT_EQ(slurp(path("a")), std::string("\0\0\0\0W", 5));
}

TEST_F(FileSystemTest, OpeningForUpdateKeepsWhatTheFileHolds) {
    put(path("u"), "header+samples");
    std::unique_ptr<files::File> f;
    ASSERT_EQ(real_.openUpdate(path("u"), f), 0);
    std::size_t n = 0;
    ASSERT_EQ(f->writeAt(14, bytes("+log"), n), 0);
    ASSERT_EQ(f->writeAt(0, bytes("H"), n), 0);
    ASSERT_EQ(f->close(), 0);
    EXPECT_EQ(slurp(path("u")), "Header+samples+log");
}

TEST_F(FileSystemTest, MissingFileReportsFileNotFound) {
    std::unique_ptr<files::File> f;
    EXPECT_EQ(real_.openRead(path("none"), f), 53);
    EXPECT_EQ(f, nullptr);
    EXPECT_EQ(real_.openUpdate(path("none"), f), 53);
    EXPECT_FALSE(real_.exists(path("none"))) << "an update never creates the file";
    EXPECT_EQ(real_.remove(path("none")), 53);
}

TEST_F(FileSystemTest, RenameAndCopyReplaceAnExistingTarget) {
    put(path("new"), "new");
    put(path("old"), "old contents");
    ASSERT_EQ(real_.rename(path("new"), path("old")), 0);
    EXPECT_EQ(slurp(path("old")), "new");
    EXPECT_FALSE(real_.exists(path("new")));

    put(path("src"), "copied");
    ASSERT_EQ(files::copyReplace(path("src"), path("old")), 0);
    EXPECT_EQ(slurp(path("old")), "copied");
    EXPECT_FALSE(real_.exists(path("old") + ".part"));
}

TEST_F(FileSystemTest, InjectedWriteFaultsLandThePartBeforeTheFault) {
    files::testing::FaultyFileSystem faulty(real_);
    faulty.faults.failWritesAtByte = 6;
    std::unique_ptr<files::File> f;
    ASSERT_EQ(faulty.create(path("a"), f), 0);
    std::size_t n = 0;
    EXPECT_EQ(f->writeAt(0, bytes("0123456789"), n), files::err::kDiskFull);
    EXPECT_EQ(n, 6u);
    faulty.faults.failWritesAtByte = INT64_MAX;
    faulty.faults.shortWriteOnce = 2;
    EXPECT_NE(f->writeAt(0, bytes("abcd"), n), 0);
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(f->writeAt(0, bytes("abcd"), n), 0) << "the short write happens once";
    faulty.faults.closeError = 57;
    EXPECT_EQ(f->close(), 57);
    EXPECT_EQ(slurp(path("a")), "abcd45");
}

} // namespace
