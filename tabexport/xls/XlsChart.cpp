#include "tabexport/xls/XlsChart.h"

#include "tabexport/core/Utf.h"
#include "tabexport/xls/BiffStream.h"
#include "tabexport/xls/XlsDrawing.h"
#include "tabexport/xls/XlsSheetItems.h"

#include <initializer_list>

namespace cb::tabexport {

namespace {

constexpr std::uint16_t BEGIN = 0x1033, END = 0x1034, LINEFORMAT = 0x1007, AREAFORMAT = 0x100A, POS = 0x104F,
                        TEXT = 0x1025, AI = 0x1051, SERIESTEXT = 0x100D;

class TChartOut {
public:
    explicit TChartOut(TBiffOut& Out) : FOut(Out) {}

    // A record of 16-bit fields.
    void Words(std::uint16_t Id, std::initializer_list<int> Values) {
        FBody.Clear();
        for (int v : Values) FBody.U16(std::uint16_t(v));
        FOut.Record(Id, FBody);
    }
    void Empty(std::uint16_t Id) { FOut.Record(Id, nullptr, 0); }
    void Record() { FOut.Record(FId, FBody); }
    TBiffBody& Start(std::uint16_t Id) {
        FId = Id;
        FBody.Clear();
        return FBody;
    }

    void LineFormat(std::uint32_t Colour, int Pattern, int Weight, int Flags, int Index) {
        TBiffBody& b = Start(LINEFORMAT);
        b.U32(Colour);
        for (int v : {Pattern, Weight, Flags, Index}) b.U16(std::uint16_t(v));
        Record();
    }
    void AreaFormat(std::uint32_t Fore, std::uint32_t Back, int Pattern, int Flags, int ForeIndex, int BackIndex) {
        TBiffBody& b = Start(AREAFORMAT);
        b.U32(Fore);
        b.U32(Back);
        for (int v : {Pattern, Flags, ForeIndex, BackIndex}) b.U16(std::uint16_t(v));
        Record();
    }
    void Pos(int TopLeft, int BottomRight, int X1, int Y1, int X2, int Y2) {
        TBiffBody& b = Start(POS);
        b.U16(std::uint16_t(TopLeft));
        b.U16(std::uint16_t(BottomRight));
        for (int v : {X1, Y1, X2, Y2}) b.U32(std::uint32_t(v));
        Record();
    }
    void Text() {
        TBiffBody& b = Start(TEXT);
        b.U8(2);
        b.U8(2);
        b.U16(1);
        b.U32(0);
        for (std::uint32_t v : {1643u, 82u, 714u, 397u}) b.U32(v);
        for (int v : {0x0081, 77, 0x3D20, 0}) b.U16(std::uint16_t(v));
        Record();
    }
    // AI without a range (Sheet < 0) or with a 3-D area reference.
    void Ai(int Id, int Sheet, const TxlsDataRange* Range) {
        TBiffBody& b = Start(AI);
        b.U8(std::uint8_t(Id));
        b.U8(Id == 0 || Id == 3 ? 1 : 2);
        b.U16(0);
        b.U16(0);
        if (Sheet < 0 || !Range) {
            b.U16(0);
        } else {
            b.U16(11);
            b.U8(0x3B);
            b.U16(std::uint16_t(Sheet));
            for (int v : {Range->Row1 - 1, Range->Row2 - 1, Range->Col1 - 1, Range->Col2 - 1}) b.U16(std::uint16_t(v));
        }
        Record();
    }
    void SeriesText(const std::string& Title) {
        std::u16string t = Utf8ToUtf16(Utf8Left(Title, 255));
        TBiffBody& b = Start(SERIESTEXT);
        b.U16(0);
        b.U8(std::uint8_t(t.size()));
        b.U8(1);
        b.Utf16(t);
        Record();
    }
    // TEXT, BEGIN, POS, FONTX, AI; the caller ends it.
    void TextBlock(int X2, int Y2) {
        Text();
        Empty(BEGIN);
        Pos(2, 2, 0, 0, X2, Y2);
        Words(0x1026, {0});
        Ai(0, -1, nullptr);
    }

private:
    TBiffOut& FOut;
    TBiffBody FBody;
    std::uint16_t FId = 0;
};

bool Is3D(TxlsChartStyle S) {
    return S == xcsColumn3d || S == xcsBar3d || S == xcsLine3d || S == xcsPie3d || S == xcsArea3d || S == xcsSurface3d;
}

void ChartType(TChartOut& O, TxlsChartStyle S) {
    switch (S) {
    case xcsColumn:
    case xcsColumn3d:
        O.Words(0x1017, {0, 150, 0});
        break;
    case xcsBar:
    case xcsBar3d:
        O.Words(0x1017, {0, 150, 1});
        break;
    case xcsLine:
    case xcsLineMark:
    case xcsLine3d:
        O.Words(0x1018, {0});
        break;
    case xcsPie:
    case xcsPie3d:
        O.Words(0x1019, {0, 0, 1});
        break;
    case xcsArea:
    case xcsArea3d:
        O.Words(0x101A, {0});
        break;
    case xcsSurface:
    case xcsSurface3d:
        O.Words(0x103F, {0});
        break;
    case xcsRadar:
        O.Words(0x103E, {0});
        break;
    case xcsRadarArea:
        O.Words(0x1040, {0});
        break;
    }
}

void Tick(TChartOut& O) {
    TBiffBody& b = O.Start(0x101E);
    b.U8(2);
    b.U8(0);
    b.U8(3);
    b.U8(1);
    b.U32(0);
    b.Zeros(16);
    b.U16(0x0023);
    b.U16(77);
    b.U16(0);
    O.Record();
}

}  // namespace

void WriteChartSubstream(TBiffOut& Out, const TxlsChartShape& Shape) {
    const TxlsChart& c = *Shape.Chart;
    TChartOut o(Out);
    o.Words(biff::BOF, {0x0600, 0x0020, 0x0DBB, 0x07CC, 0, 0, 0x206, 0});
    o.Empty(biff::HEADER);
    o.Empty(biff::FOOTER);
    o.Words(biff::HCENTER, {0});
    o.Words(biff::VCENTER, {0});
    {
        TBiffBody& b = o.Start(0x00A1);
        for (int v : {0, 18, 1, 1, 1, 0x003B, 0, 2208}) b.U16(std::uint16_t(v));
        b.F64(0);
        b.F64(0);
        b.U16(1);
        o.Record();
    }
    o.Words(0x0033, {3});
    for (auto [height, basis] : {std::pair{240, 0}, std::pair{200, 1}, std::pair{200, 0}})
        o.Words(0x1060, {0x1635, 0x111C, height, basis, 0});
    o.Words(biff::PROTECT, {0});
    o.Words(0x1001, {0});
    {
        TBiffBody& b = o.Start(0x1002);
        for (std::uint32_t v : {0x0000F000u, 0u, 0x00EFFFE8u, 0x00B27FD0u}) b.U32(v);
        o.Record();
    }
    o.Empty(BEGIN);
    o.Words(0x00A0, {1, 1});
    {
        TBiffBody& b = o.Start(0x1064);
        b.U32(0x00010000);
        b.U32(0x00010000);
        o.Record();
    }
    o.Words(0x1032, {0, 2});
    o.Empty(BEGIN);
    o.LineFormat(0, 0, -1, 9, 77);
    o.AreaFormat(0xFFFFFF, 0, 1, 1, 78, 77);
    o.Empty(END);

    for (size_t s = 0; s < c.Series.size(); ++s) {
        const TxlsChartSeries& series = c.Series[s];
        o.Words(0x1003, {1, 1, 13, 13, 1, 0});
        o.Empty(BEGIN);
        o.Ai(0, -1, nullptr);
        if (!series.Title.empty()) o.SeriesText(series.Title);
        o.Ai(1, Shape.SheetIndex, &Shape.Values[s]);
        o.Ai(2, Shape.SheetIndex, &Shape.Categories[s]);
        o.Ai(3, -1, nullptr);
        o.Words(0x1006, {0xFFFF, int(s), int(s), 0});
        o.Empty(BEGIN);
        o.Words(0x105F, {0});
        if (!c.AutoColor) {
            o.LineFormat(0, 0, 0, 0, 8);
            o.AreaFormat(0xA0A0A0, 0x909090, 1, 0, XlsColorInfo(series.Color).Palette, 8);
        }
        o.Empty(END);
        o.Words(0x1045, {0});
        o.Empty(END);
    }

    {
        TBiffBody& b = o.Start(0x1044);
        b.U16(0x000A);
        b.U8(0);
        b.U8(0);
        o.Record();
    }
    for (int kind : {2, 3}) {
        o.Words(0x1024, {kind});
        o.TextBlock(0, 0);
        o.Empty(END);
    }
    o.Words(0x1046, {1});
    {
        TBiffBody& b = o.Start(0x1041);
        b.U16(0);
        for (std::uint32_t v : {490u, 895u, 2606u, 2456u}) b.U32(v);
        o.Record();
    }
    o.Empty(BEGIN);
    o.Pos(2, 2, 129, 719, 2968, 3105);
    // Category axis.
    {
        TBiffBody& b = o.Start(0x101D);
        b.U16(0);
        b.Zeros(16);
        o.Record();
    }
    o.Empty(BEGIN);
    o.Words(0x1020, {1, 1, 1, 1});
    o.Words(0x1062, {0, 0, 1, 0, 1, 0, 0, 0, 0x00EF});
    Tick(o);
    o.Empty(END);
    // Value axis.
    {
        TBiffBody& b = o.Start(0x101D);
        b.U16(1);
        b.Zeros(16);
        o.Record();
    }
    o.Empty(BEGIN);
    {
        TBiffBody& b = o.Start(0x101F);
        for (int i = 0; i < 5; ++i) b.F64(0);
        b.U16(0x001F);
        o.Record();
    }
    Tick(o);
    o.Words(0x1021, {1});
    o.LineFormat(0, 0, -1, 9, 77);
    o.Empty(END);
    o.Empty(0x1035);
    o.Words(0x1032, {1, 3});
    o.Empty(BEGIN);
    o.LineFormat(0x808080, 0, 0, 0, 23);
    o.AreaFormat(0xC0C0C0, 0, 1, 0, 22, 79);
    o.Empty(END);
    {
        TBiffBody& b = o.Start(0x1014);
        b.Zeros(16);
        b.U16(c.Style == xcsPie || c.Style == xcsPie3d ? 1 : 0);
        b.U16(0);
        o.Record();
    }
    o.Empty(BEGIN);
    ChartType(o, c.Style);
    if (Is3D(c.Style)) o.Words(0x103A, {20, 15, 30, 100, 100, 150, 0x0015});
    if (c.ShowLegend) {
        TBiffBody& b = o.Start(0x1015);
        for (std::uint32_t v : {3239u, 1947u, 710u, 333u}) b.U32(v);
        b.U8(std::uint8_t(c.LegendPlacement));
        b.U8(1);
        b.U16(0x001F);
        o.Record();
        o.Empty(BEGIN);
        o.Pos(5, 2, 3239, 1947, 0, 0);
        o.Text();
        o.Empty(BEGIN);
        o.Pos(2, 2, 0, 0, 0, 0);
        o.Ai(0, -1, nullptr);
        o.Empty(END);
        o.Empty(END);
    }
    o.Empty(END);
    o.Empty(END);
    if (!c.Title.empty()) {
        o.TextBlock(52, 22);
        o.SeriesText(c.Title);
        o.Words(0x1027, {1, 0, 0});
        o.Empty(END);
    }
    o.Empty(END);
    {
        TBiffBody& b = o.Start(biff::DIMENSIONS);
        b.U32(0);
        b.U32(13);
        b.U16(0);
        b.U16(1);
        b.U16(0);
        o.Record();
    }
    for (int i : {1, 2, 3}) o.Words(0x1065, {i});
    o.Empty(biff::EOFRec);
}

}  // namespace cb::tabexport
