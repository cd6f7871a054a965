// Runs the MDX cases of tests/data/mdx/*.test against the Sales test cube.
//
// A file holds cases separated by blank lines; '#' starts a comment line.
// A case is "query" or "error", the statement's lines, "----", then the
// expected text: the cellset as CellsetToText writes it, or the exact error
// message.
#include "olap/adomd/Adomd.h"
#include "olap/adomd/CellsetText.h"
#include "tests/common/TestSupport.h"
#include "tests/olap/MdxTestCube.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

struct MdxCase {
    std::string file;
    int line = 0;
    bool expectError = false;
    std::string statement;
    std::string expected;
};

std::vector<MdxCase> ReadCases(const std::filesystem::path& path) {
    std::vector<MdxCase> cases;
    std::istringstream in(cbtest::readFile(path.string()));
    std::string line;
    int number = 0;
    enum {
        Between,
        Statement,
        Expected
    } state = Between;
    MdxCase current;
    auto finish = [&] {
        if (state == Expected)
            cases.push_back(current);
        else if (state == Statement)
            ADD_FAILURE() << path << ":" << current.line << ": case without ----";
        state = Between;
    };
    while (std::getline(in, line)) {
        ++number;
        if (state != Statement && !line.empty() && line[0] == '#') continue;
        if (state == Between) {
            if (line.empty()) continue;
            current = MdxCase{path.filename().string(), number, line == "error", {}, {}};
            if (line != "query" && line != "error")
                ADD_FAILURE() << path << ":" << number << ": expected 'query' or 'error', found " << line;
            state = Statement;
        } else if (state == Statement) {
            if (line == "----")
                state = Expected;
            else
                current.statement += (current.statement.empty() ? "" : "\n") + line;
        } else if (line.empty()) {
            finish();
        } else {
            current.expected += line + "\n";
        }
    }
    finish();
    return cases;
}

TEST(MdxQuery, DataDrivenCases) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(CB_TEST_DATA_DIR) + "/mdx")) {
        if (entry.path().extension() == ".test") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());
    auto connection = cbtest::SalesConnection();
    int total = 0;
    for (const auto& file : files) {
        for (const MdxCase& c : ReadCases(file)) {
            ++total;
            SCOPED_TRACE(c.file + ":" + std::to_string(c.line) + "\n" + c.statement);
            cb::olap::Cellset cellset;
            std::string actual;
            bool failed = false;
            try {
                cellset.Open(c.statement, connection);
                actual = cb::olap::CellsetToText(cellset);
            } catch (const cb::olap::EOlapError& e) {
                failed = true;
                actual = e.Message() + "\n";
            }
            EXPECT_EQ(failed, c.expectError) << actual;
            EXPECT_EQ(actual, c.expected);
        }
    }
    EXPECT_GT(total, 0);
}

}  // namespace
