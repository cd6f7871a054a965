#include "zip/ZipWriter.h"

#include "platform/rtl/AtomicFile.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/Strings.h"
#include "zip/Crc32.h"
#include "zip/Wildcard.h"
#include "zip/ZipErrors.h"
#include "zip/ZipUtils.h"
#include "zip/ZipWriterBuild.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <time.h>

namespace cb::zip {

using cb::rtl::TSeekOrigin;

TZipWriter::TZipWriter() = default;
TZipWriter::~TZipWriter() = default;

void TZipWriter::SetStorePaths(bool Value) {
    FStorePaths = Value;
    if (!Value) FStoreVolumes = FRelativePaths = false;
}

void TZipWriter::SetRelativePaths(bool Value) {
    FRelativePaths = Value;
    if (Value) FStorePaths = Recurse = true;
}

void TZipWriter::SetStoreVolumes(bool Value) {
    FStoreVolumes = Value;
    if (Value) FStorePaths = true;
}

void TZipWriter::SetZipName(const std::string& Name) {
    if (Name != ZipName()) TZipReader::SetZipName(Name);
}

void TZipWriter::SetCheckDiskLabels(bool Value) {
    MultiZipInfo.CheckDiskLabels = Value;
    FCheckDiskLabels = Value;
}

void TZipWriter::SetMultiMode(TMultiMode Value) {
    MultiZipInfo.MultiMode = Value;
    FMultiMode = Value;
}

void TZipWriter::AddFile(const std::string& FileName, const std::string& StoredName) {
    FFilesList.push_back(FileName);
    FLiteralFiles.insert(FileName);
    if (!StoredName.empty()) FStoredNames[FileName] = StoredName;
}

void TZipWriter::Assign(const TZipWriter& S) {
    FZipName = S.FZipName;
    FDestDir = S.FDestDir;
    FRootDir = S.FRootDir;
    FSortMode = S.FSortMode;
    FFilesList = S.FFilesList;
    IncompleteZipMode = S.IncompleteZipMode;
    KeepZipOpen = S.KeepZipOpen;
    DoProcessMessages = S.DoProcessMessages;
    OnFilePercentDone = S.OnFilePercentDone;
    OnTotalPercentDone = S.OnTotalPercentDone;
    OnSkippingFile = S.OnSkippingFile;
    OnInCompleteZip = S.OnInCompleteZip;
    OnGetNextDisk = S.OnGetNextDisk;
    OnPromptForDisk = S.OnPromptForDisk;
    OnProcessMessages = S.OnProcessMessages;
    PackLevel = S.PackLevel;
    Recurse = S.Recurse;
    Dispose = S.Dispose;
    FStorePaths = S.FStorePaths;
    FRelativePaths = S.FRelativePaths;
    FStoreVolumes = S.FStoreVolumes;
    ZipAction = S.ZipAction;
    MultiZipInfo = S.MultiZipInfo;
    FMultiMode = S.FMultiMode;
    FCheckDiskLabels = S.FCheckDiskLabels;
    Store83Names = S.Store83Names;
    TempPath = S.TempPath;
    SkipIfArchiveBitNotSet = S.SkipIfArchiveBitNotSet;
    ResetArchiveBitOnZip = S.ResetArchiveBitOnZip;
    ExcludeList = S.ExcludeList;
    NoCompressList = S.NoCompressList;
    AddDirEntriesOnRecurse = S.AddDirEntriesOnRecurse;
    FLiteralFiles = S.FLiteralFiles;
    FStoredNames = S.FStoredNames;
    OnStartZip = S.OnStartZip;
    OnStartZipInfo = S.OnStartZipInfo;
    OnEndZip = S.OnEndZip;
    OnDisposeFile = S.OnDisposeFile;
    OnDeleteEntry = S.OnDeleteEntry;
    OnNoSuchFile = S.OnNoSuchFile;
    OnZipComplete = S.OnZipComplete;
    OnUpdate = S.OnUpdate;
}

int TZipWriter::ZipFiles() {
    const int result = BuildArchive();
    if (OnZipComplete) OnZipComplete(result);
    return result;
}

// --- names ------------------------------------------------------------------

std::string TZipWriter::StoredPath(const std::string& FullName) const {
    if (!FStorePaths) return {};
    std::string path = DirectoryOf(FullName);
    if (FRelativePaths && !FRootDir.empty() && path.size() >= FRootDir.size() &&
        path.compare(0, FRootDir.size(), FRootDir) == 0)
        path.erase(0, FRootDir.size());
    // No absolute names in an archive: the leading "/" goes, as a drive would.
    while (!path.empty() && path.front() == '/') path.erase(0, 1);
    while (path.starts_with("./")) path.erase(0, 2);
    return path;
}

std::string TZipWriter::StoredForm(const std::string& FullName) const {
    const auto it = FStoredNames.find(FullName);
    std::string stored = it != FStoredNames.end() ? it->second : StoredPath(FullName) + NameOf(FullName);
    if (OEMConvert) stored = OemRoundTrip(stored);
    return cb::rtl::LowerCase(stored);
}

bool TZipWriter::MatchesList(const std::vector<std::string>& Masks, const std::string& FullName) const {
    for (const auto& m : Masks) {
        const bool whole = m.find('/') != std::string::npos;
        if (WildcardMatch(m, whole ? FullName : NameOf(FullName))) return true;
    }
    return false;
}

// --- output -----------------------------------------------------------------

cb::rtl::TStream& TZipWriter::DataStream(TBuild& B) {
    return B.DataTemp ? *B.DataTemp : *B.Output;
}

void TZipWriter::WriteRaw(TBuild& B, const void* Buffer, std::size_t Count) {
    cb::rtl::TStream& s = DataStream(B);
    if (s.Write(Buffer, Count) < Count) throw ENotEnoughRoom(texts::NotEnoughRoom);
    if (!B.DataTemp) B.VolumeBytes += static_cast<std::int64_t>(Count);
    ProcessMessages();
}

void TZipWriter::WriteOut(TBuild& B, const std::uint8_t* Buffer, std::size_t Count) {
    if (!Password.empty()) {
        B.EncBuf.assign(Buffer, Buffer + Count);
        if (OnEncrypt)
            OnEncrypt(B.EncBuf.data(), Count, Password);
        else
            FCipher.Encrypt(B.EncBuf.data(), Count);
        Buffer = B.EncBuf.data();
    }
    B.EntryBytesOut += Count;
    WriteRaw(B, Buffer, Count);
}

std::size_t TZipWriter::ReadIn(TBuild& B, std::uint8_t* Buffer, std::size_t Count) {
    const std::size_t n = B.Source->Read(Buffer, Count);
    if (n > 0) {
        B.FileDone += n;
        B.DoneBytes += static_cast<std::int64_t>(n);
        if (OnFilePercentDone) {
            int p = Percentage(static_cast<std::int64_t>(B.FileDone), static_cast<std::int64_t>(B.FileSize));
            if (B.Multi) p /= 2;
            OnFilePercentDone(p);
        }
        if (OnTotalPercentDone) OnTotalPercentDone(Percentage(B.DoneBytes, B.TotalBytes));
        FCrc = UpdateCrc32(FCrc, Buffer, n);
    }
    return n;
}

// --- one file ---------------------------------------------------------------

namespace {

std::uint32_t ClockSeed() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint32_t>(ts.tv_nsec) ^ static_cast<std::uint32_t>(ts.tv_sec * 1000003u);
}

mode_t DefaultFileMode() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

[[noreturn]] void TooLarge(const std::string& What) {
    throw EZipTooLarge("Cannot zip " + What + ": archives and entries of 4 GiB or more are not supported");
}

}  // namespace

