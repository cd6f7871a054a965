#include "platform/rtl/FileIO.h"

#include "platform/rtl/Exception.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cb::rtl {

std::string OsErrorText(const std::string& what, const std::string& fileName, int err)
{
    return what + " \"" + fileName + "\": " + std::strerror(err);
}

bool ReadFileBytes(const std::string& fileName, std::string& data, std::size_t maxSize)
{
    data.clear();
    int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return false;
        throw EInOutError(OsErrorText("Cannot open file", fileName, errno));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        throw EInOutError(OsErrorText("Cannot read file", fileName, err));
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw EInOutError(OsErrorText("Cannot read file", fileName, EISDIR));
    }
    auto tooLarge = [&] {
        ::close(fd);
        throw EInOutError("File \"" + fileName + "\" is too large (more than "
                          + std::to_string(maxSize) + " bytes)");
    };
    if (S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) > maxSize)
        tooLarge();
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            ::close(fd);
            data.clear();
            throw EInOutError(OsErrorText("Cannot read file", fileName, err));
        }
        if (n == 0)
            break;
        if (data.size() + static_cast<std::size_t>(n) > maxSize) {
            data.clear();
            tooLarge();
        }
        data.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

namespace {

// The file a path finally names, so that writing through a symbolic link
// replaces the link's target, not the link.
std::string ResolveTarget(const std::string& fileName)
{
    char resolved[PATH_MAX];
    struct stat st {};
    if (::lstat(fileName.c_str(), &st) == 0 && S_ISLNK(st.st_mode)
        && ::realpath(fileName.c_str(), resolved))
        return resolved;
    return fileName;
}

} // namespace

void WriteFileAtomic(const std::string& fileName, std::string_view data)
{
    const std::string target = ResolveTarget(fileName);
    std::string::size_type slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string tmpl = dir + "." + base + ".XXXXXX";
    std::string tmp = tmpl;
    int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0)
        throw EInOutError(OsErrorText("Cannot create file", fileName, errno));

    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        throw EInOutError(OsErrorText("Cannot write file", fileName, err));
    };
    // Keep the permissions of the file being replaced; a new file gets the
    // usual rw-r--r--.
    struct stat st {};
    mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    if (::fchmod(fd, mode) != 0)
        fail(errno);
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        if (n == 0)
            fail(ENOSPC);
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        fail(errno);
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        throw EInOutError(OsErrorText("Cannot write file", fileName, err));
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        throw EInOutError(OsErrorText("Cannot write file", fileName, err));
    }
}

} // namespace cb::rtl
