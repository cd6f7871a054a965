// Aggregate checked against SQLite GROUP BY (the sqlite3 program) over the
// same facts, and against hand-computed values of the tiny cube.
#include "olap/engine/Aggregator.h"
#include "olap/engine/CubeBuilder.h"
#include "olap/engine/OlapError.h"
#include "olap/engine/WorkerPool.h"
#include "tests/common/TestCubes.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <sstream>

using namespace cb::olap;

namespace {

constexpr double N = std::numeric_limits<double>::quiet_NaN();

// A cube with uneven hierarchies, all four aggregations and about 10% nulls.
std::unique_ptr<CubeData> MakeRandomCube(size_t facts) {
    CubeBuilder b("Random");
    const int a = b.AddDimension("A", {"A1", "A2"});
    const int c = b.AddDimension("C", {"C1"});
    const int d = b.AddDimension("D", {"D1", "D2", "D3"});
    b.AddMeasure("S", Aggregation::Sum);
    b.AddMeasure("N", Aggregation::Count);
    b.AddMeasure("Lo", Aggregation::Min);
    b.AddMeasure("Hi", Aggregation::Max);
    uint64_t s = 12345;
    auto rnd = [&](size_t n) {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return size_t((s >> 33) % n);
    };
    std::vector<uint32_t> aLeaves, cLeaves, dLeaves;
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j <= i % 4; ++j)
            aLeaves.push_back(b.Leaf(a, {"a" + std::to_string(i), "x" + std::to_string(j)}));
    for (int i = 0; i < 5; ++i) cLeaves.push_back(b.Leaf(c, {"c" + std::to_string(i)}));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 1 + (i + j) % 3; ++k)
                dLeaves.push_back(
                    b.Leaf(d, {"d" + std::to_string(i), "e" + std::to_string(j), "f" + std::to_string(k)}));
    b.Leaf(c, {"c-empty"});  // a member without facts
    for (size_t f = 0; f < facts; ++f) {
        uint32_t leaves[3] = {aLeaves[rnd(aLeaves.size())], cLeaves[rnd(cLeaves.size())], dLeaves[rnd(dLeaves.size())]};
        double v[4];
        for (double& x : v) x = rnd(10) == 0 ? N : double(rnd(2001)) / 4 - 250;
        b.AddFact(leaves, v);
    }
    return b.Finish();
}

// The facts as an SQLite table: k<d> the leaf id, l<d>_<depth> the ancestor
// id at each depth (depth 0 is the (All) member, id 0), m<i> the values.
class SqlFacts {
public:
    explicit SqlFacts(const CubeData& cube) : FCube(cube), FDb(FDir.file("facts.db")) {
        std::ostringstream sql;
        sql.precision(17);
        sql << "CREATE TABLE facts(";
        for (size_t d = 0; d < cube.dimensions.size(); ++d)
            for (size_t l = 0; l < cube.dimensions[d].levels.size(); ++l) sql << "l" << d << "_" << l << " INTEGER, ";
        for (size_t m = 0; m < cube.measures.size(); ++m)
            sql << "m" << m << " REAL" << (m + 1 < cube.measures.size() ? ", " : ");\nBEGIN;\n");
        for (size_t f = 0; f < cube.factCount; ++f) {
            sql << "INSERT INTO facts VALUES(";
            for (size_t d = 0; d < cube.dimensions.size(); ++d) {
                const auto& dim = cube.dimensions[d];
                std::vector<MemberId> path(dim.levels.size());
                for (MemberId id = cube.factKeys[d][f]; id != kNoMember; id = dim.members[id].parent)
                    path[dim.members[id].depth] = id;
                for (MemberId id : path) sql << id << ",";
            }
            for (size_t m = 0; m < cube.measures.size(); ++m) {
                double v = cube.factValues[m][f];
                if (std::isnan(v))
                    sql << "NULL";
                else
                    sql << v;
                sql << (m + 1 < cube.measures.size() ? "," : ");\n");
            }
        }
        sql << "COMMIT;\n";
        cbtest::writeFile(FDir.file("facts.sql"), sql.str());
        EXPECT_EQ(cbtest::runCommand("sqlite3 " + FDb + " < " + FDir.file("facts.sql")), 0);
    }

