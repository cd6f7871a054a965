// XLS workbooks read back by independent readers: xlrd with formatting
// info and olefile (tests/tabexport/xls_dump.py), and LibreOffice headless.
#include "TabExportTestSupport.h"

#include "platform/os/Files.h"
#include "tabexport/core/CustomSource.h"
#include "tabexport/xls/TabExportXLS.h"

#include <QImage>
#include <QJsonArray>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace cb::tabexport;
using namespace cb::tabexport::test;

namespace {

QJsonObject CellAt(const QJsonObject& Sheet, int R, int C) {
    for (const auto& v : Sheet["cells"].toArray()) {
        QJsonObject o = v.toObject();
        if (o["r"].toInt() == R && o["c"].toInt() == C) return o;
    }
    return {};
}

std::string Text(const QJsonObject& Cell) {
    return Cell["v"].toString().toStdString();
}

// The rows of a spreadsheet document's content.xml, one line each, the cells
// as stored (a number's value, else its text) joined by ",", empty cells at
// the end of a row left out.
std::string OdsRowsAsCsv(const std::string& ContentXml) {
    QXmlStreamReader xml(QByteArray::fromStdString(ContentXml));
    std::string rows;
    std::vector<std::string> cells;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.qualifiedName() == u"table:table-row") {
            cells.clear();
        } else if (xml.isStartElement() && xml.qualifiedName() == u"table:table-cell") {
            const QStringView value = xml.attributes().value("office:value");
            cells.push_back(value.isEmpty() ? std::string() : value.toString().toStdString());
        } else if (xml.isCharacters() && !cells.empty() && cells.back().empty()) {
            cells.back() = xml.text().toString().toStdString();
        } else if (xml.isEndElement() && xml.qualifiedName() == u"table:table-row") {
            while (!cells.empty() && cells.back().empty()) cells.pop_back();
            for (size_t i = 0; i < cells.size(); ++i) rows += (i ? "," : "") + cells[i];
            rows += "\n";
        }
    }
    return "\n" + rows;
}

// The published view: a title, captions in the grid's first row, data.
TTable ViewTable() {
    return {{"Region", "City", "Sales"},
            {"Europe", "   Paris", "1,234.50"},
            {"Europe", "   Zürich café", "980.00"},
            {"Europe", "   東京 Москва", "12.00"}};
}

void ConfigureLikeThePublisher(TTabExportXLS& X, cb::grid::TBaseGrid* Grid, const std::string& File) {
    X.ExportSource = esStringGrid;
    X.StringGrid = Grid;
    X.AllowCaptions = false;
    X.AutoCalcColWidth = true;
    X.Options.SetSheetTitle("Sales: 2024/Q1 [draft] with a very long name");
    X.Options.HeaderFormat.Font.Size = 12;
    X.Options.HeaderFormat.Font.SetStyle(xfsBold, true);
    X.Options.DataFormat.Fill.Pattern = ptSolid;
    X.Options.DataFormat.Alignment.Horizontal = halRight;
    X.OnGetDataParams = [](TxlsSheet&, int, int, int, TxlsFormat&, std::string&) {};
    // As the pivot grid's report: the sales are numbers, leading blanks an indent.
    X.OnGetCellValue = [](TxlsSheet&, int, int Col, int, TxlsCellValue& Cell) {
        if (Col == 2) {
            Cell.Type = ectFloat;
            return;
        }
        const size_t blanks = Cell.Text.find_first_not_of(' ');
        if (blanks == std::string::npos || blanks == 0) return;
        Cell.Indent = int(blanks);
        Cell.Text.erase(0, blanks);
    };
    X.Header.SetText("Sales report\n");
    X.Header.Add("");
    X.FileName = File;
}

std::string BitmapFile(const std::string& Dir, int W, int H) {
    QImage image(W, H, QImage::Format_RGB888);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) image.setPixel(x, y, qRgb(x * 2, y * 3, 90));
    std::string file = Dir + "chart.bmp";
    image.save(QString::fromStdString(file), "BMP");
    return file;
}

}  // namespace

