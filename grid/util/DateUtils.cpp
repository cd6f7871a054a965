#include "grid/util/DateUtils.h"

#include "grid/util/TextUtils.h"

#include "platform/rtl/Strings.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace cb::grid {

using cb::rtl::TFormatSettings;

namespace {

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

constexpr long kDay1970 = 25569;  // 1970-01-01 as a day number

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

}  // namespace

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
    date = double(DaysFromCivil(year, month, day) + kDay1970);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime d = 0;
    if (!TryEncodeDate(year, month, day, d)) throw cb::rtl::EConvertError("Invalid argument to date encode");
    return d;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
    long z = long(std::floor(date)) - kDay1970 + 719468;
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

}  // namespace cb::grid
