// CSV import checked against two independent readers of the same files:
// Python's csv module and LibreOffice (one conversion run for all files,
// read back with xlrd).
#include "grid/data/CsvImport.h"
#include "grid/ExtStringGrid.h"
#include "grid/data/CsvReader.h"
#include "tests/common/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

using namespace cb::grid;

namespace {

struct CsvFile {
    const char* name;
    const char* data;
};

// Every file uses the comma, so LibreOffice reads them all with one filter.
const CsvFile Files[] = {
    {"quotes", "a,\"b,c\",\"d\"\"e\"\r\n1,2,3\r\n\"\",\"x\"\"\",z\r\n"},
    {"newlines", "id,text\n1,\"line one\nline two\"\n2,\"tab\there, comma, too\"\n"},
    {"bom_unicode", "\xEF\xBB\xBFname,city\nJ\xC3\xBCrgen,Z\xC3\xBCrich\n\xE6\x9D\xB1\xE4\xBA\xAC,"
                    "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0\n"},
    {"empty_fields", "a,,c\n,,\n,x,\nlast,,\n"},
    {"ragged", "a\nb,c,d\ne,f\ng,h,i,j,k\n"},
    {"crlf_no_final_break", "h1,h2\r\nv1,v2\r\nv3,\"multi\r\nline\""},
};

// The grid's cells as rows of texts, trailing empty cells dropped.
QJsonArray GridRows(TExtStringGrid& grid) {
    QJsonArray rows;
    for (int r = 0; r < grid.RowCount(); ++r) {
        int last = grid.ColCount() - 1;
        while (last >= 0 && grid.Cells(last, r).empty()) --last;
        QJsonArray row;
        for (int c = 0; c <= last; ++c) row.append(QString::fromStdString(grid.Cells(c, r)));
        rows.append(row);
    }
    while (!rows.isEmpty() && rows.last().toArray().isEmpty()) rows.removeLast();
    return rows;
}

const char* Checker = R"PY(
import csv, json, sys, xlrd
out = {}
for name in sys.argv[2:]:
    with open(sys.argv[1] + "/" + name + ".csv", newline="", encoding="utf-8-sig") as f:
        py = [r for r in csv.reader(f)]
    book = xlrd.open_workbook(sys.argv[1] + "/lo/" + name + ".xls")
    sh = book.sheet_by_index(0)
    lo = []
    for r in range(sh.nrows):
        row = []
        for c in range(sh.ncols):
            v = sh.cell_value(r, c)
            if isinstance(v, float) and v == int(v): v = str(int(v))
            row.append(str(v))
        lo.append(row)
    def norm(rows):
        rows = [[c.replace("\r\n", "\n") for c in r] for r in rows]
        rows = [r[:max([i + 1 for i, c in enumerate(r) if c] or [0])] for r in rows]
        while rows and not rows[-1]: rows.pop()
        return rows
    out[name] = {"python": norm(py), "lo": norm(lo)}
print(json.dumps(out))
)PY";

QJsonArray WithoutCR(QJsonArray rows) {
    QJsonArray out;
    for (const auto& row : rows) {
        QJsonArray r;
        for (const auto& c : row.toArray()) r.append(c.toString().replace("\r\n", "\n"));
        out.append(r);
    }
    return out;
}

}  // namespace

TEST(CsvImportTest, AgreesWithPythonAndLibreOffice) {
    cbtest::TempDir dir;
    std::string names;
    std::string paths;
    for (const auto& f : Files) {
        cbtest::writeFile(dir.file(std::string(f.name) + ".csv"), f.data);
        names += std::string(" ") + f.name;
        paths += " '" + dir.file(std::string(f.name) + ".csv") + "'";
    }
    // Columns 1 to 12 as text, so that LibreOffice keeps "1" as written.
    std::string formats;
    for (int c = 1; c <= 12; ++c) formats += (c > 1 ? "/" : "") + std::to_string(c) + "/2";
    std::string lo = "cd '" + dir.path().string() + "' && /usr/bin/soffice -env:UserInstallation=file://" +
                     dir.file("lo-profile") + " --headless --infilter='CSV:44,34,76,1," + formats +
                     "' --convert-to xls --outdir lo" + paths + " >/dev/null 2>&1";
    ASSERT_EQ(cbtest::runCommand(lo), 0) << lo;
    cbtest::writeFile(dir.file("check.py"), Checker);
    std::string json;
    ASSERT_EQ(cbtest::runCommand(
                  "/usr/bin/python3 '" + dir.file("check.py") + "' '" + dir.path().string() + "'" + names, &json),
              0);
    QJsonObject expected = QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
    ASSERT_FALSE(expected.isEmpty()) << json;

    for (const auto& f : Files) {
        SCOPED_TRACE(f.name);
        TExtStringGrid grid;
        grid.SetColCount(2);
        grid.SetRowCount(2);
        grid.SetCells(1, 1, "old");
        ImportCSV(grid, dir.file(std::string(f.name) + ".csv"), false);
        QJsonArray ours = WithoutCR(GridRows(grid));
        QJsonObject theirs = expected[f.name].toObject();
        EXPECT_EQ(ours, theirs["python"].toArray()) << QJsonDocument(ours).toJson().toStdString()
                                                    << QJsonDocument(theirs["python"].toArray()).toJson().toStdString();
        EXPECT_EQ(ours, theirs["lo"].toArray()) << QJsonDocument(ours).toJson().toStdString()
                                                << QJsonDocument(theirs["lo"].toArray()).toJson().toStdString();
    }
}

