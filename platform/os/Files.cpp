#include "platform/os/Files.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/FileIO.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cb::os {

namespace fs = std::filesystem;

std::string GetApplicationFileName() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n > 0) return std::string(buf, static_cast<std::size_t>(n));
    return {};
}

std::string GetApplicationPath() {
    std::string exe = GetApplicationFileName();
    auto slash = exe.rfind('/');
    if (slash != std::string::npos) return exe.substr(0, slash + 1);
    std::error_code ec;
    std::string cwd = fs::current_path(ec).string();
    return cwd.empty() || cwd.back() == '/' ? cwd : cwd + "/";
}

std::string GetTempDirectory() {
    const char* t = std::getenv("TMPDIR");
    std::string dir = (t && *t && DirectoryExists(t)) ? t : "/tmp";
    if (dir.back() != '/') dir += '/';
    return dir;
}

std::string CreateTempFile(const std::string& Prefix, const std::string& Suffix, const std::string& Dir) {
    std::string dir = Dir.empty() ? GetTempDirectory() : Dir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    std::string name = dir + Prefix + "XXXXXX" + Suffix;
    int fd = ::mkostemps(name.data(), static_cast<int>(Suffix.size()), O_CLOEXEC);
    if (fd < 0) throw rtl::EInOutError(rtl::OsErrorText("Cannot create file", dir + Prefix, errno));
    ::close(fd);
    return name;
}

std::string CreateTempDirectory(const std::string& Prefix) {
    std::string name = GetTempDirectory() + Prefix + "XXXXXX";
    if (!::mkdtemp(name.data())) throw rtl::EInOutError(rtl::OsErrorText("Cannot create folder", name, errno));
    return name + "/";
}

std::string GetUserConfigDirectory() {
    std::string dir;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (xdg && xdg[0] == '/')
        dir = xdg;
    else if (home && *home)
        dir = std::string(home) + "/.config";
    else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        dir = std::string(pw->pw_dir) + "/.config";
    else
        dir = GetTempDirectory();
    if (dir.back() != '/') dir += '/';
    return dir;
}

bool IsDirectoryWritable(const std::string& Dir) {
    std::string name = (Dir.empty() ? std::string("./") : Dir + (Dir.back() == '/' ? "" : "/")) + ".write-test-XXXXXX";
    int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(name.c_str());
    return true;
}

bool FileExists(const std::string& FileName) {
    struct stat st {};
    return !FileName.empty() && ::stat(FileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& Dir) {
    struct stat st {};
    return !Dir.empty() && ::stat(Dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& Dir) {
    if (Dir.empty()) return false;
    std::error_code ec;
    fs::create_directories(fs::path(Dir), ec);
    return DirectoryExists(Dir);
}

bool DeleteFile(const std::string& FileName) {
    return FileExists(FileName) && ::unlink(FileName.c_str()) == 0;
}

bool RenameFile(const std::string& OldName, const std::string& NewName) {
    return ::rename(OldName.c_str(), NewName.c_str()) == 0;
}

bool RemoveDirectoryTree(const std::string& Dir) {
    std::error_code ec;
    fs::remove_all(fs::path(Dir), ec);
    return !ec && !DirectoryExists(Dir);
}

bool IsFileLocked(const std::string& FileName) {
    int fd = ::open(FileName.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return errno != ENOENT && errno != ENOTDIR;
    bool locked = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        locked = true;
    } else {
        ::flock(fd, LOCK_UN);
        struct flock fl {};
        fl.l_type = F_WRLCK;
        fl.l_whence = SEEK_SET;
        fl.l_start = 0;
        fl.l_len = 0;
        if (::fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK) locked = true;
    }
    ::close(fd);
    return locked;
}

}  // namespace cb::os
