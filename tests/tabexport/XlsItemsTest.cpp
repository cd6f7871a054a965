// Hyperlinks, cell notes and embedded charts of a workbook, read back by
// xlrd, LibreOffice and a record reader of our own.
#include "TabExportTestSupport.h"

#include "tabexport/core/CustomSource.h"
#include "tabexport/xls/TabExportXLS.h"

#include <QImage>
#include <QJsonArray>

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace cb::tabexport;
using namespace cb::tabexport::test;

namespace {

struct TRecord {
    std::uint16_t Id;
    std::string Body;
};

std::uint16_t U16(const std::string& S, std::size_t At) {
    return std::uint16_t(std::uint8_t(S.at(At)) | (std::uint8_t(S.at(At + 1)) << 8));
}
std::uint32_t U32(const std::string& S, std::size_t At) {
    return U16(S, At) | (std::uint32_t(U16(S, At + 2)) << 16);
}

// The BIFF records of the workbook stream, which olefile takes out.
std::vector<TRecord> WorkbookRecords(const std::string& File) {
    const std::string stream = File + ".stream";
    RunProgram("/usr/bin/python3", {"-c",
                                    "import olefile,sys\n"
                                    "open(sys.argv[2],'wb').write(olefile.OleFileIO(sys.argv[1]).openstream('Workbook')"
                                    ".read())",
                                    File, stream});
    const std::string data = ReadFile(stream);
    std::vector<TRecord> out;
    for (std::size_t pos = 0; pos + 4 <= data.size();) {
        const std::size_t len = U16(data, pos + 2);
        out.push_back({U16(data, pos), data.substr(pos + 4, len)});
        pos += 4 + len;
    }
    return out;
}

// Drawing records (type, instance, body) found in a run of MSODRAWING bytes.
struct TDrawingRec {
    std::uint16_t Type;
    int Instance;
    std::string Body;
};
void DrawingRecords(const std::string& Data, std::size_t From, std::size_t To, std::vector<TDrawingRec>& Out) {
    for (std::size_t pos = From; pos + 8 <= To;) {
        const std::uint16_t verInst = U16(Data, pos), type = U16(Data, pos + 2);
        const std::uint32_t len = U32(Data, pos + 4);
        if ((verInst & 0xF) == 0xF) {  // a container: its children follow
            pos += 8;
            continue;
        }
        Out.push_back({type, verInst >> 4, Data.substr(pos + 8, std::min<std::size_t>(len, To - pos - 8))});
        pos += 8 + len;
    }
}

struct TSheetView {
    std::vector<std::uint32_t> ShapeIds;
    std::vector<int> DrawingIds;
    std::vector<std::pair<int, int>> Objects;  // type, id
    std::vector<int> NoteObjects;
    std::vector<std::string> Hlinks;
    int Charts = 0;
    // The charts' cell references: id, sheet, first and last row, first and last column.
    std::vector<std::vector<int>> References;
};

// Per worksheet: shapes, drawings, objects, notes and links.
std::vector<TSheetView> ReadSheets(const std::vector<TRecord>& Recs) {
    std::vector<TSheetView> sheets;
    int depth = 0;
    for (const TRecord& r : Recs) {
        if (r.Id == 0x0809) {
            const std::uint16_t type = U16(r.Body, 2);
            if (type == 0x0010) sheets.emplace_back();
            if (type == 0x0020) ++sheets.back().Charts;
            ++depth;
        } else if (r.Id == 0x000A) {
            --depth;
        } else if (depth == 2 && r.Id == 0x1051 && U16(r.Body, 6) == 11) {
            std::vector<int> ref{r.Body[0]};
            for (std::size_t at = 9; at < 19; at += 2) ref.push_back(U16(r.Body, at));
            sheets.back().References.push_back(ref);
        } else if (depth == 1 && !sheets.empty()) {
            TSheetView& s = sheets.back();
            if (r.Id == 0x00EC) {
                std::vector<TDrawingRec> d;
                DrawingRecords(r.Body, 0, r.Body.size(), d);
                for (const auto& x : d) {
                    if (x.Type == 0xF00A) s.ShapeIds.push_back(U32(x.Body, 0));
                    if (x.Type == 0xF008) s.DrawingIds.push_back(x.Instance);
                }
            }
            if (r.Id == 0x005D) s.Objects.push_back({U16(r.Body, 4), U16(r.Body, 6)});
            if (r.Id == 0x001C) s.NoteObjects.push_back(U16(r.Body, 6));
            if (r.Id == 0x01B8) s.Hlinks.push_back(r.Body);
        }
    }
    return sheets;
}

// Two columns of five rows: a region and a number.
void FillSource(TqeCustomSource& Src) {
    auto& region = Src.Columns().Add();
    region.SetColumnName("Region");
    region.Caption = "Region";
    auto& sales = Src.Columns().Add();
    sales.SetColumnName("Sales");
    sales.Caption = "Sales";
    sales.ColumnType = ectFloat;
    Src.OnGetNextRecord = [](TqeCustomSource&, int rec, bool& eof) { eof = rec == 5; };
    Src.OnGetColumnValue = [](TqeCustomSource&, int rec, TqeCustomColumn& c, std::string& v) {
        static const char* regions[] = {"North", "South", "East", "West", "Centre"};
        v = c.ColumnName() == "Region" ? regions[rec % 5] : std::to_string(10 * (rec + 1));
    };
}

TxlsChart ColumnChart(const std::string& Title) {
    TxlsChart c;
    c.Title = Title;
    c.CategoryLabelsColumn = "Region";
    TxlsChartSeries s;
    s.DataColumn = "sales";  // case is ignored
    s.Title = "Sales";
    c.Series.push_back(s);
    return c;
}

const std::string KLongNote = [] {
    std::string s;
    for (int i = 0; i < 700; ++i) s += "Zeile " + std::to_string(i) + " größer\n";
    return s;
}();

}  // namespace

