#include "grid/util/NumberUtils.h"

#include "platform/rtl/Strings.h"

#include <algorithm>

namespace cb::grid {

using cb::rtl::TFormatSettings;

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

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

TNumberTextKind NumberTextKind(std::string_view text, const TFormatSettings& fs) {
    if (text.empty()) return ntkNotANumber;
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
    if (minus > 1 || decimals > 1) return ntkNotANumber;
    if (isInt) return ntkInteger;
    return isFloat ? ntkFloat : ntkNotANumber;
}

}  // namespace cb::grid
