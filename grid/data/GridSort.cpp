// Sorting. The part of the work that may fail (reading cells, asking the
// compare events) runs before any row moves: the order of the rows is
// found with a stable sort over their numbers, then applied with at most
// n - 1 row exchanges (each cycle of the permutation walked once). So a
// comparison that throws leaves the grid untouched, and the cursor and
// column 0 (NormalCellsOnly) are put back by scope guards on every path.
//
// Automatic styles read both cells and order them by kind first (empty,
// check box, number, date, text), so a mixed column still has one total
// order; cells of one kind compare by that kind's rule.
#include "grid/data/GridSort.h"

#include "grid/ExtStringGrid.h"
#include "grid/markup/MarkupText.h"
#include "grid/util/NumberUtils.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/Strings.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <numeric>

namespace cb::grid {

namespace {

int Sign(double d) {
    return d > 0 ? 1 : d < 0 ? -1 : 0;
}

int ByteCompare(const std::string& a, const std::string& b) {
    int r = a.compare(b);
    return r > 0 ? 1 : r < 0 ? -1 : 0;
}

// The user's locale orders the texts; the collators are made again when
// the default locale changes.
const QCollator& Collator(bool caseSensitive) {
    struct TCache {
        QLocale Locale;
        QCollator Sensitive, Insensitive;
    };
    static thread_local std::unique_ptr<TCache> cache;
    if (!cache || cache->Locale != QLocale()) {
        cache = std::make_unique<TCache>(TCache{QLocale(), QCollator(QLocale()), QCollator(QLocale())});
        cache->Sensitive.setCaseSensitivity(Qt::CaseSensitive);
        cache->Insensitive.setCaseSensitivity(Qt::CaseInsensitive);
    }
    return caseSensitive ? cache->Sensitive : cache->Insensitive;
}

int LocaleCompare(const QString& a, const QString& b, bool caseSensitive) {
    return Sign(Collator(caseSensitive).compare(a, b));
}

void EraseFirst(std::string& text, const std::string& part) {
    if (part.empty()) return;
    auto at = text.find(part);
    if (at != std::string::npos) text.erase(at, part.size());
}

// A number written in the cell: strict, whole text, after the prefix and
// suffix are taken out (and the thousand separators for financial).
bool ReadNumber(std::string text, const std::string& prefix, const std::string& suffix, bool financial, double& value) {
    const auto& fs = cb::rtl::FormatSettings();
    EraseFirst(text, suffix);
    EraseFirst(text, prefix);
    if (financial) text.erase(std::remove(text.begin(), text.end(), fs.ThousandSeparator), text.end());
    if (fs.DecimalSeparator != '.') {
        auto at = text.find(fs.DecimalSeparator);
        if (at != std::string::npos) text[at] = '.';
    }
    return cb::rtl::TryStrToFloat(text, value);
}

// Date (and an optional time after a blank) in the short date format; 0
// when the text is none.
double ReadDate(const std::string& text) {
    TDateTime date = 0;
    auto blank = text.find(' ');
    if (!ParseShortDate(text.substr(0, blank), date)) return 0;
    if (blank == std::string::npos) return date;
    int h = 0, m = 0, s = 0;
    char sep = cb::rtl::FormatSettings().TimeSeparator;
    std::string t = text.substr(blank + 1);
    std::replace(t.begin(), t.end(), sep, ' ');
    if (std::sscanf(t.c_str(), "%d %d %d", &h, &m, &s) >= 1) date += (h * 3600 + m * 60 + s) / 86400.0;
    return date;
}

template <class Parse>
double ReadDateWith(Parse parse, const std::string& text) {
    try {
        return parse(text);
    } catch (const std::exception&) {
        return 0;  // a day or month out of range
    }
}

// The date rule of the automatic style: the first "/" at position 2 or 3
// (1-based), not last, with a digit on either side.
bool LooksLikeDate(const std::string& t) {
    auto slash = t.find('/');
    if (slash != 1 && slash != 2) return false;
    if (slash + 1 >= t.size()) return false;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return digit(t[slash - 1]) && digit(t[slash + 1]);
}

enum TCellKind {
    ckEmpty,
    ckCheck,
    ckNumber,
    ckDate,
    ckText
};

bool IsCheckCell(TExtStringGrid& grid, int col, int row) {
    const TCellType t = grid.GetCellGraphicType(col, row);
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox;
}

TCellKind KindOf(TExtStringGrid& grid, int col, int row, const std::string& text) {
    if (IsCheckCell(grid, col, row)) return ckCheck;
    if (text.empty()) return ckEmpty;
    if (NumberTextKind(text) != ntkNotANumber) return ckNumber;
    return LooksLikeDate(text) ? ckDate : ckText;
}

int CompareNumbers(const std::string& t1, const std::string& t2, const std::string& prefix, const std::string& suffix,
                   bool financial) {
    double v1 = 0, v2 = 0;
    bool ok1 = ReadNumber(t1, prefix, suffix, financial, v1) || t1.empty();
    bool ok2 = ReadNumber(t2, prefix, suffix, financial, v2) || t2.empty();
    if (t1.empty()) v1 = 0;
    if (t2.empty()) v2 = 0;
    // Text that is no number sorts as text, after the numbers.
    if (!ok1 && !ok2) return ByteCompare(t1, t2);
    if (!ok1) return 1;
    if (!ok2) return -1;
    return Sign(v1 - v2);
}

bool Checked(TExtStringGrid& grid, int col, int row) {
    bool checked = false;
    grid.GetCheckBoxState(col, row, checked);
    return checked;
}

int CompareByStyle(TExtStringGrid& grid, const TSortHooks& hooks, TSortStyle style, int col, int r1, int r2,
                   const std::string& t1, const std::string& t2, const std::string& prefix, const std::string& suffix) {
    switch (style) {
    case ssAutomatic:
    case ssAlphabetic:
    case ssAlphaCase:
        return ByteCompare(t1, t2);
    case ssAlphaNoCase:
        return ByteCompare(cb::rtl::UpperCase(t1), cb::rtl::UpperCase(t2));
    case ssAnsiAlphaCase:
    case ssAnsiAlphaNoCase:
        return LocaleCompare(QString::fromStdString(t1), QString::fromStdString(t2), style == ssAnsiAlphaCase);
    case ssHTML:
        return ByteCompare(HTMLToPlainText(t1), HTMLToPlainText(t2));
    case ssNumeric:
    case ssFinancial:
        return CompareNumbers(t1, t2, prefix, suffix, style == ssFinancial);
    case ssDate:
        return Sign((t1.empty() ? 0 : ReadDate(t1)) - (t2.empty() ? 0 : ReadDate(t2)));
    case ssShortDateEU:
        return Sign(ReadDateWith(ParseDMYDate, t1) - ReadDateWith(ParseDMYDate, t2));
    case ssShortDateUS:
        return Sign(ReadDateWith(ParseMDYDate, t1) - ReadDateWith(ParseMDYDate, t2));
    case ssCustom: {
        int res = 0;
        if (hooks.OnCustomCompare) hooks.OnCustomCompare(&grid, t1, t2, res);
        return Sign(res);
    }
    case ssRaw: {
        int res = 0;
        if (hooks.OnRawCompare) hooks.OnRawCompare(&grid, col, r1, r2, res);
        return Sign(res);
    }
    case ssImages: {
        auto k1 = grid.GetGraphicSortKey(col, r1), k2 = grid.GetGraphicSortKey(col, r2);
        return k2 < k1 ? 1 : k1 == k2 ? 0 : -1;
    }
    case ssCheckBox: {
        bool c1 = Checked(grid, col, r1), c2 = Checked(grid, col, r2);
        return c1 && !c2 ? 1 : c1 == c2 ? 0 : -1;
    }
    case ssUnicode:
        return LocaleCompare(QString::fromStdU16String(grid.GetWideCellText(col, r1)),
                             QString::fromStdU16String(grid.GetWideCellText(col, r2)), false);
    }
    return 0;
}

// Rows lo..hi in the order of before(a, b); exchanged into place.
template <class Less>
void SortRange(TExtStringGrid& grid, int lo, int hi, Less less) {
    if (hi <= lo) return;
    const int n = hi - lo + 1;
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), lo);
    std::stable_sort(order.begin(), order.end(), less);
    // at[i]: the original row now at lo + i; where[r - lo]: where row r is.
    std::vector<int> at(order.size()), where(order.size());
    std::iota(at.begin(), at.end(), lo);
    std::iota(where.begin(), where.end(), 0);
    for (int i = 0; i < n; ++i) {
        const int want = order[size_t(i)];
        const int from = where[size_t(want - lo)];
        if (from == i) continue;
        grid.ExchangeRows(lo + i, lo + from);
        const int displaced = at[size_t(i)];
        at[size_t(from)] = displaced;
        where[size_t(displaced - lo)] = from;
        at[size_t(i)] = want;
        where[size_t(want - lo)] = i;
    }
}

