// Aggregation in one pass over the facts.
//
// The tuples of an axis are planned in groups. Within a group, per tuple
// position k, the distinct members used there cut the dimension's pre-order
// id range into segments; the segments covered by some member are numbered
// ("classes"). A member covers a contiguous run of classes, so a tuple covers
// a box of class combinations, and a fact's class combination (a mixed-radix
// number found by table look-ups on its keys) leads to the tuples it belongs
// to. Tuples whose members stand at the same level depths cover one
// combination each, so an axis is planned as one group per such set of
// depths (a few of them: the union of "{leaves} * {All}" and "{All} *
// {leaves}" is two groups, not a cross of both levels), and a fact looks
// each group up on its own.
//
// When every group leads each combination to at most one tuple, one table
// per pair of a row group and a column group maps the combination straight
// to the cell, and a fact's cell and values are folded into per-cell
// accumulators in the same loop. Otherwise a block of facts yields (fact,
// cell) pairs that are folded per measure.
//
// The facts are cut into parts (at most kMaxParts, their size set by the fact
// and cell counts alone) handed to the shared worker pool. Each part sums its
// facts in order into accumulators of its own, and the parts are merged in
// part order, so a sum is the same on every run and for any number of threads.
#include "olap/engine/Aggregator.h"

#include "olap/engine/OlapError.h"
#include "olap/engine/WorkerPool.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <unordered_map>

