#pragma once
// Entry point of the MDX engine: runs one statement against an open cube.
#include "olap/engine/CubeData.h"
#include "olap/mdx/QueryResult.h"

#include <string>

namespace cb::olap::mdx {

// A SELECT fills result and answers true; CREATE GLOBAL CUBE writes the new
// cube file and answers false (never over cubeFile, the file the cube was
// read from, nor over a file that is not a cube file). Throws EOlapError
// naming what is wrong and where (line and column of the statement).
bool Execute(const std::string& text, const CubeData& cube, QueryResult& result, const std::string& cubeFile = {});

}  // namespace cb::olap::mdx
