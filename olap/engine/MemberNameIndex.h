#pragma once
// Finds a member of a dimension by its parent and name, without regard to
// letter case (see NameFold.h), in constant time. Queries that list thousands of members by
// unique name resolve each path step here instead of scanning siblings.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace cb::olap {

struct DimensionData;
struct MemberData;

class MemberNameIndex {
public:
    // Keeps a reference to dim: the index lives no longer than its dimension.
    explicit MemberNameIndex(const DimensionData& dim);

    // The first child of parent (in member order) with this name, or kNoMember.
    uint32_t Child(uint32_t parent, std::string_view name) const;

private:
    struct Slot {
        uint32_t parent;
        uint32_t member;  // kNoMember marks a free slot
    };
    const DimensionData& FDim;
    std::vector<Slot> FSlots;  // open addressing, linear probing
    size_t FMask = 0;
};

// The indexes of one cube, built per dimension on first use and shared by
// every query on the cube. A copy of the cube starts without them; a
// dimension given a new member array gets a new index. Members are not to be
// renamed in place once the cube has been queried.
class MemberNameIndexCache {
public:
    MemberNameIndexCache() = default;
    MemberNameIndexCache(const MemberNameIndexCache&) {}
    MemberNameIndexCache& operator=(const MemberNameIndexCache&) {
        std::lock_guard lock(FMutex);
        FEntries.clear();
        return *this;
    }

    std::shared_ptr<const MemberNameIndex> For(const DimensionData& dim) const;

private:
    struct Entry {
        const DimensionData* dim;
        const MemberData* members;
        size_t memberCount;
        std::shared_ptr<const MemberNameIndex> index;
    };
    mutable std::mutex FMutex;
    mutable std::vector<Entry> FEntries;
};

}  // namespace cb::olap
