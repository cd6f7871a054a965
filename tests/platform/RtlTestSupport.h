#pragma once
// Helpers shared by the runtime tests.
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace rtltest {

// Caps the size of files this process may write, so that writes fail as on
// a full disk (also when running as root, where folder permissions do not
// bite).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &FOld);
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = FOld;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit FOld{};
    void (*FOldHandler)(int);
};

inline std::vector<std::string> FolderEntries(const std::filesystem::path& dir) {
    std::vector<std::string> r;
    for (auto& e : std::filesystem::directory_iterator(dir)) r.push_back(e.path().filename().string());
    std::sort(r.begin(), r.end());
    return r;
}

}  // namespace rtltest
