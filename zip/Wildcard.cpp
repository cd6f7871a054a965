#include "zip/Wildcard.h"
#include "platform/rtl/Strings.h"

#include "zip/ZipUtils.h"

#include <string>

namespace cb::zip {

namespace {

struct TSet {
    std::string_view Items;  // between "<" (and the negation mark) and ">"
    bool Negated = false;

    bool Contains(char C) const {
        bool in = false;
        for (std::size_t i = 0; i < Items.size() && !in; ++i) {
            if (i + 2 < Items.size() && Items[i + 1] == '-') {
                char lo = Items[i], hi = Items[i + 2];
                if (lo > hi) std::swap(lo, hi);
                in = C >= lo && C <= hi;
                i += 2;
            } else {
                in = C == Items[i];
            }
        }
        return in != Negated;
    }
};

// P points at "<"; on success P moves past ">".
bool ReadSet(std::string_view& P, TSet& Set) {
    std::size_t i = 1;
    Set.Negated = false;
    if (i < P.size() && (P[i] == '!' || P[i] == '^')) {
        Set.Negated = true;
        ++i;
    }
    const std::size_t close = P.find('>', i);
    if (close == std::string_view::npos) return false;
    Set.Items = P.substr(i, close - i);
    P.remove_prefix(close + 1);
    return true;
}

bool MatchFrom(std::string_view P, std::string_view T) {
    while (true) {
        if (P.empty()) return T.empty();
        if (T.empty()) return P == "*";
        const char c = P.front();
        if (c == '?') {
            P.remove_prefix(1);
            T.remove_prefix(1);
        } else if (c == '<') {
            TSet set;
            if (!ReadSet(P, set) || !set.Contains(T.front())) return false;
            T.remove_prefix(1);
        } else if (c == '*') {
            P.remove_prefix(1);
            TSet set;
            bool hasSet = false;
            if (!P.empty() && P.front() == '<') {
                if (!ReadSet(P, set) || set.Items.empty()) return false;
                hasSet = true;
            }
            while (!P.empty() && (P.front() == '*' || P.front() == '?')) {
                if (P.front() == '?') {
                    if (T.empty()) return false;
                    T.remove_prefix(1);
                }
                P.remove_prefix(1);
            }
            if (P.empty()) return true;
            while (!T.empty()) {
                if ((P.front() == T.front() || P.front() == '<') && MatchFrom(P, T)) return true;
                if (hasSet && !set.Contains(T.front())) return false;
                T.remove_prefix(1);
            }
            return false;
        } else {
            if (c != T.front()) return false;
            P.remove_prefix(1);
            T.remove_prefix(1);
        }
    }
}

}  // namespace

bool WildcardMatch(std::string_view Pattern, std::string_view Text) {
    const std::string p = cb::rtl::LowerCase(Pattern);
    const std::string t = cb::rtl::LowerCase(Text);
    if (p == "*") return true;
    return MatchFrom(p, t);
}

}  // namespace cb::zip
