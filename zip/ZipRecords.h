#pragma once
// The records of a zip archive: the entry record (local and central
// header), the end-of-central-directory record and the sorted entry list
// that forms an archive's directory. Little-endian, no ZIP64, no data
// descriptors written, no extra fields created.
#include "platform/rtl/Streams.h"
#include "zip/ObjectList.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace cb::zip {

inline constexpr std::uint32_t LocalSignature = 0x04034B50;
inline constexpr std::uint32_t CentralSignature = 0x02014B50;
inline constexpr std::uint32_t EndSignature = 0x06054B50;
inline constexpr std::uint32_t LocalHeaderFixedSize = 30;
inline constexpr std::uint32_t CentralHeaderFixedSize = 46;
inline constexpr std::uint32_t EndRecordFixedSize = 22;
// General purpose flag: the name and comment are UTF-8.
inline constexpr std::uint16_t Utf8NameFlag = 0x800;

// Replaces the stream by the next volume's, or returns nullptr.
using TNextVolumeFunc = std::function<cb::rtl::TStream*()>;

// A record's comment: its text, or only its length while the text is still
// in the archive, to be read when asked for. Cut to 65535 bytes.
class TZipComment {
public:
    bool HasText() const { return FLength > 0; }
    bool Loaded() const { return FLoaded; }
    std::uint16_t Length() const { return FLength; }
    const std::string& Text() const { return FText; }
    // A copy; an empty text clears it.
    void Set(std::string_view Text);
    // Only the length is known (read from a header).
    void SetLengthOnly(std::uint16_t Length);

private:
    std::string FText;
    std::uint16_t FLength = 0;
    bool FLoaded = true;
};

class TZipHeaderInfo {
public:
    std::uint16_t VersionMadeBy = 20;  // low byte 2.0, high byte host 0 (MS-DOS)
    std::uint16_t VersionNeeded = 20;
    std::uint16_t Flags = 0;  // bit 0 encrypted, bits 1-2 level class, bit 3 data descriptor
    std::uint16_t Method = 8;
    std::uint32_t DateTime = 0;  // MS-DOS stamp
    std::uint32_t Crc32 = 0xFFFFFFFF;
    std::uint32_t CompressedSize = 0;  // with a 12-byte encryption header
    std::uint32_t UncompressedSize = 0;
    std::uint16_t CentralExtraLength = 0;
    std::uint16_t LocalExtraLength = 0;
    std::uint16_t DiskNumberStart = 0;
    std::uint16_t InternalAttributes = 1;  // bit 0 text
    std::uint32_t ExternalAttributes = 0x20;
    std::uint32_t LocalHeaderOffset = 0;
    std::uint32_t CentralHeaderOffset = 0;  // where the central header was read
    std::uint8_t Marks[3] = {};
    bool OEMConvert = false;  // names pass the OEM code page

    // Without directory.
    const std::string& FileName() const { return FFileName; }
    void SetFileName(std::string Name) { FFileName = std::move(Name); }
    // Ends in "/" when not empty.
    const std::string& Directory() const { return FDirectory; }
    void SetDirectory(std::string Dir);
    std::string FullName() const { return FDirectory + FFileName; }
    // The name's bytes as written: the OEM code page when OEMConvert, unless
    // the record came from another host or marks its name as UTF-8.
    std::string StoredName() const;
    bool NamesInOemCodePage() const;
    std::uint16_t NameLength() const { return static_cast<std::uint16_t>(StoredName().size()); }

    bool HasComment() const { return FComment.HasText(); }
    bool CommentLoaded() const { return FComment.Loaded(); }
    std::uint16_t CommentLength() const { return FComment.Length(); }
    const std::string& Comment() const { return FComment.Text(); }
    void SetComment(std::string_view Comment) { FComment.Set(Comment); }
    void SetCommentLengthOnly(std::uint16_t Length) { FComment.SetLengthOnly(Length); }

    bool HasDataDescriptor() const { return (Flags & 8) != 0; }
    std::uint32_t LocalHeaderSize() const { return LocalHeaderFixedSize + NameLength() + LocalExtraLength; }
    std::uint32_t CentralHeaderSize() const {
        return CentralHeaderFixedSize + NameLength() + CentralExtraLength + FComment.Length();
    }

    // Every field but the OEM flag.
    void Assign(const TZipHeaderInfo& Source);

    // 46 bytes, the name, Extra (a carried-over central extra field) and
    // the comment.
    void WriteCentral(cb::rtl::TStream& Stream, std::string_view Extra = {}) const;
    // Records the position as LocalHeaderOffset, then writes 30 bytes and
    // the name (no extra field bytes).
    void WriteLocal(cb::rtl::TStream& Stream);
    // False with the stream back where it was when no valid record is there.
    bool ReadCentral(cb::rtl::TStream& Stream, const TNextVolumeFunc& NextVolume = {});
    bool ReadLocal(cb::rtl::TStream& Stream);

private:
    void SetNameFromStored(std::string Name, bool Convert);
    std::string FFileName;
    std::string FDirectory;
    TZipComment FComment;
};

class TEndCentral {
public:
    std::uint32_t Signature = EndSignature;
    std::uint16_t ThisDisk = 0;
    std::uint16_t StartDisk = 0;
    std::uint16_t EntriesThisDisk = 0;
    std::uint16_t TotalEntries = 0;
    std::uint32_t DirectorySize = 0;
    std::uint32_t DirectoryOffset = 0;  // unsigned: offsets up to 4 GiB
    std::int64_t CommentOffset = 0;     // file position right after the 22 bytes
    bool Modified = false;

    void Reset();
    bool HasComment() const { return FComment.HasText(); }
    bool CommentLoaded() const { return FComment.Loaded(); }
    std::uint16_t CommentLength() const { return FComment.Length(); }
    const std::string& Comment() const { return FComment.Text(); }
    void SetComment(std::string_view Comment) { FComment.Set(Comment); }
    void SetCommentLengthOnly(std::uint16_t Length) { FComment.SetLengthOnly(Length); }
    std::uint32_t Size() const { return EndRecordFixedSize + FComment.Length(); }
    // All but the modified mark.
    void Assign(const TEndCentral& Source);
    void Write(cb::rtl::TStream& Stream) const;
    // Searches the last 65557 bytes, nearest to the end first, preferring a
    // record whose comment ends the file. An empty
    // stream is a valid archive with no entries; 1..21 bytes are not.
    bool Find(cb::rtl::TStream& Stream);

private:
    TZipComment FComment;
};

enum class TZipSortMode {
    ByName,
    ByFileName,
    ByDirectoryName,
    ByDate,
    ByCompressedSize,
    ByUnCompressedSize,
    ByRate,
    ByNone
};

// An archive's directory or a sorted view of it.
class TSortedZip : public TSortedObjectList<TZipHeaderInfo> {
public:
    TSortedZip(bool OwnsObjects, TDuplicates Duplicates, TZipSortMode SortType = TZipSortMode::ByNone)
        : TSortedObjectList<TZipHeaderInfo>(OwnsObjects, Duplicates), FSortType(SortType) {}
    TZipSortMode SortType() const { return FSortType; }
    // Date and size orders put the newer or larger first and break ties by
    // archive position, so they are strict weak orders.
    int Compare(const TZipHeaderInfo* A, const TZipHeaderInfo* B) const override;

private:
    TZipSortMode FSortType;
};

// Entry and archive sizes this library can write without ZIP64.
inline constexpr std::uint64_t MaxZipSize = 0xFFFFFFFFull;

}  // namespace cb::zip
