// Names that match without regard to letter case, notes in descriptions,
// calculated members checked when a cube is built, and the README's example.
#include "olap/description/CubeDescription.h"
#include "olap/engine/CubeFile.h"
#include "olap/engine/NameFold.h"
#include "olap/engine/OlapError.h"
#include "olap/mdx/Mdx.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using namespace cb::olap;

// Builds from a description and facts; the error text, or "" when it builds.
std::string BuildError(const std::string& description, const std::string& facts,
                       std::unique_ptr<CubeData>* cube = nullptr) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("cube.txt"), description);
    cbtest::writeFile(dir.file("facts.csv"), facts);
    try {
        auto built = BuildCubeFromDescription(dir.file("cube.txt"));
        if (cube) *cube = std::move(built);
        return {};
    } catch (const EOlapError& e) {
        return e.what();
    }
}

std::string Cell(const CubeData& cube, const std::string& query) {
    cb::olap::mdx::QueryResult r;
    cb::olap::mdx::Execute(query, cube, r);
    return r.formatted.empty() ? "?" : r.formatted[0];
}

TEST(CubeNamesTest, FoldingCoversLettersBeyondAscii) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"Paris", "PARIS", true},   {"ZÜRICH", "Zürich", true}, {"ÉCOLE", "école", true},    {"ΑΘΗΝΑ", "αθηνα", true},
        {"МОСКВА", "москва", true}, {"Łódź", "ŁÓDŹ", true},     {"Zurich", "Zürich", false}, {"Paris", "Paris ", false},
        {"a\xFF", "A\xFF", true},   {"\xC3", "\xC3", true},  // a cut sequence stands for itself
        // Unicode's simple case folding, one letter to one:
        {"ΑΘΉΝΑΣ", "Αθήνας", true},    // final sigma, capital with tonos
        {"Σίσυφος", "ΣΊΣΥΦΟΣ", true},  //
        {"\u00B5", "\u03BC", true},    // micro sign is mu
        {"\u00B5", "Μ", true},          //
        {"ΌΜΗΡΟΣ", "όμηρος", true},    //
        {"ЁЛКА", "ёлка", true},        // Cyrillic
        {"ЎЗБЕК", "ўзбек", true},      //
        {"\u04C0", "\u04CF", true},    // palochka
        {"I", "i", true},              // Turkish: dotless and dotted i are letters of their own
        {"ı", "i", false},             //
        {"ı", "I", false},             //
        {"İ", "i", false},             // dotted capital I folds only in full or Turkish folding
        {"İstanbul", "istanbul", false},
        {"ẞ", "ß", true},                // capital sharp s
        {"ß", "ss", false},              // one letter never becomes two
        {"STRASSE", "Straße", false},    //
        {"\uFB01", "fi", false},         // ligature fi
        {"\uFB00", "FF", false},         // ligature ff
        {"\u01C4", "\u01C6", true},      // DŽ and dž: the digraph letters fold
        {"\u01C5", "\u01C6", true},      // (its title case form too)
        {"\u0132", "\u0133", true},      // IJ
        {"\u212A", "k", true},           // Kelvin sign
        {"\u2126", "ω", true},           // Ohm sign
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SameName(c.a, c.b), c.same) << c.a << " / " << c.b;
        EXPECT_EQ(FoldName(c.a) == FoldName(c.b), c.same) << c.a << " / " << c.b;
        if (c.same) {
            EXPECT_EQ(FoldedNameHash(c.a, 7), FoldedNameHash(c.b, 7)) << c.a;
        }
    }
}

// The table in the source is what the generator makes of Unicode's data.
TEST(CubeNamesTest, FoldTableIsTheGeneratorsOutput) {
    std::string generated;
    ASSERT_EQ(cbtest::runCommand(std::string(CB_SOURCE_DIR) + "/scripts/gen-name-fold 2>&1", &generated), 0)
        << "CaseFolding.txt comes with the unicode-data package: " << generated;
    EXPECT_EQ(generated, cbtest::readFile(std::string(CB_SOURCE_DIR) + "/olap/engine/NameFoldTable.inc"));
}