class XlsWorkbook : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        FDir = TempDir();
        // The published view, as the publishing dialog configures it.
        auto grid = MakeGrid(ViewTable(), 0);
        TTabExportXLS x;
        ConfigureLikeThePublisher(x, grid.get(), FDir + "view.xls");
        x.Execute();
        // The same with the chart picture below the data.
        TTabExportXLS p;
        ConfigureLikeThePublisher(p, grid.get(), FDir + "picture.xls");
        auto& picture = p.Pictures().Add();
        picture.SetFileName(BitmapFile(FDir, 160, 90));
        auto& image = p.Images.Add();
        image.PictureName = picture.Name();
        image.Row = 2 + 4 + 1;
        p.Execute();
    }
    static std::string FDir;
};
std::string XlsWorkbook::FDir;

TEST_F(XlsWorkbook, PublishedViewReadsBack) {
    QJsonObject d = DumpXls(FDir + "view.xls");
    EXPECT_EQ(d["streams"].toArray(), QJsonArray({"Workbook"}));
    EXPECT_TRUE(d["records_end"].toBool());
    ASSERT_EQ(d["sheets"].toArray().size(), 1);
    QJsonObject s = d["sheets"].toArray()[0].toObject();
    EXPECT_EQ(s["name"].toString().toStdString(), "Sales 2024Q1 draft with a very ");
    QJsonObject title = CellAt(s, 0, 0);
    EXPECT_EQ(Text(title), "Sales report");
    EXPECT_TRUE(title["bold"].toBool());
    EXPECT_EQ(title["height"].toInt(), 240);
    // Leading blanks become the cell's indent; accents and other scripts survive.
    EXPECT_EQ(Text(CellAt(s, 3, 1)), "Paris");
    EXPECT_EQ(Text(CellAt(s, 4, 1)), "Zürich café");
    EXPECT_EQ(Text(CellAt(s, 5, 1)), "東京 Москва");
    EXPECT_EQ(CellAt(s, 3, 1)["indent"].toInt(), 3);
    EXPECT_EQ(CellAt(s, 3, 0)["indent"].toInt(), 0);
    // Numbers are numbers (xlrd type 2) with the picture their text showed.
    const double values[] = {1234.5, 980, 12};
    for (int r = 0; r < 3; ++r) {
        QJsonObject data = CellAt(s, 3 + r, 2);
        EXPECT_EQ(data["t"].toInt(), 2) << r;
        EXPECT_DOUBLE_EQ(data["v"].toDouble(), values[r]);
        EXPECT_EQ(data["fmt"].toString().toStdString(), "#,##0.00");
        EXPECT_EQ(data["pattern"].toInt(), 1);
        EXPECT_FALSE(data["bold"].toBool());
    }
    // The caption above the numbers stays text.
    EXPECT_EQ(CellAt(s, 2, 2)["t"].toInt(), 1);
    // "Europe" three times: one shared string; the numbers are none.
    EXPECT_EQ(d["sst_counts"].toArray(), QJsonArray({10, 8}));
    // DIMENSIONS: rows 0..5 and columns 0..2 are used.
    EXPECT_EQ(d["dimensions"].toArray()[0].toArray(), QJsonArray({0, 6, 0, 3}));
    // The widened city column is wider than the region column.
    QJsonObject widths = s["colwidths"].toObject();
    EXPECT_GT(widths["1"].toInt(), widths["0"].toInt());
    EXPECT_FALSE(d["record_ids"].toArray().contains(0x00EB)) << "no drawing group without pictures";
}

TEST_F(XlsWorkbook, PictureBelowTheData) {
    QJsonObject d = DumpXls(FDir + "picture.xls");
    EXPECT_EQ(d["streams"].toArray(), QJsonArray({"Workbook"}));
    EXPECT_TRUE(d["record_ids"].toArray().contains(0x00EB));
    EXPECT_TRUE(d["record_ids"].toArray().contains(0x00EC));
    EXPECT_FALSE(d["continue_lengths"].toArray().isEmpty()) << "a picture above 8220 bytes continues";
    EXPECT_LE(d["max_record"].toInt(), 8224);
    EXPECT_EQ(Text(CellAt(d["sheets"].toArray()[0].toObject(), 3, 1)), "Paris");
}

