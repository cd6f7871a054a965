// Statements and calculated members built to exhaust the stack, memory or
// time end in a clear EOlapError instead.
#include "olap/engine/OlapError.h"
#include "tests/common/TestCubes.h"
#include "olap/mdx/Mdx.h"

#include <gtest/gtest.h>

namespace {

using namespace cb::olap;

std::string Repeat(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

// The error message of running text on the cube, or "" when it succeeds.
std::string ErrorOf(const std::string& text, const CubeData& cube) {
    try {
        mdx::QueryResult r;
        mdx::Execute(text, cube, r);
        return "";
    } catch (const EOlapError& e) {
        return e.Message();
    }
}

std::string Select(const std::string& columns, const std::string& rows = "[Product].[All]") {
    return "SELECT " + columns + " ON COLUMNS, " + rows + " ON ROWS FROM [Tiny]";
}

TEST(MdxLimitsTest, DeepNestingIsRefused) {
    const auto cube = MakeTinyCube();
    const std::string sales = "[Measures].[Sales]";
    const std::string tooDeep = "nested too deeply (more than 512 levels)";
    struct Case {
        std::string text;
        std::string error;  // part of the message; "" for success
    } cases[] = {
        {Select(Repeat("(", 400) + sales + Repeat(")", 400)), ""},
        {Select(Repeat("(", 100000) + sales + Repeat(")", 100000)), tooDeep},
        {Select(Repeat("{", 100000) + sales + Repeat("}", 100000)), tooDeep},
        {Select(Repeat("Hierarchize(", 100000) + sales + Repeat(")", 100000)), tooDeep},
        {Select(Repeat("-", 100000) + sales), tooDeep},
        {Select(Repeat("+", 100000) + sales), tooDeep},
        // Operator and method chains grow the tree without nesting brackets.
        {Select(sales + Repeat(" * " + sales, 100000)), tooDeep},
        {Select(sales + Repeat(".Item(0)", 100000)), tooDeep},
        {Select(sales + Repeat(".Item(0)", 300)), ""},
    };
    for (const Case& c : cases) {
        const std::string error = ErrorOf(c.text, *cube);
        if (c.error.empty())
            EXPECT_EQ(error, "") << c.text.substr(0, 60);
        else
            EXPECT_NE(error.find(c.error), std::string::npos) << c.text.substr(0, 60) << ": " << error;
    }
}

TEST(MdxLimitsTest, HugeSetsAndResultsAreRefused) {
    const auto cube = MakeTinyCube();
    auto list = [](const std::string& set, int n) { return "{" + set + Repeat(", " + set, n - 1) + "}"; };
    const std::string cities = list("[Geography].Members", 2000);   // 18,000 tuples
    const std::string products = list("[Product].Members", 2000);   // 8,000 tuples
    const std::string measures = list("[Measures].Members", 1000);  // 5,000 tuples
    struct Case {
        std::string text;
        std::string error;
    } cases[] = {
        {Select(cities + " * " + products + " * " + measures, "{}"),
         "The set would hold 144000000 tuples, more than the engine allows (16000000)"},
        {Select(cities, products),
         "The query would give 18000 columns by 8000 rows, more than the 4000000 cells the engine allows"},
        {Select(cities, "[Product].Members"), ""},  // 72,000 cells
    };
    for (const Case& c : cases) {
        const std::string error = ErrorOf(c.text, *cube);
        EXPECT_EQ(error.substr(0, c.error.empty() ? std::string::npos : error.find(" at line")), c.error);
    }
}

TEST(MdxLimitsTest, CalculatedMembersUsedTooDeeplyOrTooOften) {
    const auto base = MakeTinyCube();
    auto withCalcs = [&](int n, const std::string& first, const std::string& next) {
        CubeData cube = *base;
        for (int i = 0; i < n; ++i) {
            const std::string name = "C" + std::to_string(i);
            std::string prev = "[Measures].[C" + std::to_string(i - 1) + "]";
            std::string expr = i == 0 ? first : next;
            for (size_t p; (p = expr.find("P")) != std::string::npos;) expr.replace(p, 1, prev);
            cube.calculatedMembers.push_back({name, "[Measures].[" + name + "]", expr, ""});
        }
        return cube;
    };
    struct Case {
        CubeData cube;
        std::string measure;
        std::string error;
    } cases[] = {
        // A chain: each member adds one to the one before.
        {withCalcs(2000, "[Measures].[Sales]", "P + 1"), "C1999", "use one another too deeply (more than 512 levels)"},
        {withCalcs(200, "[Measures].[Sales]", "P + 1"), "C199", ""},
        // The bounds the README gives: each "+ 1" link takes two of the 512
        // levels, a plain reference one.
        {withCalcs(256, "[Measures].[Sales]", "P + 1"), "C255", ""},
        {withCalcs(257, "[Measures].[Sales]", "P + 1"), "C256", "use one another too deeply (more than 512 levels)"},
        {withCalcs(512, "[Measures].[Sales]", "P"), "C511", ""},
        {withCalcs(513, "[Measures].[Sales]", "P"), "C512", "use one another too deeply (more than 512 levels)"},
        // Each member doubles the work of the one before.
        {withCalcs(40, "[Measures].[Sales]", "P + P"), "C39",
         "use one another too often (more than 100000 steps per cell)"},
        {withCalcs(12, "[Measures].[Sales]", "P + P"), "C11", ""},
    };
    for (const Case& c : cases) {
        const std::string error = ErrorOf(Select("[Measures].[" + c.measure + "]", "[Geography].Members"), c.cube);
        if (c.error.empty())
            EXPECT_EQ(error, "") << c.measure;
        else
            EXPECT_NE(error.find(c.error), std::string::npos) << c.measure << ": " << error;
    }
    // The chain's value is still computed where it is allowed.
    mdx::QueryResult r;
    mdx::Execute(Select("[Measures].[C199]"), withCalcs(200, "[Measures].[Sales]", "P + 1"), r);
    EXPECT_DOUBLE_EQ(r.values.at(0), 1145 + 199);
}

}  // namespace
