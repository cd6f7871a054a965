// The cubebuild tool with an unlucky user: outputs that name an input or a
// file that is not a cube, FIFOs, and builds stopped by a signal.
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string kTool = std::string(CB_BIN_DIR) + "/cubebuild";

// Runs cubebuild with the arguments (each quoted); returns the exit code and
// fills err with what it wrote to stderr.
int CubeBuild(const cbtest::TempDir& dir, const std::string& args, std::string* err = nullptr) {
    const std::string errFile = dir.file("stderr.txt");
    const int rc = cbtest::runCommand("'" + kTool + "' " + args + " 2>'" + errFile + "' >/dev/null");
    if (err) *err = cbtest::readFile(errFile);
    std::filesystem::remove(errFile);
    return rc;
}

std::string Q(const std::string& s) {
    return "'" + s + "'";
}

std::vector<std::string> Entries(const std::filesystem::path& dir) {
    std::vector<std::string> r;
    for (const auto& e : std::filesystem::directory_iterator(dir)) r.push_back(e.path().filename());
    std::sort(r.begin(), r.end());
    return r;
}

class CubeBuildToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        FDesc = FDir.file("c.desc");
        FCsv = FDir.file("c.csv");
        cbtest::writeFile(FDesc, "cube Shop\ndimension Place: City\nmeasure Revenue: sum\nfacts c.csv\n");
        cbtest::writeFile(FCsv, "City,Revenue\nBoston,1\nParis,2\n");
    }
    cbtest::TempDir FDir;
    std::string FDesc, FCsv;
};

}  // namespace

// The output never replaces an input (under any name), nor an existing file
// that is not a cube file unless --replace says so; an existing cube is
// replaced. A refusal exits 1 and leaves every file as it was.
TEST_F(CubeBuildToolTest, RefusesToWriteOverInputsAndOtherFiles) {
    cbtest::writeFile(FDir.file("notes.txt"), "my notes");
    std::filesystem::create_symlink("c.csv", FDir.file("link.cub"));
    struct Case {
        std::string args, message;
    };
    const Case cases[] = {
        {Q(FDesc) + " " + Q(FDesc), "refusing to write the cube over its own input"},
        {Q(FDesc) + " " + Q(FCsv), "refusing to write the cube over its own input \"" + FCsv + "\""},
        {Q(FDesc) + " " + Q(FDir.file("link.cub")), "over its own input"},
        {"--replace " + Q(FDesc) + " " + Q(FCsv), "over its own input"},
        {Q(FDesc) + " " + Q(FDir.file("notes.txt")), "refusing to replace a file that is not a cube file"},
        {"--sample " + Q(FDir.file("notes.txt")), "refusing to replace a file that is not a cube file"},
    };
    for (const Case& c : cases) {
        std::string err;
        EXPECT_EQ(CubeBuild(FDir, c.args, &err), 1) << c.args;
        EXPECT_NE(err.find(c.message), std::string::npos) << c.args << ": " << err;
    }
    EXPECT_EQ(cbtest::readFile(FCsv), "City,Revenue\nBoston,1\nParis,2\n");
    EXPECT_EQ(cbtest::readFile(FDir.file("notes.txt")), "my notes");
    EXPECT_EQ(Entries(FDir.path()), (std::vector<std::string>{"c.csv", "c.desc", "link.cub", "notes.txt"}));

    const std::string out = FDir.file("out.cub");
    EXPECT_EQ(CubeBuild(FDir, Q(FDesc) + " " + Q(out)), 0);
    EXPECT_EQ(CubeBuild(FDir, Q(FDesc) + " " + Q(out)), 0);  // a cube: replaced
    EXPECT_EQ(CubeBuild(FDir, "--replace " + Q(FDesc) + " " + Q(FDir.file("notes.txt"))), 0);
    std::string rows;
    ASSERT_EQ(
        cbtest::runCommand("sqlite3 " + Q(FDir.file("notes.txt")) + " 'SELECT name, fact_count FROM cube'", &rows), 0);
    EXPECT_EQ(rows, "Shop|2\n");
}

// A FIFO as the description, the facts or the output ends with an error at
// once instead of hanging.
TEST_F(CubeBuildToolTest, FifosEndWithAnError) {
    const std::string fifo = FDir.file("p");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    cbtest::writeFile(FDir.file("f.desc"), "cube Shop\ndimension Place: City\nmeasure Revenue: sum\nfacts p\n");
    for (const std::string& args : {Q(fifo) + " " + Q(FDir.file("o.cub")),
                                    Q(FDir.file("f.desc")) + " " + Q(FDir.file("o.cub")), Q(FDesc) + " " + Q(fifo)}) {
        std::string err;
        EXPECT_EQ(CubeBuild(FDir, args, &err), 1) << args;
        EXPECT_NE(err.find("\"" + fifo + "\""), std::string::npos) << args << ": " << err;
    }
}

// A build stopped by SIGTERM or SIGINT while it writes leaves no temporary
// file; one left by a build that was killed outright is removed by the next.
TEST_F(CubeBuildToolTest, StoppedBuildsLeaveNoTemporaryFiles) {
    const std::string out = FDir.file("big.cub");
    for (int sig : {SIGTERM, SIGINT}) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::execl(kTool.c_str(), kTool.c_str(), "--sample", out.c_str(), "--facts", "1000000", nullptr);
            ::_exit(127);
        }
        // Wait for the temporary file to appear (bounded by the test's timeout).
        bool seen = false;
        int status = 0;
        while (!seen && ::waitpid(pid, &status, WNOHANG) == 0) {
            for (const std::string& name : Entries(FDir.path())) seen = seen || name.rfind(".big.cub.tmp-", 0) == 0;
            if (!seen) ::usleep(1000);
        }
        ASSERT_TRUE(seen) << "the build ended before it was stopped";
        ::kill(pid, sig);
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
        EXPECT_EQ(Entries(FDir.path()), (std::vector<std::string>{"c.csv", "c.desc"})) << "signal " << sig;
    }

    // A process that is gone (killed with SIGKILL) left these behind.
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = ".big.cub.tmp-" + std::to_string(gone) + "-AbC123";
    cbtest::writeFile(FDir.file(stale), std::string(100000, 'x'));
    EXPECT_EQ(CubeBuild(FDir, Q(FDesc) + " " + Q(out)), 0);
    EXPECT_EQ(Entries(FDir.path()), (std::vector<std::string>{"big.cub", "c.csv", "c.desc"}));
}
