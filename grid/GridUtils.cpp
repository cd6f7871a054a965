#include "grid/GridUtils.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"
#include "platform/rtl/Strings.h"

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace cb::grid {

using cb::rtl::TFormatSettings;

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char UpperChar(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// Days from 0001-01-01 (proleptic Gregorian) for the given date.
long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153L * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;  // days since 1970-01-01
}

constexpr long kDelphiEpochTo1970 = 25569;  // 1970-01-01 as a day number

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

}  // namespace

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
    date = double(DaysFromCivil(year, month, day) + kDelphiEpochTo1970);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime d = 0;
    if (!TryEncodeDate(year, month, day, d)) throw cb::rtl::EConvertError("Invalid argument to date encode");
    return d;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
    long z = long(std::floor(date)) - kDelphiEpochTo1970 + 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yoe + era * 400 + (month <= 2));
}

std::string FormatShortDate(TDateTime date, const TFormatSettings& fs) {
    int y, m, d;
    DecodeDate(date, y, m, d);
    const std::string& f = fs.ShortDateFormat;
    std::string out;
    char buf[16];
    for (size_t i = 0; i < f.size();) {
        char c = UpperChar(f[i]);
        size_t n = 1;
        while (i + n < f.size() && UpperChar(f[i + n]) == c) ++n;
        if (c == 'D') {
            std::snprintf(buf, sizeof buf, n >= 2 ? "%02d" : "%d", d);
            out += buf;
        } else if (c == 'M') {
            std::snprintf(buf, sizeof buf, n >= 2 ? "%02d" : "%d", m);
            out += buf;
        } else if (c == 'Y') {
            if (n <= 2)
                std::snprintf(buf, sizeof buf, "%02d", y % 100);
            else
                std::snprintf(buf, sizeof buf, "%04d", y);
            out += buf;
        } else if (c == '/') {
            out.append(n, fs.DateSeparator);
        } else {
            out.append(f, i, n);
        }
        i += n;
    }
    return out;
}

bool ReadLeadingInt(std::string_view text, int& value, bool& clean) {
    size_t i = 0;
    bool neg = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        neg = text[i] == '-';
        ++i;
    }
    size_t start = i;
    long long v = 0;
    while (i < text.size() && IsDigit(text[i])) {
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) return false;
        ++i;
    }
    if (i == start) return false;
    if (neg) v = -v;
    if (v > 2147483647LL) return false;
    value = int(v);
    clean = i == text.size();
    return true;
}

bool ReadCleanInt(std::string_view text, int& value) {
    bool clean = false;
    return ReadLeadingInt(text, value, clean) && clean;
}

// --- text --------------------------------------------------------------------

int PosInUpperCase(std::string_view pattern, std::string_view text) {
    return cb::rtl::Pos(pattern, cb::rtl::UpperCase(text));
}

int FirstCharPos(char c, std::string_view text) {
    size_t p = text.find(c);
    return p == std::string_view::npos ? 0 : int(p) + 1;
}

int FirstCharPosOut(char c, std::string_view text, int& pos) {
    int p = FirstCharPos(c, text);
    if (p > 0) pos = p;
    return p;
}

int PosWithOut(std::string_view pattern, std::string_view text, int& pos) {
    pos = cb::rtl::Pos(pattern, text);
    return pos;
}

char FirstCharInSet(std::string_view set, std::string_view text) {
    for (char c : text)
        if (set.find(c) != std::string_view::npos) return c;
    return '\0';
}

void FillWithChar(std::string& text, char c) {
    std::fill(text.begin(), text.end(), c);
}

std::string CollapseRepeatedChar(char c, std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == c && !out.empty() && out.back() == c && i > 0 && text[i - 1] == c) continue;
        out += text[i];
    }
    return out;
}

