#include "upgrade/NetUtils.h"

#include "platform/desktop/Shell.h"
#include "platform/os/Files.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <ctime>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace cb::upgrade {

namespace {

constexpr double kUnixEpoch = 25569.0;  // 1970-01-01 as a TDateTime

// The whole text as a non-negative integer, -1 when it is not one.
long long NumberOr(const std::string& s, long long fallback) {
    if (s.empty() || s.size() > 18) return fallback;
    long long v = 0;
    size_t i = 0;
    bool neg = false;
    if (s[0] == '-' || s[0] == '+') {
        neg = s[0] == '-';
        i = 1;
        if (s.size() == 1) return fallback;
    }
    for (; i < s.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return fallback;
        v = v * 10 + (s[i] - '0');
    }
    return neg ? -v : v;
}

// Cuts the text up to Sep (or all of it) off the front of Text.
std::string CutToken(std::string& Text, const std::string& Sep) {
    auto p = Text.find(Sep);
    std::string token;
    if (p == std::string::npos) {
        token = Text;
        Text.clear();
    } else {
        token = Text.substr(0, p);
        Text.erase(0, p + Sep.size());
    }
    return token;
}

std::string FileExt(const std::string& path) {
    auto dot = path.rfind('.');
    auto sep = path.find_last_of("\\/:");
    if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return {};
    return path.substr(dot);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Unescape(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && HexValue(s[i + 1]) >= 0 && HexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

}  // namespace

std::uint8_t PercentOf(double Part, double Whole) {
    if (Whole == 0) return 0;
    double v = std::round(Part * 100.0 / Whole);
    if (!std::isfinite(v) || v < 0 || v > 255) return 0;
    return static_cast<std::uint8_t>(v);
}

bool HasNonLoopbackAddress() {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return false;
    bool found = false;
    for (ifaddrs* a = list; a && !found; a = a->ifa_next) {
        if (!a->ifa_addr || !(a->ifa_flags & IFF_UP) || (a->ifa_flags & IFF_LOOPBACK)) continue;
        found = a->ifa_addr->sa_family == AF_INET || a->ifa_addr->sa_family == AF_INET6;
    }
    ::freeifaddrs(list);
    return found;
}

bool IsOnline() {
    return HasNonLoopbackAddress();
}

bool OpenURL(const std::string& URL, bool /*NewWindow*/) {
    std::string target = URL.find("://") == std::string::npos ? "http://" + URL : URL;
    return cb::os::ShellOpen(target);
}

void SplitAt(const std::string& Sep, const std::string& Text, std::string& Before, std::string& After,
             bool NotFoundGoesAfter, unsigned Options) {
    auto p = Sep.empty() ? std::string::npos : Text.find(Sep);
    if (p == std::string::npos) {
        if (NotFoundGoesAfter) {
            After = Text;
            Before.clear();
        } else {
            Before = Text;
            After.clear();
        }
        return;
    }
    Before = Text.substr(0, p);
    After = Text.substr(p + Sep.size());
    if (Options & soAppendToBefore) Before += Sep;
    if (Options & soPrependToAfter) After = Sep + After;
}

void SplitCommandLine(std::string& Command, std::string& Params) {
    Command = cb::rtl::Trim(Command);
    Params.clear();
    if (Command.empty()) return;
    auto q1 = Command.find('"');
    if (q1 != std::string::npos) {
        std::string rest = Command;
        rest.erase(q1, 1);
        auto q2 = rest.find('"', q1);
        if (q2 != std::string::npos) {
            rest.erase(q2, 1);
            if (q1 == 0) {
                Params = cb::rtl::Trim(rest.substr(q2));
                for (int k = 0; k < 2; ++k) {
                    auto q = Params.find('"');
                    if (q != std::string::npos) Params.erase(q, 1);
                }
                Command = rest.substr(0, q2);
            } else {
                Params = rest.substr(q1);
                Command = rest.substr(0, q1 == 0 ? 0 : q1 - 1);
            }
        } else {
            Command = rest;
        }
    } else {
        const std::string unsplit = Command;
        const std::string seps[] = {" -", " /", " \\", ",", " %"};
        for (const auto& sep : seps) {
            if (!Params.empty()) break;
            auto p = Command.find(sep);
            if (p == std::string::npos) continue;
            std::string before = Command.substr(0, p);
            // " -" keeps its "-" in front of the parameters; "," is dropped
            std::string after = Command.substr(p + 1);
            if (!FileExt(Command).empty() && FileExt(before).empty()) continue;
            Params = after;
            Command = before;
        }
        if (cb::rtl::UpperCase(FileExt(Command)) == ".DLL" &&
            cb::rtl::UpperCase(Command).find("RUNDLL") != std::string::npos) {
            auto slash = unsplit.find_last_of("\\/");
            std::string folder = slash == std::string::npos ? "" : unsplit.substr(0, slash + 1);
            std::string name = slash == std::string::npos ? unsplit : unsplit.substr(slash + 1);
            auto blank = name.find(' ');
            Command = folder + (blank == std::string::npos ? name : name.substr(0, blank));
            Params = blank == std::string::npos ? "" : name.substr(blank + 1);
        }
    }
    Command = cb::rtl::Trim(Command);
    Params = cb::rtl::Trim(Params);
}

bool IsDirectory(const std::string& Path) {
    struct stat st {};
    return !Path.empty() && ::stat(Path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string GetTempDir() {
    std::string dir = cb::os::GetTempDirectory();
    if (!dir.empty() && dir.back() != '/') dir += '/';
    if (IsDirectory(dir)) return dir;
    return cb::os::GetApplicationPath();
}

bool CrackURL(const std::string& URL, TURLParts& Parts) {
    std::string url = URL.find("://") == std::string::npos ? "http://" + URL : URL;
    auto schemeEnd = url.find("://");
    TURLParts p;
    p.Scheme = url.substr(0, schemeEnd);
    if (p.Scheme.empty()) return false;
    std::string rest = url.substr(schemeEnd + 3);
    auto pathStart = rest.find_first_of("/?#");
    std::string authority = rest.substr(0, pathStart);
    std::string tail = pathStart == std::string::npos ? "" : rest.substr(pathStart);
    auto at = authority.rfind('@');
    if (at != std::string::npos) {
        std::string user = authority.substr(0, at);
        authority.erase(0, at + 1);
        auto colon = user.find(':');
        p.UserName = Unescape(user.substr(0, colon));
        if (colon != std::string::npos) p.Password = Unescape(user.substr(colon + 1));
    }
    std::string portText;
    if (!authority.empty() && authority[0] == '[') {
        auto close = authority.find(']');
        if (close == std::string::npos) return false;
        p.Host = authority.substr(1, close - 1);
        if (close + 1 < authority.size() && authority[close + 1] == ':') portText = authority.substr(close + 2);
    } else {
        auto colon = authority.rfind(':');
        p.Host = authority.substr(0, colon);
        if (colon != std::string::npos) portText = authority.substr(colon + 1);
    }
    if (p.Host.empty()) return false;
    if (!portText.empty()) {
        long long port = NumberOr(portText, -1);
        if (port < 1 || port > 65535) return false;
        p.Port = static_cast<std::uint16_t>(port);
    } else {
        std::string s = cb::rtl::UpperCase(p.Scheme);
        p.Port = s == "HTTPS" ? 443 : s == "FTP" ? 21 : 80;
    }
    auto extra = tail.find_first_of("?#");
    p.Path = Unescape(tail.substr(0, extra));
    if (extra != std::string::npos) p.ExtraInfo = Unescape(tail.substr(extra));
    Parts = p;
    return true;
}

std::string GetURLHost(const std::string& URL) {
    TURLParts p;
    return CrackURL(URL, p) ? p.Host : std::string();
}

std::string GetURLFileName(const std::string& URL) {
    auto p = URL.find_last_of("/\\:");
    return p == std::string::npos ? URL : URL.substr(p + 1);
}

int CompareVersions(const std::string& A, const std::string& B) {
    auto parts = [](const std::string& v) {
        std::string text = v + ".";
        std::string out[4];
        for (auto& part : out) {
            part = CutToken(text, ".");
            if (part.empty()) part = "0";
        }
        return std::vector<std::string>(out, out + 4);
    };
    auto pa = parts(A), pb = parts(B);
    for (int i = 0; i < 4; ++i) {
        long long a = NumberOr(pa[i], -1), b = NumberOr(pb[i], -1);
        if (a < 0 || b < 0) {
            int c = A.compare(B);
            return c < 0 ? -1 : c > 0 ? 1 : 0;
        }
        if (a != b) return a > b ? 1 : -1;
    }
    return 0;
}

int DayOfWeekIndex(const std::string& Name) {
    static const char* days[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
    std::string u = cb::rtl::UpperCase(Name.substr(0, 3));
    for (int i = 0; i < 7; ++i)
        if (u == days[i]) return i + 1;
    return 0;
}

int MonthIndex(const std::string& Name) {
    static const char* months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    std::string u = cb::rtl::UpperCase(Name);
    for (int i = 0; i < 12; ++i)
        if (u == months[i]) return i + 1;
    return 0;
}

double ParseGMTOffset(const std::string& Text) {
    if (Text.size() < 5 || (Text[0] != '+' && Text[0] != '-')) return 0;
    for (int i = 1; i < 5; ++i)
        if (!std::isdigit(static_cast<unsigned char>(Text[i]))) return 0;
    int h = (Text[1] - '0') * 10 + (Text[2] - '0');
    int m = (Text[3] - '0') * 10 + (Text[4] - '0');
    double v = (h * 60 + m) / 1440.0;
    return Text[0] == '-' ? -v : v;
}

cb::rtl::TDateTime UTCToLocalDateTime(cb::rtl::TDateTime UTC) {
    double secs = std::floor((UTC - kUnixEpoch) * 86400.0 + 0.5);
    if (!std::isfinite(secs) || std::fabs(secs) > 1e15) return UTC;
    std::time_t t = static_cast<std::time_t>(secs);
    std::tm local{};
    if (!::localtime_r(&t, &local)) return UTC;
    return UTC + local.tm_gmtoff / 86400.0;
}

cb::rtl::TDateTime ParseHTTPDate(const std::string& Text) {
    std::string s = cb::rtl::Trim(Text);
    if (s.empty()) return 0;
    double date = 0;
    try {
        if (s.size() >= 3 && DayOfWeekIndex(s.substr(0, 3)) > 0) {
            auto blank = s.find(' ');
            s = blank == std::string::npos ? "" : cb::rtl::TrimLeft(s.substr(blank + 1));
        }
        auto blank = s.find(' ');
        auto dash = s.find('-');
        std::string sep = (dash != std::string::npos && dash >= 1 && dash < blank) ? "-" : " ";
        auto peek = s.substr(0, s.find(sep));
        int day, month;
        auto readDay = [&] {
            std::string t = CutToken(s, sep);
            s = cb::rtl::TrimLeft(s);
            long long d = NumberOr(t, 1);
            return static_cast<int>(d);
        };
        auto readMonth = [&] {
            std::string t = CutToken(s, sep);
            s = cb::rtl::TrimLeft(s);
            return MonthIndex(t);
        };
        if (MonthIndex(peek) > 0) {
            month = readMonth();
            day = readDay();
        } else {
            day = readDay();
            month = readMonth();
        }
        std::string yearToken = CutToken(s, " ");
        s = cb::rtl::TrimLeft(s);
        long long year = NumberOr(yearToken, 1900);
        if (year == 1900) {
            // asctime form: the time comes before the year
            std::string rest = s;
            std::string timeToken = yearToken;
            std::string y = CutToken(rest, " ");
            year = NumberOr(y, 1900);
            s = timeToken + " " + rest;
        }
        if (year < 80)
            year += 2000;
        else if (year < 100)
            year += 1900;
        date = cb::rtl::EncodeDate(static_cast<int>(year), month, day);
        if (s.find(':') != std::string::npos) {
            std::string t = CutToken(s, " ");
            s = cb::rtl::TrimLeft(s);
            std::string hh = CutToken(t, ":"), mm = CutToken(t, ":"), ss = t;
            long long h = NumberOr(hh, 0), m = NumberOr(mm, 0), sec = NumberOr(ss, 0);
            if (h < 0 || h > 23 || m < 0 || m > 59 || sec < 0 || sec > 60)
                throw cb::rtl::EConvertError("\"" + hh + ":" + mm + ":" + ss + "\" is not a time of day");
            date += (h * 3600 + m * 60 + sec) / 86400.0;
        }
    } catch (...) {
        date = 0;
    }
    if (date == 0) return 0;  // a missing or unreadable date never reads as a real instant
    std::string zone = cb::rtl::TrimLeft(s);
    double offset = zone.size() > 4 ? ParseGMTOffset(zone.substr(0, 5)) : 0;
    return UTCToLocalDateTime(date - offset);
}

bool SetFileTimes(const std::string& FileName, cb::rtl::TDateTime /*Creation*/, cb::rtl::TDateTime LastWrite,
                  cb::rtl::TDateTime LastAccess) {
    struct stat st {};
    if (::stat(FileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    auto toSpec = [](cb::rtl::TDateTime local, const timespec& keep) {
        if (local == -1) return keep;
        // local time -> seconds since the epoch, at two-second precision as file dates kept it
        int y, mo, d, h, mi, s, ms;
        cb::rtl::DecodeDateTime(local, y, mo, d, h, mi, s, ms);
        std::tm tm{};
        tm.tm_year = y - 1900;
        tm.tm_mon = mo - 1;
        tm.tm_mday = d;
        tm.tm_hour = h;
        tm.tm_min = mi;
        tm.tm_sec = s - s % 2;
        tm.tm_isdst = -1;
        std::time_t t = std::mktime(&tm);
        if (t == static_cast<std::time_t>(-1)) return keep;
        timespec out{};
        out.tv_sec = t;
        return out;
    };
    timespec times[2] = {toSpec(LastAccess, st.st_atim), toSpec(LastWrite, st.st_mtim)};
    return ::utimensat(AT_FDCWD, FileName.c_str(), times, 0) == 0;
}

std::int64_t GetFileSize64(const std::string& FileName) {
    struct stat st {};
    if (::stat(FileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

}  // namespace cb::upgrade
