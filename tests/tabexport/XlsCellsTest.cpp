// Cells, styles, aggregates, merged ranges and pictures of a sheet, read
// back by xlrd; the shared string plan and the drawing group split, checked
// on the records themselves.
#include "TabExportTestSupport.h"

#include "tabexport/core/CustomSource.h"
#include "tabexport/xls/BiffStream.h"
#include "tabexport/xls/SstStrings.h"
#include "tabexport/xls/TabExportXLS.h"
#include "tabexport/xls/XlsDrawing.h"

#include <QBuffer>
#include <QImage>
#include <QJsonArray>

#include <cstring>
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

struct TRecord {
    std::uint16_t Id;
    std::string Body;
};

std::vector<TRecord> Records(const std::string& Data) {
    std::vector<TRecord> out;
    for (std::size_t pos = 0; pos + 4 <= Data.size();) {
        std::uint16_t id = std::uint16_t(std::uint8_t(Data[pos]) | (std::uint8_t(Data[pos + 1]) << 8));
        std::size_t len = std::uint8_t(Data[pos + 2]) | (std::uint8_t(Data[pos + 3]) << 8);
        out.push_back({id, Data.substr(pos + 4, len)});
        pos += 4 + len;
    }
    return out;
}

// A custom source of fixed rows.
struct TRows {
    TqeCustomSource Source;
    std::vector<std::vector<std::string>> Rows;
    TRows(std::vector<TTabExportColType> Types, std::vector<std::vector<std::string>> Data) : Rows(std::move(Data)) {
        for (auto t : Types) Source.Columns().Add().ColumnType = t;
        Source.OnGetNextRecord = [this](TqeCustomSource&, int rec, bool& eof) { eof = rec >= int(Rows.size()); };
        Source.OnGetColumnValue = [this](TqeCustomSource&, int rec, TqeCustomColumn& c, std::string& v) {
            int col = Source.Columns().IndexOfName(c.ColumnName());
            v = Rows[size_t(rec - 1)][size_t(col)];
        };
    }
};

}  // namespace

TEST(XlsCells, ValuesByColumnType) {
    TRows rows({ectFloat, ectBoolean, ectDateTime, ectString}, {{"1,234.5", "TRUE", "02/01/1900", "a"},
                                                                {"n/a", "no", "01/03/1900", "b"},
                                                                {"-7", "true", "12:00", "c"},
                                                                {"", "false", "not a date", "   d"}});
    std::string dir = TempDir();
    TTabExportXLS x;
    x.ExportSource = esCustom;
    x.CustomSource = &rows.Source;
    x.AllowCaptions = false;
    x.Formats().SetNullString("n/a");
    x.FileName = dir + "types.xls";
    x.Execute();
    QJsonObject s = DumpXls(x.FileName)["sheets"].toArray()[0].toObject();
    struct TCase {
        int R, C, Type;
        double Number;
        const char* Text;
    } cases[] = {
        {0, 0, 2, 1234.5, nullptr},
        {1, 0, 1, 0, "n/a"},
        {2, 0, 2, -7, nullptr},
        {3, 0, 6, 0, nullptr},  // blank
        // dates carry a date format: xlrd types them 3
        {0, 1, 4, 1, nullptr},
        {1, 1, 4, 0, nullptr},
        {2, 1, 4, 1, nullptr},
        {0, 2, 3, 2, nullptr},
        {1, 2, 3, 61, nullptr},
        {2, 2, 1, 0, "30/12/1899 12:00"},
        {3, 2, 1, 0, "not a date"},
        {3, 3, 1, 0, "   d"},
    };
    for (const auto& c : cases) {
        QJsonObject cell = CellAt(s, c.R, c.C);
        EXPECT_EQ(cell["t"].toInt(), c.Type) << c.R << "," << c.C;
        if (c.Text) {
            EXPECT_EQ(cell["v"].toString().toStdString(), c.Text) << c.R << "," << c.C;
        } else if (c.Type != 6) {
            EXPECT_DOUBLE_EQ(cell["v"].toDouble(), c.Number) << c.R << "," << c.C;
        }
    }
}