std::string BackslashNToCR(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\r';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

namespace {

// Every `from` in text becomes CR LF.
void CharToCRLF(std::string& text, char from, std::size_t extra) {
    std::string out;
    out.reserve(text.size() + extra);
    for (char c : text) {
        if (c == from)
            out += "\r\n";
        else
            out += c;
    }
    text = std::move(out);
}

}  // namespace

void LFToCRLF(std::string& text) {
    if (text.find('\n') == std::string::npos) return;
    CharToCRLF(text, '\n', 8);
}

void TildeToCRLF(std::string& text) {
    CharToCRLF(text, '~', 0);
}

void QuoteMultiLineText(std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    out += '"';
    text = std::move(out);
}

void ExtractFirstLine(std::string& text, bool keepRest, std::string& line) {
    size_t cr = text.find('\r');
    if (cr == std::string::npos) {
        line = text;
        text.clear();
        return;
    }
    line = text.substr(0, cr);
    size_t rest = cr + 1;
    if (rest < text.size() && text[rest] == '\n') ++rest;
    if (keepRest)
        text.erase(0, rest);
    else
        text.clear();
}

int CountTextLines(std::string_view text, bool multiLine) {
    if (!multiLine) return 1;
    return 1 + int(std::count(text.begin(), text.end(), '\r'));
}

void OemToAnsiText(std::string&) {}

char LowerAsciiChar(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

std::string CapitaliseName(std::string_view text) {
    static const std::string_view separators = " ',-.";
    std::string out;
    out.reserve(text.size());
    bool capNext = true;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (separators.find(c) != std::string_view::npos) {
            out += c;
            capNext = true;
        } else {
            out += capNext ? UpperChar(c) : LowerAsciiChar(c);
            capNext = false;
        }
        // After this position: special capitals.
        const size_t pos = i + 1;  // 1-based position just written
        if (out == "Mc") capNext = true;
        size_t mc = out.find(" Mc");
        if (mc != std::string::npos && mc + 3 == pos && pos > 2) capNext = true;
        if (pos + 2 >= text.size()) {
            if ((out.size() >= 2 && out.compare(out.size() - 2, 2, " I") == 0) ||
                (out.size() >= 3 && out.compare(out.size() - 3, 3, " II") == 0))
                capNext = true;
        }
    }
    return out;
}

bool IsURLOrMail(std::string_view text) {
    return text.find("://") != std::string_view::npos || text.find("mailto:") != std::string_view::npos;
}

void StripURLScheme(std::string& text) {
    size_t p = text.find("://");
    if (p != std::string::npos) {
        text.erase(0, p + 3);
        return;
    }
    p = text.find("mailto:");
    if (p != std::string::npos) text.erase(0, p + 7);
}

int CellTextKind(std::string_view text, bool htmlEnabled) {
    std::string t(text);
    t += ' ';
    if (t.size() < 2) return ctkPlain;
    if (t[0] == '=') return ctkFormula;
    if (t[0] == '|' && t[1] == '\\') return ctkWideText;
    if (t[0] == '{' && t[1] == '\\') return ctkRichText;
    if (htmlEnabled &&
        (t.find("</") != std::string::npos || t.find("<B") != std::string::npos || t.find("<I") != std::string::npos))
        return ctkHTML;
    return ctkPlain;
}

bool ParseRowColRef(std::string_view text, TGridCoord& cell) {
    std::string t = cb::rtl::UpperCase(text);
    if (t.size() <= 3 || t[0] != 'R') return false;
    size_t c = t.find('C');
    if (c == std::string::npos) return false;
    int row = 0;
    int col = 0;
    if (!ReadCleanInt(std::string_view(t).substr(1, c - 1), row) ||
        !ReadCleanInt(std::string_view(t).substr(c + 1), col))
        return false;
    cell = {col, row};
    return true;
}

// --- numbers, dates and limits --------------------------------------------

int ClampToLimits(int value, int lower, int upper) {
    if (lower == upper) return value;
    if (upper > 0 && value > upper) return upper;
    if (lower > 0 && value < lower) return lower;
    return value;
}

int MaxOfTwo(int a, int b) {
    return a > b ? a : b;
}

int MinOfTwo(int a, int b) {
    return a < b ? a : b;
}

bool CellInGridRect(const TGridRect& r, int col, int row) {
    return r.Left <= col && col <= r.Right && r.Top <= row && row <= r.Bottom;
}

std::string NormaliseNumberText(std::string_view text, const TFormatSettings& fs) {
    std::string t = cb::rtl::Trim(text);
    if (t.empty()) return {};
    bool negative = t.front() == '(' && t.back() == ')';
    while (t.size() >= 2 && !IsDigit(t[0]) && t[0] != fs.ThousandSeparator && t[0] != fs.DecimalSeparator) {
        if (t[0] == '-') negative = true;
        t.erase(0, 1);
    }
    std::string out;
    for (char c : t) {
        if (c == fs.ThousandSeparator) continue;
        if (c == fs.DecimalSeparator)
            out += '.';
        else if (c == '-' || c == '.' || IsDigit(c))
            out += c;
        else
            break;
    }
    if (negative) out.insert(out.begin(), '-');
    return out;
}

int NumberTextKind(std::string_view text, const TFormatSettings& fs) {
    if (text.empty()) return 2;
    bool isInt = true;
    bool isFloat = true;
    int minus = 0;
    int decimals = 0;
    int lastThousand = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        bool digit = IsDigit(c);
        if (c == '-') ++minus;
        if (!(c == '-' || digit)) isInt = false;
        if (c == fs.DecimalSeparator) ++decimals;
        if (!(c == '-' || digit || c == fs.ThousandSeparator || c == fs.DecimalSeparator)) isFloat = false;
        if (c == fs.ThousandSeparator) {
            if (i == 0 || (lastThousand >= 0 && int(i) - lastThousand < 3)) isFloat = false;
            lastThousand = int(i);
        }
    }
    if (minus > 1 || decimals > 1) return 2;
    if (isInt) return 0;
    return isFloat ? 1 : 2;
}