bool TZipWriter::AddOneFile(TBuild& B, const std::string& Name, TZipHeaderInfo& E) {
    const bool isDirEntry = !Name.empty() && Name.back() == '/';
    const TFileInfo info = GetFileInfo(isDirEntry ? Name.substr(0, Name.size() - 1) : Name);
    const bool literal = FLiteralFiles.count(Name) > 0;
    const auto stored = FStoredNames.find(Name);
    std::uint64_t size = 0;
    if (isDirEntry) {
        E.DateTime = UnixToDosDateTime(info.Exists ? info.ModTime : std::time(nullptr));
        E.CompressedSize = E.UncompressedSize = 0;
        E.Crc32 = 0;
        E.Method = 0;
        if (info.Exists) E.ExternalAttributes = info.Attributes;
        E.SetFileName({});
        std::string dir = stored != FStoredNames.end() ? stored->second : StoredPath(Name);
        if (dir.empty()) dir = NameOf(Name.substr(0, Name.size() - 1)) + "/";
        E.SetDirectory(dir);
        E.InternalAttributes = 0;
    } else {
        if (!info.Exists || info.IsDirectory) {
            if (literal) throw EZipError("Cannot zip \"" + Name + "\": the file does not exist");
            return false;
        }
        size = info.Size;
        if (size >= MaxZipSize) TooLarge("\"" + Name + "\"");
        E.ExternalAttributes = info.Attributes;
        while (true) {
            try {
                B.Source = std::make_unique<TLFNFileStream>(Name, TLFNMode::ReadShared);
                break;
            } catch (const cb::rtl::EStreamError& err) {
                bool retry = false;
                if (!OnSkippingFile) throw EZipError("Cannot zip \"" + Name + "\": " + err.what());
                OnSkippingFile(TSkipReason::srFileOpenError, Name, -1, retry);
                if (!retry) return false;
            }
        }
        E.DateTime = UnixToDosDateTime(info.ModTime);
        E.UncompressedSize = static_cast<std::uint32_t>(size);
        if (stored != FStoredNames.end()) {
            E.SetFileName(NameOf(stored->second));
            E.SetDirectory(DirectoryOf(stored->second));
        } else {
            E.SetFileName(NameOf(Name));
            E.SetDirectory(StoredPath(Name));
        }
        E.InternalAttributes = 2;
    }
    // A name that code page 437 cannot hold is stored as UTF-8, marked so.
    if (OEMConvert && OemRoundTrip(E.FullName()) != E.FullName()) E.Flags |= Utf8NameFlag;
    E.DiskNumberStart = static_cast<std::uint16_t>(B.Volume);
    auto dropSource = cb::rtl::OnScopeExit([&] { B.Source.reset(); });

    // Refuse a second entry of the same name.
    int at;
    if (B.ByName->Find(&E, at)) {
        bool retry = false;
        if (OnSkippingFile) OnSkippingFile(TSkipReason::srNoOverwrite, Name, -1, retry);
        B.TotalBytes -= static_cast<std::int64_t>(size);
        return false;
    }
    bool skip = false;
    if (OnStartZip) OnStartZip(Name, E, skip);
    if (skip) {
        B.TotalBytes -= static_cast<std::int64_t>(size);
        return false;
    }

    if (B.Multi) {
        if (RoomLeft(B) <= static_cast<std::int64_t>(E.LocalHeaderSize())) NextVolume(B);
        E.DiskNumberStart = static_cast<std::uint16_t>(B.Volume);
        if (!isDirEntry) {
            B.DataTempName = MakeTempFileName(DirectoryExists(TempPath) ? TempPath : std::string());
            B.DataTemp = std::make_unique<TLFNFileStream>(B.DataTempName, TLFNMode::Create, FlushFilesOnClose);
        }
    }
    auto dropTemp = cb::rtl::OnScopeExit([&] {
        B.DataTemp.reset();
        if (!B.DataTempName.empty()) DeleteFileQuietly(B.DataTempName);
        B.DataTempName.clear();
    });
    if (!B.Multi || isDirEntry) {
        if (static_cast<std::uint64_t>(B.Output->Position()) + E.LocalHeaderSize() >= MaxZipSize)
            TooLarge("the archive");
        E.WriteLocal(*B.Output);
        B.VolumeBytes += E.LocalHeaderSize();
    }

    if (!isDirEntry) {
        B.FileDone = 0;
        B.FileSize = size;
        B.EntryBytesOut = 0;
        std::uint32_t headerCrc = 0;
        if (!Password.empty()) {
            // The encryption header needs the CRC first: one pass to get it.
            FCrc = 0xFFFFFFFF;
            std::vector<std::uint8_t> buf(32768);
            std::size_t n;
            while ((n = B.Source->Read(buf.data(), buf.size())) > 0) FCrc = UpdateCrc32(FCrc, buf.data(), n);
            headerCrc = ~FCrc;
            B.Source->Seek(0, TSeekOrigin::soBeginning);
            FCipher.InitKeys(Password);
            TZipRandom rnd(ClockSeed());
            std::uint8_t header[12];
            for (int i = 0; i < 10; ++i)
                header[i] = FCipher.EncryptByte(static_cast<std::uint8_t>(rnd.Next(32767) >> 7));
            header[10] = FCipher.EncryptByte(static_cast<std::uint8_t>(headerCrc >> 16));
            header[11] = FCipher.EncryptByte(static_cast<std::uint8_t>(headerCrc >> 24));
            WriteRaw(B, header, sizeof header);
        }
        FCrc = 0xFFFFFFFF;
        const auto reader = [&](std::uint8_t* buf, std::size_t n) { return ReadIn(B, buf, n); };
        const auto writer = [&](const std::uint8_t* buf, std::size_t n) { WriteOut(B, buf, n); };
        std::uint64_t compressed;
        if (PackLevel <= 0 || MatchesList(NoCompressList, E.FileName())) {
            std::vector<std::uint8_t> buf(32768);
            std::size_t n;
            while ((n = reader(buf.data(), buf.size())) > 0) writer(buf.data(), n);
            compressed = B.EntryBytesOut;
            E.Method = 0;
            E.InternalAttributes = 0;
        } else {
            const int level = std::min(PackLevel, 9);
            if (level == 1 || level == 2) E.Flags |= 4;
            if (level == 8 || level == 9) E.Flags |= 2;
            compressed = B.Deflater->Compress(level, reader, writer);
            E.Method = B.Deflater->WholeFileStored() ? 0 : 8;
            E.InternalAttributes = B.Deflater->IsText() ? 1 : 0;
        }
        E.Crc32 = ~FCrc;
        if (B.FileDone >= MaxZipSize) TooLarge("\"" + Name + "\"");
        // The size and CRC of what was read, not what the folder said.
        E.UncompressedSize = static_cast<std::uint32_t>(B.FileDone);
        if (!Password.empty()) {
            if (E.Crc32 != headerCrc)
                throw EZipError("Cannot zip \"" + Name + "\": the file changed while it was read");
            E.Flags |= 1;
            compressed += 12;
        }
        if (compressed >= MaxZipSize) TooLarge("\"" + Name + "\"");
        E.CompressedSize = static_cast<std::uint32_t>(compressed);
        if (B.Multi) {
            CopyDataToVolumes(B, E);
        } else {
            const std::int64_t end = B.Output->Position();
            if (static_cast<std::uint64_t>(end) >= MaxZipSize) TooLarge("the archive");
            B.Output->Seek(E.LocalHeaderOffset, TSeekOrigin::soBeginning);
            E.WriteLocal(*B.Output);
            B.Output->Seek(end, TSeekOrigin::soBeginning);
        }
    }
    if (OnEndZip) {
        if (isDirEntry)
            OnEndZip(Name, 0, 0, 0);
        else
            OnEndZip(Name, E.UncompressedSize, E.CompressedSize, B.Output->Position());
    }
    return true;
}

