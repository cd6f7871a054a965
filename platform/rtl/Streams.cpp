#include "platform/rtl/Streams.h"

#include "platform/rtl/AtomicFile.h"
#include "platform/rtl/FileIO.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace cb::rtl {

namespace {

std::string WithReason(std::string text, const std::string& name, int err) {
    if (!name.empty()) text += " \"" + name + "\"";
    if (err != 0) text += std::string(": ") + std::strerror(err);
    return text;
}

std::int64_t NewPosition(std::int64_t cur, std::int64_t size, std::int64_t offset, TSeekOrigin origin,
                         const std::string& name) {
    std::int64_t base = origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soCurrent ? cur : size;
    if ((offset < 0 && base + offset < 0) || (offset > 0 && base > INT64_MAX - offset))
        throw EStreamError(WithReason("Invalid stream position", name, 0));
    return base + offset;
}

}  // namespace

// ---- TStream ----------------------------------------------------------------

TStream::~TStream() = default;

std::int64_t TStream::Size() {
    std::int64_t pos = Position();
    std::int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(pos, TSeekOrigin::soBeginning);
    return size;
}

void TStream::ReadBuffer(void* Buffer, std::size_t Count) {
    FLastError = 0;
    auto* p = static_cast<std::uint8_t*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        std::size_t n = Read(p + done, Count - done);
        if (n == 0)
            throw EReadError(
                WithReason(FLastError ? "Stream read error" : "Unexpected end of stream", StreamName(), FLastError));
        done += n;
    }
}

void TStream::WriteBuffer(const void* Buffer, std::size_t Count) {
    FLastError = 0;
    const auto* p = static_cast<const std::uint8_t*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        std::size_t n = Write(p + done, Count - done);
        if (n == 0) throw EWriteError(WithReason("Stream write error", StreamName(), FLastError ? FLastError : ENOSPC));
        done += n;
    }
}

std::int64_t TStream::CopyFrom(TStream& Source, std::int64_t Count) {
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    if (Count < 0) throw EStreamError("Invalid copy count");
    std::int64_t left = Count;
    std::string buf(static_cast<std::size_t>(std::min<std::int64_t>(left, 1 << 16)), '\0');
    while (left > 0) {
        std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(left, static_cast<std::int64_t>(buf.size())));
        Source.ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        left -= static_cast<std::int64_t>(n);
    }
    return Count;
}

std::uint8_t TStream::ReadU8() {
    std::uint8_t b;
    ReadBuffer(&b, 1);
    return b;
}

std::uint16_t TStream::ReadU16() {
    std::uint8_t b[2];
    ReadBuffer(b, 2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t TStream::ReadU32() {
    std::uint8_t b[4];
    ReadBuffer(b, 4);
    return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24);
}

std::uint64_t TStream::ReadU64() {
    std::uint64_t lo = ReadU32();
    std::uint64_t hi = ReadU32();
    return lo | (hi << 32);
}

float TStream::ReadFloat32() {
    return std::bit_cast<float>(ReadU32());
}
double TStream::ReadDouble() {
    return std::bit_cast<double>(ReadU64());
}

std::string TStream::ReadString(std::size_t Count) {
    std::string s;
    // Grow as data arrives, so that a bogus count from a file cannot
    // allocate more than the stream holds.
    const std::size_t chunk = 1 << 16;
    while (s.size() < Count) {
        std::size_t n = std::min(chunk, Count - s.size());
        std::size_t at = s.size();
        s.resize(at + n);
        ReadBuffer(s.data() + at, n);
    }
    return s;
}

void TStream::WriteU8(std::uint8_t V) {
    WriteBuffer(&V, 1);
}

void TStream::WriteU16(std::uint16_t V) {
    std::uint8_t b[2] = {std::uint8_t(V), std::uint8_t(V >> 8)};
    WriteBuffer(b, 2);
}

void TStream::WriteU32(std::uint32_t V) {
    std::uint8_t b[4] = {std::uint8_t(V), std::uint8_t(V >> 8), std::uint8_t(V >> 16), std::uint8_t(V >> 24)};
    WriteBuffer(b, 4);
}

void TStream::WriteU64(std::uint64_t V) {
    std::uint8_t b[8];
    for (int i = 0; i < 8; ++i) b[i] = std::uint8_t(V >> (8 * i));
    WriteBuffer(b, 8);
}

void TStream::WriteFloat32(float V) {
    WriteU32(std::bit_cast<std::uint32_t>(V));
}
void TStream::WriteDouble(double V) {
    WriteU64(std::bit_cast<std::uint64_t>(V));
}

// ---- TFileStream ------------------------------------------------------------

TFileStream::TFileStream(const std::string& FileName, TFileMode Mode) : FFileName(FileName) {
    int flags = O_CLOEXEC;
    switch (Mode) {
    case TFileMode::fmCreate:
        flags |= O_RDWR | O_CREAT | O_TRUNC;
        break;
    case TFileMode::fmOpenRead:
        flags |= O_RDONLY;
        break;
    case TFileMode::fmOpenWrite:
        flags |= O_WRONLY;
        break;
    case TFileMode::fmOpenReadWrite:
        flags |= O_RDWR;
        break;
    }
    const bool create = Mode == TFileMode::fmCreate;
    if (Mode == TFileMode::fmOpenRead) {
        // The checked open: no hang on a FIFO, nothing but a regular file.
        try {
            FHandle = OpenFileForReading(FileName);
        } catch (const EInOutError& e) {
            throw EFOpenError(e.Message());
        }
        if (FHandle < 0) throw EFOpenError(OsErrorText("Cannot open file", FileName, ENOENT));
        return;
    }
    FHandle = ::open(FileName.c_str(), flags | O_NONBLOCK | O_NOCTTY, 0666);
    int err = FHandle < 0 ? errno : 0;
    if (FHandle >= 0) {
        struct stat st {};
        if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(FHandle);
            FHandle = -1;
            err = EISDIR;
        } else {
            ::fcntl(FHandle, F_SETFL, ::fcntl(FHandle, F_GETFL) & ~O_NONBLOCK);
        }
    }
    if (FHandle < 0) {
        if (create) throw EFCreateError(OsErrorText("Cannot create file", FileName, err));
        throw EFOpenError(OsErrorText("Cannot open file", FileName, err));
    }
}

