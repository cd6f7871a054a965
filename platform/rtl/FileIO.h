#pragma once
// Whole-file reading with a size cap, and atomic whole-file writing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace cb::rtl {

// Files read whole are capped so that a hostile or broken file cannot
// exhaust memory.
inline constexpr std::size_t DefaultMaxFileSize = 16u * 1024u * 1024u;

// The one checked open for reading: never blocks (a FIFO or a device where
// a file is expected does not hang the caller), follows symbolic links and
// refuses anything but a regular file. Returns the handle (close it with
// ::close), or -1 when the file does not exist; throws EInOutError naming
// the file otherwise. size receives the file's size.
int OpenFileForReading(const std::string& fileName, std::int64_t* size = nullptr);

// Opens (creating it when missing) a regular file for appending, with the
// same checks. Throws EInOutError.
int OpenFileForAppending(const std::string& fileName);

// Throws EInOutError unless fileName is a regular file that can be opened
// for reading; false when it does not exist. For callers that hand the
// name to a library which opens the file itself.
bool CheckRegularFile(const std::string& fileName);

// Reads the whole file (opened with OpenFileForReading). Returns false when
// it does not exist; throws EInOutError when it exists but cannot be read,
// is not a regular file or is larger than maxSize.
bool ReadFileBytes(const std::string& fileName, std::string& data, std::size_t maxSize = DefaultMaxFileSize);

// Writes data to a temporary file in the same folder, flushes it to disk and
// renames it over fileName. On failure the old file is left as it was and
// EInOutError names the file and the reason.
void WriteFileAtomic(const std::string& fileName, std::string_view data);

// "<what> "<file>": <strerror(err)>"
std::string OsErrorText(const std::string& what, const std::string& fileName, int err);

}  // namespace cb::rtl