void TZipWriter::Bookkeep(TBuild& B, std::unique_ptr<TZipHeaderInfo> Entry, const std::string& Name) {
    if (B.NewDir->Count() >= 0xFFFF) throw EZipTooLarge("Cannot zip more than 65535 entries into one archive");
    B.NewEnd.EntriesThisDisk++;
    B.NewEnd.TotalEntries++;
    TZipHeaderInfo* raw = Entry.get();
    B.NewDir->Add(raw);
    Entry.release();
    B.ByName->Add(raw);
    if (Dispose && !Name.empty() && Name.back() != '/') B.DisposeList.push_back(Name);
}

// --- central directory --------------------------------------------------------

void TZipWriter::WriteCentralDirectory(TBuild& B) {
    cb::rtl::TStream* out = B.Output.get();
    std::uint64_t offset = static_cast<std::uint64_t>(out->Position());
    int startVolume = B.Volume;
    std::uint64_t size = 0;
    for (int i = 0; i < B.NewDir->Count(); ++i) {
        TZipHeaderInfo* e = B.NewDir->Items(i);
        const auto extra = B.CentralExtras.find(e);
        const std::string_view extraBytes = extra != B.CentralExtras.end() ? extra->second : std::string_view();
        const std::uint32_t headerSize = CentralHeaderFixedSize + e->NameLength() +
                                         static_cast<std::uint32_t>(extraBytes.size()) + e->CommentLength();
        if (B.Multi && RoomLeft(B) < static_cast<std::int64_t>(headerSize)) {
            NextVolume(B);
            if (RoomLeft(B) < static_cast<std::int64_t>(headerSize))
                throw EZipError("The block size is smaller than one header of the archive");
            if (i == 0) {
                offset = 0;
                startVolume = B.Volume;
            }
        }
        e->WriteCentral(*B.Output, extraBytes);
        B.VolumeBytes += headerSize;
        size += headerSize;
    }
    if (offset >= MaxZipSize || size >= MaxZipSize || offset + size >= MaxZipSize) TooLarge("the archive");
    B.NewEnd.DirectoryOffset = static_cast<std::uint32_t>(offset);
    B.NewEnd.DirectorySize = static_cast<std::uint32_t>(size);
    B.NewEnd.StartDisk = static_cast<std::uint16_t>(startVolume);
    if (B.Multi && RoomLeft(B) < static_cast<std::int64_t>(B.NewEnd.Size())) {
        NextVolume(B);
        if (RoomLeft(B) < static_cast<std::int64_t>(B.NewEnd.Size()))
            throw EZipError("The block size is smaller than the end record of the archive");
    }
    B.NewEnd.ThisDisk = static_cast<std::uint16_t>(B.Volume);
    B.NewEnd.Write(*B.Output);
    B.VolumeBytes += B.NewEnd.Size();
}

