// Cube descriptions whose facts come from an SQLite table (built here with
// the sqlite3 command-line tool).
#include "olap/description/CubeDescription.h"
#include "olap/engine/OlapError.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>

using namespace cb::olap;

namespace {

const char* kHead = R"(cube Shop
dimension Place: Country, City
dimension Product: Name
measure Revenue: sum "#,##0.00"
measure Orders: count
measure Top: max 0.0
)";

// The rows of the CSV below, with SQLite's own types: Top has no type, so
// '+4.25' stays text; Revenue is REAL, so '1e2' becomes 100.
const char* kSql = R"(
CREATE TABLE "shop ""facts"""(City TEXT, Country TEXT, Name TEXT, Revenue REAL, Orders INTEGER, Top);
INSERT INTO "shop ""facts""" VALUES ('Boston', 'USA', 'Bike, red', 100.5, 1, 3),
  ('Paris', 'France', 'Helmet', NULL, 1, NULL), ('Boston', 'USA', 'Helmet', 20, 1, '+4.25'),
  ('Lyon', 'France', 'Bike, red', '1e2', 1, -1);
CREATE TABLE good AS SELECT * FROM "shop ""facts""";
CREATE TABLE null_level AS SELECT * FROM good; UPDATE null_level SET City = NULL WHERE Name = 'Helmet';
CREATE TABLE blob AS SELECT * FROM good; UPDATE blob SET Top = x'00' WHERE rowid = 1;
CREATE TABLE bad_text AS SELECT * FROM good; UPDATE bad_text SET Top = 'abc' WHERE rowid = 3;
CREATE TABLE infinite AS SELECT * FROM good; UPDATE infinite SET Revenue = 1e999 WHERE rowid = 4;
CREATE TABLE bad_name AS SELECT * FROM good; UPDATE bad_name SET City = 'Bos.ton' WHERE rowid = 1;
CREATE TABLE latin1 AS SELECT * FROM good; UPDATE latin1 SET City = CAST(X'5AFC72696368' AS TEXT) WHERE rowid = 2;
CREATE TABLE latin1_value AS SELECT * FROM good; UPDATE latin1_value SET Top = CAST(X'31FC' AS TEXT) WHERE rowid = 3;
CREATE TABLE nul_value AS SELECT * FROM good; UPDATE nul_value SET Top = CAST(X'310032' AS TEXT) WHERE rowid = 3;
CREATE TABLE real_year(Year REAL, Month, N REAL); INSERT INTO real_year VALUES (2024, 1, 1);
CREATE TABLE no_top AS SELECT City, Country, Name, Revenue, Orders FROM good;
CREATE TABLE stranger AS SELECT *, 1 AS Extra FROM good;
CREATE VIEW by_view AS SELECT City, Country, Name AS "Product:Name", Revenue, Orders, Top FROM good;
CREATE VIEW endless AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n)
  SELECT 'Boston' AS City, 'USA' AS Country, 'Bike' AS Name, i AS Revenue, 1 AS Orders, 1 AS Top FROM n;
CREATE VIEW endless_members AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n)
  SELECT 'City ' || i AS City, 'USA' AS Country, 'Bike' AS Name, i AS Revenue, 1 AS Orders, 1 AS Top FROM n;
CREATE VIEW silent AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n)
  SELECT 'Boston' AS City, 'USA' AS Country, 'Bike' AS Name, i AS Revenue, 1 AS Orders, 1 AS Top FROM n WHERE i < 0;
CREATE TABLE years(Year INTEGER, Month, N REAL);
INSERT INTO years VALUES (2024, 1, 1), (2024, 2, 2), (2023, 'May', 3);
)";

const char* kCsv = "City,Country,Name,Revenue,Orders,Top\n"
                   "Boston,USA,\"Bike, red\",100.5,1,3\n"
                   "Paris,France,Helmet,,1,\n"
                   "Boston,USA,Helmet,20,1,+4.25\n"
                   "Lyon,France,\"Bike, red\",1e2,1,-1\n";

class CubeBuildSqliteTest : public ::testing::Test {
protected:
    void SetUp() override {
        cbtest::writeFile(FDir.file("make.sql"), kSql);
        cbtest::writeFile(FDir.file("facts.csv"), kCsv);
        cbtest::writeFile(FDir.file("junk.db"), "not a database at all, just text");
        std::filesystem::create_directory(FDir.path() / "my data");
        const std::string cmd = "sqlite3 '" + FDir.file("my data/shop.db") + "' < '" + FDir.file("make.sql") + "'";
        ASSERT_EQ(cbtest::runCommand(cmd), 0) << "the sqlite3 command-line tool is needed: " << cmd;
    }

