#include "grid/data/CellStream.h"

#include "grid/ExtStringGrid.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <cmath>
#include <cstring>
#include <optional>

namespace cb::grid {

namespace {

constexpr char Magic[4] = {'C', 'B', 'G', 'C'};
constexpr std::uint32_t Version = 1;
constexpr std::uint32_t MaxText = 16u << 20;
constexpr std::uint32_t MaxListItems = 4096;
constexpr std::uint32_t MaxImageBytes = 16u << 20;
constexpr int MaxImageSide = 4096;

class TWriter {
public:
    std::string Out;
    template <class T>
    void Put(T v) {
        char b[sizeof(T)];
        std::memcpy(b, &v, sizeof(T));
        Out.append(b, sizeof(T));
    }
    void Str(std::string_view s) {
        Put(std::uint32_t(s.size()));
        Out.append(s);
    }
};

class TReader {
public:
    explicit TReader(std::string_view data) : FData(data) {}
    template <class T>
    T Get() {
        Need(sizeof(T));
        T v;
        std::memcpy(&v, FData.data() + FPos, sizeof(T));
        FPos += sizeof(T);
        return v;
    }
    bool Bool() {
        auto b = Get<std::uint8_t>();
        if (b > 1) Bad("a flag that is neither 0 nor 1");
        return b == 1;
    }
    std::string Str(std::uint32_t limit = MaxText) {
        auto n = Get<std::uint32_t>();
        if (n > limit) Bad("a text of " + std::to_string(n) + " bytes");
        Need(n);
        std::string s(FData.substr(FPos, n));
        FPos += n;
        return s;
    }
    int Int(int lo, int hi, const char* what) {
        auto v = Get<std::int32_t>();
        if (v < lo || v > hi) Bad(std::string(what) + " " + std::to_string(v));
        return v;
    }
    std::size_t Left() const { return FData.size() - FPos; }
    void Need(std::size_t n) const {
        if (n > Left()) Bad("a record that runs past the end");
    }
    [[noreturn]] void Bad(const std::string& what) const {
        throw ECellStreamError("The copied cells are damaged: " + what + " at byte " + std::to_string(FPos));
    }

private:
    std::string_view FData;
    std::size_t FPos = 0;
};

bool IsStreamedGraphic(const TCellGraphic& g) {
    switch (g.CellType) {
    case ctEmpty:
    case ctPicture:
    case ctFilePicture:
        return false;
    case ctBitmap:
    case ctBitButton:
        return g.CellCreated && g.Bitmap();
    case ctIcon:
        return g.CellCreated && g.Icon();
    case ctRadio:
    case ctImages:
        return g.CellCreated;
    default:
        return true;
    }
}

std::string ImageBytes(const cb::gfx::TBitmap* bitmap) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (bitmap) bitmap->Image().save(&buffer, "PNG");
    return bytes.toStdString();
}

QImage ReadImage(TReader& in) {
    std::string bytes = in.Str(MaxImageBytes);
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    QImageReader reader(&buffer, "PNG");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > MaxImageSide || size.height() > MaxImageSide)
        in.Bad("a picture that is not a PNG image of at most 4096 pixels across");
    QImage image = reader.read();
    if (image.isNull()) in.Bad("a picture that cannot be read");
    return image;
}

struct TProps {
    bool MergedBase = false;
    int SpanX = 0, SpanY = 0;
    int Alignment = 0, VAlignment = 0;
    TColor BorderColor = 0, FontColor = 0, BrushColor = 0;
    int BorderWidth = 0, FontSize = 0, Editor = 0, NodeLevel = 0;
    unsigned FontStyle = 0;
    bool ReadOnly = false, WordWrap = false;
    std::uint8_t BrushStyle = 0;
    std::string FontName;
};

struct TGraphicData {
    int Type = ctNone, VAlign = 0, HAlign = 0;
    int Index = 0, Angle = 0;
    bool Transparent = false, Boolean = false;
    double Value = 0;
    std::int16_t ErrFrom = 0, ErrLen = 0;
    std::string Text;
    TColor Color = 0, ColorTo = 0;
    std::vector<std::string> RadioItems;
    std::vector<int> ImageIndexes;
    QImage Image;  // bitmap or icon
};

struct TStagedCell {
    int Col = 0, Row = 0;
    std::string Text;
    std::optional<TProps> Props;
    std::optional<TGraphicData> Graphic;
};

