#include "olap/mdx/Parser.h"

#include <algorithm>

namespace cb::olap::mdx {

std::string NameText(const std::vector<NamePart>& parts) {
    std::string s;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) s += '.';
        if (parts[i].bracketed) {
            s += '[';
            for (char c : parts[i].text) s += c == ']' ? std::string("]]") : std::string(1, c);
            s += ']';
        } else {
            s += parts[i].text;
        }
    }
    return s;
}

std::string Node::NameText() const {
    return mdx::NameText(parts);
}

namespace {

// Words that end an expression; they cannot stand as bare names.
const char* const kReserved[] = {"SELECT", "ON",      "FROM",    "WHERE",     "COLUMNS", "ROWS", "CREATE", "GLOBAL",
                                 "CUBE",   "STORAGE", "MEASURE", "DIMENSION", "WITH",    "AS",   "NON",    "AXIS"};

bool IsReserved(const Token& t) {
    for (const char* w : kReserved) {
        if (t.IsKeyword(w)) return true;
    }
    return false;
}

class Parser {
public:
    explicit Parser(const std::string& text) : FTokens(Tokenize(text)) {}

    mdx::Statement ParseStatement() {
        if (Peek().IsKeyword("SELECT")) return Select();
        if (Peek().IsKeyword("CREATE")) return Create();
        Fail("SELECT or CREATE GLOBAL CUBE");
    }

    NodePtr ExpressionOnly() {
        NodePtr e = Expression();
        if (Peek().kind != TokenKind::End) Fail("an operator or the end of the expression");
        return e;
    }

private:
    const Token& Peek(size_t ahead = 0) const {
        size_t k = std::min(FPos + ahead, FTokens.size() - 1);
        return FTokens[k];
    }
    const Token& Next() { return FTokens[FPos < FTokens.size() - 1 ? FPos++ : FPos]; }

    [[noreturn]] void Fail(const std::string& expected) const {
        ThrowSyntaxError(Peek().pos, "expected " + expected + " but found " + Peek().Describe());
    }

    void ExpectSymbol(char c, const std::string& expected) {
        if (!Peek().IsSymbol(c)) Fail(expected);
        Next();
    }

    void ExpectKeyword(const char* word) {
        if (!Peek().IsKeyword(word)) Fail(word);
        Next();
    }

    SelectStatement Select() {
        SelectStatement s;
        Next();  // SELECT
        while (true) {
            AxisClause a;
            a.set = Expression();
            ExpectKeyword("ON");
            const Token& axis = Peek();
            a.pos = axis.pos;
            if (axis.IsKeyword("COLUMNS"))
                a.axis = 0;
            else if (axis.IsKeyword("ROWS"))
                a.axis = 1;
            else if (axis.kind == TokenKind::Number && (axis.text == "0" || axis.text == "1"))
                a.axis = axis.text == "0" ? 0 : 1;
            else
                Fail("COLUMNS, ROWS, 0 or 1");
            Next();
            s.axes.push_back(std::move(a));
            if (!Peek().IsSymbol(',')) break;
            Next();
        }
        ExpectKeyword("FROM");
        s.cubePos = Peek().pos;
        s.cube = NameParts("a cube name");
        if (Peek().IsSymbol(';')) Next();
        if (Peek().kind != TokenKind::End) Fail("the end of the statement");
        return s;
    }

    // [A].[B] or bare words joined by dots.
    std::vector<NamePart> NameParts(const std::string& what) {
        std::vector<NamePart> parts;
        while (true) {
            const Token& t = Peek();
            if (t.kind == TokenKind::Bracketed)
                parts.push_back({t.text, true});
            else if (t.kind == TokenKind::Identifier && !IsReserved(t))
                parts.push_back({t.text, false});
            else
                Fail(what);
            Next();
            if (!Peek().IsSymbol('.')) return parts;
            Next();
        }
    }

