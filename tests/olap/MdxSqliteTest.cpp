// Cells of MDX queries checked against SQLite GROUP BY (the sqlite3 program)
// over the same facts.
#include "olap/adomd/Adomd.h"
#include "olap/engine/CubeBuilder.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <sstream>

namespace {

using namespace cb::olap;

class MdxSqliteTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::mt19937 rng(20240301);
        CubeBuilder b("Shop");
        int region = b.AddDimension("Region", {"Country", "City"});
        int product = b.AddDimension("Product", {"Category", "Item"});
        int time = b.AddDimension("Time", {"Year"});
        b.AddMeasure("Sales", Aggregation::Sum, "0.00");
        b.AddMeasure("Qty", Aggregation::Sum, "0");
        b.AddMeasure("Cost", Aggregation::Sum, "0.00");
        b.AddCalculatedMember("Margin", "[Measures].[Sales] - [Measures].[Cost]");
        b.AddCalculatedMember("Per Unit", "[Measures].[Sales] / [Measures].[Qty]");
        std::ostringstream sql;
        sql << "CREATE TABLE f(country TEXT, city TEXT, category TEXT, item TEXT, year TEXT, sales REAL, qty REAL, "
               "cost REAL);\nBEGIN;\n";
        auto value = [&](int max) -> double {
            if (rng() % 10 == 0) return std::nan("");
            return static_cast<double>(rng() % static_cast<unsigned>(max * 4)) / 4;  // exact in binary
        };
        auto sqlValue = [](double v) { return std::isnan(v) ? std::string("NULL") : std::to_string(v); };
        for (int i = 0; i < 600; ++i) {
            int c = static_cast<int>(rng() % 9), p = static_cast<int>(rng() % 9), y = static_cast<int>(rng() % 3);
            std::string country = "K" + std::to_string(c / 3), city = "City" + std::to_string(c);
            std::string category = "Cat" + std::to_string(p / 3), item = "Item" + std::to_string(p);
            std::string year = std::to_string(2020 + y);
            uint32_t leaves[] = {b.Leaf(region, {country, city}), b.Leaf(product, {category, item}),
                                 b.Leaf(time, {year})};
            double values[] = {value(1000), value(20), value(500)};
            b.AddFact(leaves, values);
            sql << "INSERT INTO f VALUES('" << country << "','" << city << "','" << category << "','" << item << "','"
                << year << "'," << sqlValue(values[0]) << "," << sqlValue(values[1]) << "," << sqlValue(values[2])
                << ");\n";
        }
        sql << "COMMIT;\n";
        FConnection = std::make_shared<Connection>("", "", std::shared_ptr<const CubeData>(b.Finish()));
        FDb = FDir.file("facts.db");
        cbtest::writeFile(FDir.file("facts.sql"), sql.str());
        ASSERT_EQ(cbtest::runCommand("sqlite3 '" + FDb + "' < '" + FDir.file("facts.sql") + "'"), 0);
    }

    // key columns joined by '|' -> value (NaN for NULL)
    std::map<std::string, double> Sql(const std::string& select, int keys) {
        std::string out;
        EXPECT_EQ(cbtest::runCommand("sqlite3 -separator '|' -nullvalue NULL '" + FDb + "' \"" + select + "\"", &out),
                  0)
            << select;
        std::map<std::string, double> rows;
        std::istringstream in(out);
        std::string line;
        while (std::getline(in, line)) {
            size_t cut = 0;
            for (int k = 0; k < keys; ++k) cut = line.find('|', cut) + 1;
            std::string v = line.substr(cut);
            if (cut == 0 || v.empty()) {
                ADD_FAILURE() << "unexpected sqlite3 output: " << line;
                continue;
            }
            rows[line.substr(0, cut - 1)] = v == "NULL" ? std::nan("") : std::stod(v);
        }
        return rows;
    }

    // The last bracketed part of each member of a position, joined by '|'.
    static std::string Key(const Position& p, bool skipMeasures) {
        std::string key;
        for (const auto& m : p.Members()) {
            if (skipMeasures && m->UniqueName().rfind("[Measures]", 0) == 0) continue;
            key += (key.empty() ? "" : "|") + m->Name();
        }
        return key;
    }

    cbtest::TempDir FDir;
    std::string FDb;
    std::shared_ptr<Connection> FConnection;
};