void WriteProps(TWriter& w, const TCellProperties& p) {
    const bool base = p.IsBaseCell && (p.CellSpanX > 0 || p.CellSpanY > 0);
    w.Put(std::uint8_t(base));
    w.Put(std::int32_t(base ? p.CellSpanX : 0));
    w.Put(std::int32_t(base ? p.CellSpanY : 0));
    w.Put(std::int32_t(p.Alignment));
    w.Put(std::int32_t(p.VAlignment()));
    w.Put(std::uint32_t(p.BorderColor));
    w.Put(std::uint32_t(p.FontColor));
    w.Put(std::uint32_t(p.BrushColor()));
    w.Put(std::int32_t(p.BorderWidth));
    w.Put(std::int32_t(p.FontSize));
    w.Put(std::int32_t(p.Editor));
    w.Put(std::int32_t(p.NodeLevel));
    w.Put(std::uint32_t(p.FontStyle));
    w.Put(std::uint8_t(p.ReadOnly));
    w.Put(std::uint8_t(p.WordWrap()));
    w.Put(std::uint8_t(p.BrushStyle));
    w.Str(p.FontName());
}

TProps ReadProps(TReader& in, int maxSpanX, int maxSpanY) {
    TProps p;
    p.MergedBase = in.Bool();
    p.SpanX = in.Int(0, maxSpanX, "a merged width");
    p.SpanY = in.Int(0, maxSpanY, "a merged height");
    p.Alignment = in.Int(taLeftJustify, taCenter, "an alignment");
    p.VAlignment = in.Int(vtaTop, vtaBottom, "a vertical alignment");
    p.BorderColor = in.Get<std::uint32_t>();
    p.FontColor = in.Get<std::uint32_t>();
    p.BrushColor = in.Get<std::uint32_t>();
    p.BorderWidth = in.Int(0, 100, "a border width");
    p.FontSize = in.Int(0, 1000, "a font size");
    p.Editor = in.Int(0, 255, "an editor type");
    p.NodeLevel = in.Int(0, 1000, "a node level");
    p.FontStyle = in.Get<std::uint32_t>() & 0xF;
    p.ReadOnly = in.Bool();
    p.WordWrap = in.Bool();
    p.BrushStyle = in.Get<std::uint8_t>();
    if (p.BrushStyle > 7) in.Bad("a brush style");
    p.FontName = in.Str(256);
    return p;
}

void WriteGraphic(TWriter& w, const TCellGraphic& g) {
    w.Put(std::uint8_t(g.CellType));
    w.Put(std::uint8_t(g.CellVAlign));
    w.Put(std::uint8_t(g.CellHAlign));
    w.Put(std::int32_t(g.CellIndex));
    w.Put(std::int32_t(g.CellAngle));
    w.Put(std::uint8_t(g.CellTransparent));
    w.Put(std::uint8_t(g.CellBoolean));
    w.Put(g.CellValue);
    w.Put(g.CellErrFrom);
    w.Put(g.CellErrLen);
    w.Str(g.CellText);
    w.Put(std::uint32_t(g.CellColor));
    w.Put(std::uint32_t(g.CellColorTo));
    w.Put(std::uint32_t(g.RadioItems.size()));
    for (const auto& item : g.RadioItems) w.Str(item);
    w.Put(std::uint32_t(g.ImageIndexes.size()));
    for (int i : g.ImageIndexes) w.Put(std::int32_t(i));
    if (g.CellType == ctBitmap || g.CellType == ctBitButton) w.Str(ImageBytes(g.Bitmap()));
    if (g.CellType == ctIcon) w.Str(ImageBytes(g.Icon()));
}

TGraphicData ReadGraphic(TReader& in) {
    TGraphicData g;
    g.Type = in.Get<std::uint8_t>();
    if (g.Type > ctProgressPie || g.Type == ctEmpty || g.Type == ctPicture || g.Type == ctFilePicture)
        in.Bad("a graphic of kind " + std::to_string(g.Type));
    g.VAlign = in.Get<std::uint8_t>();
    g.HAlign = in.Get<std::uint8_t>();
    if (g.VAlign > vaFull || g.HAlign > haFull) in.Bad("a graphic alignment");
    g.Index = in.Int(-1, 1 << 24, "an image index");
    g.Angle = in.Int(-3600, 3600, "an angle");
    g.Transparent = in.Bool();
    g.Boolean = in.Bool();
    g.Value = in.Get<double>();
    if (!std::isfinite(g.Value)) in.Bad("a value that is not a number");
    g.ErrFrom = in.Get<std::int16_t>();
    g.ErrLen = in.Get<std::int16_t>();
    g.Text = in.Str();
    g.Color = in.Get<std::uint32_t>();
    g.ColorTo = in.Get<std::uint32_t>();
    auto radios = in.Get<std::uint32_t>();
    if (radios > MaxListItems) in.Bad(std::to_string(radios) + " radio items");
    for (std::uint32_t i = 0; i < radios; ++i) g.RadioItems.push_back(in.Str(4096));
    auto images = in.Get<std::uint32_t>();
    if (images > MaxListItems) in.Bad(std::to_string(images) + " image indexes");
    in.Need(std::size_t(images) * 4);
    for (std::uint32_t i = 0; i < images; ++i) g.ImageIndexes.push_back(in.Int(-1, 1 << 24, "an image index"));
    if (g.Type == ctBitmap || g.Type == ctBitButton || g.Type == ctIcon) g.Image = ReadImage(in);
    return g;
}