// --- the build ----------------------------------------------------------------

int TZipWriter::BuildArchive() {
    if (cb::rtl::Trim(FZipName).empty()) return 0;
    TBuild B;
    const std::string archive = FZipName;
    B.ArchiveName = archive;
    const TZipSortMode savedSort = FSortMode;
    const bool savedKeep = KeepZipOpen;
    KeepZipOpen = true;
    if (FDirectory) Sort(TZipSortMode::ByNone);
    auto restore = cb::rtl::OnScopeExit([&] {
        KeepZipOpen = savedKeep;
        FSortMode = savedSort;
        if (FDirectory) Sort(savedSort);
        if (!KeepZipOpen) FArchive.reset();
        FFilesList.clear();
        FLiteralFiles.clear();
        FStoredNames.clear();
    });

    ExpandFileList(B);
    B.Multi = MultiMode() != TMultiMode::mmNone;
    if (B.Multi && MultiZipInfo.SaveZipInfoOnFirstDisk)
        MultiZipInfo.SaveOnFirstDisk +=
            static_cast<std::int64_t>(FFilesList.size()) * (FStorePaths ? 83 : 58) + FEndCentral.CommentLength() + 2070;
    const TFileInfo existing = GetFileInfo(archive);
    if (existing.IsDirectory) throw EZipError("Cannot write the archive \"" + archive + "\": it is a folder");
    if (existing.Exists && !existing.IsRegular)
        throw EZipError("Cannot write the archive \"" + archive + "\": it is not a regular file");
    B.Update = existing.Exists && !B.Multi && !DirectOutput;
    // The temporary file beside the archive, renamed over it (or over the
    // file a link names) at the end; stale ones of killed writers go first.
    std::unique_ptr<cb::rtl::TAtomicReplace> replace;
    B.ByName = std::make_unique<TSortedZip>(false, TDuplicates::dupAccept, TZipSortMode::ByName);
    B.NewDir = std::make_unique<TSortedZip>(true, TDuplicates::dupAccept, TZipSortMode::ByNone);

    int count = 0;
    int replaced = 0;
    try {
        B.Deflater = std::make_unique<TDeflater>();
        if (B.Update) {
            // Read the old directory first, so the archive comment carries over.
            OpenArchive();
            if (NumberOfVolumes() > 1) throw EZipError("Cannot update the multi-volume archive \"" + archive + "\"");
            // Entries the directory lost would be dropped by the update.
            if (!DirectoryFault().empty())
                throw EBadZipFile("Cannot update the archive \"" + archive + "\": " + DirectoryFault());
        }
        if (B.Update || FEndCentral.Modified) {
            ZipComment();
            B.NewEnd.Assign(FEndCentral);
            B.NewEnd.EntriesThisDisk = B.NewEnd.TotalEntries = 0;
            B.NewEnd.ThisDisk = B.NewEnd.StartDisk = 0;
        }
        if (B.Multi) {
            StartVolumes(B);
        } else if (DirectOutput) {
            B.Output = std::make_unique<TLFNFileStream>(archive, TLFNMode::Create, FlushFilesOnClose);
        } else {
            replace = std::make_unique<cb::rtl::TAtomicReplace>(archive);
            B.OutputName = replace->TempName();
            // The archive keeps the old one's permissions, or gets the usual ones.
            ::chmod(B.OutputName.c_str(), existing.Exists ? existing.Mode : DefaultFileMode());
            B.Output = std::make_unique<TLFNFileStream>(B.OutputName, TLFNMode::Create, FlushFilesOnClose);
        }
        if (B.Update) {
            Sort(TZipSortMode::ByNone);
            replaced = ProcessExistingEntries(B);
        }
        if (!FFilesList.empty()) {
            bool stop = false;
            if (OnStartZipInfo) OnStartZipInfo(static_cast<int>(FFilesList.size()), B.TotalBytes, B.NewEnd, stop);
            if (stop) throw EUserCanceled(texts::CanceledZip);
            if (B.Multi) B.TotalBytes *= 2;
        }
        for (const std::string& name : FFilesList) {
            auto e = NewEntry();
            if (AddOneFile(B, name, *e)) {
                ++count;
                Bookkeep(B, std::move(e), name);
            }
        }
        WriteCentralDirectory(B);
        B.Output->Close();
        B.Output.reset();
        if (B.Update) {
            FArchive.reset();
            FreeDirectory();
        }
        if (B.Multi) {
            FinishVolumes(B);
        } else if (replace) {
            replace->Commit();
            B.OutputName.clear();
        }
    } catch (...) {
        B.Source.reset();
        B.Output.reset();
        if (!B.OutputName.empty()) DeleteFileQuietly(B.OutputName);
        if (B.Multi)
            for (const auto& v : B.VolumeFiles) DeleteFileQuietly(v);
        throw;
    }
    // Success: the component now holds the new archive's directory.
    for (const std::string& name : B.DisposeList) {
        bool skip = false;
        if (OnDisposeFile) OnDisposeFile(name, skip);
        if (!skip) DeleteFileQuietly(name);
    }
    FEndCentral.Assign(B.NewEnd);
    FEndCentral.Modified = false;
    FEndCentral.CommentOffset = 0;
    FDirectory = std::move(B.NewDir);
    FSortedView.reset();
    FFileStamp = FileStamp(FZipName);
    FNumVolumes = B.Volume + 1;
    if (OnTotalPercentDone) OnTotalPercentDone(100);
    if (B.Multi && MultiZipInfo.SaveZipInfoOnFirstDisk && B.Volume > 0) WriteZfcFile(B);
    return count + replaced;
}

}  // namespace cb::zip

