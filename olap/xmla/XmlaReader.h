#pragma once
// Reads the SOAP answers of an XMLA server: Discover rowsets and Execute
// multidimensional data sets (tuple axis format). Everything read is
// untrusted: a document type declaration, an entity reference, deep nesting,
// too many rows, members or cells, a cell outside the axes or a malformed
// document is an EOlapError that says what is wrong (the caller adds which
// server sent it). A SOAP Fault, or an XMLA exception in the result, is an
// EXmlaFault with the server's own words.
#include "olap/adomd/Adomd.h"
#include "olap/engine/OlapError.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cb::olap::xmla {

class EXmlaFault : public EOlapError {
public:
    using EOlapError::EOlapError;
};

// One row of a rowset: its columns by element name, in document order.
struct Row {
    std::vector<std::pair<std::string, std::string>> columns;
    // The first column of that name; "" when the row has none.
    const std::string& Get(const std::string& name) const;
    bool Has(const std::string& name) const;
};
using Rowset = std::vector<Row>;

// A member as a tuple gives it.
struct TupleMember {
    std::string hierarchy;  // the Hierarchy attribute (a name, as the server writes it)
    std::string uniqueName;
    std::string caption;
    std::string levelName;
    int levelNumber = 0;
    std::uint32_t displayInfo = 0;  // the low 16 bits: the member's child count (at most 65535)
};

struct AxisData {
    int dims = 0;  // members per tuple (0 for no tuples)
    size_t positions = 0;
    std::vector<std::uint32_t> members;  // tuple p, member k at [p * dims + k]: an index into DataSet::memberTable
};

struct CellData {
    std::uint64_t ordinal = 0;
    Variant value;  // empty, a number or a text
    std::string formatted;
    // Why a cell has no value although the server sent one, for messages:
    // "an error (code 5): <the server's text>" for an error cell, or
    // "\"NaN\", which is not a number" for one that is not finite (value is
    // then empty); empty otherwise.
    std::string problem;
};

struct DataSet {
    std::vector<AxisData> axes;  // Axis0, Axis1, ... (the slicer left out)
    std::vector<TupleMember> memberTable;
    std::vector<CellData> cells;  // by ordinal, ascending; empty cells left out
    // The number of cells the axes span (the product of their positions).
    std::uint64_t CellCount() const;
};

// Texts a server supplies are cut: an element's text to kMaxElementText
// characters while it is read, a fault's message to kMaxServerText bytes
// (with "..." after the cut), so a hostile fault string becomes no error
// message of its size.
inline constexpr size_t kMaxElementText = 64 * 1024;
inline constexpr size_t kMaxServerText = 4 * 1024;
// text cut to at most max bytes at a UTF-8 character boundary, "..." added
// after a cut.
std::string CutServerText(const std::string& text, size_t max = kMaxServerText);

struct ReadLimits {
    int maxDepth = 64;
    size_t maxRows = 1000000;
    size_t maxTupleMembers = 4000000;
    size_t maxCells = 4000000;  // cells the axes may span
    size_t maxAxes = 2;
    // The XML reader is given the answer in stretches of at least this
    // size: it looks at an unfinished comment or CDATA section from its
    // start again each time it is given more.
    size_t stretchBytes = 256 * 1024;
};

// A number as XML Schema writes the numeric types (blanks around it, a
// leading "+", "INF", "-INF", "NaN"); false for anything else.
bool ParseXsdNumber(std::string_view text, double& value);

// An answer as it arrives: each call gives the next piece, false at the
// end; it throws (an EOlapError) when the answer did not arrive whole.
using AnswerSource = std::function<bool(std::string& piece)>;

// The reader holds what it has read (the result) and a piece of the answer,
// never the whole answer: a run of text longer than 1 MB is cut, a tag
// longer than that is refused.
Rowset ReadRowset(const AnswerSource& source, const ReadLimits& limits = {});
DataSet ReadDataSet(const AnswerSource& source, const ReadLimits& limits = {});
Rowset ReadRowset(const std::string& body, const ReadLimits& limits = {});
DataSet ReadDataSet(const std::string& body, const ReadLimits& limits = {});

}  // namespace cb::olap::xmla
