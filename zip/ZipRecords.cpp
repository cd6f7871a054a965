#include "zip/ZipRecords.h"
#include "platform/rtl/Strings.h"

#include "zip/ZipUtils.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

namespace cb::zip {

using cb::rtl::TSeekOrigin;

namespace {

std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void Put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::size_t ReadUpTo(cb::rtl::TStream& S, void* Buffer, std::size_t Count) {
    auto p = static_cast<std::uint8_t*>(Buffer);
    std::size_t done = 0;
    while (done < Count) {
        const std::size_t n = S.Read(p + done, Count - done);
        if (n == 0) break;
        done += n;
    }
    return done;
}

}  // namespace

// --- TZipComment ------------------------------------------------------------

void TZipComment::Set(std::string_view Text) {
    FText.assign(Text.substr(0, 0xFFFF));
    FLength = static_cast<std::uint16_t>(FText.size());
    FLoaded = true;
}

void TZipComment::SetLengthOnly(std::uint16_t Length) {
    FText.clear();
    FLength = Length;
    FLoaded = Length == 0;
}

// --- TZipHeaderInfo ---------------------------------------------------------

void TZipHeaderInfo::SetDirectory(std::string Dir) {
    if (!Dir.empty() && Dir.back() != '/') Dir += '/';
    FDirectory = std::move(Dir);
}

bool TZipHeaderInfo::NamesInOemCodePage() const {
    return OEMConvert && (VersionMadeBy >> 8) == 0 && (Flags & Utf8NameFlag) == 0;
}

std::string TZipHeaderInfo::StoredName() const {
    const std::string name = FDirectory + FFileName;
    return NamesInOemCodePage() ? AnsiToOem(name) : name;
}

void TZipHeaderInfo::Assign(const TZipHeaderInfo& S) {
    const bool oem = OEMConvert;
    *this = S;
    OEMConvert = oem;
}

void TZipHeaderInfo::WriteCentral(cb::rtl::TStream& Stream, std::string_view Extra) const {
    const std::string name = StoredName();
    std::uint8_t h[CentralHeaderFixedSize];
    Put32(h, CentralSignature);
    Put16(h + 4, VersionMadeBy);
    Put16(h + 6, VersionNeeded);
    Put16(h + 8, Flags);
    Put16(h + 10, Method);
    Put32(h + 12, DateTime);
    Put32(h + 16, Crc32);
    Put32(h + 20, CompressedSize);
    Put32(h + 24, UncompressedSize);
    Put16(h + 28, static_cast<std::uint16_t>(name.size()));
    Put16(h + 30, static_cast<std::uint16_t>(Extra.size()));
    Put16(h + 32, FComment.Length());
    Put16(h + 34, DiskNumberStart);
    Put16(h + 36, InternalAttributes);
    Put32(h + 38, ExternalAttributes);
    Put32(h + 42, LocalHeaderOffset);
    std::string rec(reinterpret_cast<const char*>(h), sizeof h);
    rec += name;
    rec += Extra;
    if (FComment.HasText()) rec += FComment.Text();
    Stream.WriteBuffer(rec);
}

void TZipHeaderInfo::WriteLocal(cb::rtl::TStream& Stream) {
    LocalHeaderOffset = static_cast<std::uint32_t>(Stream.Position());
    const std::string name = StoredName();
    std::uint8_t h[LocalHeaderFixedSize];
    Put32(h, LocalSignature);
    Put16(h + 4, VersionNeeded);
    Put16(h + 6, Flags);
    Put16(h + 8, Method);
    Put32(h + 10, DateTime);
    Put32(h + 14, Crc32);
    Put32(h + 18, CompressedSize);
    Put32(h + 22, UncompressedSize);
    Put16(h + 26, static_cast<std::uint16_t>(name.size()));
    Put16(h + 28, LocalExtraLength);
    std::string rec(reinterpret_cast<const char*>(h), sizeof h);
    rec += name;
    Stream.WriteBuffer(rec);
}

void TZipHeaderInfo::SetNameFromStored(std::string Name, bool Convert) {
    if (Convert) Name = OemToAnsi(Name);
    const auto slash = Name.rfind('/');
    if (slash == std::string::npos) {
        FDirectory.clear();
        FFileName = std::move(Name);
    } else {
        FDirectory = Name.substr(0, slash + 1);
        FFileName = Name.substr(slash + 1);
    }
}

bool TZipHeaderInfo::ReadCentral(cb::rtl::TStream& Stream, const TNextVolumeFunc& NextVolume) {
    cb::rtl::TStream* s = &Stream;
    const std::int64_t start = s->Position();
    std::uint8_t h[CentralHeaderFixedSize];
    std::size_t got = ReadUpTo(*s, h, sizeof h);
    if (NextVolume && got < sizeof h && (got == 0 || (got >= 4 && Get32(h) == CentralSignature))) {
        if (cb::rtl::TStream* next = NextVolume()) {
            s = next;
            got += ReadUpTo(*s, h + got, sizeof h - got);
        }
    }
    auto fail = [&] {
        if (s == &Stream) Stream.Seek(start, TSeekOrigin::soBeginning);
        return false;
    };
    if (got < sizeof h || Get32(h) != CentralSignature) return fail();
    const std::uint16_t nameLen = Get16(h + 28);
    std::string name(nameLen, '\0');
    if (ReadUpTo(*s, name.data(), nameLen) < nameLen) return fail();
    VersionMadeBy = Get16(h + 4);
    VersionNeeded = Get16(h + 6);
    Flags = Get16(h + 8);
    Method = Get16(h + 10);
    DateTime = CheckDosDateTime(Get32(h + 12));
    Crc32 = Get32(h + 16);
    CompressedSize = Get32(h + 20);
    UncompressedSize = Get32(h + 24);
    CentralExtraLength = Get16(h + 30);
    SetCommentLengthOnly(Get16(h + 32));
    DiskNumberStart = Get16(h + 34);
    InternalAttributes = Get16(h + 36);
    ExternalAttributes = Get32(h + 38);
    LocalHeaderOffset = Get32(h + 42);
    CentralHeaderOffset = static_cast<std::uint32_t>(s == &Stream ? start : 0);
    std::memset(Marks, 0, sizeof Marks);
    SetNameFromStored(std::move(name), NamesInOemCodePage());
    return true;
}

bool TZipHeaderInfo::ReadLocal(cb::rtl::TStream& Stream) {
    const std::int64_t start = Stream.Position();
    std::uint8_t h[LocalHeaderFixedSize];
    auto fail = [&] {
        Stream.Seek(start, TSeekOrigin::soBeginning);
        return false;
    };
    if (ReadUpTo(Stream, h, sizeof h) < sizeof h || Get32(h) != LocalSignature) return fail();
    const std::uint16_t nameLen = Get16(h + 26);
    std::string name(nameLen, '\0');
    if (ReadUpTo(Stream, name.data(), nameLen) < nameLen) return fail();
    VersionMadeBy = 0;
    VersionNeeded = Get16(h + 4);
    Flags = Get16(h + 6);
    Method = Get16(h + 8);
    DateTime = CheckDosDateTime(Get32(h + 10));
    Crc32 = Get32(h + 14);
    CompressedSize = Get32(h + 18);
    UncompressedSize = Get32(h + 22);
    LocalExtraLength = Get16(h + 28);
    CentralExtraLength = 0;
    SetCommentLengthOnly(0);
    DiskNumberStart = 0;
    InternalAttributes = 0;
    ExternalAttributes = 0;
    LocalHeaderOffset = static_cast<std::uint32_t>(start);
    CentralHeaderOffset = 0;
    SetNameFromStored(std::move(name), OEMConvert && (Flags & Utf8NameFlag) == 0);
    return true;
}

// --- TEndCentral ------------------------------------------------------------

void TEndCentral::Reset() {
    *this = TEndCentral();
}

void TEndCentral::Assign(const TEndCentral& S) {
    const bool modified = Modified;
    *this = S;
    Modified = modified;
}

void TEndCentral::Write(cb::rtl::TStream& Stream) const {
    std::uint8_t h[EndRecordFixedSize];
    Put32(h, Signature);
    Put16(h + 4, ThisDisk);
    Put16(h + 6, StartDisk);
    Put16(h + 8, EntriesThisDisk);
    Put16(h + 10, TotalEntries);
    Put32(h + 12, DirectorySize);
    Put32(h + 16, DirectoryOffset);
    Put16(h + 20, FComment.Length());
    std::string rec(reinterpret_cast<const char*>(h), sizeof h);
    if (FComment.HasText()) rec += FComment.Text();
    Stream.WriteBuffer(rec);
}

bool TEndCentral::Find(cb::rtl::TStream& Stream) {
    const std::int64_t size = Stream.Size();
    if (size < static_cast<std::int64_t>(EndRecordFixedSize)) {
        if (size == 0) Reset();
        return size == 0;
    }
    const std::int64_t span = std::min<std::int64_t>(65557, size);
    std::vector<std::uint8_t> tail(static_cast<std::size_t>(span));
    Stream.Seek(size - span, TSeekOrigin::soBeginning);
    if (ReadUpTo(Stream, tail.data(), tail.size()) < tail.size()) return false;
    // The nearest record whose comment reaches exactly to the end wins; a
    // signature inside a comment does not. Failing that, the nearest one.
    std::int64_t chosen = -1;
    for (int pass = 0; pass < 2 && chosen < 0; ++pass) {
        for (std::int64_t i = span - EndRecordFixedSize; i >= 0; --i) {
            const std::uint8_t* p = tail.data() + i;
            if (p[0] != 0x50 || Get32(p) != EndSignature) continue;
            if (pass == 0 && i + static_cast<std::int64_t>(EndRecordFixedSize) + Get16(p + 20) != span) continue;
            chosen = i;
            break;
        }
    }
    if (chosen >= 0) {
        const std::uint8_t* p = tail.data() + chosen;
        Reset();
        ThisDisk = Get16(p + 4);
        StartDisk = Get16(p + 6);
        EntriesThisDisk = Get16(p + 8);
        TotalEntries = Get16(p + 10);
        DirectorySize = Get32(p + 12);
        DirectoryOffset = Get32(p + 16);
        SetCommentLengthOnly(Get16(p + 20));
        CommentOffset = size - span + chosen + EndRecordFixedSize;
        return true;
    }
    return false;
}

// --- TSortedZip -------------------------------------------------------------

namespace {

int Sign(std::int64_t V) {
    return V < 0 ? -1 : (V > 0 ? 1 : 0);
}

int ArchiveOrder(const TZipHeaderInfo* A, const TZipHeaderInfo* B) {
    if (A->DiskNumberStart != B->DiskNumberStart) return A->DiskNumberStart - B->DiskNumberStart;
    return Sign(static_cast<std::int64_t>(A->LocalHeaderOffset) - B->LocalHeaderOffset);
}

int CompareText(const std::string& A, const std::string& B) {
    const std::string a = cb::rtl::LowerCase(A), b = cb::rtl::LowerCase(B);
    return a < b ? -1 : (a > b ? 1 : 0);
}

int Rate(const TZipHeaderInfo* E) {
    return Percentage(E->CompressedSize, E->UncompressedSize);
}

// Larger key first; equal keys in archive order, then by name.
int Descending(std::int64_t KeyA, std::int64_t KeyB, const TZipHeaderInfo* A, const TZipHeaderInfo* B) {
    if (KeyA != KeyB) return KeyB > KeyA ? 1 : -1;
    const int order = ArchiveOrder(A, B);
    return order != 0 ? order : CompareText(A->FullName(), B->FullName());
}

}  // namespace

int TSortedZip::Compare(const TZipHeaderInfo* A, const TZipHeaderInfo* B) const {
    switch (FSortType) {
    case TZipSortMode::ByName:
        return CompareText(A->FullName(), B->FullName());
    case TZipSortMode::ByFileName:
        return CompareText(A->FileName(), B->FileName());
    case TZipSortMode::ByDirectoryName:
        return CompareText(A->Directory(), B->Directory());
    case TZipSortMode::ByDate: {
        std::time_t ta = 0, tb = 0;
        if (!DosDateTimeToUnix(A->DateTime, ta)) ta = 0;
        if (!DosDateTimeToUnix(B->DateTime, tb)) tb = 0;
        return Descending(ta, tb, A, B);
    }
    case TZipSortMode::ByCompressedSize:
        return Descending(A->CompressedSize, B->CompressedSize, A, B);
    case TZipSortMode::ByUnCompressedSize:
        return Descending(A->UncompressedSize, B->UncompressedSize, A, B);
    case TZipSortMode::ByRate:
        return Rate(B) - Rate(A);
    case TZipSortMode::ByNone:
        break;
    }
    return ArchiveOrder(A, B);
}

}  // namespace cb::zip
