#include "olap/mdx/SelectQuery.h"

#include "olap/engine/Aggregator.h"
#include "olap/engine/OlapError.h"
#include "olap/mdx/Binder.h"
#include "olap/mdx/CalculatedMembers.h"
#include "olap/mdx/SetEvaluator.h"
#include "platform/rtl/FormatFloat.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

namespace cb::olap::mdx {

namespace {

// The non-measure part of an axis's tuples, each distinct tuple once.
struct Projection {
    AxisTuples tuples;
    std::vector<size_t> ofPosition;  // distinct tuple index per position
    int measuresIndex = -1;          // element index of the measures, -1 if none
};

Projection Project(const ResultAxis& axis) {
    Projection p;
    size_t k = axis.dims.size();
    std::vector<size_t> keep;
    for (size_t i = 0; i < k; ++i) {
        if (axis.dims[i] == kMeasuresDim)
            p.measuresIndex = static_cast<int>(i);
        else {
            keep.push_back(i);
            p.tuples.dims.push_back(axis.dims[i]);
        }
    }
    p.tuples.tupleCount = 0;
    // Each position's tuple is appended, and taken back when it was there.
    TupleIndex index(p.tuples.members, keep.size(), axis.positionCount);
    p.ofPosition.reserve(axis.positionCount);
    for (size_t pos = 0; pos < axis.positionCount; ++pos) {
        for (size_t j = 0; j < keep.size(); ++j) p.tuples.members.push_back(axis.member(pos, keep[j]));
        const size_t found = index.Find(p.tuples.tupleCount);
        if (found == p.tuples.tupleCount)
            ++p.tuples.tupleCount;
        else
            p.tuples.members.resize(p.tuples.members.size() - keep.size());
        p.ofPosition.push_back(found);
    }
    return p;
}

}  // namespace

QueryResult RunSelect(const SelectStatement& statement, const CubeData& cube) {
    Binder binder(cube);
    if (statement.cube.size() != 1 || !EqualNoCase(statement.cube[0].text, cube.name))
        throw EOlapError("Unknown cube " + NameText(statement.cube) + " at " + statement.cubePos.Text() +
                         " (the open cube is [" + cube.name + "])");

    QueryResult result;
    bool seen[2] = {false, false};
    SetEvaluator sets(binder);
    for (const AxisClause& clause : statement.axes) {
        if (seen[clause.axis])
            throw EOlapError(std::string("The ") + (clause.axis == 0 ? "COLUMNS" : "ROWS") +
                             " axis is given twice, at " + clause.pos.Text());
        seen[clause.axis] = true;
        TupleSet s = sets.EvaluateSet(*clause.set);
        ResultAxis& axis = result.axes[clause.axis];
        axis.dims = s.count ? s.dims : std::vector<int>();
        axis.members = std::move(s.members);
        axis.positionCount = s.count;
    }
    if (!seen[0]) throw EOlapError("The query has no COLUMNS axis");
    if (!seen[1]) {
        // Columns alone: one row position with no members.
        result.axes[1].positionCount = 1;
    }
    for (int d : result.axes[0].dims) {
        if (std::find(result.axes[1].dims.begin(), result.axes[1].dims.end(), d) != result.axes[1].dims.end()) {
            const SourcePos& later = statement.axes.back().set->pos;
            throw EOlapError("The dimension " + binder.DimensionName(d) + " is used on more than one axis at " +
                             later.Text());
        }
    }

    const size_t columns = result.columns();
    const size_t rows = result.rows();
    if (rows != 0 && columns > kMaxResultCells / rows)
        throw EOlapError("The query would give " + std::to_string(columns) + " columns by " + std::to_string(rows) +
                         " rows, more than the " + std::to_string(kMaxResultCells) + " cells the engine allows");
    result.values.assign(columns * rows, std::nan(""));
    result.formatted.assign(columns * rows, std::string());
    if (columns == 0 || rows == 0) return result;

    Projection colProj = Project(result.axes[0]);
    Projection rowProj = Project(result.axes[1]);

    // The measure of each cell comes from whichever axis holds the measures.
    auto measureOf = [&](size_t col, size_t row) -> MemberId {
        if (colProj.measuresIndex >= 0) return result.axes[0].member(col, static_cast<size_t>(colProj.measuresIndex));
        if (rowProj.measuresIndex >= 0) return result.axes[1].member(row, static_cast<size_t>(rowProj.measuresIndex));
        return 0;
    };
    if (cube.measures.empty() && colProj.measuresIndex < 0 && rowProj.measuresIndex < 0)
        return result;  // no measure at all: every cell is empty

    // Which measures are used, and the stored measures they need.
    std::vector<bool> used(binder.MeasureCount(), false);
    if (colProj.measuresIndex >= 0) {
        for (size_t c = 0; c < columns; ++c) used[measureOf(c, 0)] = true;
    } else if (rowProj.measuresIndex >= 0) {
        for (size_t r = 0; r < rows; ++r) used[measureOf(0, r)] = true;
    } else {
        used[0] = true;
    }
    CalculatedMembers calcs(binder);
    std::vector<int> stored;
    for (size_t m = 0; m < used.size(); ++m) {
        if (!used[m]) continue;
        if (binder.IsCalculated(static_cast<MemberId>(m))) {
            calcs.Prepare(static_cast<MemberId>(m));
            for (int s : calcs.StoredMeasuresOf(static_cast<MemberId>(m))) stored.push_back(s);
        } else {
            stored.push_back(static_cast<int>(m));
        }
    }
    std::sort(stored.begin(), stored.end());
    stored.erase(std::unique(stored.begin(), stored.end()), stored.end());
    std::vector<int> slot(cube.measures.size(), -1);
    for (size_t i = 0; i < stored.size(); ++i) slot[static_cast<size_t>(stored[i])] = static_cast<int>(i);

    AggregateResult agg;
    if (!stored.empty()) agg = Aggregate(cube, colProj.tuples, rowProj.tuples, stored);

    // Each measure's format is parsed once per query, when first needed.
    std::vector<std::unique_ptr<cb::rtl::TMeasureFormat>> formats(cube.measures.size() + cube.calculatedMembers.size());
    auto formatOf = [&](MemberId m) -> const cb::rtl::TMeasureFormat& {
        auto& f = formats[m];
        if (!f) {
            const std::string& text = m < cube.measures.size()
                                          ? cube.measures[m].formatString
                                          : cube.calculatedMembers[m - cube.measures.size()].formatString;
            f = std::make_unique<cb::rtl::TMeasureFormat>(text);
        }
        return *f;
    };
    for (size_t r = 0; r < rows; ++r) {
        size_t ar = rowProj.ofPosition[r];
        for (size_t c = 0; c < columns; ++c) {
            size_t ac = colProj.ofPosition[c];
            MemberId m = measureOf(c, r);
            auto storedValue = [&](int measure) {
                return agg.value(ac, ar, static_cast<size_t>(slot[static_cast<size_t>(measure)]));
            };
            const double v = binder.IsCalculated(m) ? calcs.Evaluate(m, storedValue) : storedValue(static_cast<int>(m));
            size_t i = r * columns + c;
            result.values[i] = v;
            if (!std::isnan(v)) result.formatted[i] = formatOf(m).Format(v);
        }
    }
    return result;
}

}  // namespace cb::olap::mdx
