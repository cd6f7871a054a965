#include "olap/mdx/Binder.h"

#include "olap/engine/NameFold.h"
#include "olap/engine/OlapError.h"

namespace cb::olap::mdx {

bool EqualNoCase(const std::string& a, const std::string& b) {
    return SameName(a, b);
}

namespace {

[[noreturn]] void Unknown(const char* what, const std::vector<NamePart>& parts, size_t upTo, const SourcePos& pos) {
    std::vector<NamePart> shown(parts.begin(), parts.begin() + static_cast<long>(upTo));
    throw EOlapError(std::string("Unknown ") + what + " " + NameText(shown) + " at " + pos.Text());
}

}  // namespace

BoundName Binder::Resolve(const std::vector<NamePart>& parts, const SourcePos& pos) const {
    BoundName b;
    const std::string& first = parts.at(0).text;
    if (EqualNoCase(first, "Measures")) {
        b.dim = kMeasuresDim;
        if (parts.size() == 1) return b;
        if (parts.size() == 2) {
            for (size_t i = 0; i < FCube.measures.size(); ++i) {
                if (EqualNoCase(FCube.measures[i].name, parts[1].text)) {
                    b.kind = BoundName::Kind::Member;
                    b.id = static_cast<MemberId>(i);
                    return b;
                }
            }
            for (size_t i = 0; i < FCube.calculatedMembers.size(); ++i) {
                if (EqualNoCase(FCube.calculatedMembers[i].name, parts[1].text)) {
                    b.kind = BoundName::Kind::Member;
                    b.id = static_cast<MemberId>(FCube.measures.size() + i);
                    return b;
                }
            }
            if (EqualNoCase(parts[1].text, "MeasuresLevel")) {
                b.kind = BoundName::Kind::Level;
                return b;
            }
        }
        Unknown("measure", parts, parts.size(), pos);
    }

    int dim = -2;
    for (size_t d = 0; d < FCube.dimensions.size(); ++d) {
        if (EqualNoCase(FCube.dimensions[d].name, first)) {
            dim = static_cast<int>(d);
            break;
        }
    }
    if (dim < 0) Unknown("dimension", parts, 1, pos);
    b.dim = dim;
    if (parts.size() == 1) return b;
    const DimensionData& dd = FCube.dimensions[static_cast<size_t>(dim)];
    if (dd.members.empty()) Unknown("member", parts, parts.size(), pos);
    const MemberData& all = dd.members[0];
    size_t next = 1;
    if (EqualNoCase(parts[1].text, all.name)) {
        next = 2;
    } else if (parts.size() == 2) {
        for (size_t l = 0; l < dd.levels.size(); ++l) {
            if (EqualNoCase(dd.levels[l].name, parts[1].text)) {
                b.kind = BoundName::Kind::Level;
                b.depth = static_cast<int>(l);
                return b;
            }
        }
    }
    // A member path below (All); the (All) member itself may be left out.
    MemberId current = 0;
    std::shared_ptr<const MemberNameIndex> index;
    for (size_t i = next; i < parts.size(); ++i) {
        if (!index) index = FCube.nameIndex.For(dd);
        const MemberId found = index->Child(current, parts[i].text);
        if (found == kNoMember) Unknown("member", parts, parts.size(), pos);
        current = found;
    }
    b.kind = BoundName::Kind::Member;
    b.id = current;
    return b;
}

std::string Binder::DimensionName(int dim) const {
    return dim == kMeasuresDim ? "[Measures]" : FCube.dimensions[static_cast<size_t>(dim)].uniqueName;
}

std::string Binder::MemberName(int dim, MemberId id) const {
    if (dim == kMeasuresDim) {
        return IsCalculated(id) ? FCube.calculatedMembers[id - FCube.measures.size()].uniqueName
                                : FCube.measures[id].uniqueName;
    }
    return FCube.dimensions[static_cast<size_t>(dim)].members[id].uniqueName;
}

std::string Binder::LevelName(int dim, int depth) const {
    if (dim == kMeasuresDim) return "[Measures].[MeasuresLevel]";
    return FCube.dimensions[static_cast<size_t>(dim)].levels[static_cast<size_t>(depth)].uniqueName;
}

int Binder::LevelCount(int dim) const {
    return dim == kMeasuresDim ? 1 : static_cast<int>(FCube.dimensions[static_cast<size_t>(dim)].levels.size());
}

std::vector<MemberId> Binder::LevelMembers(int dim, int depth) const {
    if (dim == kMeasuresDim) return DimensionMembers(dim, false);
    return FCube.dimensions[static_cast<size_t>(dim)].levels[static_cast<size_t>(depth)].members;
}

std::vector<MemberId> Binder::DimensionMembers(int dim, bool withCalculated) const {
    std::vector<MemberId> ids;
    size_t n = dim == kMeasuresDim ? (withCalculated ? MeasureCount() : FCube.measures.size())
                                   : FCube.dimensions[static_cast<size_t>(dim)].members.size();
    ids.reserve(n);
    for (size_t i = 0; i < n; ++i) ids.push_back(static_cast<MemberId>(i));
    return ids;
}

}  // namespace cb::olap::mdx
