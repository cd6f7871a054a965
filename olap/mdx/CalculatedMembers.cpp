#include "olap/mdx/CalculatedMembers.h"

#include "olap/engine/OlapError.h"
#include "olap/mdx/Parser.h"

#include <algorithm>

namespace cb::olap::mdx {

void CalculatedMembers::Prepare(MemberId measure, int level) {
    Compiled& c = FCompiled.at(Index(measure));
    const CalculatedMemberData& data = FBinder.Cube().calculatedMembers[Index(measure)];
    if (c.state == Compiled::State::Done) return;
    if (c.state == Compiled::State::Compiling)
        throw ECalculatedMemberError(measure, "The calculated member " + data.uniqueName + " refers to itself");
    c.state = Compiled::State::Compiling;
    NodePtr tree;
    try {
        tree = ParseExpression(data.expression);
    } catch (const EOlapError& e) {
        throw ECalculatedMemberError(measure,
                                     "In the expression of the calculated member " + data.uniqueName + ": " + e.Message());
    }
    std::vector<int> stored;
    auto root = Compile(*tree, measure, stored, level);
    std::sort(stored.begin(), stored.end());
    stored.erase(std::unique(stored.begin(), stored.end()), stored.end());
    Compiled& done = FCompiled[Index(measure)];
    done.root = std::move(root);
    done.stored = std::move(stored);
    done.state = Compiled::State::Done;
}

std::vector<int> CalculatedMembers::StoredMeasuresOf(MemberId measure) const {
    return FCompiled.at(Index(measure)).stored;
}

std::unique_ptr<CalculatedMembers::Op> CalculatedMembers::Compile(const Node& node, MemberId owner,
                                                                  std::vector<int>& stored, int level) {
    const std::string& ownerName = FBinder.Cube().calculatedMembers[Index(owner)].uniqueName;
    auto fail = [&](const std::string& what) {
        throw ECalculatedMemberError(owner, "In the expression of the calculated member " + ownerName + ": " + what +
                                                " at " + node.pos.Text());
    };
    auto tooDeep = [&] {
        fail("the calculated members use one another too deeply (more than " + std::to_string(kMaxHeight) + " levels)");
    };
    auto tooOften = [&] {
        fail("the calculated members use one another too often (more than " + std::to_string(kMaxSize) +
             " steps per cell)");
    };
    if (level >= kMaxHeight) tooDeep();
    // Height and size from the operands, checked as the tree grows.
    auto grow = [&](std::unique_ptr<Op> op) {
        op->height = 1 + std::max(op->a ? op->a->height : 0, op->b ? op->b->height : 0);
        op->size = 1 + (op->a ? op->a->size : 0) + (op->b ? op->b->size : 0);
        if (op->height > kMaxHeight) tooDeep();
        if (op->size > kMaxSize) tooOften();
        return op;
    };
    auto op = std::make_unique<Op>();
    switch (node.kind) {
    case NodeKind::Number:
        op->number = node.number;
        return op;
    case NodeKind::Name: {
        BoundName b;
        try {
            b = FBinder.Resolve(node.parts, node.pos);
        } catch (const EOlapError& e) {
            throw ECalculatedMemberError(owner,
                                         "In the expression of the calculated member " + ownerName + ": " + e.Message());
        }
        if (b.kind != BoundName::Kind::Member || b.dim != kMeasuresDim) fail(node.NameText() + " is not a measure");
        op->measure = b.id;
        if (FBinder.IsCalculated(b.id)) {
            op->kind = Op::Kind::Calculated;
            if (b.id == owner) fail("the calculated member refers to itself");
            if (FCompiled[Index(b.id)].state == Compiled::State::Compiling)
                fail(FBinder.MemberName(kMeasuresDim, b.id) +
                     " depends on this member: the calculated members form a cycle");
            Prepare(b.id, level + 1);
            const Compiled& used = FCompiled[Index(b.id)];
            stored.insert(stored.end(), used.stored.begin(), used.stored.end());
            op->height = 1 + used.root->height;
            op->size = 1 + used.root->size;
            if (op->height > kMaxHeight) tooDeep();
            if (op->size > kMaxSize) tooOften();
            return op;
        } else {
            op->kind = Op::Kind::Stored;
            stored.push_back(static_cast<int>(b.id));
        }
        return op;
    }
    case NodeKind::Negate:
        op->kind = Op::Kind::Negate;
        op->a = Compile(*node.target, owner, stored, level + 1);
        return grow(std::move(op));
    case NodeKind::Binary:
        op->kind = node.text == "+"   ? Op::Kind::Add
                   : node.text == "-" ? Op::Kind::Subtract
                   : node.text == "*" ? Op::Kind::Multiply
                                      : Op::Kind::Divide;
        op->a = Compile(*node.args[0], owner, stored, level + 1);
        op->b = Compile(*node.args[1], owner, stored, level + 1);
        return grow(std::move(op));
    default:
        fail("only numbers, measures, + - * / and parentheses are allowed");
    }
    return op;
}

}  // namespace cb::olap::mdx
