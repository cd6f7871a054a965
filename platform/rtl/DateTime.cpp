#include "platform/rtl/DateTime.h"

#include "platform/rtl/Exception.h"
#include "platform/rtl/FormatSettings.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace cb::rtl {

namespace {

constexpr long long MSecsPerDay = 86400000;
// Days from 0000-03-01 style civil counting to 1899-12-30.
constexpr long long EpochOffset = -25569;  // 1899-12-30 relative to 1970-01-01

long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
}

// Whole days (counted from 1899-12-30) and milliseconds of the day.
void Split(TDateTime dt, long long& day, long long& ms) {
    double ip;
    double frac = std::modf(dt, &ip);
    day = static_cast<long long>(ip);
    ms = std::llround(std::fabs(frac) * MSecsPerDay);
    if (ms >= MSecsPerDay) {
        ms -= MSecsPerDay;
        day += dt < 0 ? -1 : 1;
    }
}

}  // namespace

bool IsLeapYear(int Year) {
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

int DaysInMonth(int Year, int Month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month < 1 || Month > 12) return 0;
    return days[Month - 1] + (Month == 2 && IsLeapYear(Year) ? 1 : 0);
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInMonth(Year, Month)) return false;
    Result = static_cast<double>(DaysFromCivil(Year, static_cast<unsigned>(Month), static_cast<unsigned>(Day)) -
                                 EpochOffset);
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
    TDateTime r;
    if (!TryEncodeDate(Year, Month, Day, r)) throw EConvertError("Invalid argument to date encode");
    return r;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Result) {
    if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999) return false;
    Result = static_cast<double>(((Hour * 60LL + Min) * 60 + Sec) * 1000 + MSec) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
    TDateTime r;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, r)) throw EConvertError("Invalid argument to time encode");
    return r;
}

void DecodeDate(TDateTime DateTime, int& Year, int& Month, int& Day) {
    long long day, ms;
    Split(DateTime, day, ms);
    CivilFromDays(day + EpochOffset, Year, Month, Day);
}

void DecodeTime(TDateTime DateTime, int& Hour, int& Min, int& Sec, int& MSec) {
    long long day, ms;
    Split(DateTime, day, ms);
    MSec = static_cast<int>(ms % 1000);
    ms /= 1000;
    Sec = static_cast<int>(ms % 60);
    ms /= 60;
    Min = static_cast<int>(ms % 60);
    Hour = static_cast<int>(ms / 60);
}

void DecodeDateTime(TDateTime DateTime, int& Year, int& Month, int& Day, int& Hour, int& Min, int& Sec, int& MSec) {
    DecodeDate(DateTime, Year, Month, Day);
    DecodeTime(DateTime, Hour, Min, Sec, MSec);
}

int DayOfWeek(TDateTime DateTime) {
    long long day, ms;
    Split(DateTime, day, ms);
    // 1899-12-30 was a Saturday.
    long long w = (day + 6) % 7;
    if (w < 0) w += 7;
    return static_cast<int>(w) + 1;
}

TDateTime Now() {
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t t = system_clock::to_time_t(now);
    std::tm lt{};
    localtime_r(&t, &lt);
    int ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    if (ms < 0) ms += 1000;
    return EncodeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday) +
           EncodeTime(lt.tm_hour, lt.tm_min, std::min(lt.tm_sec, 59), ms);
}

TDateTime Date() {
    return std::floor(Now());
}

