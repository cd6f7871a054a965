#include "olap/mdx/SetEvaluator.h"

#include "olap/engine/OlapError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace cb::olap::mdx {

void TupleSet::RemoveLast() {
    members.resize(members.size() - dims.size());
    --count;
}

size_t TupleIndex::Hash::operator()(size_t t) const {
    uint64_t h = 0x9E3779B97F4A7C15ull;
    for (size_t j = 0; j < k; ++j) h = (h ^ (*members)[t * k + j]) * 0xFF51AFD7ED558CCDull;
    return size_t(h ^ (h >> 32));
}

bool TupleIndex::Same::operator()(size_t x, size_t y) const {
    return std::equal(members->begin() + long(x * k), members->begin() + long((x + 1) * k),
                      members->begin() + long(y * k));
}

void TupleSet::Append(const TupleSet& other, size_t tuple) {
    size_t k = other.dims.size();
    members.insert(members.end(), other.members.begin() + static_cast<long>(tuple * k),
                   other.members.begin() + static_cast<long>((tuple + 1) * k));
    ++count;
}

struct SetEvaluator::Value {
    enum class Kind {
        Dimension,
        Level,
        Member,
        Set,
        Number,
        Text
    } kind = Kind::Set;
    int dim = 0;
    int depth = 0;
    MemberId id = 0;
    TupleSet set;
    double number = 0;
    std::string text;
};

