#pragma once
// Local cube files: an SQLite database with our own application_id and a
// format version in user_version (schema in CubeFile.cpp and the README).
#include "olap/engine/CubeData.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cb::olap {

// Reads a cube file into memory, strictly read-only (nothing is created
// beside it). Throws EOlapError naming the file and the problem for a
// missing, truncated, corrupt, foreign or inconsistent file, one in WAL
// mode, or one that is not a regular file.
std::unique_ptr<CubeData> ReadCubeFile(const std::string& path);

// Writes a complete cube file through the runtime's atomic writer (a
// temporary file in the same folder renamed into place, file and folder
// flushed), so a failure never leaves a partial file. Validates
// names (no "[", "]" or "."), member trees and fact keys first; throws
// EOlapError on any problem.
void WriteCubeFile(const CubeData& cube, const std::string& path);

// The checksum stored with each fact chunk: a 64-bit hash of its bytes.
uint64_t FactChunkChecksum(const void* data, size_t size);

// Whether path is a regular file that starts with a cube file's header.
bool IsCubeFile(const std::string& path);

// Throws EOlapError when writing a cube to path would replace one of the
// inputs (the same file under any name) or, unless replaceOther, an
// existing file that is not a cube file.
void CheckCubeTarget(const std::string& path, const std::vector<std::string>& inputs, bool replaceOther);

// An SQLite URI that opens path read-only as a plain file name (a name
// starting with "file:" or holding "?" is not read as a URI). immutable:
// nothing is locked or created beside the file.
std::string SqliteFileUri(const std::string& path, bool immutable);

}  // namespace cb::olap
