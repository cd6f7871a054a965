#pragma once
// Working state of one TZipWriter build (private to the writer).
#include "zip/ZipWriter.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace cb::zip {

struct TZipWriter::TBuild {
    std::unique_ptr<TDeflater> Deflater;
    // The file being written: the archive's temporary file, or a volume.
    std::unique_ptr<TLFNFileStream> Output;
    std::string OutputName;
    // A file's data in a volume mode, before they are spread over volumes.
    std::unique_ptr<TLFNFileStream> DataTemp;
    std::string DataTempName;
    std::unique_ptr<TLFNFileStream> Source;
    std::unique_ptr<TSortedZip> ByName;  // not owning: refuses a second entry of a name
    std::unique_ptr<TSortedZip> NewDir;  // owning, archive order: the new directory
    TEndCentral NewEnd;
    std::map<const TZipHeaderInfo*, std::string> CentralExtras;  // carried over from the old archive
    std::vector<std::string> DisposeList;
    std::vector<std::uint8_t> EncBuf;
    std::int64_t TotalBytes = 0;
    std::int64_t DoneBytes = 0;
    std::uint64_t FileDone = 0;
    std::uint64_t FileSize = 0;
    std::uint64_t EntryBytesOut = 0;
    std::string ArchiveName;
    bool Update = false;
    bool Multi = false;
    int Volume = 0;
    std::int64_t VolumeRoom = 0;
    std::int64_t VolumeBytes = 0;
    std::vector<std::string> VolumeFiles;  // created by this build
};

// Removes a file, ignoring failure.
void DeleteFileQuietly(const std::string& Name);
bool DirectoryExists(const std::string& Dir);

}  // namespace cb::zip
