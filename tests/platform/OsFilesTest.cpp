#include "platform/os/Files.h"
#include "platform/desktop/Shell.h"
#include "platform/rtl/Exception.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

using namespace cb::os;

TEST(OsFiles, ApplicationPathIsTheExecutablesFolder) {
    const std::string dir = GetApplicationPath();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    const std::string exe = GetApplicationFileName();
    EXPECT_EQ(exe.substr(0, dir.size()), dir);
    EXPECT_TRUE(FileExists(exe));
    EXPECT_EQ(GetTempDirectory().back(), '/');
}

TEST(OsFiles, FoldersAndFiles) {
    cbtest::TempDir dir;
    const std::string deep = dir.file("a/b/c");
    EXPECT_FALSE(DirectoryExists(deep));
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(ForceDirectories(deep));  // already there
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_FALSE(FileExists(deep));  // a folder is not a file

    const std::string f = dir.file("a/x.txt");
    cbtest::writeFile(f, "x");
    EXPECT_FALSE(ForceDirectories(f + "/sub"));  // under a file
    EXPECT_TRUE(RenameFile(f, dir.file("a/y.txt")));
    EXPECT_FALSE(FileExists(f));
    EXPECT_TRUE(DeleteFile(dir.file("a/y.txt")));
    EXPECT_FALSE(DeleteFile(dir.file("a/y.txt")));
    EXPECT_FALSE(DeleteFile(deep));  // not for folders
    EXPECT_TRUE(RemoveDirectoryTree(dir.file("a")));
    EXPECT_FALSE(DirectoryExists(dir.file("a")));

    const std::string t1 = CreateTempFile("cbt-", ".xls", dir.path().string());
    const std::string t2 = CreateTempFile("cbt-", ".xls", dir.path().string());
    EXPECT_NE(t1, t2);
    EXPECT_TRUE(FileExists(t1));
    EXPECT_EQ(t1.substr(t1.size() - 4), ".xls");
    EXPECT_THROW(CreateTempFile("x", "", dir.file("missing")), cb::rtl::EInOutError);
    const std::string td = CreateTempDirectory("cbt-");
    EXPECT_TRUE(DirectoryExists(td));
    EXPECT_TRUE(RemoveDirectoryTree(td));
}

TEST(OsFiles, LockedFilesAreSeen) {
    cbtest::TempDir dir;
    const std::string f = dir.file("report.xls");
    EXPECT_FALSE(IsFileLocked(f));  // missing
    cbtest::writeFile(f, "data");
    EXPECT_FALSE(IsFileLocked(f));
    {
        int fd = ::open(f.c_str(), O_RDWR);
        ASSERT_EQ(::flock(fd, LOCK_EX), 0);
        EXPECT_TRUE(IsFileLocked(f));
        ::close(fd);
    }
    EXPECT_FALSE(IsFileLocked(f));
    {
        int fd = ::open(f.c_str(), O_RDWR);
        struct flock fl {};
        fl.l_type = F_WRLCK;
        fl.l_whence = SEEK_SET;
        ASSERT_EQ(::fcntl(fd, F_OFD_SETLK, &fl), 0);
        EXPECT_TRUE(IsFileLocked(f));
        ::close(fd);
    }
    EXPECT_FALSE(IsFileLocked(f));
    EXPECT_FALSE(IsFileLocked(f));  // the check itself leaves no lock behind
}

TEST(OsShell, ProcessesStartWithoutAShell) {
    cbtest::TempDir dir;
    const std::string out = dir.file("out.txt");
    const std::string tricky = "a b; echo injected > " + dir.file("bad");
    ASSERT_TRUE(StartProcess("/bin/sh", {"-c", "printf '%s' \"$1\" > \"$2\"", "sh", tricky, out}));
    std::string got;
    for (int i = 0; i < 200 && got.size() < tricky.size(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        if (FileExists(out)) got = cbtest::readFile(out);
    }
    EXPECT_EQ(got, tricky);
    EXPECT_FALSE(FileExists(dir.file("bad")));
    EXPECT_FALSE(StartProcess(dir.file("no-such-program"), {}));
    EXPECT_FALSE(StartProcess("", {}));
    // Nothing to hand on: no viewer is started.
    EXPECT_FALSE(ShellOpen(""));
    EXPECT_FALSE(ShellOpen(dir.file("missing.html")));
    EXPECT_FALSE(ShellOpen("file://" + dir.file("missing.html")));
}
