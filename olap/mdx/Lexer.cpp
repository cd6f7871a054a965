#include "olap/mdx/Lexer.h"

#include "olap/engine/OlapError.h"

#include <cctype>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <strings.h>

namespace cb::olap::mdx {

namespace {

// A number token's value, with '.' as the decimal point whatever the
// process's locale; out of range gives infinity or zero.
double ParseNumber(const std::string& text) {
    double v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec == std::errc::result_out_of_range) {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
        v = strtod_l(text.c_str(), nullptr, c);
    }
    return v;
}

}  // namespace

bool Token::IsKeyword(const char* word) const {
    return kind == TokenKind::Identifier && strcasecmp(text.c_str(), word) == 0;
}

std::string Token::Describe() const {
    switch (kind) {
    case TokenKind::End:
        return "the end of the statement";
    case TokenKind::Bracketed: {
        std::string escaped;
        for (char c : text) escaped += c == ']' ? std::string("]]") : std::string(1, c);
        return "'[" + escaped + "]'";
    }
    case TokenKind::String:
        return "the string '" + text + "'";
    default:
        return "'" + text + "'";
    }
}

void ThrowSyntaxError(const SourcePos& pos, const std::string& what) {
    throw EOlapError("Syntax error at " + pos.Text() + ": " + what);
}

std::vector<Token> Tokenize(const std::string& text) {
    std::vector<Token> tokens;
    tokens.reserve(text.size() / 4 + 8);  // long member lists: one growth at most
    SourcePos pos;
    size_t i = 0;
    const size_t n = text.size();
    auto advance = [&](size_t count) {
        for (size_t k = 0; k < count && i < n; ++k, ++i) {
            char c = text[i];
            if (c == '\r' || c == '\n') {
                if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
                ++pos.line;
                pos.column = 1;
            } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
                ++pos.column;  // count characters, not UTF-8 continuation bytes
            }
        }
    };
    while (true) {
        while (i < n && std::isspace(static_cast<unsigned char>(text[i]))) advance(1);
        Token t;
        t.pos = pos;
        if (i >= n) {
            tokens.push_back(t);
            return tokens;
        }
        char c = text[i];
        if (c == '[') {
            t.kind = TokenKind::Bracketed;
            size_t j = i + 1;
            while (true) {
                if (j >= n) ThrowSyntaxError(t.pos, "the name beginning with '[' has no closing ']'");
                if (text[j] == ']') {
                    if (j + 1 < n && text[j + 1] == ']') {
                        t.text += ']';
                        j += 2;
                        continue;
                    }
                    break;
                }
                t.text += text[j++];
            }
            advance(j + 1 - i);
        } else if (c == '\'' || c == '"') {
            t.kind = TokenKind::String;
            size_t j = i + 1;
            while (true) {
                if (j >= n)
                    ThrowSyntaxError(t.pos, std::string("the string beginning with ") + c + " has no closing " + c);
                if (text[j] == c) {
                    if (j + 1 < n && text[j + 1] == c) {
                        t.text += c;
                        j += 2;
                        continue;
                    }
                    break;
                }
                t.text += text[j++];
            }
            advance(j + 1 - i);
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '.' && i + 1 < n && std::isdigit(static_cast<unsigned char>(text[i + 1])))) {
            t.kind = TokenKind::Number;
            size_t j = i;
            while (j < n && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
            if (j < n && text[j] == '.' && j + 1 < n && std::isdigit(static_cast<unsigned char>(text[j + 1]))) {
                ++j;
                while (j < n && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
            }
            if (j < n && (text[j] == 'e' || text[j] == 'E')) {
                size_t k = j + 1;
                if (k < n && (text[k] == '+' || text[k] == '-')) ++k;
                if (k < n && std::isdigit(static_cast<unsigned char>(text[k]))) {
                    while (k < n && std::isdigit(static_cast<unsigned char>(text[k]))) ++k;
                    j = k;
                }
            }
            t.text = text.substr(i, j - i);
            t.number = ParseNumber(t.text);
            advance(j - i);
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_' || (static_cast<unsigned char>(c) & 0x80)) {
            t.kind = TokenKind::Identifier;
            size_t j = i;
            while (j < n && (std::isalnum(static_cast<unsigned char>(text[j])) || text[j] == '_' ||
                             (static_cast<unsigned char>(text[j]) & 0x80)))
                ++j;
            t.text = text.substr(i, j - i);
            advance(j - i);
        } else if (std::string("{}(),.*+-/;").find(c) != std::string::npos) {
            t.kind = TokenKind::Symbol;
            t.text = std::string(1, c);
            advance(1);
        } else {
            ThrowSyntaxError(t.pos, std::string("unexpected character '") + c + "'");
        }
        tokens.push_back(std::move(t));
    }
}

}  // namespace cb::olap::mdx
