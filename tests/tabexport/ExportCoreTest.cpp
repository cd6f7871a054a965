// The export loop, the row sources, the column model and value formatting.
#include "TabExportTestSupport.h"

#include "platform/rtl/Streams.h"
#include "tabexport/core/CustomSource.h"
#include "tabexport/core/TabExport.h"
#include "tabexport/core/ValueFormat.h"

#include <gtest/gtest.h>

using namespace cb::tabexport;
using namespace cb::tabexport::test;

namespace {

// Writes each data row as its cells joined by '|', one line per row.
class TLineExport : public TTabExportText {
public:
    std::vector<std::string> Rows;
    int Ends = 0;
    bool FailAfterFirst = false;

protected:
    void WriteDataRow() override {
        std::string line;
        for (int i = 0; i < Row().Count(); ++i) line += (i ? "|" : "") + Row().GetCol(i).GetExportedValue(true);
        Rows.push_back(line);
        if (Writer()) Writer()->WriteLine(line);
        if (FailAfterFirst) throw ETabExportError("disk full");
    }
    void EndExport() override {
        ++Ends;
        TTabExportText::EndExport();
    }
};

TTable Numbered(int Rows) {
    TTable t{{"head"}};
    for (int r = 1; r < Rows; ++r) t.push_back({"r" + std::to_string(r)});
    return t;
}

}  // namespace

TEST(ExportLoop, StringGridRowsBySkipAndCount) {
    struct TCase {
        int Skip, Count;
        bool CurrentOnly;
        std::vector<std::string> Rows;
    } cases[] = {
        {0, 0, false, {"r1", "r2", "r3", "r4"}},
        {1, 0, false, {"r2", "r3", "r4"}},
        {1, 2, false, {"r2", "r3"}},
        {0, 0, true, {"r1"}},
        {9, 0, false, {}},
    };
    auto grid = MakeGrid(Numbered(5), 1);
    for (const auto& c : cases) {
        TLineExport x;
        x.ExportSource = esStringGrid;
        x.StringGrid = grid.get();
        x.SkipRecCount = c.Skip;
        x.ExportRecCount = c.Count;
        x.CurrentRecordOnly = c.CurrentOnly;
        cb::rtl::TMemoryStream out;
        x.ExportToStream(out);
        EXPECT_EQ(x.Rows, c.Rows) << "skip " << c.Skip << " count " << c.Count;
        EXPECT_EQ(x.Ends, 1);
    }
}

TEST(ExportLoop, EventsSkipRejectAndAbort) {
    auto grid = MakeGrid(Numbered(8), 1);
    TLineExport x;
    x.ExportSource = esStringGrid;
    x.StringGrid = grid.get();
    std::vector<int> skipped, exported;
    x.OnSkippedRecord = [&](TTabExport&, int n) { skipped.push_back(n); };
    x.OnExportedRecord = [&](TTabExport&, int n) { exported.push_back(n); };
    x.SkipRecCount = 3;
    cb::rtl::TMemoryStream out;
    x.ExportToStream(out);
    EXPECT_EQ(skipped, (std::vector<int>{1, 2, 3}));
    ASSERT_FALSE(exported.empty());
    EXPECT_EQ(exported.front(), 0);

    // A rejected row still counts against ExportRecCount.
    TLineExport y;
    y.ExportSource = esStringGrid;
    y.StringGrid = grid.get();
    y.ExportRecCount = 2;
    bool first = true;
    y.OnBeforeExportRow = [&](TTabExport&, TTabExportRow&, bool& accept) {
        accept = !first;
        first = false;
    };
    y.ExportToStream(out);
    EXPECT_EQ(y.Rows, (std::vector<std::string>{"r2"}));

    // Abort from OnBeginExport: nothing written, no EndExport.
    TLineExport z;
    z.ExportSource = esStringGrid;
    z.StringGrid = grid.get();
    z.OnBeginExport = [](TTabExport& s) { s.Abort(); };
    z.ExportToStream(out);
    EXPECT_TRUE(z.Rows.empty());
    EXPECT_EQ(z.Ends, 0);

    // Abort from a row ends after it unless OnStopExport goes on.
    for (bool goOn : {false, true}) {
        TLineExport a;
        a.ExportSource = esStringGrid;
        a.StringGrid = grid.get();
        a.OnBeforeExportRow = [&](TTabExport& s, TTabExportRow&, bool&) {
            if (s.RecordCounter() == 0) s.Abort();
        };
        a.OnStopExport = [&](TTabExport&, bool& can) { can = goOn; };
        a.ExportToStream(out);
        EXPECT_EQ(a.Rows.size(), goOn ? 7u : 1u);
        EXPECT_EQ(a.Ends, 1);
    }
}

