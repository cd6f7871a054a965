#include "zip/ZipReader.h"

#include "platform/rtl/Strings.h"
#include "zip/ZipErrors.h"
#include "zip/ZipUtils.h"

#include <cstdio>
#include <sys/stat.h>

namespace cb::zip {

using cb::rtl::TSeekOrigin;

TZipReader::TZipReader() = default;

void TZipReader::GetNextDisk(int NextDisk, std::string& FName) {
    if (OnGetNextDisk)
        OnGetNextDisk(NextDisk, FName);
    else
        DefaultGetNextDisk(NextDisk, FName);
}

TZipReader::~TZipReader() {
    ClearDirectory();
}

void TZipReader::SetZipName(const std::string& Name) {
    // File names on this system are case-sensitive.
    if (Name == FZipName) return;
    FZipName = Name;
    FSortedView.reset();
    FDirectory.reset();
    FFileStamp = {};
    FEndCentral.Reset();
    FArchive.reset();
    FScanned = false;
}

void TZipReader::SetDestDir(const std::string& Dir) {
    FDestDir = Dir;
    while (FDestDir.size() > 1 && FDestDir.back() == '/') FDestDir.pop_back();
}

void TZipReader::SetRootDir(const std::string& Dir) {
    FRootDir = Dir;
    if (!FRootDir.empty() && FRootDir.back() != '/') FRootDir += '/';
}

std::unique_ptr<TZipHeaderInfo> TZipReader::NewEntry() const {
    auto e = std::make_unique<TZipHeaderInfo>();
    e->OEMConvert = OEMConvert;
    return e;
}

void TZipReader::Sort(TZipSortMode Mode) {
    FSortedView.reset();
    if (Mode != TZipSortMode::ByNone && FDirectory) {
        FSortedView = std::make_unique<TSortedZip>(false, TDuplicates::dupAccept, Mode);
        for (int i = 0; i < FDirectory->Count(); ++i) FSortedView->Add(FDirectory->Items(i));
    }
    FSortMode = Mode;
}

int TZipReader::Count() const {
    return FDirectory ? FDirectory->Count() : 0;
}

void TZipReader::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) {
        char msg[64];
        std::snprintf(msg, sizeof msg, texts::IndexOutOfRange, Index);
        throw cb::rtl::EListError(msg);
    }
}

TZipHeaderInfo& TZipReader::EntryRef(int Index) const {
    CheckIndex(Index);
    return *(FSortedView ? FSortedView->Items(Index) : FDirectory->Items(Index));
}

const TZipHeaderInfo& TZipReader::Entry(int Index) const {
    return EntryRef(Index);
}

std::time_t TZipReader::EntryDateTime(int Index) const {
    return DosDateTimeOrNow(EntryRef(Index).DateTime);
}

std::string TZipReader::ReadCommentAt(std::int64_t Offset, std::uint16_t Length) {
    const bool wasOpen = FArchive != nullptr;
    if (!wasOpen) FArchive = std::make_unique<TLFNFileStream>(FZipName, TLFNMode::ReadDenyWrite);
    const std::int64_t keep = FArchive->Position();
    FArchive->Seek(Offset, TSeekOrigin::soBeginning);
    std::string text = FArchive->ReadString(Length);
    FArchive->Seek(keep, TSeekOrigin::soBeginning);
    if (!wasOpen && !KeepZipOpen && FMultiMode == TMultiMode::mmNone) FArchive.reset();
    return text;
}

std::string TZipReader::EntryComment(int Index) {
    TZipHeaderInfo& e = EntryRef(Index);
    if (e.HasComment() && !e.CommentLoaded()) {
        const bool wasOpen = FArchive != nullptr;
        if (!wasOpen) FArchive = std::make_unique<TLFNFileStream>(FZipName, TLFNMode::ReadDenyWrite);
        const std::int64_t keep = FArchive->Position();
        FArchive->Seek(e.CentralHeaderOffset, TSeekOrigin::soBeginning);
        const std::string fixed = FArchive->ReadString(CentralHeaderFixedSize);
        const auto u16 = [&](int at) {
            return static_cast<std::uint16_t>(static_cast<std::uint8_t>(fixed[at]) |
                                              (static_cast<std::uint8_t>(fixed[at + 1]) << 8));
        };
        FArchive->Seek(u16(28) + u16(30), TSeekOrigin::soCurrent);
        e.SetComment(FArchive->ReadString(e.CommentLength()));
        FArchive->Seek(keep, TSeekOrigin::soBeginning);
        if (!wasOpen && !KeepZipOpen && FMultiMode == TMultiMode::mmNone) FArchive.reset();
    }
    return e.Comment();
}