namespace cb::olap {

namespace {

constexpr int64_t kInvalidCode = -(int64_t(1) << 56);
constexpr uint64_t kMaxCombos = uint64_t(1) << 46;
constexpr uint64_t kDenseCombos = uint64_t(1) << 22;
// Largest table of cells by combination over both axes (entries).
constexpr uint64_t kFusedCombos = uint64_t(1) << 22;
constexpr size_t kMaxPairs = size_t(1) << 26;
constexpr size_t kBlock = 2048;
constexpr size_t kChunk = size_t(1) << 16;  // facts per part at the least
constexpr size_t kMaxParts = 64;
constexpr size_t kPartMemory = size_t(256) << 20;  // bytes of accumulators over all parts
constexpr size_t kMergePiece = size_t(1) << 16;     // accumulators merged by a worker at a time
constexpr size_t kMaxDepthGroups = 8;       // per axis, planned apart

// The tuples of one axis planned together.
struct GroupPlan {
    std::vector<uint32_t> tupleIds;           // axis tuple of each group tuple
    std::vector<std::vector<int32_t>> cls;    // per position: member id -> class, or -1
    std::vector<uint32_t> classCount;         // per position
    std::vector<uint64_t> stride;             // per position: combination = sum of class * stride
    std::vector<std::vector<int64_t>> codes;  // per position: class * stride, or kInvalidCode (BuildCodes)
    bool dense = true;
    bool single = true;                // every combination leads to at most one tuple
    std::vector<int32_t> singleTuple;  // dense && single: combination -> axis tuple or -1
    std::vector<uint32_t> start;       // CSR over list index -> axis tuples
    std::vector<uint32_t> tuples;
    std::vector<int64_t> denseList;                    // dense && !single: combination -> list index or -1
    std::unordered_map<int64_t, uint32_t> sparseList;  // !dense: combination -> list index
    // Slow path when the combinations would explode: test each tuple.
    bool bruteForce = false;
};

struct AxisPlan {
    size_t tupleCount = 0;
    std::vector<int> dims;  // per position
    const AxisTuples* axis = nullptr;
    std::vector<GroupPlan> groups;
    // No dimensions: every fact is at the one tuple.
    bool Whole() const { return dims.empty() && tupleCount == 1; }
};

void CheckAxis(const CubeData& cube, const AxisTuples& axis, const char* name) {
    const size_t k = axis.dims.size();
    if (axis.members.size() != axis.tupleCount * k)
        throw EOlapError(std::string("Aggregate: the ") + name + " axis holds " + std::to_string(axis.members.size()) +
                         " members for " + std::to_string(axis.tupleCount) + " tuples of " + std::to_string(k) +
                         " dimensions");
    for (int d : axis.dims)
        if (d < 0 || size_t(d) >= cube.dimensions.size())
            throw EOlapError(std::string("Aggregate: the ") + name + " axis names dimension " + std::to_string(d) +
                             ", which does not exist");
    for (size_t t = 0; t < axis.tupleCount; ++t)
        for (size_t j = 0; j < k; ++j) {
            MemberId m = axis.members[t * k + j];
            if (m >= cube.dimensions[size_t(axis.dims[j])].members.size())
                throw EOlapError(std::string("Aggregate: the ") + name + " axis names member " + std::to_string(m) +
                                 " of dimension \"" + cube.dimensions[size_t(axis.dims[j])].name +
                                 "\", which does not exist");
        }
}

// Plans the given tuples of an axis as one group. With pairLimit set, gives
// up (returns false) when the tuples' boxes hold more combinations than that.
bool PlanGroup(const CubeData& cube, const AxisTuples& axis, std::vector<uint32_t> ids, size_t pairLimit,
               GroupPlan& plan) {
    plan = GroupPlan();
    plan.tupleIds = std::move(ids);
    const size_t k = axis.dims.size();
    const size_t n = plan.tupleIds.size();
    auto member = [&](size_t t, size_t j) { return axis.members[size_t(plan.tupleIds[t]) * k + j]; };

    // Classes per position and each tuple member's class range.
    std::vector<std::vector<std::pair<uint32_t, uint32_t>>> ranges(k);  // [tuple] -> [lo, hi)
    std::vector<std::vector<MemberId>> allBounds(k);
    std::vector<std::vector<int64_t>> allSegClass(k);
    plan.classCount.assign(k, 0);
    for (size_t j = 0; j < k; ++j) {
        const DimensionData& dim = cube.dimensions[size_t(axis.dims[j])];
        std::vector<MemberId> bounds;
        bounds.reserve(n * 2 + 2);
        for (size_t t = 0; t < n; ++t) {
            bounds.push_back(member(t, j));
            bounds.push_back(dim.members[member(t, j)].subtreeEnd);
        }
        std::sort(bounds.begin(), bounds.end());
        bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
        // covered[s]: segment [bounds[s], bounds[s+1]) lies inside some member.
        std::vector<int> depthChange(bounds.size() + 1, 0);
        // Segment index by member id (every id looked up is a bound).
        std::vector<uint32_t> segOf(dim.members.size() + 1, 0);
        for (size_t b = 0; b < bounds.size(); ++b) segOf[bounds[b]] = uint32_t(b);
        auto seg = [&](MemberId id) { return size_t(segOf[id]); };
        for (size_t t = 0; t < n; ++t) {
            depthChange[seg(member(t, j))] += 1;
            depthChange[seg(dim.members[member(t, j)].subtreeEnd)] -= 1;
        }
        std::vector<int64_t> segClass(bounds.size(), -1);
        int cover = 0;
        uint32_t classes = 0;
        for (size_t s = 0; s + 1 < bounds.size(); ++s) {
            cover += depthChange[s];
            if (cover > 0) segClass[s] = int64_t(classes++);
        }
        plan.classCount[j] = classes;
        ranges[j].resize(n);
        for (size_t t = 0; t < n; ++t) {
            size_t a = seg(member(t, j)), b = seg(dim.members[member(t, j)].subtreeEnd);
            // Covered segments of a member are consecutive classes.
            ranges[j][t] = {uint32_t(segClass[a]), uint32_t(segClass[a] + int64_t(b - a))};
        }
        allBounds[j] = std::move(bounds);
        allSegClass[j] = std::move(segClass);
    }

    uint64_t boxes = 0;
    for (size_t t = 0; t < n; ++t) {
        uint64_t box = 1;
        for (size_t j = 0; j < k; ++j) box *= ranges[j][t].second - ranges[j][t].first;
        boxes += box;
        if (boxes > kMaxPairs) break;
    }
    if (pairLimit && boxes > pairLimit) return false;
    for (size_t j = 0; j < k; ++j) {
        const std::vector<MemberId>& bounds = allBounds[j];
        std::vector<int32_t>& cls = plan.cls.emplace_back(cube.dimensions[size_t(axis.dims[j])].members.size(), -1);
        for (size_t s = 0; s + 1 < bounds.size(); ++s)
            if (allSegClass[j][s] >= 0)
                std::fill(cls.begin() + bounds[s], cls.begin() + std::min<size_t>(bounds[s + 1], cls.size()),
                          int32_t(allSegClass[j][s]));
    }

    uint64_t combos = 1;
    std::vector<uint64_t> stride(k);
    for (size_t j = k; j-- > 0;) {
        stride[j] = combos;
        if (combos > kMaxCombos / std::max<uint32_t>(plan.classCount[j], 1)) {
            plan.bruteForce = true;
            return true;
        }
        combos *= plan.classCount[j];
    }
    if (boxes > kMaxPairs) {
        plan.bruteForce = true;
        return true;
    }
    plan.stride = stride;
    if (combos == 0) {  // some position covers nothing: no fact matches
        plan.singleTuple.assign(1, -1);
        return true;
    }

    // (combination, axis tuple) pairs from each tuple's box.
    std::vector<std::pair<int64_t, uint32_t>> pairs;
    pairs.reserve(boxes);
    std::vector<uint32_t> cur(k);
    for (size_t t = 0; t < n; ++t) {
        bool empty = false;
        for (size_t j = 0; j < k; ++j) {
            cur[j] = ranges[j][t].first;
            empty = empty || ranges[j][t].first == ranges[j][t].second;
        }
        if (empty) continue;
        for (;;) {
            int64_t c = 0;
            for (size_t j = 0; j < k; ++j) c += int64_t(cur[j] * stride[j]);
            pairs.emplace_back(c, plan.tupleIds[t]);
            size_t j = k;
            while (j-- > 0) {
                if (++cur[j] < ranges[j][t].second) break;
                cur[j] = ranges[j][t].first;
            }
            if (j == size_t(-1)) break;
        }
    }
    std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 1; i < pairs.size(); ++i)
        if (pairs[i].first == pairs[i - 1].first) {
            plan.single = false;
            break;
        }
    plan.dense = combos <= kDenseCombos;
    if (plan.dense && plan.single) {
        plan.singleTuple.assign(combos, -1);
        for (auto& [c, t] : pairs) plan.singleTuple[size_t(c)] = int32_t(t);
        return true;
    }
    if (plan.dense) plan.denseList.assign(combos, -1);
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (i == 0 || pairs[i].first != pairs[i - 1].first) {
            uint32_t list = uint32_t(plan.start.size());
            plan.start.push_back(uint32_t(plan.tuples.size()));
            if (plan.dense)
                plan.denseList[size_t(pairs[i].first)] = list;
            else
                plan.sparseList.emplace(pairs[i].first, list);
        }
        plan.tuples.push_back(pairs[i].second);
    }
    plan.start.push_back(uint32_t(plan.tuples.size()));
    return true;
}