bool ParseShortDate(std::string_view text, TDateTime& date, const TFormatSettings& fs) {
    std::string f = cb::rtl::UpperCase(fs.ShortDateFormat);
    struct Order {
        size_t pos;
        char what;
    } order[3] = {{f.find('D'), 'D'}, {f.find('M'), 'M'}, {f.find('Y'), 'Y'}};
    std::sort(std::begin(order), std::end(order), [](const Order& a, const Order& b) { return a.pos < b.pos; });
    size_t s1 = text.find(fs.DateSeparator);
    if (s1 == std::string_view::npos) return false;
    size_t s2 = text.find(fs.DateSeparator, s1 + 1);
    if (s2 == std::string_view::npos) return false;
    std::string_view fields[3] = {text.substr(0, s1), text.substr(s1 + 1, s2 - s1 - 1), text.substr(s2 + 1)};
    int day = 0, month = 0, year = 0;
    for (int i = 0; i < 3; ++i) {
        int v = 0;
        if (!ReadCleanInt(fields[i], v)) return false;
        if (order[i].what == 'D')
            day = v;
        else if (order[i].what == 'M')
            month = v;
        else
            year = v;
    }
    if (day > 31 || month > 12) return false;
    return TryEncodeDate(year, month, day, date);
}

namespace {
TDateTime ParseThreeFieldDate(std::string_view text, bool monthFirst) {
    char sep = text.find('/') != std::string_view::npos ? '/' : text.find('.') != std::string_view::npos ? '.' : '-';
    size_t s1 = text.find(sep);
    if (s1 == std::string_view::npos) return 0;
    size_t s2 = text.find(sep, s1 + 1);
    if (s2 == std::string_view::npos || text.find(sep, s2 + 1) != std::string_view::npos) return 0;
    int a = 0, b = 0, y = 0;
    if (!ReadCleanInt(text.substr(0, s1), a) || !ReadCleanInt(text.substr(s1 + 1, s2 - s1 - 1), b) ||
        !ReadCleanInt(text.substr(s2 + 1), y))
        return 0;
    // Two-digit years get a century; four-digit years stand as written.
    if (y >= 0 && y < 100) y += y <= 25 ? 2000 : 1900;
    int month = monthFirst ? a : b;
    int day = monthFirst ? b : a;
    return EncodeDate(y, month, day);
}
}  // namespace

TDateTime ParseMDYDate(std::string_view text) {
    return ParseThreeFieldDate(text, true);
}

TDateTime ParseDMYDate(std::string_view text) {
    return ParseThreeFieldDate(text, false);
}

TDateTime StepDate(int years, int months, int days, TDateTime date, TDateTime step) {
    if (years == 0 && months == 0 && days != 0) return date + days;
    if ((years != 0) != (months != 0) && days == 0) {
        int y, m, d;
        DecodeDate(date, y, m, d);
        if (years != 0) {
            y += years;
        } else {
            int total = y * 12 + (m - 1) + months;
            y = total / 12;
            m = total % 12 + 1;
        }
        if (y < 1 || y > 9999) return date + step;
        d = std::min(d, DaysInMonth(y, m));
        TDateTime out = 0;
        TryEncodeDate(y, m, d, out);
        return out + (date - std::floor(date));
    }
    return date + step;
}