TEST(XlsCells, StylesAreSharedAndNumbered) {
    auto grid = MakeGrid({{"1", "2", "3", "4"}, {"5", "6", "7", "8"}}, 0);
    std::string dir = TempDir();
    TTabExportXLS x;
    x.ExportSource = esStringGrid;
    x.StringGrid = grid.get();
    x.StartDataCol = 2;
    x.UserFormats.SetText("0=0.000\n1=0.000\n2=0.000");
    for (const char* name : {"0", "1", "2"}) {
        auto& f = x.FieldFormats.Add();
        f.FieldName = name;
        f.Font.Name = "Courier New";
        if (std::strcmp(name, "2") == 0) f.Borders.Top.Style = bstThin;
    }
    x.FileName = dir + "styles.xls";
    x.Execute();
    QJsonObject d = DumpXls(x.FileName);
    QJsonObject s = d["sheets"].toArray()[0].toObject();
    // Captions in row 0 (bold), data from row 1, starting in column 2.
    QJsonObject caption = CellAt(s, 0, 2);
    EXPECT_EQ(caption["v"].toString(), "ColNo_0");
    EXPECT_TRUE(caption["bold"].toBool());
    QJsonObject a = CellAt(s, 1, 2), b = CellAt(s, 1, 3), c = CellAt(s, 1, 4), plain = CellAt(s, 1, 5);
    EXPECT_EQ(a["xf"].toInt(), b["xf"].toInt()) << "equal formats share one cell style";
    EXPECT_EQ(c["xf"].toInt(), a["xf"].toInt() + 1);
    EXPECT_EQ(a["fmtkey"].toInt(), 50);
    EXPECT_EQ(a["fmt"].toString(), "0.000");
    EXPECT_EQ(a["fontname"].toString(), "Courier New");
    EXPECT_EQ(a["font"].toInt(), 5);
    EXPECT_EQ(plain["xf"].toInt(), 15);
    EXPECT_EQ(a["xf"].toInt(), 16) << "column styles are registered first";
    EXPECT_EQ(caption["xf"].toInt(), 18);
    QJsonObject widths = s["colwidths"].toObject();
    EXPECT_FALSE(widths.contains("1"));
    EXPECT_TRUE(widths.contains("2"));
    EXPECT_TRUE(widths.contains("5"));
}

TEST(XlsCells, RowStripsAggregatesHeaderRowsAndMergedRanges) {
    TRows rows({ectString, ectFloat}, {{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}, {"e", "5"}});
    std::string dir = TempDir();
    TTabExportXLS x;
    x.ExportSource = esCustom;
    x.CustomSource = &rows.Source;
    x.Header.SetText("Title\tsecond piece");
    x.HeaderRows = 3;  // one line and two empty rows
    x.StripType = ssRow;
    x.StripStyles.resize(2);
    x.StripStyles[0].Fill.Pattern = ptSolid;
    x.StripStyles[1].Fill.Pattern = ptChess;
    auto& sum = x.FieldFormats.Add();
    sum.FieldName = "Column1";
    sum.Aggregate = aggSum;
    for (int i = 0; i < 1100; ++i) x.MergedCells.push_back({1, 20 + i, 2, 20 + i});
    x.MergedCells.push_back({0, 5, 1, 5});  // invalid
    TxlsCell cell;
    cell.Row = 2;
    cell.Col = 4;
    cell.SetCellType(ctNumeric);
    cell.SetValue(std::string("2.5"));
    x.Cells.push_back(cell);
    x.FileName = dir + "strips.xls";
    x.Execute();
    QJsonObject d = DumpXls(x.FileName);
    QJsonObject s = d["sheets"].toArray()[0].toObject();
    EXPECT_EQ(CellAt(s, 0, 1)["v"].toString(), "second piece");
    EXPECT_EQ(CellAt(s, 3, 0)["v"].toString(), "Column0") << "captions below three header rows";
    for (int r = 0; r < 5; ++r) EXPECT_EQ(CellAt(s, 4 + r, 0)["pattern"].toInt(), r % 2 == 0 ? 1 : 2) << r;
    // The sum covers exactly the data rows 4..8 and sits in row 9.
    EXPECT_EQ(d["formulas"].toArray()[0].toArray(), QJsonArray({9, 1, 4, 8, 4}));
    EXPECT_EQ(s["merged"].toInt(), 1100) << "ranges beyond one record's room go into further records";
    EXPECT_DOUBLE_EQ(CellAt(s, 1, 3)["v"].toDouble(), 2.5);
    // Explicit cells do not widen the used range: rows 0..9, columns 0..1.
    EXPECT_EQ(d["dimensions"].toArray()[0].toArray(), QJsonArray({0, 10, 0, 2}));
}