TFileStream::~TFileStream() {
    if (FHandle >= 0) ::close(FHandle);
}

std::size_t TFileStream::Read(void* Buffer, std::size_t Count) {
    for (;;) {
        ssize_t n = ::read(FHandle, Buffer, Count);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) {
            FLastError = errno;
            return 0;
        }
    }
}

std::size_t TFileStream::Write(const void* Buffer, std::size_t Count) {
    const auto* p = static_cast<const char*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        ssize_t n = ::write(FHandle, p + done, Count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            FLastError = errno;
            break;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::int64_t TFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    int whence = Origin == TSeekOrigin::soBeginning ? SEEK_SET : Origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
    off_t r = ::lseek(FHandle, static_cast<off_t>(Offset), whence);
    if (r < 0) throw EStreamError(WithReason("Invalid stream position", FFileName, errno));
    return r;
}

std::int64_t TFileStream::Size() {
    struct stat st {};
    if (::fstat(FHandle, &st) != 0) throw EStreamError(WithReason("Cannot read the size of", FFileName, errno));
    return st.st_size;
}

void TFileStream::SetSize(std::int64_t NewSize) {
    if (NewSize < 0 || ::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
        throw EWriteError(WithReason("Cannot change the size of", FFileName, NewSize < 0 ? EINVAL : errno));
    if (Position() > NewSize) Seek(NewSize, TSeekOrigin::soBeginning);
}

void TFileStream::FlushToDisk() {
    if (::fsync(FHandle) != 0 && errno != EINVAL) throw EWriteError(WithReason("Stream write error", FFileName, errno));
}

// ---- TMemoryStream ----------------------------------------------------------

TMemoryStream::~TMemoryStream() {
    std::free(FData);
}

void TMemoryStream::Reserve(std::size_t Needed) {
    if (Needed <= FCapacity) return;
    std::size_t cap = std::max<std::size_t>(Needed, FCapacity + FCapacity / 2);
    cap = std::max<std::size_t>(cap, 256);
    void* p = std::realloc(FData, cap);
    if (!p) throw EStreamError("Out of memory while expanding memory stream");
    FData = static_cast<std::uint8_t*>(p);
    FCapacity = cap;
}

std::size_t TMemoryStream::Read(void* Buffer, std::size_t Count) {
    if (FPosition >= FSize) return 0;
    std::size_t n = std::min(Count, FSize - FPosition);
    std::memcpy(Buffer, FData + FPosition, n);
    FPosition += n;
    return n;
}

std::size_t TMemoryStream::Write(const void* Buffer, std::size_t Count) {
    if (Count == 0) return 0;
    if (FPosition > SIZE_MAX - Count) return 0;
    std::size_t end = FPosition + Count;
    if (end > FSize) {
        Reserve(end);
        if (FPosition > FSize) std::memset(FData + FSize, 0, FPosition - FSize);
        FSize = end;
    }
    std::memcpy(FData + FPosition, Buffer, Count);
    FPosition = end;
    return Count;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    FPosition = static_cast<std::size_t>(
        NewPosition(static_cast<std::int64_t>(FPosition), static_cast<std::int64_t>(FSize), Offset, Origin, {}));
    return static_cast<std::int64_t>(FPosition);
}

void TMemoryStream::SetSize(std::int64_t NewSize) {
    if (NewSize < 0) throw EStreamError("Invalid stream size");
    std::size_t n = static_cast<std::size_t>(NewSize);
    if (n > FSize) {
        Reserve(n);
        std::memset(FData + FSize, 0, n - FSize);
    }
    FSize = n;
    if (FPosition > FSize) FPosition = FSize;
}

void TMemoryStream::Clear() {
    std::free(FData);
    FData = nullptr;
    FSize = FCapacity = FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Source) {
    Source.SetPosition(0);
    std::int64_t n = Source.Size();
    SetSize(n);
    FPosition = 0;
    if (n > 0) Source.ReadBuffer(FData, static_cast<std::size_t>(n));
}

void TMemoryStream::SaveToStream(TStream& Dest) const {
    if (FSize > 0) Dest.WriteBuffer(FData, FSize);
}

void TMemoryStream::LoadFromFile(const std::string& FileName, std::size_t MaxSize) {
    std::string data;
    if (!ReadFileBytes(FileName, data, MaxSize)) throw EFOpenError(OsErrorText("Cannot open file", FileName, ENOENT));
    Clear();
    SetSize(static_cast<std::int64_t>(data.size()));
    if (!data.empty()) std::memcpy(FData, data.data(), data.size());
    FPosition = 0;
}

void TMemoryStream::SaveToFile(const std::string& FileName) const {
    WriteFileAtomic(FileName, View());
}

TStringStream::TStringStream(std::string_view Data) {
    WriteBuffer(Data.data(), Data.size());
    SetPosition(0);
}

// ---- TAtomicFileStream ------------------------------------------------------

namespace {
constexpr std::size_t AtomicBufferSize = 1 << 16;
}

TAtomicFileStream::TAtomicFileStream(const std::string& FileName)
    : FFileName(FileName), FFile(std::make_unique<TAtomicReplace>(FileName)) {
    FBuffer.reserve(AtomicBufferSize);
}

TAtomicFileStream::~TAtomicFileStream() {
    if (!FCommitted) Discard();
}

const std::string& TAtomicFileStream::TempFileName() const {
    return FFile->TempName();
}

int TAtomicFileStream::Handle() const {
    return FFile->Handle();
}

void TAtomicFileStream::Discard() {
    FFile->Discard();
}

void TAtomicFileStream::Fail(int Err) {
    Discard();
    throw EWriteError(OsErrorText("Cannot write file", FFileName, Err));
}

bool TAtomicFileStream::FlushBuffer() {
    if (Handle() < 0) {
        FLastError = EBADF;
        return false;
    }
    std::size_t done = 0;
    while (done < FBuffer.size()) {
        ssize_t n = ::pwrite(Handle(), FBuffer.data() + done, FBuffer.size() - done,
                             static_cast<off_t>(FBufferPos + static_cast<std::int64_t>(done)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            FLastError = n < 0 ? errno : ENOSPC;
            FBuffer.clear();
            Discard();
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    FBufferPos += static_cast<std::int64_t>(FBuffer.size());
    FBuffer.clear();
    return true;
}

std::size_t TAtomicFileStream::Write(const void* Buffer, std::size_t Count) {
    if (Handle() < 0) {
        FLastError = EBADF;
        return 0;
    }
    const auto* p = static_cast<const char*>(Buffer);
    if (Count >= AtomicBufferSize) {
        if (!FlushBuffer()) return 0;
        FBuffer.assign(p, Count);
        return FlushBuffer() ? Count : 0;
    }
    FBuffer.append(p, Count);
    if (FBuffer.size() >= AtomicBufferSize && !FlushBuffer()) return 0;
    return Count;
}

std::size_t TAtomicFileStream::Read(void* Buffer, std::size_t Count) {
    if (!FlushBuffer()) return 0;
    for (;;) {
        ssize_t n = ::pread(Handle(), Buffer, Count, static_cast<off_t>(FBufferPos));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            FLastError = errno;
            return 0;
        }
        FBufferPos += n;
        return static_cast<std::size_t>(n);
    }
}

std::int64_t TAtomicFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    std::int64_t cur = FBufferPos + static_cast<std::int64_t>(FBuffer.size());
    if (Origin == TSeekOrigin::soCurrent && Offset == 0) return cur;
    if (!FlushBuffer()) throw EWriteError(OsErrorText("Cannot write file", FFileName, FLastError));
    std::int64_t size = Origin == TSeekOrigin::soEnd ? Size() : 0;
    FBufferPos = NewPosition(cur, size, Offset, Origin, FFileName);
    return FBufferPos;
}

std::int64_t TAtomicFileStream::Size() {
    if (!FlushBuffer()) throw EWriteError(OsErrorText("Cannot write file", FFileName, FLastError));
    struct stat st {};
    if (::fstat(Handle(), &st) != 0) throw EStreamError(OsErrorText("Cannot read the size of", FFileName, errno));
    return st.st_size;
}

void TAtomicFileStream::SetSize(std::int64_t NewSize) {
    if (!FlushBuffer()) throw EWriteError(OsErrorText("Cannot write file", FFileName, FLastError));
    if (NewSize < 0) throw EStreamError("Invalid stream size");
    if (::ftruncate(Handle(), static_cast<off_t>(NewSize)) != 0) Fail(errno);
    FBufferPos = std::min(FBufferPos, NewSize);
}

void TAtomicFileStream::Commit() {
    if (FCommitted) return;
    if (Handle() < 0) throw EWriteError(OsErrorText("Cannot write file", FFileName, FLastError ? FLastError : EBADF));
    if (!FlushBuffer()) throw EWriteError(OsErrorText("Cannot write file", FFileName, FLastError));
    FFile->Commit();
    FCommitted = true;
}

}  // namespace cb::rtl
