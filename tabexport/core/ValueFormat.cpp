#include "tabexport/core/ValueFormat.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatFloat.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace cb::tabexport {

namespace {

std::string_view Strip(std::string_view S) {
    while (!S.empty() && static_cast<unsigned char>(S.front()) <= ' ') S.remove_prefix(1);
    while (!S.empty() && static_cast<unsigned char>(S.back()) <= ' ') S.remove_suffix(1);
    return S;
}

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

// Parses the number into plain C notation; Integral tells whether it had
// neither decimal part nor exponent.
bool Normalise(std::string_view S, std::string& Out, bool& Integral) {
    const auto& fs = cb::rtl::FormatSettings();
    S = Strip(S);
    Out.clear();
    Integral = true;
    size_t i = 0;
    if (i < S.size() && (S[i] == '+' || S[i] == '-')) {
        if (S[i] == '-') Out += '-';
        ++i;
    }
    // Integer part, with thousands separators only between groups of three.
    size_t digits = 0, group = 0;
    bool grouped = false;
    for (; i < S.size(); ++i) {
        char c = S[i];
        if (IsDigit(c)) {
            Out += c;
            ++digits;
            ++group;
        } else if (c == fs.ThousandSeparator && fs.ThousandSeparator != fs.DecimalSeparator && digits > 0) {
            if ((grouped && group != 3) || (!grouped && group > 3)) return false;
            grouped = true;
            group = 0;
        } else {
            break;
        }
    }
    if (grouped && group != 3) return false;
    size_t fraction = 0;
    if (i < S.size() && S[i] == fs.DecimalSeparator) {
        Integral = false;
        Out += '.';
        for (++i; i < S.size() && IsDigit(S[i]); ++i, ++fraction) Out += S[i];
    }
    if (digits == 0 && fraction == 0) return false;
    if (i < S.size() && (S[i] == 'e' || S[i] == 'E')) {
        Integral = false;
        Out += 'e';
        ++i;
        if (i < S.size() && (S[i] == '+' || S[i] == '-')) Out += S[i++];
        size_t exp = 0;
        for (; i < S.size() && IsDigit(S[i]); ++i, ++exp) Out += S[i];
        if (exp == 0) return false;
    }
    return i == S.size();
}

bool ReadUInt(std::string_view S, size_t& i, int MaxDigits, int& Value) {
    int n = 0;
    Value = 0;
    while (i < S.size() && IsDigit(S[i]) && n < MaxDigits) {
        Value = Value * 10 + (S[i] - '0');
        ++i;
        ++n;
    }
    return n > 0;
}

bool ReadDate(std::string_view S, size_t& i, double& Value) {
    const auto& fs = cb::rtl::FormatSettings();
    size_t start = i;
    int a = 0, b = 0, c = 0;
    if (!ReadUInt(S, i, 4, a)) return false;
    // ISO year first.
    if (i - start == 4 && i < S.size() && S[i] == '-') {
        ++i;
        if (!ReadUInt(S, i, 2, b) || i >= S.size() || S[i] != '-') return false;
        ++i;
        if (!ReadUInt(S, i, 2, c)) return false;
        return cb::rtl::TryEncodeDate(a, b, c, Value);
    }
    char sep = fs.DateSeparator;
    if (i >= S.size() || S[i] != sep) return false;
    ++i;
    if (!ReadUInt(S, i, 4, b) || i >= S.size() || S[i] != sep) return false;
    ++i;
    size_t yStart = i;
    if (!ReadUInt(S, i, 4, c)) return false;
    // Order of day, month and year from the short date format.
    std::string order;
    for (char ch : cb::rtl::LowerCase(fs.ShortDateFormat))
        if ((ch == 'd' || ch == 'm' || ch == 'y') && order.find(ch) == std::string::npos) order += ch;
    if (order.size() != 3) order = "dmy";
    int parts[3] = {a, b, c};
    int y = 0, m = 0, d = 0;
    for (int k = 0; k < 3; ++k) {
        if (order[size_t(k)] == 'd') d = parts[k];
        if (order[size_t(k)] == 'm') m = parts[k];
        if (order[size_t(k)] == 'y') y = parts[k];
    }
    if (order[2] == 'y' && i - yStart <= 2) y += y < 50 ? 2000 : 1900;
    return cb::rtl::TryEncodeDate(y, m, d, Value);
}

bool ReadTime(std::string_view S, size_t& i, double& Value) {
    const auto& fs = cb::rtl::FormatSettings();
    int h = 0, n = 0, s = 0, z = 0;
    if (!ReadUInt(S, i, 2, h) || i >= S.size() || S[i] != fs.TimeSeparator) return false;
    ++i;
    if (!ReadUInt(S, i, 2, n)) return false;
    if (i < S.size() && S[i] == fs.TimeSeparator) {
        ++i;
        if (!ReadUInt(S, i, 2, s)) return false;
        if (i < S.size() && S[i] == '.') {
            ++i;
            if (!ReadUInt(S, i, 3, z)) return false;
        }
    }
    while (i < S.size() && S[i] == ' ') ++i;
    std::string_view rest = S.substr(i);
    if (cb::rtl::StartsText("am", rest) || cb::rtl::StartsText(fs.TimeAMString, rest)) {
        if (h < 1 || h > 12) return false;
        if (h == 12) h = 0;
        i += cb::rtl::StartsText("am", rest) ? 2 : fs.TimeAMString.size();
    } else if (cb::rtl::StartsText("pm", rest) || cb::rtl::StartsText(fs.TimePMString, rest)) {
        if (h < 1 || h > 12) return false;
        if (h != 12) h += 12;
        i += cb::rtl::StartsText("pm", rest) ? 2 : fs.TimePMString.size();
    }
    return cb::rtl::TryEncodeTime(h, n, s, z, Value);
}

// Plain C notation ('.' decimal point, no grouping) read directly; false
// when the text needs the full reader.
bool FastNumber(std::string_view S, double& Value, bool& Integral) {
    if (cb::rtl::FormatSettings().DecimalSeparator != '.') return false;
    S = Strip(S);
    if (S.empty() || S.size() > 40) return false;
    Integral = true;
    for (char c : S) {
        if (IsDigit(c) || c == '-') continue;
        if (c == '.' || c == 'e' || c == 'E') {
            Integral = false;
            continue;
        }
        return false;
    }
    if (S.front() == '.' || S.back() == '.' || (S.front() == '-' && S.size() > 1 && S[1] == '.')) return false;
    const char* end = S.data() + S.size();
    auto [ptr, ec] = std::from_chars(S.data(), end, Value);
    return ec == std::errc() && ptr == end && std::isfinite(Value);
}

}  // namespace