    CreateCubeStatement Create() {
        CreateCubeStatement c;
        Next();  // CREATE
        ExpectKeyword("GLOBAL");
        ExpectKeyword("CUBE");
        c.cubeNamePos = Peek().pos;
        auto name = NameParts("the new cube's name");
        if (name.size() != 1)
            ThrowSyntaxError(c.cubeNamePos, "the new cube's name must be a single name, not " + NameText(name));
        c.cubeName = name[0].text;
        ExpectKeyword("STORAGE");
        if (Peek().kind != TokenKind::String) Fail("the storage file name in quotes");
        c.storagePos = Peek().pos;
        c.storage = Next().text;
        ExpectKeyword("FROM");
        c.sourcePos = Peek().pos;
        c.source = NameParts("the source cube's name");
        ExpectSymbol('(', "'('");
        while (!Peek().IsSymbol(')')) {
            CreateCubeItem item;
            item.pos = Peek().pos;
            if (Peek().IsKeyword("MEASURE"))
                item.isMeasure = true;
            else if (!Peek().IsKeyword("DIMENSION"))
                Fail("MEASURE, DIMENSION or ')'");
            Next();
            item.name = NameParts(item.isMeasure ? "a measure name" : "a dimension name");
            c.items.push_back(std::move(item));
            if (Peek().IsSymbol(','))
                Next();
            else if (!Peek().IsSymbol(')'))
                Fail("',' or ')'");
        }
        Next();  // )
        if (Peek().IsSymbol(';')) Next();
        if (Peek().kind != TokenKind::End) Fail("the end of the statement");
        return c;
    }

    // Counts the parser's own recursion (brackets, arguments, signs).
    class Nesting {
    public:
        explicit Nesting(Parser& p) : FP(p) {
            if (++FP.FDepth > kMaxNestingDepth) FP.TooDeep(FP.Peek().pos);
        }
        ~Nesting() { --FP.FDepth; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        Parser& FP;
    };

    [[noreturn]] void TooDeep(const SourcePos& pos) const {
        ThrowSyntaxError(pos, "the expression is nested too deeply (more than " + std::to_string(kMaxNestingDepth) +
                                  " levels)");
    }

    // Sets the node's height from its children: chains such as a + b + c
    // grow the tree without recursion in the parser, so both are bounded.
    NodePtr Finish(NodePtr node) const {
        int below = node->target ? node->target->height : 0;
        for (const NodePtr& a : node->args) below = std::max(below, a->height);
        node->height = below + 1;
        if (node->height > kMaxNestingDepth) TooDeep(node->pos);
        return node;
    }

    NodePtr Expression() {
        Nesting nesting(*this);
        NodePtr left = Term();
        while (Peek().IsSymbol('+') || Peek().IsSymbol('-')) {
            left = Binary(std::move(left), [this] { return Term(); });
        }
        return left;
    }

    NodePtr Term() {
        NodePtr left = Unary();
        while (Peek().IsSymbol('*') || Peek().IsSymbol('/')) {
            left = Binary(std::move(left), [this] { return Unary(); });
        }
        return left;
    }

    template <class F>
    NodePtr Binary(NodePtr left, F operand) {
        auto node = std::make_unique<Node>();
        node->kind = NodeKind::Binary;
        node->pos = Peek().pos;
        node->text = Next().text;
        node->args.push_back(std::move(left));
        node->args.push_back(operand());
        return Finish(std::move(node));
    }

    NodePtr Unary() {
        if (Peek().IsSymbol('-') || Peek().IsSymbol('+')) {
            auto node = std::make_unique<Node>();
            node->pos = Peek().pos;
            bool negate = Next().text == "-";
            Nesting nesting(*this);
            NodePtr operand = Unary();
            if (!negate) return operand;
            node->kind = NodeKind::Negate;
            node->target = std::move(operand);
            return Finish(std::move(node));
        }
        return Postfix();
    }

