// The writer's volumes: fixed-size blocks name.001, name.002, ... or media
// asked for one after another under one name.
#include "zip/ZipErrors.h"
#include "zip/ZipUtils.h"
#include "zip/ZipWriterBuild.h"

#include "platform/rtl/Streams.h"

#include <algorithm>
#include <sys/statvfs.h>

namespace cb::zip {

using cb::rtl::TSeekOrigin;

namespace {

constexpr std::int64_t MinBlockSize = 64;

std::int64_t FreeSpace(const std::string& File) {
    const std::string dir = DirectoryOf(File).empty() ? "." : DirectoryOf(File);
    struct statvfs st {};
    if (::statvfs(dir.c_str(), &st) != 0) return 0;
    return static_cast<std::int64_t>(st.f_bavail) * static_cast<std::int64_t>(st.f_frsize);
}

}  // namespace

std::string TZipWriter::BlockName(int Volume) const {
    char ext[16];
    std::snprintf(ext, sizeof ext, ".%3.3d", Volume + 1);
    return ReplaceExtension(FZipName, ext);
}

std::int64_t TZipWriter::RoomLeft(TBuild& B) {
    return B.VolumeRoom - B.Output->Position();
}

namespace {

void CreateVolume(TZipWriter::TBuild& B, const std::string& Name, bool FlushOnClose) {
    // Never replace a file that is there: it may be an earlier volume.
    if (GetFileInfo(Name).Exists)
        throw EVolumeExists("The volume file \"" + Name + "\" exists already; move it away or choose another name");
    B.Output = std::make_unique<TLFNFileStream>(Name, TLFNMode::Create, FlushOnClose);
    B.VolumeFiles.push_back(Name);
    B.VolumeBytes = 0;
    B.NewEnd.EntriesThisDisk = 0;
}

}  // namespace

void TZipWriter::StartVolumes(TBuild& B) {
    B.Volume = 0;
    if (MultiMode() == TMultiMode::mmBlocks) {
        if (MultiZipInfo.FirstBlockSize < MinBlockSize || MultiZipInfo.BlockSize < MinBlockSize)
            throw EZipError("Block sizes below " + std::to_string(MinBlockSize) +
                            " bytes cannot hold an archive header");
        B.VolumeRoom = MultiZipInfo.FirstBlockSize;
        CreateVolume(B, BlockName(0), FlushFilesOnClose);
    } else {
        B.VolumeRoom = FreeSpace(B.ArchiveName) - MultiZipInfo.SaveOnFirstDisk;
        CreateVolume(B, B.ArchiveName, FlushFilesOnClose);
    }
    B.NewEnd.EntriesThisDisk = 0;
}

void TZipWriter::NextVolume(TBuild& B) {
    B.Output->Close();
    B.Output.reset();
    std::string name;
    if (MultiMode() == TMultiMode::mmBlocks) {
        ++B.Volume;
        name = BlockName(B.Volume);
        B.VolumeRoom = MultiZipInfo.BlockSize;
    } else {
        name = B.ArchiveName;
        GetNextDisk(B.Volume + 2, name);
        if (name.empty()) throw EUserCanceled(texts::CanceledZip);
        ++B.Volume;
        if (OnPrepareNextDisk) OnPrepareNextDisk(B.Volume + 1);
        B.VolumeRoom = FreeSpace(name);
    }
    if (B.Volume > 999) throw EZipError("An archive cannot have more than 1000 volumes");
    CreateVolume(B, name, FlushFilesOnClose);
}

void TZipWriter::CopyDataToVolumes(TBuild& B, TZipHeaderInfo& E) {
    E.WriteLocal(*B.Output);
    B.DataTemp->Flush();
    const std::int64_t tempSize = B.DataTemp->Size();
    B.DataTemp->Seek(0, TSeekOrigin::soBeginning);
    if (OnStartSpanCopy) OnStartSpanCopy(E.FileName(), tempSize);
    // The second pass over the data: progress counts the copy.
    const std::int64_t whole = static_cast<std::int64_t>(E.UncompressedSize) + tempSize;
    B.TotalBytes -= static_cast<std::int64_t>(E.UncompressedSize) - tempSize;
    std::int64_t done = E.UncompressedSize;
    std::vector<std::uint8_t> buf(16384);
    std::int64_t left = tempSize;
    while (left > 0) {
        std::int64_t room = RoomLeft(B);
        if (room <= 0) {
            NextVolume(B);
            continue;
        }
        const std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>({left, room, 16384}));
        if (B.DataTemp->Read(buf.data(), n) != n) throw cb::rtl::EReadError("Cannot read back " + B.DataTempName);
        if (B.Output->Write(buf.data(), n) < n) throw ENotEnoughRoom(texts::NotEnoughRoom);
        left -= static_cast<std::int64_t>(n);
        done += static_cast<std::int64_t>(n);
        B.DoneBytes += static_cast<std::int64_t>(n);
        if (OnFilePercentDone) OnFilePercentDone(Percentage(done, whole));
        if (OnTotalPercentDone) OnTotalPercentDone(Percentage(B.DoneBytes, B.TotalBytes));
        ProcessMessages();
    }
    if (RoomLeft(B) <= 0) NextVolume(B);
}

void TZipWriter::FinishVolumes(TBuild& B) {
    if (MultiMode() == TMultiMode::mmBlocks) {
        if (B.Volume == 0) {
            if (!MoveFile(BlockName(0), B.ArchiveName))
                throw EZipError(std::string(texts::CouldNotCopy) + BlockName(0) + " -> " + B.ArchiveName);
            FZipName = B.ArchiveName;
        } else {
            FZipName = BlockName(B.Volume);
        }
    } else {
        FZipName = B.ArchiveName;
    }
}

void TZipWriter::WriteZfcFile(TBuild& B) {
    const std::string name = ReplaceExtension(B.ArchiveName, ".zfc");
    std::unique_ptr<cb::rtl::TAtomicFileStream> out;
    try {
        out = std::make_unique<cb::rtl::TAtomicFileStream>(name);
    } catch (const std::exception&) {
        if (OnShowMessage) OnShowMessage("Unable to create Zip Configuration File to disk");
        return;
    }
    try {
        std::uint32_t size = 0;
        for (int i = 0; i < FDirectory->Count(); ++i) {
            FDirectory->Items(i)->WriteCentral(*out);
            size += FDirectory->Items(i)->CentralHeaderSize();
        }
        TEndCentral end;
        end.Assign(FEndCentral);
        end.DirectoryOffset = 0;
        end.DirectorySize = size;
        end.Write(*out);
        out->Commit();
    } catch (const std::exception&) {
        if (OnShowMessage) OnShowMessage("Unable to save Zip Configuration File to disk");
    }
}

}  // namespace cb::zip
