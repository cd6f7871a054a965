// Colours, entities, plain text and escaping of the mark-up language.
#include "grid/markup/MarkupText.h"
#include "platform/rtl/Strings.h"

#include <cstring>

namespace cb::grid {

namespace {

char up(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 32) : c;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = up(c);
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct TNamedColor {
    const char* Name;
    TColor Color;
};

constexpr TNamedColor kColors[] = {
    {"clred", 0x0000FF},
    {"clblack", 0x000000},
    {"clblue", 0xFF0000},
    {"clgreen", 0x008000},
    {"claqua", 0xFFFF00},
    {"clyellow", 0x00FFFF},
    {"clfuchsia", 0xFF00FF},
    {"clwhite", 0xFFFFFF},
    {"cllime", 0x00FF00},
    {"clsilver", 0xC0C0C0},
    {"clgray", 0x808080},
    {"clolive", 0x008080},
    {"clnavy", 0x800000},
    {"clpurple", 0x800080},
    {"clteal", 0x808000},
    {"clmaroon", 0x000080},
    {"clbackground", 0xFF000001},
    {"clactivecaption", 0xFF000002},
    {"clinactivecaption", 0xFF000003},
    {"clmenu", 0xFF000004},
    {"clwindow", 0xFF000005},
    {"clwindowframe", 0xFF000006},
    {"clmenutext", 0xFF000007},
    {"clwindowtext", 0xFF000008},
    {"clcaptiontext", 0xFF000009},
    {"clactiveborder", 0xFF00000A},
    {"clinactiveborder", 0xFF00000B},
    {"clappworkspace", 0xFF00000C},
    {"clhighlight", 0xFF00000D},
    {"clhighlighttext", 0xFF00000E},
    {"clbtnface", 0xFF00000F},
    {"clbtnshadow", 0xFF000010},
    {"clgraytext", 0xFF000011},
    {"clbtntext", 0xFF000012},
    {"clinactivecaptiontext", 0xFF000013},
    {"clbtnhighlight", 0xFF000014},
    {"cl3ddkshadow", 0xFF000015},
    {"cl3dlight", 0xFF000016},
    {"clinfotext", 0xFF000017},
    {"clinfobk", 0xFF000018},
};

bool sameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (up(a[i]) != up(b[i])) return false;
    return true;
}

struct TEntity {
    const char* Name;
    const char* Text;
    bool AnyCase;
};

constexpr TEntity kEntities[] = {
    {"&amp;", "&", true},
    {"&quot;", "\"", true},
    {"&sect;", "\xC2\xA7", true},
    {"&permil;", "\xE2\x80\xB0", true},
    {"&reg;", "\xC2\xAE", true},
    {"&copy;", "\xC2\xA9", true},
    {"&para;", "\xC2\xB6", true},
    {"&trade;", "\xE2\x84\xA2", true},
    {"&euro;", "\xE2\x82\xAC", true},
    {"&nbsp;", " ", false},
    {"&lt;", "<", false},
    {"&gt;", ">", false},
};

}  // namespace

TColor HTMLColorByName(std::string_view name) {
    for (const auto& c : kColors)
        if (sameNoCase(name, c.Name)) return c.Color;
    return 0;
}

TColor HTMLHexColor(std::string_view text) {
    if (!text.empty() && text[0] == '#') text.remove_prefix(1);
    int v[6] = {};
    for (size_t i = 0; i < 6 && i < text.size(); ++i) v[i] = std::max(0, hexDigit(text[i]));
    const unsigned r = unsigned(v[0] * 16 + v[1]), g = unsigned(v[2] * 16 + v[3]), b = unsigned(v[4] * 16 + v[5]);
    return r | (g << 8) | (b << 16);
}

TColor HTMLColor(std::string_view value) {
    if (value.empty()) return cb::gfx::clNone;
    if (value[0] == '#') return HTMLHexColor(value);
    return HTMLColorByName(value);
}

size_t PosNoCase(std::string_view needle, std::string_view text, size_t from) {
    if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
    for (size_t i = from; i + needle.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < needle.size() && up(text[i + k]) == up(needle[k])) ++k;
        if (k == needle.size()) return i;
    }
    return std::string_view::npos;
}

bool ReplaceFirstNoCase(std::string& text, std::string_view what, std::string_view with) {
    size_t p = PosNoCase(what, text);
    if (p == std::string::npos) return false;
    text.replace(p, what.size(), with);
    return true;
}

std::string HTMLToPlainText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '<') {
            out += text[i++];
            continue;
        }
        size_t close = text.find('>', i);
        if (close == std::string_view::npos) break;
        std::string_view tag = text.substr(i + 1, close - i - 1);
        if (tag.size() >= 2 && (up(tag[0]) == 'B' || up(tag[0]) == 'H') && up(tag[1]) == 'R') out += "\r\n";
        i = close + 1;
    }
    return out;
}

std::string EscapeHTML(std::string_view text) {
    return cb::rtl::EscapeMarkup(text);
}

std::string DecodeEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        size_t amp = text.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, amp - i));
        i = amp;
        bool done = false;
        for (const auto& e : kEntities) {
            const size_t n = std::strlen(e.Name);
            if (text.size() - i < n) continue;
            std::string_view cand = text.substr(i, n);
            if (e.AnyCase ? sameNoCase(cand, e.Name) : cand == e.Name) {
                out += e.Text;
                i += n;
                done = true;
                break;
            }
        }
        if (!done) out += text[i++];
    }
    return out;
}

int HTMLReadInt(std::string_view s, bool* clean) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && up(s[i + 1]) == 'X') {
        base = 16;
        i += 2;
    }
    long long v = 0;
    size_t start = i;
    while (i < s.size()) {
        int d = base == 16 ? hexDigit(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
        if (d < 0) break;
        if (v < 100000000) v = v * base + d;
        ++i;
    }
    const bool any = i > start;
    size_t j = i;
    while (j < s.size() && s[j] == ' ') ++j;
    if (clean) *clean = any && j == s.size();
    if (!any) return 0;
    return int(neg ? -v : v);
}

std::string_view HTMLAttribute(std::string_view tag, std::string_view name, bool* found) {
    if (found) *found = false;
    size_t p = tag.find(name);
    if (p == std::string_view::npos) return {};
    size_t q1 = tag.find('"', p + name.size());
    if (q1 == std::string_view::npos) return {};
    size_t q2 = tag.find('"', q1 + 1);
    if (q2 == std::string_view::npos) return {};
    if (found) *found = true;
    return tag.substr(q1 + 1, q2 - q1 - 1);
}

}  // namespace cb::grid
