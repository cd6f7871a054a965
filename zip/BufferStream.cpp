#include "zip/BufferStream.h"

#include "zip/ZipErrors.h"

#include <algorithm>
#include <cstring>

namespace cb::zip {

using cb::rtl::TSeekOrigin;

TS_BufferStream::TS_BufferStream(cb::rtl::TStream* Stream, std::size_t BufferSize)
    : FStream(Stream), FBuffer(std::max<std::size_t>(BufferSize, 16)) {}

TS_BufferStream::~TS_BufferStream() {
    FlushQuietly();
}

void TS_BufferStream::FlushQuietly() {
    if (FStream && !FClosed && FState == 2) FlushBuffer();
    FClosed = true;
}

bool TS_BufferStream::FillBuffer() {
    FPos = 0;
    FEnd = FStream->Read(FBuffer.data(), FBuffer.size());
    FState = FEnd > 0 ? 1 : 0;
    if (OnFill) OnFill(*this);
    return FEnd > 0;
}

bool TS_BufferStream::FlushBuffer() {
    if (FState != 2) return true;
    std::size_t done = 0;
    while (done < FPos) {
        const std::size_t n = FStream->Write(FBuffer.data() + done, FPos - done);
        if (n == 0) break;
        done += n;
    }
    const bool ok = done == FPos;
    if (!ok) FWriteFailed = true;
    FPos = FEnd = 0;
    FState = 0;
    if (OnFlush) OnFlush(*this);
    return ok;
}

std::int64_t TS_BufferStream::LogicalPosition() {
    const std::int64_t inner = FStream->Position();
    if (FState == 1) return inner - static_cast<std::int64_t>(FEnd - FPos);
    if (FState == 2) return inner + static_cast<std::int64_t>(FPos);
    return inner;
}

std::size_t TS_BufferStream::Read(void* Buffer, std::size_t Count) {
    if (FState == 2 && !FlushBuffer()) return 0;
    auto out = static_cast<std::uint8_t*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        if (FState != 1 || FPos >= FEnd) {
            // Large reads skip the buffer.
            if (Count - done >= FBuffer.size()) {
                FState = 0;
                FPos = FEnd = 0;
                const std::size_t n = FStream->Read(out + done, Count - done);
                done += n;
                if (n == 0) break;
                continue;
            }
            if (!FillBuffer()) break;
        }
        const std::size_t n = std::min(Count - done, FEnd - FPos);
        std::memcpy(out + done, FBuffer.data() + FPos, n);
        FPos += n;
        done += n;
    }
    return done;
}

std::size_t TS_BufferStream::Write(const void* Buffer, std::size_t Count) {
    if (FWriteFailed) return 0;
    if (FState == 1) {
        FStream->Seek(LogicalPosition(), TSeekOrigin::soBeginning);
        FPos = FEnd = 0;
        FState = 0;
    }
    auto in = static_cast<const std::uint8_t*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        const std::size_t n = std::min(Count - done, FBuffer.size() - FPos);
        std::memcpy(FBuffer.data() + FPos, in + done, n);
        FPos += n;
        done += n;
        FState = 2;
        if (FPos == FBuffer.size() && !FlushBuffer()) break;
    }
    if (FPos > 0) FState = 2;
    FWritten = true;
    return FWriteFailed ? 0 : done;
}

std::int64_t TS_BufferStream::SeekOrigin(std::int64_t Offset, int Origin) {
    std::int64_t target;
    const std::int64_t logical = LogicalPosition();
    switch (Origin) {
    case 0:
        target = Offset;
        break;
    case 1:
        target = logical + Offset;
        break;
    case 2: {
        const std::int64_t size = std::max(logical, FStream->Size());
        target = size - (Offset < 0 ? -Offset : Offset);
        break;
    }
    default: {
        char msg[64];
        std::snprintf(msg, sizeof msg, texts::InvalidSeekOrigin, Origin);
        throw cb::rtl::EStreamError(msg);
    }
    }
    if (target == logical) return logical;
    if (!FlushBuffer()) throw cb::rtl::EStreamError(texts::SeekError);
    FPos = FEnd = 0;
    FState = 0;
    return FStream->Seek(target, TSeekOrigin::soBeginning);
}

std::int64_t TS_BufferStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    // The end counts as "size plus Offset" here, as TStream promises.
    if (Origin == TSeekOrigin::soEnd) {
        const std::int64_t size = std::max(LogicalPosition(), FStream->Size());
        return SeekOrigin(size + Offset, 0);
    }
    return SeekOrigin(Offset, Origin == TSeekOrigin::soBeginning ? 0 : 1);
}

std::int64_t TS_BufferStream::Size() {
    const std::int64_t logical = LogicalPosition();
    return std::max(logical, FStream->Size());
}

void TS_BufferStream::SetSize(std::int64_t NewSize) {
    if (!FlushBuffer()) throw ENotEnoughRoom(texts::NotEnoughRoom);
    FPos = FEnd = 0;
    FState = 0;
    FStream->SetSize(NewSize);
}

void TS_BufferStream::PutBack(std::uint8_t B) {
    if (FState != 1 || FPos == 0) throw cb::rtl::EStreamError(texts::PutbackOverflow);
    FBuffer[--FPos] = B;
}

void TS_BufferStream::Flush() {
    if (!FlushBuffer() || FWriteFailed) throw ENotEnoughRoom(texts::NotEnoughRoom);
}

void TS_BufferStream::Close() {
    if (FClosed) return;
    Flush();
    if (FWritten && FFlushOnClose) SyncToDisk();
    FClosed = true;
}

namespace {

cb::rtl::TFileMode FileMode(TLFNMode Mode) {
    return Mode == TLFNMode::Create ? cb::rtl::TFileMode::fmCreate : cb::rtl::TFileMode::fmOpenRead;
}

}  // namespace

TLFNFileStream::TLFNFileStream(const std::string& FileName, TLFNMode Mode, bool FlushOnClose, std::size_t BufferSize)
    : TS_BufferStream(nullptr, BufferSize), FFileName(FileName),
      FFile(std::make_unique<cb::rtl::TFileStream>(FileName, FileMode(Mode))) {
    FStream = FFile.get();
    SetFlushOnClose(FlushOnClose && Mode == TLFNMode::Create);
}

TLFNFileStream::~TLFNFileStream() {
    FlushQuietly();
}

void TLFNFileStream::SyncToDisk() {
    try {
        FFile->FlushToDisk();
    } catch (const cb::rtl::EStreamError& e) {
        throw ENotEnoughRoom(std::string(texts::NotEnoughRoom) + ": " + e.what());
    }
}

}  // namespace cb::zip