TCellStreamHeader ReadHeader(TReader& in) {
    in.Need(8);
    char magic[4];
    for (char& c : magic) c = char(in.Get<std::uint8_t>());
    if (std::memcmp(magic, Magic, 4) != 0) in.Bad("no cells of this program");
    if (in.Get<std::uint32_t>() != Version) in.Bad("another version of the format");
    TCellStreamHeader h;
    h.Left = in.Int(0, MaxStreamCols, "a first column");
    h.Top = in.Int(0, MaxStreamRows, "a first row");
    h.Cols = in.Int(1, MaxStreamCols, "a column count");
    h.Rows = in.Int(1, MaxStreamRows, "a row count");
    in.Need((std::size_t(h.Cols) + std::size_t(h.Rows)) * 4);
    return h;
}

}  // namespace

std::string WriteCellStream(TExtStringGrid& grid, const TGridRect& rect, std::uint64_t sourceId) {
    TWriter w;
    w.Out.append(Magic, 4);
    w.Put(Version);
    const int cols = rect.Right - rect.Left + 1, rows = rect.Bottom - rect.Top + 1;
    if (cols < 1 || rows < 1 || cols > MaxStreamCols || rows > MaxStreamRows)
        throw EExtGridError("The selection is too large to copy with its formats");
    w.Put(std::int32_t(rect.Left));
    w.Put(std::int32_t(rect.Top));
    w.Put(std::int32_t(cols));
    w.Put(std::int32_t(rows));
    for (int c = rect.Left; c <= rect.Right; ++c) w.Put(std::int32_t(grid.ColWidths(c)));
    for (int r = rect.Top; r <= rect.Bottom; ++r) w.Put(std::int32_t(grid.RowHeights(r)));
    w.Put(std::uint8_t(cols == grid.ColCount() && rows == grid.RowCount()));
    w.Put(sourceId);
    for (int c = rect.Left; c <= rect.Right; ++c)
        for (int r = rect.Top; r <= rect.Bottom; ++r) {
            const std::string& text = grid.Cells(c, r);
            const TCellProperties* p = grid.GetCellObject(c, r);
            if (text.empty() && !p) continue;
            w.Put(std::int32_t(c));
            w.Put(std::int32_t(r));
            w.Str(text);
            w.Put(std::uint8_t(p != nullptr));
            if (!p) continue;
            WriteProps(w, *p);
            const TCellGraphic* g = p->Graphic.get();
            const bool hasGraphic = g && IsStreamedGraphic(*g);
            w.Put(std::uint8_t(hasGraphic));
            if (hasGraphic) WriteGraphic(w, *g);
        }
    return std::move(w.Out);
}

TCellStreamHeader ReadCellStreamHeader(std::string_view data) {
    if (data.size() > MaxStreamBytes) throw ECellStreamError("The copied cells are too large");
    TReader in(data);
    return ReadHeader(in);
}