    std::unique_ptr<CubeData> Build(const std::string& description, const SourceLimits& limits = {}) {
        cbtest::writeFile(FDir.file("cube.txt"), description);
        return BuildCubeFromDescription(FDir.file("cube.txt"), limits);
    }

    std::string Error(const std::string& description, const SourceLimits& limits = {}) {
        try {
            Build(description, limits);
            return {};
        } catch (const EOlapError& e) {
            return e.what();
        }
    }

    cbtest::TempDir FDir;
};

TEST_F(CubeBuildSqliteTest, TableGivesTheSameCubeAsCsv) {
    auto csv = Build(std::string(kHead) + "facts facts.csv\n");
    // The table name stands between the outer quotes as it is (table shop "facts").
    for (const char* line : {"facts-sqlite \"my data/shop.db\" \"shop \"facts\"\"",
                             "facts-sqlite \"my data/shop.db\" good", "facts-sqlite \"my data/shop.db\" by_view"}) {
        SCOPED_TRACE(line);
        auto sql = Build(std::string(kHead) + line + "\n");
        ASSERT_EQ(sql->dimensions.size(), csv->dimensions.size());
        for (size_t d = 0; d < csv->dimensions.size(); ++d) {
            ASSERT_EQ(sql->dimensions[d].members.size(), csv->dimensions[d].members.size());
            for (size_t m = 0; m < csv->dimensions[d].members.size(); ++m)
                EXPECT_EQ(sql->dimensions[d].members[m].uniqueName, csv->dimensions[d].members[m].uniqueName);
        }
        EXPECT_EQ(sql->factCount, 4u);
        EXPECT_EQ(sql->factKeys, csv->factKeys);
        ASSERT_EQ(sql->factValues.size(), csv->factValues.size());
        for (size_t m = 0; m < csv->factValues.size(); ++m)
            for (size_t f = 0; f < csv->factCount; ++f)
                EXPECT_EQ(std::memcmp(&sql->factValues[m][f], &csv->factValues[m][f], sizeof(double)), 0)
                    << "measure " << m << ", fact " << f << ": " << sql->factValues[m][f];
    }
}

TEST_F(CubeBuildSqliteTest, NumbersNameMembersAsTheirText) {
    auto cube = Build("cube Y\ndimension Time: Year, Month\nmeasure N: sum\nfacts-sqlite \"my data/shop.db\" years\n");
    std::vector<std::string> names;
    for (const MemberData& m : cube->dimensions[0].members) names.push_back(m.uniqueName);
    EXPECT_EQ(names, (std::vector<std::string>{"[Time].[All]", "[Time].[All].[2024]", "[Time].[All].[2024].[1]",
                                               "[Time].[All].[2024].[2]", "[Time].[All].[2023]",
                                               "[Time].[All].[2023].[May]"}));
    EXPECT_EQ(cube->factValues[0], (FactValueColumn{1, 2, 3}));
    // A real number is no name: "2024.0" is refused, saying why.
    EXPECT_NE(Error("cube Y\ndimension Time: Year, Month\nmeasure N: sum\nfacts-sqlite \"my data/shop.db\" real_year\n")
                  .find("real_year\" in \"" + FDir.file("my data/shop.db") +
                        "\", row 1: column \"Year\" holds the real number 2024.0, which cannot name a member"),
              std::string::npos);
}

TEST_F(CubeBuildSqliteTest, ErrorsNameTheFileTableAndRow) {
    const std::string db = FDir.file("my data/shop.db");
    struct Case {
        std::string facts, message;
    } const cases[] = {
        {"facts-sqlite nope.db good",
         "Facts table \"good\" in \"" + FDir.file("nope.db") + "\": the file does not exist"},
        {"facts-sqlite \"my data\" good", "the file does not exist or is not a file"},
        {"facts-sqlite junk.db good",
         "Facts table \"good\" in \"" + FDir.file("junk.db") + "\": cannot read the table (file is not a database)"},
        {"facts-sqlite \"my data/shop.db\" nope", "\": cannot read the table (no such table: nope)"},
        {"facts-sqlite \"my data/shop.db\" no_top",
         "Facts table \"no_top\" in \"" + db + "\": no column for measure \"Top\""},
        {"facts-sqlite \"my data/shop.db\" stranger", "column \"Extra\" is neither a level nor a measure"},
        {"facts-sqlite \"my data/shop.db\" null_level",
         "Facts table \"null_level\" in \"" + db + "\", row 2: column \"City\" is NULL"},
        {"facts-sqlite \"my data/shop.db\" blob", "\", row 1: column \"Top\" holds binary data"},
        {"facts-sqlite \"my data/shop.db\" bad_text", "\", row 3: \"abc\" is not a number (measure \"Top\")"},
        {"facts-sqlite \"my data/shop.db\" infinite", "\", row 4: column \"Revenue\" is not a finite number"},
        {"facts-sqlite \"my data/shop.db\" bad_name",
         "\", row 1: Dimension \"Place\", level \"City\": member name \"Bos.ton\""},
        {"facts-sqlite \"my data/shop.db\" latin1",
         "Facts table \"latin1\" in \"" + db + "\", row 2: column \"City\" holds text that is not UTF-8 (byte 0xFC)"},
        {"facts-sqlite \"my data/shop.db\" latin1_value",
         "\", row 3: column \"Top\" holds text that is not UTF-8 (byte 0xFC)"},
        {"facts-sqlite \"my data/shop.db\" nul_value", "\", row 3: \"1\\x002\" is not a number (measure \"Top\")"},
        {"facts-sqlite \"my data/shop.db\"", "line 7: expected \"facts-sqlite FILE TABLE\""},
        {"facts-sqlite \"my data/shop.db good", "line 7: the database file name is not closed"},
        {"facts-sqlite junk.db good\nfacts facts.csv", "line 8: the facts are named twice"},
    };
    for (const Case& c : cases) {
        const std::string err = Error(std::string(kHead) + c.facts + "\n");
        EXPECT_NE(err.find(c.message), std::string::npos)
            << c.facts << "\n  expected: " << c.message << "\n  got: " << err;
    }
}

}  // namespace

