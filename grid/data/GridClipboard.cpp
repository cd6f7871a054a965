#include "grid/data/GridClipboard.h"

#include "grid/ExtStringGrid.h"
#include "grid/data/CellStream.h"
#include "grid/markup/MarkupText.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/Strings.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>
#include <cmath>

namespace cb::grid {

namespace {

// Calls field(col, row, text, lastOfText) for every TAB-separated field of
// every line (CR LF, CR or LF end a line); the segment after a final line
// break comes last, empty.
template <class F>
void ForEachTabField(std::string_view text, F field) {
    int col = 0, row = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const char c = end ? '\0' : text[i];
        if (!end && c != '\t' && c != '\r' && c != '\n') continue;
        field(col, row, text.substr(start, i - start), end);
        if (end) break;
        if (c == '\t') {
            ++col;
        } else {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            col = 0;
            ++row;
        }
        start = i + 1;
    }
}

const QMimeData* ClipboardData() {
    return QGuiApplication::clipboard()->mimeData();
}

bool ReadDateTime(const std::string& text, double& value) {
    const auto& fs = cb::rtl::FormatSettings();
    std::string datePart = text, timePart;
    auto blank = text.find(' ');
    if (blank != std::string::npos) {
        datePart = text.substr(0, blank);
        timePart = text.substr(blank + 1);
    } else if (text.find(fs.DateSeparator) == std::string::npos) {
        datePart.clear();
        timePart = text;
    }
    value = 0;
    if (!datePart.empty() && !ParseShortDate(datePart, value)) return false;
    if (!timePart.empty()) {
        int h = 0, m = 0, s = 0;
        std::string t = timePart;
        std::replace(t.begin(), t.end(), fs.TimeSeparator, ' ');
        char extra = 0;
        int n = std::sscanf(t.c_str(), "%d %d %d %c", &h, &m, &s, &extra);
        if (n < 2 || n > 3 || h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59) return false;
        value += (h * 3600 + m * 60 + s) / 86400.0;
    }
    return true;
}

}  // namespace

TTabTextShape MeasureTabText(std::string_view text) {
    TTabTextShape shape{1, 0};
    int lastRow = 0;
    bool lastEmpty = true;
    ForEachTabField(text, [&](int col, int row, std::string_view field, bool last) {
        shape.Cols = std::max(shape.Cols, col + 1);
        lastRow = row;
        if (last) lastEmpty = col == 0 && field.empty();
    });
    shape.Rows = std::max(1, lastEmpty ? lastRow : lastRow + 1);
    return shape;
}

TGridClipboard::TGridClipboard(TExtStringGrid& grid) : FGrid(grid) {}

std::uint64_t TGridClipboard::SourceId() const {
    return (std::uint64_t(QCoreApplication::applicationPid()) << 32) ^ std::uint64_t(std::uintptr_t(&FGrid));
}

bool TGridClipboard::CellWritable(int col, int row) const {
    if (col < FGrid.FixedCols() || row < FGrid.FixedRows() || col >= FGrid.ColCount() || row >= FGrid.RowCount())
        return false;
    if (row >= FGrid.RowCount() - FGrid.FixedFooters()) return false;
    if (!(FGrid.Options() & goEditing) && !FillMode && !FGrid.MouseActions.RangeSelectAndEdit) return false;
    if (const TCellProperties* p = FGrid.GetCellObject(col, row); p && p->ReadOnly) return false;
    bool can = true;
    FGrid.CanEditCell(col, row, can);
    return can;
}

bool TGridClipboard::MayWrite(int col, int row) const {
    return FGrid.Navigation.AllowClipboardAlways || CellWritable(col, row);
}

std::string TGridClipboard::RectAsTabText(const TGridRect& rect, bool disjunct) const {
    TExtStringGrid& g = FGrid;
    const bool rowMarks = disjunct && g.MouseActions.DisjunctRowSelect && !g.MouseActions.DisjunctColSelect;
    const bool colMarks = disjunct && g.MouseActions.DisjunctColSelect;
    const bool manyRows = rect.Bottom > rect.Top;
    std::string text;
    for (int r = rect.Top; r <= rect.Bottom; ++r) {
        if (rowMarks && !g.IsRowSelected(r)) continue;
        bool any = false;
        for (int c = rect.Left; c <= rect.Right; ++c) {
            if (colMarks && !g.IsColumnSelected(c)) continue;
            std::string cell = g.GetCellText(g.RealColIndex(c), r);
            if (!g.Navigation.CopyHTMLTagsToClipboard && cell.find("</") != std::string::npos)
                cell = HTMLToPlainText(cell);
            text += cell;
            text += '\t';
            any = true;
        }
        if (!any) continue;
        text.pop_back();
        if (manyRows) text += "\r\n";
    }
    return text;
}

