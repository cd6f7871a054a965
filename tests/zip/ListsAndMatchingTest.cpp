// Wildcards, object lists, entry orders and MS-DOS stamps.
#include "zip/ObjectList.h"
#include "zip/Wildcard.h"
#include "zip/ZipRecords.h"
#include "zip/ZipUtils.h"

#include <gtest/gtest.h>

using namespace cb::zip;

TEST(Wildcard, Table) {
    struct TCase {
        const char* Pattern;
        const char* Text;
        bool Match;
    };
    const TCase cases[] = {
        {"*", "", true},
        {"*", "anything.at.all", true},
        {"*.txt", "README.TXT", true},
        {"*.txt", "notes.txt.bak", false},
        {"a?b", "ab", false},
        {"a?b", "axb", true},
        {"<a-e>x", "bx", true},
        {"<a-e>x", "gx", false},
        {"<e-a>x", "cx", true},
        {"<!a-e>x", "gx", true},
        {"<^a-e>x", "bx", false},
        {"<abc", "a", false},  // set never closed
        {"abc**", "abc", false},
        {"abc*", "abc", true},
        {"*<a-e>x", "abcx", true},
        {"*<a-e>x", "gx", false},
        {"*<a-e>x", "agx", false},  // g ends the star's run though x follows
        {"*.", "makefile.", true},
        {"data?.*", "data1.cub", true},
        {"*cube*", "MyCubeFile", true},
        {"*?", "", false},
        {"x*y", "xaaay", true},
        {"x*y", "xaaa", false},
    };
    for (const auto& c : cases) EXPECT_EQ(WildcardMatch(c.Pattern, c.Text), c.Match) << c.Pattern << " / " << c.Text;
}

namespace {

struct TItem {
    int Key;
    int Tag;
};
class TSortedItems : public TSortedObjectList<TItem> {
public:
    using TSortedObjectList<TItem>::TSortedObjectList;
    int Compare(const TItem* A, const TItem* B) const override { return A->Key - B->Key; }
};

}  // namespace

TEST(ObjectList, GrowthBoundsAndNeighbours) {
    TObjectList<TItem> list;
    std::vector<int> capacities;
    for (int i = 0; i < 40; ++i) {
        list.Add(new TItem{i, 0});
        if (capacities.empty() || capacities.back() != list.Capacity()) capacities.push_back(list.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{4, 8, 16, 32, 48}));
    EXPECT_THROW(list.Items(40), cb::rtl::EListError);
    EXPECT_THROW(list.SetCapacity(10), cb::rtl::EListError);
    EXPECT_EQ(list.Neighbour(nullptr, true)->Key, 0);
    EXPECT_EQ(list.Neighbour(list.Items(3), false)->Key, 2);
    EXPECT_EQ(list.Neighbour(list.Last(), true), nullptr);
    TObjectList<TItem> empty;
    EXPECT_THROW(empty.Neighbour(nullptr, true), cb::rtl::EListError);
}

TEST(ObjectList, SortedDuplicates) {
    TSortedItems accept(true, TDuplicates::dupAccept);
    for (int tag = 0; tag < 3; ++tag) accept.Add(new TItem{5, tag});
    accept.Add(new TItem{1, 9});
    ASSERT_EQ(accept.Count(), 4);
    EXPECT_EQ(accept[0]->Key, 1);
    // Equal items in reverse order of insertion.
    EXPECT_EQ(accept[1]->Tag, 2);
    EXPECT_EQ(accept[3]->Tag, 0);

    TSortedItems ignore(true, TDuplicates::dupIgnore);
    ignore.Add(new TItem{1, 0});
    TItem dup{1, 1};
    EXPECT_EQ(ignore.Add(&dup), -1);
    EXPECT_EQ(ignore.Count(), 1);

    TSortedItems raise(true, TDuplicates::dupError);
    raise.Add(new TItem{1, 0});
    TItem again{1, 1};
    EXPECT_THROW(raise.Add(&again), cb::rtl::EListError);
    EXPECT_THROW(raise.Put(0, &again), cb::rtl::EListError);
}

TEST(SortedZip, OrdersAreStrictAndKeepEqualKeys) {
    // Records with equal dates and sizes: none may count as equal to another,
    // and none as smaller than itself.
    std::vector<std::unique_ptr<TZipHeaderInfo>> recs;
    for (int i = 0; i < 6; ++i) {
        auto r = std::make_unique<TZipHeaderInfo>();
        r->SetFileName("f" + std::to_string(i));
        r->DateTime = UnixToDosDateTime(1700000000 + (i % 2) * 1000);
        r->CompressedSize = r->UncompressedSize = 100 * (i % 3);
        r->LocalHeaderOffset = static_cast<std::uint32_t>(1000 - i * 10);
        recs.push_back(std::move(r));
    }
    for (auto mode : {TZipSortMode::ByDate, TZipSortMode::ByCompressedSize, TZipSortMode::ByUnCompressedSize,
                      TZipSortMode::ByNone}) {
        TSortedZip list(false, TDuplicates::dupError, mode);
        for (auto& r : recs) {
            EXPECT_EQ(list.Compare(r.get(), r.get()), 0);
            EXPECT_NO_THROW(list.Add(r.get()));
        }
        ASSERT_EQ(list.Count(), 6);
        for (int i = 0; i + 1 < list.Count(); ++i) {
            EXPECT_LT(list.Compare(list[i], list[i + 1]), 0);
            EXPECT_GT(list.Compare(list[i + 1], list[i]), 0);
        }
    }
    TSortedZip byDate(false, TDuplicates::dupAccept, TZipSortMode::ByDate);
    for (auto& r : recs) byDate.Add(r.get());
    EXPECT_GE(byDate[0]->DateTime, byDate[5]->DateTime);  // newest first
    TSortedZip bySize(false, TDuplicates::dupAccept, TZipSortMode::ByCompressedSize);
    for (auto& r : recs) bySize.Add(r.get());
    EXPECT_EQ(bySize[0]->CompressedSize, 200u);  // largest first
}

TEST(ZipUtils, DosStampsAndPercentages) {
    // All ones: 31 December 2099, 23:59:58.
    const std::uint32_t s = CheckDosDateTime(0xFFFFFFFFu);
    EXPECT_EQ(s & 0x1F, 29u);
    EXPECT_EQ((s >> 5) & 0x3F, 59u);
    EXPECT_EQ((s >> 11) & 0x1F, 23u);
    EXPECT_EQ((s >> 16) & 0x1F, 31u);
    EXPECT_EQ((s >> 21) & 0x0F, 12u);
    EXPECT_EQ((s >> 25) + 1980, 2099u);
    const std::uint32_t good = UnixToDosDateTime(1700000000);
    EXPECT_EQ(CheckDosDateTime(good), good);
    std::time_t back = 0;
    ASSERT_TRUE(DosDateTimeToUnix(good, back));
    EXPECT_LE(1700000000 - back, 1);
    EXPECT_EQ(Percentage(1, 3), 33);
    EXPECT_EQ(Percentage(2, 3), 67);
    EXPECT_EQ(Percentage(5, 0), 0);
    EXPECT_EQ(Percentage(500, 100), 100);
    EXPECT_EQ(OemRoundTrip("caf\xC3\xA9"), "caf\xC3\xA9");  // é is in code page 437
    EXPECT_EQ(AnsiToOem("caf\xC3\xA9"), "caf\x82");
    EXPECT_EQ(AnsiToOem("\xE2\x82\xAC"), "?");  // the euro sign is not
}
