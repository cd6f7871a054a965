#pragma once
// Whole-file reading with a size cap, and atomic whole-file writing.
#include <cstddef>
#include <string>
#include <string_view>

namespace cb::rtl {

// Files read whole are capped so that a hostile or broken file cannot
// exhaust memory.
inline constexpr std::size_t DefaultMaxFileSize = 16u * 1024u * 1024u;

// Reads the whole file. Returns false when it does not exist; throws
// EInOutError when it exists but cannot be read or is larger than maxSize.
bool ReadFileBytes(const std::string& fileName, std::string& data, std::size_t maxSize = DefaultMaxFileSize);

// Writes data to a temporary file in the same folder, flushes it to disk and
// renames it over fileName. On failure the old file is left as it was and
// EInOutError names the file and the reason.
void WriteFileAtomic(const std::string& fileName, std::string_view data);

// "<what> "<file>": <strerror(err)>"
std::string OsErrorText(const std::string& what, const std::string& fileName, int err);

}  // namespace cb::rtl
