#include "olap/engine/NameFold.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace cb::olap {

namespace {

struct FoldRun {
    uint32_t first, last;
    int32_t delta;
    uint32_t stride;
};

constexpr FoldRun kRuns[] = {
#include "olap/engine/NameFoldTable.inc"
};

uint32_t FoldCodePoint(uint32_t cp) {
    if (cp < 0x80) return cp >= 'A' && cp <= 'Z' ? cp + 32 : cp;
    // The last run that starts at or before cp.
    const FoldRun* it = std::upper_bound(std::begin(kRuns), std::end(kRuns), cp,
                                         [](uint32_t c, const FoldRun& r) { return c < r.first; });
    if (it == std::begin(kRuns)) return cp;
    --it;
    if (cp > it->last || (cp - it->first) % it->stride != 0) return cp;
    return uint32_t(int64_t(cp) + it->delta);
}

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when the bytes
// are not a valid sequence.
size_t Decode(std::string_view s, size_t i, uint32_t& cp) {
    const auto b = [&](size_t k) { return uint8_t(s[i + k]); };
    const uint8_t c = b(0);
    size_t n;
    uint32_t min;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        n = 2, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        n = 3, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        n = 4, cp = c & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((b(k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

void Encode(uint32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

bool IsAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return uint8_t(c) < 0x80; });
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
}

}  // namespace

std::string FoldName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (size_t i = 0; i < name.size();) {
        uint32_t cp = 0;
        const size_t n = Decode(name, i, cp);
        if (n == 0) {
            out += name[i++];  // not UTF-8: the byte as it is
            continue;
        }
        Encode(FoldCodePoint(cp), out);
        i += n;
    }
    return out;
}

bool SameName(std::string_view a, std::string_view b) {
    if (IsAscii(a) && IsAscii(b))
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
    return FoldName(a) == FoldName(b);
}

size_t InvalidUtf8At(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        if (uint8_t(text[i]) < 0x80) {
            ++i;
            continue;
        }
        uint32_t cp = 0;
        const size_t n = Decode(text, i, cp);
        if (n == 0) return i;
        i += n;
    }
    return std::string_view::npos;
}

size_t FoldedNameHash(std::string_view name, size_t seed) {
    uint64_t h = 0xCBF29CE484222325ull ^ (uint64_t(seed) * 0x9E3779B97F4A7C15ull);
    auto add = [&](std::string_view s) {
        for (char c : s) h = (h ^ uint8_t(FoldAscii(c))) * 0x100000001B3ull;
    };
    if (IsAscii(name))
        add(name);
    else
        add(FoldName(name));
    return size_t(h ^ (h >> 29));
}

}  // namespace cb::olap
