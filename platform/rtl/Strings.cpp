#include "platform/rtl/Strings.h"

#include "platform/rtl/Exception.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace cb::rtl {

namespace {

char LowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}
char UpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}
bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = LowerChar(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string_view TrimView(std::string_view S) {
    std::size_t b = 0, e = S.size();
    while (b < e && IsBlank(S[b])) ++b;
    while (e > b && IsBlank(S[e - 1])) --e;
    return S.substr(b, e - b);
}

// Parses into an unsigned magnitude; Bits limits hex (which may fill every
// bit), decimal is checked by the caller against the signed range.
bool ParseInteger(std::string_view S, int Bits, long long& Out) {
    S = TrimView(S);
    bool neg = false;
    if (!S.empty() && (S[0] == '+' || S[0] == '-')) {
        neg = S[0] == '-';
        S.remove_prefix(1);
    }
    bool hex = false;
    if (!S.empty() && S[0] == '$') {
        hex = true;
        S.remove_prefix(1);
    } else if (S.size() >= 2 && S[0] == '0' && (S[1] == 'x' || S[1] == 'X')) {
        hex = true;
        S.remove_prefix(2);
    } else if (!S.empty() && (S[0] == 'x' || S[0] == 'X')) {
        hex = true;
        S.remove_prefix(1);
    }
    if (S.empty()) return false;
    unsigned long long v = 0;
    if (hex) {
        if (S.size() > static_cast<std::size_t>(Bits / 4)) {
            // Leading zeros are fine.
            std::size_t extra = S.size() - static_cast<std::size_t>(Bits / 4);
            for (std::size_t i = 0; i < extra; ++i)
                if (S[i] != '0') return false;
            S.remove_prefix(extra);
        }
        for (char c : S) {
            int d = HexDigit(c);
            if (d < 0) return false;
            v = (v << 4) | static_cast<unsigned>(d);
        }
        long long sv;
        if (Bits == 32)
            sv = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
        else
            sv = static_cast<long long>(v);
        Out = neg ? static_cast<long long>(0ull - static_cast<unsigned long long>(sv)) : sv;
        if (Bits == 32) Out = static_cast<std::int32_t>(static_cast<std::uint32_t>(Out));
        return true;
    }
    const unsigned long long limit = neg ? (Bits == 32 ? 2147483648ull : 9223372036854775808ull)
                                         : (Bits == 32 ? 2147483647ull : 9223372036854775807ull);
    for (char c : S) {
        if (c < '0' || c > '9') return false;
        unsigned d = static_cast<unsigned>(c - '0');
        if (v > (limit - d) / 10) return false;
        v = v * 10 + d;
    }
    Out = neg ? static_cast<long long>(0ull - v) : static_cast<long long>(v);
    return true;
}

}  // namespace

std::string Trim(std::string_view S) {
    return std::string(TrimView(S));
}

std::string TrimLeft(std::string_view S) {
    std::size_t b = 0;
    while (b < S.size() && IsBlank(S[b])) ++b;
    return std::string(S.substr(b));
}

std::string TrimRight(std::string_view S) {
    std::size_t e = S.size();
    while (e > 0 && IsBlank(S[e - 1])) --e;
    return std::string(S.substr(0, e));
}

std::string UpperCase(std::string_view S) {
    std::string r(S);
    for (char& c : r) c = UpperChar(c);
    return r;
}

std::string LowerCase(std::string_view S) {
    std::string r(S);
    for (char& c : r) c = LowerChar(c);
    return r;
}

int CompareText(std::string_view A, std::string_view B) {
    std::size_t n = std::min(A.size(), B.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char a = static_cast<unsigned char>(LowerChar(A[i]));
        unsigned char b = static_cast<unsigned char>(LowerChar(B[i]));
        if (a != b) return a < b ? -1 : 1;
    }
    return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}

bool SameText(std::string_view A, std::string_view B) {
    return A.size() == B.size() && CompareText(A, B) == 0;
}

