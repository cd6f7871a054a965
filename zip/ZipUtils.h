#pragma once
// Small helpers of the zip library: percentages, MS-DOS time stamps, file
// attributes, the OEM code page, temporary files and moving files.
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace cb::zip {

// part * 100 / whole rounded, capped at 100; 0 when whole <= 0.
int Percentage(std::int64_t Part, std::int64_t Whole);

// True when S holds * ? < > or |.
bool HasWildcard(std::string_view S);

// An MS-DOS stamp (time in the low half) with every part clamped into range.
std::uint32_t CheckDosDateTime(std::uint32_t Stamp);
// Local time to an MS-DOS stamp; times before 1980 become 1 January 1980.
std::uint32_t UnixToDosDateTime(std::time_t Time);
// The stamp as local time; false when it names no real moment.
bool DosDateTimeToUnix(std::uint32_t Stamp, std::time_t& Time);
// As above; a stamp that cannot be converted counts as now.
std::time_t DosDateTimeOrNow(std::uint32_t Stamp);

// MS-DOS attribute bits as the archive keeps them.
inline constexpr std::uint32_t faReadOnly = 0x01;
inline constexpr std::uint32_t faDirectory = 0x10;
inline constexpr std::uint32_t faArchive = 0x20;

struct TFileInfo {
    bool Exists = false;
    bool IsDirectory = false;
    bool IsRegular = false;  // a plain file (not a folder, FIFO or device)
    std::uint64_t Size = 0;
    std::time_t ModTime = 0;
    std::uint32_t Attributes = 0;  // faDirectory, faArchive, faReadOnly
    unsigned Mode = 0;             // permission bits
};
// Follows symbolic links; Exists false when nothing is there.
TFileInfo GetFileInfo(const std::string& Path);

// UTF-8 text to the OEM code page (437) and back; a character without an
// OEM equivalent becomes "?".
std::string AnsiToOem(std::string_view S);
std::string OemToAnsi(std::string_view S);
// There and back: what a name looks like once stored with OEM conversion.
std::string OemRoundTrip(std::string_view S);

// Creates a new empty file Dir/KPZxxxxxx (Dir empty: the system's temporary
// folder) and returns its name. Throws EInOutError.
std::string MakeTempFileName(const std::string& Dir);

// Renames Source over Target, keeping Target aside as Target + "$$$" until
// the move worked. Both must be on one file system; false on failure.
bool MoveFile(const std::string& Source, const std::string& Target);
// Moves, else copies byte for byte (the copy synced to disk); false when
// neither worked.
bool MoveOrCopyFile(const std::string& Source, const std::string& Target);

// Flushes the folder's entry list to disk (after a rename into it).
void SyncDirectory(const std::string& Dir);

// The folder part with a trailing "/", or empty.
std::string DirectoryOf(std::string_view Path);
// The part after the last "/".
std::string NameOf(std::string_view Path);

}  // namespace cb::zip
