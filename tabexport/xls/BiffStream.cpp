#include "tabexport/xls/BiffStream.h"

#include "platform/os/Files.h"
#include "platform/rtl/Streams.h"
#include "tabexport/core/TabExportTypes.h"

#include <cstring>
#include <vector>

namespace cb::tabexport {

namespace {
constexpr std::size_t KSpillBuffer = 1 << 20;
}

void TBiffBody::Put(const void* Data, std::size_t N) {
    if (FLength + N > biff::MaxBody) throw ETabExportError("Internal error: a record body exceeds 8224 bytes");
    std::memcpy(FData + FLength, Data, N);
    FLength += N;
}

void TBiffBody::U16(std::uint16_t V) {
    std::uint8_t b[2] = {std::uint8_t(V), std::uint8_t(V >> 8)};
    Put(b, 2);
}

void TBiffBody::U32(std::uint32_t V) {
    std::uint8_t b[4] = {std::uint8_t(V), std::uint8_t(V >> 8), std::uint8_t(V >> 16), std::uint8_t(V >> 24)};
    Put(b, 4);
}

void TBiffBody::F64(double V) {
    std::uint64_t bits;
    std::memcpy(&bits, &V, 8);
    U32(std::uint32_t(bits));
    U32(std::uint32_t(bits >> 32));
}

void TBiffBody::Zeros(std::size_t N) {
    static const std::uint8_t zeros[64] = {};
    while (N > 0) {
        std::size_t k = std::min<std::size_t>(N, sizeof zeros);
        Put(zeros, k);
        N -= k;
    }
}

void TBiffBody::Utf16(std::u16string_view S) {
    for (char16_t c : S) U16(std::uint16_t(c));
}

void TBiffBody::SetU16(std::size_t Offset, std::uint16_t V) {
    FData[Offset] = std::uint8_t(V);
    FData[Offset + 1] = std::uint8_t(V >> 8);
}

void TBiffOut::Record(std::uint16_t Id, const void* Body, std::size_t N) {
    std::uint8_t head[4] = {std::uint8_t(Id), std::uint8_t(Id >> 8), std::uint8_t(N), std::uint8_t(N >> 8)};
    Put(head, 4);
    if (N) Put(Body, N);
}

void TBiffOut::Record(std::uint16_t Id, const TBiffBody& Body) {
    Record(Id, Body.Data(), Body.Length());
}

void TBiffOut::WordRecord(std::uint16_t Id, std::uint16_t Value) {
    std::uint8_t b[2] = {std::uint8_t(Value), std::uint8_t(Value >> 8)};
    Record(Id, b, 2);
}

void TBiffOut::LongRecord(std::uint16_t Id, std::string_view Body) {
    std::size_t first = std::min(Body.size(), biff::MaxPiece);
    Record(Id, Body.data(), first);
    for (std::size_t pos = first; pos < Body.size();) {
        std::size_t n = std::min(Body.size() - pos, biff::MaxPiece);
        Record(biff::CONTINUE, Body.data() + pos, n);
        pos += n;
    }
}

void TBiffMemory::Put(const void* Data, std::size_t N) {
    FData.append(static_cast<const char*>(Data), N);
}

void TBiffMemory::Patch(std::uint64_t Pos, const void* Data, std::size_t N) {
    std::memcpy(FData.data() + Pos, Data, N);
}

TBiffSpill::TBiffSpill() {
    FFileName = cb::os::CreateTempFile("cb-xls-", ".tmp");
    try {
        FFile = std::make_unique<cb::rtl::TFileStream>(FFileName, cb::rtl::TFileMode::fmOpenReadWrite);
    } catch (...) {
        cb::os::DeleteFile(FFileName);
        throw;
    }
    // Unlinked at once: the handle keeps it, and nothing is left behind
    // even when the program ends abruptly.
    cb::os::DeleteFile(FFileName);
    FBuffer.reserve(KSpillBuffer);
}

TBiffSpill::~TBiffSpill() = default;

void TBiffSpill::Flush() {
    if (FBuffer.empty()) return;
    FFile->SetPosition(std::int64_t(FFlushed));
    FFile->WriteBuffer(FBuffer.data(), FBuffer.size());
    FFlushed += FBuffer.size();
    FBuffer.clear();
}

void TBiffSpill::Put(const void* Data, std::size_t N) {
    if (FBuffer.size() + N > KSpillBuffer) Flush();
    FBuffer.append(static_cast<const char*>(Data), N);
}

void TBiffSpill::Patch(std::uint64_t Pos, const void* Data, std::size_t N) {
    const auto* p = static_cast<const std::uint8_t*>(Data);
    for (std::size_t i = 0; i < N; ++i) {
        std::uint64_t at = Pos + i;
        if (at >= FFlushed) {
            FBuffer[at - FFlushed] = char(p[i]);
        } else {
            FFile->SetPosition(std::int64_t(at));
            FFile->WriteBuffer(p + i, 1);
        }
    }
}

void TBiffSpill::ReadChunks(void (*Sink)(void*, const void*, std::size_t), void* Context) {
    Flush();
    FFile->SetPosition(0);
    std::vector<char> chunk(KSpillBuffer);
    for (std::uint64_t left = FFlushed; left > 0;) {
        std::size_t n = std::size_t(std::min<std::uint64_t>(left, chunk.size()));
        FFile->ReadBuffer(chunk.data(), n);
        Sink(Context, chunk.data(), n);
        left -= n;
    }
}

}  // namespace cb::tabexport