class XlsItems : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        FDir = TempDir();
        FillSource(FSource);
        TTabExportXLS x;
        x.FileName = FDir + "items.xls";
        for (int k = 0; k < 2; ++k) {
            TxlsSheet& s = x.Sheets().Add();
            s.Title = k ? "Second" : "First";
            s.ExportSource = esCustom;
            s.CustomSource = &FSource;
            s.Charts.push_back(ColumnChart(k ? "Second chart" : "Sales by region"));
        }
        TxlsSheet& s = x.Sheets().Items(0);
        auto link = [&](TxlsHyperlinkStyle Style, int Row, const std::string& Title, const std::string& Target,
                        const std::string& Tip = {}) {
            TxlsHyperlink& l = s.AddHyperlink();
            l.Style = Style;
            l.Col = 4;
            l.Row = Row;
            l.Title = Title;
            l.Target = Target;
            l.ScreenTip = Tip;
        };
        link(hlsURL, 1, "Home", "https://example.org/a", "the home page");
        link(hlsLocalFile, 2, "Report", "/tmp/reports/Quarterly report 2024.txt");
        link(hlsURL, 3, "Mail", "mailto:sales@example.org");
        link(hlsCell, 4, "Jump", "Second!A2");
        link(hlsURL, 5, "", "https://example.org/untitled");  // no title: left out
        auto note = [&](int Col, int Row, const std::string& Text) {
            TxlsNote& n = s.AddNote();
            n.Col = Col;
            n.Row = Row;
            n.Lines.SetText(Text);
        };
        note(1, 1, "Short note");
        note(2, 3, KLongNote);
        note(1, 4, "  Größe: 東京\r\nzweite Zeile  ");
        note(256, 2, "beyond the last column: left out");
        // A picture between the notes and the chart.
        QImage image(40, 30, QImage::Format_RGB888);
        image.fill(Qt::red);
        image.save(QString::fromStdString(FDir + "pic.png"), "PNG");
        auto& picture = x.Pictures().Add();
        picture.SetFileName(FDir + "pic.png");
        auto& im = s.Images.Add();
        im.PictureName = picture.Name();
        im.Row = 12;
        TxlsNote& other = x.Sheets().Items(1).AddNote();
        other.Col = 2;
        other.Row = 2;
        other.Lines.Add("On the second sheet");
        x.Execute();
        FRecords = WorkbookRecords(x.FileName);
    }
    static std::string FDir;
    static TqeCustomSource FSource;
    static std::vector<TRecord> FRecords;
};
std::string XlsItems::FDir;
TqeCustomSource XlsItems::FSource;
std::vector<TRecord> XlsItems::FRecords;

