// The program's MDX as a server is sent it, and unique names between the
// two forms.
#include "olap/xmla/ServerMdx.h"
#include "olap/engine/OlapError.h"
#include "olap/mdx/Parser.h"
#include "olap/xmla/NameMap.h"

#include <gtest/gtest.h>

using namespace cb::olap;
using namespace cb::olap::xmla;

namespace {

NameMap ShopNames() {
    NameMap names;
    names.AddHierarchy("[Customer]", "[Customer].[All Customers]");
    names.AddHierarchy("[Time]", "");  // no All member
    names.AddHierarchy("[Measures]", "");
    return names;
}

ServerSelect Translate(const std::string& mdx) {
    return TranslateSelect(std::get<mdx::SelectStatement>(mdx::ParseStatement(mdx)), ShopNames());
}

}  // namespace

TEST(NameMap, TheAllSegmentComesAndGoes) {
    const NameMap names = ShopNames();
    struct Case {
        std::string server, client;
    } cases[] = {
        {"[Customer].[All Customers]", "[Customer].[All Customers]"},
        {"[Customer].[Europe]", "[Customer].[All Customers].[Europe]"},
        {"[Customer].[Europe].[France].[Paris]", "[Customer].[All Customers].[Europe].[France].[Paris]"},
        // a top member named like the All member keeps its own name
        {"[Customer].[All Customers].[x]", "[Customer].[All Customers].[All Customers].[x]"},
        {"[Customer].[a]].b]", "[Customer].[All Customers].[a]].b]"},
        {"[Time].[2024].[01]", "[Time].[2024].[01]"},
        {"[Measures].[Revenue]", "[Measures].[Revenue]"},
        {"[Customer]", "[Customer]"},
        {"[Customers].[Europe]", "[Customers].[Europe]"},
        {"[Customer].[Region]", "[Customer].[All Customers].[Region]"},  // a member; levels are not mapped
    };
    for (const Case& c : cases) {
        EXPECT_EQ(names.ToClient(c.server), c.client) << c.server;
        EXPECT_EQ(names.ToServer(c.client), c.server) << c.client;
    }
    EXPECT_EQ(LastNamePart("[Customer].[All Customers].[a]].b]"), "a].b");
    EXPECT_EQ(LastNamePart("[Measures]"), "Measures");
    EXPECT_EQ(LastNamePart("Plain"), "Plain");
}

TEST(ServerMdx, TheProgramsShapesAreWrittenForTheServer) {
    struct Case {
        std::string mdx, server;
        int columns, rows;  // the server axis of our columns and rows (-1: none)
    } cases[] = {
        {"SELECT {[Measures].members(0)} ON COLUMNS, {AddCalculatedMembers({[Customer].levels(0).members})} ON ROWS "
         "FROM [Sales]",
         "SELECT {{[Measures].Members.Item(0)}} ON COLUMNS, {AddCalculatedMembers({[Customer].levels(0).members})} ON "
         "ROWS FROM [Sales]",
         0, 1},
        {" SELECT {[Customer].[All Customers], [Customer].[All Customers].[Europe].Children} ON ROWS, "
         "{{[Time].[2024].Children}*{[Measures].[Revenue]}} ON COLUMNS FROM [Sales]",
         "SELECT {{[Time].[2024].Children} * {[Measures].[Revenue]}} ON COLUMNS, {[Customer].[All Customers], "
         "[Customer].[Europe].Children} ON ROWS FROM [Sales]",
         0, 1},
        {" SELECT HIERARCHIZE(UNION({[Customer].[All Customers].[Asia]},{[Customer].[All Customers].[Europe]})) ON "
         "ROWS, {} ON COLUMNS FROM [Sales]",
         "SELECT HIERARCHIZE(UNION({[Customer].[Asia]}, {[Customer].[Europe]})) ON COLUMNS FROM [Sales]", -1, 0},
        {" SELECT {} ON ROWS, {[Measures].[Revenue]} ON COLUMNS FROM [Sales]",
         "SELECT {[Measures].[Revenue]} ON COLUMNS FROM [Sales]", 0, -1},
        {" SELECT {} ON ROWS, {} ON COLUMNS FROM [Sales]", "", -1, -1},
        {"SELECT {[Measures].[Revenue]} ON 0 FROM [Sales Cube]",
         "SELECT {[Measures].[Revenue]} ON COLUMNS FROM "
         "[Sales Cube]",
         0, -1},
        {"SELECT {[Customer].[All Customers].[A]].B]} ON COLUMNS FROM [S]",
         "SELECT {[Customer].[A]].B]} ON COLUMNS FROM [S]", 0, -1},
    };
    for (const Case& c : cases) {
        ServerSelect s = Translate(c.mdx);
        EXPECT_EQ(s.text, c.server) << c.mdx;
        EXPECT_EQ(s.serverAxis[0], c.columns) << c.mdx;
        EXPECT_EQ(s.serverAxis[1], c.rows) << c.mdx;
    }
}

TEST(ServerMdx, ArithmeticKeepsItsGrouping) {
    NameMap none;
    struct Case {
        std::string expression, written;
    } cases[] = {
        {"[M].[a] - ([M].[b] - [M].[c])", "[M].[a] - ([M].[b] - [M].[c])"},
        {"([M].[a] - [M].[b]) - [M].[c]", "[M].[a] - [M].[b] - [M].[c]"},
        {"([M].[a] + [M].[b]) * 2", "([M].[a] + [M].[b]) * 2"},
        {"[M].[a] / ([M].[b] * 100)", "[M].[a] / ([M].[b] * 100)"},
        {"-([M].[a] + 1.5)", "-([M].[a] + 1.5)"},
        {"'it''s'", "'it''s'"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WriteExpression(*mdx::ParseExpression(c.expression), none), c.written) << c.expression;
}
