#pragma once
// Syntax tree of MDX statements and expressions.
#include "olap/mdx/Lexer.h"

#include <memory>
#include <string>
#include <vector>

namespace cb::olap::mdx {

struct NamePart {
    std::string text;
    bool bracketed = true;
};

enum class NodeKind {
    Name,    // [A].[B].[C]: parts
    Number,  // number
    String,  // text
    Braces,  // {args...}
    Call,    // text(args...): a function
    Method,  // target.text or target.text(args...)
    Binary,  // args[0] text args[1]; text is one of + - * /
    Negate,  // -target
};

struct Node;
using NodePtr = std::unique_ptr<Node>;

struct Node {
    NodeKind kind = NodeKind::Name;
    SourcePos pos;
    std::vector<NamePart> parts;
    double number = 0;
    std::string text;
    NodePtr target;
    std::vector<NodePtr> args;
    bool hasParens = false;  // Method written with an argument list
    int height = 1;          // levels of nodes from here down, this one included

    // The name as written, e.g. [Customer].[All].[Europe].
    std::string NameText() const;
};

enum class AxisKind {
    Columns = 0,
    Rows = 1
};

struct AxisClause {
    NodePtr set;
    int axis = 0;   // 0 columns, 1 rows
    SourcePos pos;  // of the axis name
};

struct SelectStatement {
    std::vector<AxisClause> axes;
    std::vector<NamePart> cube;
    SourcePos cubePos;
};

struct CreateCubeItem {
    bool isMeasure = false;
    std::vector<NamePart> name;
    SourcePos pos;
};

struct CreateCubeStatement {
    std::string cubeName;
    SourcePos cubeNamePos;
    std::string storage;
    SourcePos storagePos;
    std::vector<NamePart> source;
    SourcePos sourcePos;
    std::vector<CreateCubeItem> items;
};

std::string NameText(const std::vector<NamePart>& parts);

}  // namespace cb::olap::mdx