// The per-member codes the (fact, cell) pair path adds up.
void BuildCodes(AxisPlan& axis) {
    for (GroupPlan& plan : axis.groups) {
        if (plan.bruteForce) continue;
        for (size_t j = 0; j < plan.cls.size(); ++j) {
            std::vector<int64_t>& code = plan.codes.emplace_back(plan.cls[j].size(), kInvalidCode);
            for (size_t m = 0; m < code.size(); ++m)
                if (plan.cls[j][m] >= 0) code[m] = int64_t(plan.cls[j][m]) * int64_t(plan.stride[j]);
        }
    }
}

AxisPlan PlanAxis(const CubeData& cube, const AxisTuples& axis) {
    AxisPlan plan;
    plan.tupleCount = axis.tupleCount;
    plan.dims = axis.dims;
    plan.axis = &axis;
    const size_t k = axis.dims.size();
    if (axis.tupleCount == 0 || plan.Whole()) return plan;

    // Tuples whose members stand at the same depths cover one combination
    // each: a few such groups are planned apart, so that a union of cross
    // joins costs what its parts cost.
    std::map<std::vector<uint16_t>, std::vector<uint32_t>> byDepths;
    std::vector<uint16_t> depths(k);
    for (size_t t = 0; t < axis.tupleCount; ++t) {
        for (size_t j = 0; j < k; ++j)
            depths[j] = cube.dimensions[size_t(axis.dims[j])].members[axis.members[t * k + j]].depth;
        byDepths[depths].push_back(uint32_t(t));
    }
    if (byDepths.size() > kMaxDepthGroups) {
        // Many groups: one plan, unless its boxes are much larger than the tuples.
        std::vector<uint32_t> all(axis.tupleCount);
        for (size_t t = 0; t < all.size(); ++t) all[t] = uint32_t(t);
        const size_t limit = std::max<size_t>(4 * axis.tupleCount, size_t(1) << 16);
        if (PlanGroup(cube, axis, all, limit, plan.groups.emplace_back())) return plan;
        plan.groups.clear();
    }
    for (auto& [key, ids] : byDepths) PlanGroup(cube, axis, std::move(ids), 0, plan.groups.emplace_back());
    return plan;
}

// For a block of facts, the combination of each fact in this group
// (negative: the fact matches no tuple of the group).
void Combos(const CubeData& cube, const AxisPlan& axis, const GroupPlan& plan, size_t first, size_t count,
            int64_t* out) {
    std::fill(out, out + count, 0);
    for (size_t j = 0; j < axis.dims.size(); ++j) {
        const MemberId* keys = cube.factKeys[size_t(axis.dims[j])].data() + first;
        const int64_t* code = plan.codes[j].data();
        for (size_t i = 0; i < count; ++i) out[i] += code[keys[i]];
    }
}

