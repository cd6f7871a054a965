// Calculated measures that cannot be evaluated: the query fails naming the
// member and the problem.
#include "olap/adomd/Adomd.h"
#include "olap/engine/CubeBuilder.h"

#include <gtest/gtest.h>

namespace {

using namespace cb::olap;

TEST(MdxCalculatedTest, BadExpressionsAreReported) {
    CubeBuilder b("Calc");
    int d = b.AddDimension("D", {"L"});
    b.AddMeasure("M", Aggregation::Sum);
    b.AddCalculatedMember("Self", "[Measures].[Self] + 1");
    b.AddCalculatedMember("A", "[Measures].[B] * 2");
    b.AddCalculatedMember("B", "[Measures].[A] - 1");
    b.AddCalculatedMember("Unknown", "[Measures].[Nope] / 2");
    b.AddCalculatedMember("Broken", "([Measures].[M] + ");
    b.AddCalculatedMember("Member", "[D].[All]");
    b.AddCalculatedMember("Fine", "-[Measures].[M] * (2 + 0.5)", "0.0");
    uint32_t leaf = b.Leaf(d, {"x"});
    double v = 4;
    b.AddFact(&leaf, &v);
    auto conn = std::make_shared<Connection>("", "", std::shared_ptr<const CubeData>(b.Finish()));

    struct Case {
        const char* measure;
        const char* result;
    } cases[] = {
        {"Fine", "-10.0"},
        {"Self", "In the expression of the calculated member [Measures].[Self]: the calculated member refers to itself "
                 "at line 1, column 1"},
        {"A", "In the expression of the calculated member [Measures].[B]: [Measures].[A] depends on this member: the "
              "calculated members form a cycle at line 1, column 1"},
        {"Unknown", "In the expression of the calculated member [Measures].[Unknown]: Unknown measure "
                    "[Measures].[Nope] at line 1, column 1"},
        {"Broken", "In the expression of the calculated member [Measures].[Broken]: Syntax error at line 1, column 19: "
                   "expected a member, set or value but found the end of the statement"},
        {"Member", "In the expression of the calculated member [Measures].[Member]: [D].[All] is not a measure at "
                   "line 1, column 1"},
    };
    for (const Case& c : cases) {
        Cellset cs;
        std::string result;
        try {
            cs.Open(std::string("SELECT {[Measures].[") + c.measure + "]} ON COLUMNS, {[D].[All]} ON ROWS FROM [Calc]",
                    conn);
            result = cs.Item(0, 0)->FormattedValue();
        } catch (const EOlapError& e) {
            result = e.Message();
        }
        EXPECT_EQ(result, c.result) << c.measure;
    }
}

}  // namespace
