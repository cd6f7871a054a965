#include "olap/xmla/ServerMdx.h"

#include "olap/engine/OlapError.h"
#include "platform/rtl/Strings.h"

#include <charconv>

namespace cb::olap::xmla {

namespace {

int Precedence(const mdx::Node& node) {
    if (node.kind != mdx::NodeKind::Binary) return 3;
    return node.text == "+" || node.text == "-" ? 1 : 2;
}

std::string Number(double v) {
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, ptr) : "0";
}

std::string StringLiteral(const std::string& text) {
    std::string s = "'";
    for (char c : text) {
        if (c == '\'') s += '\'';
        s += c;
    }
    return s + "'";
}

std::string List(const std::vector<mdx::NodePtr>& args, const NameMap& names) {
    std::string s;
    for (size_t i = 0; i < args.size(); ++i) s += (i ? ", " : "") + WriteExpression(*args[i], names);
    return s;
}

bool IsEmptySet(const mdx::Node& node) {
    return node.kind == mdx::NodeKind::Braces && node.args.empty();
}

}  // namespace

std::string WriteExpression(const mdx::Node& node, const NameMap& names) {
    switch (node.kind) {
    case mdx::NodeKind::Name:
        return names.ToServer(mdx::NameText(node.parts));
    case mdx::NodeKind::Number:
        return Number(node.number);
    case mdx::NodeKind::String:
        return StringLiteral(node.text);
    case mdx::NodeKind::Braces:
        return "{" + List(node.args, names) + "}";
    case mdx::NodeKind::Call:
        return node.text + "(" + List(node.args, names) + ")";
    case mdx::NodeKind::Method: {
        const std::string target = WriteExpression(*node.target, names);
        // x.Members(n): the set of the n-th member.
        if (cb::rtl::SameText(node.text, "members") && node.hasParens && node.args.size() == 1)
            return "{" + target + ".Members.Item(" + WriteExpression(*node.args[0], names) + ")}";
        std::string s = target + "." + node.text;
        if (node.hasParens) s += "(" + List(node.args, names) + ")";
        return s;
    }
    case mdx::NodeKind::Binary: {
        const int p = Precedence(node);
        std::string left = WriteExpression(*node.args[0], names);
        std::string right = WriteExpression(*node.args[1], names);
        if (Precedence(*node.args[0]) < p) left = "(" + left + ")";
        // a - (b - c), a / (b * c): the right side keeps its own grouping.
        if (Precedence(*node.args[1]) < p ||
            (Precedence(*node.args[1]) == p && node.args[1]->kind == mdx::NodeKind::Binary))
            right = "(" + right + ")";
        return left + " " + node.text + " " + right;
    }
    case mdx::NodeKind::Negate: {
        std::string operand = WriteExpression(*node.target, names);
        return node.target->kind == mdx::NodeKind::Binary ? "-(" + operand + ")" : "-" + operand;
    }
    }
    throw EOlapError("Internal error: an expression of an unknown kind");
}

ServerSelect TranslateSelect(const mdx::SelectStatement& statement, const NameMap& names) {
    ServerSelect out;
    const mdx::Node* sets[2] = {nullptr, nullptr};
    for (const mdx::AxisClause& clause : statement.axes) {
        if (out.present[clause.axis])
            throw EOlapError(std::string("The ") + (clause.axis == 0 ? "COLUMNS" : "ROWS") +
                             " axis is given twice, at " + clause.pos.Text());
        out.present[clause.axis] = true;
        out.empty[clause.axis] = IsEmptySet(*clause.set);
        sets[clause.axis] = clause.set.get();
    }
    if (!out.present[0]) throw EOlapError("The query has no COLUMNS axis");
    // The server's columns carry our first axis that is not empty, its rows
    // our rows when both are asked for.
    std::vector<int> asked;
    for (int a = 0; a < 2; ++a)
        if (out.present[a] && !out.empty[a]) asked.push_back(a);
    if (asked.empty()) return out;
    std::string text = "SELECT ";
    for (size_t i = 0; i < asked.size(); ++i) {
        out.serverAxis[asked[i]] = static_cast<int>(i);
        text += (i ? ", " : "") + WriteExpression(*sets[asked[i]], names) + (i == 0 ? " ON COLUMNS" : " ON ROWS");
    }
    out.text = text + " FROM " + mdx::NameText(statement.cube);
    return out;
}

}  // namespace cb::olap::xmla