// What every sort shares: painting suspended, column 0 kept in place with
// NormalCellsOnly, the cursor following its row with MoveRowOnSort.
template <class Body>
void SortFrame(TExtStringGrid& grid, Body body) {
    grid.BeginUpdate();
    auto resume = cb::rtl::OnScopeExit([&] { grid.EndUpdate(); });
    struct TKept {
        std::string Text;
        std::unique_ptr<TCellProperties> Object;
    };
    std::vector<TKept> column0;
    const bool keepColumn0 = grid.SortSettings.NormalCellsOnly && grid.FixedCols() > 0;
    if (keepColumn0) {
        column0.resize(size_t(grid.RowCount()));
        for (int r = 0; r < grid.RowCount(); ++r) {
            column0[size_t(r)].Text = grid.Cells(0, r);
            column0[size_t(r)].Object = grid.TakeCellObject(0, r);
            grid.SetRawCellText(0, r, {});
        }
    }
    auto putBack = cb::rtl::OnScopeExit([&] {
        for (int r = 0; r < int(column0.size()) && r < grid.RowCount(); ++r) {
            grid.SetRawCellText(0, r, column0[size_t(r)].Text);
            if (column0[size_t(r)].Object) grid.SetCellObject(0, r, std::move(column0[size_t(r)].Object));
        }
    });
    grid.SortTrackedRow = grid.Row();
    body();
    if (grid.Navigation.MoveRowOnSort && grid.SortTrackedRow >= 0 && grid.SortTrackedRow != grid.Row())
        grid.FocusCell(grid.Col(), grid.SortTrackedRow, true);
}

