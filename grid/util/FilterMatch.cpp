#include "grid/util/FilterMatch.h"

#include "grid/util/DateUtils.h"

#include "platform/rtl/Strings.h"

#include <cstring>
#include <string>

namespace cb::grid {

namespace {

bool IsOperator(char c) {
    return c == '&' || c == ';' || c == '^' || c == '|';
}

// The operand after position p (just past the operator): an "=" right after
// makes the comparison inclusive; blanks skipped; ends at a blank, "&", "|"
// or the end; one quote at either end dropped.
std::string ReadOperand(std::string_view pattern, size_t p, bool& inclusive) {
    inclusive = false;
    if (p < pattern.size() && pattern[p] == '=') {
        inclusive = true;
        ++p;
    }
    while (p < pattern.size() && pattern[p] == ' ') ++p;
    size_t e = p;
    while (e < pattern.size() && pattern[e] != ' ' && pattern[e] != '&' && pattern[e] != '|') ++e;
    std::string op(pattern.substr(p, e - p));
    if (!op.empty() && op.front() == '"') op.erase(0, 1);
    if (!op.empty() && op.back() == '"') op.pop_back();
    return op;
}

// <0, 0, >0: numbers numerically, then dates, then the texts byte by byte.
int CompareValues(std::string_view value, const std::string& operand) {
    double a = 0, b = 0;
    if (cb::rtl::TryStrToFloat(value, a) && cb::rtl::TryStrToFloat(operand, b)) return a < b ? -1 : a > b ? 1 : 0;
    TDateTime da = 0, db = 0;
    if (ParseShortDate(value, da) && ParseShortDate(operand, db)) return da < db ? -1 : da > db ? 1 : 0;
    std::string_view x = value.substr(0, 255);
    std::string_view y = std::string_view(operand).substr(0, 255);
    int c = x.compare(y);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool Wildcard(std::string_view p, std::string_view v) {
    size_t pi = 0;
    while (pi < p.size()) {
        char c = p[pi];
        if (c == '"' || c == '!') {
            ++pi;
            continue;
        }
        if (c == '*') {
            while (pi < p.size() && (p[pi] == '*' || p[pi] == '"' || p[pi] == '!')) ++pi;
            if (pi == p.size()) return true;
            // suffixes of the value from the shortest up
            for (size_t k = 0; k <= v.size(); ++k)
                if (Wildcard(p.substr(pi), v.substr(v.size() - k))) return true;
            return false;
        }
        if (v.empty()) return false;
        if (c != '?' && c != v.front()) return false;
        v.remove_prefix(1);
        ++pi;
    }
    return v.empty();
}

}  // namespace

bool MatchFilterPattern(std::string_view pattern, std::string_view value) {
    size_t gt = pattern.find('>');
    size_t lt = pattern.find('<');
    size_t ex = pattern.find('!');
    bool hasGreater = gt != std::string_view::npos;
    bool hasLess = lt != std::string_view::npos;
    bool greater = false;
    bool less = false;
    bool inclusive = false;
    if (hasGreater) {
        std::string op = ReadOperand(pattern, gt + 1, inclusive);
        int c = CompareValues(value, op);
        greater = inclusive ? c >= 0 : c > 0;
    }
    if (hasLess) {
        std::string op = ReadOperand(pattern, lt + 1, inclusive);
        int c = CompareValues(value, op);
        less = inclusive ? c <= 0 : c < 0;
    }
    bool cmpGreater = hasGreater;
    bool cmpLess = hasLess;
    if (ex != std::string_view::npos) {
        // a negated pattern counts as having both comparisons
        cmpGreater = cmpLess = true;
    }
    bool anyCmp = cmpGreater || cmpLess;
    if (pattern.find('^') != std::string_view::npos && anyCmp) return less || greater;
    if (pattern.find('&') != std::string_view::npos && cmpGreater && cmpLess) return less && greater;
    if (hasGreater && greater) return true;
    if (hasLess && less) return true;
    bool match = Wildcard(pattern, value);
    return ex != std::string_view::npos ? !match : match;
}

bool MatchFilterTerm(std::string_view term, std::string_view value, bool caseSensitive) {
    if (caseSensitive) return MatchFilterPattern(term, value);
    return MatchFilterPattern(cb::rtl::UpperCase(term), cb::rtl::UpperCase(value));
}

bool MatchFilterCondition(std::string_view condition, std::string_view value, bool caseSensitive) {
    std::string c = cb::rtl::Trim(condition);
    // blanks around the operators and "=" go, then every "="
    std::string tight;
    for (size_t i = 0; i < c.size(); ++i) {
        char ch = c[i];
        bool special = IsOperator(ch) || ch == '=';
        if (ch == ' ') {
            bool beforeSpecial = i + 1 < c.size() && (IsOperator(c[i + 1]) || c[i + 1] == '=');
            bool afterSpecial = i > 0 && (IsOperator(c[i - 1]) || c[i - 1] == '=');
            if (beforeSpecial || afterSpecial) continue;
        }
        if (ch == '=') continue;
        (void)special;
        tight += ch;
    }
    bool total = false;
    bool first = true;
    char op = 0;
    size_t start = 0;
    for (size_t i = 0; i <= tight.size(); ++i) {
        if (i < tight.size() && !IsOperator(tight[i])) continue;
        bool r = MatchFilterTerm(std::string_view(tight).substr(start, i - start), value, caseSensitive);
        if (first)
            total = r;
        else if (op == '&')
            total = total && r;
        else
            total = total || r;
        first = false;
        if (i < tight.size()) op = tight[i];
        start = i + 1;
    }
    return total;
}

}  // namespace cb::grid