// Calls fn(tuple) for each tuple of the group that fact f belongs to, given
// its combination c.
template <class Fn>
void ForTuples(const CubeData& cube, const AxisPlan& axisPlan, const GroupPlan& plan, size_t f, int64_t c, Fn&& fn) {
    if (plan.bruteForce) {
        const AxisTuples& axis = *axisPlan.axis;
        const size_t k = axis.dims.size();
        for (uint32_t t : plan.tupleIds) {
            bool ok = true;
            for (size_t j = 0; j < k && ok; ++j) {
                const DimensionData& dim = cube.dimensions[size_t(axis.dims[j])];
                MemberId key = cube.factKeys[size_t(axis.dims[j])][f];
                MemberId m = axis.members[t * k + j];
                ok = key >= m && key < dim.members[m].subtreeEnd;
            }
            if (ok) fn(t);
        }
        return;
    }
    if (c < 0) return;
    if (plan.dense && plan.single) {
        int32_t t = plan.singleTuple[size_t(c)];
        if (t >= 0) fn(uint32_t(t));
        return;
    }
    int64_t list = -1;
    if (plan.dense)
        list = plan.denseList[size_t(c)];
    else if (auto it = plan.sparseList.find(c); it != plan.sparseList.end())
        list = it->second;
    if (list < 0) return;
    for (uint32_t i = plan.start[size_t(list)]; i < plan.start[size_t(list) + 1]; ++i) fn(plan.tuples[i]);
}

// One table from the classes of the positions of a row group and a column
// group straight to the cell (row * columns + column), or the spare cell
// `cells` when the fact belongs to no cell of the pair. Each position gets
// one more class for "none", so the look-up needs no test; a position whose
// one class covers every member (the (All) member) is left out, its key
// never read. A fact is looked up in every pair of groups.
struct FusedPlan {
    std::vector<int> dims;                     // per position read
    std::vector<std::vector<uint32_t>> codes;  // per position read: member id -> class * stride
    std::vector<uint32_t> cellOf;              // combination -> cell; empty: codes[0] gives the cell
};

// A group of single tuples: the combination's tuple, or -1.
int64_t SimpleTuple(const GroupPlan& g, uint64_t combo) {
    if (g.dense) return g.singleTuple[size_t(combo)];
    if (g.tuples.empty()) return -1;
    auto it = g.sparseList.find(int64_t(combo));
    return it == g.sparseList.end() ? -1 : int64_t(g.tuples[g.start[it->second]]);
}

bool AllSingle(const AxisPlan& a) {
    if (a.Whole()) return true;
    for (const GroupPlan& g : a.groups)
        if (g.bruteForce || !g.single) return false;
    return !a.groups.empty();
}

// rg, cg: the groups, or nullptr for an axis without dimensions.
bool PlanFusedPart(const AxisPlan& rows, const GroupPlan* rg, const AxisPlan& cols, const GroupPlan* cg,
                   size_t columnCount, size_t cells, FusedPlan& fused) {
    struct Pos {
        bool row;
        int dim;
        const std::vector<int32_t>* cls;
        uint32_t count;
        uint64_t groupStride;  // the group's own stride of this position
        bool live;             // its key decides anything
    };
    std::vector<Pos> pos;
    for (int side = 0; side < 2; ++side) {
        const AxisPlan& a = side == 0 ? rows : cols;
        const GroupPlan* g = side == 0 ? rg : cg;
        if (!g) continue;
        const size_t first = pos.size();
        for (size_t j = 0; j < a.dims.size(); ++j) {
            const auto& cls = g->cls[j];
            const bool all = g->classCount[j] == 1 && std::find(cls.begin(), cls.end(), -1) == cls.end();
            pos.push_back(Pos{side == 0, a.dims[j], &cls, g->classCount[j], 0, !all});
        }
        uint64_t stride = 1;
        for (size_t j = pos.size(); j-- > first;) {
            pos[j].groupStride = stride;
            stride *= pos[j].count;
        }
    }
    uint64_t combos = 1;
    std::vector<size_t> live;
    for (size_t p = 0; p < pos.size(); ++p) {
        if (!pos[p].live) continue;
        live.push_back(p);
        combos *= uint64_t(pos[p].count) + 1;
        if (combos > kFusedCombos) return false;
    }
    const size_t k = live.size();
    std::vector<uint64_t> stride(k);
    uint64_t s = 1;
    for (size_t j = k; j-- > 0;) {
        stride[j] = s;
        s *= uint64_t(pos[live[j]].count) + 1;
    }
    for (size_t j = 0; j < k; ++j) {
        const Pos& p = pos[live[j]];
        fused.dims.push_back(p.dim);
        std::vector<uint32_t>& code = fused.codes.emplace_back(p.cls->size());
        for (size_t m = 0; m < code.size(); ++m) {
            const int32_t c = (*p.cls)[m];
            code[m] = uint32_t((c < 0 ? uint64_t(p.count) : uint64_t(c)) * stride[j]);
        }
    }
    // Every combination, split into the groups' own combinations.
    fused.cellOf.assign(combos, uint32_t(cells));
    std::vector<uint32_t> digit(k, 0);
    for (uint64_t combo = 0; combo < combos; ++combo) {
        if (combo) {
            size_t j = k;
            while (j-- > 0) {
                if (++digit[j] <= pos[live[j]].count) break;
                digit[j] = 0;
            }
        }
        bool none = false;
        uint64_t rc = 0, cc = 0;
        for (size_t j = 0; j < k && !none; ++j) {
            const Pos& p = pos[live[j]];
            none = digit[j] == p.count;
            (p.row ? rc : cc) += digit[j] * p.groupStride;
        }
        if (none) continue;
        const int64_t r = rg ? SimpleTuple(*rg, rc) : 0;
        const int64_t c = cg ? SimpleTuple(*cg, cc) : 0;
        if (r >= 0 && c >= 0) fused.cellOf[combo] = uint32_t(size_t(r) * columnCount + size_t(c));
    }
    // One position: the member id gives the cell at once.
    if (k == 1) {
        for (uint32_t& code : fused.codes[0]) code = fused.cellOf[code];
        fused.cellOf.clear();
    }
    return true;
}

