// Builds that must fail: nothing reported as done, nothing lost.
#include "tests/common/TestSupport.h"
#include "tests/zip/ZipTestSupport.h"
#include "zip/ZipErrors.h"
#include "zip/ZipUtils.h"
#include "zip/ZipWriter.h"

#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace cb::zip;
using namespace ziptest;

namespace {

int CountFiles(const std::filesystem::path& Dir) {
    int n = 0;
    for (auto& e : std::filesystem::directory_iterator(Dir)) n += e.is_regular_file() || e.is_socket();
    return n;
}

// A socket file: it exists, but opening it for reading fails.
void MakeSocketFile(const std::string& Path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", Path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
}

// Files may grow to Limit bytes while the object lives (a full disk).
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t Limit) {
        ::getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = FOld;
        lim.rlim_cur = Limit;
        ::setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~TFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
};

}  // namespace

TEST(ZipFailures, SourceThatCannotBeOpenedRaises) {
    cbtest::TempDir dir;
    const std::string sock = dir.file("cube.cub");
    MakeSocketFile(sock);
    const std::string archive = dir.file("cube.zip");
    {
        TZipWriter zip;
        zip.SetZipName(archive);
        zip.AddFile(sock);
        EXPECT_THROW(zip.ZipFiles(), EZipError);
    }
    {
        // Named in the file list too: no handler to tell, so it raises.
        TZipWriter zip;
        zip.SetZipName(archive);
        zip.FilesList() = {sock};
        EXPECT_THROW(zip.ZipFiles(), EZipError);
    }
    {
        // A file the caller asked for that is not there raises too.
        TZipWriter zip;
        zip.SetZipName(archive);
        zip.AddFile(dir.file("vanished.cub"));
        EXPECT_THROW(zip.ZipFiles(), EZipError);
    }
    EXPECT_FALSE(GetFileInfo(archive).Exists);
    EXPECT_EQ(CountFiles(dir.path()), 1);  // just the socket: no partial archive
    {
        // A handler that declines the retry skips the file, as asked.
        TZipWriter zip;
        zip.SetZipName(archive);
        int calls = 0;
        zip.OnSkippingFile = [&](TSkipReason r, const std::string&, int, bool& retry) {
            EXPECT_EQ(r, TSkipReason::srFileOpenError);
            retry = ++calls < 3;
        };
        zip.FilesList() = {sock};
        EXPECT_EQ(zip.ZipFiles(), 0);
        EXPECT_EQ(calls, 3);
    }
}

TEST(ZipFailures, FullDiskLeavesOldArchiveAndNoPartialFile) {
    cbtest::TempDir dir;
    const std::string root = dir.path().string() + "/";
    cbtest::writeFile(root + "small.txt", "small");
    cbtest::writeFile(root + "big.bin", MakeRandom(400000));
    const std::string archive = root + "a.zip";
    {
        TZipWriter zip;
        zip.SetZipName(archive);
        zip.AddFile(root + "small.txt");
        ASSERT_EQ(zip.ZipFiles(), 1);
    }
    const std::string before = cbtest::readFile(archive);
    for (const bool update : {true, false}) {
        SCOPED_TRACE(update ? "update" : "new archive");
        const std::string target = update ? archive : root + "new.zip";
        TZipWriter zip;
        zip.SetZipName(target);
        zip.AddFile(root + "big.bin");
        {
            TFileSizeLimit limit(100000);
            EXPECT_THROW(zip.ZipFiles(), ENotEnoughRoom);
        }
        EXPECT_TRUE(zip.FilesList().empty());
    }
    EXPECT_EQ(cbtest::readFile(archive), before);
    EXPECT_FALSE(GetFileInfo(root + "new.zip").Exists);
    EXPECT_EQ(CountFiles(dir.path()), 3);  // small.txt, big.bin, a.zip
    std::string out;
    EXPECT_EQ(cbtest::runCommand("unzip -t " + Quote(archive), &out), 0) << out;
}

TEST(ZipFailures, FourGiBIsRefusedBeforeWriting) {
    cbtest::TempDir dir;
    const std::string big = dir.file("huge.cub");
    const int fd = ::open(big.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(4) << 30), 0);  // sparse: no data written
    ::close(fd);
    TZipWriter zip;
    zip.SetZipName(dir.file("huge.zip"));
    zip.AddFile(big);
    try {
        zip.ZipFiles();
        ADD_FAILURE() << "no error";
    } catch (const EZipTooLarge& e) {
        EXPECT_NE(std::string(e.what()).find("4 GiB"), std::string::npos);
    }
    EXPECT_FALSE(GetFileInfo(dir.file("huge.zip")).Exists);
}

TEST(ZipFailures, CanceledBuildAndDamagedArchiveKeepFiles) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("a.txt"), "a");
    const std::string archive = dir.file("c.zip");
    TZipWriter zip;
    zip.SetZipName(archive);
    zip.OnStartZipInfo = [](int n, std::int64_t total, TEndCentral&, bool& stop) {
        EXPECT_EQ(n, 1);
        EXPECT_EQ(total, 1);
        stop = true;
    };
    zip.AddFile(dir.file("a.txt"));
    try {
        zip.ZipFiles();
        ADD_FAILURE();
    } catch (const EUserCanceled& e) {
        EXPECT_STREQ(e.what(), "User canceled Zip operation");
    }
    EXPECT_FALSE(GetFileInfo(archive).Exists);

    // Updating a file that is no archive raises and leaves it as it was.
    cbtest::writeFile(archive, "this is not an archive at all");
    TZipWriter upd;
    upd.SetZipName(archive);
    upd.AddFile(dir.file("a.txt"));
    EXPECT_THROW(upd.ZipFiles(), EIncompleteZip);
    EXPECT_EQ(cbtest::readFile(archive), "this is not an archive at all");
    EXPECT_EQ(CountFiles(dir.path()), 2);
}
