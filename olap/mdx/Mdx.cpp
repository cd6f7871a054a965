#include "olap/mdx/Mdx.h"

#include "olap/engine/OlapError.h"

namespace cb::olap::mdx {

bool Execute(const std::string&, const CubeData&, QueryResult&)
{
    throw EOlapError("MDX queries are not available yet");
}

} // namespace cb::olap::mdx
