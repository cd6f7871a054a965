#include "platform/rtl/FileIO.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/Streams.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cb::rtl {

std::string OsErrorText(const std::string& what, const std::string& fileName, int err) {
    return what + " \"" + fileName + "\": " + std::strerror(err);
}

bool ReadFileBytes(const std::string& fileName, std::string& data, std::size_t maxSize) {
    data.clear();
    int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return false;
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
        throw EInOutError("File \"" + fileName + "\" is too large (more than " + std::to_string(maxSize) + " bytes)");
    };
    if (S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) > maxSize) tooLarge();
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            data.clear();
            throw EInOutError(OsErrorText("Cannot read file", fileName, err));
        }
        if (n == 0) break;
        if (data.size() + static_cast<std::size_t>(n) > maxSize) {
            data.clear();
            tooLarge();
        }
        data.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

void WriteFileAtomic(const std::string& fileName, std::string_view data) {
    TAtomicFileStream out(fileName);
    out.WriteBuffer(data);
    out.Commit();
}

}  // namespace cb::rtl
