#pragma once
// The application's MDX as a server is sent it: member names in the
// server's form, the engine's shorthand "x.Members(n)" as "x.Members.Item(n)",
// and an axis of the empty set "{}" answered without the server (which
// cannot name the hierarchy of an empty set).
#include "olap/mdx/Ast.h"
#include "olap/xmla/NameMap.h"

#include <string>

namespace cb::olap::xmla {

struct ServerSelect {
    // What the server is asked; empty when no axis needs it.
    std::string text;
    // Our axes (0 columns, 1 rows): whether the statement has it, whether it
    // is "{}", and which axis of the server's answer holds it (-1: none).
    bool present[2] = {false, false};
    bool empty[2] = {false, false};
    int serverAxis[2] = {-1, -1};
};

ServerSelect TranslateSelect(const mdx::SelectStatement& statement, const NameMap& names);
std::string WriteExpression(const mdx::Node& node, const NameMap& names);

}  // namespace cb::olap::xmla