// Greek names fold as Unicode folds them, in queries, twins and the column
// names of the facts.
TEST(CubeNamesTest, GreekNamesAndColumnNamesFold) {
    std::unique_ptr<CubeData> cube;
    ASSERT_EQ(BuildError("cube S\ndimension Geo: Country, City\nmeasure Value: sum\nfacts facts.csv\n",
                         "country,CITY,VALUE\nGR,Αθήνας,1\nGR,Κόρινθος,2\nGR,Αθήνας,4\n", &cube),
              "");
    EXPECT_EQ(Cell(*cube, "SELECT {[Geo].[All].[gr].[ΑΘΉΝΑΣ]} ON COLUMNS FROM [S]"), "5");
    EXPECT_EQ(Cell(*cube, "SELECT {[Geo].[All].[GR].[ΚΌΡΙΝΘΟΣ]} ON COLUMNS FROM [S]"), "2");
    // "Geo:city" names the level too.
    ASSERT_EQ(BuildError("cube S\ndimension Geo: City\nmeasure µ: sum\nfacts facts.csv\n",
                         "geo:city,μ\nΣίσυφος,1\n", &cube),
              "");
    EXPECT_EQ(Cell(*cube, "SELECT {[Measures].[Μ]} ON COLUMNS FROM [S]"), "1");
    EXPECT_NE(BuildError("cube S\ndimension Geo: City\nmeasure V: sum\nfacts facts.csv\n",
                         "City,V\nΣίσυφος,1\nΣΊΣΥΦΟΣ,2\n")
                  .find("line 3: Dimension \"Geo\", level \"City\": member \"ΣΊΣΥΦΟΣ\" has the same name as "
                        "\"Σίσυφος\""),
              std::string::npos);
}

// Two names that would match are refused, naming both, and the line.
TEST(CubeNamesTest, NamesThatMatchAreRefusedWithBothNames) {
    const std::string head = "cube S\ndimension Geo: Country, City\nmeasure V: sum\n";
    const std::string facts = "Country,City,V\n";
    struct Case {
        std::string description, facts, message;
    } cases[] = {
        {head + "facts facts.csv\n", facts + "France,Paris,1\nFrance,PARIS,2\n",
         "facts.csv\", line 3: Dimension \"Geo\", level \"City\": member \"PARIS\" has the same name as \"Paris\""},
        {head + "facts facts.csv\n", facts + "CH,Zürich,1\nCH,ZÜRICH,2\n",
         "line 3: Dimension \"Geo\", level \"City\": member \"ZÜRICH\" has the same name as \"Zürich\""},
        // A child reached under a parent spelled in another case.
        {head + "facts facts.csv\n", facts + "USA,Boston,1\nusa,Denver,2\n",
         "line 3: Dimension \"Geo\", level \"Country\": member \"usa\" has the same name as \"USA\""},
        {head + "dimension GEO: Town\nfacts facts.csv\n", facts,
         "cube.txt\", line 4: dimension \"GEO\" has the same name as \"Geo\""},
        {head + "dimension measures: X\nfacts facts.csv\n", facts, "line 4: dimension name \"measures\" is reserved"},
        {head + "measure v: count\nfacts facts.csv\n", facts, "line 4: measure \"v\" has the same name as \"V\""},
        {head + "calculated v: [Measures].[V]\nfacts facts.csv\n", facts,
         "line 4: measure \"v\" has the same name as \"V\""},
        {head + "measure V: max\nfacts facts.csv\n", facts, "line 4: measure \"V\" appears twice"},
        {"cube S\ndimension Geo: City, CITY\nmeasure V: sum\nfacts facts.csv\n", facts,
         "line 2: dimension \"Geo\": level \"CITY\" has the same name as \"City\""},
    };
    for (const Case& c : cases) {
        const std::string err = BuildError(c.description, c.facts);
        EXPECT_NE(err.find(c.message), std::string::npos) << "expected: " << c.message << "\n  got: " << err;
    }
    // Spelled the same way, names are one member.
    std::unique_ptr<CubeData> cube;
    ASSERT_EQ(BuildError(head + "facts facts.csv\n", facts + "CH,Zürich,1\nCH,Zürich,2\nFR,Paris,4\n", &cube), "");
    EXPECT_EQ(Cell(*cube, "SELECT {[Geo].[All].[ch].[ZÜRICH]} ON COLUMNS FROM [S]"), "3");
    EXPECT_EQ(Cell(*cube, "SELECT {[Measures].[v]} ON COLUMNS FROM [s]"), "7");
}

