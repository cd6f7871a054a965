// Hostile and unlucky files given to the cube reader and the cube builder:
// FIFOs, padded files, WAL databases, read-only folders, odd file names,
// out-of-range fact values and huge format strings.
#include "olap/adomd/Adomd.h"
#include "olap/adomd/ConnectionString.h"
#include "olap/description/CubeDescription.h"
#include "olap/engine/CubeFile.h"
#include "olap/engine/OlapError.h"
#include "tests/common/TestCubes.h"
#include "tests/common/TestSupport.h"
#include "tests/olap/MdxTestCube.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace cb::olap;

namespace {

std::string ErrorOf(const std::function<void()>& fn) {
    try {
        fn();
        return {};
    } catch (const std::exception& e) {
        return e.what();
    }
}

std::string Sqlite(const std::string& db, const std::string& sql) {
    std::string out;
    EXPECT_EQ(cbtest::runCommand("sqlite3 '" + db + "' \"" + sql + "\" 2>&1", &out), 0) << sql << out;
    return out;
}

std::string Description(const std::string& facts) {
    return "cube Shop\ndimension Place: City\nmeasure Revenue: sum \"#,##0.00\"\n" + facts + "\n";
}

// Replaces value 0 of measure 0's first chunk, with a matching checksum, so
// that only the value itself is wrong.
void PatchFirstValue(const std::string& path, double value) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db,
                                 "SELECT data FROM fact_columns WHERE kind = 'value' AND position = 0 AND chunk = 0",
                                 -1, &st, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    std::string data(static_cast<const char*>(sqlite3_column_blob(st, 0)), size_t(sqlite3_column_bytes(st, 0)));
    sqlite3_finalize(st);
    std::memcpy(data.data(), &value, sizeof value);
    ASSERT_EQ(sqlite3_prepare_v2(db,
                                 "UPDATE fact_columns SET data = ?, checksum = ? WHERE kind = 'value' AND position = 0 "
                                 "AND chunk = 0",
                                 -1, &st, nullptr),
              SQLITE_OK);
    sqlite3_bind_blob(st, 1, data.data(), int(data.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(st, 2, int64_t(FactChunkChecksum(data.data(), data.size())));
    EXPECT_EQ(sqlite3_step(st), SQLITE_DONE);
    sqlite3_finalize(st);
    sqlite3_close(db);
}

class CubeFileSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        FCube = FDir.file("tiny.cub");
        WriteCubeFile(*MakeTinyCube(), FCube);
    }
    cbtest::TempDir FDir;
    std::string FCube;
};

}  // namespace

// A FIFO where a cube, a description, a facts CSV or a facts database is
// expected gives a clear error at once instead of hanging.
TEST_F(CubeFileSafetyTest, FifosAreRefusedWithoutHanging) {
    const std::string fifo = FDir.file("p");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    cbtest::writeFile(FDir.file("csv.txt"), Description("facts p"));
    cbtest::writeFile(FDir.file("db.txt"), Description("facts-sqlite p facts"));
    struct Case {
        const char* what;
        std::function<void()> run;
        std::string message;
    };
    const Case cases[] = {
        {"cube", [&] { ReadCubeFile(fifo); }, "Cube file \"" + fifo + "\": not a file (a FIFO, device or socket)"},
        {"connection", [&] { Connection::Open("Data Source=\"" + fifo + "\""); }, "not a file (a FIFO"},
        {"description", [&] { BuildCubeFromDescription(fifo); }, "\"" + fifo + "\": not a regular file"},
        {"facts CSV", [&] { BuildCubeFromDescription(FDir.file("csv.txt")); }, "\"" + fifo + "\": not a regular file"},
        {"facts database", [&] { BuildCubeFromDescription(FDir.file("db.txt")); },
         "Facts table \"facts\" in \"" + fifo + "\": the file does not exist or is not a file (not a regular file)"},
    };
    for (const Case& c : cases) {
        const std::string e = ErrorOf(c.run);
        EXPECT_NE(e.find(c.message), std::string::npos) << c.what << ": " << e;
    }
    EXPECT_FALSE(IsCubeFile(fifo));
}

// Tables that claim tens of millions of facts in a file padded to 3 GB with
// a hole: refused from the stored chunk lengths before anything is
// allocated for the facts.
TEST_F(CubeFileSafetyTest, ClaimedFactCountsMustBeBackedByStoredChunks) {
    Sqlite(FCube, "UPDATE cube SET fact_count = 60000000");
    ASSERT_EQ(::truncate(FCube.c_str(), off_t(3) << 30), 0);
    const std::string e = ErrorOf([&] { ReadCubeFile(FCube); });
    EXPECT_NE(e.find("has the wrong size (32 bytes stored where 60000000 facts need 240000000)"), std::string::npos)
        << e;
}

// A WAL database is refused with a clear message, and a cube in a folder
// that cannot be written opens without creating anything beside it (run
// as an unprivileged user: root ignores the folder's mode).
TEST_F(CubeFileSafetyTest, CubesOpenStrictlyReadOnly) {
    const std::string wal = FDir.file("wal.cub");
    std::filesystem::copy_file(FCube, wal);
    EXPECT_EQ(Sqlite(wal, "PRAGMA journal_mode = WAL"), "wal\n");
    const std::string e = ErrorOf([&] { ReadCubeFile(wal); });
    EXPECT_NE(e.find("write-ahead logging"), std::string::npos) << e;
    EXPECT_NE(e.find("PRAGMA journal_mode=DELETE"), std::string::npos) << e;

    const std::filesystem::path locked = FDir.path() / "locked";
    std::filesystem::create_directory(locked);
    std::filesystem::copy_file(FCube, locked / "tiny.cub");
    std::filesystem::copy_file(wal, locked / "wal.cub");
    cbtest::giveToNobody(FDir.path());
    ::chmod(locked.c_str(), 0555);
    const int rc = cbtest::runAsNobody([&] {
        if (ReadCubeFile((locked / "tiny.cub").string())->factCount != 8) return 1;
        if (ErrorOf([&] { ReadCubeFile((locked / "wal.cub").string()); }).find("write-ahead") == std::string::npos)
            return 2;
        return 0;
    });
    ::chmod(locked.c_str(), 0755);
    EXPECT_EQ(rc, 0);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(locked)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"tiny.cub", "wal.cub"}));
}

