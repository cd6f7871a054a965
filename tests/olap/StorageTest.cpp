#include "olap/engine/CubeCheck.h"
#include "olap/engine/CubeFile.h"
#include "olap/engine/OlapError.h"
#include "olap/engine/SampleCube.h"
#include "olap/engine/WorkerPool.h"
#include "tests/common/TestCubes.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

using namespace cb::olap;

namespace {

void ExpectSameCube(const CubeData& a, const CubeData& b) {
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.lastDataUpdate, b.lastDataUpdate);
    ASSERT_EQ(a.dimensions.size(), b.dimensions.size());
    for (size_t d = 0; d < a.dimensions.size(); ++d) {
        const auto& da = a.dimensions[d];
        const auto& db = b.dimensions[d];
        EXPECT_EQ(da.uniqueName, db.uniqueName);
        ASSERT_EQ(da.levels.size(), db.levels.size());
        for (size_t l = 0; l < da.levels.size(); ++l) {
            EXPECT_EQ(da.levels[l].uniqueName, db.levels[l].uniqueName);
            EXPECT_EQ(da.levels[l].members, db.levels[l].members);
        }
        ASSERT_EQ(da.members.size(), db.members.size());
        for (size_t i = 0; i < da.members.size(); ++i) {
            EXPECT_EQ(da.members[i].uniqueName, db.members[i].uniqueName);
            EXPECT_EQ(da.members[i].caption, db.members[i].caption);
            EXPECT_EQ(da.members[i].parent, db.members[i].parent);
            EXPECT_EQ(da.members[i].subtreeEnd, db.members[i].subtreeEnd);
            EXPECT_EQ(da.members[i].children, db.members[i].children);
        }
    }
    ASSERT_EQ(a.measures.size(), b.measures.size());
    for (size_t m = 0; m < a.measures.size(); ++m) {
        EXPECT_EQ(a.measures[m].uniqueName, b.measures[m].uniqueName);
        EXPECT_EQ(a.measures[m].aggregation, b.measures[m].aggregation);
        EXPECT_EQ(a.measures[m].formatString, b.measures[m].formatString);
    }
    ASSERT_EQ(a.calculatedMembers.size(), b.calculatedMembers.size());
    for (size_t c = 0; c < a.calculatedMembers.size(); ++c) {
        EXPECT_EQ(a.calculatedMembers[c].uniqueName, b.calculatedMembers[c].uniqueName);
        EXPECT_EQ(a.calculatedMembers[c].expression, b.calculatedMembers[c].expression);
        EXPECT_EQ(a.calculatedMembers[c].formatString, b.calculatedMembers[c].formatString);
    }
    ASSERT_EQ(a.factCount, b.factCount);
    EXPECT_EQ(a.factKeys, b.factKeys);
    ASSERT_EQ(a.factValues.size(), b.factValues.size());
    for (size_t m = 0; m < a.factValues.size(); ++m)
        for (size_t f = 0; f < a.factCount; ++f) {
            double x = a.factValues[m][f], y = b.factValues[m][f];
            ASSERT_TRUE((std::isnan(x) && std::isnan(y)) || x == y) << "measure " << m << " fact " << f;
        }
}

std::string Sqlite(const std::string& db, const std::string& sql) {
    std::string out;
    EXPECT_EQ(cbtest::runCommand("sqlite3 -separator '|' '" + db + "' \"" + sql + "\" 2>&1", &out), 0) << sql << out;
    return out;
}

// The error text of reading path, or "" when it reads.
std::string ReadError(const std::string& path) {
    try {
        ReadCubeFile(path);
        return {};
    } catch (const EOlapError& e) {
        return e.what();
    }
}

}  // namespace

TEST(StorageTest, TinyCubeRoundTripAndLayout) {
    cbtest::TempDir dir;
    auto cube = MakeTinyCube();
    const auto& geo = cube->dimensions[0];
    EXPECT_EQ(geo.members[0].uniqueName, "[Geography].[All]");
    EXPECT_EQ(geo.members[1].uniqueName, "[Geography].[All].[USA]");
    EXPECT_EQ(geo.members[2].uniqueName, "[Geography].[All].[USA].[Boston]");
    EXPECT_EQ(geo.levels[2].uniqueName, "[Geography].[City]");
    EXPECT_EQ(geo.members[1].subtreeEnd, 4u);
    EXPECT_EQ(cube->measures[3].uniqueName, "[Measures].[Low Price]");

    const std::string path = dir.file("tiny.cub");
    WriteCubeFile(*cube, path);
    ExpectSameCube(*cube, *ReadCubeFile(path));
}