TEST(XlsCells, EmptySheetKeepsZeroDimensionsAndAnAbortKeepsTheOldFile) {
    TqeCustomSource none;
    std::string dir = TempDir();
    TTabExportXLS x;
    x.ExportSource = esCustom;
    x.CustomSource = &none;
    x.AllowCaptions = false;
    x.Options.SetSheetTitle("");
    x.FileName = dir + "empty.xls";
    int begins = 0;
    x.OnBeginExport = [&](TTabExport&) { ++begins; };
    x.Execute();
    EXPECT_EQ(begins, 1);
    QJsonObject d = DumpXls(x.FileName);
    EXPECT_EQ(d["dimensions"].toArray()[0].toArray(), QJsonArray({0, 0, 0, 0}));
    EXPECT_EQ(d["sst_counts"].toArray(), QJsonArray({0, 0}));
    EXPECT_EQ(d["sheets"].toArray()[0].toObject()["name"].toString(), "Sheet1");

    std::string before = ReadFile(x.FileName);
    x.OnBeginExport = [](TTabExport& s) { s.Abort(); };
    x.Execute();
    EXPECT_EQ(ReadFile(x.FileName), before);
}

TEST(XlsCells, PictureAnchorAndMissingPicture) {
    std::string dir = TempDir();
    QImage image(100, 50, QImage::Format_RGB888);
    image.fill(Qt::red);
    image.save(QString::fromStdString(dir + "p.bmp"), "BMP");
    auto grid = MakeGrid({{"a", "b"}}, 0);
    TTabExportXLS x;
    x.ExportSource = esStringGrid;
    x.StringGrid = grid.get();
    x.ColumnsWidth.SetText("0=8\n1=8");
    x.FileName = dir + "anchor.xls";
    auto& p = x.Pictures().Add();
    p.SetFileName(dir + "p.bmp");
    auto& gone = x.Pictures().Add();
    gone.SetFileName(dir + "missing.png");
    EXPECT_EQ(gone.Name(), "Picture_1");
    EXPECT_THROW(gone.SetName("picture_0"), ETabExportError);
    auto& i1 = x.Images.Add();
    i1.PictureName = p.Name();
    i1.Row = 10;
    auto& i2 = x.Images.Add();
    i2.PictureName = gone.Name();
    EXPECT_EQ(i2.Title, "Image_1");
    x.Background.SetFileName(dir + "p.bmp");
    x.Execute();
    QJsonObject d = DumpXls(x.FileName);
    // "0" is 7 pixels wide in 10-point Arial: columns of 64 pixels, rows of
    // 255 twips.
    EXPECT_EQ(d["anchors"].toArray()[0].toArray(), QJsonArray({2, 0, 0, 10, 0, 1, 576, 12, 241}));
    EXPECT_EQ(d["anchors"].toArray().size(), 2);
    // The background: 50 rows of 300 bytes, 8200 in the BITMAP record.
    EXPECT_TRUE(d["record_ids"].toArray().contains(0x00E9));
    EXPECT_TRUE(d["continue_lengths"].toArray().contains(6800));
}

TEST(XlsRecords, SharedStringPlan) {
    TsstStrings sst;
    EXPECT_EQ(sst.Add("a"), 0u);
    EXPECT_EQ(sst.Add("bb"), 1u);
    EXPECT_EQ(sst.Add("a"), 0u);
    EXPECT_EQ(sst.Add("A"), 2u);
    sst.Add(std::string(3000, 'x'));
    sst.Add(std::string(4000, 'y'));  // does not fit the rest: a record of its own
    sst.Add(std::string(5000, 'z'));  // split over two records
    TBiffMemory out;
    sst.Write(out);
    auto recs = Records(out.Data());
    ASSERT_EQ(recs.size(), 4u);
    EXPECT_EQ(recs[0].Id, 0x00FC);
    EXPECT_EQ(recs[0].Body.substr(0, 8), std::string("\x07\0\0\0\x06\0\0\0", 8));
    EXPECT_EQ(recs[0].Body.size(), 8u + 5 + 7 + 5 + 6003);
    EXPECT_EQ(recs[1].Body.size(), 8003u);
    EXPECT_EQ(recs[2].Body.size(), 3u + 2 * 4110);
    EXPECT_EQ(recs[3].Body.size(), 1u + 2 * 890);
    EXPECT_EQ(recs[3].Body[0], '\x01');
    for (const auto& r : recs) EXPECT_LE(r.Body.size(), 8224u);
}

