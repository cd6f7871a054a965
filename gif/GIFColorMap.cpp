#include "gif/GIFColorMap.h"

#include "gif/GIFException.h"

#include <algorithm>
#include <utility>

namespace cb::gif {

void TGIFColorMap::Clear() {
    FEntries.clear();
    FEntries.shrink_to_fit();
    FCapacity = 0;
    FOptimized = false;
}

void TGIFColorMap::SetCapacity(int n) {
    if (n < FCapacity) return;
    FCapacity = n <= 16 ? 16 : std::min(256, (n + 31) / 32 * 32);
    FEntries.reserve(std::size_t(FCapacity));
}

int TGIFColorMap::BitsForCount(int n) {
    if (n <= 0) return 0;
    int b = 1;
    while ((1 << b) < n) ++b;
    return b;
}

void TGIFColorMap::LoadFromStream(cb::rtl::TStream& s, int n) {
    Clear();
    if (n > 256) n = 256;
    SetCapacity(n);
    auto e = std::vector<TGIFColor>(std::size_t(n));
    if (n > 0 && s.Read(e.data(), std::size_t(n) * 3) != std::size_t(n) * 3)
        throw GIFException("Premature end of data");
    FEntries = std::move(e);
}

void TGIFColorMap::SaveToStream(cb::rtl::TStream& s) const {
    if (FEntries.empty()) return;
    std::vector<std::uint8_t> bytes(std::size_t(3) << BitsPerPixel(), 0);
    std::copy_n(reinterpret_cast<const std::uint8_t*>(FEntries.data()), FEntries.size() * 3, bytes.begin());
    s.WriteBuffer(bytes.data(), bytes.size());
}

int TGIFColorMap::FindColor(cb::gfx::TColor c) const {
    const TGIFColor e{std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)};
    const int n = Count();
    if (FOptimized) {
        for (int i = 0; i < n; ++i)
            if (FEntries[std::size_t(i)] == e) return i;
    } else {
        for (int i = n - 1; i >= 0; --i)
            if (FEntries[std::size_t(i)] == e) return i;
    }
    return -1;
}

int TGIFColorMap::AppendColor(cb::gfx::TColor c) {
    if (Count() >= 256) throw GIFException("Color table overflow");
    if (Count() >= FCapacity) SetCapacity(Count() + 1);
    FEntries.push_back({std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)});
    FOptimized = false;
    Changed();
    return Count() - 1;
}

int TGIFColorMap::AppendUniqueColor(cb::gfx::TColor c) {
    const int i = FindColor(c);
    return i >= 0 ? i : AppendColor(c);
}

void TGIFColorMap::RemoveColor(int index) {
    if (index < 0 || index >= Count()) throw GIFException("Invalid color index");
    FEntries.erase(FEntries.begin() + index);
    FOptimized = false;
    Changed();
}

cb::gfx::TColor TGIFColorMap::ColorAt(int index) const {
    if (index < 0 || index >= Count()) {
        Warning(1, "Invalid color index");
        if (FEntries.empty()) throw GIFException("Color table is empty");
        index = 0;
    }
    return ToColor(FEntries[std::size_t(index)]);
}

void TGIFColorMap::FromColorTable(const TGIFColor* entries, int n) {
    Clear();
    if (n <= 0) return;
    n = std::min(n, 256);
    SetCapacity(n);
    FEntries.assign(entries, entries + n);
    Changed();
}

void TGIFColorMap::Assign(const TGIFColorMap& source) {
    if (&source == this) return;
    Clear();
    FCapacity = source.FCapacity;
    FEntries = source.FEntries;
    FOptimized = source.FOptimized;
    Changed();
}

void TGIFColorMap::Warning(int, const std::string&) const {}

bool TGIFColorMap::Optimize() {
    return DoOptimize();
}

namespace {

struct TUse {
    int Uses;
    int Index;
};

// Most used first; the middle pair is the pivot, the right part is sorted
// by iteration.
void sortUses(TUse* a, int lo, int hi) {
    while (lo < hi) {
        int i = lo, j = hi;
        const int pivot = a[(lo + hi) / 2].Uses;
        while (i <= j) {
            while (a[i].Uses > pivot) ++i;
            while (a[j].Uses < pivot) --j;
            if (i <= j) {
                std::swap(a[i], a[j]);
                ++i;
                --j;
            }
        }
        if (lo < j) sortUses(a, lo, j);
        lo = i;
    }
}

}  // namespace

bool TGIFColorMap::DoOptimize() {
    const int n = Count();
    if (n <= 1) return false;
    FOptimized = true;
    std::array<int, 256> uses{};
    BuildHistogram(uses);
    auto pairs = std::vector<TUse>(std::size_t(n));
    for (int i = 0; i < n; ++i) pairs[std::size_t(i)] = {uses[std::size_t(i)], i};
    sortUses(pairs.data(), 0, n - 1);
    bool same = true;
    for (int k = 0; k < n; ++k)
        if (pairs[std::size_t(k)].Index != k) same = false;
    if (same) return true;
    // Identity for the values at or above the count, so they stay as they are.
    std::array<std::uint8_t, 256> map{};
    for (int i = 0; i < 256; ++i) map[std::size_t(i)] = std::uint8_t(i);
    for (int k = 0; k < n; ++k) map[std::size_t(pairs[std::size_t(k)].Index)] = std::uint8_t(k);
    MapImages(map);
    auto sorted = std::vector<TGIFColor>(std::size_t(n));
    for (int i = 0; i < n; ++i) sorted[map[std::size_t(i)]] = FEntries[std::size_t(i)];
    int count = n;
    for (int k = 0; k < n; ++k)
        if (pairs[std::size_t(k)].Uses == 0) {
            count = k;
            break;
        }
    sorted.resize(std::size_t(count));
    FEntries = std::move(sorted);
    Changed();
    FOptimized = true;
    return true;
}

}  // namespace cb::gif
