#include "platform/rtl/FormatFloat.h"

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace cb::rtl {

TFormatSettings& FormatSettings() {
    static TFormatSettings settings;
    return settings;
}

namespace {

// A picture dialect: the toolkit's, or the cube's measure formats.
struct Dialect {
    bool percentScales;
    bool backslashEscapes;
    bool singleQuotes;
    bool commaScaling;
};

constexpr Dialect ToolkitDialect{false, false, true, false};
constexpr Dialect MeasureDialect{true, true, false, true};

// A non-negative value as decimal digits d1d2... meaning 0.d1d2... x 10^exp,
// without trailing zeros; zero has no digits.
struct Decimal {
    std::string digits;
    int exp = 0;

    explicit Decimal(double v) {
        if (v == 0) return;
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.14e", v);
        // "d.dddddddddddddde+XX"
        std::string s(buf);
        auto e = s.find('e');
        digits = s.substr(0, 1) + s.substr(2, e - 2);
        exp = std::atoi(s.c_str() + e + 1) + 1;
        Trim();
    }

    void Trim() {
        while (!digits.empty() && digits.back() == '0') digits.pop_back();
        if (digits.empty()) exp = 0;
    }

    // Keeps Keep digits, rounding half away from zero.
    void Round(int keep) {
        if (keep >= static_cast<int>(digits.size())) return;
        if (keep < 0) {
            digits.clear();
            exp = 0;
            return;
        }
        bool up = digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(keep));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
                digits[static_cast<std::size_t>(i)] = '0';
                --i;
            }
            if (i >= 0) {
                ++digits[static_cast<std::size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++exp;
            }
        }
        Trim();
    }

    bool IsZero() const { return digits.empty(); }
};

struct Token {
    enum Kind {
        Digit,
        Point,
        Literal,
        Exponent
    };
    explicit Token(Kind k, std::string t = {}) : kind(k), text(std::move(t)) {}
    Kind kind;
    bool zero = false;   // '0' rather than '#'
    std::string text;    // literal text, or 'E'/'e' for the exponent
    char expSign = '-';  // '+' shows a plus for positive exponents
    int expDigits = 0;   // minimum exponent digits
};

struct Section {
    std::vector<Token> tokens;
    bool thousands = false;
    int percent = 0;
    int scale1000 = 0;
    int intCount = 0;  // digit placeholders before the point
    int minInt = 0;    // from the first '0' before the point
    int fracCount = 0;
    int minFrac = 0;  // up to the last '0' after the point
    bool scientific = false;
    bool hasDigits() const { return intCount + fracCount > 0; }
};

std::vector<std::string> SplitSections(std::string_view f, const Dialect& d) {
    std::vector<std::string> r(1);
    for (std::size_t i = 0; i < f.size(); ++i) {
        char c = f[i];
        if (c == '"' || (c == '\'' && d.singleQuotes)) {
            std::size_t j = f.find(c, i + 1);
            if (j == std::string_view::npos) j = f.size() - 1;
            r.back().append(f.substr(i, j - i + 1));
            i = j;
        } else if (c == '\\' && d.backslashEscapes && i + 1 < f.size()) {
            r.back().append(f.substr(i, 2));
            ++i;
        } else if (c == ';') {
            r.emplace_back();
        } else {
            r.back() += c;
        }
    }
    return r;
}

