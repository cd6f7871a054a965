#include "chart/core/PlotHelpers.h"

#include "platform/desktop/PlainMessageBox.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/StylePainter.h"
#include "platform/rtl/FormatSettings.h"

#include <QLocale>
#include <QSettings>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>

namespace cb::chart {

namespace {

constexpr int DaysTo1970 = 25569;  // 1899-12-30 .. 1970-01-01

char gFieldSeparator = ';';
TTranslateProc gTranslate;

const TColor DefaultColorTable[DefaultPaletteSize] = {
    0x0000FF, 0x008000, 0x00FFFF, 0xFF0000, 0xFFFFFF, 0x808080, 0xFF00FF, 0x808000, 0x800000, 0x000080,
    0x00FF00, 0x008080, 0x800080, 0xC0C0C0, 0xFFFF00, 0x000000, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0,
};

// Strict "u before v" with tolerance: u + t < v.
bool Before(int u, int v, int t) {
    return u + t < v;
}

}  // namespace

TDateTime EncodeDate(int year, int month, int day) {
    using namespace std::chrono;
    const sys_days d =
        year_month_day{std::chrono::year(year), std::chrono::month(unsigned(month)), std::chrono::day(unsigned(day))};
    return double(d.time_since_epoch().count() + DaysTo1970);
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
    using namespace std::chrono;
    const long long whole = (long long)std::floor(value);
    const year_month_day ymd{sys_days{days{whole - DaysTo1970}}};
    year = int(ymd.year());
    month = int(unsigned(ymd.month()));
    day = int(unsigned(ymd.day()));
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
    return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / 86400000.0;
}

// --- hit tests ---

bool PointOnSegment(const TPoint& p, int x0, int y0, int x1, int y1, int t) {
    const double dX = double(x1) - x0;
    const double dY = double(y1) - y0;
    const double across = std::fabs(dY * (double(p.X) - x0) - (double(p.Y) - y0) * dX);
    if (!(std::max(std::fabs(dX), std::fabs(dY)) > across)) return false;
    if ((Before(x1, x0, t) && Before(x0, p.X, t)) || (Before(y1, y0, t) && Before(y0, p.Y, t)) ||
        (Before(p.X, x0, t) && Before(x0, x1, t)) || (Before(p.Y, y0, t) && Before(y0, y1, t)) ||
        (Before(x0, x1, t) && Before(x1, p.X, t)) || (Before(y0, y1, t) && Before(y1, p.Y, t)) ||
        (Before(p.X, x1, t) && Before(x1, x0, t)) || (Before(p.Y, y1, t) && Before(y1, y0, t)))
        return false;
    return true;
}

bool PointOnSegmentPoints(const TPoint& p, const TPoint& a, const TPoint& b, int tolerance) {
    return PointOnSegment(p, a.X, a.Y, b.X, b.Y, tolerance);
}

bool PointOnSegmentExact(const TPoint& p, int x0, int y0, int x1, int y1) {
    return PointOnSegment(p, x0, y0, x1, y1, 0);
}

bool PointOnSegmentBetween(const TPoint& p, const TPoint& a, const TPoint& b) {
    return PointOnSegment(p, a.X, a.Y, b.X, b.Y, 0);
}

bool PolygonContainsPoint(const TPoint& p, const TPoint* pts, int n) {
    bool result = false;
    if (n < 0 || !pts) return false;
    for (int i = 0, j = n; i <= n; j = i++) {
        const TPoint& a = pts[i];
        const TPoint& b = pts[j];
        if (((a.Y <= p.Y && p.Y < b.Y) || (b.Y <= p.Y && p.Y < a.Y)) &&
            double(p.X) < double(b.X - a.X) * double(p.Y - a.Y) / double(b.Y - a.Y) + a.X)
            result = !result;
    }
    return result;
}

bool PolygonContainsPoint(const TPoint& p, const std::vector<TPoint>& points) {
    return PolygonContainsPoint(p, points.data(), int(points.size()) - 1);
}

bool TriangleContainsPoint(const TPoint& p, int x0, int x1, int yBase, int yApex) {
    const TPoint t[3] = {{x0, yBase}, {(x0 + x1) / 2, yApex}, {x1, yBase}};
    return PolygonContainsPoint(p, t, 2);
}

bool SideTriangleContainsPoint(const TPoint& p, int y0, int y1, int xBase, int xApex) {
    const TPoint t[3] = {{xBase, y0}, {xApex, (y0 + y1) / 2}, {xBase, y1}};
    return PolygonContainsPoint(p, t, 2);
}

bool EllipseContainsPoint(const TPoint& p, int left, int top, int right, int bottom) {
    const int cx = (left + right) / 2;
    const int cy = (top + bottom) / 2;
    const double a2 = double(cx - left) * double(cx - left);
    const double b2 = double(cy - top) * double(cy - top);
    if (a2 == 0 || b2 == 0) return false;
    const double dx = double(p.X) - cx;
    const double dy = double(p.Y) - cy;
    return dx * dx / a2 + dy * dy / b2 <= 1.0;
}

bool EllipseRectContainsPoint(const TPoint& p, const TRect& r) {
    return EllipseContainsPoint(p, r.Left, r.Top, r.Right, r.Bottom);
}

// --- date-time steps ---

const double DateTimeSteps[DateTimeStepCount] = {
    1.0 / 86400000000.0,
    1.0 / 86400000.0,
    1.0 / 86400,
    5.0 / 86400,
    10.0 / 86400,
    15.0 / 86400,
    30.0 / 86400,
    1.0 / 1440,
    5.0 / 1440,
    10.0 / 1440,
    15.0 / 1440,
    30.0 / 1440,
    1.0 / 24,
    2.0 / 24,
    6.0 / 24,
    12.0 / 24,
    1,
    2,
    3,
    7,
    15,
    30,
    60,
    90,
    120,
    182,
    365,
};

double NextDateTimeStep(double value) {
    for (int i = 25; i >= 0; --i)
        if (value >= DateTimeSteps[i]) return DateTimeSteps[i + 1];
    return DateTimeSteps[DateTimeStepCount - 1];
}

int DateTimeStepIndex(double value) {
    for (int i = DateTimeStepCount - 1; i >= 0; --i)
        if (std::fabs(DateTimeSteps[i] - value) < DateTimeSteps[0]) return i;
    return DateTimeStepCount;
}

std::string DateTimeFormatForStep(double step) {
    const cb::rtl::TFormatSettings& fs = cb::rtl::FormatSettings();
    return step > 1 ? fs.ShortDateFormat : fs.ShortTimeFormat;
}

TDateTime RoundDateToStep(int s, TDateTime v) {
    if (!(v > EncodeDate(1900, 1, 1))) return v;
    int y, m, d;
    DecodeDate(v, y, m, d);
    if (s == dtHalfMonth)
        d = d < 15 ? 1 : 15;
    else if (s >= dtOneMonth && s <= dtSixMonths)
        d = 1;
    else if (s == dtOneYear) {
        d = 1;
        m = 1;
    }
    return EncodeDate(y, m, d);
}

void StepDateTime(bool exact, bool increase, TDateTime& v, int s, double delta) {
    if (!exact || s < dtHalfMonth || s > dtOneYear) {
        v = increase ? v + delta : v - delta;
        return;
    }
    int y, m, d;
    DecodeDate(v, y, m, d);
    auto moveMonths = [&](int n) {
        int idx = y * 12 + (m - 1) + (increase ? n : -n);
        y = idx / 12;
        m = idx % 12 + 1;
    };
    switch (s) {
    case dtHalfMonth:
        if (increase) {
            // The next half-month boundary: the 15th, or the 1st of the next month.
            if (d < 15)
                d = 15;
            else {
                d = 1;
                int idx = y * 12 + m;  // next month
                y = idx / 12;
                m = idx % 12 + 1;
            }
        } else if (d > 15)
            d = 15;
        else if (d >= 2)
            d = 1;
        else {
            int idx = y * 12 + (m - 2);
            y = idx / 12;
            m = idx % 12 + 1;
            d = 15;
        }
        break;
    case dtOneMonth:
        moveMonths(1);
        d = 1;
        break;
    case dtTwoMonths:
        moveMonths(2);
        d = 1;
        break;
    case dtThreeMonths:
        moveMonths(3);
        d = 1;
        break;
    case dtFourMonths:
        moveMonths(4);
        d = 1;
        break;
    case dtSixMonths:
        moveMonths(6);
        d = 1;
        break;
    case dtOneYear:
        y += increase ? 1 : -1;
        break;
    default:
        break;
    }
    // 29 February stepped by a year lands on the 28th.
    if (m == 2 && d == 29 && !std::chrono::year(y).is_leap()) d = 28;
    v = EncodeDate(y, m, d);
}

// --- sorting ---

namespace {
void QuickSort(int l, int r, const TSortCompare& compare, const TSortSwap& swap) {
    while (l < r) {
        int i = l, j = r;
        int m = int((unsigned(l) + unsigned(r)) / 2);
        while (j > i) {
            while (i <= r && compare(i, m) < 0) ++i;
            while (j >= l && compare(m, j) < 0) --j;
            if (j > i) {
                swap(i, j);
                if (i == m)
                    m = j;
                else if (j == m)
                    m = i;
            }
            if (j >= i) {
                ++i;
                --j;
            }
        }
        // Recurse into the smaller side, loop on the larger.
        if (j - l < r - i) {
            if (j > l) QuickSort(l, j, compare, swap);
            l = i;
        } else {
            if (i < r) QuickSort(i, r, compare, swap);
            r = j;
        }
    }
}
}  // namespace

void SortWithCallbacks(int startIndex, int endIndex, const TSortCompare& compare, const TSortSwap& swap) {
    if (startIndex < endIndex && compare && swap) QuickSort(startIndex, endIndex, compare, swap);
}

// --- texts ---

std::string IntegerToString(int value) {
    return std::to_string(value);
}

std::string NumberTextToLocal(const std::string& text, char thousandSeparator, char decimalSeparator) {
    std::string r = text;
    for (char& c : r) {
        if (c == ',')
            c = thousandSeparator;
        else if (c == '.')
            c = decimalSeparator;
    }
    return r;
}

std::string NumberTextToInvariant(const std::string& text, char thousandSeparator, char decimalSeparator) {
    std::string r = text;
    for (char& c : r) {
        if (c == thousandSeparator)
            c = ',';
        else if (c == decimalSeparator)
            c = '.';
    }
    return r;
}

namespace {
char LocaleChar(const QString& s, char fallback) {
    return (s.size() == 1 && s.at(0).unicode() < 128) ? char(s.at(0).unicode()) : fallback;
}
}  // namespace

std::string NumberTextToLocal(const std::string& text) {
    const QLocale loc = QLocale::system();
    return NumberTextToLocal(text, LocaleChar(loc.groupSeparator(), ','), LocaleChar(loc.decimalPoint(), '.'));
}

std::string NumberTextToInvariant(const std::string& text) {
    const QLocale loc = QLocale::system();
    return NumberTextToInvariant(text, LocaleChar(loc.groupSeparator(), ','), LocaleChar(loc.decimalPoint(), '.'));
}

char FieldSeparator() {
    return gFieldSeparator;
}
void SetFieldSeparator(char separator) {
    gFieldSeparator = separator;
}

int CountSeparatedFields(const std::string& text) {
    if (text.empty()) return 0;
    return 1 + int(std::count(text.begin(), text.end(), gFieldSeparator));
}

int CountFieldsWithSeparator(const std::string& text, char separator) {
    if (text.empty()) return 0;
    return 1 + int(std::count(text.begin(), text.end(), separator));
}

std::string ExtractFieldWithSeparator(const std::string& text, int index, char separator) {
    if (text.empty() || index < 1) return {};
    std::string rest = text;
    for (;;) {
        const std::size_t p = rest.find(separator);
        if (p == std::string::npos) return rest;
        if (index == 1) return rest.substr(0, p);
        rest.erase(0, p + 1);
        --index;
    }
}

std::string ExtractSeparatedField(const std::string& text, int index) {
    return ExtractFieldWithSeparator(text, index, gFieldSeparator);
}

std::string ReplaceOrRemoveChar(const std::string& text, char ch, char newCh) {
    std::string r;
    r.reserve(text.size());
    for (char c : text) {
        if (c != ch)
            r += c;
        else if (newCh != '\0')
            r += newCh;
    }
    return r;
}

std::string MakeUniqueComponentName(const std::function<bool(const std::string&)>& nameExists,
                                    const std::string& base) {
    if (!nameExists) return base + "1";
    for (int i = 1;; ++i) {
        std::string name = base + std::to_string(i);
        if (!nameExists(name)) return name;
    }
}

void SetControlsEnabled(bool enabled, const std::vector<QWidget*>& controls) {
    for (QWidget* w : controls)
        if (w) w->setEnabled(enabled);
}

// --- palette ---

void DrawCheckGlyph(int left, int top, cb::gfx::TCanvas& canvas, bool ticked, bool checkBox) {
    const TRect r{left, top, left + CheckGlyphSize, top + CheckGlyphSize};
    canvas.PushClipRect(r);
    if (checkBox)
        cb::gfx::DrawThemedCheckBox(canvas, r, ticked ? cb::gfx::TCheckState::Checked : cb::gfx::TCheckState::Unchecked,
                                    cb::gfx::TThemeState::Normal);
    else
        cb::gfx::DrawThemedRadioButton(canvas, r, ticked, cb::gfx::TThemeState::Normal);
    canvas.PopClip();
}

TColor DefaultPaletteColor(int index) {
    const int i = ((index % DefaultPaletteSize) + DefaultPaletteSize) % DefaultPaletteSize;
    return DefaultColorTable[i];
}

std::vector<TColor>& DefaultPalette() {
    static std::vector<TColor> palette(std::begin(DefaultColorTable), std::end(DefaultColorTable));
    return palette;
}

void LoadDefaultPalette() {
    DefaultPalette().assign(std::begin(DefaultColorTable), std::end(DefaultColorTable));
}

// --- editor preferences ---

namespace {
QSettings& EditorSettings() {
    static QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Zivivu Software", "DezAvoze Pro");
    return settings;
}
QString EditorKey(const std::string& name) {
    return QStringLiteral("Editor/") + QString::fromStdString(name);
}
}  // namespace

bool ReadEditorSettingBool(const std::string& name, bool defaultValue) {
    const QVariant v = EditorSettings().value(EditorKey(name));
    return v.isValid() ? v.toBool() : defaultValue;
}

int ReadEditorSettingInteger(const std::string& name, int defaultValue) {
    bool ok = false;
    const int v = EditorSettings().value(EditorKey(name)).toInt(&ok);
    return ok ? v : defaultValue;
}

void WriteEditorSettingBool(const std::string& name, bool value) {
    EditorSettings().setValue(EditorKey(name), value);
    EditorSettings().sync();
}

namespace {
TEngineErrorSink& EngineErrorSink() {
    static TEngineErrorSink sink;
    return sink;
}
}  // namespace

void SetEngineErrorSink(TEngineErrorSink sink) {
    EngineErrorSink() = std::move(sink);
}

void ShowEngineError(const std::string& text) {
    QString shown = QString::fromStdString(text).left(1023);
    if (EngineErrorSink()) {
        EngineErrorSink()(shown.toStdString());
        return;
    }
    shown.replace(QChar('\r'), QChar('\n'));
    // The text may hold a series' or a file's words: shown as written.
    cb::os::PlainMessageBox(nullptr, QMessageBox::Critical, QString(), shown);
}

void SetTranslationHook(TTranslateProc proc) {
    gTranslate = std::move(proc);
}

void ApplyTranslationHook(QWidget* control) {
    if (gTranslate) gTranslate(control);
}

}  // namespace cb::chart
