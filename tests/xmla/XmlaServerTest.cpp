// The object model over the test OLAP server: what Discover gives, members
// by level and by parent, and the program's query shapes answered with the
// same cells as the local cube built from the same facts.
#include "olap/adomd/Adomd.h"
#include "olap/adomd/CellsetText.h"
#include "olap/adomd/ConnectionString.h"
#include "olap/xmla/XmlaProvider.h"
#include "tests/xmla/XmlaTestServers.h"

#include <gtest/gtest.h>

#include <regex>

using namespace cb::olap;
using cbtest::xmla::ShopServer;

namespace {

std::string ServerString(const std::string& catalog = "Shop") {
    return "Data Source=" + QuoteConnectionStringValue(ShopServer().Address) +
           ";Initial Catalog=" + QuoteConnectionStringValue(catalog) + ";Provider=MSOLAP.2;";
}

std::shared_ptr<CubeDef> ServerCube() {
    Catalog catalog;
    catalog.SetActiveConnection(ServerString());
    return catalog.CubeDefs().Item(0);
}

std::shared_ptr<Dimension> DimensionNamed(const CubeDef& cube, const std::string& name) {
    for (const auto& d : cube.Dimensions())
        if (d->Name() == name) return d;
    return nullptr;
}

std::vector<std::string> UniqueNames(const Collection<Member>& members) {
    std::vector<std::string> names;
    for (const auto& m : members) names.push_back(m->UniqueName());
    return names;
}

std::string Query(const std::string& connectionString, const std::string& mdx) {
    Cellset cellset;
    cellset.SetActiveConnection(connectionString);
    cellset.Open(mdx);
    return CellsetToText(cellset);
}

}  // namespace

TEST(XmlaServer, CatalogsAndCubesAreListed) {
    EXPECT_EQ(xmla::ListCatalogs(ShopServer().Address), (std::vector<std::string>{"Broken", "Shop"}));
    EXPECT_EQ(xmla::ListCubes(ShopServer().Address, "Shop"), std::vector<std::string>{"Sales"});
    // host:port means http://host:port/xmla.
    const std::string hostPort = ShopServer().Address.substr(7, ShopServer().Address.size() - 12);
    EXPECT_EQ(xmla::ListCubes(hostPort, "Shop"), std::vector<std::string>{"Sales"});
}

