#pragma once
// Splits MDX text into tokens with their line and column.
#include <string>
#include <vector>

namespace cb::olap::mdx {

struct SourcePos {
    int line = 1;
    int column = 1;
    std::string Text() const { return "line " + std::to_string(line) + ", column " + std::to_string(column); }
};

enum class TokenKind {
    End,
    Identifier,
    Bracketed,
    Number,
    String,
    Symbol
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // identifier as written, bracketed name unescaped, string unquoted, symbol
    double number = 0;
    SourcePos pos;

    bool IsSymbol(char c) const { return kind == TokenKind::Symbol && text.size() == 1 && text[0] == c; }
    bool IsKeyword(const char* word) const;  // identifier, any case
    // How an error message shows it: 'ON', '[Customer]', the end of the statement.
    std::string Describe() const;
};

// Throws EOlapError ("Syntax error at line L, column C: ...") on a character
// that starts no token or an unterminated name or string. A line ends at
// CR, LF or CR LF.
std::vector<Token> Tokenize(const std::string& text);

[[noreturn]] void ThrowSyntaxError(const SourcePos& pos, const std::string& what);

}  // namespace cb::olap::mdx
