#pragma once
// The object model over a cube in memory (local cube files).
#include "olap/adomd/Provider.h"
#include "olap/engine/CubeData.h"
#include "olap/mdx/QueryResult.h"

#include <memory>
#include <mutex>
#include <string>

namespace cb::olap {

// Catalog and statements of one cube in memory.
class LocalProvider : public Provider {
public:
    // fileName: the file the cube was read from (CREATE GLOBAL CUBE never
    // writes over it); empty for a cube without a file.
    LocalProvider(std::shared_ptr<const CubeData> cube, std::string fileName);
    Collection<CubeDef> CubeDefs() override;
    std::shared_ptr<const CellsetResult> Execute(const std::string& statement) override;

private:
    std::shared_ptr<const CubeData> FCube;
    std::string FFileName;
    std::once_flag FOnce;
    std::shared_ptr<CubeDef> FCubeDef;  // built on first use
};

}  // namespace cb::olap