int LastNormalRow(const TExtStringGrid& grid) {
    return grid.RowCount() - grid.FixedFooters() - 1;
}

}  // namespace

int CompareCells(TExtStringGrid& grid, const TSortHooks& hooks, int col, int r1, int r2) {
    const TSortSettings& ss = grid.SortSettings;
    TSortStyle style = ss.AutoFormat ? ssAutomatic : ssAlphabetic;
    std::string prefix, suffix;
    grid.GetCellFormat(col, style, prefix, suffix);
    const std::string t1 = grid.GetCellText(col, r1);
    const std::string t2 = grid.GetCellText(col, r2);
    int res;
    if (style == ssAutomatic) {
        const TCellKind k1 = KindOf(grid, col, r1, t1), k2 = KindOf(grid, col, r2, t2);
        if (k1 != k2) {
            res = k1 > k2 ? 1 : -1;
        } else {
            const TSortStyle byKind = k1 == ckCheck    ? ssCheckBox
                                      : k1 == ckNumber ? ssFinancial
                                      : k1 == ckDate   ? ssDate
                                                       : ssAlphabetic;
            res = CompareByStyle(grid, hooks, byKind, col, r1, r2, t1, t2, prefix, suffix);
        }
    } else {
        res = CompareByStyle(grid, hooks, style, col, r1, r2, t1, t2, prefix, suffix);
    }
    if (ss.IgnoreBlanks && t1.empty() != t2.empty()) {
        // Empty cells first (blFirst) or last in either direction.
        const bool first = ss.BlankPos == blFirst;
        const bool ascending = ss.Direction == sdAscending;
        const int emptyFirst = (first == ascending) ? -1 : 1;
        res = t1.empty() ? emptyFirst : -emptyFirst;
    }
    return res;
}

int CompareRows(TExtStringGrid& grid, const TSortHooks& hooks, int col, int row1, int row2) {
    for (;; ++col) {
        const int res = CompareCells(grid, hooks, col, row1, row2);
        if (res != 0 || !grid.SortSettings.Full || col > grid.ColCount() - 2) return res;
    }
}

int CompareRowsIndexed(TExtStringGrid& grid, const TSortHooks& hooks, int k, int row1, int row2) {
    const TSortIndexList& list = grid.SortIndexes;
    for (; k < list.Count(); ++k) {
        const int entry = list.Item(k);
        const int res = CompareCells(grid, hooks, TSortIndexList::Column(entry), row1, row2);
        if (res != 0) return TSortIndexList::Descending(entry) ? -res : res;
        if (!grid.SortSettings.Full) return 0;
    }
    return 0;
}

void SortByColumn(TExtStringGrid& grid, const TSortHooks& hooks) {
    grid.SortIndexes.Clear();
    const int col = grid.SortSettings.Column;
    if (col < 0 || col >= grid.ColCount()) return;
    const int s = grid.SortSettings.Direction == sdDescending ? -1 : 1;
    SortFrame(grid, [&] {
        SortRange(grid, grid.FixedRows(), LastNormalRow(grid),
                  [&](int a, int b) { return s * CompareRows(grid, hooks, col, a, b) < 0; });
    });
}

void SortByIndex(TExtStringGrid& grid, const TSortHooks& hooks) {
    if (grid.SortIndexes.Count() == 0) throw EExtGridError("No indexes specified for indexed sort");
    for (int entry : grid.SortIndexes.Items())
        if (TSortIndexList::Column(entry) >= grid.ColCount())
            throw EExtGridError("Sort index column " + std::to_string(TSortIndexList::Column(entry)) +
                                " is not a column of the grid");
    SortFrame(grid, [&] {
        SortRange(grid, grid.FixedRows(), LastNormalRow(grid),
                  [&](int a, int b) { return CompareRowsIndexed(grid, hooks, 0, a, b) < 0; });
    });
}

void SortNodeGroups(TExtStringGrid& grid, const TSortHooks& hooks) {
    const int col = grid.SortSettings.Column;
    if (col < 0 || col >= grid.ColCount()) return;
    const int s = grid.SortSettings.Direction == sdDescending ? -1 : 1;
    const int end = LastNormalRow(grid) + 1;  // the footer rows stay out
    SortFrame(grid, [&] {
        for (int r = 0; r < end; ++r) {
            if (!grid.IsNodeRow(r)) continue;
            int last = r + 1;
            while (last < end && !grid.IsNodeRow(last)) ++last;
            SortRange(grid, r + 1, last - 1, [&](int a, int b) { return s * CompareRows(grid, hooks, col, a, b) < 0; });
            r = last - 1;
        }
    });
}

}  // namespace cb::grid
