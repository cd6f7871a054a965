#pragma once
// CREATE GLOBAL CUBE: copies chosen measures and whole dimensions of the open
// cube into a new cube file.
#include "olap/engine/CubeData.h"
#include "olap/mdx/Ast.h"

#include <string>
#include <vector>

namespace cb::olap::mdx {

// The new cube: the listed stored measures, the listed dimensions with all
// their members, every fact (keys of dropped dimensions left out), and the
// calculated members whose measures all remain.
CubeData BuildGlobalCube(const CreateCubeStatement& statement, const CubeData& source);

// Builds the cube and writes it to the storage file, complete or not at all.
// Refuses to replace sourceFile (the file the open cube was read from) or a
// file that is not a cube file; an existing cube file is replaced (the
// caller asks first).
void RunCreateGlobalCube(const CreateCubeStatement& statement, const CubeData& source,
                         const std::string& sourceFile = {});

// Writes a new cube to the statement's storage file, complete or not at all,
// never over one of inputs or a file that is not a cube file. Throws
// EOlapError("Cannot create the cube [<name>] in '<file>': ...").
void WriteGlobalCube(const CreateCubeStatement& statement, const CubeData& cube,
                     const std::vector<std::string>& inputs);

}  // namespace cb::olap::mdx