// A part for every pair of a row group and a column group, when every group
// is of single tuples and small enough.
bool PlanFused(const AxisPlan& rows, const AxisPlan& cols, size_t columnCount, size_t cells,
               std::vector<FusedPlan>& parts) {
    if (!AllSingle(rows) || !AllSingle(cols)) return false;
    std::vector<const GroupPlan*> rgs, cgs;
    if (rows.Whole())
        rgs.push_back(nullptr);
    else
        for (const GroupPlan& g : rows.groups) rgs.push_back(&g);
    if (cols.Whole())
        cgs.push_back(nullptr);
    else
        for (const GroupPlan& g : cols.groups) cgs.push_back(&g);
    if (rgs.size() * cgs.size() > 64) return false;
    for (const GroupPlan* rg : rgs)
        for (const GroupPlan* cg : cgs)
            if (!PlanFusedPart(rows, rg, cols, cg, columnCount, cells, parts.emplace_back())) return false;
    return true;
}

// Per-cell accumulator of one measure: interleaved by cell, measures inner.
struct Acc {
    double value;
    uint64_t count;
};

double InitialValue(Aggregation a) {
    switch (a) {
    case Aggregation::Min:
        return std::numeric_limits<double>::infinity();
    case Aggregation::Max:
        return -std::numeric_limits<double>::infinity();
    default:
        return 0;
    }
}

template <Aggregation A>
inline void Add(Acc& a, double v) {
    if (std::isnan(v)) return;
    ++a.count;
    if constexpr (A == Aggregation::Sum)
        a.value += v;
    else if constexpr (A == Aggregation::Min)
        a.value = std::min(a.value, v);
    else if constexpr (A == Aggregation::Max)
        a.value = std::max(a.value, v);
}

// Folds values[i] into cell[i]'s accumulator of measure slot m.
template <Aggregation A>
void FoldCells(const double* vals, const uint32_t* cell, size_t n, Acc* acc, size_t mc, size_t m) {
    for (size_t i = 0; i < n; ++i) Add<A>(acc[size_t(cell[i]) * mc + m], vals[i]);
}

// Folds vals[fact[i]] into cell[i]'s accumulator.
template <Aggregation A>
void FoldPairs(const double* vals, const uint32_t* fact, const uint32_t* cell, size_t n, Acc* acc, size_t mc,
               size_t m) {
    for (size_t i = 0; i < n; ++i) Add<A>(acc[size_t(cell[i]) * mc + m], vals[fact[i]]);
}

