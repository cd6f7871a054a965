// CREATE GLOBAL CUBE as the cube-copy wizard writes it, and the cubequery tool.
#include "olap/adomd/Adomd.h"
#include "olap/adomd/CellsetText.h"
#include "olap/engine/CubeFile.h"
#include "tests/common/TestSupport.h"
#include "tests/olap/MdxTestCube.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace cb::olap;

std::string LocalString(const std::string& path) {
    return "Data Source=\"" + path + "\";Provider=MSOLAP.2;";
}

// The statement with lines ending in a lone CR, a comma after the last measure.
std::string Statement(const std::string& name, const std::string& file, const std::string& source,
                      const std::vector<std::string>& measures, const std::vector<std::string>& dims) {
    std::string s = "CREATE GLOBAL CUBE [" + name + "] STORAGE '" + file + "' FROM [" + source + "]\r(\r";
    for (const auto& m : measures) s += "MEASURE [" + source + "]." + m + ",\r";
    for (size_t i = 0; i < dims.size(); ++i)
        s += "DIMENSION [" + source + "]." + dims[i] + (i + 1 < dims.size() ? ",\r" : "");
    return s + ")";
}

class MdxCreateCubeTest : public ::testing::Test {
protected:
    void SetUp() override {
        FSource = FDir.file("sales.cub");
        WriteCubeFile(*cbtest::MakeSalesCube(), FSource);
    }

    std::string Query(const std::string& file, const std::string& mdx) {
        Cellset cs;
        cs.SetActiveConnection(LocalString(file));
        cs.Open(mdx);
        return CellsetToText(cs);
    }

    size_t FileCount() const {
        size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(FDir.path())) ++n;
        return n;
    }

    cbtest::TempDir FDir;
    std::string FSource;
};

TEST_F(MdxCreateCubeTest, SubsetOpensWithTheSameTotals) {
    std::string copy = FDir.file("copy.cub");
    Cellset cs;
    cs.SetActiveConnection(LocalString(FSource));
    cs.Open(Statement("Copy", copy, "Sales", {"[Revenue]", "[Cost]"}, {"[Customer]", "[Time]"}), cs.ActiveConnection());
    EXPECT_EQ(cs.State(), Cellset::adStateClosed);

    Catalog catalog;
    catalog.SetActiveConnection(LocalString(copy));
    auto cube = catalog.CubeDefs().Item(0);
    EXPECT_EQ(cube->Name(), "Copy");
    auto dims = cube->Dimensions();
    ASSERT_EQ(dims.Count(), 3);
    EXPECT_EQ(dims.Item(1)->UniqueName(), "[Customer]");
    EXPECT_EQ(dims.Item(2)->UniqueName(), "[Time]");
    // Margin and Margin Share use only kept measures; Avg Price needs Units.
    std::vector<std::string> measures;
    for (const auto& m : dims.Item(0)->Hierarchies().Item(0)->Levels().Item(0)->Members())
        measures.push_back(m->Name());
    EXPECT_EQ(measures, (std::vector<std::string>{"Revenue", "Cost", "Margin", "Margin Share"}));

    const std::string body = "SELECT {[Customer].[All], [Customer].[Country].members, [Customer].[City].members} ON "
                             "ROWS, {[Time].[Year].members}*{[Measures].[Revenue],[Measures].[Margin Share]} ON "
                             "COLUMNS FROM ";
    EXPECT_EQ(Query(copy, body + "[Copy]"), Query(FSource, body + "[Sales]"));
}

TEST_F(MdxCreateCubeTest, MeasuresOnly) {
    std::string copy = FDir.file("totals.cub");
    Cellset cs;
    cs.SetActiveConnection(LocalString(FSource));
    cs.Open(Statement("Totals", copy, "Sales", {"[Revenue]", "[Units]"}, {}));
    EXPECT_EQ(Query(copy, "SELECT {[Measures].members} ON COLUMNS, {} ON ROWS FROM [Totals]"),
              "COLUMNS 1\n[Measures].[Revenue]\n[Measures].[Units]\nROWS 0\n");
    Cellset totals;
    totals.SetActiveConnection(LocalString(copy));
    totals.Open("SELECT {[Measures].[Revenue], [Measures].[Units], [Measures].[Avg Price]} ON COLUMNS FROM [Totals]");
    EXPECT_EQ(totals.Item(0, 0)->FormattedValue(), "1,156.00");
    EXPECT_EQ(totals.Item(1, 0)->FormattedValue(), "51");
    EXPECT_EQ(totals.Item(2, 0)->FormattedValue(), "22.67");
}