TEST_F(XlsWorkbook, LibreOfficeReadsTextAndPicture) {
    std::string out = FDir + "lo/";
    // Both workbooks in one run (LibreOffice's start is the slow part).
    RunProgram("/usr/bin/soffice", {"-env:UserInstallation=file://" + FDir + "lo-profile", "--headless",
                                    "--convert-to", "ods", "--outdir", out, FDir + "view.xls", FDir + "picture.xls"});
    // Cell contents as stored, not as shown: numbers come out plain.
    const std::string csv = OdsRowsAsCsv(RunProgram("/usr/bin/unzip", {"-p", out + "view.ods", "content.xml"}));
    EXPECT_NE(csv.find("Sales report"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\nEurope,Paris,1234.5\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find("東京 Москва,12\n"), std::string::npos) << csv;
    std::string list = RunProgram("/usr/bin/unzip", {"-l", out + "picture.ods"});
    EXPECT_NE(list.find("Pictures/"), std::string::npos) << list;
}

TEST(XlsWrite, SharedStringsAcrossContinueRecords) {
    TqeCustomSource src;
    auto& col = src.Columns().Add();
    col.ColumnType = ectFloat;
    src.Columns().Add();
    const std::string longText(5000, 'x');
    src.OnGetNextRecord = [](TqeCustomSource&, int rec, bool& eof) { eof = rec == 400; };
    src.OnGetColumnValue = [&](TqeCustomSource&, int rec, TqeCustomColumn& c, std::string& v) {
        if (c.ColumnName() == "Column0")
            v = rec == 2 ? "n/a" : "1,234.50";
        else
            v = rec == 7 ? longText : "text number " + std::to_string(rec) + " ÿ";
    };
    std::string dir = TempDir();
    TTabExportXLS x;
    x.ExportSource = esCustom;
    x.CustomSource = &src;
    x.FileName = dir + "sst.xls";
    x.Execute();
    QJsonObject d = DumpXls(x.FileName, 10);
    EXPECT_LE(d["max_record"].toInt(), 8224);
    EXPECT_GE(d["continue_lengths"].toArray().size(), 2);
    QJsonObject s = d["sheets"].toArray()[0].toObject();
    EXPECT_EQ(Text(CellAt(s, 7, 1)), longText);
    EXPECT_EQ(Text(CellAt(s, 5, 1)), "text number 5 ÿ");
    // A float column: numbers with separators are numbers, a text stays text.
    EXPECT_EQ(CellAt(s, 1, 0)["t"].toInt(), 2);
    EXPECT_DOUBLE_EQ(CellAt(s, 1, 0)["v"].toDouble(), 1234.5);
    EXPECT_EQ(Text(CellAt(s, 2, 0)), "n/a");
    EXPECT_EQ(Text(CellAt(s, 0, 0)), "Column0");
    EXPECT_EQ(d["dimensions"].toArray()[0].toArray(), QJsonArray({0, 401, 0, 2}));
}

TEST(XlsWrite, LargeWorkbook) {
    TqeCustomSource src;
    for (int c = 0; c < 8; ++c) src.Columns().Add().ColumnType = c == 0 ? ectString : ectFloat;
    src.OnGetNextRecord = [](TqeCustomSource&, int rec, bool& eof) { eof = rec == 60000; };
    src.OnGetColumnValue = [](TqeCustomSource&, int rec, TqeCustomColumn& c, std::string& v) {
        v = c.ColumnName() == "Column0" ? "row " + std::to_string(rec) : std::to_string(rec) + ".5";
    };
    std::string dir = TempDir();
    TTabExportXLS x;
    x.ExportSource = esCustom;
    x.CustomSource = &src;
    x.AllowCaptions = false;
    x.FileName = dir + "large.xls";
    x.Execute();
    EXPECT_GT(ReadFile(x.FileName).size(), 7u * 1024 * 1024);
    QJsonObject d = DumpXls(x.FileName, 2);
    QJsonObject s = d["sheets"].toArray()[0].toObject();
    EXPECT_EQ(s["nrows"].toInt(), 60000);
    EXPECT_EQ(s["last_row"].toArray()[0].toString().toStdString(), "row 60000");
    EXPECT_DOUBLE_EQ(s["last_row"].toArray()[7].toDouble(), 60000.5);
}

TEST(XlsWrite, MoreSheetsAggregatesAndMergedRanges) {
    auto a = MakeGrid({{"x", "1"}, {"y", "2"}, {"z", "3"}}, 0);
    auto b = MakeGrid({{"only"}}, 0);
    std::string dir = TempDir();
    TTabExportXLS x;
    x.FileName = dir + "sheets.xls";
    for (auto* grid : {a.get(), b.get()}) {
        auto& s = x.Sheets().Add();
        s.Title = "Same";
        s.ExportSource = esStringGrid;
        s.StringGrid = grid;
        s.AutoCalcStrType = true;
        s.Header.SetText("h1\nh2");
    }
    auto& sum = x.Sheets().Items(0).FieldFormats.Add();
    sum.FieldName = "1";
    sum.Aggregate = aggSum;
    x.Sheets().Items(0).MergedCells.push_back({1, 1, 2, 1});
    x.Sheets().Items(0).MergedCells.push_back({0, 1, 2, 1});  // invalid, skipped
    x.Execute();
    QJsonObject d = DumpXls(x.FileName);
    QJsonArray sheets = d["sheets"].toArray();
    ASSERT_EQ(sheets.size(), 2);
    EXPECT_EQ(sheets[0].toObject()["name"].toString(), "Same");
    EXPECT_EQ(sheets[1].toObject()["name"].toString(), "Same (2)");
    // Two header lines, captions, three data rows: the sum sits in row 6.
    QJsonObject total = CellAt(sheets[0].toObject(), 6, 1);
    EXPECT_EQ(total["t"].toInt(), 2) << "a formula cell reads as a number";
    EXPECT_TRUE(d["record_ids"].toArray().contains(0x0006));
    EXPECT_TRUE(d["record_ids"].toArray().contains(0x00E5));
    EXPECT_EQ(Text(CellAt(sheets[1].toObject(), 3, 0)), "only");
}

TEST(XlsWrite, LimitsAndFailuresKeepTheOldFile) {
    std::string dir = TempDir();
    std::string file = dir + "keep.xls";
    WriteFile(file, "OLD WORKBOOK");
    auto wide = MakeGrid({std::vector<std::string>(257, "w")}, 0);
    auto tall = std::make_unique<cb::grid::TBaseGrid>();
    tall->SetColCount(1);
    tall->SetRowCount(65537);
    tall->SetFixedRows(0);
    auto fine = MakeGrid(ViewTable(), 0);
    struct TCase {
        cb::grid::TBaseGrid* Grid;
        bool FailInEvent;
        const char* Message;
    } cases[] = {
        {wide.get(), false, "needs 257 columns; an XLS sheet holds at most 256"},
        {tall.get(), false, "needs 65538 rows; an XLS sheet holds at most 65,536"},
        {fine.get(), true, "handler failed"},
    };
    for (const auto& c : cases) {
        TTabExportXLS x;
        x.ExportSource = esStringGrid;
        x.StringGrid = c.Grid;
        x.FileName = file;
        if (c.FailInEvent)
            x.OnGetExportText = [](TxlsSheet& s, int, std::string&) {
                if (s.CurrentRow == 3) throw ETabExportError("handler failed");
            };
        try {
            x.Execute();
            ADD_FAILURE() << "no error for " << c.Message;
        } catch (const ETabExportError& e) {
            EXPECT_NE(std::string(e.what()).find(c.Message), std::string::npos) << e.what();
        }
        EXPECT_EQ(ReadFile(file), "OLD WORKBOOK");
    }
    // No temporary file is left beside the target.
    EXPECT_EQ(RunProgram("/usr/bin/ls", {"-A", dir}), "keep.xls\n");
}

TEST(XlsWrite, SheetNames) {
    struct TCase {
        const char* Title;
        const char* Name;
    } cases[] = {{"Sales", "Sales"},
                 {"a:b\\c/d?e*f[g]h", "abcdefgh"},
                 {"", "Sheet1"},
                 {"[]", "Sheet1"},
                 {"0123456789012345678901234567890123", "0123456789012345678901234567890"},
                 {"Übersicht über alle Länder und Städte", "Übersicht über alle Länder und "}};
    for (const auto& c : cases) EXPECT_EQ(TTabExportXLS::CleanSheetName(c.Title), c.Name) << c.Title;
}