void TGridClipboard::CopyRectToClipboard(const TGridRect& rect, bool disjunct) {
    ClipboardOrigin = {rect.Left, rect.Top};
    auto data = std::make_unique<QMimeData>();
    data->setText(QString::fromStdString(RectAsTabText(rect, disjunct)));
    if (FGrid.Navigation.AllowRTFClipboard) {
        const std::string& cell = FGrid.Cells(FGrid.RealColIndex(rect.Left), rect.Top);
        if (cell.find("{\\") != std::string::npos)
            data->setData(RichTextMimeType, QByteArray(cell.data(), qsizetype(cell.size())));
    }
    if (FGrid.Navigation.AllowFmtClipboard) {
        const std::string stream = WriteCellStream(FGrid, rect, SourceId());
        data->setData(GridCellsMimeType, QByteArray(stream.data(), qsizetype(stream.size())));
    }
    QGuiApplication::clipboard()->setMimeData(data.release());
}

void TGridClipboard::CopySelection() {
    if (FGrid.MouseActions.DisjunctRowSelect || FGrid.MouseActions.DisjunctColSelect)
        CopyRectToClipboard({0, 0, FGrid.ColCount() - 1, FGrid.RowCount() - 1}, true);
    else
        CopyRectToClipboard(FGrid.Selection(), false);
    ClipboardFromCopy = true;
}

void TGridClipboard::CutSelection() {
    CopySelection();
    TExtStringGrid& g = FGrid;
    g.BeginUpdate();
    auto resume = cb::rtl::OnScopeExit([&] { g.EndUpdate(); });
    if (g.MouseActions.DisjunctRowSelect) {
        for (int r = g.FixedRows(); r < g.RowCount(); ++r)
            if (g.IsRowSelected(r)) g.ClearRowRange(r, 1);
    } else if (g.MouseActions.DisjunctColSelect) {
        for (int c = g.FixedCols(); c < g.ColCount(); ++c)
            if (g.IsColumnSelected(c)) g.ClearColumnRange(c, 1);
    } else {
        const TGridRect s = g.Selection();
        for (int c = s.Left; c <= s.Right; ++c)
            for (int r = s.Top; r <= s.Bottom; ++r)
                if (MayWrite(c, r)) g.SetCellText(g.RealColIndex(c), r, {});
        if (g.Navigation.AllowFmtClipboard) g.FreeCellObjects(s.Left, s.Top, s.Right, s.Bottom);
        g.CellsChanged(s);
    }
    ClipboardFromCopy = false;
}

int TGridClipboard::PasteTabText(int c0, int r0, std::string_view text) {
    TExtStringGrid& g = FGrid;
    if (c0 < 0 || r0 < 0 || text.empty()) return 0;
    if (!(g.Options() & goEditing) && !g.Navigation.AllowClipboardAlways && !g.MouseActions.RangeSelectAndEdit &&
        !FillMode)
        return 0;
    const TTabTextShape shape = MeasureTabText(text);
    if (shape.Rows > MaxPasteRows) throw EExtGridError("The pasted text has more than 1000000 rows");
    if (shape.Cols > MaxPasteCols) throw EExtGridError("The pasted text has more than 10000 columns");
    g.BeginUpdate();
    auto resume = cb::rtl::OnScopeExit([&] { g.EndUpdate(); });
    // Grown once, before a cell is written.
    if (g.Navigation.AllowClipboardColGrow && c0 + shape.Cols > g.ColCount()) g.SetColCount(c0 + shape.Cols);
    if (g.Navigation.AllowClipboardRowGrow && r0 + shape.Rows > g.RowCount()) g.SetRowCount(r0 + shape.Rows);
    int count = 0, maxCol = c0, maxRow = r0;
    std::string value;
    ForEachTabField(text, [&](int col, int row, std::string_view field, bool last) {
        ++count;
        const int c = c0 + col, r = r0 + row;
        maxCol = std::max(maxCol, c);
        maxRow = std::max(maxRow, r);
        if (last && field.empty()) return;  // counted, not written
        if (c >= g.ColCount() || r >= g.RowCount() || !MayWrite(g.RealColIndex(c), r)) return;
        value.assign(field);
        bool allow = true;
        if (OnClipboardBeforePasteCell) OnClipboardBeforePasteCell(&g, c, r, value, allow);
        if (allow) g.SetCellText(g.RealColIndex(c), r, value);
    });
    const TGridRect pasted{c0, r0, maxCol, maxRow};
    if (OnPasteNotify) OnPasteNotify(&g, ClipboardOrigin, pasted, ClipboardFromCopy);
    g.CellsChanged(pasted);
    return count;
}

