#pragma once
// Recursive-descent parser for the MDX dialect the application writes:
//
//   SELECT set ON COLUMNS|ROWS|0|1 [, set ON ...] FROM [cube] [;]
//   CREATE GLOBAL CUBE [name] STORAGE 'file' FROM [cube]
//       ( MEASURE [cube].[m], ..., DIMENSION [cube].[d], ... [,] )
//
// Expressions: names ([A].[B] or bare words), numbers, {a, b}, f(args),
// x.Method and x.Method(args), + - * / and unary minus, parentheses.
// Keywords and function names are case-insensitive.
#include "olap/mdx/Ast.h"

#include <variant>

namespace cb::olap::mdx {

// Deepest nesting of an expression tree (brackets, functions, operators),
// which keeps parsing and evaluation within a small, fixed stack.
constexpr int kMaxNestingDepth = 512;

using Statement = std::variant<SelectStatement, CreateCubeStatement>;

// Throws EOlapError "Syntax error at line L, column C: expected X but found Y",
// or "...: the expression is nested too deeply" past kMaxNestingDepth.
Statement ParseStatement(const std::string& text);

// One expression and nothing after it (calculated member expressions).
NodePtr ParseExpression(const std::string& text);

}  // namespace cb::olap::mdx
