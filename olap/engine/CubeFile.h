#pragma once
// Local cube files: an SQLite database with our own application_id and a
// format version in user_version (schema in CubeFile.cpp and the README).
#include "olap/engine/CubeData.h"

#include <memory>
#include <string>

namespace cb::olap {

// Reads a cube file into memory. Throws EOlapError naming the file and the
// problem for a missing, truncated, corrupt, foreign or inconsistent file.
std::unique_ptr<CubeData> ReadCubeFile(const std::string& path);

// Writes a complete cube file: to a temporary file in the same folder, then
// renamed into place, so a failure never leaves a partial file. Validates
// names (no "[", "]" or "."), member trees and fact keys first; throws
// EOlapError on any problem.
void WriteCubeFile(const CubeData& cube, const std::string& path);

}  // namespace cb::olap