// A view that runs without end, with rows or without, ends with an error
// naming the source: the work is bounded by a step budget and the facts by
// the memory allowed for them (both small here so that the test is quick).
TEST_F(CubeBuildSqliteTest, EndlessViewsAreStopped) {
    SourceLimits limits;
    limits.maxSteps = 2'000'000;
    limits.stepsPerRow = 100;
    limits.maxFactBytes = 1 << 20;
    const std::string source = "Facts table \"endless\" in \"" + FDir.file("my data/shop.db") + "\"";
    std::string e = Error(std::string(kHead) + "facts-sqlite \"my data/shop.db\" endless\n", limits);
    EXPECT_EQ(e.rfind(source + ", row ", 0), 0u) << e;
    EXPECT_NE(e.find("facts and their members fill the memory allowed for facts (1 MB)"), std::string::npos) << e;

    e = Error(std::string(kHead) + "facts-sqlite \"my data/shop.db\" silent\n", limits);
    EXPECT_NE(e.find("Facts table \"silent\""), std::string::npos) << e;
    EXPECT_NE(e.find("the source takes too much work"), std::string::npos) << e;

    // The same budget leaves an ordinary table alone, and so do the defaults.
    EXPECT_EQ(Build(std::string(kHead) + "facts-sqlite \"my data/shop.db\" good\n", limits)->factCount, 4u);
    EXPECT_EQ(Build(std::string(kHead) + "facts-sqlite \"my data/shop.db\" good\n")->factCount, 4u);
}

// The whole read, fact arrays as they grow, members and SQLite's own memory,
// stays inside the memory allowed: a child process whose address space is
// capped at what it uses plus that budget and a little more ends an endless
// view with the error, not with an allocation failure.
TEST_F(CubeBuildSqliteTest, EndlessViewsStayWithinTheirMemory) {
    constexpr size_t kBudget = size_t(96) << 20;
    for (const char* view : {"endless", "endless_members"}) {
        SCOPED_TRACE(view);
        const std::string description = std::string(kHead) + "facts-sqlite \"my data/shop.db\" " + view + "\n";
        cbtest::writeFile(FDir.file("cube.txt"), description);
        const pid_t child = ::fork();
        if (child == 0) {
            long pages = 0;
            std::FILE* f = std::fopen("/proc/self/statm", "r");
            if (!f || std::fscanf(f, "%ld", &pages) != 1) std::_Exit(10);
            std::fclose(f);
            const rlim_t now = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE));
            const rlimit cap{now + kBudget + (rlim_t(32) << 20), RLIM_INFINITY};
            if (::setrlimit(RLIMIT_AS, &cap) != 0) std::_Exit(11);
            SourceLimits limits;
            limits.maxFactBytes = kBudget;
            limits.maxSqliteBytes = 16 << 20;
            try {
                BuildCubeFromDescription(FDir.file("cube.txt"), limits);
                std::_Exit(12);
            } catch (const EOlapError& e) {
                std::_Exit(std::string(e.what()).find("fill the memory allowed for facts (96 MB)") != std::string::npos
                               ? 0
                               : 13);
            } catch (const std::bad_alloc&) {
                std::_Exit(14);  // past the cap: the promise broken
            }
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
        EXPECT_EQ(WEXITSTATUS(status), 0) << "10-13: no cap or another error; 14: out of memory";
    }
}