bool TryReadNumber(std::string_view Text, double& Value) {
    bool integral = false;
    double fast = 0;
    if (FastNumber(Text, fast, integral)) {
        Value = fast;
        return true;
    }
    std::string plain;
    if (!Normalise(Text, plain, integral)) return false;
    char* end = nullptr;
    double v = std::strtod(plain.c_str(), &end);
    if (end != plain.c_str() + plain.size() || !std::isfinite(v)) return false;
    Value = v;
    return true;
}

bool TryReadInteger(std::string_view Text, long long& Value) {
    std::string plain;
    bool integral = false;
    if (!Normalise(Text, plain, integral) || !integral) return false;
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(plain.c_str(), &end, 10);
    if (errno != 0 || end != plain.c_str() + plain.size()) return false;
    Value = v;
    return true;
}

bool TryReadDateTime(std::string_view Text, double& Value) {
    std::string_view s = Strip(Text);
    if (s.empty()) return false;
    size_t i = 0;
    double date = 0, time = 0;
    if (ReadDate(s, i, date)) {
        if (i < s.size()) {
            if (s[i] != ' ' && s[i] != 'T') return false;
            while (i < s.size() && (s[i] == ' ' || s[i] == 'T')) ++i;
            if (!ReadTime(s, i, time)) return false;
        }
    } else {
        i = 0;
        if (!ReadTime(s, i, time)) return false;
    }
    if (i != s.size()) return false;
    Value = date < 0 ? date - time : date + time;
    return true;
}