TEST_F(MdxCreateCubeTest, FailuresLeaveNoFile) {
    std::string copy = FDir.file("copy.cub");
    // Where the source cube's name stands on line 1.
    const std::string at =
        "at line 1, column " + std::to_string(Statement("Copy", copy, "Sales", {}, {}).find("[Sales]") + 1);
    const std::string oneLine = "CREATE GLOBAL CUBE [Copy] STORAGE '" + copy +
                                "' FROM [Sales] (MEASURE [Sales].[Revenue] DIMENSION [Sales].[Time])";
    struct Case {
        std::string statement;
        std::string message;
    } cases[] = {
        {Statement("Copy", copy, "Sales", {"[Profit]"}, {"[Customer]"}),
         "Unknown measure [Measures].[Profit] at line 3, column 1"},
        {Statement("Copy", copy, "Sales", {"[Margin]"}, {}),
         "The calculated member [Measures].[Margin] cannot be copied as a stored measure at line 3, column 1"},
        {Statement("Copy", copy, "Sales", {"[Revenue]"}, {"[Customer]", "[Planet]"}),
         "Unknown dimension [Planet] at line 5, column 1"},
        {Statement("Copy", copy, "Sales", {"[Revenue]"}, {"[Time]", "[Time]"}),
         "The dimension [Time] is listed twice at line 5, column 1"},
        {Statement("Copy", copy, "Other", {"[Revenue]"}, {}), "Unknown cube [Other] (the open cube is [Sales]) " + at},
        {Statement("Copy", copy, "Sales", {}, {"[Time]"}), "The new cube needs at least one measure " + at},
        {oneLine, "Syntax error at line 1, column " + std::to_string(oneLine.find("DIMENSION") + 1) +
                      ": expected ',' or ')' but found 'DIMENSION'"},
    };
    Cellset cs;
    cs.SetActiveConnection(LocalString(FSource));
    const size_t before = FileCount();
    for (const Case& c : cases) {
        try {
            cs.Open(c.statement);
            ADD_FAILURE() << "no error for " << c.statement;
        } catch (const EOlapError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
        EXPECT_FALSE(std::filesystem::exists(copy));
    }
    // A folder that does not exist: the write fails, nothing is left.
    std::string missing = FDir.file("no such folder/copy.cub");
    EXPECT_THROW(cs.Open(Statement("Copy", missing, "Sales", {"[Revenue]"}, {})), EOlapError);
    EXPECT_EQ(FileCount(), before);
}

// A statement alone must not destroy a file: a STORAGE naming a file that is
// not a cube file, or the cube being queried (under any name), is refused
// and the file stays; an existing cube file is replaced.
TEST_F(MdxCreateCubeTest, StorageNeverReplacesOtherFilesOrTheOpenCube) {
    const std::string notes = FDir.file("notes.txt"), empty = FDir.file("empty.cub"), alias = FDir.file("alias.cub");
    cbtest::writeFile(notes, "my notes");
    cbtest::writeFile(empty, "");
    std::filesystem::create_symlink(FSource, alias);
    const std::string source = cbtest::readFile(FSource);
    Cellset cs;
    cs.SetActiveConnection(LocalString(FSource));
    struct Case {
        std::string storage, message;
    };
    const Case cases[] = {
        {notes, "refusing to replace a file that is not a cube file"},
        {empty, "refusing to replace a file that is not a cube file"},
        {FSource, "over its own input"},
        {alias, "over its own input"},
        {FDir.path().string(), "is a folder"},
    };
    for (const Case& c : cases) {
        try {
            cs.Open(Statement("Copy", c.storage, "Sales", {"[Revenue]"}, {"[Time]"}));
            ADD_FAILURE() << c.storage << " was replaced";
        } catch (const EOlapError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(cbtest::readFile(notes), "my notes");
    EXPECT_EQ(cbtest::readFile(empty), "");
    EXPECT_EQ(cbtest::readFile(FSource), source);

    const std::string copy = FDir.file("copy.cub");
    cs.Open(Statement("Copy", copy, "Sales", {"[Revenue]", "[Units]"}, {"[Time]"}));
    cs.Open(Statement("Copy", copy, "Sales", {"[Units]"}, {"[Time]"}));  // a cube file: replaced
    EXPECT_EQ(Query(copy, "SELECT {[Measures].[Units]} ON COLUMNS FROM [Copy]"),
              "COLUMNS 1\n[Measures].[Units]\nROWS 0\n() | 51\n");
}

TEST_F(MdxCreateCubeTest, CubeQueryTool) {
    const std::string tool = std::string(CB_BIN_DIR) + "/cubequery";
    std::string out;
    EXPECT_EQ(cbtest::runCommand("'" + tool + "' '" + FSource +
                                     "' 'SELECT {[Measures].[Units]} ON COLUMNS, {[Time].[Year].members} ON ROWS FROM "
                                     "[Sales]'",
                                 &out),
              0);
    EXPECT_EQ(out, "COLUMNS 1\n[Measures].[Units]\nROWS 1\n[Time].[All].[2023] | 28\n[Time].[All].[2024] | 23\n");
    out.clear();
    EXPECT_NE(cbtest::runCommand("'" + tool + "' '" + FSource +
                                     "' 'SELECT {[Time].[All].[1999]} ON COLUMNS FROM "
                                     "[Sales]' 2>'" +
                                     FDir.file("err.txt") + "'",
                                 &out),
              0);
    EXPECT_EQ(out, "");
    EXPECT_EQ(cbtest::readFile(FDir.file("err.txt")), "Unknown member [Time].[All].[1999] at line 1, column 9\n");
}

}  // namespace
