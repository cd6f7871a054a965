#include "tools/upgrader/UpgradeFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace cb::upgrader {

namespace fs = std::filesystem;

namespace {

const std::string kDownloaded = ".uTMP";
const std::string kKept = ".uOLD";

std::string Reason() {
    return std::strerror(errno);
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() > tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The renames in a folder last through a power cut once the folder is synced.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

struct Item {
    std::string download, target, kept;
    mode_t mode = 0644;
    bool hadOld = false;    // kept holds the old file
    bool replaced = false;  // target holds the new file
};

}  // namespace

bool WaitForProgramEnd(const std::string& executable, std::chrono::milliseconds timeout) {
    std::error_code ec;
    const std::string exe = fs::canonical(executable, ec).string();
    if (ec) return true;  // no such file: nothing runs it
    const auto end = std::chrono::steady_clock::now() + timeout;
    const std::string self = std::to_string(::getpid());
    for (;;) {
        bool running = false;
        if (DIR* proc = ::opendir("/proc")) {
            while (const dirent* e = ::readdir(proc)) {
                const std::string pid = e->d_name;
                if (pid.empty() || !std::all_of(pid.begin(), pid.end(), ::isdigit) || pid == self) continue;
                char buffer[4096];
                const ssize_t n = ::readlink(("/proc/" + pid + "/exe").c_str(), buffer, sizeof buffer - 1);
                if (n <= 0) continue;
                const std::string link(buffer, size_t(n));
                if (link == exe || link == exe + " (deleted)") {
                    running = true;
                    break;
                }
            }
            ::closedir(proc);
        }
        if (!running) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

std::vector<std::string> DownloadedFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (EndsWith(name, kDownloaded) && entry.is_regular_file(ec)) names.push_back(name);
    }
    if (ec) throw EUpgradeError("Cannot list the folder " + folder + ": " + ec.message());
    std::sort(names.begin(), names.end());
    return names;
}

void PutFilesInPlace(const std::string& folder, const std::string& executableName) {
    std::vector<Item> items;
    for (const std::string& name : DownloadedFiles(folder)) {
        Item item;
        item.download = folder + "/" + name;
        item.target = folder + "/" + name.substr(0, name.size() - kDownloaded.size());
        item.kept = item.target + kKept;
        if (name.substr(0, name.size() - kDownloaded.size()) == executableName) item.mode = 0755;
        items.push_back(std::move(item));
    }
    if (items.empty()) throw EUpgradeError("There are no downloaded files (*" + kDownloaded + ") in " + folder);

    // Puts back what was moved, newest first, and drops the kept links;
    // says which old file it could not put back (it stays as NAME.uOLD).
    auto rollBack = [&] {
        std::string lost;
        for (auto it = items.rbegin(); it != items.rend(); ++it) {
            if (it->replaced) {
                // The new file goes back to its download name, and the old
                // one over it in its place (one rename, so the place is never empty).
                if (it->hadOld ? ::link(it->target.c_str(), it->download.c_str()) != 0 ||
                                     ::rename(it->kept.c_str(), it->target.c_str()) != 0
                               : ::rename(it->target.c_str(), it->download.c_str()) != 0)
                    lost += "; could not put back " + it->target + " (" + Reason() + ")";
            } else if (it->hadOld) {
                ::unlink(it->kept.c_str());
            }
        }
        SyncFolder(folder);
        return lost;
    };

    // 1. Keep each old file under a second name; it stays in place meanwhile.
    for (Item& item : items) {
        struct stat st {};
        if (::lstat(item.target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        item.mode = st.st_mode & 07777;
        ::unlink(item.kept.c_str());  // left by an upgrade that was killed
        if (::link(item.target.c_str(), item.kept.c_str()) != 0) {
            const std::string why = Reason();
            throw EUpgradeError("Cannot keep the old " + item.target + " as " + item.kept + ": " + why + rollBack());
        }
        item.hadOld = true;
    }
    // 2. Each download over its file, atomically.
    for (Item& item : items) {
        if (::chmod(item.download.c_str(), item.mode) != 0 || ::rename(item.download.c_str(), item.target.c_str()) != 0) {
            const std::string why = Reason();
            const std::string lost = rollBack();
            throw EUpgradeError("Cannot put " + item.download + " in place of " + item.target + ": " + why +
                                (lost.empty() ? "; the old files are back in place" : lost));
        }
        item.replaced = true;
    }
    SyncFolder(folder);
    // 3. All in place: the old files go.
    for (const Item& item : items)
        if (item.hadOld) ::unlink(item.kept.c_str());
}

int RunSetup(const std::string& folder) {
    const std::vector<std::string> names = DownloadedFiles(folder);
    if (names.size() != 1)
        throw EUpgradeError("Expected one downloaded setup (*" + kDownloaded + ") in " + folder + ", found " +
                            std::to_string(names.size()));
    const std::string download = folder + "/" + names[0];
    if (::chmod(download.c_str(), 0700) != 0) throw EUpgradeError("Cannot run " + download + ": " + Reason());
    const pid_t pid = ::fork();
    if (pid < 0) throw EUpgradeError("Cannot start " + download + ": " + Reason());
    if (pid == 0) {
        if (::chdir(folder.c_str()) != 0) ::_exit(127);
        ::execl(download.c_str(), download.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    ::unlink(download.c_str());
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
        throw EUpgradeError("Cannot start the setup " + download);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void StartProgram(const std::string& executable, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(executable.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const std::string folder = fs::path(executable).parent_path().string();
    const pid_t pid = ::fork();
    if (pid < 0) throw EUpgradeError("Cannot start " + executable + ": " + Reason());
    if (pid == 0) {
        // A grandchild of a new session: it outlives this program, which does not wait.
        ::setsid();
        if (::fork() != 0 || ::chdir(folder.c_str()) != 0) ::_exit(0);
        ::execv(executable.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace cb::upgrader