std::string NumberPictureOf(std::string_view Text) {
    double value = 0;
    if (!TryReadNumber(Text, value)) return "General";
    const auto& fs = cb::rtl::FormatSettings();
    const std::string_view s = Strip(Text);
    if (s.find_first_of("eE") != std::string_view::npos) return "General";
    const size_t point = s.find(fs.DecimalSeparator);
    const std::string_view whole = s.substr(0, point);
    // Below 1,000 a grouped picture shows the same text: such numbers take
    // the grouped one, so a column's numbers share their picture.
    const bool grouped =
        (fs.ThousandSeparator != fs.DecimalSeparator && whole.find(fs.ThousandSeparator) != whole.npos) ||
        std::fabs(value) < 1000;
    std::string picture = grouped ? "#,##0" : "0";
    if (point != std::string_view::npos) {
        size_t decimals = 0;
        for (size_t i = point + 1; i < s.size() && IsDigit(s[i]); ++i) ++decimals;
        if (decimals > 0) picture += "." + std::string(std::min<size_t>(decimals, 30), '0');
    }
    return picture;
}

TTabExportColType DetectColType(std::string_view Text, std::string_view BooleanTrue, std::string_view BooleanFalse) {
    if (Text.empty()) return ectString;
    if (cb::rtl::SameText(Text, BooleanTrue) || cb::rtl::SameText(Text, BooleanFalse)) return ectBoolean;
    long long i = 0;
    if (TryReadInteger(Text, i)) return ectInteger;
    double d = 0;
    if (TryReadNumber(Text, d)) return ectFloat;
    if (TryReadDateTime(Text, d)) {
        double whole = std::trunc(d);
        if (std::fabs(d - whole) < 1e-9) return ectDate;
        if (whole == 0) return ectTime;
        return ectDateTime;
    }
    return ectString;
}

TTabExportColType MergeColTypes(TTabExportColType A, TTabExportColType B) {
    if (A == ectUnknown) return B;
    if (B == ectUnknown || A == B) return A;
    auto numeric = [](TTabExportColType t) { return t == ectInteger || t == ectBigint || t == ectFloat; };
    auto dated = [](TTabExportColType t) { return t == ectDate || t == ectTime || t == ectDateTime; };
    if (numeric(A) && numeric(B)) return ectFloat;
    if (dated(A) && dated(B)) return ectDateTime;
    return ectString;
}

std::string FormatExportValue(const std::string& Text, const std::string& Format, TTabExportColType Type) {
    switch (Type) {
    case ectInteger:
    case ectBigint: {
        long long v = 0;
        if (!TryReadInteger(Text, v)) {
            double d = 0;
            v = TryReadNumber(Text, d) ? static_cast<long long>(std::llround(d)) : 0;
        }
        return cb::rtl::FormatFloat(Format, double(v));
    }
    case ectFloat:
    case ectCurrency: {
        double v = 0;
        if (!TryReadNumber(Text, v)) throw cb::rtl::EConvertError("'" + Text + "' is not a valid floating point value");
        return cb::rtl::FormatFloat(Format, v);
    }
    case ectDate:
    case ectTime:
    case ectDateTime: {
        double v = 0;
        if (!TryReadDateTime(Text, v)) throw cb::rtl::EConvertError("'" + Text + "' is not a valid date and time");
        return cb::rtl::FormatDateTime(Format, v);
    }
    default:
        return Text;
    }
}

}  // namespace cb::tabexport