template <bool Pairs>
void FoldMeasures(const CubeData& cube, const std::vector<int>& measures, size_t first, const uint32_t* fact,
                  const uint32_t* cell, size_t n, Acc* acc) {
    const size_t mc = measures.size();
    for (size_t m = 0; m < mc; ++m) {
        const double* vals = cube.factValues[size_t(measures[m])].data() + first;
#define CB_FOLD(A)                                                                                                     \
    if constexpr (Pairs)                                                                                               \
        FoldPairs<A>(vals, fact, cell, n, acc, mc, m);                                                                 \
    else                                                                                                               \
        FoldCells<A>(vals, cell, n, acc, mc, m);                                                                       \
    break;
        switch (cube.measures[size_t(measures[m])].aggregation) {
        case Aggregation::Sum:
            CB_FOLD(Aggregation::Sum)
        case Aggregation::Count:
            CB_FOLD(Aggregation::Count)
        case Aggregation::Min:
            CB_FOLD(Aggregation::Min)
        case Aggregation::Max:
            CB_FOLD(Aggregation::Max)
        }
#undef CB_FOLD
    }
}

// Cells of a block of facts through the fused table.
void FusedCells(const CubeData& cube, const FusedPlan& fused, size_t first, size_t n, uint32_t* cell) {
    const size_t k = fused.dims.size();
    if (k == 0) {
        std::fill(cell, cell + n, fused.cellOf[0]);
        return;
    }
    const MemberId* k0 = cube.factKeys[size_t(fused.dims[0])].data() + first;
    const uint32_t* c0 = fused.codes[0].data();
    if (k == 1) {
        for (size_t i = 0; i < n; ++i) cell[i] = c0[k0[i]];
        return;
    }
    const uint32_t* table = fused.cellOf.data();
    const MemberId* k1 = cube.factKeys[size_t(fused.dims[1])].data() + first;
    const uint32_t* c1 = fused.codes[1].data();
    if (k == 2) {
        for (size_t i = 0; i < n; ++i) cell[i] = table[c0[k0[i]] + c1[k1[i]]];
        return;
    }
    for (size_t i = 0; i < n; ++i) cell[i] = c0[k0[i]] + c1[k1[i]];
    for (size_t j = 2; j < k; ++j) {
        const MemberId* keys = cube.factKeys[size_t(fused.dims[j])].data() + first;
        const uint32_t* code = fused.codes[j].data();
        for (size_t i = 0; i < n; ++i) cell[i] += code[keys[i]];
    }
    for (size_t i = 0; i < n; ++i) cell[i] = table[cell[i]];
}

// Sums and counts of MC measures in one loop over the facts: the cell and
// every measure's value of a fact together, with no test per value.
template <size_t MC, class CellOf>
void SumLoop(const double* const* vals, size_t n, const CellOf& cellOf, Acc* acc) {
    for (size_t i = 0; i < n; ++i) {
        Acc* a = acc + size_t(cellOf(i)) * MC;
        for (size_t m = 0; m < MC; ++m) {
            const double v = vals[m][i];
            const bool ok = v == v;
            a[m].value += ok ? v : 0.0;
            a[m].count += ok;
        }
    }
}

template <size_t MC>
void SumBlock(const CubeData& cube, const FusedPlan& fused, const double* const* vals, size_t first, size_t n, Acc* acc,
              uint32_t* cell) {
    const size_t k = fused.dims.size();
    if (k == 1) {
        const MemberId* k0 = cube.factKeys[size_t(fused.dims[0])].data() + first;
        const uint32_t* c0 = fused.codes[0].data();
        SumLoop<MC>(
            vals, n, [&](size_t i) { return c0[k0[i]]; }, acc);
    } else if (k == 2) {
        const MemberId* k0 = cube.factKeys[size_t(fused.dims[0])].data() + first;
        const MemberId* k1 = cube.factKeys[size_t(fused.dims[1])].data() + first;
        const uint32_t *c0 = fused.codes[0].data(), *c1 = fused.codes[1].data(), *table = fused.cellOf.data();
        SumLoop<MC>(
            vals, n, [&](size_t i) { return table[c0[k0[i]] + c1[k1[i]]]; }, acc);
    } else {
        FusedCells(cube, fused, first, n, cell);
        SumLoop<MC>(
            vals, n, [&](size_t i) { return cell[i]; }, acc);
    }
}