namespace {

[[noreturn]] void Fail(const SourcePos& pos, const std::string& what) {
    throw EOlapError(what + " at " + pos.Text());
}

// Throws when a set of count tuples of width dimensions would be too large.
void CheckSetSize(size_t count, size_t width, const SourcePos& pos) {
    if (width != 0 && count > kMaxSetElements / width)
        Fail(pos, "The set would hold " + std::to_string(count) + " tuples, more than the engine allows (" +
                      std::to_string(kMaxSetElements / width) + ")");
}

// A number as written in a message: whole numbers without a fraction.
std::string NumberText(double x) {
    if (x == std::floor(x) && std::fabs(x) < 1e15) return std::to_string(static_cast<long long>(x));
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x);
    return ec == std::errc() ? std::string(buf, end) : std::string("?");
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

TupleSet SetEvaluator::EvaluateSet(const Node& node) const {
    return ToSet(Evaluate(node), node);
}

TupleSet SetEvaluator::ToSet(const Value& v, const Node& node) const {
    TupleSet s;
    switch (v.kind) {
    case Value::Kind::Set:
        return v.set;
    case Value::Kind::Member:
        s.dims = {v.dim};
        s.members = {v.id};
        s.count = 1;
        return s;
    case Value::Kind::Dimension:
        // A dimension alone stands for its default member: (All), or the
        // first measure.
        s.dims = {v.dim};
        if (v.dim != kMeasuresDim || !FBinder.Cube().measures.empty()) {
            s.members = {0};
            s.count = 1;
        }
        return s;
    case Value::Kind::Level:
        Fail(node.pos, FBinder.LevelName(v.dim, v.depth) + " is a level, not a set; write " +
                           FBinder.LevelName(v.dim, v.depth) + ".Members");
    default:
        Fail(node.pos, "Expected a set or a member, found a number or text");
    }
}

SetEvaluator::Value SetEvaluator::Evaluate(const Node& node) const {
    Value v;
    switch (node.kind) {
    case NodeKind::Name: {
        BoundName b = FBinder.Resolve(node.parts, node.pos);
        v.dim = b.dim;
        v.depth = b.depth;
        v.id = b.id;
        v.kind = b.kind == BoundName::Kind::Dimension ? Value::Kind::Dimension
                 : b.kind == BoundName::Kind::Level   ? Value::Kind::Level
                                                      : Value::Kind::Member;
        return v;
    }
    case NodeKind::Number:
        v.kind = Value::Kind::Number;
        v.number = node.number;
        return v;
    case NodeKind::String:
        v.kind = Value::Kind::Text;
        v.text = node.text;
        return v;
    case NodeKind::Braces: {
        v.kind = Value::Kind::Set;
        for (const NodePtr& element : node.args) {
            TupleSet s = EvaluateSet(*element);
            if (s.dims.empty()) continue;
            if (v.set.dims.empty() && v.set.count == 0)
                v.set.dims = s.dims;
            else
                CheckSameDims(v.set, s, element->pos);
            CheckSetSize(v.set.count + s.count, v.set.dims.size(), element->pos);
            v.set.members.insert(v.set.members.end(), s.members.begin(), s.members.end());
            v.set.count += s.count;
        }
        return v;
    }
    case NodeKind::Binary: {
        if (node.text != "*") Fail(node.pos, "The operator '" + node.text + "' cannot be applied to sets");
        v.kind = Value::Kind::Set;
        v.set = CrossJoin(EvaluateSet(*node.args[0]), EvaluateSet(*node.args[1]), node.pos);
        return v;
    }
    case NodeKind::Negate:
        Fail(node.pos, "The operator '-' cannot be applied to a set");
    case NodeKind::Method:
        return Method(node);
    case NodeKind::Call:
        return Call(node);
    }
    Fail(node.pos, "Unexpected expression");
}

SetEvaluator::Value SetEvaluator::Method(const Node& node) const {
    std::string name = Lower(node.text);
    Value target = Evaluate(*node.target);
    Value v;
    auto indexArg = [&](const Value& set) {
        // set(n) / set.Item(n): the n-th tuple, or an empty set past the end.
        if (node.args.size() != 1) Fail(node.pos, node.text + " takes one index");
        Value index = Evaluate(*node.args[0]);
        if (index.kind != Value::Kind::Number || index.number < 0 || index.number != std::floor(index.number))
            Fail(node.args[0]->pos, node.text + " needs a whole number of 0 or more as its index");
        Value r;
        r.kind = Value::Kind::Set;
        r.set.dims = set.set.dims;
        if (index.number < static_cast<double>(set.set.count)) r.set.Append(set.set, static_cast<size_t>(index.number));
        return r;
    };
    if (name == "members" || name == "allmembers") {
        v.kind = Value::Kind::Set;
        if (target.kind == Value::Kind::Level) {
            v.set.dims = {target.dim};
            v.set.members = FBinder.LevelMembers(target.dim, target.depth);
        } else if (target.kind == Value::Kind::Dimension) {
            v.set.dims = {target.dim};
            v.set.members = FBinder.DimensionMembers(target.dim, name == "allmembers");
        } else {
            Fail(node.pos, node.text + " needs a dimension or a level before it");
        }
        v.set.count = v.set.members.size();
        if (node.hasParens) return indexArg(v);
        return v;
    }
    if (name == "item") {
        Value s;
        s.kind = Value::Kind::Set;
        s.set = ToSet(target, *node.target);
        return indexArg(s);
    }
    if (name == "children") {
        if (node.hasParens) Fail(node.pos, "Children takes no arguments");
        if (target.kind != Value::Kind::Member) Fail(node.pos, "Children needs a member before it");
        v.kind = Value::Kind::Set;
        v.set.dims = {target.dim};
        if (target.dim != kMeasuresDim)
            v.set.members = FBinder.Cube().dimensions[static_cast<size_t>(target.dim)].members[target.id].children;
        v.set.count = v.set.members.size();
        return v;
    }
    if (name == "levels") {
        if (target.kind != Value::Kind::Dimension) Fail(node.pos, "Levels needs a dimension before it");
        if (node.args.size() != 1) Fail(node.pos, "Levels takes one argument: a level number or name");
        Value arg = Evaluate(*node.args[0]);
        v.kind = Value::Kind::Level;
        v.dim = target.dim;
        int count = FBinder.LevelCount(target.dim);
        if (arg.kind == Value::Kind::Number) {
            if (arg.number < 0 || arg.number >= count || arg.number != std::floor(arg.number))
                Fail(node.args[0]->pos, "Level number " + NumberText(arg.number) + " is out of range for " +
                                            FBinder.DimensionName(target.dim) + " (0 to " + std::to_string(count - 1) +
                                            ")");
            v.depth = static_cast<int>(arg.number);
            return v;
        }
        if (arg.kind == Value::Kind::Text) {
            for (int l = 0; l < count; ++l) {
                std::string levelName = target.dim == kMeasuresDim ? "MeasuresLevel"
                                                                   : FBinder.Cube()
                                                                         .dimensions[static_cast<size_t>(target.dim)]
                                                                         .levels[static_cast<size_t>(l)]
                                                                         .name;
                if (EqualNoCase(levelName, arg.text)) {
                    v.depth = l;
                    return v;
                }
            }
            Fail(node.args[0]->pos, "Unknown level '" + arg.text + "' of " + FBinder.DimensionName(target.dim));
        }
        Fail(node.args[0]->pos, "Levels needs a level number or name");
    }
    Fail(node.pos, "Unknown function " + node.text);
}

SetEvaluator::Value SetEvaluator::Call(const Node& node) const {
    std::string name = Lower(node.text);
    auto argCount = [&](size_t min, size_t max) {
        if (node.args.size() < min || node.args.size() > max)
            Fail(node.pos, node.text + " takes " +
                               (min == max ? std::to_string(min) : std::to_string(min) + " to " + std::to_string(max)) +
                               (max == 1 ? " set" : " sets"));
    };
    Value v;
    v.kind = Value::Kind::Set;
    if (name == "addcalculatedmembers") {
        argCount(1, 1);
        v.set = AddCalculatedMembers(EvaluateSet(*node.args[0]));
    } else if (name == "hierarchize") {
        argCount(1, 1);
        v.set = Hierarchize(EvaluateSet(*node.args[0]));
    } else if (name == "union") {
        argCount(2, 2);
        v.set = Union(EvaluateSet(*node.args[0]), EvaluateSet(*node.args[1]), node.args[1]->pos);
    } else if (name == "crossjoin") {
        argCount(2, 2);
        v.set = CrossJoin(EvaluateSet(*node.args[0]), EvaluateSet(*node.args[1]), node.pos);
    } else {
        Fail(node.pos, "Unknown function " + node.text);
    }
    return v;
}

void SetEvaluator::CheckSameDims(const TupleSet& a, const TupleSet& b, const SourcePos& pos) const {
    if (a.dims == b.dims || b.dims.empty() || a.dims.empty()) return;
    auto describe = [&](const TupleSet& s) {
        std::string t;
        for (size_t k = 0; k < s.dims.size(); ++k) t += (k ? " * " : "") + FBinder.DimensionName(s.dims[k]);
        return t;
    };
    Fail(pos, "Members of " + describe(b) + " cannot be mixed with members of " + describe(a) + " in one set");
}

TupleSet SetEvaluator::CrossJoin(const TupleSet& a, const TupleSet& b, const SourcePos& pos) const {
    for (int d : a.dims) {
        if (std::find(b.dims.begin(), b.dims.end(), d) != b.dims.end())
            Fail(pos, "The dimension " + FBinder.DimensionName(d) + " is used more than once on one axis");
    }
    TupleSet r;
    r.dims = a.dims;
    r.dims.insert(r.dims.end(), b.dims.begin(), b.dims.end());
    if (b.count != 0 && a.count > std::numeric_limits<size_t>::max() / b.count)
        CheckSetSize(std::numeric_limits<size_t>::max(), 1, pos);
    CheckSetSize(a.count * b.count, r.dims.size(), pos);
    r.members.reserve(a.count * b.count * r.dims.size());
    for (size_t i = 0; i < a.count; ++i) {
        for (size_t j = 0; j < b.count; ++j) {
            r.members.insert(r.members.end(), a.members.begin() + static_cast<long>(i * a.dims.size()),
                             a.members.begin() + static_cast<long>((i + 1) * a.dims.size()));
            r.members.insert(r.members.end(), b.members.begin() + static_cast<long>(j * b.dims.size()),
                             b.members.begin() + static_cast<long>((j + 1) * b.dims.size()));
            ++r.count;
        }
    }
    return r;
}

TupleSet SetEvaluator::Union(const TupleSet& a, const TupleSet& b, const SourcePos& pos) const {
    CheckSameDims(a, b, pos);
    TupleSet r;
    r.dims = a.dims.empty() ? b.dims : a.dims;
    r.members.reserve(a.members.size() + b.members.size());
    // Tuples of r by their members: each appended tuple is kept only if new.
    TupleIndex seen(r.members, r.dims.size(), a.count + b.count);
    for (const TupleSet* s : {&a, &b})
        for (size_t t = 0; t < s->count; ++t) {
            r.Append(*s, t);
            if (!seen.Add(r.count - 1)) r.RemoveLast();
        }
    return r;
}

TupleSet SetEvaluator::Hierarchize(TupleSet s) const {
    // Members are stored in hierarchy pre-order (measures in cube order), so
    // ordering tuples by their member ids, outermost first, is hierarchy order.
    size_t k = s.dims.size();
    std::vector<size_t> order(s.count);
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    if (k == 0) return s;
    if (k <= 2) {
        // Tuples of one or two members sort by one 64-bit key, ties by position.
        std::vector<std::pair<uint64_t, size_t>> keys(s.count);
        for (size_t i = 0; i < s.count; ++i) {
            uint64_t key = 0;
            for (size_t j = 0; j < k; ++j) key = (key << 32) | s.members[i * k + j];
            keys[i] = {key << (32 * (2 - k)), i};
        }
        std::sort(keys.begin(), keys.end());
        TupleSet r;
        r.dims = s.dims;
        r.members.reserve(s.members.size());
        for (const auto& [key, i] : keys) r.Append(s, i);
        return r;
    }
    std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
        return std::lexicographical_compare(
            s.members.begin() + static_cast<long>(x * k), s.members.begin() + static_cast<long>((x + 1) * k),
            s.members.begin() + static_cast<long>(y * k), s.members.begin() + static_cast<long>((y + 1) * k));
    });
    TupleSet r;
    r.dims = s.dims;
    for (size_t i : order) r.Append(s, i);
    return r;
}

TupleSet SetEvaluator::AddCalculatedMembers(TupleSet s) const {
    if (s.dims.size() != 1 || s.dims[0] != kMeasuresDim) return s;
    for (size_t i = FBinder.Cube().measures.size(); i < FBinder.MeasureCount(); ++i) {
        MemberId id = static_cast<MemberId>(i);
        if (std::find(s.members.begin(), s.members.end(), id) == s.members.end()) {
            s.members.push_back(id);
            ++s.count;
        }
    }
    return s;
}

}  // namespace cb::olap::mdx
