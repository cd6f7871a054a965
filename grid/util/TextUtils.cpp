#include "grid/util/TextUtils.h"

#include "platform/rtl/Strings.h"

#include <algorithm>

namespace cb::grid {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char UpperChar(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

}  // namespace

bool ReadLeadingInt(std::string_view text, int& value, bool& clean) {
    size_t i = 0;
    bool neg = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        neg = text[i] == '-';
        ++i;
    }
    size_t start = i;
    long long v = 0;
    while (i < text.size() && IsDigit(text[i])) {
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) return false;
        ++i;
    }
    if (i == start) return false;
    if (neg) v = -v;
    if (v > 2147483647LL) return false;
    value = int(v);
    clean = i == text.size();
    return true;
}

bool ReadCleanInt(std::string_view text, int& value) {
    bool clean = false;
    return ReadLeadingInt(text, value, clean) && clean;
}

// --- text --------------------------------------------------------------------

int PosInUpperCase(std::string_view pattern, std::string_view text) {
    return cb::rtl::Pos(pattern, cb::rtl::UpperCase(text));
}

int FirstCharPos(char c, std::string_view text) {
    size_t p = text.find(c);
    return p == std::string_view::npos ? 0 : int(p) + 1;
}

int FirstCharPosOut(char c, std::string_view text, int& pos) {
    int p = FirstCharPos(c, text);
    if (p > 0) pos = p;
    return p;
}

int PosWithOut(std::string_view pattern, std::string_view text, int& pos) {
    pos = cb::rtl::Pos(pattern, text);
    return pos;
}

char FirstCharInSet(std::string_view set, std::string_view text) {
    for (char c : text)
        if (set.find(c) != std::string_view::npos) return c;
    return '\0';
}

void FillWithChar(std::string& text, char c) {
    std::fill(text.begin(), text.end(), c);
}

std::string CollapseRepeatedChar(char c, std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == c && !out.empty() && out.back() == c && i > 0 && text[i - 1] == c) continue;
        out += text[i];
    }
    return out;
}

std::string BackslashNToCR(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\r';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

namespace {

// Every `from` in text becomes CR LF.
void CharToCRLF(std::string& text, char from, std::size_t extra) {
    std::string out;
    out.reserve(text.size() + extra);
    for (char c : text) {
        if (c == from)
            out += "\r\n";
        else
            out += c;
    }
    text = std::move(out);
}

}  // namespace

void LFToCRLF(std::string& text) {
    if (text.find('\n') == std::string::npos) return;
    CharToCRLF(text, '\n', 8);
}

void TildeToCRLF(std::string& text) {
    CharToCRLF(text, '~', 0);
}

void QuoteMultiLineText(std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    out += '"';
    text = std::move(out);
}

void ExtractFirstLine(std::string& text, bool keepRest, std::string& line) {
    size_t cr = text.find('\r');
    if (cr == std::string::npos) {
        line = text;
        text.clear();
        return;
    }
    line = text.substr(0, cr);
    size_t rest = cr + 1;
    if (rest < text.size() && text[rest] == '\n') ++rest;
    if (keepRest)
        text.erase(0, rest);
    else
        text.clear();
}

int CountTextLines(std::string_view text, bool multiLine) {
    if (!multiLine) return 1;
    return 1 + int(std::count(text.begin(), text.end(), '\r'));
}

void OemToAnsiText(std::string&) {}

char LowerAsciiChar(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

std::string CapitaliseName(std::string_view text) {
    static const std::string_view separators = " ',-.";
    std::string out;
    out.reserve(text.size());
    bool capNext = true;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (separators.find(c) != std::string_view::npos) {
            out += c;
            capNext = true;
        } else {
            out += capNext ? UpperChar(c) : LowerAsciiChar(c);
            capNext = false;
        }
        // After this position: special capitals.
        const size_t pos = i + 1;  // 1-based position just written
        if (out == "Mc") capNext = true;
        size_t mc = out.find(" Mc");
        if (mc != std::string::npos && mc + 3 == pos && pos > 2) capNext = true;
        if (pos + 2 >= text.size()) {
            if ((out.size() >= 2 && out.compare(out.size() - 2, 2, " I") == 0) ||
                (out.size() >= 3 && out.compare(out.size() - 3, 3, " II") == 0))
                capNext = true;
        }
    }
    return out;
}

bool IsURLOrMail(std::string_view text) {
    return text.find("://") != std::string_view::npos || text.find("mailto:") != std::string_view::npos;
}

void StripURLScheme(std::string& text) {
    size_t p = text.find("://");
    if (p != std::string::npos) {
        text.erase(0, p + 3);
        return;
    }
    p = text.find("mailto:");
    if (p != std::string::npos) text.erase(0, p + 7);
}

TCellTextKind CellTextKind(std::string_view t, bool htmlEnabled) {
    if (t.empty()) return ctkPlain;
    if (t[0] == '=') return ctkFormula;
    if (t.size() >= 2 && t[0] == '|' && t[1] == '\\') return ctkWideText;
    if (t.size() >= 2 && t[0] == '{' && t[1] == '\\') return ctkRichText;
    if (htmlEnabled)
        // "</", "<B" or "<I" anywhere.
        for (size_t p = t.find('<'); p != std::string_view::npos && p + 1 < t.size(); p = t.find('<', p + 1))
            if (t[p + 1] == '/' || t[p + 1] == 'B' || t[p + 1] == 'I') return ctkHTML;
    return ctkPlain;
}

std::u16string DecodeWideText(std::string_view text) {
    std::u16string wide;
    for (size_t i = 2; i + 1 < text.size(); i += 2)
        wide += char16_t((unsigned char)text[i] * 256 + (unsigned char)text[i + 1]);
    return wide;
}

std::string EncodeWideText(std::u16string_view text) {
    std::string s = "|\\";
    s.reserve(2 + text.size() * 2);
    for (char16_t c : text) {
        s += char((c >> 8) & 0xFF);
        s += char(c & 0xFF);
    }
    return s;
}

bool ParseRowColRef(std::string_view text, TGridCoord& cell) {
    std::string t = cb::rtl::UpperCase(text);
    if (t.size() <= 3 || t[0] != 'R') return false;
    size_t c = t.find('C');
    if (c == std::string::npos) return false;
    int row = 0;
    int col = 0;
    if (!ReadCleanInt(std::string_view(t).substr(1, c - 1), row) ||
        !ReadCleanInt(std::string_view(t).substr(c + 1), col))
        return false;
    cell = {col, row};
    return true;
}

// --- CSV fields --------------------------------------------------------------

int ClosingQuotePos(char quote, std::string_view text, int& pos) {
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != quote) {
            ++i;
            continue;
        }
        size_t run = 0;
        while (i + run < text.size() && text[i + run] == quote) ++run;
        size_t last = i + run - 1;
        if (i + run == text.size() || run % 2 == 1) {
            pos = int(last) + 1;
            return pos;
        }
        i += run;
    }
    return 0;
}

int CountClosingQuotes(char quote, std::string_view text) {
    int count = 0;
    int pos = 0;
    while (!text.empty() && ClosingQuotePos(quote, text, pos) > 0) {
        ++count;
        text.remove_prefix(size_t(pos));
    }
    return count;
}

int CountChar(char c, std::string_view text) {
    return int(std::count(text.begin(), text.end(), c));
}

}  // namespace cb::grid