TCellStreamHeader ReadCellStream(TExtStringGrid& grid, int col, int row, std::string_view data, bool growCols,
                                 bool growRows) {
    if (data.size() > MaxStreamBytes) throw ECellStreamError("The copied cells are too large");
    if (col < 0 || row < 0) throw EExtGridError("Cells cannot be pasted at a negative position");
    TReader in(data);
    TCellStreamHeader h = ReadHeader(in);
    std::vector<int> widths(std::size_t(h.Cols)), heights(std::size_t(h.Rows));
    for (int& w : widths) w = in.Int(0, 100000, "a column width");
    for (int& hh : heights) hh = in.Int(0, 100000, "a row height");
    h.FullGrid = in.Bool();
    h.SourceId = in.Get<std::uint64_t>();

    // Every record is read and checked before the grid changes.
    std::vector<TStagedCell> cells;
    const long long maxCells = (long long)h.Cols * h.Rows;
    while (in.Left() > 0) {
        if ((long long)cells.size() >= maxCells) in.Bad("more cells than the block holds");
        TStagedCell cell;
        cell.Col = in.Int(h.Left, h.Left + h.Cols - 1, "a column outside the block") - h.Left;
        cell.Row = in.Int(h.Top, h.Top + h.Rows - 1, "a row outside the block") - h.Top;
        cell.Text = in.Str();
        if (in.Bool()) {
            cell.Props = ReadProps(in, h.Cols - 1 - cell.Col, h.Rows - 1 - cell.Row);
            if (in.Bool()) cell.Graphic = ReadGraphic(in);
        }
        cells.push_back(std::move(cell));
    }

    if (h.FullGrid) {
        col = row = 0;
        grid.ClearAllCells();
        grid.SetColCount(h.Cols);
        grid.SetRowCount(h.Rows);
        for (int c = 0; c < h.Cols; ++c) grid.SetColWidths(c, widths[std::size_t(c)]);
        for (int r = 0; r < h.Rows; ++r) grid.SetRowHeights(r, heights[std::size_t(r)]);
    } else {
        // Grown once, before any cell is written.
        if (growCols && col + h.Cols > grid.ColCount()) grid.SetColCount(col + h.Cols);
        if (growRows && row + h.Rows > grid.RowCount()) grid.SetRowCount(row + h.Rows);
    }
    struct TMerge {
        int Col, Row, SpanX, SpanY;
    };
    std::vector<TMerge> merges;
    for (TStagedCell& cell : cells) {
        const int c = col + cell.Col, r = row + cell.Row;
        if (c >= grid.ColCount() || r >= grid.RowCount()) continue;
        grid.SetCellText(c, r, cell.Text);
        if (!cell.Props) continue;
        const TProps& p = *cell.Props;
        TCellProperties* target = grid.EnsureCellProperties(c, r);
        if (!target) continue;
        target->Alignment = TAlignment(p.Alignment);
        target->SetVAlignment(TVAlignment(p.VAlignment));
        target->BorderColor = p.BorderColor;
        target->FontColor = p.FontColor;
        target->SetBrushColor(p.BrushColor);
        target->BorderWidth = p.BorderWidth;
        target->FontSize = p.FontSize;
        target->Editor = TEditorType(p.Editor);
        target->NodeLevel = p.NodeLevel;
        target->FontStyle = TFontStyles(p.FontStyle);
        target->ReadOnly = p.ReadOnly;
        target->SetWordWrap(p.WordWrap);
        target->BrushStyle = p.BrushStyle;
        target->SetFontName(p.FontName);
        if (p.MergedBase) merges.push_back({c, r, p.SpanX, p.SpanY});
        if (!cell.Graphic) continue;
        TGraphicData& g = *cell.Graphic;
        TCellGraphic* graphic = grid.CreateCellGraphic(c, r);
        graphic->CellType = TCellType(g.Type);
        graphic->CellVAlign = TCellVAlign(g.VAlign);
        graphic->CellHAlign = TCellHAlign(g.HAlign);
        graphic->CellIndex = g.Index;
        graphic->CellAngle = g.Angle;
        graphic->CellTransparent = g.Transparent;
        graphic->CellBoolean = g.Boolean;
        graphic->CellValue = g.Value;
        graphic->CellErrFrom = g.ErrFrom;
        graphic->CellErrLen = g.ErrLen;
        graphic->CellText = g.Text;
        graphic->CellColor = g.Color;
        graphic->CellColorTo = g.ColorTo;
        graphic->RadioItems = std::move(g.RadioItems);
        graphic->ImageIndexes = std::move(g.ImageIndexes);
        graphic->CellCreated = true;
        if (!g.Image.isNull()) {
            auto bitmap = std::make_unique<cb::gfx::TBitmap>();
            bitmap->SetImage(g.Image);
            if (g.Type == ctIcon)
                graphic->TakeIcon(std::move(bitmap));
            else
                graphic->TakeBitmap(std::move(bitmap));
        }
    }
    // Ranges the block holds whole are merged again where they landed.
    for (const TMerge& m : merges)
        if (m.Col + m.SpanX < grid.ColCount() && m.Row + m.SpanY < grid.RowCount())
            grid.MergeCellRange(m.Col, m.Row, m.SpanX + 1, m.SpanY + 1);
    return h;
}

}  // namespace cb::grid
