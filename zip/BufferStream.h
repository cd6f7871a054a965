#pragma once
// A buffered stream over another stream, and a buffered file stream. Writes
// collect in the buffer; Close() writes the rest, checks that every byte
// went out and (for files, when asked) syncs the file to disk, so a full
// disk raises instead of leaving a truncated file.
#include "platform/rtl/Streams.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::zip {

class TS_BufferStream : public cb::rtl::TStream {
public:
    // Stream is not owned and must outlive this one.
    TS_BufferStream(cb::rtl::TStream* Stream, std::size_t BufferSize);
    // Writes what is pending; errors are lost here: call Close() first.
    ~TS_BufferStream() override;

    std::size_t Read(void* Buffer, std::size_t Count) override;
    // Returns the count taken; fewer than asked once the wrapped stream
    // refused bytes (the failure is kept and Close() raises it).
    std::size_t Write(const void* Buffer, std::size_t Count) override;
    std::int64_t Seek(std::int64_t Offset, cb::rtl::TSeekOrigin Origin) override;
    std::int64_t Size() override;
    void SetSize(std::int64_t NewSize) override;
    // Origin as a number: 0 start, 1 current, 2 end; others raise
    // "Invalid seek origin (n)".
    std::int64_t SeekOrigin(std::int64_t Offset, int Origin);

    // Steps back one byte and stores B there; raises "Putback overflow" at
    // the buffer's start.
    void PutBack(std::uint8_t B);
    // Writes pending bytes; raises ENotEnoughRoom when the wrapped stream
    // takes fewer.
    void Flush();
    // Flush, then SyncToDisk() when something was written and FlushOnClose.
    virtual void Close();
    bool WriteFailed() const { return FWriteFailed; }
    bool Written() const { return FWritten; }
    void SetFlushOnClose(bool Value) { FFlushOnClose = Value; }

    std::function<void(TS_BufferStream&)> OnFill;
    std::function<void(TS_BufferStream&)> OnFlush;

protected:
    virtual void SyncToDisk() {}
    // Writes what is pending, ignoring failures (destructors).
    void FlushQuietly();
    cb::rtl::TStream* FStream;

private:
    bool FillBuffer();
    bool FlushBuffer();
    std::int64_t LogicalPosition();

    std::vector<std::uint8_t> FBuffer;
    std::size_t FPos = 0;  // next byte in the buffer
    std::size_t FEnd = 0;  // end of valid data
    int FState = 0;        // 0 idle, 1 read-ahead held, 2 writes pending
    bool FFlushOnClose = false;
    bool FWritten = false;
    bool FWriteFailed = false;
    bool FClosed = false;
};

enum class TLFNMode {
    Create,         // archives, volumes, temporary files
    ReadDenyWrite,  // the archive being read
    ReadShared,     // source files
    Read            // volumes and directory files being read
};

// A buffered file (8192 bytes unless told otherwise).
class TLFNFileStream : public TS_BufferStream {
public:
    TLFNFileStream(const std::string& FileName, TLFNMode Mode, bool FlushOnClose = false,
                   std::size_t BufferSize = 8192);
    ~TLFNFileStream() override;
    const std::string& FileName() const { return FFileName; }
    int Handle() const { return FFile->Handle(); }

protected:
    void SyncToDisk() override;
    std::string StreamName() const override { return FFileName; }

private:
    std::string FFileName;
    std::unique_ptr<cb::rtl::TFileStream> FFile;
};

}  // namespace cb::zip