// The file reader holds the same rule: a file written elsewhere with names
// that match is refused.
TEST(CubeNamesTest, CubeFilesWithMatchingNamesAreRefused) {
    std::unique_ptr<CubeData> cube;
    ASSERT_EQ(BuildError("cube S\ndimension Geo: Country, City\ndimension Time: Year\nmeasure V: sum\n"
                         "measure W: sum\nfacts facts.csv\n",
                         "Country,City,Year,V,W\nFrance,Paris,2024,1,2\nFrance,Lyon,2024,3,4\n", &cube),
              "");
    cbtest::TempDir dir;
    const std::string good = dir.file("good.cub");
    WriteCubeFile(*cube, good);
    struct Case {
        const char* sql;
        const char* message;
    } cases[] = {
        {"UPDATE members SET name = 'PARIS' WHERE name = 'Lyon'",
         "member 3 \"PARIS\" has the same name as a sibling, \"Paris\""},
        {"UPDATE dimensions SET name = 'GEO' WHERE name = 'Time'", "dimension \"GEO\" has the same name as \"Geo\""},
        {"UPDATE dimensions SET name = 'MEASURES' WHERE name = 'Time'", "dimension name \"MEASURES\" is reserved"},
        {"UPDATE measures SET name = 'v' WHERE name = 'W'", "measure \"v\" has the same name as \"V\""},
        {"UPDATE levels SET name = 'country' WHERE name = 'City'",
         "level \"country\" has the same name as \"Country\""},
        {"UPDATE levels SET name = 'ALL' WHERE name = 'City'", "level name \"ALL\" is reserved"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.file("bad.cub");
        std::filesystem::copy_file(good, path, std::filesystem::copy_options::overwrite_existing);
        std::string out;
        ASSERT_EQ(cbtest::runCommand("sqlite3 '" + path + "' \"" + c.sql + "\" 2>&1", &out), 0) << out;
        std::string err;
        try {
            ReadCubeFile(path);
        } catch (const EOlapError& e) {
            err = e.what();
        }
        EXPECT_NE(err.find(c.message), std::string::npos) << "expected: " << c.message << "\n  got: " << err;
    }
}

TEST(CubeNamesTest, NotesAfterValues) {
    std::unique_ptr<CubeData> cube;
    ASSERT_EQ(BuildError("cube S   # the name\n"
                         "updated 2024-06-30 12:00:00   # optional\n"
                         "dimension Geo: City # one level\n"
                         "measure V: sum \"#,##0.0\"   # a # in quotes is kept\n"
                         "calculated W: \"0#\" [Measures].[V] * 2 # doubled\n"
                         "facts facts.csv   # relative\n",
                         "City,V\nParis,1234.5\n", &cube),
              "");
    EXPECT_EQ(cube->name, "S");
    EXPECT_EQ(cube->lastDataUpdate, "2024-06-30 12:00:00");
    EXPECT_EQ(cube->dimensions[0].levels[1].name, "City");
    EXPECT_EQ(cube->measures[0].formatString, "#,##0.0");
    EXPECT_EQ(cube->calculatedMembers[0].formatString, "0#");
    EXPECT_EQ(cube->calculatedMembers[0].expression, "[Measures].[V] * 2");
    // A "#" inside a value (no blank before it) belongs to the value.
    EXPECT_NE(BuildError("cube S\ndimension Geo: City\nmeasure V: sum\nfacts facts#2.csv\n", "City,V\n")
                  .find("Cannot open facts file \""),
              std::string::npos);
}

TEST(CubeNamesTest, CalculatedMembersAreCheckedWhenBuilt) {
    const std::string head = "cube S\ndimension Geo: City\nmeasure V: sum\n";
    struct Case {
        std::string calculated, message;
    } cases[] = {
        {"calculated A: [Measures].[X] + 1\n", "cube.txt\", line 4: In the expression of the calculated member "
                                               "[Measures].[A]: Unknown measure [Measures].[X]"},
        // The line is that of the member the message names.
        {"calculated A: [Measures].[B] + 1\ncalculated B: [Measures].[A] + 1\n",
         "line 5: In the expression of the calculated member [Measures].[B]: [Measures].[A] depends on this member"},
        {"calculated A: [Measures].[B] + 1\ncalculated B: [Measures].[X]\n",
         "line 5: In the expression of the calculated member [Measures].[B]: Unknown measure [Measures].[X]"},
        {"calculated A: [Measures].[V]\ncalculated B: [Measures].[B] * 2\n",
         "line 5: In the expression of the calculated member [Measures].[B]: the calculated member refers to itself"},
        {"calculated A: [Measures].[V] +\n", "line 4: In the expression of the calculated member [Measures].[A]"},
        {"calculated A: [Geo].[All]\n", "line 4: In the expression of the calculated member [Measures].[A]: "
                                        "[Geo].[All] is not a measure"},
    };
    for (const Case& c : cases) {
        const std::string err = BuildError(head + c.calculated + "facts facts.csv\n", "City,V\nParis,1\n");
        EXPECT_NE(err.find(c.message), std::string::npos) << "expected: " << c.message << "\n  got: " << err;
    }
    // Members may use those declared after them.
    EXPECT_EQ(BuildError(head + "calculated A: [Measures].[B] * 2\ncalculated B: [Measures].[V] + 1\nfacts facts.csv\n",
                         "City,V\nParis,1\n"),
              "");
}

TEST(CubeNamesTest, LevelNameEdgeCases) {
    // A level "All" would be hidden by the (All) member.
    EXPECT_NE(BuildError("cube S\ndimension Geo: All, City\nmeasure V: sum\nfacts facts.csv\n", "All,City,V\n")
                  .find("line 2: dimension \"Geo\": level name \"All\" is reserved"),
              std::string::npos);

    // A level whose name holds ":", as a plain column and as Dimension:Level.
    std::unique_ptr<CubeData> cube;
    const std::string colon = "cube S\ndimension Geo: Zone:Code\nmeasure V: sum\nfacts facts.csv\n";
    ASSERT_EQ(BuildError(colon, "Zone:Code,V\nz1,1\nz2,2\n", &cube), "");
    EXPECT_EQ(cube->dimensions[0].levels[1].name, "Zone:Code");
    EXPECT_EQ(Cell(*cube, "SELECT {[Geo].[All].[z2]} ON COLUMNS FROM [S]"), "2");
    EXPECT_EQ(BuildError(colon, "V,Geo:Zone:Code\n1,z1\n"), "");

    // A level and a measure of one name: the plain column is the measure, the
    // level's column is named Dimension:Level.
    const std::string same = "cube S\ndimension Geo: V\nmeasure V: sum\nfacts facts.csv\n";
    EXPECT_NE(BuildError(same, "V,V\n").find("line 1: column \"V\" appears twice"), std::string::npos);
    EXPECT_NE(BuildError(same, "V\n3\n")
                  .find("no column for level \"V\" of dimension \"Geo\" (a column \"V\" is the "
                        "measure of that name; name the level's column \"Geo:V\")"),
              std::string::npos);
    ASSERT_EQ(BuildError(same, "Geo:V,V\nx,3\ny,4\n", &cube), "");
    EXPECT_EQ(Cell(*cube, "SELECT {[Geo].[All].[y]} ON COLUMNS FROM [S]"), "4");
    EXPECT_EQ(Cell(*cube, "SELECT {[Geo].[V].Members} ON COLUMNS FROM [S]"), "3");
}

// The example of the README's "Building a cube from your own data", copied
// as printed.
TEST(CubeNamesTest, ReadmeExampleBuildsAsPrinted) {
    std::ifstream readme(std::string(CB_SOURCE_DIR) + "/README.md");
    ASSERT_TRUE(readme) << "README.md not found";
    std::string line, example;
    bool inSection = false, inBlock = false;
    while (std::getline(readme, line)) {
        if (line.rfind("## ", 0) == 0) inSection = line == "## Building a cube from your own data";
        if (!inSection) continue;
        if (line.rfind("    ", 0) == 0) {
            inBlock = true;
            example += line.substr(4) + "\n";
        } else if (inBlock && !line.empty()) {
            break;  // the first indented block only
        }
    }
    ASSERT_NE(example.find("facts sales.csv"), std::string::npos) << example;
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("sales.txt"), example);
    cbtest::writeFile(dir.file("sales.csv"), "Region,Country,City,Year,Month,Revenue,Cost,Orders\n"
                                             "Europe,France,Paris,2024,Jan,1000.5,600,1\n"
                                             "Europe,France,Lyon,2024,Feb,200,150,1\n"
                                             "America,USA,Boston,2024,Jan,300,,1\n");
    auto cube = BuildCubeFromDescription(dir.file("sales.txt"));
    EXPECT_EQ(cube->name, "Sales");
    EXPECT_EQ(cube->lastDataUpdate, "2024-06-30 12:00:00");
    EXPECT_EQ(cube->measures[0].formatString, "#,##0.00");
    EXPECT_EQ(Cell(*cube, "SELECT {[Measures].[Profit]} ON COLUMNS FROM [Sales]"), "750.50");
    EXPECT_EQ(Cell(*cube, "SELECT {[Customer].[All].[Europe]} ON COLUMNS FROM [Sales]"), "1,200.50");
}

}  // namespace
