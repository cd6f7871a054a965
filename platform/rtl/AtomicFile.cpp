#include "platform/rtl/AtomicFile.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"
#include "platform/rtl/Streams.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cb::rtl {

namespace {

std::string DirOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string BaseOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TempPrefix(const std::string& target) {
    return "." + BaseOf(target) + ".tmp-";
}

// Temporary files of open writers, for the signal handler: fixed storage,
// claimed and released with atomics, read without allocating.
constexpr int kCleanupSlots = 16;
struct CleanupSlot {
    std::atomic<int> state{0};  // 0 free, 1 being filled, 2 holds a name
    char name[PATH_MAX + 1] = {};
};
CleanupSlot gCleanup[kCleanupSlots];

int ClaimSlot(const std::string& name) {
    if (name.size() > PATH_MAX) return -1;
    for (int i = 0; i < kCleanupSlots; ++i) {
        int expected = 0;
        if (gCleanup[i].state.compare_exchange_strong(expected, 1)) {
            std::memcpy(gCleanup[i].name, name.c_str(), name.size() + 1);
            gCleanup[i].state.store(2);
            return i;
        }
    }
    return -1;
}

void ReleaseSlot(int slot) {
    if (slot >= 0) gCleanup[slot].state.store(0);
}

extern "C" void RemoveTempFilesOnSignal(int sig) {
    for (CleanupSlot& s : gCleanup)
        if (s.state.load() == 2) ::unlink(s.name);
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

void SyncFolder(const std::string& dir) {
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    int rc = ::fsync(fd);
    int err = errno;
    ::close(fd);
    // Some file systems cannot sync a folder; the rename stands all the same.
    if (rc != 0 && err != EINVAL && err != EROFS)
        throw EWriteError(OsErrorText("Cannot flush folder", dir.empty() ? "." : dir, err));
}

}  // namespace

std::string ResolveWriteTarget(const std::string& fileName) {
    std::string path = fileName;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string link(PATH_MAX, '\0');
        ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<std::size_t>(n) >= link.size()) return path;
        link.resize(static_cast<std::size_t>(n));
        path = link.front() == '/' ? link : DirOf(path) + link;
    }
    throw EInOutError(OsErrorText("Cannot write file", fileName, ELOOP));
}

TAtomicReplace::TAtomicReplace(const std::string& fileName) : FFileName(fileName) {
    FTarget = ResolveWriteTarget(fileName);
    // What a killed writer of this target left goes first.
    RemoveStaleTempFiles(FTarget);
    FTempName = DirOf(FTarget) + TempPrefix(FTarget) + std::to_string(::getpid()) + "-XXXXXX";
    // The signals that remove temporary files wait until this one is known.
    sigset_t block, old;
    sigemptyset(&block);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&block, sig);
    ::pthread_sigmask(SIG_BLOCK, &block, &old);
    FHandle = ::mkostemp(FTempName.data(), O_CLOEXEC);
    const int err = errno;
    if (FHandle >= 0) FSlot = ClaimSlot(FTempName);
    ::pthread_sigmask(SIG_SETMASK, &old, nullptr);
    if (FHandle < 0) throw EFCreateError(OsErrorText("Cannot create file", fileName, err));
    struct stat st {};
    mode_t mode = ::stat(FTarget.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? (st.st_mode & 07777) : 0644;
    ::fchmod(FHandle, mode);
}

TAtomicReplace::~TAtomicReplace() {
    if (!FCommitted) Discard();
}

void TAtomicReplace::Discard() {
    if (FHandle >= 0) {
        ::close(FHandle);
        FHandle = -1;
        ::unlink(FTempName.c_str());
    }
    ReleaseSlot(FSlot);
    FSlot = -1;
}

void TAtomicReplace::Fail(int err) {
    if (FHandle >= 0) ::close(FHandle);
    FHandle = -1;
    ::unlink(FTempName.c_str());
    ReleaseSlot(FSlot);
    FSlot = -1;
    throw EWriteError(OsErrorText("Cannot write file", FFileName, err));
}

void TAtomicReplace::Commit() {
    if (FCommitted) return;
    if (FHandle < 0) throw EWriteError(OsErrorText("Cannot write file", FFileName, EBADF));
    if (::fsync(FHandle) != 0) Fail(errno);
    int fd = FHandle;
    FHandle = -1;
    if (::close(fd) != 0) {
        FHandle = -1;
        Fail(errno);
    }
    if (::rename(FTempName.c_str(), FTarget.c_str()) != 0) Fail(errno);
    FCommitted = true;
    ReleaseSlot(FSlot);
    FSlot = -1;
    SyncFolder(DirOf(FTarget));
}

int RemoveStaleTempFiles(const std::string& fileName) {
    const std::string target = ResolveWriteTarget(fileName);
    const std::string dir = DirOf(target);
    const std::string prefix = TempPrefix(target);
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return 0;
    int removed = 0;
    while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        // ".<name>.tmp-<pid>-XXXXXX", optionally followed by a suffix that
        // a writer added (an SQLite journal).
        std::size_t i = prefix.size(), start = i;
        while (i < name.size() && name[i] >= '0' && name[i] <= '9') ++i;
        if (i == start || i - start > 9 || i >= name.size() || name[i] != '-') continue;
        const long pid = std::stol(name.substr(start, i - start));
        if (pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)) continue;
        struct stat st {};
        const std::string full = dir + name;
        if (::lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(full.c_str()) == 0) ++removed;
    }
    ::closedir(d);
    return removed;
}

void InstallTempFileCleanupOnSignals() {
    // A write past the file-size limit fails with EFBIG and a message
    // instead of ending the process.
    ::signal(SIGXFSZ, SIG_IGN);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old {};
        // A signal the process was told to ignore stays ignored.
        if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        struct sigaction sa {};
        sa.sa_handler = RemoveTempFilesOnSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESETHAND;
        ::sigaction(sig, &sa, nullptr);
    }
}

}  // namespace cb::rtl
