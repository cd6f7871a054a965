#include "tests/common/TestSupport.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace cbtest {

TempDir::TempDir() {
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (int i = 0; i < 100; ++i) {
        auto p = base / ("cbtest-" + std::to_string(rd()));
        if (std::filesystem::create_directory(p)) {
            FPath = p;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

int runCommand(const std::string& cmd, std::string* out) {
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return -1;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
        if (out) out->append(buf.data(), n);
    int status = pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

namespace {
void NobodyIds(uid_t& uid, gid_t& gid) {
    const passwd* pw = ::getpwnam("nobody");
    uid = pw ? pw->pw_uid : 65534;
    gid = pw ? pw->pw_gid : 65534;
}
}  // namespace

int runAsNobody(const std::function<int()>& fn) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        if (::getuid() == 0) {
            uid_t uid;
            gid_t gid;
            NobodyIds(uid, gid);
            if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) ::_exit(99);
        }
        int rc = 98;
        try {
            rc = fn();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "runAsNobody: %s\n", e.what());
        }
        std::fflush(nullptr);
        ::_exit(rc);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void giveToNobody(const std::filesystem::path& path) {
    if (::getuid() != 0) return;
    uid_t uid;
    gid_t gid;
    NobodyIds(uid, gid);
    if (::chown(path.c_str(), uid, gid) != 0) throw std::runtime_error("cannot chown " + path.string());
    if (std::filesystem::is_directory(path))
        for (const auto& e : std::filesystem::recursive_directory_iterator(path))
            if (::lchown(e.path().c_str(), uid, gid) != 0)
                throw std::runtime_error("cannot chown " + e.path().string());
}

}  // namespace cbtest
