#pragma once
// TZipReader: the archive name, the file list and the directory of an
// existing archive, read from its end record and central directory, from a
// ".zfc" copy beside a multi-volume archive, or by scanning a damaged file
// for local headers. Base of TZipWriter. Nothing here extracts files.
#include "zip/BufferStream.h"
#include "zip/ZipCipher.h"
#include "zip/ZipRecords.h"

#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::zip {

enum class TIncompleteZipMode {
    izAssumeMulti,   // EIncompleteZip
    izAssumeBad,     // rebuild the directory from the local headers
    izAssumeNotAZip  // ENotAZipFile
};
enum class TMultiMode {
    mmNone,
    mmSpan,   // volumes on successive media under one name
    mmBlocks  // fixed-size files name.001, name.002, ...
};
enum class TSkipReason {
    srBadPassword,
    srNoOverwrite,
    srFileOpenError,
    srCreateError
};

class TZipReader {
public:
    TZipReader();
    virtual ~TZipReader();
    TZipReader(const TZipReader&) = delete;
    TZipReader& operator=(const TZipReader&) = delete;

    static constexpr int ThisVersion = 223;

    const std::string& ZipName() const { return FZipName; }
    // A different name (ignoring case) drops the loaded directory.
    virtual void SetZipName(const std::string& Name);
    const std::string& DestDir() const { return FDestDir; }
    void SetDestDir(const std::string& Dir);
    // Ends in "/" when not empty.
    const std::string& RootDir() const { return FRootDir; }
    void SetRootDir(const std::string& Dir);
    TZipSortMode SortMode() const { return FSortMode; }
    // Builds the sorted view; ByNone is archive order.
    void Sort(TZipSortMode Mode);
    std::vector<std::string>& FilesList() { return FFilesList; }
    void SetFilesList(const std::vector<std::string>& List) { FFilesList = List; }
    TIncompleteZipMode IncompleteZipMode = TIncompleteZipMode::izAssumeMulti;
    bool KeepZipOpen = false;
    bool DoProcessMessages = true;
    bool FlushFilesOnClose = true;
    bool OEMConvert = true;
    std::string Password;

    virtual bool CheckDiskLabels() const { return FCheckDiskLabels; }
    virtual void SetCheckDiskLabels(bool Value) { FCheckDiskLabels = Value; }
    virtual TMultiMode MultiMode() const { return FMultiMode; }
    virtual void SetMultiMode(TMultiMode Value) { FMultiMode = Value; }

    // Events; an empty one means the default behaviour.
    std::function<void(int Percent)> OnFilePercentDone;
    std::function<void(int Percent)> OnTotalPercentDone;
    std::function<void(TSkipReason Reason, const std::string& FName, int FileIndex, bool& Retry)> OnSkippingFile;
    std::function<void(TIncompleteZipMode& Mode)> OnInCompleteZip;
    // Asked for the file of volume NextDisk (1-based); an empty FName
    // cancels. Unset: block volumes are name.001, name.002, ...; span mode
    // asks OnPromptForDisk.
    std::function<void(int NextDisk, std::string& FName)> OnGetNextDisk;
    // Span mode's prompt ("Please insert disk n of the multi-disk set.");
    // false or unset cancels.
    std::function<bool(const std::string& Text)> OnPromptForDisk;
    // The caller's message pump, run during long loops.
    std::function<void()> OnProcessMessages;

    // Opens the archive and reads its directory unless it is loaded and the
    // file has not changed since.
    void OpenArchive();
    // Frees the stream unless KeepZipOpen.
    void CloseArchive();
    // Forgets everything about the archive, ZipName included.
    void ClearDirectory();

    int Count() const;
    // In the sorted view's order. A bad index raises EListError.
    const TZipHeaderInfo& Entry(int Index) const;
    std::time_t EntryDateTime(int Index) const;
    std::string EntryComment(int Index);
    void SetEntryComment(int Index, const std::string& Comment);
    std::string ZipComment();
    void SetZipComment(const std::string& Comment);
    const TEndCentral& EndCentral() const { return FEndCentral; }
    int NumberOfVolumes() const { return FNumVolumes; }

    // Empty when the directory read adds up: every entry the end record
    // counts was read from the central directory, each at a local header of
    // its own. Otherwise why not (the directory was rebuilt from the local
    // headers: entries sharing a header, names twice, a damaged directory);
    // such an archive is listed but never updated.
    const std::string& DirectoryFault() const { return FDirectoryFault; }

    // An entry name that is safe to extract: relative, without "..".
    static bool IsSafeEntryName(std::string_view Name);

    // A new record with this component's OEM setting.
    std::unique_ptr<TZipHeaderInfo> NewEntry() const;

protected:
    void ProcessMessages() {
        if (DoProcessMessages && OnProcessMessages) OnProcessMessages();
    }
    void CheckIndex(int Index) const;
    TZipHeaderInfo& EntryRef(int Index) const;
    void ReadDirectory();
    bool RecoveryScan();
    // Opens volume N (1-based) through OnGetNextDisk as the archive stream.
    void LoadVolume(int N);
    void FreeDirectory();
    // ClearDirectory that keeps ZipName (a failed read).
    void DropDirectory();
    void DefaultGetNextDisk(int NextDisk, std::string& FName);
    // OnGetNextDisk, or the built-in handler when it is unset.
    void GetNextDisk(int NextDisk, std::string& FName);
    std::string ReadCommentAt(std::int64_t Offset, std::uint16_t Length);
    // Modification time in nanoseconds and size: a rewrite shows in one of them.
    struct TFileStamp {
        std::int64_t ModNs = 0;
        std::int64_t Size = -1;
        bool operator==(const TFileStamp&) const = default;
    };
    static TFileStamp FileStamp(const std::string& Name);
    // Name with its extension replaced (Ext with the dot).
    static std::string ReplaceExtension(const std::string& Name, const std::string& Ext);

    std::string FZipName;
    std::string FDestDir;
    std::string FRootDir;
    std::vector<std::string> FFilesList;
    TZipSortMode FSortMode = TZipSortMode::ByNone;
    bool FCheckDiskLabels = true;
    TMultiMode FMultiMode = TMultiMode::mmNone;

    std::unique_ptr<TLFNFileStream> FArchive;
    std::unique_ptr<TSortedZip> FDirectory;   // archive order, owns the records
    std::unique_ptr<TSortedZip> FSortedView;  // when SortMode is not ByNone
    TEndCentral FEndCentral;
    TFileStamp FFileStamp;
    int FCurrentVolume = 0;
    int FNumVolumes = 1;
    bool FScanned = false;
    std::string FDirectoryFault;
    std::uint32_t FCrc = 0xFFFFFFFF;
    TZipCipher FCipher;
};

}  // namespace cb::zip
