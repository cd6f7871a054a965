// libFuzzer target: XMLA answers. Any bytes read as a Discover rowset and as
// an Execute data set give the data or an EOlapError (EXmlaFault for a
// fault), within the limits: no more rows, members or cells than allowed,
// every tuple member a member of the table, and no error text longer than
// the cut. Built with Qt Core by fuzz/build.sh, then:
//   ./fuzz_xmla corpus_xmla /work/main/fuzz/seeds/xmla -max_total_time=600 -rss_limit_mb=2048 -timeout=5
#include "olap/xmla/XmlaReader.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace cb::olap;
using namespace cb::olap::xmla;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    ReadLimits limits;
    limits.maxRows = 1000;
    limits.maxTupleMembers = 10000;
    limits.maxCells = 10000;
    try {
        const Rowset rows = ReadRowset(body, limits);
        if (rows.size() > limits.maxRows) std::abort();
    } catch (const EOlapError& e) {
        if (std::string(e.what()).size() > kMaxServerText + 512) std::abort();  // a server text not cut
    }
    try {
        const DataSet set = ReadDataSet(body, limits);
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
    } catch (const EOlapError& e) {
        if (std::string(e.what()).size() > kMaxServerText + 512) std::abort();
    }
    return 0;
}
