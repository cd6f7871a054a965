#include "olap/engine/FactColumn.h"

#include <sys/mman.h>

#include <cstdlib>

namespace cb::olap {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;
// From this size on a column takes huge pages: zeroing a whole huge page
// costs less than the first-touch faults of the small pages it replaces
// (hundreds of them from 1 MiB on).
constexpr size_t kHugeFrom = size_t(1) << 20;

size_t MappedSize(size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

}  // namespace

void* AllocateFactStorage(size_t bytes) {
    if (bytes < kHugeFrom) {
        void* p = std::malloc(bytes ? bytes : 1);
        if (!p) throw std::bad_alloc();
        return p;
    }
    // Map one huge page more than needed and trim to a 2 MiB boundary.
    const size_t size = MappedSize(bytes);
    void* raw = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    auto* base = static_cast<char*>(raw);
    const size_t lead = (kHugePage - reinterpret_cast<uintptr_t>(base) % kHugePage) % kHugePage;
    if (lead) ::munmap(base, lead);
    if (kHugePage - lead) ::munmap(base + lead + size, kHugePage - lead);
    ::madvise(base + lead, size, MADV_HUGEPAGE);  // a hint: without it the kernel uses small pages
    return base + lead;
}

void FreeFactStorage(void* p, size_t bytes) noexcept {
    if (!p) return;
    if (bytes < kHugeFrom)
        std::free(p);
    else
        ::munmap(p, MappedSize(bytes));
}

}  // namespace cb::olap