    // Expected cell values by GROUP BY: one query per combination of levels.
    std::vector<double> Expected(const AxisTuples& cols, const AxisTuples& rows, const std::vector<int>& measures) {
        std::vector<double> out;
        for (size_t r = 0; r < rows.tupleCount; ++r)
            for (size_t c = 0; c < cols.tupleCount; ++c) {
                std::vector<std::pair<int, MemberId>> pos;
                for (size_t k = 0; k < cols.dims.size(); ++k)
                    pos.emplace_back(cols.dims[k], cols.members[c * cols.dims.size() + k]);
                for (size_t k = 0; k < rows.dims.size(); ++k)
                    pos.emplace_back(rows.dims[k], rows.members[r * rows.dims.size() + k]);
                std::string groupCols, key;
                for (auto [d, m] : pos) {
                    const unsigned depth = FCube.dimensions[size_t(d)].members[m].depth;
                    groupCols +=
                        (groupCols.empty() ? "" : ",") + ("l" + std::to_string(d) + "_" + std::to_string(depth));
                    key += std::to_string(m) + "|";
                }
                std::string aggs;
                for (int m : measures) {
                    static const char* fn[] = {"SUM", "COUNT", "MIN", "MAX"};
                    aggs += std::string(",") + fn[int(FCube.measures[size_t(m)].aggregation)] + "(m" +
                            std::to_string(m) + ")";
                }
                std::string sql = groupCols.empty()
                                      ? "SELECT ''" + aggs + " FROM facts"
                                      : "SELECT " + groupCols + aggs + " FROM facts GROUP BY " + groupCols;
                auto& groups = FCache[sql];
                if (groups.empty()) groups = Run(sql, pos.size(), measures.size());
                auto it = groups.find(key);
                for (size_t m = 0; m < measures.size(); ++m) {
                    double v = it == groups.end() ? N : it->second[m];
                    // COUNT gives 0 where no value contributed: an empty cell.
                    if (FCube.measures[size_t(measures[m])].aggregation == Aggregation::Count && v == 0) v = N;
                    out.push_back(v);
                }
            }
        return out;
    }

private:
    std::map<std::string, std::vector<double>> Run(const std::string& sql, size_t keyCount, size_t valueCount) {
        std::string text;
        EXPECT_EQ(cbtest::runCommand("sqlite3 -separator '|' " + FDb + " \"" + sql + "\"", &text), 0) << sql;
        std::map<std::string, std::vector<double>> groups;
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            std::vector<std::string> fields;
            std::string f;
            std::istringstream ls(line);
            while (std::getline(ls, f, '|')) fields.push_back(f);
            while (fields.size() < std::max<size_t>(keyCount, 1) + valueCount) fields.emplace_back();
            std::string key;
            for (size_t i = 0; i < keyCount; ++i) key += fields[i] + "|";
            std::vector<double>& vals = groups[key];
            for (size_t i = 0; i < valueCount; ++i) {
                const std::string& v = fields[std::max<size_t>(keyCount, 1) + i];
                vals.push_back(v.empty() ? N : std::stod(v));
            }
        }
        return groups;
    }

    const CubeData& FCube;
    cbtest::TempDir FDir;
    std::string FDb;
    std::map<std::string, std::map<std::string, std::vector<double>>> FCache;
};

void ExpectCells(const std::vector<double>& expected, const AggregateResult& got, const std::string& what) {
    ASSERT_EQ(expected.size(), got.values.size()) << what;
    for (size_t i = 0; i < expected.size(); ++i) {
        const double e = expected[i], g = got.values[i];
        if (std::isnan(e))
            EXPECT_TRUE(std::isnan(g)) << what << " cell " << i << ": got " << g;
        else
            EXPECT_NEAR(g, e, 1e-9 * std::max(1.0, std::fabs(e))) << what << " cell " << i;
    }
}

AxisTuples Axis(std::vector<int> dims, std::vector<MemberId> members) {
    AxisTuples a;
    a.tupleCount = dims.empty() ? 1 : members.size() / dims.size();
    a.dims = std::move(dims);
    a.members = std::move(members);
    return a;
}

std::vector<MemberId> LevelMembers(const CubeData& cube, int dim, int depth) {
    return cube.dimensions[size_t(dim)].levels[size_t(depth)].members;
}

AxisTuples CrossJoin(const CubeData& cube, int d1, int l1, int d2, int l2) {
    AxisTuples a;
    a.dims = {d1, d2};
    for (MemberId x : LevelMembers(cube, d1, l1))
        for (MemberId y : LevelMembers(cube, d2, l2)) {
            a.members.push_back(x);
            a.members.push_back(y);
        }
    a.tupleCount = a.members.size() / 2;
    return a;
}

}  // namespace