// --- CSV fields --------------------------------------------------------------

int ClosingQuotePos(char quote, std::string_view text, int& pos) {
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != quote) {
            ++i;
            continue;
        }
        size_t run = 0;
        while (i + run < text.size() && text[i + run] == quote) ++run;
        size_t last = i + run - 1;
        if (i + run == text.size() || run % 2 == 1) {
            pos = int(last) + 1;
            return pos;
        }
        i += run;
    }
    return 0;
}

int CountClosingQuotes(char quote, std::string_view text) {
    int count = 0;
    int pos = 0;
    while (!text.empty() && ClosingQuotePos(quote, text, pos) > 0) {
        ++count;
        text.remove_prefix(size_t(pos));
    }
    return count;
}

int CountChar(char c, std::string_view text) {
    return int(std::count(text.begin(), text.end(), c));
}

// --- drawing -----------------------------------------------------------------

TColor HalveColor(TColor color) {
    TColor c = cb::gfx::ColorToRGB(color);
    return cb::gfx::RGB(cb::gfx::GetRValue(c) >> 1, cb::gfx::GetGValue(c) >> 1, cb::gfx::GetBValue(c) >> 1);
}

void DrawBitmapTransparent(cb::gfx::TCanvas& canvas, const cb::gfx::TBitmap& bitmap, TColor background,
                           const TRect& rect) {
    if (bitmap.Empty()) return;
    TColor key = cb::gfx::FromQColor(QColor(bitmap.Image().pixel(0, 0)));
    canvas.Brush().SetStyle(cb::gfx::bsSolid);
    canvas.Brush().SetColor(background);
    canvas.FillRect(cb::gfx::Bounds(rect.Left, rect.Top, bitmap.Width(), bitmap.Height()));
    canvas.DrawTransparent(rect.Left, rect.Top, bitmap, key);
}

void DrawPieProgress(cb::gfx::TCanvas& canvas, const TRect& r, TColor fill, int percent) {
    const double pi = 3.14159265358979323846;
    int cx = r.Left + r.Width() / 2;
    int cy = r.Top + r.Height() / 2;
    double a = std::clamp(percent, 0, 100) / 100.0 * 2 * pi;
    int ex = cx + int(std::lround((r.Width() + 1) / 2.0 * std::sin(a)));
    int ey = cy - int(std::lround((r.Height() + 1) / 2.0 * std::cos(a)));
    canvas.Pen().SetColor(cb::gfx::clGray);
    canvas.Pen().SetWidth(1);
    if (percent > 0) {
        canvas.Brush().SetStyle(cb::gfx::bsSolid);
        canvas.Brush().SetColor(fill);
        if (percent >= 100)
            canvas.Ellipse(r);
        else
            canvas.Pie(r.Left, r.Top, r.Right, r.Bottom, ex, ey, cx, r.Top);
    }
    canvas.Brush().SetStyle(cb::gfx::bsClear);
    canvas.Ellipse(r);
    canvas.MoveTo(cx, r.Top);
    canvas.LineTo(cx, cy);
    canvas.LineTo(ex, ey);
    canvas.Brush().SetStyle(cb::gfx::bsSolid);
}

void DrawErrorUnderline(cb::gfx::TCanvas& canvas, std::string_view text, int length, int start, int offset,
                        const TRect& rect) {
    if (length <= 0 || text.empty()) return;
    auto xOf = [&](int index) {
        if (index >= int(text.size())) return canvas.TextWidth(text.substr(0, text.size() - 1)) + 4;
        return canvas.TextWidth(text.substr(0, size_t(std::max(index, 0))));
    };
    int sx = xOf(start);
    int ex = xOf(start + length - 1);
    int baseY = rect.Top + canvas.TextHeight("X") + offset;
    canvas.Pen().SetColor(cb::gfx::clRed);
    canvas.Pen().SetWidth(2);
    int x = rect.Left + sx;
    bool up = false;
    canvas.MoveTo(x, baseY + 3);
    while (x < rect.Left + ex) {
        x += 3;
        up = !up;
        canvas.LineTo(x, up ? baseY : baseY + 3);
    }
    canvas.LineTo(x + 3, up ? baseY + 3 : baseY);
    canvas.Pen().SetWidth(1);
}

}  // namespace cb::grid