TEST(StorageTest, SampleCubeRoundTrip) {
    cbtest::TempDir dir;
    auto cube = MakeSampleCube(5000, 7);
    const std::string path = dir.file("sample.cub");
    WriteCubeFile(*cube, path);
    ExpectSameCube(*cube, *ReadCubeFile(path));
}

TEST(StorageTest, IndependentReaderSeesTheSchema) {
    cbtest::TempDir dir;
    auto cube = MakeTinyCube();
    const std::string path = dir.file("tiny.cub");
    WriteCubeFile(*cube, path);
    EXPECT_EQ(Sqlite(path, "PRAGMA application_id; PRAGMA user_version"), "1413698882\n1\n");
    EXPECT_EQ(Sqlite(path, "SELECT name, last_data_update, fact_count FROM cube"), "Tiny|2024-01-02 03:04:05|8\n");
    EXPECT_EQ(Sqlite(path, "SELECT depth, name FROM levels WHERE dimension = 0 ORDER BY depth"),
              "0|(All)\n1|Country\n2|City\n");
    EXPECT_EQ(Sqlite(path, "SELECT id, ifnull(parent, '-'), depth, name FROM members WHERE dimension = 0 ORDER BY id"),
              "0|-|0|All\n1|0|1|USA\n2|1|2|Boston\n3|1|2|Seattle\n4|0|1|France\n5|4|2|Paris\n6|4|2|Lyon\n"
              "7|0|1|Japan\n8|7|2|Tokyo\n");
    EXPECT_EQ(Sqlite(path, "SELECT name, aggregation, format_string FROM measures ORDER BY ordinal"),
              "Sales|sum|#,##0.00\nQuantity|sum|#,##0\nOrders|count|#,##0\nLow Price|min|#,##0.00\n"
              "High Price|max|#,##0.00\n");
    EXPECT_EQ(Sqlite(path, "SELECT name, expression FROM calculated_members"),
              "Average Sale|[Measures].[Sales] / [Measures].[Orders]\n");
    // Keys of the geography column: Boston x3, Seattle x2, Paris x2, Lyon, as 32-bit little-endian.
    EXPECT_EQ(Sqlite(path, "SELECT hex(data) FROM fact_columns WHERE kind = 'key' AND position = 0"),
              "020000000200000002000000030000000300000005000000050000000600000"
              "0\n");
    // Sales of the first fact, 100.0 as a little-endian double.
    EXPECT_EQ(Sqlite(path, "SELECT hex(substr(data, 1, 8)) FROM fact_columns WHERE kind = 'value' AND position = 0"),
              "0000000000005940\n");
}