Section ParseSection(std::string_view f, const Dialect& d) {
    Section s;
    bool afterPoint = false;
    auto literal = [&](std::string_view t) {
        if (!s.tokens.empty() && s.tokens.back().kind == Token::Literal)
            s.tokens.back().text.append(t);
        else
            s.tokens.push_back(Token(Token::Literal, std::string(t)));
    };
    for (std::size_t i = 0; i < f.size(); ++i) {
        char c = f[i];
        if (c == '"' || (c == '\'' && d.singleQuotes)) {
            std::size_t j = f.find(c, i + 1);
            if (j == std::string_view::npos) j = f.size();
            literal(f.substr(i + 1, j - i - 1));
            i = j;
        } else if (c == '\\' && d.backslashEscapes) {
            if (i + 1 < f.size()) literal(f.substr(++i, 1));
        } else if ((c == '0' || c == '#') && !s.scientific) {
            Token t(Token::Digit);
            t.zero = c == '0';
            s.tokens.push_back(t);
            if (afterPoint) {
                ++s.fracCount;
                if (t.zero) s.minFrac = s.fracCount;
            } else {
                ++s.intCount;
            }
        } else if (c == '.' && !afterPoint && !s.scientific) {
            afterPoint = true;
            s.tokens.push_back(Token(Token::Point));
        } else if (c == ',' && !s.scientific) {
            std::size_t j = i;
            while (j < f.size() && f[j] == ',') ++j;
            bool digitFollows = j < f.size() && (f[j] == '0' || f[j] == '#');
            bool digitBefore = !s.tokens.empty() && s.tokens.back().kind == Token::Digit;
            if (d.commaScaling && !digitFollows && digitBefore)
                s.scale1000 += static_cast<int>(j - i);
            else if (!afterPoint || !d.commaScaling)
                s.thousands = true;
            i = j - 1;
        } else if ((c == 'E' || c == 'e') && !s.scientific && i + 1 < f.size() &&
                   (f[i + 1] == '+' || f[i + 1] == '-')) {
            Token t(Token::Exponent);
            t.text = std::string(1, c);
            t.expSign = f[i + 1];
            std::size_t j = i + 2;
            while (j < f.size() && (f[j] == '0' || f[j] == '#')) {
                if (f[j] == '0' && t.expDigits < 4) ++t.expDigits;
                ++j;
            }
            s.tokens.push_back(t);
            s.scientific = true;
            i = j - 1;
        } else if (c == '%' && d.percentScales) {
            ++s.percent;
            literal("%");
        } else {
            literal(f.substr(i, 1));
        }
    }
    // The minimum integer digits run from the first '0' to the point.
    bool seenZero = false;
    for (const Token& t : s.tokens) {
        if (t.kind == Token::Point || t.kind == Token::Exponent) break;
        if (t.kind != Token::Digit) continue;
        seenZero = seenZero || t.zero;
        if (seenZero) ++s.minInt;
    }
    return s;
}

// Integer and fraction digits of the value for a section; false when the
// value rounds to zero.
struct Digits {
    std::string intPart;   // without leading zeros
    std::string fracPart;  // fracCount digits
    int exponent = 0;
    bool zero = true;
};

Digits Layout(const Section& s, double v) {
    // '%' and scaling commas move the decimal point: done on the decimal
    // digits, so that no scaling overflows the double (bounded for output).
    Decimal dec(std::fabs(v));
    if (!dec.IsZero())
        dec.exp = static_cast<int>(std::clamp<long long>(dec.exp + 2LL * s.percent - 3LL * s.scale1000, -10000, 10000));
    Digits r;
    if (s.scientific) {
        int keep = s.intCount + s.fracCount;
        if (!dec.IsZero() && keep == 0) keep = 1;
        dec.Round(keep);
        if (dec.IsZero()) {
            r.fracPart.assign(static_cast<std::size_t>(s.fracCount), '0');
            return r;
        }
        r.zero = false;
        int intDigits = std::max(s.intCount, s.intCount + s.fracCount == 0 ? 1 : 0);
        r.exponent = dec.exp - intDigits;
        std::string all = dec.digits;
        if (static_cast<int>(all.size()) < intDigits + s.fracCount)
            all.append(static_cast<std::size_t>(intDigits + s.fracCount) - all.size(), '0');
        r.intPart = all.substr(0, static_cast<std::size_t>(intDigits));
        r.fracPart = all.substr(static_cast<std::size_t>(intDigits), static_cast<std::size_t>(s.fracCount));
        return r;
    }
    dec.Round(dec.exp + s.fracCount);
    if (dec.IsZero()) {
        r.fracPart.assign(static_cast<std::size_t>(s.fracCount), '0');
        return r;
    }
    r.zero = false;
    const std::string& dg = dec.digits;
    if (dec.exp > 0) {
        std::size_t n = static_cast<std::size_t>(dec.exp);
        r.intPart = dg.substr(0, std::min(n, dg.size()));
        if (r.intPart.size() < n) r.intPart.append(n - r.intPart.size(), '0');
        r.fracPart = dg.size() > n ? dg.substr(n) : std::string();
    } else {
        r.fracPart = std::string(static_cast<std::size_t>(-dec.exp), '0') + dg;
    }
    r.fracPart.resize(static_cast<std::size_t>(s.fracCount), '0');
    return r;
}