int TGridClipboard::PasteFromClipboardAt(int col, int row) {
    const QMimeData* data = ClipboardData();
    if (!data) return 0;
    TExtStringGrid& g = FGrid;
    if (g.Navigation.AllowFmtClipboard && data->hasFormat(GridCellsMimeType)) {
        const QByteArray bytes = data->data(GridCellsMimeType);
        const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
        g.BeginUpdate();
        auto resume = cb::rtl::OnScopeExit([&] { g.EndUpdate(); });
        const TCellStreamHeader h =
            ReadCellStream(g, col, row, view, g.Navigation.AllowClipboardColGrow, g.Navigation.AllowClipboardRowGrow);
        const TGridCoord origin = h.SourceId == SourceId() ? ClipboardOrigin : TGridCoord{-1, -1};
        const TGridRect pasted = h.FullGrid ? TGridRect{0, 0, h.Cols - 1, h.Rows - 1}
                                            : TGridRect{col, row, col + h.Cols - 1, row + h.Rows - 1};
        if (OnPasteNotify) OnPasteNotify(&g, origin, pasted, ClipboardFromCopy);
        g.CellsChanged(pasted);
        return h.Cols * h.Rows;
    }
    if (g.Navigation.AllowRTFClipboard && data->hasFormat(RichTextMimeType)) {
        if (CellWritable(col, row)) {
            QByteArray rtf = data->data(RichTextMimeType);
            const int zero = rtf.indexOf('\0');
            if (zero >= 0) rtf.truncate(zero);
            g.SetCellText(col, row, rtf.toStdString());
        }
        return 0;
    }
    if (data->hasText()) return PasteTabText(col, row, data->text().toStdString());
    return 0;
}

void TGridClipboard::PasteSelection() {
    const TGridRect s = FGrid.Selection();
    const int n = PasteFromClipboardAt(s.Left, s.Top);
    if (FGrid.Navigation.AllowSmartClipboard) SmartFill(n);
}

void TGridClipboard::SmartFill(int n) {
    TExtStringGrid& g = FGrid;
    const TGridRect s = g.Selection();
    const bool oneCell = s.Left == s.Right && s.Top == s.Bottom;
    const bool oneCol = s.Left == s.Right, oneRow = s.Top == s.Bottom;
    g.BeginUpdate();
    auto resume = cb::rtl::OnScopeExit([&] { g.EndUpdate(); });
    auto forEachCell = [&](auto write) {
        for (int c = s.Left; c <= s.Right; ++c)
            for (int r = s.Top; r <= s.Bottom; ++r)
                if (CellWritable(g.RealColIndex(c), r)) write(g.RealColIndex(c), r);
    };
    if (n == 1 && !oneCell) {
        const std::string p = g.GetCellText(g.RealColIndex(s.Left), s.Top);
        forEachCell([&](int c, int r) { g.SetCellText(c, r, p); });
        g.CellsChanged(s);
        return;
    }
    if (n <= 1 || !(oneCol || oneRow)) return;
    const auto& fs = cb::rtl::FormatSettings();
    const std::string p = g.GetCellText(g.RealColIndex(s.Left), s.Top);
    const std::string q =
        oneRow ? g.GetCellText(g.RealColIndex(s.Left + 1), s.Top) : g.GetCellText(g.RealColIndex(s.Left), s.Top + 1);
    auto holds = [](const std::string& t, char c) { return t.find(c) != std::string::npos; };
    const bool pDate = holds(p, fs.DateSeparator) || holds(p, fs.TimeSeparator);
    const bool qDate = holds(q, fs.DateSeparator) || holds(q, fs.TimeSeparator);
    if (pDate && qDate) {
        double a, b;
        if (!ReadDateTime(p, a) || !ReadDateTime(q, b)) return;
        int ya, ma, da, yb, mb, db;
        DecodeDate(a, ya, ma, da);
        DecodeDate(b, yb, mb, db);
        const bool asDate = holds(p, fs.DateSeparator);
        double value = a;
        forEachCell([&](int c, int r) {
            g.SetCellText(c, r, asDate ? FormatShortDate(value) : cb::rtl::TimeToStr(value));
            value = StepDate(yb - ya, mb - ma, db - da, value, b - a);
        });
    } else if (holds(p, fs.DecimalSeparator) || holds(q, fs.DecimalSeparator)) {
        auto read = [&](std::string t, double& v) {
            if (fs.DecimalSeparator != '.') std::replace(t.begin(), t.end(), fs.DecimalSeparator, '.');
            return cb::rtl::TryStrToFloat(t, v);
        };
        double a, b;
        if (!read(p, a) || !read(q, b)) return;
        double value = a;
        forEachCell([&](int c, int r) {
            g.SetCellFloat(c, r, value);
            value += b - a;
        });
    } else if (long long a, b; cb::rtl::TryStrToInt64(p, a) && cb::rtl::TryStrToInt64(q, b)) {
        long long value = a;
        forEachCell([&](int c, int r) {
            g.SetCellText(c, r, std::to_string(value));
            value += b - a;
        });
    } else if (oneCol) {
        const int period = std::max(n - 1, 1);
        for (int r = s.Top + period; r <= s.Bottom; ++r)
            if (CellWritable(g.RealColIndex(s.Left), r))
                g.SetCellText(g.RealColIndex(s.Left), r, g.GetCellText(g.RealColIndex(s.Left), r - period));
    } else {
        for (int c = s.Left + n; c <= s.Right; ++c)
            if (CellWritable(g.RealColIndex(c), s.Top))
                g.SetCellText(g.RealColIndex(c), s.Top, g.GetCellText(g.RealColIndex(c - n), s.Top));
    }
    g.CellsChanged(s);
}

}  // namespace cb::grid
