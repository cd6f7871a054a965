#include "olap/mdx/Mdx.h"

#include "olap/engine/OlapError.h"
#include "olap/mdx/CreateGlobalCube.h"
#include "olap/mdx/Parser.h"
#include "olap/mdx/SelectQuery.h"

namespace cb::olap::mdx {

bool Execute(const std::string& text, const CubeData& cube, QueryResult& result, const std::string& cubeFile) {
    Statement statement = ParseStatement(text);
    if (auto* select = std::get_if<SelectStatement>(&statement)) {
        result = RunSelect(*select, cube);
        return true;
    }
    RunCreateGlobalCube(std::get<CreateCubeStatement>(statement), cube, cubeFile);
    return false;
}

}  // namespace cb::olap::mdx
