#include "app/core/base/LogFile.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using cb::app::TLogFile;

TEST(LogFile, AppendsAcrossOpensWithCrLfAndFlushesEachLine) {
    cbtest::TempDir dir;
    const std::string path = dir.file("cube_browser.log");
    {
        TLogFile log(path);
        ASSERT_TRUE(log.IsOpen());
        EXPECT_TRUE(log.WriteLine("first"));
        // Visible on disk before the log is closed.
        EXPECT_EQ(cbtest::readFile(path), "first\r\n");
    }
    {
        TLogFile log(path);
        EXPECT_TRUE(log.WriteLine("two\nlines"));
        EXPECT_TRUE(log.WriteLine(""));
        EXPECT_EQ(cbtest::readFile(path), "first\r\ntwo\nlines\r\n\r\n");
    }
    // Reopening an open log does not truncate either.
    TLogFile log(path);
    EXPECT_TRUE(log.Open());
    EXPECT_TRUE(log.WriteLine("third"));
    EXPECT_EQ(cbtest::readFile(path), "first\r\ntwo\nlines\r\n\r\nthird\r\n");
}

TEST(LogFile, UnusablePathsGiveALogThatNeverWrites) {
    cbtest::TempDir dir;
    for (const std::string& path :
         {std::string(), std::string(" \t"), dir.path().string(), dir.file("missing/dir/x.log")}) {
        TLogFile log(path);
        EXPECT_FALSE(log.IsOpen()) << path;
        EXPECT_FALSE(log.Open()) << path;
        EXPECT_FALSE(log.WriteLine("lost")) << path;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

TEST(LogFile, ClosedLogRefusesWrites) {
    cbtest::TempDir dir;
    TLogFile log(dir.file("a.log"));
    log.Close();
    EXPECT_FALSE(log.WriteLine("x"));
    EXPECT_EQ(cbtest::readFile(dir.file("a.log")), "");
}

// A FIFO (or a folder) in the log's place leaves the log closed at once
// instead of hanging the program; writes then return false.
TEST(LogFile, FifoOrFolderInItsPlaceLeavesItClosed) {
    cbtest::TempDir dir;
    const std::string fifo = dir.file("cube_browser.log");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, dir.path().string()}) {
        TLogFile log(path);
        EXPECT_FALSE(log.IsOpen()) << path;
        EXPECT_FALSE(log.WriteLine("lost")) << path;
    }
}

// Past its size the log becomes "<path>.old" (replacing the one before) and
// a new one starts; a line longer than the bound is cut and marked.
TEST(LogFile, RotatesPastItsSizeAndCutsLongLines) {
    cbtest::TempDir dir;
    const std::string path = dir.file("cube_browser.log");
    {
        std::FILE* f = std::fopen((path + ".old").c_str(), "wb");
        std::fputs("older\r\n", f);
        std::fclose(f);
    }
    TLogFile log(path);
    const std::string line(TLogFile::MaxLineSize, 'x');
    long written = 0;
    while (written < TLogFile::MaxSize) {
        ASSERT_TRUE(log.WriteLine(line));
        written += long(line.size()) + 2;
    }
    EXPECT_EQ(std::filesystem::file_size(path), std::uintmax_t(written));
    ASSERT_TRUE(log.WriteLine("after"));
    EXPECT_EQ(cbtest::readFile(path), "after\r\n");
    EXPECT_EQ(std::filesystem::file_size(path + ".old"), std::uintmax_t(written));

    ASSERT_TRUE(log.WriteLine(std::string(TLogFile::MaxLineSize + 10, 'y')));
    const std::string text = cbtest::readFile(path);
    EXPECT_EQ(text.size(), 7 + TLogFile::MaxLineSize + 4 + 2);
    EXPECT_EQ(text.substr(text.size() - 6), " ...\r\n");
}