TEST(AggregateTest, MatchesSqliteGroupBy) {
    // 140000 facts take the threaded path, 3000 the single-thread one.
    for (size_t facts : {size_t(3000), size_t(140000)}) {
        auto cube = MakeRandomCube(facts);
        SqlFacts sql(*cube);
        const std::vector<int> all = {0, 1, 2, 3};
        const auto& a = *cube;
        // A: 0 (All), a-level depth 1, leaf depth 2; D: 3 levels.
        const MemberId a0 = a.dimensions[0].levels[1].members[0];
        const MemberId a3 = a.dimensions[0].levels[1].members[3];
        const MemberId a3leaf = a.dimensions[0].members[a3].children.back();
        const MemberId cEmpty = a.dimensions[1].levels[1].members.back();
        const MemberId d1 = a.dimensions[2].levels[1].members[1];
        struct Case {
            const char* name;
            AxisTuples cols, rows;
        };
        std::vector<Case> cases = {
            {"one level on rows", Axis({}, {}), Axis({0}, LevelMembers(a, 0, 1))},
            {"leaf level on columns, empty member", Axis({1}, LevelMembers(a, 1, 1)), Axis({}, {})},
            {"cross join on rows", Axis({}, {}), CrossJoin(a, 0, 1, 2, 2)},
            {"level by level", Axis({2}, LevelMembers(a, 2, 3)), Axis({0}, LevelMembers(a, 0, 2))},
            {"(All)", Axis({0}, {0}), Axis({2}, {0})},
            {"(All) and children", Axis({}, {}), Axis({0}, {0, a0, a3, a3leaf, 0})},
            {"repeated member and tuples", Axis({2, 1}, {d1, cEmpty, d1, 0, d1, 0}), Axis({0}, {a3, a3, a0})},
            {"mixed levels in a cross join", Axis({}, {}),
             Axis({0, 2}, {0, 0, a3, d1, a3leaf, 0, a0, LevelMembers(a, 2, 3)[4], a0, d1})},
            {"no tuples", Axis({0}, {}), Axis({}, {})},
        };
        // Totals beside details: leaves of A by (All) of D, then (All) of A by leaves of D.
        AxisTuples beside = Axis({0, 2}, {});
        for (MemberId m : LevelMembers(a, 0, 2)) beside.members.insert(beside.members.end(), {m, 0});
        for (MemberId m : LevelMembers(a, 2, 3)) beside.members.insert(beside.members.end(), {0, m});
        beside.tupleCount = beside.members.size() / 2;
        cases.push_back({"totals beside details", Axis({1}, LevelMembers(a, 1, 1)), beside});
        // Members of every depth crossed: more depth groups than are planned apart.
        const MemberId d1leaf = a.dimensions[2].members[a.dimensions[2].members[d1].children[0]].children[0];
        const MemberId d1mid = a.dimensions[2].members[d1].children[0];
        AxisTuples depths = Axis({0, 2}, {});
        for (MemberId x : {MemberId(0), a0, a3leaf})
            for (MemberId y : {MemberId(0), d1, d1mid, d1leaf}) depths.members.insert(depths.members.end(), {x, y});
        depths.tupleCount = depths.members.size() / 2;
        cases.push_back({"every depth crossed", Axis({1}, {0, cEmpty}), depths});
        // The same cells whatever the number of threads.
        for (size_t threads : {1, 3, 8}) {
            SetEngineThreadCount(threads);
            for (const Case& c : cases)
                ExpectCells(sql.Expected(c.cols, c.rows, all), Aggregate(a, c.cols, c.rows, all),
                            std::string(c.name) + " / " + std::to_string(facts) + " facts / " +
                                std::to_string(threads) + " threads");
        }
        SetEngineThreadCount(0);
        // Measures in another order, one repeated.
        const std::vector<int> some = {3, 0, 3};
        ExpectCells(sql.Expected(cases[2].cols, cases[2].rows, some), Aggregate(a, cases[2].cols, cases[2].rows, some),
                    "measure order");
    }
}

TEST(AggregateTest, TinyCubeKnownValues) {
    auto cube = MakeTinyCube();
    const auto& geo = cube->dimensions[0];
    // Countries on rows (USA, France, Japan), categories on columns.
    auto rows = Axis({0}, geo.levels[1].members);
    auto cols = Axis({1}, cube->dimensions[1].levels[1].members);
    auto r = Aggregate(*cube, cols, rows, {0, 1, 2, 3, 4});
    ASSERT_EQ(r.columns, 3u);
    ASSERT_EQ(r.rows, 3u);
    struct Expect {
        size_t col, row;
        double v[5];
    };
    const Expect table[] = {
        {0, 0, {750, 3, 3, 100, 400}},  // USA, Bikes: Quantity null on one fact
        {1, 0, {30, 8, 1, 10, 10}},     // USA, Helmets: one fact all-null except Quantity
        {0, 1, {300, 2, 1, 150, 150}}, {1, 1, {65, 4, 2, 15, 20}}, {2, 0, {N, N, N, N, N}},  // Gloves: no facts
        {0, 2, {N, N, N, N, N}},                                                             // Japan: no facts
    };
    for (const Expect& e : table)
        for (size_t m = 0; m < 5; ++m) {
            if (std::isnan(e.v[m]))
                EXPECT_TRUE(std::isnan(r.value(e.col, e.row, m))) << e.col << "," << e.row << "," << m;
            else
                EXPECT_EQ(r.value(e.col, e.row, m), e.v[m]) << e.col << "," << e.row << "," << m;
        }
}