namespace cb::zip {

void ZipSingleFile(const std::string& Source, const std::string& Archive, const std::string& Password) {
    const TFileInfo source = GetFileInfo(Source);
    if (!source.Exists || source.IsDirectory) throw EZipError("Cannot zip \"" + Source + "\": the file does not exist");
    const TFileInfo there = GetFileInfo(Archive);
    if (there.Exists && !there.IsRegular)
        throw EZipError("Cannot write the archive \"" + Archive + "\": it is not a regular file");
    // Built in a temporary file beside the archive (beside the file a link
    // names), checked, then renamed over it.
    cb::rtl::TAtomicReplace fresh(Archive);
    {
        TZipWriter zip;
        zip.Password = Password;
        zip.DirectOutput = true;
        zip.SetZipName(fresh.TempName());
        zip.AddFile(Source);
        if (zip.ZipFiles() != 1) throw EZipError("Cannot zip \"" + Source + "\" into \"" + Archive + "\"");
    }
    // Check what was written before it replaces anything.
    {
        TZipReader check;
        check.SetZipName(fresh.TempName());
        check.OpenArchive();
        const bool ok = check.Count() == 1 && check.Entry(0).FullName() == NameOf(Source) &&
                        check.Entry(0).UncompressedSize == source.Size;
        check.CloseArchive();
        if (!ok) throw EZipError("The archive \"" + Archive + "\" does not hold \"" + Source + "\" as it should");
    }
    fresh.Commit();
}

}  // namespace cb::zip