// File names are plain names: "file:uri.cub" is that file, not the URI that
// names "uri.cub", and names with quotes, ";", "=" or "?" round-trip
// through the connection string.
TEST_F(CubeFileSafetyTest, OddFileNamesOpenTheFileTheyName) {
    const std::string oldDir = std::filesystem::current_path();
    std::filesystem::current_path(FDir.path());
    WriteCubeFile(*cbtest::MakeSalesCube(), "uri.cub");
    WriteCubeFile(*MakeTinyCube(), "file:uri.cub");
    const std::string name = ReadCubeFile("file:uri.cub")->name;
    const std::string viaConnection =
        Connection::Open("Data Source=" + QuoteConnectionStringValue("file:uri.cub"))->Cube()->name;
    std::filesystem::current_path(oldDir);
    EXPECT_EQ(name, "Tiny");
    EXPECT_EQ(viaConnection, "Tiny");

    for (const std::string odd : {"we\"ird.cub", "a;b=c.cub", "it's \"here\"?.cub", "50%#.cub"}) {
        const std::string path = FDir.file(odd);
        WriteCubeFile(*MakeTinyCube(), path);
        const std::string cs = "Data Source=" + QuoteConnectionStringValue(path) + ";Provider=MSOLAP.2;";
        EXPECT_EQ(ParseConnectionString(cs).Get("Data Source"), path) << cs;
        EXPECT_EQ(Connection::Open(cs)->FileName(), path);
    }
    EXPECT_EQ(QuoteConnectionStringValue("plain name.cub"), "\"plain name.cub\"");
}

// One rule for fact values, whoever meets them: a null, or a number of at
// most 1e15 in magnitude. The builder, the writer and the reader agree.
TEST_F(CubeFileSafetyTest, FactValuesFollowOneRule) {
    for (double bad : {HUGE_VAL, -HUGE_VAL, 1e308, -2e15}) {
        const std::string path = FDir.file("bad.cub");
        std::filesystem::copy_file(FCube, path, std::filesystem::copy_options::overwrite_existing);
        PatchFirstValue(path, bad);
        const std::string e = ErrorOf([&] { ReadCubeFile(path); });
        EXPECT_NE(e.find("is not a number of at most 1e15 in magnitude"), std::string::npos) << bad << ": " << e;

        auto cube = MakeTinyCube();
        cube->factValues[0][3] = bad;
        EXPECT_NE(ErrorOf([&] { WriteCubeFile(*cube, path); }).find("at most 1e15"), std::string::npos) << bad;
    }
    for (const char* text : {"1e308", "-1e16", "1000000000000001"}) {
        cbtest::writeFile(FDir.file("f.csv"), std::string("City,Revenue\nBoston,") + text + "\n");
        cbtest::writeFile(FDir.file("d.txt"), Description("facts f.csv"));
        const std::string e = ErrorOf([&] { BuildCubeFromDescription(FDir.file("d.txt")); });
        EXPECT_NE(e.find("line 2: "), std::string::npos) << e;
        EXPECT_NE(e.find("is out of range (measure \"Revenue\"; values are at most 1e15 in magnitude)"),
                  std::string::npos)
            << e;
    }
    // The limits themselves and nulls pass.
    PatchFirstValue(FCube, -1e15);
    EXPECT_EQ(ReadCubeFile(FCube)->factValues[0][0], -1e15);
    PatchFirstValue(FCube, std::nan(""));
    EXPECT_TRUE(std::isnan(ReadCubeFile(FCube)->factValues[0][0]));
}

// Format strings are capped (255 characters) when a cube is built and when
// one is read, so that no query formats a cell with a huge picture.
TEST_F(CubeFileSafetyTest, FormatStringsAreCapped) {
    const std::string longFormat(256, '#');
    Sqlite(FCube, "UPDATE measures SET format_string = printf('%.256c', '#') WHERE ordinal = 1");
    EXPECT_NE(ErrorOf([&] { ReadCubeFile(FCube); }).find("format string of measure \"Quantity\" is longer than 255"),
              std::string::npos);

    cbtest::writeFile(FDir.file("f.csv"), "City,Revenue\nBoston,1\n");
    cbtest::writeFile(FDir.file("d.txt"),
                      "cube Shop\ndimension Place: City\nmeasure Revenue: sum \"" + longFormat + "\"\nfacts f.csv\n");
    EXPECT_NE(ErrorOf([&] { BuildCubeFromDescription(FDir.file("d.txt")); }).find("is longer than 255"),
              std::string::npos);
    cbtest::writeFile(FDir.file("d.txt"), "cube Shop\ndimension Place: City\nmeasure Revenue: sum \"" +
                                              longFormat.substr(1) + "\"\nfacts f.csv\n");
    EXPECT_EQ(BuildCubeFromDescription(FDir.file("d.txt"))->measures[0].formatString.size(), 255u);
}