struct Shape {
    const char* mdx;
    // SQL per column measure: %M is replaced by the measure's SQL expression.
    const char* sql;
    int keys;
    bool rowKeyFirst;  // SQL keys: row key then column key (else row key only)
};

TEST_F(MdxSqliteTest, CellsMatchGroupBy) {
    const std::map<std::string, std::string> measureSql = {
        {"Sales", "SUM(sales)"},
        {"Qty", "SUM(qty)"},
        {"Cost", "SUM(cost)"},
        {"Margin", "SUM(sales) - SUM(cost)"},
        {"Per Unit", "SUM(sales) / SUM(qty)"},
    };
    const Shape shapes[] = {
        // country x year, one measure on the columns
        {"SELECT {[Region].[Country].members} ON ROWS, {[Time].[Year].members} ON COLUMNS FROM [Shop]",
         "SELECT country, year, %M FROM f GROUP BY country, year", 2, true},
        // city x category crossed on the rows, measures on the columns
        {"SELECT {{[Region].[City].members}*{[Product].[Category].members}} ON ROWS, "
         "{[Measures].[Sales],[Measures].[Qty],[Measures].[Margin],[Measures].[Per Unit]} ON COLUMNS FROM [Shop]",
         "SELECT city, category, %M FROM f GROUP BY city, category", 2, false},
        // items on the rows, years crossed with measures on the columns
        {"SELECT {[Product].[Item].members} ON ROWS, {{[Time].[Year].members}*{[Measures].[Cost],[Measures].[Margin]}} "
         "ON COLUMNS FROM [Shop]",
         "SELECT item, year, %M FROM f GROUP BY item, year", 2, true},
        // the (All) member: grand totals per measure
        {"SELECT {[Region].[All]} ON ROWS, {AddCalculatedMembers([Measures].members)} ON COLUMNS FROM [Shop]",
         "SELECT 'All', %M FROM f", 1, false},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.mdx);
        Cellset cs;
        cs.Open(shape.mdx, FConnection);
        auto cols = cs.Axes().Item(0)->Positions();
        auto rows = cs.Axes().Item(1)->Positions();
        ASSERT_GT(rows.Count(), 0);
        std::map<std::string, std::map<std::string, double>> expected;  // measure -> key -> value
        int checked = 0;
        for (int c = 0; c < cols.Count(); ++c) {
            std::string measure = "Sales";
            for (const auto& m : cols.Item(c)->Members()) {
                if (m->UniqueName().rfind("[Measures]", 0) == 0) measure = m->Name();
            }
            if (!expected.count(measure)) {
                std::string sql = shape.sql;
                sql.replace(sql.find("%M"), 2, measureSql.at(measure));
                expected[measure] = Sql(sql, shape.keys);
            }
            for (int r = 0; r < rows.Count(); ++r) {
                std::string key = Key(*rows.Item(r), false);
                if (shape.rowKeyFirst) key += "|" + Key(*cols.Item(c), true);
                if (key == "All" || key.rfind("All|", 0) == 0) key = "All";
                auto it = expected[measure].find(key);
                Variant v = cs.Item(c, r)->Value();
                if (it == expected[measure].end() || std::isnan(it->second)) {
                    EXPECT_TRUE(v.IsEmpty()) << key << " " << measure << " " << v.ToString();
                } else {
                    ASSERT_FALSE(v.IsEmpty()) << key << " " << measure;
                    EXPECT_NEAR(v.ToDouble(), it->second, 1e-9 * std::max(1.0, std::fabs(it->second)))
                        << key << " " << measure;
                    ++checked;
                }
            }
        }
        EXPECT_GT(checked, 0);
    }
}

}  // namespace
