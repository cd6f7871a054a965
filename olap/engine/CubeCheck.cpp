#include "olap/engine/CubeCheck.h"

#include "olap/engine/NameFold.h"
#include "olap/engine/OlapError.h"

#include <cmath>
#include <unordered_map>
#include <unordered_set>

namespace cb::olap {

namespace {

[[noreturn]] void Fail(const std::string& context, const std::string& what) {
    throw EOlapError(context.empty() ? what : context + ": " + what);
}

std::string Quote(const std::string& s) {
    return QuoteText(s);
}

void CheckText(const std::string& text, const std::string& what, const std::string& context) {
    if (text.size() > kMaxTextLength)
        Fail(context, what + " is longer than " + std::to_string(kMaxTextLength) + " characters");
}

void CheckFormat(const std::string& format, const std::string& what, const std::string& context) {
    if (format.size() > kMaxFormatLength)
        Fail(context, what + " is longer than " + std::to_string(kMaxFormatLength) + " characters");
}

void CheckDimension(const DimensionData& dim, size_t factCount, const FactKeyColumn* keys,
                    const std::string& context) {
    const std::string where = "dimension " + Quote(dim.name);
    if (dim.levels.empty()) Fail(context, where + " has no levels");
    if (dim.levels.size() > kMaxLevels)
        Fail(context, where + " has more than " + std::to_string(kMaxLevels) + " levels");
    if (dim.levels.size() < 2) Fail(context, where + " has no level below (All)");
    // Level names match without regard to case: folded name -> level.
    std::unordered_map<std::string, size_t> levelNames;
    for (size_t l = 0; l < dim.levels.size(); ++l) {
        const LevelData& lv = dim.levels[l];
        if (lv.depth != l)
            Fail(context, where + ": level " + std::to_string(l) + " has depth " + std::to_string(lv.depth));
        if (l == 0) {
            if (lv.name != "(All)")
                Fail(context, where + ": the level at depth 0 must be named \"(All)\", not " + Quote(lv.name));
        } else {
            CheckName(lv.name, "level", context + ": " + where);
            // "All" would name the (All) member in [Dim].[All].
            if (lv.name == "(All)" || SameName(lv.name, "All"))
                Fail(context, where + ": level name " + Quote(lv.name) + " is reserved");
        }
        auto [level, added] = levelNames.emplace(FoldName(lv.name), l);
        if (!added) Fail(context, where + ": " + SameNameText("level", dim.levels[level->second].name, lv.name));
        CheckText(lv.caption, where + ": caption of level " + Quote(lv.name), context);
    }

    const size_t n = dim.members.size();
    if (n == 0) Fail(context, where + " has no (All) member");
    if (n > kMaxMembers) Fail(context, where + " has more than " + std::to_string(kMaxMembers) + " members");
    const MemberData& all = dim.members[0];
    if (all.parent != kNoMember || all.depth != 0)
        Fail(context, where + ": member 0 is not the (All) member at depth 0");
    if (all.name != "All") Fail(context, where + ": the (All) member must be named \"All\", not " + Quote(all.name));

    const uint16_t leafDepth = static_cast<uint16_t>(dim.levels.size() - 1);
    // Pre-order: the parent of member i is i-1 or one of i-1's ancestors.
    std::vector<MemberId> stack{0};
    std::vector<uint8_t> hasChild(n, 0);
    // Sibling names must differ, also in more than letter case: key is
    // parent id + folded name.
    std::unordered_map<std::string, MemberId> siblingKeys;
    siblingKeys.reserve(n);
    for (size_t i = 1; i < n; ++i) {
        const MemberData& m = dim.members[i];
        const std::string mwhere = where + ", member " + std::to_string(i) + " " + Quote(m.name);
        if (m.parent == kNoMember || m.parent >= i) Fail(context, mwhere + " has an invalid parent");
        if (m.depth == 0 || m.depth > leafDepth)
            Fail(context, mwhere + " has an invalid level depth " + std::to_string(m.depth));
        if (m.depth != dim.members[m.parent].depth + 1) Fail(context, mwhere + " is not one level below its parent");
        while (!stack.empty() && stack.back() != m.parent) stack.pop_back();
        if (stack.empty()) Fail(context, mwhere + " is out of hierarchy order");
        stack.push_back(static_cast<MemberId>(i));
        hasChild[m.parent] = 1;
        CheckName(m.name, "member", context + ": " + where);
        CheckText(m.caption, mwhere + ": caption", context);
        std::string key = std::to_string(m.parent);
        key += '/';
        key += FoldName(m.name);
        auto [sibling, added] = siblingKeys.emplace(std::move(key), static_cast<MemberId>(i));
        if (!added) {
            const std::string& other = dim.members[sibling->second].name;
            Fail(context, mwhere + " has the same name as a sibling" +
                              (other == m.name ? std::string()
                                               : ", " + Quote(other) + " (names match without regard to letter case)"));
        }
    }
    for (size_t i = 0; i < n; ++i)
        if (!hasChild[i] && dim.members[i].depth != leafDepth && n > 1)
            Fail(context,
                 where + ": member " + Quote(dim.members[i].name) + " has no children but is not at the deepest level");

    if (keys) {
        if (keys->size() != factCount)
            Fail(context, where + ": the fact key column holds " + std::to_string(keys->size()) + " values for " +
                              std::to_string(factCount) + " facts");
        const MemberId* k = keys->data();
        for (size_t f = 0; f < factCount; ++f) {
            const MemberId id = k[f];
            if (id >= n || dim.members[id].depth != leafDepth)
                Fail(context, where + ": fact " + std::to_string(f) + " refers to member " + std::to_string(id) +
                                  ", which is not a leaf member");
        }
    }
}

}  // namespace

std::string QuoteText(const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out = "\"";
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7f) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

std::string SameNameText(const std::string& kind, const std::string& first, const std::string& second) {
    if (first == second) return kind + " " + Quote(second) + " appears twice";
    return kind + " " + Quote(second) + " has the same name as " + Quote(first) +
           " (names match without regard to letter case)";
}

void CheckName(const std::string& name, const std::string& kind, const std::string& context) {
    if (name.empty()) Fail(context, "a " + kind + " name is empty");
    if (name.size() > kMaxNameLength)
        Fail(context, kind + " name " + Quote(name.substr(0, 40) + "...") + " is longer than " +
                          std::to_string(kMaxNameLength) + " characters");
    for (unsigned char c : name) {
        if (c == '[' || c == ']' || c == '.')
            Fail(context, kind + " name " + Quote(name) + " must not contain \"[\", \"]\" or \".\"");
        if (c < 0x20 || c == 0x7f)
            Fail(context, kind + " name " + Quote(name) + " must not contain control characters");
    }
}

void CheckCube(const CubeData& cube, const std::string& context) {
    CheckName(cube.name, "cube", context);
    CheckText(cube.lastDataUpdate, "last data update", context);
    if (cube.dimensions.size() > kMaxDimensions)
        Fail(context, "more than " + std::to_string(kMaxDimensions) + " dimensions");
    if (cube.measures.empty()) Fail(context, "the cube has no measures");
    if (cube.measures.size() > kMaxMeasures) Fail(context, "more than " + std::to_string(kMaxMeasures) + " measures");
    if (cube.calculatedMembers.size() > kMaxCalculatedMembers)
        Fail(context, "more than " + std::to_string(kMaxCalculatedMembers) + " calculated members");
    if (cube.factCount > kMaxFacts) Fail(context, "more than " + std::to_string(kMaxFacts) + " facts");

    // Names match without regard to case: folded name -> name as written.
    std::unordered_map<std::string, std::string> names;
    for (const DimensionData& d : cube.dimensions) {
        CheckName(d.name, "dimension", context);
        if (SameName(d.name, "Measures")) Fail(context, "dimension name " + Quote(d.name) + " is reserved");
        auto [other, added] = names.emplace(FoldName(d.name), d.name);
        if (!added) Fail(context, SameNameText("dimension", other->second, d.name));
    }
    names.clear();
    for (const MeasureData& m : cube.measures) {
        CheckName(m.name, "measure", context);
        CheckFormat(m.formatString, "format string of measure " + Quote(m.name), context);
        if (m.aggregation > Aggregation::Max) Fail(context, "measure " + Quote(m.name) + " has an unknown aggregation");
        auto [other, added] = names.emplace(FoldName(m.name), m.name);
        if (!added) Fail(context, SameNameText("measure", other->second, m.name));
    }
    for (const CalculatedMemberData& c : cube.calculatedMembers) {
        CheckName(c.name, "calculated member", context);
        CheckText(c.expression, "expression of " + Quote(c.name), context);
        CheckFormat(c.formatString, "format string of " + Quote(c.name), context);
        if (c.expression.empty()) Fail(context, "calculated member " + Quote(c.name) + " has no expression");
        auto [other, added] = names.emplace(FoldName(c.name), c.name);
        if (!added) Fail(context, SameNameText("measure", other->second, c.name));
    }

    const bool factsPresent = !cube.factKeys.empty() || !cube.factValues.empty() || cube.factCount;
    if (factsPresent && cube.factKeys.size() != cube.dimensions.size())
        Fail(context, "there are " + std::to_string(cube.factKeys.size()) + " fact key columns for " +
                          std::to_string(cube.dimensions.size()) + " dimensions");
    if (factsPresent && cube.factValues.size() != cube.measures.size())
        Fail(context, "there are " + std::to_string(cube.factValues.size()) + " fact value columns for " +
                          std::to_string(cube.measures.size()) + " measures");
    for (size_t d = 0; d < cube.dimensions.size(); ++d)
        CheckDimension(cube.dimensions[d], cube.factCount, factsPresent ? &cube.factKeys[d] : nullptr, context);
    for (size_t m = 0; m < cube.factValues.size(); ++m) {
        const FactValueColumn& values = cube.factValues[m];
        if (values.size() != cube.factCount)
            Fail(context, "the value column of measure " + Quote(cube.measures[m].name) + " holds " +
                              std::to_string(values.size()) + " values for " + std::to_string(cube.factCount) +
                              " facts");
        for (size_t f = 0; f < values.size(); ++f)
            if (!IsValidFactValue(values[f]))
                Fail(context, "fact " + std::to_string(f) + " of measure " + Quote(cube.measures[m].name) +
                                  " is not a number of at most 1e15 in magnitude");
    }
}

bool IsValidFactValue(double value) {
    return std::isnan(value) || std::fabs(value) <= kMaxFactValue;
}

void FillDerived(CubeData& cube) {
    for (DimensionData& d : cube.dimensions) {
        d.uniqueName = "[" + d.name + "]";
        for (LevelData& lv : d.levels) {
            lv.uniqueName = d.uniqueName + ".[" + lv.name + "]";
            if (lv.caption.empty()) lv.caption = lv.name;
            lv.members.clear();
        }
        const size_t n = d.members.size();
        for (size_t i = 0; i < n; ++i) {
            MemberData& m = d.members[i];
            m.children.clear();
            if (m.caption.empty()) m.caption = m.name;
            if (i == 0)
                m.uniqueName = d.uniqueName + ".[All]";
            else {
                const MemberData& p = d.members[m.parent];
                m.uniqueName = p.uniqueName + ".[" + m.name + "]";
            }
            d.levels[m.depth].members.push_back(static_cast<MemberId>(i));
        }
        for (size_t i = 1; i < n; ++i) d.members[d.members[i].parent].children.push_back(static_cast<MemberId>(i));
        // Pre-order: the subtree of i ends where the next member at depth <= i's depth starts.
        std::vector<MemberId> stack;
        for (size_t i = 0; i < n; ++i) {
            while (!stack.empty() && d.members[stack.back()].depth >= d.members[i].depth) {
                d.members[stack.back()].subtreeEnd = static_cast<MemberId>(i);
                stack.pop_back();
            }
            stack.push_back(static_cast<MemberId>(i));
        }
        for (MemberId id : stack) d.members[id].subtreeEnd = static_cast<MemberId>(n);
    }
    for (MeasureData& m : cube.measures) m.uniqueName = "[Measures].[" + m.name + "]";
    for (CalculatedMemberData& c : cube.calculatedMembers) c.uniqueName = "[Measures].[" + c.name + "]";
}

void CompleteCube(CubeData& cube, const std::string& context) {
    CheckCube(cube, context);
    FillDerived(cube);
}

}  // namespace cb::olap