TEST_F(XlsItems, ShapeAndObjectIdsAreDistinct) {
    for (const TRecord& r : FRecords) EXPECT_LE(r.Body.size(), 8224u) << std::hex << r.Id;
    const auto sheets = ReadSheets(FRecords);
    ASSERT_EQ(sheets.size(), 2u);
    // Each sheet its own drawing, and no shape id twice in the workbook.
    EXPECT_EQ(sheets[0].DrawingIds, std::vector<int>{1});
    EXPECT_EQ(sheets[1].DrawingIds, std::vector<int>{2});
    std::set<std::uint32_t> ids;
    for (const auto& s : sheets)
        for (std::uint32_t id : s.ShapeIds) EXPECT_TRUE(ids.insert(id).second) << "shape id " << id << " twice";
    // Group shape, three notes, the picture, the chart.
    EXPECT_EQ(sheets[0].ShapeIds, (std::vector<std::uint32_t>{1024, 1025, 1026, 1027, 1028, 1029}));
    EXPECT_EQ(sheets[1].ShapeIds, (std::vector<std::uint32_t>{2048, 2049, 2050}));
    // Objects: notes 1-3 (type 25), the picture 4 (type 8), the chart 5 (type 5).
    EXPECT_EQ(sheets[0].Objects, (std::vector<std::pair<int, int>>{{25, 1}, {25, 2}, {25, 3}, {8, 4}, {5, 5}}));
    EXPECT_EQ(sheets[0].NoteObjects, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(sheets[0].Charts, 1);
    // Values from the Sales column, labels from the Region column, rows 2-6,
    // each on its own sheet.
    EXPECT_EQ(sheets[0].References, (std::vector<std::vector<int>>{{1, 0, 1, 5, 1, 1}, {2, 0, 1, 5, 0, 0}}));
    EXPECT_EQ(sheets[1].References, (std::vector<std::vector<int>>{{1, 1, 1, 5, 1, 1}, {2, 1, 1, 5, 0, 0}}));
    EXPECT_EQ(sheets[1].Objects, (std::vector<std::pair<int, int>>{{25, 1}, {5, 2}}));
    // The drawing group counts every shape of both drawings.
    for (const TRecord& r : FRecords)
        if (r.Id == 0x00EB) {
            std::vector<TDrawingRec> d;
            DrawingRecords(r.Body, 0, r.Body.size(), d);
            for (const auto& x : d)
                if (x.Type == 0xF006) {
                    EXPECT_EQ(U32(x.Body, 0), 2048u + 3);  // next free id
                    EXPECT_EQ(U32(x.Body, 4), 3u);         // clusters + 1
                    EXPECT_EQ(U32(x.Body, 8), 9u);         // shapes
                    EXPECT_EQ(U32(x.Body, 12), 2u);        // drawings
                }
        }
    // A URL link of a 4-character title and a 21-character target.
    ASSERT_EQ(sheets[0].Hlinks.size(), 4u);
    EXPECT_EQ(sheets[0].Hlinks[0].size(), 60u + 2 * 4 + 2 * 21);
}

TEST_F(XlsItems, XlrdReadsLinksAndNotes) {
    const std::string out =
        RunProgram("/usr/bin/python3",
                   {"-c",
                    "import xlrd,sys,json\n"
                    "b=xlrd.open_workbook(sys.argv[1],formatting_info=True)\n"
                    "s=b.sheet_by_index(0)\n"
                    "print(json.dumps({'links':[[h.frowx,h.fcolx,h.type,h.url_or_path,h.textmark,h.desc,h.quicktip] "
                    "for h in s.hyperlink_list],"
                    "'notes':{'%d,%d'%k:v.text for k,v in s.cell_note_map.items()},"
                    "'cells':[s.cell_value(r,3) for r in range(4)],"
                    "'second':{'%d,%d'%k:v.text for k,v in b.sheet_by_index(1).cell_note_map.items()}}))",
                    FDir + "items.xls"});
    const QJsonObject d = QJsonDocument::fromJson(QByteArray::fromStdString(out)).object();
    const QJsonArray links = d["links"].toArray();
    ASSERT_EQ(links.size(), 4) << out;
    auto field = [&](int i, int f) { return links[i].toArray()[f].toVariant().toString().toStdString(); };
    EXPECT_EQ(field(0, 2), "url");
    EXPECT_EQ(field(0, 3), "https://example.org/a");
    EXPECT_EQ(field(0, 6), "the home page");
    EXPECT_EQ(field(1, 2), "local file");
    EXPECT_EQ(field(1, 3), "/tmp/reports/Quarterly report 2024.txt");
    EXPECT_EQ(field(2, 3), "mailto:sales@example.org");
    EXPECT_EQ(field(3, 2), "workbook");
    EXPECT_EQ(field(3, 4), "Second!A2");
    EXPECT_EQ(d["cells"].toArray(), QJsonArray({"Home", "Report", "Mail", "Jump"}));
    const QJsonObject notes = d["notes"].toObject();
    ASSERT_EQ(notes.size(), 3) << out;
    EXPECT_EQ(notes["0,0"].toString().toStdString(), "Short note");
    // Trimmed, line breaks as single line feeds, other scripts kept.
    EXPECT_EQ(notes["3,0"].toString().toStdString(), "Größe: 東京\nzweite Zeile");
    // The long note continues over several records and comes back whole.
    std::string longText = KLongNote.substr(0, KLongNote.size() - 1);
    EXPECT_EQ(notes["2,1"].toString().toStdString(), longText);
    EXPECT_EQ(d["second"].toObject()["1,1"].toString().toStdString(), "On the second sheet");
}

TEST_F(XlsItems, LibreOfficeShowsAnnotationsLinksAndCharts) {
    const std::string out = FDir + "lo/";
    RunProgram("/usr/bin/soffice", {"-env:UserInstallation=file://" + FDir + "lo-profile", "--headless", "--convert-to",
                                    "ods", "--outdir", out, FDir + "items.xls"});
    const std::string content = RunProgram("/usr/bin/unzip", {"-p", out + "items.ods", "content.xml"});
    auto count = [&](const std::string& What) {
        int n = 0;
        for (std::size_t at = content.find(What); at != std::string::npos; at = content.find(What, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("<office:annotation"), 4) << content.substr(0, 4000);
    EXPECT_NE(content.find("Short note"), std::string::npos);
    EXPECT_NE(content.find(">Größe: <"), std::string::npos);
    EXPECT_NE(content.find(">東京<"), std::string::npos);
    EXPECT_NE(content.find("xlink:href=\"https://example.org/a\""), std::string::npos);
    EXPECT_NE(content.find("xlink:href=\"mailto:sales@example.org\""), std::string::npos);
    EXPECT_NE(content.find("Quarterly%20report%202024.txt"), std::string::npos);
    EXPECT_NE(content.find("#Second"), std::string::npos);
    // A chart object on each sheet, drawn from the exported cells.
    EXPECT_EQ(count("<draw:object "), 2);
    const std::string list = RunProgram("/usr/bin/unzip", {"-l", out + "items.ods"});
    EXPECT_NE(list.find("Object 1/content.xml"), std::string::npos) << list;
    const std::string chart = RunProgram("/usr/bin/unzip", {"-p", out + "items.ods", "Object 1/content.xml"});
    EXPECT_NE(chart.find("Sales by region"), std::string::npos);
    EXPECT_NE(chart.find("chart:class=\"chart:bar\""), std::string::npos) << chart.substr(0, 3000);
}