TEST(StorageTest, DamagedFilesGiveErrors) {
    cbtest::TempDir dir;
    const std::string good = dir.file("good.cub");
    WriteCubeFile(*MakeTinyCube(), good);
    struct Case {
        const char* sql;
        const char* message;
    };
    const Case cases[] = {
        {"PRAGMA application_id = 7", "not a cube file"},
        {"PRAGMA user_version = 2", "unsupported format version 2"},
        {"DROP TABLE measures", "table \"measures\" is missing"},
        {"INSERT INTO cube SELECT * FROM cube", "more than one row"},
        {"DELETE FROM cube", "cube table is empty"},
        {"UPDATE cube SET fact_count = 100000000", "does not fit"},
        {"UPDATE cube SET fact_count = 'many'", "fact count is not an integer"},
        {"UPDATE members SET parent = 0 WHERE dimension = 0 AND id = 2", "not one level below its parent"},
        {"UPDATE members SET parent = 1 WHERE dimension = 0 AND id = 6", "out of hierarchy order"},
        {"UPDATE members SET parent = 9 WHERE dimension = 0 AND id = 2", "invalid parent"},
        {"DELETE FROM members WHERE dimension = 0 AND id = 8", "has no children but is not at the deepest level"},
        {"DELETE FROM members WHERE dimension = 0 AND id = 5", "not 0, 1, 2"},
        {"UPDATE members SET name = 'Bo.ston' WHERE dimension = 0 AND id = 2", "must not contain"},
        {"UPDATE members SET name = 'Seattle' WHERE dimension = 0 AND id = 2", "same name as a sibling"},
        {"UPDATE members SET dimension = 5 WHERE dimension = 1 AND id = 3", "member dimension 5 is out of range"},
        {"UPDATE levels SET name = 'Town' WHERE depth = 0", "must be named \"(All)\""},
        {"DELETE FROM levels WHERE dimension = 0 AND depth = 2", "invalid level depth"},
        {"UPDATE measures SET aggregation = 'avg' WHERE ordinal = 0", "unknown aggregation \"avg\""},
        {"UPDATE measures SET name = 'Sales' WHERE ordinal = 1", "appears twice"},
        {"UPDATE calculated_members SET expression = ''", "has no expression"},
        {"UPDATE dimensions SET name = 'Measures' WHERE ordinal = 0", "reserved"},
        {"DELETE FROM fact_columns WHERE kind = 'value' AND position = 1", "incomplete"},
        {"INSERT INTO fact_columns SELECT * FROM fact_columns WHERE kind = 'key' AND position = 0", "appears twice"},
        {"UPDATE fact_columns SET data = zeroblob(4) WHERE kind = 'key' AND position = 1", "wrong size"},
        {"UPDATE fact_columns SET data = randomblob(length(data)) WHERE kind = 'value' AND position = 0",
         "checksum mismatch"},
        {"UPDATE fact_columns SET position = 9 WHERE kind = 'value' AND position = 0", "position 9 is out of range"},
        {"UPDATE fact_columns SET kind = 'other' WHERE position = 0", "unknown fact column kind"},
        {"UPDATE cube SET chunk_size = 1 << 30", "chunk size 1073741824 is out of range"},
        // Columns computed while reading could ask for any amount of memory.
        {"ALTER TABLE members RENAME TO m0; CREATE TABLE members(dimension INTEGER, id INTEGER, parent INTEGER,"
         " depth INTEGER, stored TEXT, caption TEXT,"
         " name TEXT GENERATED ALWAYS AS (printf('%.*c', 50000000, 'x')) VIRTUAL);"
         " INSERT INTO members(dimension, id, parent, depth, stored, caption)"
         " SELECT dimension, id, parent, depth, name, caption FROM m0",
         "table \"members\" is not a plain table"},
        {"ALTER TABLE levels RENAME TO l0; CREATE VIRTUAL TABLE levels USING fts4(dimension, depth, name, caption)",
         "table \"levels\" is not a plain table"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.file("bad.cub");
        std::filesystem::copy_file(good, path, std::filesystem::copy_options::overwrite_existing);
        Sqlite(path, c.sql);
        const std::string err = ReadError(path);
        EXPECT_NE(err.find(c.message), std::string::npos) << c.sql << "\n  gave: " << err;
        EXPECT_NE(err.find("bad.cub"), std::string::npos) << err;
    }

    // Not cube files at all.
    const std::string empty = dir.file("empty.cub"), text = dir.file("text.cub"), other = dir.file("other.cub");
    cbtest::writeFile(empty, "");
    cbtest::writeFile(text, std::string("This is not a database, just some text.\n") + std::string(5000, 'x'));
    Sqlite(other, "CREATE TABLE t(a); INSERT INTO t VALUES(1)");
    EXPECT_NE(ReadError(empty).find("empty"), std::string::npos);
    EXPECT_NE(ReadError(text).find("text.cub"), std::string::npos);
    EXPECT_NE(ReadError(other).find("not a cube file"), std::string::npos);
    // A zipped copy (as Copy Cube writes one): the error says to unzip it.
    ASSERT_EQ(
        cbtest::runCommand("cd '" + dir.path().string() + "' && zip -q copy.zip good.cub && cp copy.zip zipped.cub"),
        0);
    for (const char* name : {"copy.zip", "zipped.cub"})
        EXPECT_NE(ReadError(dir.file(name)).find(": a zip archive, not a cube file; unzip it first"), std::string::npos)
            << ReadError(dir.file(name));
    EXPECT_NE(ReadError(dir.file("missing.cub")).find("does not exist"), std::string::npos);
    EXPECT_NE(ReadError(dir.path().string()).find("not a file"), std::string::npos);
}

TEST(StorageTest, TruncatedAndFlippedFilesNeverCrash) {
    cbtest::TempDir dir;
    const std::string good = dir.file("good.cub");
    WriteCubeFile(*MakeSampleCube(3000, 3), good);
    const std::string bytes = cbtest::readFile(good);
    const std::string path = dir.file("damaged.cub");
    for (size_t cut : {size_t(1), size_t(100), size_t(1000), size_t(4096), size_t(65536), size_t(65537),
                       bytes.size() / 2, bytes.size() - 65536, bytes.size() - 1}) {
        cbtest::writeFile(path, bytes.substr(0, cut));
        EXPECT_FALSE(ReadError(path).empty()) << "cut at " << cut;
    }
    // A flipped byte is either noticed or harmless (unused space, a changed
    // caption); never a crash or another kind of exception.
    size_t noticed = 0, total = 0;
    for (size_t at = 16; at < bytes.size(); at += bytes.size() / 97 + 1) {
        std::string damaged = bytes;
        damaged[at] = char(damaged[at] ^ 0x5A);
        cbtest::writeFile(path, damaged);
        ++total;
        if (!ReadError(path).empty()) ++noticed;
    }
    EXPECT_GT(noticed, 0u) << total;
}

TEST(StorageTest, WriteRefusesBadCubesAndKeepsTheOldFile) {
    cbtest::TempDir dir;
    const std::string path = dir.file("cube.cub");
    WriteCubeFile(*MakeTinyCube(), path);
    const std::string before = cbtest::readFile(path);
    using Edit = void (*)(CubeData&);
    struct Case {
        const char* what;
        Edit edit;
        const char* message;
    };
    const Case cases[] = {
        {"cube name with a dot", [](CubeData& c) { c.name = "a.b"; }, "cube name \"a.b\""},
        {"empty cube name", [](CubeData& c) { c.name = ""; }, "cube name is empty"},
        {"dimension name with [", [](CubeData& c) { c.dimensions[0].name = "[Geo"; }, "must not contain"},
        {"level name with ]", [](CubeData& c) { c.dimensions[0].levels[1].name = "Co]untry"; }, "must not contain"},
        {"member name with .", [](CubeData& c) { c.dimensions[1].members[1].name = "Bi.kes"; }, "must not contain"},
        {"member name with newline", [](CubeData& c) { c.dimensions[1].members[1].name = "Bi\nkes"; },
         "control characters"},
        {"measure name with [", [](CubeData& c) { c.measures[0].name = "[Sales]"; }, "must not contain"},
        {"calculated name with .", [](CubeData& c) { c.calculatedMembers[0].name = "Avg.Sale"; }, "must not contain"},
        {"calculated clashes with a measure", [](CubeData& c) { c.calculatedMembers[0].name = "Sales"; },
         "appears twice"},
        {"two dimensions of one name", [](CubeData& c) { c.dimensions[1].name = c.dimensions[0].name; },
         "appears twice"},
        {"fact on a non-leaf member", [](CubeData& c) { c.factKeys[0][3] = 1; }, "not a leaf member"},
        {"fact on a missing member", [](CubeData& c) { c.factKeys[1][0] = 99; }, "not a leaf member"},
        {"short value column", [](CubeData& c) { c.factValues[2].pop_back(); }, "holds 7 values for 8 facts"},
        {"missing key column", [](CubeData& c) { c.factKeys.pop_back(); }, "fact key columns"},
        {"no measures",
         [](CubeData& c) {
             c.measures.clear();
             c.factValues.clear();
         },
         "no measures"},
    };
    for (const Case& c : cases) {
        auto cube = MakeTinyCube();
        c.edit(*cube);
        try {
            WriteCubeFile(*cube, path);
            ADD_FAILURE() << c.what << ": written";
        } catch (const EOlapError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << ": " << e.what();
        }
    }
    EXPECT_EQ(cbtest::readFile(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "temporary files left";
    EXPECT_THROW(WriteCubeFile(*MakeTinyCube(), dir.file("no/such/folder/cube.cub")), EOlapError);
}

// A cube large enough to be read on several threads, each with a connection
// of its own: the same facts on any number of threads, and a damaged chunk
// (any of them) still refuses the file.
TEST(StorageTest, LargeCubesReadInParallelAsWritten) {
    cbtest::TempDir dir;
    const std::string path = dir.file("large.cub");
    auto cube = MakeSampleCube(600'000, 3);
    WriteCubeFile(*cube, path);
    for (size_t threads : {1, 3, 8}) {
        SetEngineThreadCount(threads);
        ExpectSameCube(*cube, *ReadCubeFile(path));
    }
    Sqlite(path, "UPDATE fact_columns SET checksum = checksum + 1 WHERE kind = 'value' AND position = 2");
    Sqlite(path, "UPDATE fact_columns SET checksum = checksum + 1 WHERE kind = 'key' AND position = 3");
    for (size_t threads : {1, 8}) {
        SetEngineThreadCount(threads);
        EXPECT_NE(ReadError(path).find("fact chunk 0 of key column 3 is damaged (checksum mismatch)"),
                  std::string::npos)
            << threads << " threads: " << ReadError(path);
    }
    SetEngineThreadCount(0);
}