void TZipReader::SetEntryComment(int Index, const std::string& Comment) {
    TZipHeaderInfo& e = EntryRef(Index);
    if (EntryComment(Index) == Comment) return;
    e.SetComment(Comment);
    FEndCentral.Modified = true;
}

std::string TZipReader::ZipComment() {
    if (FEndCentral.HasComment() && !FEndCentral.CommentLoaded())
        FEndCentral.SetComment(ReadCommentAt(FEndCentral.CommentOffset, FEndCentral.CommentLength()));
    return FEndCentral.Comment();
}

void TZipReader::SetZipComment(const std::string& Comment) {
    if (ZipComment() == Comment) return;
    FEndCentral.SetComment(Comment);
    FEndCentral.Modified = true;
}

TZipReader::TFileStamp TZipReader::FileStamp(const std::string& Name) {
    struct stat st {};
    if (::stat(Name.c_str(), &st) != 0) return {};
    return {static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
            static_cast<std::int64_t>(st.st_size)};
}

std::string TZipReader::ReplaceExtension(const std::string& Name, const std::string& Ext) {
    const auto slash = Name.rfind('/');
    const auto dot = Name.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return Name + Ext;
    return Name.substr(0, dot) + Ext;
}

void TZipReader::DefaultGetNextDisk(int NextDisk, std::string& FName) {
    if (MultiMode() != TMultiMode::mmSpan) {
        char ext[16];
        std::snprintf(ext, sizeof ext, ".%3.3d", NextDisk);
        FName = ReplaceExtension(FName, ext);
        return;
    }
    const std::string text = texts::InsertDisk + std::to_string(NextDisk) + texts::OfMultiDisk;
    if (!OnPromptForDisk || !OnPromptForDisk(text)) FName.clear();
}

void TZipReader::LoadVolume(int N) {
    FArchive.reset();
    std::string name = FZipName;
    std::string lastMissing;
    while (true) {
        std::string asked = name;
        GetNextDisk(N, asked);
        if (asked.empty()) throw EUserCanceled(texts::CanceledLoadDisk);
        if (GetFileInfo(asked).Exists && !GetFileInfo(asked).IsDirectory) {
            name = asked;
            break;
        }
        // The same missing file twice: no one can supply it.
        if (asked == lastMissing) throw EIncompleteZip(std::string(texts::IncompleteZip) + ": missing volume " + asked);
        lastMissing = asked;
    }
    FArchive = std::make_unique<TLFNFileStream>(name, TLFNMode::Read);
    FCurrentVolume = N - 1;
    FFileStamp = FileStamp(name);
    FZipName = name;
}

void TZipReader::OpenArchive() {
    if (!FArchive) FArchive = std::make_unique<TLFNFileStream>(FZipName, TLFNMode::ReadDenyWrite);
    if (!FDirectory || !(FileStamp(FZipName) == FFileStamp)) ReadDirectory();
}

void TZipReader::CloseArchive() {
    if (!KeepZipOpen) FArchive.reset();
}

void TZipReader::FreeDirectory() {
    FSortedView.reset();
    FDirectory.reset();
}

void TZipReader::DropDirectory() {
    const std::string name = FZipName;
    ClearDirectory();
    FZipName = name;
}

void TZipReader::ClearDirectory() {
    FArchive.reset();
    FreeDirectory();
    FEndCentral.Reset();
    FScanned = false;
    FDirectoryFault.clear();
    FFileStamp = {};
    FNumVolumes = 1;
    SetMultiMode(TMultiMode::mmNone);
    FZipName.clear();
}