TEST(ExportLoop, SourceErrors) {
    TLineExport x;
    x.ExportSource = esStringGrid;
    cb::rtl::TMemoryStream out;
    EXPECT_THROW(
        try { x.ExportToStream(out); } catch (const ETabExportError& e) {
            EXPECT_STREQ(e.what(), "Export source (StringGrid) is not assigned");
            throw;
        },
        ETabExportError);
    // A custom source without a record handler is empty.
    TqeCustomSource empty;
    x.ExportSource = esCustom;
    x.CustomSource = &empty;
    x.ExportEmpty = false;
    try {
        x.ExportToStream(out);
        ADD_FAILURE() << "no error";
    } catch (const ETabExportError& e) {
        EXPECT_STREQ(e.what(), "Export source (CustomSource) is empty");
    }
}

TEST(ExportLoop, CustomSource) {
    TqeCustomSource src;
    src.Columns().Add();
    src.Columns().Add();
    EXPECT_EQ(src.Columns().Add().ColumnName(), "Column2");
    src.Columns().Items(0).SetColumnName("column1");  // taken, case ignored
    EXPECT_EQ(src.Columns().Items(0).ColumnName(), "Column0");
    src.OnGetColumnValue = [](TqeCustomSource&, int rec, TqeCustomColumn& c, std::string& v) {
        v = c.ColumnName() + "@" + std::to_string(rec);
    };
    TLineExport x;
    x.ExportSource = esCustom;
    x.CustomSource = &src;
    x.ExportedFields.Add("Column1");
    cb::rtl::TMemoryStream out;
    x.ExportToStream(out);
    EXPECT_TRUE(x.Rows.empty()) << "no record handler exports nothing";

    src.OnGetNextRecord = [](TqeCustomSource&, int rec, bool& eof) { eof = rec == 3; };
    for (int pass = 0; pass < 2; ++pass) {
        x.Rows.clear();
        x.AutoCalcColWidth = pass == 1;
        x.ExportToStream(out);
        EXPECT_EQ(x.Rows, (std::vector<std::string>{"Column1@1", "Column1@2", "Column1@3"}));
    }
}

TEST(ColumnModel, NamesCaptionsOrderAndAlignment) {
    auto grid = MakeGrid({{"a", "b", "c", "d"}, {"1", "2", "3", "4"}}, 1);
    TLineExport x;
    x.ExportSource = esStringGrid;
    x.StringGrid = grid.get();
    cb::rtl::TMemoryStream out;
    x.ExportToStream(out);
    ASSERT_EQ(x.Columns().Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(x.Columns().GetColumn(i).Name, std::to_string(i));
        EXPECT_EQ(x.Columns().GetColumn(i).Caption, "ColNo_" + std::to_string(i));
    }
    x.ExportedFields.SetText("2\n0\n9\n4");
    x.ColumnsAlign.SetText("2=center\n0=");
    x.CaptionRow = 0;
    x.ExportToStream(out);
    ASSERT_EQ(x.Columns().Count(), 2);
    EXPECT_EQ(x.Columns().GetColumn(0).Number, 2);
    EXPECT_EQ(x.Columns().GetColumn(0).Caption, "c");
    EXPECT_EQ(x.Columns().GetColumn(0).ColAlign, ecaCenter);
    EXPECT_EQ(x.Columns().GetColumn(1).Number, 0);
    EXPECT_EQ(x.Columns().GetColumn(1).ColAlign, ecaLeft);
}

TEST(ColumnModel, TypeComesFromTheWholeColumn) {
    // The first row alone would call column 0 a number column.
    auto grid = MakeGrid({{"h", "h", "h"}, {"12", "1,234.50", "true"}, {"total", "7", "FALSE"}}, 1);
    TLineExport x;
    x.ExportSource = esStringGrid;
    x.StringGrid = grid.get();
    x.AutoCalcStrType = true;
    cb::rtl::TMemoryStream out;
    x.ExportToStream(out);
    EXPECT_EQ(x.Columns().GetColumn(0).ColType, ectString);
    EXPECT_EQ(x.Columns().GetColumn(1).ColType, ectFloat);
    EXPECT_EQ(x.Columns().GetColumn(2).ColType, ectBoolean);
    EXPECT_EQ(x.Rows.front(), "12|1,234.50|true");
}

