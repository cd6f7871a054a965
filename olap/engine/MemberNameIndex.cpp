#include "olap/engine/MemberNameIndex.h"

#include "olap/engine/CubeData.h"
#include "olap/engine/NameFold.h"

#include <bit>

namespace cb::olap {

namespace {

size_t Hash(MemberId parent, std::string_view name) {
    return FoldedNameHash(name, parent);
}

}  // namespace

MemberNameIndex::MemberNameIndex(const DimensionData& dim) : FDim(dim) {
    size_t entries = 0;
    for (const MemberData& m : dim.members) entries += m.children.size();
    const size_t size = std::bit_ceil(entries * 2 + 2);
    FSlots.assign(size, Slot{kNoMember, kNoMember});
    FMask = size - 1;
    // Children in member order, so that the first of equal names is the one kept.
    for (MemberId parent = 0; parent < dim.members.size(); ++parent)
        for (MemberId c : dim.members[parent].children) {
            if (c >= dim.members.size()) continue;
            const std::string& name = dim.members[c].name;
            size_t s = Hash(parent, name) & FMask;
            bool taken = false;
            for (; FSlots[s].member != kNoMember; s = (s + 1) & FMask) {
                if (FSlots[s].parent == parent && SameName(dim.members[FSlots[s].member].name, name)) {
                    taken = true;
                    break;
                }
            }
            if (!taken) FSlots[s] = Slot{parent, c};
        }
}

MemberId MemberNameIndex::Child(MemberId parent, std::string_view name) const {
    for (size_t s = Hash(parent, name) & FMask; FSlots[s].member != kNoMember; s = (s + 1) & FMask)
        if (FSlots[s].parent == parent && SameName(FDim.members[FSlots[s].member].name, name)) return FSlots[s].member;
    return kNoMember;
}

std::shared_ptr<const MemberNameIndex> MemberNameIndexCache::For(const DimensionData& dim) const {
    std::lock_guard lock(FMutex);
    for (Entry& e : FEntries) {
        if (e.dim != &dim) continue;
        if (e.members != dim.members.data() || e.memberCount != dim.members.size()) {
            e.index = std::make_shared<MemberNameIndex>(dim);
            e.members = dim.members.data();
            e.memberCount = dim.members.size();
        }
        return e.index;
    }
    auto index = std::make_shared<const MemberNameIndex>(dim);
    FEntries.push_back(Entry{&dim, dim.members.data(), dim.members.size(), index});
    return index;
}

}  // namespace cb::olap