bool StartsText(std::string_view SubText, std::string_view Text) {
    return Text.size() >= SubText.size() && SameText(Text.substr(0, SubText.size()), SubText);
}

bool EndsText(std::string_view SubText, std::string_view Text) {
    return Text.size() >= SubText.size() && SameText(Text.substr(Text.size() - SubText.size()), SubText);
}

bool StartsStr(std::string_view SubText, std::string_view Text) {
    return Text.substr(0, SubText.size()) == SubText;
}

int Pos(std::string_view SubStr, std::string_view S, int Offset) {
    if (SubStr.empty() || Offset < 1 || static_cast<std::size_t>(Offset) > S.size()) return 0;
    auto p = S.find(SubStr, static_cast<std::size_t>(Offset - 1));
    return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

std::string StringReplace(std::string_view S, std::string_view OldPattern, std::string_view NewPattern,
                          unsigned Flags) {
    if (OldPattern.empty()) return std::string(S);
    const bool all = Flags & rfReplaceAll;
    const bool icase = Flags & rfIgnoreCase;
    std::string hay = icase ? LowerCase(S) : std::string(S);
    std::string needle = icase ? LowerCase(OldPattern) : std::string(OldPattern);
    std::string out;
    std::size_t from = 0;
    for (;;) {
        auto p = hay.find(needle, from);
        if (p == std::string::npos) break;
        out.append(S.substr(from, p - from));
        out.append(NewPattern);
        from = p + needle.size();
        if (!all) break;
    }
    out.append(S.substr(from));
    return out;
}

std::string IntToStr(long long Value) {
    return std::to_string(Value);
}

std::string IntToHex(unsigned long long Value, int Digits) {
    static const char* hex = "0123456789ABCDEF";
    std::string r;
    do {
        r.insert(r.begin(), hex[Value & 15]);
        Value >>= 4;
    } while (Value != 0);
    if (static_cast<int>(r.size()) < Digits) r.insert(0, static_cast<std::size_t>(Digits) - r.size(), '0');
    return r;
}

std::string IntToHex(long long Value, int Digits) {
    // Negative values print their two's complement in 32 bits when they fit,
    // as a 32-bit integer would.
    if (Value < 0 && Value >= std::numeric_limits<std::int32_t>::min())
        return IntToHex(static_cast<unsigned long long>(static_cast<std::uint32_t>(Value)), Digits);
    return IntToHex(static_cast<unsigned long long>(Value), Digits);
}

namespace {

// What Try reads from S; EConvertError naming S when it is not a valid What.
template <class T>
T Converted(std::string_view S, bool (*Try)(std::string_view, T&), const char* What) {
    T v;
    if (!Try(S, v)) throw EConvertError("'" + std::string(S) + "' is not a valid " + What);
    return v;
}

template <class T>
T ConvertedOr(std::string_view S, bool (*Try)(std::string_view, T&), T Default) {
    T v;
    return Try(S, v) ? v : Default;
}

}  // namespace

bool TryStrToInt(std::string_view S, int& Value) {
    long long v;
    if (!ParseInteger(S, 32, v)) return false;
    Value = static_cast<int>(v);
    return true;
}

int StrToInt(std::string_view S) {
    return Converted(S, TryStrToInt, "integer value");
}

int StrToIntDef(std::string_view S, int Default) {
    return ConvertedOr(S, TryStrToInt, Default);
}

bool TryStrToInt64(std::string_view S, long long& Value) {
    return ParseInteger(S, 64, Value);
}

long long StrToInt64(std::string_view S) {
    return Converted(S, TryStrToInt64, "integer value");
}

long long StrToInt64Def(std::string_view S, long long Default) {
    return ConvertedOr(S, TryStrToInt64, Default);
}

std::string FloatToStr(double Value) {
    if (std::isnan(Value)) return "NAN";
    if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
    if (Value == 0) return "0";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, Value, std::chars_format::scientific);
    std::string sci(buf, res.ptr);
    // sci is "[-]d[.ddd]e[+-]xx"
    bool neg = sci[0] == '-';
    if (neg) sci.erase(0, 1);
    auto ePos = sci.find('e');
    int exp = std::stoi(sci.substr(ePos + 1));
    std::string digits;
    for (std::size_t i = 0; i < ePos; ++i)
        if (sci[i] != '.') digits += sci[i];
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = neg ? "-" : "";
    if (exp < -5 || exp >= 15) {
        out += digits[0];
        if (digits.size() > 1) out += "." + digits.substr(1);
        out += "E" + std::to_string(exp);
    } else if (exp < 0) {
        out += "0." + std::string(static_cast<std::size_t>(-exp - 1), '0') + digits;
    } else {
        std::size_t intDigits = static_cast<std::size_t>(exp) + 1;
        if (digits.size() <= intDigits)
            out += digits + std::string(intDigits - digits.size(), '0');
        else
            out += digits.substr(0, intDigits) + "." + digits.substr(intDigits);
    }
    return out;
}

