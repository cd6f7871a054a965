// cubebrowser-upgrader PROGRAM +PARAMSn
//
// Started by the program after it downloaded an upgrade, as the program
// closes: waits for PROGRAM to end, then for n = 0 puts every downloaded
// NAME.uTMP beside it in place of NAME (all or none), for n = 1 runs the one
// downloaded file as the setup, and starts PROGRAM again with PARAMS
// ("/afterupgrade"; a single blank means none). A PROGRAM still running
// after a minute is left alone. When the files cannot be put
// in place, the old ones stay whole, the downloads stay as NAME.uTMP, the
// reason goes to standard error and PROGRAM starts again without PARAMS.
// Exit status: 0 upgraded, 1 not upgraded, 2 a wrong command line.
#include "tools/upgrader/UpgradeFiles.h"

#include <cstdio>
#include <filesystem>

using namespace cb::upgrader;

namespace {

constexpr auto kWaitForProgram = std::chrono::seconds(60);

int Usage(const char* why) {
    std::fprintf(stderr, "cubebrowser-upgrader: %s\nusage: cubebrowser-upgrader PROGRAM +PARAMSn (n: 0 self upgrade, 1 "
                         "external setup)\n",
                 why);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Usage("expected two arguments");
    const std::string program = argv[1];
    const std::string tail = argv[2];
    if (program.empty() || program[0] != '/') return Usage("PROGRAM must be an absolute path");
    if (tail.size() < 2 || tail[0] != '+' || (tail.back() != '0' && tail.back() != '1'))
        return Usage("the second argument must be \"+\", the restart parameters and the method digit 0 or 1");
    const std::string params = tail.substr(1, tail.size() - 2);
    const bool setup = tail.back() == '1';
    std::vector<std::string> restartArgs;
    if (!params.empty() && params != " ") restartArgs.push_back(params);
    const std::filesystem::path path(program);
    const std::string folder = path.parent_path().string();

    if (!WaitForProgramEnd(program, kWaitForProgram)) {
        std::fprintf(stderr, "cubebrowser-upgrader: %s is still running after %d seconds; nothing was changed\n",
                     program.c_str(), static_cast<int>(kWaitForProgram.count()));
        return 1;
    }
    int status = 0;
    try {
        if (setup) {
            const int code = RunSetup(folder);
            if (code != 0) throw EUpgradeError("The setup ended with status " + std::to_string(code));
        } else {
            PutFilesInPlace(folder, path.filename().string());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cubebrowser-upgrader: %s\n", e.what());
        restartArgs.clear();
        status = 1;
    }
    try {
        StartProgram(program, restartArgs);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cubebrowser-upgrader: %s\n", e.what());
        status = 1;
    }
    // Last: the private folder the program copied this one into goes.
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    if (!ec && self.filename().string().rfind("cb-upgrade-", 0) == 0) std::filesystem::remove_all(self, ec);
    return status;
}
