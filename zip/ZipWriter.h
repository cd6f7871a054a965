#pragma once
// TZipWriter: builds a zip archive from a list of files and masks, new or
// by updating an existing archive, storing or deflating each file and
// optionally encrypting it with a password (the traditional cipher, which
// is weak). The archive is written to a temporary file beside it, synced
// and renamed into place, so a failed build leaves no partial archive and
// an existing archive unchanged.
//
// Typical use, one file into a new archive:
//     TZipWriter zip;
//     zip.SetZipName("/data/copy.zip");
//     zip.Password = password;          // empty: no encryption
//     zip.AddFile("/data/copy.cub");    // stored as "copy.cub"
//     zip.ZipFiles();                   // raises unless the file is in the archive
#include "zip/Deflater.h"
#include "zip/ZipReader.h"

#include <map>
#include <set>

namespace cb::zip {

enum class TZipAction {
    zaUpdate,   // replace entries older than their file, add new files
    zaReplace,  // replace matching entries whatever their date
    zaFreshen   // only replace entries older than their file
};
enum class TUpdateAction {
    uaReplacing,
    uaKeeping
};

// Volume settings.
struct TMultiZipInfo {
    std::int64_t BlockSize = 1457600;       // room of each block after the first
    std::int64_t FirstBlockSize = 1457600;  // room of the first block
    std::int64_t SaveOnFirstDisk = 0;       // bytes kept free on the first medium (span mode)
    bool SaveZipInfoOnFirstDisk = false;    // write the ".zfc" directory copy
    TMultiMode MultiMode = TMultiMode::mmNone;
    bool CheckDiskLabels = true;
    bool WriteDiskLabels = true;
};

class TZipWriter : public TZipReader {
public:
    TZipWriter();
    ~TZipWriter() override;

    int PackLevel = 6;  // 0 stores every file
    bool Recurse = false;
    bool Dispose = false;  // delete each source after a successful build
    TZipAction ZipAction = TZipAction::zaUpdate;
    TMultiZipInfo MultiZipInfo;
    bool Store83Names = false;  // no short names here: names stay as they are
    std::string TempPath;       // folder for volume data; empty: the system's
    // There is no archive attribute here: every file counts as having it.
    bool SkipIfArchiveBitNotSet = false;
    bool ResetArchiveBitOnZip = false;
    std::vector<std::string> ExcludeList;     // masks of files never zipped
    std::vector<std::string> NoCompressList;  // masks of files always stored
    bool AddDirEntriesOnRecurse = false;

    bool StorePaths() const { return FStorePaths; }
    bool RelativePaths() const { return FRelativePaths; }
    bool StoreVolumes() const { return FStoreVolumes; }
    void SetStorePaths(bool Value);
    void SetRelativePaths(bool Value);
    void SetStoreVolumes(bool Value);

    void SetZipName(const std::string& Name) override;
    bool CheckDiskLabels() const override { return MultiZipInfo.CheckDiskLabels; }
    void SetCheckDiskLabels(bool Value) override;
    TMultiMode MultiMode() const override { return MultiZipInfo.MultiMode; }
    void SetMultiMode(TMultiMode Value) override;

    // Adds one file, taken literally: wildcard characters and backslashes
    // in its name are part of the name. StoredName, when given, is the name
    // inside the archive ("dir/name"); else the usual path rules apply. A
    // file added this way that is missing when the build runs raises.
    void AddFile(const std::string& FileName, const std::string& StoredName = {});

    // Builds the archive and returns the count of files written into it
    // (new and replaced entries). Failures raise; FilesList is cleared.
    int ZipFiles();
    int BuildArchive();

    // Events; an empty one means the default behaviour.
    std::function<void(int NumFiles, std::int64_t TotalBytes, TEndCentral& EndCentral, bool& StopNow)> OnStartZipInfo;
    std::function<void(const std::string& FName, TZipHeaderInfo& ZipHeader, bool& Skip)> OnStartZip;
    std::function<void(const std::string& FName, std::uint32_t UncompressedSize, std::uint32_t CompressedSize,
                       std::int64_t CurrentZipSize)>
        OnEndZip;
    std::function<void(const std::string& FName, bool& Skip)> OnDisposeFile;
    std::function<void(const std::string& FName, bool& Skip)> OnDeleteEntry;
    std::function<void(const std::string& FName)> OnNoSuchFile;
    std::function<void(int FileCount)> OnZipComplete;
    std::function<void(TUpdateAction Action, int FileIndex)> OnUpdate;
    std::function<void(int DiskNum)> OnPrepareNextDisk;
    std::function<void(const std::string& FName)> OnRecursingFile;
    // Replaces the built-in encryption of each output buffer.
    std::function<void(std::uint8_t* Buffer, std::size_t Length, const std::string& Password)> OnEncrypt;
    std::function<void(const std::string& FName, std::int64_t FileSize)> OnStartSpanCopy;
    // Messages the build shows without failing (the ".zfc" file).
    std::function<void(const std::string& Text)> OnShowMessage;

    // Writes straight into the file ZipName names, a fresh file the caller
    // made as a temporary file of its own and renames into place itself;
    // nothing is updated and no temporary file is made beside it.
    bool DirectOutput = false;

    // Copies settings, lists and events of another writer.
    void Assign(const TZipWriter& Source);

    // Working state of one build, private to the writer's sources.
    struct TBuild;

private:
    // Turns FilesList into full names of existing files; sums their sizes.
    void ExpandFileList(TBuild& B);
    // Copies kept entries, replaces matching ones; returns the replaced count.
    int ProcessExistingEntries(TBuild& B);
    bool AddOneFile(TBuild& B, const std::string& Name, TZipHeaderInfo& Entry);
    void Bookkeep(TBuild& B, std::unique_ptr<TZipHeaderInfo> Entry, const std::string& Name);
    void WriteCentralDirectory(TBuild& B);
    // The name's stored path and name per StorePaths, RelativePaths, OEM.
    std::string StoredForm(const std::string& FullName) const;
    std::string StoredPath(const std::string& FullName) const;
    bool MatchesList(const std::vector<std::string>& Masks, const std::string& FullName) const;

    // Output of the build.
    void WriteOut(TBuild& B, const std::uint8_t* Buffer, std::size_t Count);
    void WriteRaw(TBuild& B, const void* Buffer, std::size_t Count);
    std::size_t ReadIn(TBuild& B, std::uint8_t* Buffer, std::size_t Count);
    cb::rtl::TStream& DataStream(TBuild& B);

    // Volumes.
    void StartVolumes(TBuild& B);
    void NextVolume(TBuild& B);
    std::int64_t RoomLeft(TBuild& B);
    void CopyDataToVolumes(TBuild& B, TZipHeaderInfo& Entry);
    void FinishVolumes(TBuild& B);
    void WriteZfcFile(TBuild& B);
    std::string BlockName(int Volume) const;

    bool FStorePaths = false;
    bool FRelativePaths = false;
    bool FStoreVolumes = false;
    std::set<std::string> FLiteralFiles;
    std::map<std::string, std::string> FStoredNames;
};

// Packs one file into Archive under its bare name, deflated at level 6 and
// encrypted when Password is not empty. An existing Archive is replaced, not
// added to, and only once the new one is complete and checked; as for every
// file the program writes, a symbolic link is followed and the file it names
// replaced, and a FIFO, device or folder at Archive is refused. Raises on
// any failure; on return the archive holds the file and the source is closed.
void ZipSingleFile(const std::string& Source, const std::string& Archive, const std::string& Password = {});

}  // namespace cb::zip