    static bool IsMethodName(const Token& t) {
        static const char* const methods[] = {"members", "children", "levels", "item", "allmembers"};
        for (const char* m : methods) {
            if (t.IsKeyword(m)) return true;
        }
        return false;
    }

    NodePtr Postfix() {
        NodePtr node = Primary();
        while (Peek().IsSymbol('.')) {
            Next();
            const Token& t = Peek();
            if (t.kind == TokenKind::Bracketed ||
                (t.kind == TokenKind::Identifier && !IsMethodName(t) && !IsReserved(t))) {
                if (node->kind != NodeKind::Name)
                    ThrowSyntaxError(t.pos,
                                     "a name cannot follow " + std::string("a function's result: ") + t.Describe());
                node->parts.push_back({t.text, t.kind == TokenKind::Bracketed});
                Next();
                continue;
            }
            if (t.kind != TokenKind::Identifier || IsReserved(t))
                Fail("a name or a function such as Members or Children after '.'");
            auto method = std::make_unique<Node>();
            method->kind = NodeKind::Method;
            method->pos = t.pos;
            method->text = t.text;
            method->target = std::move(node);
            Next();
            if (Peek().IsSymbol('(')) {
                method->hasParens = true;
                method->args = Arguments();
            }
            node = Finish(std::move(method));
        }
        return node;
    }

    // '(' [expr {',' expr}] ')'
    std::vector<NodePtr> Arguments() {
        std::vector<NodePtr> args;
        Next();  // (
        if (Peek().IsSymbol(')')) {
            Next();
            return args;
        }
        while (true) {
            args.push_back(Expression());
            if (Peek().IsSymbol(')')) {
                Next();
                return args;
            }
            if (!Peek().IsSymbol(',')) Fail("',' or ')'");
            Next();
        }
    }

    NodePtr Primary() {
        const Token& t = Peek();
        auto node = std::make_unique<Node>();
        node->pos = t.pos;
        if (t.kind == TokenKind::Bracketed) {
            node->kind = NodeKind::Name;
            node->parts.push_back({t.text, true});
            Next();
            return node;
        }
        if (t.kind == TokenKind::Number) {
            node->kind = NodeKind::Number;
            node->number = t.number;
            Next();
            return node;
        }
        if (t.kind == TokenKind::String) {
            node->kind = NodeKind::String;
            node->text = t.text;
            Next();
            return node;
        }
        if (t.kind == TokenKind::Identifier && !IsReserved(t)) {
            node->text = t.text;
            Next();
            if (Peek().IsSymbol('(')) {
                node->kind = NodeKind::Call;
                node->args = Arguments();
                return Finish(std::move(node));
            } else {
                node->kind = NodeKind::Name;
                node->parts.push_back({node->text, false});
                node->text.clear();
            }
            return node;
        }
        if (t.IsSymbol('{')) {
            node->kind = NodeKind::Braces;
            Next();
            if (Peek().IsSymbol('}')) {
                Next();
                return node;
            }
            while (true) {
                node->args.push_back(Expression());
                if (Peek().IsSymbol('}')) {
                    Next();
                    return Finish(std::move(node));
                }
                if (!Peek().IsSymbol(',')) Fail("',' or '}'");
                Next();
            }
        }
        if (t.IsSymbol('(')) {
            Next();
            NodePtr inner = Expression();
            if (Peek().IsSymbol(','))
                ThrowSyntaxError(Peek().pos, "tuples in parentheses are not supported; cross sets with '*' instead");
            ExpectSymbol(')', "')'");
            return inner;
        }
        Fail("a member, set or value");
    }

    std::vector<Token> FTokens;
    size_t FPos = 0;
    int FDepth = 0;
};

}  // namespace

Statement ParseStatement(const std::string& text) {
    return Parser(text).ParseStatement();
}

NodePtr ParseExpression(const std::string& text) {
    return Parser(text).ExpressionOnly();
}

}  // namespace cb::olap::mdx