TEST(AggregateTest, RejectsBadRequests) {
    auto cube = MakeTinyCube();
    struct Case {
        AxisTuples cols;
        std::vector<int> measures;
    };
    const Case cases[] = {
        {Axis({5}, {0}), {0}},                 // no such dimension
        {Axis({0}, {999}), {0}},               // no such member
        {Axis({}, {}), {7}},                   // no such measure
        {AxisTuples{{0}, {1, 2, 3}, 2}, {0}},  // member count does not match
    };
    for (const Case& c : cases) EXPECT_THROW(Aggregate(*cube, c.cols, Axis({}, {}), c.measures), EOlapError);
}

TEST(AggregateTest, HugeCombinationSpacesAgree) {
    // Twelve positions of one dimension make too many class combinations for
    // the tables; the result must equal that of the single position.
    auto cube = MakeRandomCube(5000);
    const auto& leaves = cube->dimensions[2].levels[3].members;
    ASSERT_GT(leaves.size(), 15u);
    std::vector<MemberId> one = {0}, twelve(12, 0);
    for (MemberId m : leaves) {
        one.push_back(m);
        twelve.insert(twelve.end(), 12, m);
    }
    const std::vector<int> all = {0, 1, 2, 3};
    auto expected = Aggregate(*cube, Axis({}, {}), Axis({2}, one), all);
    auto got = Aggregate(*cube, Axis({}, {}), Axis(std::vector<int>(12, 2), twelve), all);
    ExpectCells(expected.values, got, "twelve positions");
}

TEST(AggregateTest, SumsAreBitIdenticalOnEveryThreadCountAndRun) {
    // Values of three decimals round differently in every order they are
    // added in: a sum that depends on which thread took which facts shows.
    CubeBuilder b("Decimals");
    const int g = b.AddDimension("G", {"Group", "Leaf"});
    const int h = b.AddDimension("H", {"Item"});
    b.AddMeasure("S", Aggregation::Sum);
    b.AddMeasure("T", Aggregation::Sum);
    uint64_t s = 2024;
    auto rnd = [&](uint64_t n) {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return (s >> 33) % n;
    };
    std::vector<uint32_t> gLeaves, hLeaves;
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 9; ++j) gLeaves.push_back(b.Leaf(g, {"g" + std::to_string(i), "l" + std::to_string(j)}));
    for (int i = 0; i < 40; ++i) hLeaves.push_back(b.Leaf(h, {"h" + std::to_string(i)}));
    for (size_t f = 0; f < 300'000; ++f) {
        uint32_t leaves[2] = {gLeaves[rnd(gLeaves.size())], hLeaves[rnd(hLeaves.size())]};
        const double v[2] = {double(rnd(2'000'000)) / 1000 - 1000, double(rnd(100'000'000)) / 1000};
        b.AddFact(leaves, v);
    }
    auto cube = b.Finish();
    const auto& c = *cube;
    const MemberId g0 = c.dimensions[0].levels[1].members[0];
    struct Case {
        const char* name;
        AxisTuples cols, rows;
    };
    const Case cases[] = {
        {"grand total", Axis({}, {}), Axis({}, {})},
        {"groups by items", Axis({1}, LevelMembers(c, 1, 1)), Axis({0}, LevelMembers(c, 0, 1))},
        // Overlapping tuples take the path that folds (fact, cell) pairs.
        {"totals beside details", Axis({}, {}), Axis({0}, {0, g0, c.dimensions[0].members[g0].children[0], g0})},
    };
    for (const Case& q : cases) {
        SetEngineThreadCount(1);
        const std::vector<double> expected = Aggregate(c, q.cols, q.rows, {0, 1}).values;
        for (size_t threads : {1, 3, 8}) {
            SetEngineThreadCount(threads);
            for (int run = 0; run < 20; ++run) {
                const std::vector<double> got = Aggregate(c, q.cols, q.rows, {0, 1}).values;
                ASSERT_EQ(got.size(), expected.size());
                ASSERT_EQ(std::memcmp(got.data(), expected.data(), got.size() * sizeof(double)), 0)
                    << q.name << ", " << threads << " threads, run " << run;
            }
        }
    }
    SetEngineThreadCount(0);
}
