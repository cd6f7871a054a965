#pragma once
// Evaluates set expressions of a query to lists of tuples.
#include "olap/mdx/Ast.h"
#include "olap/mdx/Binder.h"

#include <unordered_set>
#include <vector>

namespace cb::olap::mdx {

struct TupleSet {
    std::vector<int> dims;          // dimension per tuple element; empty while unknown ({})
    std::vector<MemberId> members;  // tuple t element k at [t * dims.size() + k]
    size_t count = 0;

    void Append(const TupleSet& other, size_t tuple);
    void RemoveLast();
};

// Tuples of width k stored one after another in members, found by their
// members: Add(t) adds tuple t unless an equal tuple is in the index.
class TupleIndex {
public:
    TupleIndex(const std::vector<MemberId>& members, size_t k, size_t expected = 16)
        : FSet(expected, Hash{&members, k}, Same{&members, k}) {}
    bool Add(size_t t) { return FSet.insert(t).second; }
    // The tuple equal to t that was added first (t itself when new).
    size_t Find(size_t t) { return *FSet.insert(t).first; }

private:
    struct Hash {
        const std::vector<MemberId>* members;
        size_t k;
        size_t operator()(size_t t) const;
    };
    struct Same {
        const std::vector<MemberId>* members;
        size_t k;
        bool operator()(size_t x, size_t y) const;
    };
    std::unordered_set<size_t, Hash, Same> FSet;
};

// Most member references one set may hold (tuples times their dimensions):
// keeps cross joins and long lists of sets from exhausting memory.
constexpr size_t kMaxSetElements = 32'000'000;

class SetEvaluator {
public:
    explicit SetEvaluator(const Binder& binder) : FBinder(binder) {}

    // Throws EOlapError naming the construct and its position, also for a
    // set larger than kMaxSetElements.
    TupleSet EvaluateSet(const Node& node) const;

private:
    struct Value;
    Value Evaluate(const Node& node) const;
    TupleSet ToSet(const Value& v, const Node& node) const;
    Value Method(const Node& node) const;
    Value Call(const Node& node) const;
    TupleSet CrossJoin(const TupleSet& a, const TupleSet& b, const SourcePos& pos) const;
    TupleSet Union(const TupleSet& a, const TupleSet& b, const SourcePos& pos) const;
    TupleSet Hierarchize(TupleSet s) const;
    TupleSet AddCalculatedMembers(TupleSet s) const;
    void CheckSameDims(const TupleSet& a, const TupleSet& b, const SourcePos& pos) const;

    const Binder& FBinder;
};

}  // namespace cb::olap::mdx
