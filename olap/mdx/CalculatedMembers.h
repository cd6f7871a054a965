#pragma once
// Calculated measures: their expressions compiled against the cube and
// evaluated per cell from the stored measures' values.
#include "olap/engine/OlapError.h"
#include "olap/mdx/Binder.h"

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace cb::olap::mdx {

// An error in the expression of one calculated member, which Member names.
class ECalculatedMemberError : public EOlapError {
public:
    ECalculatedMemberError(MemberId member, const std::string& message) : EOlapError(message), FMember(member) {}
    MemberId Member() const { return FMember; }

private:
    MemberId FMember;
};

class CalculatedMembers {
public:
    explicit CalculatedMembers(const Binder& binder) : FBinder(binder) {}

    // Compiles the calculated measure (and those it uses) on first use.
    // Throws ECalculatedMemberError for a bad expression, a cycle, or members
    // that use one another too deeply or too often (see the limits below),
    // naming the member whose expression it is in.
    void Prepare(MemberId measure) { Prepare(measure, 0); }
    // The stored measures the calculated measure needs, directly or not.
    std::vector<int> StoredMeasuresOf(MemberId measure) const;
    // stored(i) gives the value of stored measure i for the cell; NaN is
    // empty. Any empty operand, division by zero or overflow gives NaN.
    template <class F>
    double Evaluate(MemberId measure, const F& stored) const {
        return Eval(*FCompiled.at(Index(measure)).root, stored);
    }

private:
    struct Op {
        enum class Kind {
            Number,
            Stored,
            Calculated,
            Add,
            Subtract,
            Multiply,
            Divide,
            Negate
        } kind = Kind::Number;
        double number = 0;
        MemberId measure = 0;
        std::unique_ptr<Op> a, b;
        int height = 1;   // levels of Eval from here, through other members
        size_t size = 1;  // Eval steps from here, through other members
    };
    // Members used within members expand when evaluated, so the depth and the
    // number of steps per cell are bounded across them.
    static constexpr int kMaxHeight = 512;
    static constexpr size_t kMaxSize = 100'000;
    struct Compiled {
        enum class State {
            None,
            Compiling,
            Done
        } state = State::None;
        std::unique_ptr<Op> root;
        std::vector<int> stored;
    };

    size_t Index(MemberId measure) const { return measure - FBinder.Cube().measures.size(); }
    void Prepare(MemberId measure, int level);
    // level: how many Compile calls are active, across members.
    std::unique_ptr<Op> Compile(const Node& node, MemberId owner, std::vector<int>& stored, int level);

    template <class F>
    double Eval(const Op& op, const F& stored) const {
        switch (op.kind) {
        case Op::Kind::Number:
            return op.number;
        case Op::Kind::Stored:
            return stored(static_cast<int>(op.measure));
        case Op::Kind::Calculated:
            return Eval(*FCompiled[Index(op.measure)].root, stored);
        case Op::Kind::Negate:
            return -Eval(*op.a, stored);
        default:
            break;
        }
        double x = Eval(*op.a, stored);
        double y = Eval(*op.b, stored);
        double r;
        switch (op.kind) {
        case Op::Kind::Add:
            r = x + y;
            break;
        case Op::Kind::Subtract:
            r = x - y;
            break;
        case Op::Kind::Multiply:
            r = x * y;
            break;
        default:
            r = y == 0 ? std::numeric_limits<double>::quiet_NaN() : x / y;
            break;
        }
        return std::isfinite(r) ? r : std::numeric_limits<double>::quiet_NaN();
    }

    const Binder& FBinder;
    std::vector<Compiled> FCompiled = std::vector<Compiled>(FBinder.Cube().calculatedMembers.size());
};

}  // namespace cb::olap::mdx