bool TZipReader::IsSafeEntryName(std::string_view Name) {
    if (Name.empty()) return true;
    if (Name.front() == '/' || Name.front() == '\\') return false;
    if (Name.size() >= 2 && Name[1] == ':') return false;
    std::size_t start = 0;
    while (start <= Name.size()) {
        const auto end = Name.find_first_of("/\\", start);
        const auto part = Name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (part == "..") return false;
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return true;
}

namespace {

void CheckSafe(const TZipHeaderInfo& E) {
    if (!TZipReader::IsSafeEntryName(E.FullName()))
        throw EBadZipFile(std::string(texts::NotAZip) + " Unsafe entry name: \"" + E.FullName() + "\"");
}

}  // namespace

bool TZipReader::RecoveryScan() {
    if (FScanned) return false;
    FScanned = true;
    FreeDirectory();
    TLFNFileStream& s = *FArchive;
    const bool exe = cb::rtl::SameText(cb::rtl::ExtractFileExt(FZipName), ".exe");
    s.Seek(exe ? 14000 : 0, TSeekOrigin::soBeginning);
    static const std::uint8_t sig[4] = {0x50, 0x4B, 0x03, 0x04};
    int matched = 0;
    std::int64_t counted = 0;
    std::uint8_t b;
    while (true) {
        if (s.Read(&b, 1) != 1) return false;
        if (b == sig[matched]) {
            if (++matched < 4) continue;
            std::uint8_t ver[2];
            if (s.Read(ver, 2) != 2) return false;
            if (ver[1] >= 10) {
                s.Seek(-2, TSeekOrigin::soCurrent);
                matched = 0;
                continue;
            }
            s.Seek(-6, TSeekOrigin::soCurrent);
            break;
        }
        matched = b == sig[0] ? 1 : 0;
        if (b != sig[0] && ++counted % 10240 == 0) ProcessMessages();
    }
    FDirectory = std::make_unique<TSortedZip>(true, TDuplicates::dupError);
    while (FDirectory->Count() < 0xFFFF) {
        auto e = NewEntry();
        if (!e->ReadLocal(s)) break;
        try {
            CheckSafe(*e);
        } catch (...) {
            FreeDirectory();
            throw;
        }
        std::int64_t skip = static_cast<std::int64_t>(e->CompressedSize) + e->LocalExtraLength;
        if (e->HasDataDescriptor()) skip += 16;
        s.Seek(skip, TSeekOrigin::soCurrent);
        try {
            FDirectory->Add(e.get());
            e.release();
        } catch (const cb::rtl::EListError&) {
            break;
        }
    }
    FEndCentral.Reset();
    FEndCentral.DirectoryOffset = static_cast<std::uint32_t>(s.Position());
    FEndCentral.TotalEntries = FEndCentral.EntriesThisDisk = static_cast<std::uint16_t>(FDirectory->Count());
    FCurrentVolume = 0;
    FNumVolumes = 1;
    return true;
}

namespace {

// The end record's fields that a ZIP64 archive fills with all ones.
bool Saturated(const TEndCentral& End) {
    return End.TotalEntries == 0xFFFF || End.EntriesThisDisk == 0xFFFF || End.DirectorySize == 0xFFFFFFFF ||
           End.DirectoryOffset == 0xFFFFFFFF;
}

// A ZIP64 end locator right before the end record: the archive holds more
// entries or bytes than its end record can say.
bool HasZip64Locator(cb::rtl::TStream& S, const TEndCentral& End) {
    const std::int64_t at = End.CommentOffset - EndRecordFixedSize - 20;
    if (at < 0) return false;
    S.Seek(at, TSeekOrigin::soBeginning);
    std::uint8_t sig[4] = {};
    return S.Read(sig, 4) == 4 && sig[0] == 0x50 && sig[1] == 0x4B && sig[2] == 0x06 && sig[3] == 0x07;
}

}  // namespace

void TZipReader::ReadDirectory() {
    FFileStamp = FileStamp(FZipName);
    FreeDirectory();
    FDirectoryFault.clear();
    std::unique_ptr<TLFNFileStream> zfc;
    cb::rtl::TStream* src = FArchive.get();
    bool found = FEndCentral.Find(*FArchive);
    if (found &&
        (FEndCentral.ThisDisk > 999 || FEndCentral.StartDisk > 999 || FEndCentral.ThisDisk < FEndCentral.StartDisk))
        found = false;
    bool zfcMode = false;
    if (!found) {
        const std::string zfcName = ReplaceExtension(FZipName, ".zfc");
        if (GetFileInfo(zfcName).Exists) {
            zfc = std::make_unique<TLFNFileStream>(zfcName, TLFNMode::Read);
            if (FEndCentral.Find(*zfc)) {
                found = zfcMode = true;
                src = zfc.get();
            } else {
                zfc.reset();
            }
        }
    }
    if (found && !zfcMode && Saturated(FEndCentral) && HasZip64Locator(*FArchive, FEndCentral))
        throw EZipTooLarge("The archive \"" + FZipName +
                           "\" holds more than 65,535 entries or 4 GiB (ZIP64), which cannot be read");
    bool scanMode = false;
    std::int64_t dirPos = 0;
    if (found) {
        FCurrentVolume = zfcMode ? 0 : FEndCentral.ThisDisk;
        if (FEndCentral.ThisDisk != 0) {
            if (MultiMode() != TMultiMode::mmSpan) SetMultiMode(TMultiMode::mmBlocks);
        } else {
            SetMultiMode(TMultiMode::mmNone);
        }
        if (FEndCentral.TotalEntries > 0 && !zfcMode && MultiMode() != TMultiMode::mmNone &&
            FEndCentral.StartDisk != FCurrentVolume) {
            LoadVolume(FEndCentral.StartDisk + 1);
            src = FArchive.get();
        }
        dirPos = zfcMode ? 0 : FEndCentral.DirectoryOffset;
    } else {
        TIncompleteZipMode mode = IncompleteZipMode;
        if (OnInCompleteZip) OnInCompleteZip(mode);
        if (mode == TIncompleteZipMode::izAssumeNotAZip) throw ENotAZipFile(texts::NotAZip);
        if (mode == TIncompleteZipMode::izAssumeMulti) throw EIncompleteZip(texts::IncompleteZip);
        if (!RecoveryScan()) {
            DropDirectory();
            throw EBadZipFile(texts::NotAZip);
        }
        scanMode = true;
        dirPos = FEndCentral.DirectoryOffset;
    }
    if (!FDirectory) FDirectory = std::make_unique<TSortedZip>(true, TDuplicates::dupError);
    const bool multi = MultiMode() != TMultiMode::mmNone;
    const TNextVolumeFunc next = [&]() -> cb::rtl::TStream* {
        LoadVolume(FCurrentVolume + 2);
        src = FArchive.get();
        return src;
    };
    const int total = FEndCentral.TotalEntries;
    src->Seek(dirPos, TSeekOrigin::soBeginning);
    TZipHeaderInfo* previous = nullptr;
    for (int i = 0; i < total; ++i) {
        auto e = NewEntry();
        const TNextVolumeFunc none;
        bool ok = e->ReadCentral(*src, !scanMode && multi ? next : none);
        if (!ok && previous && previous->CentralExtraLength > 0) {
            // An extra field that is claimed but not there.
            src->Seek(-static_cast<std::int64_t>(previous->CentralExtraLength), TSeekOrigin::soCurrent);
            previous->CentralExtraLength = 0;
            ok = e->ReadCentral(*src, !scanMode && multi ? next : none);
        }
        if (!ok) {
            if (scanMode) break;
            if (multi || !RecoveryScan()) {
                DropDirectory();
                throw EBadZipFile(texts::NotAZip);
            }
            scanMode = true;
            previous = nullptr;
            i = -1;
            src->Seek(FEndCentral.DirectoryOffset, TSeekOrigin::soBeginning);
            continue;
        }
        try {
            CheckSafe(*e);
        } catch (...) {
            DropDirectory();
            throw;
        }
        const std::int64_t skip = e->CentralExtraLength;
        bool commentRead = false;
        if (multi && e->HasComment()) {
            src->Seek(skip, TSeekOrigin::soCurrent);
            e->SetComment(src->ReadString(e->CommentLength()));
            commentRead = true;
        }
        src->Seek((commentRead ? 0 : skip + e->CommentLength()), TSeekOrigin::soCurrent);
        if (scanMode) {
            int index;
            if (FDirectory->Find(e.get(), index)) {
                TZipHeaderInfo* found = FDirectory->Items(index);
                const std::uint32_t keepOffset = found->LocalHeaderOffset;
                found->Assign(*e);
                found->LocalHeaderOffset = keepOffset;
                previous = found;
            }
            continue;
        }
        try {
            TZipHeaderInfo* raw = e.get();
            FDirectory->Add(raw);
            e.release();
            previous = raw;
        } catch (const cb::rtl::EListError&) {
            if (!RecoveryScan()) {
                DropDirectory();
                throw EBadZipFile(texts::NotAZip);
            }
            scanMode = true;
            previous = nullptr;
            i = -1;
            src->Seek(FEndCentral.DirectoryOffset, TSeekOrigin::soBeginning);
        }
    }
    if (multi && FEndCentral.HasComment() && !FEndCentral.CommentLoaded()) {
        if (zfcMode) {
            zfc->Seek(FEndCentral.CommentOffset, TSeekOrigin::soBeginning);
            FEndCentral.SetComment(zfc->ReadString(FEndCentral.CommentLength()));
        } else {
            if (FCurrentVolume != FEndCentral.ThisDisk) LoadVolume(FEndCentral.ThisDisk + 1);
            FArchive->Seek(FEndCentral.CommentOffset, TSeekOrigin::soBeginning);
            FEndCentral.SetComment(FArchive->ReadString(FEndCentral.CommentLength()));
        }
    }
    FNumVolumes = FEndCentral.ThisDisk + 1;
    FCurrentVolume = zfcMode ? 0 : FEndCentral.ThisDisk;
    if (scanMode) {
        FDirectoryFault = "its directory was rebuilt from " + std::to_string(FDirectory->Count()) + " local headers";
        if (found) FDirectoryFault += " (its end record counts " + std::to_string(total) + " entries)";
    }
    Sort(FSortMode);
}

}  // namespace cb::zip