void AccumulateFused(const CubeData& cube, const std::vector<FusedPlan>& parts, const std::vector<int>& measures,
                     size_t begin, size_t end, Acc* acc) {
    uint32_t cell[kBlock];
    const size_t mc = measures.size();
    // Sums and counts only: one loop per block and part.
    bool sums = mc <= 4;
    for (int m : measures) {
        const Aggregation a = cube.measures[size_t(m)].aggregation;
        sums = sums && (a == Aggregation::Sum || a == Aggregation::Count);
    }
    const double* vals[4] = {};
    for (size_t first = begin; first < end; first += kBlock) {
        const size_t n = std::min(kBlock, end - first);
        if (sums)
            for (size_t m = 0; m < mc; ++m) vals[m] = cube.factValues[size_t(measures[m])].data() + first;
        for (const FusedPlan& fused : parts) {
            if (!sums) {
                FusedCells(cube, fused, first, n, cell);
                FoldMeasures<false>(cube, measures, first, nullptr, cell, n, acc);
                continue;
            }
            switch (mc) {
            case 1:
                SumBlock<1>(cube, fused, vals, first, n, acc, cell);
                break;
            case 2:
                SumBlock<2>(cube, fused, vals, first, n, acc, cell);
                break;
            case 3:
                SumBlock<3>(cube, fused, vals, first, n, acc, cell);
                break;
            default:
                SumBlock<4>(cube, fused, vals, first, n, acc, cell);
                break;
            }
        }
    }
}

void AccumulatePairs(const CubeData& cube, const AxisPlan& cols, const AxisPlan& rows, const std::vector<int>& measures,
                     size_t begin, size_t end, Acc* acc) {
    std::vector<std::vector<int64_t>> colCombo(cols.groups.size(), std::vector<int64_t>(kBlock));
    std::vector<std::vector<int64_t>> rowCombo(rows.groups.size(), std::vector<int64_t>(kBlock));
    std::vector<uint32_t> pairFact, pairCell, rowHits;
    pairFact.reserve(kBlock);
    pairCell.reserve(kBlock);
    const size_t columnCount = cols.tupleCount;
    for (size_t first = begin; first < end; first += kBlock) {
        const size_t n = std::min(kBlock, end - first);
        for (size_t g = 0; g < cols.groups.size(); ++g)
            if (!cols.groups[g].bruteForce) Combos(cube, cols, cols.groups[g], first, n, colCombo[g].data());
        for (size_t g = 0; g < rows.groups.size(); ++g)
            if (!rows.groups[g].bruteForce) Combos(cube, rows, rows.groups[g], first, n, rowCombo[g].data());
        pairFact.clear();
        pairCell.clear();
        for (size_t i = 0; i < n; ++i) {
            rowHits.clear();
            if (rows.Whole())
                rowHits.push_back(0);
            else
                for (size_t g = 0; g < rows.groups.size(); ++g)
                    ForTuples(cube, rows, rows.groups[g], first + i, rowCombo[g][i],
                              [&](uint32_t r) { rowHits.push_back(r); });
            if (rowHits.empty()) continue;
            auto addColumn = [&](uint32_t c) {
                for (uint32_t r : rowHits) {
                    pairFact.push_back(uint32_t(i));
                    pairCell.push_back(uint32_t(size_t(r) * columnCount + c));
                }
            };
            if (cols.Whole())
                addColumn(0);
            else
                for (size_t g = 0; g < cols.groups.size(); ++g)
                    ForTuples(cube, cols, cols.groups[g], first + i, colCombo[g][i], addColumn);
        }
        if (!pairFact.empty())
            FoldMeasures<true>(cube, measures, first, pairFact.data(), pairCell.data(), pairFact.size(), acc);
    }
}

// How the facts are cut into parts: a function of the fact and slot counts
// alone, never of the threads, so that sums come out the same.
struct PartPlan {
    size_t count = 1;  // parts
    size_t facts = 0;  // per part (the last may hold fewer)
};

PartPlan PlanParts(size_t factCount, size_t slots) {
    size_t count = std::clamp<size_t>((factCount + kChunk - 1) / kChunk, 1, kMaxParts);
    // Every part's accumulators cost memory and a merge: keep both small
    // beside the facts.
    count = std::min(count, std::max<size_t>(1, kPartMemory / (slots * sizeof(Acc))));
    count = std::min(count, std::max<size_t>(1, 2 * factCount / slots));
    PartPlan plan;
    plan.facts = (factCount + count - 1) / count;
    plan.facts = std::max(kBlock, (plan.facts + kBlock - 1) / kBlock * kBlock);
    plan.count = std::max<size_t>(1, (factCount + plan.facts - 1) / plan.facts);
    return plan;
}

// Folds n cells of accumulators src into dst (measures inner).
void MergeInto(Acc* dst, const Acc* src, size_t n, const std::vector<Aggregation>& aggregations) {
    const size_t mc = aggregations.size();
    for (size_t m = 0; m < mc; ++m) {
        const Aggregation agg = aggregations[m];
        for (size_t c = 0; c < n; ++c) {
            Acc& d = dst[c * mc + m];
            const Acc& s = src[c * mc + m];
            d.count += s.count;
            if (agg == Aggregation::Sum)
                d.value += s.value;
            else if (agg == Aggregation::Min)
                d.value = std::min(d.value, s.value);
            else if (agg == Aggregation::Max)
                d.value = std::max(d.value, s.value);
        }
    }
}

}  // namespace