namespace {

bool StartsNoCase(std::string_view s, std::size_t at, std::string_view what) {
    if (s.size() - at < what.size()) return false;
    for (std::size_t i = 0; i < what.size(); ++i) {
        char a = s[at + i], b = what[i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
        if (a != b) return false;
    }
    return true;
}

bool UsesTwelveHours(std::string_view f) {
    for (std::size_t i = 0; i < f.size(); ++i) {
        char c = f[i];
        if (c == '"' || c == '\'') {
            std::size_t j = f.find(c, i + 1);
            if (j == std::string_view::npos) return false;
            i = j;
        } else if (StartsNoCase(f, i, "am/pm") || StartsNoCase(f, i, "a/p") || StartsNoCase(f, i, "ampm")) {
            return true;
        }
    }
    return false;
}

std::string Two(int v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

void Append(std::string& out, std::string_view f, TDateTime dt, int depth) {
    const TFormatSettings& fs = FormatSettings();
    int y, mo, d, h, mi, s, ms;
    DecodeDateTime(dt, y, mo, d, h, mi, s, ms);
    const bool twelve = UsesTwelveHours(f);
    char last = 0;
    std::size_t i = 0;
    auto run = [&](char c) {
        std::size_t n = 0;
        while (i + n < f.size() && (f[i + n] == c || f[i + n] == c - 'a' + 'A')) ++n;
        i += n;
        return static_cast<int>(n);
    };
    while (i < f.size()) {
        char c = f[i];
        char lc = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lc >= 'a' && lc <= 'z') {
            if (lc == 'm' && last == 'h') lc = 'n';
            last = lc == 'n' ? 'n' : lc;
        }
        switch (lc) {
        case '"':
        case '\'': {
            std::size_t j = f.find(c, i + 1);
            if (j == std::string_view::npos) j = f.size();
            out.append(f.substr(i + 1, j - i - 1));
            i = j + 1;
            break;
        }
        case 'y': {
            int n = run(f[i]);
            out += n <= 2 ? Two(y % 100)
                          : std::string(std::to_string(y).size() < 4 ? 4 - std::to_string(y).size() : 0, '0') +
                                std::to_string(y);
            break;
        }
        case 'm':
        case 'n':
            if (c == 'm' || c == 'M' || c == 'n' || c == 'N') {
                char base = static_cast<char>(f[i] | 0x20);
                int n = run(base);
                if (base == 'm' && lc == 'm') {
                    if (n == 1)
                        out += std::to_string(mo);
                    else if (n == 2)
                        out += Two(mo);
                    else if (n == 3)
                        out += fs.ShortMonthNames[static_cast<std::size_t>(mo - 1)];
                    else
                        out += fs.LongMonthNames[static_cast<std::size_t>(mo - 1)];
                } else {
                    out += n == 1 ? std::to_string(mi) : Two(mi);
                }
            }
            break;
        case 'd': {
            int n = run('d');
            if (n == 1)
                out += std::to_string(d);
            else if (n == 2)
                out += Two(d);
            else if (n == 3)
                out += fs.ShortDayNames[static_cast<std::size_t>(DayOfWeek(dt) - 1)];
            else if (n == 4)
                out += fs.LongDayNames[static_cast<std::size_t>(DayOfWeek(dt) - 1)];
            else if (depth < 2)
                Append(out, n == 5 ? fs.ShortDateFormat : fs.LongDateFormat, dt, depth + 1);
            break;
        }
        case 'h': {
            int n = run('h');
            int hh = h;
            if (twelve) {
                hh = h % 12;
                if (hh == 0) hh = 12;
            }
            out += n == 1 ? std::to_string(hh) : Two(hh);
            break;
        }
        case 's': {
            int n = run('s');
            out += n == 1 ? std::to_string(s) : Two(s);
            break;
        }
        case 'z': {
            int n = run('z');
            if (n == 1) {
                out += std::to_string(ms);
            } else {
                std::string z = std::to_string(ms);
                out += std::string(3 - z.size(), '0') + z;
            }
            break;
        }
        case 'a':
            if (StartsNoCase(f, i, "am/pm")) {
                std::string_view src = f.substr(h < 12 ? i : i + 3, 2);
                out.append(src);
                i += 5;
            } else if (StartsNoCase(f, i, "a/p")) {
                out += f[h < 12 ? i : i + 2];
                i += 3;
            } else if (StartsNoCase(f, i, "ampm")) {
                out += h < 12 ? fs.TimeAMString : fs.TimePMString;
                i += 4;
            } else {
                out += c;
                ++i;
            }
            break;
        case 'c':
            ++i;
            if (depth < 2) {
                Append(out, fs.ShortDateFormat, dt, depth + 1);
                if (h != 0 || mi != 0 || s != 0 || ms != 0) {
                    out += ' ';
                    Append(out, fs.LongTimeFormat, dt, depth + 1);
                }
            }
            break;
        case 't': {
            int n = run('t');
            if (depth < 2) Append(out, n == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, dt, depth + 1);
            break;
        }
        case '/':
            out += fs.DateSeparator;
            ++i;
            break;
        case ':':
            out += fs.TimeSeparator;
            ++i;
            break;
        default:
            out += c;
            ++i;
            break;
        }
    }
}

}  // namespace

std::string FormatDateTime(std::string_view Format, TDateTime DateTime) {
    std::string out;
    Append(out, Format.empty() ? std::string_view("c") : Format, DateTime, 0);
    return out;
}

std::string DateTimeToStr(TDateTime DateTime) {
    return FormatDateTime("c", DateTime);
}
std::string DateToStr(TDateTime DateTime) {
    return FormatDateTime(FormatSettings().ShortDateFormat, DateTime);
}
std::string TimeToStr(TDateTime DateTime) {
    return FormatDateTime(FormatSettings().LongTimeFormat, DateTime);
}

}  // namespace cb::rtl
