#pragma once
// Consistency rules of an in-memory cube, shared by the file reader, the file
// writer and whoever builds a CubeData by hand.
#include "olap/engine/CubeData.h"

#include <string>

namespace cb::olap {

// Limits that keep untrusted files from asking for unbounded memory.
constexpr size_t kMaxDimensions = 64;
constexpr size_t kMaxLevels = 32;           // per dimension, (All) included
constexpr size_t kMaxMembers = 20'000'000;  // per dimension
constexpr size_t kMaxMeasures = 1024;
constexpr size_t kMaxCalculatedMembers = 10'000;
constexpr size_t kMaxFacts = 2'000'000'000;
constexpr size_t kMaxNameLength = 1000;
constexpr size_t kMaxTextLength = 100'000;  // captions, expressions
constexpr size_t kMaxFormatLength = 255;    // measure format strings
// Fact values: a null (NaN) or a number of at most this magnitude, so that
// sums stay finite and formatted values stay short.
constexpr double kMaxFactValue = 1e15;

// The one rule for fact values, whoever reads or writes them.
bool IsValidFactValue(double value);

// A text in double quotes for a message, its control characters written as
// "\x00" .. "\x1F" and "\x7F" (a NUL would end the message).
std::string QuoteText(const std::string& text);

// Throws EOlapError("<context>: ...") when name is empty, too long, or holds
// "[", "]", "." or a control character. kind says what is named ("member").
void CheckName(const std::string& name, const std::string& kind, const std::string& context);

// "kind "second" appears twice", or, when the two are spelled differently,
// that they match without regard to letter case.
std::string SameNameText(const std::string& kind, const std::string& first, const std::string& second);

// Checks the stored fields of a cube (names, levels, member parents, depths,
// pre-order, leaves at the deepest level, names that would match one another
// (sibling members, dimensions, levels of a dimension, measures and
// calculated members, a dimension and "Measures"), measures, fact
// column sizes, fact keys naming leaves). Derived fields (unique names,
// subtreeEnd, children, level member lists) are not looked at.
void CheckCube(const CubeData& cube, const std::string& context);

// Fills the derived fields from the stored ones; the cube must have passed
// CheckCube.
void FillDerived(CubeData& cube);

// CheckCube + FillDerived.
void CompleteCube(CubeData& cube, const std::string& context);

}  // namespace cb::olap