AggregateResult Aggregate(const CubeData& cube, const AxisTuples& columns, const AxisTuples& rows,
                          const std::vector<int>& measures) {
    CheckAxis(cube, columns, "column");
    CheckAxis(cube, rows, "row");
    for (int m : measures)
        if (m < 0 || size_t(m) >= cube.measures.size())
            throw EOlapError("Aggregate: measure " + std::to_string(m) + " does not exist");

    AggregateResult result;
    result.columns = columns.tupleCount;
    result.rows = rows.tupleCount;
    result.measures = measures;
    const size_t cells = columns.tupleCount * rows.tupleCount;
    if (cells && columns.tupleCount >= std::numeric_limits<uint32_t>::max() / rows.tupleCount)
        throw EOlapError("Aggregate: the result would have too many cells (" + std::to_string(columns.tupleCount) +
                         " x " + std::to_string(rows.tupleCount) + ")");
    result.values.assign(cells * measures.size(), std::numeric_limits<double>::quiet_NaN());
    if (cells == 0 || measures.empty() || cube.factCount == 0) return result;
    if (cube.factKeys.size() != cube.dimensions.size() || cube.factValues.size() != cube.measures.size())
        throw EOlapError("Aggregate: the cube's fact columns do not match its dimensions and measures");
    for (const auto& keys : cube.factKeys)
        if (keys.size() < cube.factCount) throw EOlapError("Aggregate: a fact key column is short");
    for (const auto& values : cube.factValues)
        if (values.size() < cube.factCount) throw EOlapError("Aggregate: a fact value column is short");

    AxisPlan colPlan = PlanAxis(cube, columns);
    AxisPlan rowPlan = PlanAxis(cube, rows);
    std::vector<FusedPlan> fused;
    const bool isFused = PlanFused(rowPlan, colPlan, columns.tupleCount, cells, fused);
    if (!isFused) {
        fused.clear();
        BuildCodes(colPlan);
        BuildCodes(rowPlan);
    }

    // Accumulators: the cells and one spare for facts outside every cell,
    // one set per part of the facts.
    const size_t mc = measures.size();
    const size_t slots = (cells + 1) * mc;
    const PartPlan parts = PlanParts(cube.factCount, slots);
    const size_t workers = std::min(EngineThreadCount(), parts.count);
    std::unique_ptr<Acc[]> acc(new Acc[parts.count * slots]);  // each part initialises its own
    WorkerPool::Shared().Run(workers, parts.count, [&](size_t, size_t part) {
        Acc* a = acc.get() + part * slots;
        for (size_t m = 0; m < mc; ++m) {
            const double init = InitialValue(cube.measures[size_t(measures[m])].aggregation);
            for (size_t c = 0; c <= cells; ++c) a[c * mc + m] = Acc{init, 0};
        }
        const size_t begin = part * parts.facts, end = std::min(cube.factCount, begin + parts.facts);
        if (isFused)
            AccumulateFused(cube, fused, measures, begin, end, a);
        else
            AccumulatePairs(cube, colPlan, rowPlan, measures, begin, end, a);
    });

    // Merge every part into the first, in part order, cell ranges in parallel.
    std::vector<Aggregation> aggregations;
    for (int m : measures) aggregations.push_back(cube.measures[size_t(m)].aggregation);
    const size_t cellsPerPiece = std::max<size_t>(1, kMergePiece / (mc * parts.count));
    const size_t pieces = parts.count > 1 ? (cells + cellsPerPiece - 1) / cellsPerPiece : 0;
    WorkerPool::Shared().Run(std::min(EngineThreadCount(), pieces), pieces, [&](size_t, size_t piece) {
        const size_t first = piece * cellsPerPiece, last = std::min(cells, first + cellsPerPiece);
        for (size_t p = 1; p < parts.count; ++p)
            MergeInto(acc.get() + first * mc, acc.get() + p * slots + first * mc, last - first, aggregations);
    });
    const Acc* total = acc.get();
    for (size_t c = 0; c < cells; ++c)
        for (size_t m = 0; m < mc; ++m) {
            const Acc& a = total[c * mc + m];
            if (a.count)
                result.values[c * mc + m] =
                    cube.measures[size_t(measures[m])].aggregation == Aggregation::Count ? double(a.count) : a.value;
        }
    return result;
}

}  // namespace cb::olap