TEST(CsvImportTest, KeepsLineBreaksAndCountsRows) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("a.csv"), "x,\"one\r\ntwo\"\r\ny,z\r\n");
    TExtStringGrid grid;
    grid.SetFixedFooters(1);
    ImportCSV(grid, dir.file("a.csv"), false);
    EXPECT_EQ(grid.Cells(1, 0), "one\r\ntwo");
    EXPECT_EQ(grid.Cells(1, 1), "z");
    EXPECT_EQ(grid.RowCount(), 2 + 1) << "records plus the footer row";
}

TEST(CsvImportTest, DelimiterGuess) {
    struct Case {
        const char* text;
        char expected;
    } cases[] = {
        {"a;b;c\n1;2;3\n", ';'},   {"a,b\n1,2\n", ','},    {"a\tb\tc\n1\t2\t3", '\t'},
        {"a|b\n1|2\n", '|'},       {"words\nonly\n", ','},  // none found: the comma
        {"x;y,z\n1;2,3;4\n", ','},
    };
    for (const auto& c : cases) EXPECT_EQ(GuessCsvDelimiter(c.text), c.expected) << c.text;
}

TEST(CsvImportTest, ErrorsLeaveTheGridAsItWas) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("bad.csv"), "a,b\nc,\"open\nstill open\nd,e\n");
    TExtStringGrid grid;
    grid.SetColCount(3);
    grid.SetRowCount(3);
    grid.SetCells(2, 2, "keep");
    try {
        ImportCSV(grid, dir.file("bad.csv"), false);
        FAIL() << "no error";
    } catch (const EExtGridError& e) {
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("bad.csv"), std::string::npos) << e.what();
    }
    EXPECT_EQ(grid.Cells(2, 2), "keep");
    EXPECT_EQ(grid.RowCount(), 3);
    try {
        ImportCSV(grid, dir.file("missing.csv"), false);
        FAIL() << "no error";
    } catch (const EExtGridError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.file("missing.csv"));
    }
    EXPECT_EQ(grid.Cells(2, 2), "keep");
}

TEST(CsvImportTest, ReplaceClearsAppendKeepsAboveTheFooter) {
    cbtest::TempDir dir;
    cbtest::writeFile(dir.file("two.csv"), "p,q\nr,s\n");
    TExtStringGrid grid;
    grid.SetColCount(4);
    grid.SetRowCount(4);
    grid.SetCells(3, 0, "wide old");
    ImportCSV(grid, dir.file("two.csv"), false);
    EXPECT_EQ(grid.Cells(3, 0), "") << "replace clears what was there";
    EXPECT_EQ(grid.RowCount(), 2);

    grid.SetFixedFooters(1);
    grid.SetRowCount(3);
    grid.SetCells(0, 2, "total");
    ImportCSV(grid, dir.file("two.csv"), true);
    ASSERT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Cells(0, 0), "p");
    EXPECT_EQ(grid.Cells(0, 2), "p") << "appended below the normal rows";
    EXPECT_EQ(grid.Cells(1, 3), "s");
    EXPECT_EQ(grid.Cells(0, 4), "total") << "the footer stays last";
}

TEST(CsvImportTest, ProgressReportsEachPercentOnce) {
    cbtest::TempDir dir;
    std::string text;
    for (int i = 0; i < 200; ++i) text += std::to_string(i) + ",x\n";
    cbtest::writeFile(dir.file("p.csv"), text);
    TExtStringGrid grid;
    std::vector<int> seen;
    ImportCSV(grid, dir.file("p.csv"), false, [&](int p) { seen.push_back(p); });
    ASSERT_EQ(seen.size(), 101u);
    for (int i = 0; i <= 100; ++i) EXPECT_EQ(seen[size_t(i)], i);
    EXPECT_EQ(grid.RowCount(), 200);
}

TEST(CsvImportTest, SizingPassAgreesWithTheReader) {
    // Random short texts over the bytes that matter: the sizing pass counts
    // the records and fields the reader then yields, and fails where it
    // fails, naming the same line.
    std::mt19937 rng(3);
    const std::string alphabet = "a,\"\r\n;";
    for (int round = 0; round < 20000; ++round) {
        std::string text(rng() % 14, ' ');
        for (char& c : text) c = alphabet[rng() % alphabet.size()];
        SCOPED_TRACE(::testing::PrintToString(text));
        std::string readerError, sizingError;
        TCsvShape walked;
        try {
            TCsvReader reader(text, ',', "f.csv");
            std::string_view field;
            while (reader.NextRecord()) {
                ++walked.Records;
                int fields = 0;
                while (reader.NextField(field)) ++fields;
                walked.MaxFields = std::max(walked.MaxFields, std::max(fields, 1));
            }
        } catch (const ECsvError& e) {
            readerError = e.what();
        }
        TCsvShape sized;
        try {
            sized = MeasureCsv(text, ',', "f.csv");
        } catch (const ECsvError& e) {
            sizingError = e.what();
        }
        ASSERT_EQ(sizingError, readerError);
        if (readerError.empty()) {
            ASSERT_EQ(sized.Records, walked.Records);
            ASSERT_EQ(sized.MaxFields, walked.MaxFields);
        }
    }
}
