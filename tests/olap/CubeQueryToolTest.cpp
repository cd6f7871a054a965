// The cubequery tool: file names that hold the connection string's own
// characters stay file names, and it never reaches a server.
#include "olap/engine/CubeFile.h"
#include "tests/common/TestCubes.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const std::string kTool = std::string(CB_BIN_DIR) + "/cubequery";

// One shell word, whatever the text holds.
std::string ShellWord(const std::string& s) {
    std::string r = "'";
    for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

struct TRun {
    int Code = 0;
    std::string Out, Err;
};

TRun CubeQuery(const cbtest::TempDir& dir, const std::vector<std::string>& args) {
    std::string cmd = ShellWord(kTool);
    for (const auto& a : args) cmd += " " + ShellWord(a);
    const std::string out = dir.file("stdout.txt");
    const std::string err = dir.file("stderr.txt");
    TRun r;
    r.Code = cbtest::runCommand(cmd + " >" + ShellWord(out) + " 2>" + ShellWord(err));
    r.Out = cbtest::readFile(out);
    r.Err = cbtest::readFile(err);
    return r;
}

// A listening socket on loopback that only counts who knocked.
class TLoopbackListener {
public:
    TLoopbackListener() {
        FSocket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (FSocket < 0 || ::bind(FSocket, reinterpret_cast<sockaddr*>(&a), len) != 0 || ::listen(FSocket, 8) != 0 ||
            ::getsockname(FSocket, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            ADD_FAILURE() << "no loopback listener";
        FPort = ntohs(a.sin_port);
        ::fcntl(FSocket, F_SETFL, O_NONBLOCK);
    }
    ~TLoopbackListener() { ::close(FSocket); }
    int Port() const { return FPort; }
    // A connection made before now is queued and accepted at once.
    bool Knocked() {
        const int c = ::accept(FSocket, nullptr, nullptr);
        if (c < 0) return false;
        ::close(c);
        return true;
    }

private:
    int FSocket = -1;
    int FPort = 0;
};

const char* const kQuery = "SELECT {[Measures].[Sales]} ON COLUMNS, {[Product].[All].CHILDREN} ON ROWS FROM [Tiny]";

}  // namespace

// Cube files whose names hold quotes, ";", "=" or blanks open as themselves.
TEST(CubeQueryToolTest, FileNamesWithConnectionStringCharactersStayFileNames) {
    cbtest::TempDir dir;
    const auto cube = cb::olap::MakeTinyCube();
    const char* const names[] = {
        "plain.cub",
        "we\"ird.cub",
        "a;Provider=Other.cub",
        "x\";Initial Catalog=\"Shop.cub",
        "quote ' and blank.cub",
        "\"\".cub",
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        cb::olap::WriteCubeFile(*cube, dir.file(name));
        const TRun r = CubeQuery(dir, {dir.file(name), kQuery});
        EXPECT_EQ(r.Code, 0) << r.Err;
        EXPECT_NE(r.Out.find("Bikes"), std::string::npos) << r.Out;
        EXPECT_NE(r.Out.find("Helmets"), std::string::npos) << r.Out;
    }
}

// A name that tries to add a catalog (which would make it a server
// connection) is looked for as a file, and nothing is sent anywhere.
TEST(CubeQueryToolTest, NamesNeverAddSettingsOrReachAServer) {
    cbtest::TempDir dir;
    TLoopbackListener server;
    const std::string url = "http://127.0.0.1:" + std::to_string(server.Port()) + "/ok";
    const char* const tails[] = {
        "\";Initial Catalog=\"Shop",
        "\";Initial Catalog=Shop;x=\"",
        "\";Provider=MSOLAP.3;Initial Catalog=",
        "\";;Initial Catalog=\"\"",
    };
    for (const char* tail : tails) {
        SCOPED_TRACE(tail);
        const TRun r = CubeQuery(dir, {url + tail, kQuery});
        EXPECT_EQ(r.Code, 1);
        EXPECT_NE(r.Err.find("does not exist"), std::string::npos) << r.Err;
        EXPECT_NE(r.Err.find(url + tail), std::string::npos) << r.Err;
        EXPECT_FALSE(server.Knocked());
    }
}

TEST(CubeQueryToolTest, UsageAndQueryErrors) {
    cbtest::TempDir dir;
    cb::olap::WriteCubeFile(*cb::olap::MakeTinyCube(), dir.file("t.cub"));
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string err;
    };
    const Case cases[] = {
        {{}, 2, "usage: cubequery FILE MDX"},
        {{dir.file("t.cub")}, 2, "usage: cubequery FILE MDX"},
        {{dir.file("t.cub"), kQuery, "extra"}, 2, "usage: cubequery FILE MDX"},
        {{dir.file("t.cub"), "SELECT {[Measures].[Nothing]} ON COLUMNS FROM [Tiny]"}, 1, "Nothing"},
        {{dir.file("missing.cub"), kQuery}, 1, "does not exist"},
        {{dir.file("notes.txt"), kQuery}, 1, "notes.txt"},
    };
    cbtest::writeFile(dir.file("notes.txt"), "not a cube");
    for (const Case& c : cases) {
        const TRun r = CubeQuery(dir, c.args);
        EXPECT_EQ(r.Code, c.code) << r.Err;
        EXPECT_NE(r.Err.find(c.err), std::string::npos) << r.Err;
        EXPECT_TRUE(r.Out.empty()) << r.Out;
    }
}
