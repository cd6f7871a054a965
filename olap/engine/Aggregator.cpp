// Aggregation in one pass over the facts.
//
// Per axis and tuple position k, the distinct members used there cut the
// dimension's pre-order id range into segments; the segments covered by some
// member are numbered ("classes"). A member covers a contiguous run of
// classes, so a tuple covers a box of class combinations. Each fact's class
// combination per axis (a mixed-radix number, found by table look-ups on its
// keys) leads to the tuples it belongs to; the common case of at most one
// tuple per combination is a single table entry. Facts are processed in
// blocks: first the cells of the block's facts, then each measure's values
// are folded into per-cell accumulators. Large fact counts are split over
// threads, each with its own accumulators, merged at the end.
#include "olap/engine/Aggregator.h"

#include "olap/engine/OlapError.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>
#include <unordered_map>

namespace cb::olap {

namespace {

constexpr int64_t kInvalidCode = -(int64_t(1) << 56);
constexpr uint64_t kMaxCombos = uint64_t(1) << 46;
constexpr uint64_t kDenseCombos = uint64_t(1) << 22;
constexpr size_t kMaxPairs = size_t(1) << 26;
constexpr size_t kBlock = 2048;

struct AxisPlan {
    size_t tupleCount = 0;
    std::vector<int> dims;                    // per position
    std::vector<std::vector<int64_t>> codes;  // per position: member id -> class * stride, or kInvalidCode
    bool dense = true;
    bool single = true;                // every combination leads to at most one tuple
    std::vector<int32_t> singleTuple;  // dense && single: combination -> tuple or -1
    std::vector<uint32_t> start;       // CSR over list index -> tuples
    std::vector<uint32_t> tuples;
    std::vector<int64_t> denseList;                    // dense && !single: combination -> list index or -1
    std::unordered_map<int64_t, uint32_t> sparseList;  // !dense: combination -> list index
    // Slow path when the combinations would explode: test each tuple.
    bool bruteForce = false;
    const AxisTuples* axis = nullptr;
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

AxisPlan PlanAxis(const CubeData& cube, const AxisTuples& axis) {
    AxisPlan plan;
    plan.tupleCount = axis.tupleCount;
    plan.dims = axis.dims;
    plan.axis = &axis;
    const size_t k = axis.dims.size();
    if (axis.tupleCount == 0) return plan;

    // Classes per position and each tuple member's class range.
    std::vector<size_t> classCount(k);
    std::vector<std::vector<std::pair<uint32_t, uint32_t>>> ranges(k);  // [tuple] -> [lo, hi)
    for (size_t j = 0; j < k; ++j) {
        const DimensionData& dim = cube.dimensions[size_t(axis.dims[j])];
        const size_t n = dim.members.size();
        std::vector<MemberId> bounds;
        bounds.reserve(axis.tupleCount * 2 + 2);
        for (size_t t = 0; t < axis.tupleCount; ++t) {
            const MemberData& m = dim.members[axis.members[t * k + j]];
            bounds.push_back(axis.members[t * k + j]);
            bounds.push_back(m.subtreeEnd);
        }
        std::sort(bounds.begin(), bounds.end());
        bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
        // covered[s]: segment [bounds[s], bounds[s+1]) lies inside some member.
        std::vector<int> depthChange(bounds.size() + 1, 0);
        auto seg = [&](MemberId id) {
            return size_t(std::lower_bound(bounds.begin(), bounds.end(), id) - bounds.begin());
        };
        for (size_t t = 0; t < axis.tupleCount; ++t) {
            MemberId id = axis.members[t * k + j];
            depthChange[seg(id)] += 1;
            depthChange[seg(dim.members[id].subtreeEnd)] -= 1;
        }
        std::vector<int64_t> segClass(bounds.size(), -1);
        int cover = 0;
        size_t classes = 0;
        for (size_t s = 0; s + 1 < bounds.size(); ++s) {
            cover += depthChange[s];
            if (cover > 0) segClass[s] = int64_t(classes++);
        }
        classCount[j] = classes;
        ranges[j].resize(axis.tupleCount);
        for (size_t t = 0; t < axis.tupleCount; ++t) {
            MemberId id = axis.members[t * k + j];
            size_t a = seg(id), b = seg(dim.members[id].subtreeEnd);
            // Covered segments of a member are consecutive classes.
            ranges[j][t] = {uint32_t(segClass[a]), uint32_t(segClass[a] + int64_t(b - a))};
        }
        // Per member id, its class (strides applied below).
        std::vector<int64_t>& code = plan.codes.emplace_back(n, kInvalidCode);
        for (size_t s = 0; s + 1 < bounds.size(); ++s)
            if (segClass[s] >= 0)
                std::fill(code.begin() + bounds[s], code.begin() + std::min<size_t>(bounds[s + 1], n), segClass[s]);
    }

    uint64_t combos = 1;
    std::vector<uint64_t> stride(k);
    for (size_t j = k; j-- > 0;) {
        stride[j] = combos;
        if (classCount[j] == 0) {
            combos = 0;
            break;
        }
        if (combos > kMaxCombos / classCount[j]) {
            plan.bruteForce = true;
            return plan;
        }
        combos *= classCount[j];
    }
    if (combos == 0) {  // some position covers nothing: no fact matches
        plan.dense = true;
        plan.singleTuple.clear();
        for (auto& c : plan.codes) std::fill(c.begin(), c.end(), kInvalidCode);
        plan.singleTuple.assign(1, -1);
        return plan;
    }
    for (size_t j = 0; j < k; ++j)
        for (int64_t& c : plan.codes[j])
            if (c != kInvalidCode) c *= int64_t(stride[j]);

    // (combination, tuple) pairs from each tuple's box.
    std::vector<std::pair<int64_t, uint32_t>> pairs;
    pairs.reserve(axis.tupleCount);
    std::vector<uint32_t> cur(k);
    for (size_t t = 0; t < axis.tupleCount; ++t) {
        uint64_t box = 1;
        for (size_t j = 0; j < k; ++j) box *= ranges[j][t].second - ranges[j][t].first;
        if (pairs.size() + box > kMaxPairs) {
            plan.bruteForce = true;
            return plan;
        }
        for (size_t j = 0; j < k; ++j) cur[j] = ranges[j][t].first;
        for (;;) {
            int64_t c = 0;
            for (size_t j = 0; j < k; ++j) c += int64_t(cur[j] * stride[j]);
            pairs.emplace_back(c, uint32_t(t));
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
        return plan;
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
    return plan;
}

// For a block of facts, the combination of each fact on this axis (negative:
// the fact matches no tuple).
void Combos(const CubeData& cube, const AxisPlan& plan, size_t first, size_t count, int64_t* out) {
    std::fill(out, out + count, 0);
    for (size_t j = 0; j < plan.dims.size(); ++j) {
        const MemberId* keys = cube.factKeys[size_t(plan.dims[j])].data() + first;
        const int64_t* code = plan.codes[j].data();
        for (size_t i = 0; i < count; ++i) out[i] += code[keys[i]];
    }
}

// Calls fn(tuple) for each tuple of the axis that fact f belongs to, given its
// combination c.
template <class Fn>
void ForTuples(const CubeData& cube, const AxisPlan& plan, size_t f, int64_t c, Fn&& fn) {
    if (plan.bruteForce) {
        const AxisTuples& axis = *plan.axis;
        const size_t k = axis.dims.size();
        for (size_t t = 0; t < axis.tupleCount; ++t) {
            bool ok = true;
            for (size_t j = 0; j < k && ok; ++j) {
                const DimensionData& dim = cube.dimensions[size_t(axis.dims[j])];
                MemberId key = cube.factKeys[size_t(axis.dims[j])][f];
                MemberId m = axis.members[t * k + j];
                ok = key >= m && key < dim.members[m].subtreeEnd;
            }
            if (ok) fn(uint32_t(t));
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

struct Accumulators {
    std::vector<std::vector<double>> value;  // per measure, per cell
    std::vector<std::vector<uint64_t>> count;
};

void InitAccumulators(Accumulators& acc, const CubeData& cube, const std::vector<int>& measures, size_t cells) {
    acc.value.resize(measures.size());
    acc.count.resize(measures.size());
    for (size_t m = 0; m < measures.size(); ++m) {
        double init = 0;
        switch (cube.measures[size_t(measures[m])].aggregation) {
        case Aggregation::Min:
            init = std::numeric_limits<double>::infinity();
            break;
        case Aggregation::Max:
            init = -std::numeric_limits<double>::infinity();
            break;
        default:
            break;
        }
        acc.value[m].assign(cells, init);
        acc.count[m].assign(cells, 0);
    }
}

template <Aggregation A>
void Fold(const double* vals, const uint32_t* fact, const uint32_t* cell, size_t n, double* value, uint64_t* count) {
    for (size_t i = 0; i < n; ++i) {
        const double v = vals[fact[i]];
        if (std::isnan(v)) continue;
        const uint32_t c = cell[i];
        ++count[c];
        if constexpr (A == Aggregation::Sum)
            value[c] += v;
        else if constexpr (A == Aggregation::Min)
            value[c] = std::min(value[c], v);
        else if constexpr (A == Aggregation::Max)
            value[c] = std::max(value[c], v);
    }
}

void Accumulate(const CubeData& cube, const AxisPlan& cols, const AxisPlan& rows, const std::vector<int>& measures,
                size_t begin, size_t end, Accumulators& acc) {
    std::vector<int64_t> colCombo(kBlock), rowCombo(kBlock);
    std::vector<uint32_t> pairFact, pairCell;
    pairFact.reserve(kBlock);
    pairCell.reserve(kBlock);
    const size_t columnCount = cols.tupleCount;
    const bool fast = !cols.bruteForce && !rows.bruteForce && cols.dense && cols.single && rows.dense && rows.single;
    for (size_t first = begin; first < end; first += kBlock) {
        const size_t n = std::min(kBlock, end - first);
        if (!cols.bruteForce) Combos(cube, cols, first, n, colCombo.data());
        if (!rows.bruteForce) Combos(cube, rows, first, n, rowCombo.data());
        pairFact.clear();
        pairCell.clear();
        if (fast) {
            const int32_t* ct = cols.singleTuple.data();
            const int32_t* rt = rows.singleTuple.data();
            for (size_t i = 0; i < n; ++i) {
                const int64_t cc = colCombo[i], rc = rowCombo[i];
                if (cc < 0 || rc < 0) continue;
                const int32_t c = ct[cc], r = rt[rc];
                if (c < 0 || r < 0) continue;
                pairFact.push_back(uint32_t(i));
                pairCell.push_back(uint32_t(size_t(r) * columnCount + size_t(c)));
            }
        } else {
            for (size_t i = 0; i < n; ++i) {
                ForTuples(cube, rows, first + i, rowCombo[i], [&](uint32_t r) {
                    ForTuples(cube, cols, first + i, colCombo[i], [&](uint32_t c) {
                        pairFact.push_back(uint32_t(i));
                        pairCell.push_back(uint32_t(size_t(r) * columnCount + c));
                    });
                });
            }
        }
        if (pairFact.empty()) continue;
        for (size_t m = 0; m < measures.size(); ++m) {
            const double* vals = cube.factValues[size_t(measures[m])].data() + first;
            double* value = acc.value[m].data();
            uint64_t* count = acc.count[m].data();
            switch (cube.measures[size_t(measures[m])].aggregation) {
            case Aggregation::Sum:
                Fold<Aggregation::Sum>(vals, pairFact.data(), pairCell.data(), pairFact.size(), value, count);
                break;
            case Aggregation::Count:
                Fold<Aggregation::Count>(vals, pairFact.data(), pairCell.data(), pairFact.size(), value, count);
                break;
            case Aggregation::Min:
                Fold<Aggregation::Min>(vals, pairFact.data(), pairCell.data(), pairFact.size(), value, count);
                break;
            case Aggregation::Max:
                Fold<Aggregation::Max>(vals, pairFact.data(), pairCell.data(), pairFact.size(), value, count);
                break;
            }
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
    if (cells && columns.tupleCount > std::numeric_limits<uint32_t>::max() / rows.tupleCount)
        throw EOlapError("Aggregate: the result would have too many cells (" + std::to_string(columns.tupleCount) +
                         " x " + std::to_string(rows.tupleCount) + ")");
    result.values.assign(cells * measures.size(), std::numeric_limits<double>::quiet_NaN());
    if (cells == 0 || measures.empty() || cube.factCount == 0) return result;
    if (cube.factKeys.size() != cube.dimensions.size() || cube.factValues.size() != cube.measures.size())
        throw EOlapError("Aggregate: the cube's fact columns do not match its dimensions and measures");

    const AxisPlan colPlan = PlanAxis(cube, columns);
    const AxisPlan rowPlan = PlanAxis(cube, rows);

    // Threads: enough facts per thread to be worth it, and accumulators kept small.
    const size_t accBytes = cells * measures.size() * 16;
    size_t threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min<size_t>(threads, 8);
    threads = std::min<size_t>(threads, std::max<size_t>(1, cube.factCount / (size_t(1) << 16)));
    while (threads > 1 && accBytes * threads > (size_t(256) << 20)) --threads;

    std::vector<Accumulators> acc(threads);
    for (auto& a : acc) InitAccumulators(a, cube, measures, cells);
    if (threads == 1) {
        Accumulate(cube, colPlan, rowPlan, measures, 0, cube.factCount, acc[0]);
    } else {
        std::vector<std::thread> pool;
        std::vector<std::exception_ptr> errors(threads);
        const size_t per = (cube.factCount + threads - 1) / threads;
        for (size_t t = 0; t < threads; ++t) {
            size_t b = std::min(cube.factCount, t * per), e = std::min(cube.factCount, b + per);
            pool.emplace_back([&, t, b, e] {
                try {
                    Accumulate(cube, colPlan, rowPlan, measures, b, e, acc[t]);
                } catch (...) {
                    errors[t] = std::current_exception();
                }
            });
        }
        for (auto& th : pool) th.join();
        for (auto& e : errors)
            if (e) std::rethrow_exception(e);
        for (size_t t = 1; t < threads; ++t)
            for (size_t m = 0; m < measures.size(); ++m) {
                const Aggregation a = cube.measures[size_t(measures[m])].aggregation;
                double* dst = acc[0].value[m].data();
                uint64_t* dcnt = acc[0].count[m].data();
                const double* src = acc[t].value[m].data();
                const uint64_t* scnt = acc[t].count[m].data();
                for (size_t c = 0; c < cells; ++c) {
                    dcnt[c] += scnt[c];
                    if (a == Aggregation::Sum)
                        dst[c] += src[c];
                    else if (a == Aggregation::Min)
                        dst[c] = std::min(dst[c], src[c]);
                    else if (a == Aggregation::Max)
                        dst[c] = std::max(dst[c], src[c]);
                }
            }
    }

    const size_t mc = measures.size();
    for (size_t m = 0; m < mc; ++m) {
        const Aggregation a = cube.measures[size_t(measures[m])].aggregation;
        const double* value = acc[0].value[m].data();
        const uint64_t* count = acc[0].count[m].data();
        for (size_t c = 0; c < cells; ++c)
            if (count[c]) result.values[c * mc + m] = a == Aggregation::Count ? double(count[c]) : value[c];
    }
    return result;
}

}  // namespace cb::olap