TEST(XlsRecords, DrawingGroupSplitsIntoContinueRecords) {
    TxlsBlip blip;
    blip.BlipType = 6;
    blip.Bytes.assign(20000, 'p');
    TBiffMemory out;
    WriteDrawingGroup(out, {{1, 2}}, {&blip}, {1});
    auto recs = Records(out.Data());
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[0].Id, 0x00EB);
    EXPECT_EQ(recs[0].Body.size(), 8220u);
    EXPECT_EQ(recs[1].Id, 0x003C);
    EXPECT_EQ(recs[1].Body.size(), 8220u);
    std::size_t total = 0;
    for (const auto& r : recs) total += r.Body.size();
    // Container, drawing record, store with its entry and picture, options
    // and menu colours.
    EXPECT_EQ(total, 8u + 32 + 8 + 8 + 36 + 8 + 17 + 20000 + 8 + 18 + 8 + 16);
}

TEST(XlsCells, SheetEventsAndSourceErrors) {
    auto grid = MakeGrid({{"a"}, {"b"}, {"c"}}, 0);
    std::string dir = TempDir();
    TTabExportXLS x;
    x.FileName = dir + "events.xls";
    for (int i = 0; i < 2; ++i) {
        auto& s = x.Sheets().Add();
        s.ExportSource = esStringGrid;
        s.StringGrid = grid.get();
    }
    x.Sheets().Add().Exported = false;  // left out
    std::vector<std::string> log;
    x.OnBeforeExportSheet = [&](TTabExportXLS&, int i) { log.push_back("before " + std::to_string(i)); };
    x.OnAfterExportSheet = [&](TTabExportXLS&, int i) { log.push_back("after " + std::to_string(i)); };
    x.OnExportedRecord = [&](TTabExport&, int n) { log.push_back("record " + std::to_string(n)); };
    x.OnAdvancedBeforeExportRow = [](TTabExportXLS&, int sheet, TTabExportRow&, bool& accept) { accept = sheet == 0; };
    x.Execute();
    EXPECT_EQ(log, (std::vector<std::string>{"before 0", "record 1", "record 2", "record 3", "after 0", "before 1",
                                             "record 4", "record 5", "record 6", "after 1"}));
    QJsonArray sheets = DumpXls(x.FileName)["sheets"].toArray();
    ASSERT_EQ(sheets.size(), 2);
    EXPECT_EQ(sheets[0].toObject()["name"].toString(), "Sheet 1");
    EXPECT_EQ(sheets[1].toObject()["nrows"].toInt(), 1) << "rows refused by the handler are not written";

    x.Sheets().Items(1).StringGrid = nullptr;
    try {
        x.Execute();
        ADD_FAILURE() << "no error";
    } catch (const ETabExportError& e) {
        EXPECT_STREQ(e.what(), "Sheet Sheet 2 define with error: Export source (StringGrid) is not assigned");
    }
}

TEST(XlsCells, PictureFromMemory) {
    // The chart picture can be handed over as bytes, without a file.
    QImage image(300, 200, QImage::Format_RGB888);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    auto grid = MakeGrid({{"a"}}, 0);
    std::string dir = TempDir();
    TTabExportXLS x;
    x.ExportSource = esStringGrid;
    x.StringGrid = grid.get();
    x.FileName = dir + "memory.xls";
    auto& p = x.Pictures().Add();
    p.SetData(png.toStdString());
    x.Images.Add().PictureName = p.Name();
    x.Execute();
    QJsonObject d = DumpXls(x.FileName);
    ASSERT_EQ(d["anchors"].toArray().size(), 1);
    QJsonArray a = d["anchors"].toArray()[0].toArray();
    EXPECT_GT(a[5].toInt(), 0) << "a 300-pixel picture spans several columns";
    EXPECT_GT(a[7].toInt(), 5) << "and several rows";

    x.Pictures().GetItem(0).SetData("not a picture");
    EXPECT_THROW(x.Execute(), ETabExportError);
}