bool TryStrToFloat(std::string_view S, double& Value) {
    S = TrimView(S);
    bool neg = false;
    if (!S.empty() && (S[0] == '+' || S[0] == '-')) {
        neg = S[0] == '-';
        S.remove_prefix(1);
    }
    if (S.empty() || S[0] == '+' || S[0] == '-') return false;
    double v;
    auto res = std::from_chars(S.data(), S.data() + S.size(), v, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow is not a number we keep.
        if (res.ptr != S.data() + S.size()) return false;
        std::string t(S);
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));  // '.' whatever the locale
        v = strtod_l(t.c_str(), nullptr, c);
        if (std::isinf(v)) return false;
    } else if (res.ec != std::errc() || res.ptr != S.data() + S.size()) {
        return false;
    }
    Value = neg ? -v : v;
    return true;
}

double StrToFloat(std::string_view S) {
    return Converted(S, TryStrToFloat, "floating point value");
}

double StrToFloatDef(std::string_view S, double Default) {
    return ConvertedOr(S, TryStrToFloat, Default);
}

std::string EscapeMarkup(std::string_view S) {
    std::string out;
    out.reserve(S.size());
    for (char c : S) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string QuotedStr(std::string_view S, char Quote) {
    std::string r(1, Quote);
    for (char c : S) {
        r += c;
        if (c == Quote) r += Quote;
    }
    r += Quote;
    return r;
}

std::string DequotedStr(std::string_view S, char Quote) {
    if (S.empty() || S[0] != Quote) return std::string(S);
    std::string r;
    std::size_t i = 1;
    while (i < S.size()) {
        if (S[i] == Quote) {
            if (i + 1 < S.size() && S[i + 1] == Quote) {
                r += Quote;
                i += 2;
                continue;
            }
            break;
        }
        r += S[i++];
    }
    return r;
}

std::string ExtractFileName(std::string_view FileName) {
    auto p = FileName.rfind('/');
    return std::string(p == std::string_view::npos ? FileName : FileName.substr(p + 1));
}

std::string ExtractFilePath(std::string_view FileName) {
    auto p = FileName.rfind('/');
    return p == std::string_view::npos ? std::string() : std::string(FileName.substr(0, p + 1));
}

std::string ExtractFileExt(std::string_view FileName) {
    auto p = FileName.find_last_of("./");
    if (p == std::string_view::npos || FileName[p] != '.') return {};
    return std::string(FileName.substr(p));
}

std::string ChangeFileExt(std::string_view FileName, std::string_view Extension) {
    auto p = FileName.find_last_of("./");
    if (p == std::string_view::npos || FileName[p] != '.') return std::string(FileName) + std::string(Extension);
    return std::string(FileName.substr(0, p)) + std::string(Extension);
}

std::string IncludeTrailingPathDelimiter(std::string_view S) {
    std::string r(S);
    if (r.empty() || r.back() != '/') r += '/';
    return r;
}

std::string ExcludeTrailingPathDelimiter(std::string_view S) {
    std::string r(S);
    if (!r.empty() && r.back() == '/' && r.size() > 1) r.pop_back();
    return r;
}

}  // namespace cb::rtl