TEST(ValueFormat, DetectAndRead) {
    struct TCase {
        const char* Text;
        TTabExportColType Type;
    } cases[] = {{"", ectString},       {"TRUE", ectBoolean},
                 {"42", ectInteger},    {"-1,234", ectInteger},
                 {"3.5", ectFloat},     {"1,234.50", ectFloat},
                 {"1,23.5", ectString}, {"25/12/2024", ectDate},
                 {"13:45", ectTime},    {"25/12/2024 13:45", ectDateTime},
                 {"Europe", ectString}};
    for (const auto& c : cases) EXPECT_EQ(DetectColType(c.Text, "true", "false"), c.Type) << c.Text;
    double v = 0;
    EXPECT_TRUE(TryReadNumber(" 1,234,567.25 ", v));
    EXPECT_DOUBLE_EQ(v, 1234567.25);
    EXPECT_FALSE(TryReadNumber("12abc", v));
    EXPECT_EQ(FormatExportValue("1234.5", "#,##0.00", ectFloat), "1,234.50");
    EXPECT_EQ(FormatExportValue("x", "#,##0", ectInteger), "0");
    EXPECT_THROW(FormatExportValue("x", "#,##0.00", ectFloat), cb::rtl::EConvertError);
    // The picture a number was shown with.
    for (auto [text, picture] : {std::pair{"127,994,779.82", "#,##0.00"},
                                 {"-1,234.5", "#,##0.0"},
                                 {"2022", "0"},
                                 {"42", "#,##0"},
                                 {" 7.000 ", "#,##0.000"},
                                 {"1,000", "#,##0"},
                                 {"1.5e3", "General"},
                                 {"n/a", "General"}})
        EXPECT_EQ(NumberPictureOf(text), picture) << text;
}

TEST(ValueFormat, RowKeepsLeadingBlanksAndFormatsOnce) {
    TTabExportColumns cols;
    TTabExportFormats formats;
    TTabExportRow row(&cols, &formats);
    auto grid = MakeGrid({{"1234.5"}}, 0);
    TExportSource src;
    src.StringGrid = grid.get();
    TColumnSettings s;
    s.Source = &src;
    s.Formats = &formats;
    s.AutoCalcStrType = true;
    cols.Fill(s);
    row.AddCol("0", 0);
    row.SortIndex();
    row.SetValue("0", "  1234.5 \t");
    EXPECT_EQ(row.GetCol(0).RawValue(), "  1234.5");
    EXPECT_EQ(row.GetCol(0).GetExportedValue(true), "1,234.50");
    EXPECT_EQ(row.GetCol(0).GetExportedValue(true), "1,234.50") << "a second call formats the raw text again";
    cols.GetColumn(0).ColType = ectString;
    row.SetValue("0", "   Paris");
    EXPECT_EQ(row.GetCol(0).GetExportedValue(true), "   Paris");
}

TEST(ValueFormat, FormatSetters) {
    TTabExportFormats f;
    f.SetFloatFormat("");
    EXPECT_EQ(f.FloatFormat(), "#,###,##0.00");
    f.SetIntegerFormat("0");
    f.SetNullString("  n/a ");
    EXPECT_EQ(f.NullString(), "n/a");
    f.ResetFormats();
    EXPECT_EQ(f.IntegerFormat(), "#,###,##0");
    EXPECT_EQ(f.NullString(), "n/a");
}

TEST(ExportText, FailureKeepsTheOldFile) {
    std::string dir = TempDir();
    std::string file = dir + "out.txt";
    WriteFile(file, "OLD CONTENTS");
    auto grid = MakeGrid(Numbered(4), 1);
    TLineExport x;
    x.ExportSource = esStringGrid;
    x.StringGrid = grid.get();
    x.FileName = file;
    x.FailAfterFirst = true;
    EXPECT_THROW(x.Execute(), ETabExportError);
    EXPECT_EQ(ReadFile(file), "OLD CONTENTS");
    x.FailAfterFirst = false;
    x.Rows.clear();
    x.Execute();
    EXPECT_EQ(ReadFile(file), "r1\r\nr2\r\nr3\r\n");

    x.FileName = "/proc/no/such/dir/out.txt";
    try {
        x.Execute();
        ADD_FAILURE() << "no error";
    } catch (const ETabExportError& e) {
        EXPECT_EQ(std::string(e.what()), "Directory '/proc/no/such/dir' not found and cannot be created");
    }
}
