// libFuzzer target: XMLA answers. Any bytes read as a Discover rowset and as
// an Execute data set give the data or an EOlapError (EXmlaFault for a
// fault), within the limits: no more rows, members or cells than allowed,
// every tuple member a member of the table, and no error text longer than
// the cut. The same bytes arriving in small pieces (the first byte says how
// small) read as they do whole. Built with Qt Core by fuzz/build.sh, then:
//   ./fuzz_xmla corpus_xmla /work/main/fuzz/seeds/xmla -max_total_time=600 -rss_limit_mb=2048 -timeout=5
#include "olap/xmla/XmlaReader.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

using namespace cb::olap;
using namespace cb::olap::xmla;

namespace {

void CheckErrorText(const EOlapError& e) {
    if (std::string(e.what()).size() > kMaxServerText + 512) std::abort();  // a server text not cut
}

std::string Text(const Rowset& rows) {
    std::string s;
    for (const Row& r : rows) {
        for (const auto& [k, v] : r.columns) s += k + "=" + v + "\x1f";
        s += "\x1e";
    }
    return s;
}

std::string Text(const DataSet& set) {
    std::string s;
    for (const AxisData& a : set.axes) {
        s += std::to_string(a.dims) + "x" + std::to_string(a.positions) + ":";
        for (std::uint32_t m : a.members) s += std::to_string(m) + ",";
    }
    for (const TupleMember& m : set.memberTable)
        s += m.hierarchy + "|" + m.uniqueName + "|" + m.caption + "|" + m.levelName + "|" +
             std::to_string(m.levelNumber) + "|" + std::to_string(m.displayInfo) + "\x1e";
    for (const CellData& c : set.cells)
        s += std::to_string(c.ordinal) + "|" + c.value.ToString() + "|" + c.formatted + "|" + c.problem + "\x1e";
    return s;
}

// What reading gives: the result as text, or nothing for an error.
template <class Read>
std::optional<std::string> Outcome(Read read) {
    try {
        return Text(read());
    } catch (const EOlapError& e) {
        CheckErrorText(e);
        return std::nullopt;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    ReadLimits limits;
    limits.maxRows = 1000;
    limits.maxTupleMembers = 10000;
    limits.maxCells = 10000;
    const auto wholeRows = Outcome([&] {
        Rowset rows = ReadRowset(body, limits);
        if (rows.size() > limits.maxRows) std::abort();
        return rows;
    });
    const auto wholeSet = Outcome([&] {
        DataSet set = ReadDataSet(body, limits);
        if (set.axes.size() > limits.maxAxes) std::abort();
        if (set.CellCount() > limits.maxCells) std::abort();
        for (const AxisData& axis : set.axes) {
            if (axis.members.size() != axis.positions * size_t(axis.dims)) std::abort();
            for (std::uint32_t m : axis.members)
                if (m >= set.memberTable.size()) std::abort();
        }
        std::uint64_t last = 0;
        for (size_t i = 0; i < set.cells.size(); ++i) {
            if (set.cells[i].ordinal >= set.CellCount()) std::abort();
            if (i > 0 && set.cells[i].ordinal <= last) std::abort();
            last = set.cells[i].ordinal;
        }
        return set;
    });

    // In pieces. What is read whole is read the same in pieces; the other
    // way round need not hold, as only the whole answer shows the XML reader
    // what follows the envelope.
    if (size == 0) return 0;
    ReadLimits pieces = limits;
    pieces.stretchBytes = 1 + data[0] % 16;
    const auto source = [&body, &pieces, at = size_t(0)](std::string& piece) mutable {
        if (at >= body.size()) return false;
        piece = body.substr(at, pieces.stretchBytes);
        at += piece.size();
        return true;
    };
    const auto pieceRows = Outcome([&] { return ReadRowset(AnswerSource(source), pieces); });
    if (wholeRows && pieceRows != wholeRows) std::abort();
    const auto pieceSet = Outcome([&] { return ReadDataSet(AnswerSource(source), pieces); });
    if (wholeSet && pieceSet != wholeSet) std::abort();
    return 0;
}