std::string Emit(const Section& s, const Digits& d) {
    const TFormatSettings& fs = FormatSettings();
    std::string intDigits = d.intPart;
    if (static_cast<int>(intDigits.size()) < s.minInt)
        intDigits.insert(0, static_cast<std::size_t>(s.minInt) - intDigits.size(), '0');
    const int len = static_cast<int>(intDigits.size());
    // Fraction digits shown: trailing zeros go down to the minimum.
    int shownFrac = static_cast<int>(d.fracPart.size());
    while (shownFrac > s.minFrac && d.fracPart[static_cast<std::size_t>(shownFrac - 1)] == '0') --shownFrac;

    std::string out;
    auto digitAt = [&](int posFromRight) {
        out += intDigits[static_cast<std::size_t>(len - 1 - posFromRight)];
        if (s.thousands && !s.scientific && posFromRight > 0 && posFromRight % 3 == 0) out += fs.ThousandSeparator;
    };
    int intIndex = 0, fracIndex = 0;
    for (const Token& t : s.tokens) {
        switch (t.kind) {
        case Token::Literal:
            out += t.text;
            break;
        case Token::Digit:
            if (fracIndex > 0 || intIndex >= s.intCount) {
                if (fracIndex < shownFrac) out += d.fracPart[static_cast<std::size_t>(fracIndex)];
                ++fracIndex;
            } else {
                int pos = s.intCount - 1 - intIndex;
                if (intIndex == 0) {
                    for (int p = len - 1; p >= pos; --p) digitAt(p);
                } else if (pos < len) {
                    digitAt(pos);
                }
                ++intIndex;
            }
            break;
        case Token::Point:
            intIndex = s.intCount;
            if (shownFrac > 0) out += fs.DecimalSeparator;
            break;
        case Token::Exponent: {
            out += t.text;
            if (d.exponent < 0)
                out += '-';
            else if (t.expSign == '+')
                out += '+';
            std::string e = std::to_string(std::abs(d.exponent));
            if (static_cast<int>(e.size()) < t.expDigits)
                e.insert(0, static_cast<std::size_t>(t.expDigits) - e.size(), '0');
            out += e;
            break;
        }
        }
    }
    return out;
}

}  // namespace

// A picture split into its sections and parsed once.
struct TCompiledPicture {
    bool empty = true;
    Section first;
    std::optional<Section> negative;
    std::optional<Section> zero;
};

namespace {

TCompiledPicture Compile(std::string_view format, const Dialect& d) {
    TCompiledPicture p;
    if (format.empty()) return p;
    p.empty = false;
    std::vector<std::string> parts = SplitSections(format, d);
    p.first = ParseSection(parts[0], d);
    if (parts.size() > 1 && !parts[1].empty()) p.negative = ParseSection(parts[1], d);
    if (parts.size() > 2 && !parts[2].empty()) p.zero = ParseSection(parts[2], d);
    return p;
}

std::string FormatCompiled(const TCompiledPicture& p, double value) {
    if (p.empty || !std::isfinite(value)) return FloatToStr(value);
    const bool negative = value < 0;
    const Section* own = negative && p.negative ? &*p.negative : nullptr;
    const Section& sec = own ? *own : p.first;
    Digits dg = Layout(sec, value);
    if (dg.zero) {
        // The zero section, or the first without a sign.
        if (p.zero) return Emit(*p.zero, Layout(*p.zero, 0));
        if (own) return Emit(p.first, Layout(p.first, 0));
        return Emit(sec, dg);
    }
    std::string text = Emit(sec, dg);
    if (negative && !own) text = "-" + text;
    return text;
}

std::string FormatWith(std::string_view format, double value, const Dialect& d) {
    return FormatCompiled(Compile(format, d), value);
}

}  // namespace

std::string FormatFloat(std::string_view Format, double Value) {
    return FormatWith(Format, Value, ToolkitDialect);
}

std::string FormatMeasureValue(std::string_view FormatString, double Value) {
    return TMeasureFormat(FormatString).Format(Value);
}

TMeasureFormat::TMeasureFormat(std::string_view FormatString) {
    std::string name = Trim(FormatString);
    if (name.empty() || SameText(name, "General Number") || SameText(name, "General")) {
        FKind = Kind::Plain;
        return;
    }
    static const char* const choices[][3] = {
        {"Yes/No", "Yes", "No"}, {"True/False", "True", "False"}, {"On/Off", "On", "Off"}};
    for (const auto& c : choices)
        if (SameText(name, c[0])) {
            FKind = Kind::Choice;
            FYes = c[1];
            FNo = c[2];
            return;
        }
    std::string picture;
    if (SameText(name, "Currency")) {
        std::string cur;
        for (char c : FormatSettings().CurrencyString) (cur += '\\') += c;
        picture = cur + "#,##0.00;(" + cur + "#,##0.00)";
    } else if (SameText(name, "Fixed")) {
        picture = "0.00";
    } else if (SameText(name, "Standard")) {
        picture = "#,##0.00";
    } else if (SameText(name, "Percent")) {
        picture = "0.00%";
    } else if (SameText(name, "Scientific")) {
        picture = "0.00E+00";
    } else {
        picture = std::string(FormatString);
    }
    FKind = Kind::Picture;
    FPicture = std::make_shared<const TCompiledPicture>(Compile(picture, MeasureDialect));
}

std::string TMeasureFormat::Format(double Value) const {
    switch (FKind) {
    case Kind::Plain:
        return FloatToStr(Value);
    case Kind::Choice:
        return Value != 0 ? FYes : FNo;
    case Kind::Picture:
        break;
    }
    return FormatCompiled(*FPicture, Value);
}

}  // namespace cb::rtl
