// The mark-up renderer's tokenizer.
#include "grid/markup/MarkupTokens.h"

#include "grid/markup/MarkupText.h"
#include "platform/rtl/Strings.h"

namespace cb::grid {

namespace {

TMarkupTag classify(std::string_view t, bool terminated) {
    if (t.empty()) return TMarkupTag::Ignore;
    if (t[0] == '/') {
        if (t.size() < 2 || (!terminated && t.size() < 3)) return TMarkupTag::Ignore;
        const char c = MarkupUpper(t[1]);
        const char c2 = t.size() > 2 ? MarkupUpper(t[2]) : '>';
        switch (c) {
        case 'A':
            return TMarkupTag::LinkClose;
        case 'B':
            return c2 == '>' ? TMarkupTag::BoldOff : TMarkupTag::ColorBase;
        case 'E':
            return TMarkupTag::ErrorOff;
        case 'F':
            return TMarkupTag::FontClose;
        case 'H':
            return TMarkupTag::HiOff;
        case 'I':
            return TMarkupTag::ItalicOff;
        case 'P':
            return TMarkupTag::ParaClose;
        case 'R':
            return TMarkupTag::RotateClose;
        case 'S':
            return c2 == 'U' ? TMarkupTag::SubSupOff : c2 == 'H' ? TMarkupTag::ShadowOff : TMarkupTag::StrikeOff;
        case 'U':
            return c2 == '>' ? TMarkupTag::UnderOff : TMarkupTag::ListClose;
        case 'Z':
            return TMarkupTag::HiddenOff;
        default:
            return TMarkupTag::Ignore;
        }
    }
    const char c = MarkupUpper(t[0]);
    const char c2 = t.size() > 1 ? MarkupUpper(t[1]) : '>';
    switch (c) {
    case 'A':
        return TMarkupTag::LinkOpen;
    case 'B':
        if (c2 == '>') return TMarkupTag::BoldOn;
        if (c2 == 'R') return TMarkupTag::BR;
        if (c2 == 'L') return TMarkupTag::BlinkOn;
        if (c2 == 'O') return TMarkupTag::Body;
        return TMarkupTag::Ignore;
    case 'C':
        return TMarkupTag::Control;
    case 'E':
        return TMarkupTag::ErrorOn;
    case 'F':
        return TMarkupTag::Font;
    case 'H':
        return c2 == 'I' ? TMarkupTag::HiOn : c2 == 'R' ? TMarkupTag::HR : TMarkupTag::Ignore;
    case 'I':
        if (c2 == '>') return TMarkupTag::ItalicOn;
        if (c2 == 'N') return TMarkupTag::Indent;
        if (c2 == 'M') return TMarkupTag::Img;
        return TMarkupTag::Ignore;
    case 'L':
        return TMarkupTag::ListItem;
    case 'P':
        return TMarkupTag::Para;
    case 'R':
        return TMarkupTag::Rotate;
    case 'S':
        if (c2 == '>') return TMarkupTag::StrikeOn;
        if (c2 == 'H') return TMarkupTag::ShadowOn;
        if (t.size() >= 3 && MarkupUpper(t[1]) == 'U' && MarkupUpper(t[2]) == 'B') return TMarkupTag::SubOn;
        if (t.size() >= 3 && MarkupUpper(t[1]) == 'U' && MarkupUpper(t[2]) == 'P') return TMarkupTag::SupOn;
        return TMarkupTag::Ignore;
    case 'U':
        return c2 == '>' ? TMarkupTag::UnderOn : TMarkupTag::ListOpen;
    case 'Z':
        return TMarkupTag::HiddenOn;
    default:
        return TMarkupTag::Ignore;
    }
}

// "<#...>" loses its brackets once; line feeds go, carriage returns become <BR>.
std::string prepare(std::string_view text) {
    std::string s;
    s.reserve(text.size() + 8);
    size_t hash = text.find("<#");
    size_t hashClose = hash == std::string_view::npos ? hash : text.find('>', hash);
    for (size_t i = 0; i < text.size(); ++i) {
        if (i == hash || i == hashClose) continue;
        const char c = text[i];
        if (c == '\n') continue;
        if (c == '\r')
            s += "<BR>";
        else
            s += c;
    }
    return s;
}

void addRun(std::vector<TMarkupToken>& out, std::string_view raw) {
    if (raw.empty()) return;
    TMarkupToken t;
    t.Text = raw.find('&') == std::string_view::npos ? std::string(raw) : DecodeEntities(raw);
    t.EndsBlank = raw.back() == ' ' && t.Text.size() == raw.size();
    out.push_back(std::move(t));
}

std::vector<TMarkupToken> tokenize(std::string_view s, bool wrap) {
    std::vector<TMarkupToken> out;
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] == '<') {
            if (s.size() - i <= 2 && s.find('>', i) == std::string_view::npos) break;
            size_t close = s.find('>', i + 1);
            const bool terminated = close != std::string_view::npos;
            if (!terminated) close = s.size();
            TMarkupToken t;
            t.IsTag = true;
            t.Text = std::string(s.substr(i + 1, close - i - 1));
            t.Tag = classify(t.Text, terminated);
            if (t.Tag == TMarkupTag::Ignore) {
                i = close + 1;
                continue;
            }
            t.Upper = cb::rtl::UpperCase(t.Text);
            if (t.Tag == TMarkupTag::LinkOpen) {
                // The target: the text between the first two double quotes.
                const size_t q1 = t.Text.find('"');
                const size_t q2 = q1 == std::string::npos ? q1 : t.Text.find('"', q1 + 1);
                if (q2 != std::string::npos)
                    t.Target = DecodeEntities(std::string_view(t.Text).substr(q1 + 1, q2 - q1 - 1));
            }
            out.push_back(std::move(t));
            i = close + 1;
            continue;
        }
        size_t next = s.find('<', i);
        if (next == std::string_view::npos) next = s.size();
        if (wrap) {
            while (i < next) {
                size_t blank = s.find(' ', i);
                size_t end = blank == std::string_view::npos || blank >= next ? next : blank + 1;
                addRun(out, s.substr(i, end - i));
                i = end;
            }
        } else {
            addRun(out, s.substr(i, next - i));
            i = next;
        }
    }
    return out;
}

}  // namespace

std::vector<TMarkupToken> TokenizeMarkup(std::string_view text, bool wrap) {
    return tokenize(prepare(text), wrap);
}

// Attribute value searched in the upper-cased tag, taken from the original.
std::string_view TMarkupToken::Attr(std::string_view name) const {
    std::string_view v = HTMLAttribute(Upper, name);
    if (v.empty()) return {};
    return std::string_view(Text).substr(size_t(v.data() - Upper.data()), v.size());
}

std::string_view TMarkupToken::AttrUpper(std::string_view name) const {
    return HTMLAttribute(Upper, name);
}

std::string_view TMarkupToken::QuotedAfterLetter(char ch) const {
    size_t p = Upper.find(ch, 1);
    if (p == std::string::npos) return {};
    size_t q1 = Upper.find('"', p);
    if (q1 == std::string::npos) return {};
    size_t q2 = Upper.find('"', q1 + 1);
    if (q2 == std::string::npos) return {};
    return std::string_view(Upper).substr(q1 + 1, q2 - q1 - 1);
}

}  // namespace cb::grid
