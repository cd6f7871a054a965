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

namespace {

// Opens with O_NONBLOCK so that a FIFO without a writer or a device cannot
// block, then looks at what was opened.
int OpenChecked(const std::string& fileName, int flags, const char* what, std::int64_t* size) {
    int fd = ::open(fileName.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0) {
        if ((errno == ENOENT || errno == ENOTDIR) && !(flags & O_CREAT)) return -1;
        // A FIFO without a reader refuses a non-blocking open for writing.
        if (errno == ENXIO) throw EInOutError(std::string(what) + " \"" + fileName + "\": not a regular file");
        throw EInOutError(OsErrorText(what, fileName, errno));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        throw EInOutError(OsErrorText(what, fileName, err));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        if (S_ISDIR(st.st_mode)) throw EInOutError(OsErrorText(what, fileName, EISDIR));
        throw EInOutError(std::string(what) + " \"" + fileName + "\": not a regular file");
    }
    // Regular files never block; later reads and writes behave as usual.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (size) *size = st.st_size;
    return fd;
}

}  // namespace

int OpenFileForReading(const std::string& fileName, std::int64_t* size) {
    return OpenChecked(fileName, O_RDONLY, "Cannot open file", size);
}

int OpenFileForAppending(const std::string& fileName) {
    return OpenChecked(fileName, O_WRONLY | O_APPEND | O_CREAT, "Cannot open file", nullptr);
}

bool CheckRegularFile(const std::string& fileName) {
    int fd = OpenFileForReading(fileName);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool ReadFileBytes(const std::string& fileName, std::string& data, std::size_t maxSize) {
    data.clear();
    std::int64_t size = 0;
    int fd = OpenFileForReading(fileName, &size);
    if (fd < 0) return false;
    auto tooLarge = [&] {
        ::close(fd);
        throw EInOutError("File \"" + fileName + "\" is too large (more than " + std::to_string(maxSize) + " bytes)");
    };
    if (static_cast<unsigned long long>(size) > maxSize) tooLarge();
    data.reserve(static_cast<std::size_t>(size));  // one allocation for a file that keeps its size
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