TEST(XmlaServer, DiscoverGivesTheObjectModel) {
    auto cube = ServerCube();
    EXPECT_EQ(cube->Name(), "Sales");
    std::vector<std::string> names, uniqueNames;
    std::vector<int> types;
    for (const auto& d : cube->Dimensions()) {
        names.push_back(d->Name());
        uniqueNames.push_back(d->UniqueName());
        types.push_back(d->Properties().Item(0)->Value().ToInt());
    }
    // In the cube's order, which the server does not list them in.
    EXPECT_EQ(names, (std::vector<std::string>{"Measures", "Customer", "Product", "Time"}));
    EXPECT_EQ(uniqueNames, (std::vector<std::string>{"[Measures]", "[Customer]", "[Product]", "[Time]"}));
    EXPECT_EQ(types, (std::vector<int>{2, 3, 3, 3}));

    auto customer = DimensionNamed(*cube, "Customer")->Hierarchies().Item(0);
    EXPECT_EQ(customer->UniqueName(), "[Customer]");
    std::vector<std::string> levels;
    for (const auto& l : customer->Levels()) levels.push_back(l->UniqueName() + "@" + std::to_string(l->Depth()));
    EXPECT_EQ(levels, (std::vector<std::string>{"[Customer].[(All)]@0", "[Customer].[Region]@1",
                                                "[Customer].[Country]@2", "[Customer].[City]@3"}));

    auto measures = DimensionNamed(*cube, "Measures")->Hierarchies().Item(0);
    EXPECT_EQ(measures->UniqueName(), "[Measures]");
    auto measureMembers = measures->Levels().Item(0)->Members();
    EXPECT_EQ(UniqueNames(measureMembers), (std::vector<std::string>{"[Measures].[Revenue]", "[Measures].[Cost]",
                                                                     "[Measures].[Orders]", "[Measures].[Profit]"}));
    // Profit is calculated: it says so through EXPRESSION, the others not.
    EXPECT_EQ(measureMembers.Item(0)->Properties().Count(), 0);
    ASSERT_EQ(measureMembers.Item(3)->Properties().Count(), 1);
    EXPECT_EQ(measureMembers.Item(3)->Properties().Item(0)->Name(), "EXPRESSION");
    EXPECT_FALSE(measureMembers.Item(3)->Properties().Item(0)->Value().ToString().empty());

    std::string lastUpdate;
    for (const auto& p : cube->Properties())
        if (p->Name() == "LAST_DATA_UPDATE") lastUpdate = p->Value().ToString();
    EXPECT_TRUE(std::regex_match(lastUpdate, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"))) << lastUpdate;
}

TEST(XmlaServer, MembersByLevelAndByParentFollowTheProgramsNamingRule) {
    auto cube = ServerCube();
    auto levels = DimensionNamed(*cube, "Customer")->Hierarchies().Item(0)->Levels();
    auto all = levels.Item(0)->Members();
    ASSERT_EQ(all.Count(), 1);
    EXPECT_EQ(all.Item(0)->UniqueName(), "[Customer].[All Customers]");
    EXPECT_EQ(all.Item(0)->Caption(), "All Customers");
    EXPECT_EQ(all.Item(0)->LevelDepth(), 0);
    EXPECT_EQ(all.Item(0)->ChildCount(), 3);

    auto regions = all.Item(0)->Children();
    EXPECT_EQ(UniqueNames(regions),
              (std::vector<std::string>{"[Customer].[All Customers].[America]", "[Customer].[All Customers].[Asia]",
                                        "[Customer].[All Customers].[Europe]"}));
    auto europe = regions.Item(2);
    EXPECT_EQ(europe->Name(), "Europe");
    EXPECT_EQ(europe->LevelName(), "[Customer].[Region]");
    EXPECT_EQ(europe->LevelDepth(), 1);
    auto countries = europe->Children();
    EXPECT_EQ(UniqueNames(countries), (std::vector<std::string>{"[Customer].[All Customers].[Europe].[France]",
                                                                "[Customer].[All Customers].[Europe].[Germany]",
                                                                "[Customer].[All Customers].[Europe].[Switzerland]"}));
    auto swiss = countries.Item(2)->Children();
    ASSERT_EQ(swiss.Count(), 1);
    EXPECT_EQ(swiss.Item(0)->Caption(), "Zürich");
    EXPECT_EQ(swiss.Item(0)->ChildCount(), 0);
    EXPECT_EQ(swiss.Item(0)->Children().Count(), 0);

    // Every member of every level starts with its parent's name and ".".
    for (const auto& level : levels)
        for (const auto& m : level->Members())
            for (const auto& c : m->Children())
                EXPECT_EQ(c->UniqueName().rfind(m->UniqueName() + ".", 0), 0u) << c->UniqueName();
    // A level's members come in hierarchy order, and are the same objects
    // as the children read before.
    auto cities = levels.Item(3)->Members();
    EXPECT_EQ(cities.Count(), 8);
    EXPECT_EQ(cities.Item(7)->UniqueName(), "[Customer].[All Customers].[Europe].[Switzerland].[Zürich]");
    EXPECT_EQ(cities.Item(7).get(), swiss.Item(0).get());
}

TEST(XmlaServer, SpecialCharactersInNamesTravelBothWays) {
    const std::string text =
        Query(ServerString(), "SELECT {[Measures].[Revenue]} ON COLUMNS, "
                              "{[Product].[All Products].[Clothing].Children} ON ROWS FROM [Sales]");
    EXPECT_NE(text.find("[Product].[All Products].[Clothing].[Caps & Hats] | "), std::string::npos) << text;
    EXPECT_NE(text.find("[Product].[All Products].[Clothing].[Gloves <L>] | "), std::string::npos) << text;
    Cellset cellset;
    cellset.SetActiveConnection(ServerString());
    cellset.Open("SELECT {[Measures].[Revenue]} ON COLUMNS, {[Product].[All Products].[Clothing].[Caps & Hats]} "
                 "ON ROWS FROM [Sales]");
    EXPECT_EQ(cellset.Axes().Item(1)->Positions().Item(0)->Members().Item(0)->Caption(), "Caps & Hats");
}

// The program's query shapes, on the server and on the local cube built from
// the same facts: the same positions and the same formatted cells. "@X"
// stands for dimension X's All member, which the two name differently.
TEST(XmlaServer, QueryShapesGiveTheLocalCubesCells) {
    const std::string local = "Data Source=" + QuoteConnectionStringValue(ShopServer().LocalCube) + ";";
    const std::string server = ServerString();
    const char* const queries[] = {
        // the default view
        "SELECT {[Measures].members(0)} ON COLUMNS, {AddCalculatedMembers({[Customer].levels(0).members})} ON ROWS "
        "FROM [Sales]",
        // rows and measures, composed
        " SELECT {@Customer.Children} ON ROWS, {[Measures].[Revenue],[Measures].[Cost],[Measures].[Orders]} ON "
        "COLUMNS FROM [Sales]",
        // a drill and a second one below it
        " SELECT {@Customer, @Customer.Children, @Customer.[Europe].Children} ON ROWS, {[Measures].[Revenue]} ON "
        "COLUMNS FROM [Sales]",
        // crossed groups on both axes, the measures last on the columns
        " SELECT {{@Customer.Children}*{@Product.Children}} ON ROWS, {{@Time.Children}*{[Measures].[Revenue], "
        "[Measures].[Profit]}} ON COLUMNS FROM [Sales]",
        // a member selection joined to what the axis held
        " SELECT HIERARCHIZE(UNION({@Customer.[America]},{@Customer.[Europe].[France], @Customer.[Asia]})) ON ROWS, "
        "{[Measures].[Cost]} ON COLUMNS FROM [Sales]",
        // a level's members and the calculated measures
        " SELECT {[Time].Levels(2).members} ON ROWS, {AddCalculatedMembers([Measures].members)} ON COLUMNS FROM "
        "[Sales]",
        // leaves, with empty cells (Tokyo sells no caps)
        " SELECT {@Customer.[Asia].[Japan].[Tokyo], @Customer.[Europe].[Switzerland].Children} ON ROWS, "
        "{{@Product.[Clothing].Children}*{[Measures].[Revenue]}} ON COLUMNS FROM [Sales]",
        // no rows, no columns: the program's empty views
        " SELECT {} ON ROWS, {[Measures].[Revenue],[Measures].[Orders]} ON COLUMNS FROM [Sales]",
        " SELECT {@Customer.Children} ON ROWS, {} ON COLUMNS FROM [Sales]",
        " SELECT {} ON ROWS, {} ON COLUMNS FROM [Sales]",
        // columns alone, and a member without children drilled
        "SELECT {[Measures].[Revenue]} ON COLUMNS FROM [Sales]",
        " SELECT {@Customer.[Asia].[Japan].[Tokyo].Children} ON ROWS, {[Measures].[Revenue]} ON COLUMNS FROM [Sales]",
    };
    const std::pair<const char*, const char*> all[] = {
        {"Customer", "All Customers"}, {"Product", "All Products"}, {"Time", "All Times"}};
    for (const char* query : queries) {
        std::string localQuery = query, serverQuery = query;
        for (const auto& [dim, allName] : all) {
            const std::string token = std::string("@") + dim;
            for (size_t p; (p = localQuery.find(token)) != std::string::npos;)
                localQuery.replace(p, token.size(), "[" + std::string(dim) + "].[All]");
            for (size_t p; (p = serverQuery.find(token)) != std::string::npos;)
                serverQuery.replace(p, token.size(), "[" + std::string(dim) + "].[" + allName + "]");
        }
        std::string expected = Query(local, localQuery);
        std::string actual = Query(server, serverQuery);
        for (const auto& [dim, allName] : all) {
            const std::string from = "[" + std::string(dim) + "].[" + allName + "]";
            const std::string to = "[" + std::string(dim) + "].[All]";
            for (size_t p; (p = actual.find(from)) != std::string::npos;) actual.replace(p, from.size(), to);
        }
        EXPECT_EQ(actual, expected) << query;
    }
}

TEST(XmlaServer, ASchemaTheServerCannotReadFailsWhenItsCubeIsOpened) {
    Catalog catalog;
    catalog.SetActiveConnection(ServerString("Broken"));  // the cube list still comes
    auto cube = catalog.CubeDefs().Item(0);
    try {
        cube->Dimensions();
        FAIL() << "no error";
    } catch (const EOlapError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("The analysis server " + ShopServer().Address + " reports: "), std::string::npos)
            << message;
        EXPECT_NE(message.find("nation"), std::string::npos) << message;
    }
}

TEST(XmlaServer, UnknownCatalogsCubesAndBadQueriesNameTheServer) {
    const std::string server = "The analysis server " + ShopServer().Address;
    auto errorOf = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const EOlapError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(errorOf([&] { Catalog().SetActiveConnection(ServerString("Nowhere")); }),
              server + " has no catalog \"Nowhere\"");
    EXPECT_EQ(errorOf([&] { Query(ServerString(), "SELECT {[Measures].[Revenue]} ON COLUMNS FROM [Stock]"); }),
              server + " has no cube [Stock] in the catalog \"Shop\"");
    const std::string bad =
        errorOf([&] { Query(ServerString(), "SELECT {[Measures].[Nothing]} ON COLUMNS FROM [Sales]"); });
    EXPECT_EQ(bad.rfind(server + " reports: ", 0), 0u) << bad;
    // Our own parser finds what the program never writes, before the server is asked.
    EXPECT_EQ(errorOf([&] { Query(ServerString(), "SELECT FROM"); }).rfind("Syntax error at line 1", 0), 0u);
}
