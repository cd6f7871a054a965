#include "tests/upgrade/NetTestServer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace cb::upgrade::test {

namespace {

class TServerEnvironment : public ::testing::Environment {
public:
    void Start() {
        if (FPid > 0 || FFailed) return;
        int out[2], in[2];
        if (::pipe(out) != 0 || ::pipe(in) != 0) {
            FFailed = true;
            return;
        }
        FPid = ::fork();
        if (FPid == 0) {
            ::dup2(out[1], 1);
            ::dup2(in[0], 0);
            ::close(out[0]);
            ::close(in[1]);
            ::execl("/usr/bin/python3", "python3", CB_NET_TEST_SERVER, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(in[0]);
        FStdin = in[1];
        FILE* f = ::fdopen(out[0], "r");
        char line[128] = {0};
        if (!f || !std::fgets(line, sizeof line, f) ||
            std::sscanf(line, "PORT %d %d", &FServer.Port, &FServer.ProxyPort) != 2) {
            FFailed = true;
        }
    }
    void TearDown() override {
        if (FPid > 0) {
            ::close(FStdin);
            ::kill(FPid, SIGTERM);
            ::waitpid(FPid, nullptr, 0);
            FPid = -1;
        }
    }
    TNetTestServer FServer;
    bool FFailed = false;

private:
    pid_t FPid = -1;
    int FStdin = -1;
};

TServerEnvironment* GEnvironment =
    static_cast<TServerEnvironment*>(::testing::AddGlobalTestEnvironment(new TServerEnvironment));

}  // namespace

const TNetTestServer& NetServer() {
    GEnvironment->Start();
    EXPECT_FALSE(GEnvironment->FFailed) << "the loopback test server (/usr/bin/python3 " CB_NET_TEST_SERVER
                                           ") did not start";
    return GEnvironment->FServer;
}

}  // namespace cb::upgrade::test
