// The one file layer: the checked open that every reader uses, and the one
// atomic writer (symbolic links, stale and interrupted temporary files).
#include "platform/rtl/AtomicFile.h"
#include "platform/rtl/FileIO.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "tests/common/TestSupport.h"
#include "tests/platform/RtlTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace cb::rtl;
using rtltest::FolderEntries;

namespace {

// The message of what throws, or "" when nothing does.
std::string ErrorOf(const std::function<void()>& fn) {
    try {
        fn();
        return {};
    } catch (const std::exception& e) {
        return e.what();
    }
}

// A process id that no longer runs.
pid_t DeadPid() {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return pid;
}

}  // namespace

// A FIFO (or a folder) where a file is expected gives a clear error at once
// in every reader; without the checked open these hang forever.
TEST(RtlFileLayer, EveryReaderRefusesWhatIsNotARegularFile) {
    cbtest::TempDir dir;
    const std::string fifo = dir.file("pipe"), folder = dir.file("folder");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(folder);
    struct Reader {
        const char* name;
        std::function<void(const std::string&)> read;
    };
    const Reader readers[] = {
        {"ReadFileBytes",
         [](const std::string& f) {
             std::string data;
             ReadFileBytes(f, data);
         }},
        {"TMemIniFile", [](const std::string& f) { TMemIniFile ini(f); }},
        {"TStringList", [](const std::string& f) { TStringList().LoadFromFile(f); }},
        {"TFileStream", [](const std::string& f) { TFileStream s(f, TFileMode::fmOpenRead); }},
        {"TMemoryStream", [](const std::string& f) { TMemoryStream().LoadFromFile(f); }},
        {"OpenFileForAppending", [](const std::string& f) { ::close(OpenFileForAppending(f)); }},
        {"CheckRegularFile", [](const std::string& f) { CheckRegularFile(f); }},
    };
    for (const Reader& r : readers) {
        const std::string e = ErrorOf([&] { r.read(fifo); });
        EXPECT_NE(e.find("\"" + fifo + "\": not a regular file"), std::string::npos) << r.name << ": " << e;
        EXPECT_NE(ErrorOf([&] { r.read(folder); }).find("\"" + folder + "\""), std::string::npos) << r.name;
    }
    // A missing file is no error where the reader allows it.
    std::string data = "x";
    EXPECT_FALSE(ReadFileBytes(dir.file("missing"), data));
    EXPECT_EQ(OpenFileForReading(dir.file("missing")), -1);
    EXPECT_FALSE(CheckRegularFile(dir.file("missing")));
    EXPECT_EQ(TMemIniFile(dir.file("missing")).ReadString("a", "b", "none"), "none");
}

// One rule for every write: a symbolic link is followed (it keeps pointing
// at the file, which is replaced); a dangling link creates its target.
TEST(RtlFileLayer, AtomicWritesFollowSymbolicLinksAndKeepTheMode) {
    cbtest::TempDir dir;
    std::filesystem::create_directory(dir.file("real"));
    const std::string target = dir.file("real/settings.ini"), link = dir.file("settings.ini");
    cbtest::writeFile(target, "old");
    ::chmod(target.c_str(), 0640);
    std::filesystem::create_symlink("real/settings.ini", link);

    WriteFileAtomic(link, "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(cbtest::readFile(target), "new");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    TMemIniFile ini(link);  // the INI writer goes through the same writer
    ini.WriteString("S", "K", "V");
    ini.UpdateFile();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(cbtest::readFile(target), "new\r\n\r\n[S]\r\nK=V\r\n");

    const std::string dangling = dir.file("dangling");
    std::filesystem::create_symlink("real/created.txt", dangling);
    WriteFileAtomic(dangling, "made");
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_EQ(cbtest::readFile(dir.file("real/created.txt")), "made");

    std::filesystem::create_symlink("loop2", dir.file("loop1"));
    std::filesystem::create_symlink("loop1", dir.file("loop2"));
    EXPECT_NE(ErrorOf([&] { WriteFileAtomic(dir.file("loop1"), "x"); }).find("loop1"), std::string::npos);

    EXPECT_EQ(FolderEntries(dir.file("real")), (std::vector<std::string>{"created.txt", "settings.ini"}));
}

// Temporary files carry the writer's process id: those of processes that
// are gone are removed, those of running ones and other files stay.
TEST(RtlFileLayer, StaleTemporaryFilesOfATargetAreRemoved) {
    cbtest::TempDir dir;
    const std::string out = dir.file("out.cub");
    const std::string dead = std::to_string(DeadPid()), alive = std::to_string(::getpid());
    for (const std::string& name :
         std::vector<std::string>{".out.cub.tmp-" + dead + "-a1b2c3", ".out.cub.tmp-" + dead + "-x9y8z7-journal",
                                  ".out.cub.tmp-" + alive + "-q1w2e3", ".other.cub.tmp-" + dead + "-a1b2c3",
                                  ".out.cub.tmp-notapid-a1b2c3", "out.cub"})
        cbtest::writeFile(dir.file(name), "x");
    EXPECT_EQ(RemoveStaleTempFiles(out), 2);
    EXPECT_EQ(FolderEntries(dir.path()),
              (std::vector<std::string>{".other.cub.tmp-" + dead + "-a1b2c3", ".out.cub.tmp-" + alive + "-q1w2e3",
                                        ".out.cub.tmp-notapid-a1b2c3", "out.cub"}));

    // A writer's own temporary file is named so.
    TAtomicReplace w(out);
    EXPECT_EQ(w.TempName().rfind(dir.file(".out.cub.tmp-" + alive + "-"), 0), 0u) << w.TempName();
}

// A process stopped by SIGTERM or SIGINT in the middle of a write removes
// its temporary file and still dies of the signal.
TEST(RtlFileLayer, SignalsRemoveTheTemporaryFilesOfOpenWriters) {
    cbtest::TempDir dir;
    for (int sig : {SIGTERM, SIGINT}) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            InstallTempFileCleanupOnSignals();
            TAtomicFileStream w(dir.file("big.dat"));
            w.WriteBuffer(std::string(100000, 'x'));
            (void)!::write(ready[1], "r", 1);
            for (;;) ::pause();
        }
        char c;
        ASSERT_EQ(::read(ready[0], &c, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);
        EXPECT_EQ(FolderEntries(dir.path()).size(), 1u);  // the temporary file
        ::kill(pid, sig);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
        EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{}) << "signal " << sig;
    }
}

// With the program's signal set-up, a write past the file-size limit is an
// error naming the file, not the end of the process; the old file stays and
// no temporary file is left.
TEST(RtlFileLayer, AWritePastTheFileSizeLimitIsAnError) {
    cbtest::TempDir dir;
    const std::string file = dir.file("settings.ini");
    cbtest::writeFile(file, "old");
    const pid_t pid = ::fork();
    if (pid == 0) {
        InstallTempFileCleanupOnSignals();
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::string error = ErrorOf([&] {
            TAtomicFileStream w(file);
            w.WriteBuffer(std::string(100000, 'x'));
            w.Commit();
        });
        std::_Exit(error.find(file) != std::string::npos && error.find("too large") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "the process died (status " << status << ")";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "no error naming the file and the limit";
    EXPECT_EQ(cbtest::readFile(file), "old");
    EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{"settings.ini"});
}
