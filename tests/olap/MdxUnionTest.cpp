// The application's "totals beside details" shape: a union of two cross
// joins, each level's members against the other dimension's (All). Its cells
// are checked against SQLite GROUP BY (the sqlite3 program) at a size where
// planning the union as one cross of both levels would take seconds.
#include "olap/engine/CubeBuilder.h"
#include "olap/mdx/Mdx.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <sstream>

namespace {

using namespace cb::olap;

TEST(MdxUnionTest, TotalsBesideDetailsMatchGroupBy) {
    std::mt19937 rng(7);
    CubeBuilder b("U");
    const int x = b.AddDimension("X", {"XG", "XL"});
    const int y = b.AddDimension("Y", {"YG", "YL"});
    const int z = b.AddDimension("Z", {"Year"});
    b.AddMeasure("S", Aggregation::Sum);
    b.AddMeasure("N", Aggregation::Count);
    std::ostringstream sql;
    sql << "CREATE TABLE f(xl TEXT, yl TEXT, s REAL, n REAL);\nBEGIN;\n";
    // 3000 and 2400 leaves, each with facts.
    const int xLeaves = 3000, yLeaves = 2400, facts = 24000;
    for (int i = 0; i < facts; ++i) {
        const int xi = i < xLeaves ? i : int(rng() % xLeaves), yi = i < yLeaves ? i : int(rng() % yLeaves);
        const std::string xl = "x" + std::to_string(xi), yl = "y" + std::to_string(yi);
        uint32_t leaves[] = {b.Leaf(x, {"g" + std::to_string(xi % 50), xl}),
                             b.Leaf(y, {"h" + std::to_string(yi % 40), yl}), b.Leaf(z, {std::to_string(2020 + i % 3)})};
        const double s = double(rng() % 4000) / 4, n = rng() % 7 == 0 ? std::nan("") : 1;
        const double values[] = {s, n};
        b.AddFact(leaves, values);
        sql << "INSERT INTO f VALUES('" << xl << "','" << yl << "'," << s << "," << (std::isnan(n) ? "NULL" : "1")
            << ");\n";
    }
    sql << "COMMIT;\n";
    auto cube = b.Finish();
    cbtest::TempDir dir;
    const std::string db = dir.file("f.db");
    cbtest::writeFile(dir.file("f.sql"), sql.str());
    ASSERT_EQ(cbtest::runCommand("sqlite3 '" + db + "' < '" + dir.file("f.sql") + "'"), 0);
    std::string out;
    ASSERT_EQ(cbtest::runCommand("sqlite3 -separator '|' -nullvalue NULL '" + db +
                                     "' \"SELECT xl, 'All', SUM(s), COUNT(n) FROM f GROUP BY xl UNION ALL "
                                     "SELECT 'All', yl, SUM(s), COUNT(n) FROM f GROUP BY yl\"",
                                 &out),
              0);
    std::map<std::string, std::pair<double, double>> expected;  // "xl|yl" -> sum, count
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string a, c, s, n;
        std::getline(fields, a, '|');
        std::getline(fields, c, '|');
        std::getline(fields, s, '|');
        std::getline(fields, n, '|');
        expected[a + "|" + c] = {std::stod(s), std::stod(n)};
    }
    ASSERT_EQ(expected.size(), size_t(xLeaves + yLeaves));

    mdx::QueryResult r;
    ASSERT_TRUE(mdx::Execute("SELECT {[Measures].[S], [Measures].[N]} ON COLUMNS, "
                             "Hierarchize(Union({[X].[XL].Members} * {[Y].[All]}, {[X].[All]} * {[Y].[YL].Members})) "
                             "ON ROWS FROM [U]",
                             *cube, r));
    ASSERT_EQ(r.rows(), size_t(xLeaves + yLeaves));
    ASSERT_EQ(r.columns(), 2u);
    const mdx::ResultAxis& rows = r.axes[1];
    for (size_t row = 0; row < r.rows(); ++row) {
        const std::string key = cube->dimensions[0].members[rows.member(row, 0)].name + "|" +
                                cube->dimensions[1].members[rows.member(row, 1)].name;
        auto it = expected.find(key);
        ASSERT_NE(it, expected.end()) << key;
        EXPECT_NEAR(r.values[row * 2], it->second.first, 1e-9 * std::max(1.0, it->second.first)) << key;
        EXPECT_EQ(r.values[row * 2 + 1], it->second.second) << key;
    }
    // Hierarchy order: (All) of X with each Y leaf first, then each X leaf.
    EXPECT_EQ(rows.member(0, 0), 0u);
    EXPECT_NE(rows.member(r.rows() - 1, 0), 0u);
    for (size_t row = 1; row < r.rows(); ++row)
        ASSERT_LT(std::make_pair(rows.member(row - 1, 0), rows.member(row - 1, 1)),
                  std::make_pair(rows.member(row, 0), rows.member(row, 1)))
            << row;
}

}  // namespace
