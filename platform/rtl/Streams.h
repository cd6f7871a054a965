#pragma once
// Byte streams: the abstract TStream with checked transfers and
// little-endian helpers, file, memory and string streams, and an atomic file
// writer. Read and Write return the count moved; ReadBuffer and WriteBuffer
// throw EReadError / EWriteError on a short transfer, so writers built on
// them never truncate silently.
#include "platform/rtl/Exception.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace cb::rtl {

class EStreamError : public EInOutError {
public:
    using EInOutError::EInOutError;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class TAtomicReplace;

enum class TSeekOrigin {
    soBeginning,
    soCurrent,
    soEnd
};

class TStream {
public:
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;
    virtual ~TStream();

    virtual std::size_t Read(void* Buffer, std::size_t Count) = 0;
    virtual std::size_t Write(const void* Buffer, std::size_t Count) = 0;
    // Returns the new position. Seeking past the end is allowed; seeking
    // before the start throws EStreamError.
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t Pos) { Seek(Pos, TSeekOrigin::soBeginning); }
    virtual std::int64_t Size();
    // Truncates or extends (with zero bytes); the position is kept unless it
    // lies past the new end, where it moves to the end.
    virtual void SetSize(std::int64_t NewSize) = 0;

    void ReadBuffer(void* Buffer, std::size_t Count);
    void WriteBuffer(const void* Buffer, std::size_t Count);
    void WriteBuffer(std::string_view Data) { WriteBuffer(Data.data(), Data.size()); }
    // Copies Count bytes from Source's position; Count 0 copies the whole of
    // Source from its start. Returns the count copied.
    std::int64_t CopyFrom(TStream& Source, std::int64_t Count);

    // Little-endian values; reads throw EReadError at the end of the stream.
    std::uint8_t ReadU8();
    std::uint16_t ReadU16();
    std::uint32_t ReadU32();
    std::uint64_t ReadU64();
    std::int8_t ReadI8() { return static_cast<std::int8_t>(ReadU8()); }
    std::int16_t ReadI16() { return static_cast<std::int16_t>(ReadU16()); }
    std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }
    std::int64_t ReadI64() { return static_cast<std::int64_t>(ReadU64()); }
    float ReadFloat32();
    double ReadDouble();
    // Exactly Count bytes.
    std::string ReadString(std::size_t Count);

    void WriteU8(std::uint8_t V);
    void WriteU16(std::uint16_t V);
    void WriteU32(std::uint32_t V);
    void WriteU64(std::uint64_t V);
    void WriteI8(std::int8_t V) { WriteU8(static_cast<std::uint8_t>(V)); }
    void WriteI16(std::int16_t V) { WriteU16(static_cast<std::uint16_t>(V)); }
    void WriteI32(std::int32_t V) { WriteU32(static_cast<std::uint32_t>(V)); }
    void WriteI64(std::int64_t V) { WriteU64(static_cast<std::uint64_t>(V)); }
    void WriteFloat32(float V);
    void WriteDouble(double V);

protected:
    // For messages: the file a stream works on, empty for memory.
    virtual std::string StreamName() const { return {}; }
    // The operating system's error of the last failed transfer, 0 if none.
    int FLastError = 0;
};

enum class TFileMode {
    fmCreate,
    fmOpenRead,
    fmOpenWrite,
    fmOpenReadWrite
};

// Unbuffered: every Write reaches the operating system at once, so an
// error shows in the call that caused it.
class TFileStream : public TStream {
public:
    // fmCreate creates or truncates (read and write); the others open an
    // existing file. Throws EFCreateError / EFOpenError with the file name
    // and the reason.
    TFileStream(const std::string& FileName, TFileMode Mode);
    ~TFileStream() override;

    std::size_t Read(void* Buffer, std::size_t Count) override;
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override;
    void SetSize(std::int64_t NewSize) override;

    const std::string& FileName() const { return FFileName; }
    int Handle() const { return FHandle; }
    // Flushes the file's data to the disk; throws EWriteError.
    void FlushToDisk();

protected:
    std::string StreamName() const override { return FFileName; }

private:
    std::string FFileName;
    int FHandle = -1;
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    ~TMemoryStream() override;

    std::size_t Read(void* Buffer, std::size_t Count) override;
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(FSize); }
    void SetSize(std::int64_t NewSize) override;

    // The bytes, valid until the next change of size.
    std::uint8_t* Memory() { return FData; }
    const std::uint8_t* Memory() const { return FData; }
    std::size_t DataSize() const { return FSize; }
    std::string_view View() const { return {reinterpret_cast<const char*>(FData), FSize}; }
    void Clear();

    // Replaces the contents with the whole of Source (from its start).
    void LoadFromStream(TStream& Source);
    void SaveToStream(TStream& Dest) const;
    // Files larger than MaxSize throw EInOutError.
    void LoadFromFile(const std::string& FileName, std::size_t MaxSize = 256u * 1024u * 1024u);
    // Written atomically.
    void SaveToFile(const std::string& FileName) const;

private:
    void Reserve(std::size_t Needed);
    std::uint8_t* FData = nullptr;
    std::size_t FSize = 0;
    std::size_t FCapacity = 0;
    std::size_t FPosition = 0;
};

// A memory stream over text.
class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(std::string_view Data = {});
    std::string DataString() const { return std::string(View()); }
};

// Writes to a temporary file beside FileName; Commit() flushes it to disk
// and renames it over FileName (TAtomicReplace: symbolic links followed, the
// folder flushed too). Destroyed without Commit(), the temporary file is
// removed and FileName is untouched. Buffered; seeking and reading back what
// was written are allowed.
class TAtomicFileStream : public TStream {
public:
    explicit TAtomicFileStream(const std::string& FileName);
    ~TAtomicFileStream() override;

    std::size_t Read(void* Buffer, std::size_t Count) override;
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override;
    void SetSize(std::int64_t NewSize) override;

    // Throws EWriteError (the old file stays as it was); after a failure
    // the writer is discarded.
    void Commit();
    bool Committed() const { return FCommitted; }
    const std::string& FileName() const { return FFileName; }
    const std::string& TempFileName() const;

protected:
    std::string StreamName() const override { return FFileName; }

private:
    bool FlushBuffer();
    void Discard();
    [[noreturn]] void Fail(int Err);
    int Handle() const;

    std::string FFileName;
    std::unique_ptr<TAtomicReplace> FFile;
    bool FCommitted = false;
    std::string FBuffer;
    std::int64_t FBufferPos = 0;  // file offset of FBuffer[0]
};

}  // namespace cb::rtl
