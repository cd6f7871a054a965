#include "grid/util/RowAllocator.h"

#include <sys/mman.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#include <sanitizer/lsan_interface.h>
// The leak checker looks for pointers in the blocks too, and the address
// checker sees the blocks as it sees the heap: only rows handed out and not
// yet freed may be touched.
#define CB_ROOT_REGION(p, n) __lsan_register_root_region(p, n)
#define CB_UNROOT_REGION(p, n) __lsan_unregister_root_region(p, n)
#define CB_POISON(p, n) __asan_poison_memory_region(p, n)
#define CB_UNPOISON(p, n) __asan_unpoison_memory_region(p, n)
#else
#define CB_ROOT_REGION(p, n) ((void)0)
#define CB_UNROOT_REGION(p, n) ((void)0)
#define CB_POISON(p, n) ((void)0)
#define CB_UNPOISON(p, n) ((void)0)
#endif

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>

namespace cb::grid {

namespace {

// Blocks are a multiple of the huge page size; a row larger than a quarter
// of one is allocated on its own.
constexpr std::size_t BlockBytes = std::size_t(32) << 20;
constexpr std::size_t MaxBulkBytes = BlockBytes / 4;

struct TBlock {
    char* Base = nullptr;
    std::size_t Used = 0;
    std::size_t Live = 0;  // allocations not yet freed
};

struct TStore {
    std::mutex Lock;
    std::map<std::uintptr_t, TBlock> Blocks;  // by base address
    TBlock* Current = nullptr;
    std::atomic<std::size_t> Count{0};  // Blocks.size(), read without the lock
};

TStore& Store() {
    static TStore* store = new TStore;  // outlives every grid, freed never
    return *store;
}

thread_local int gBulkDepth = 0;

void FreeBlock(TStore& s, std::map<std::uintptr_t, TBlock>::iterator it) {
    CB_UNROOT_REGION(it->second.Base, BlockBytes);
    CB_UNPOISON(it->second.Base, BlockBytes);
    ::munmap(it->second.Base, BlockBytes);
    s.Blocks.erase(it);
    s.Count = s.Blocks.size();
}

void* OrdinaryAllocate(std::size_t bytes, std::size_t align) {
    if (align > __STDCPP_DEFAULT_NEW_ALIGNMENT__) return ::operator new(bytes, std::align_val_t(align));
    return ::operator new(bytes);
}

TBlock* NewBlock(TStore& s) {
    void* p = ::mmap(nullptr, BlockBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    ::madvise(p, BlockBytes, MADV_HUGEPAGE);  // advice only: 4 KB pages if refused
    CB_ROOT_REGION(p, BlockBytes);
    CB_POISON(p, BlockBytes);
    TBlock& b = s.Blocks[std::uintptr_t(p)];
    b.Base = static_cast<char*>(p);
    s.Count = s.Blocks.size();
    return &b;
}

}  // namespace

namespace rowstore {

void* Allocate(std::size_t bytes, std::size_t align) {
    if (gBulkDepth == 0 || bytes == 0 || bytes > MaxBulkBytes) return OrdinaryAllocate(bytes, align);
    TStore& s = Store();
    std::lock_guard<std::mutex> guard(s.Lock);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (TBlock* b = s.Current) {
            const std::size_t at = (b->Used + align - 1) & ~(align - 1);
            if (at + bytes <= BlockBytes) {
                b->Used = at + bytes;
                ++b->Live;
                CB_UNPOISON(b->Base + at, bytes);
                return b->Base + at;
            }
            if (b->Live == 0) FreeBlock(s, s.Blocks.find(std::uintptr_t(b->Base)));
        }
        s.Current = NewBlock(s);
        if (!s.Current) break;
    }
    return OrdinaryAllocate(bytes, align);
}

void Deallocate(void* p, std::size_t bytes, std::size_t align) noexcept {
    if (!p) return;
    const auto at = std::uintptr_t(p);
    TStore& s = Store();
    if (s.Count.load(std::memory_order_relaxed) > 0) {
        std::lock_guard<std::mutex> guard(s.Lock);
        auto it = s.Blocks.upper_bound(at);
        if (it != s.Blocks.begin()) {
            --it;
            if (at < it->first + BlockBytes) {
                TBlock& b = it->second;
                CB_POISON(p, bytes);
                if (--b.Live == 0) {
                    if (&b == s.Current) s.Current = nullptr;
                    FreeBlock(s, it);
                }
                return;
            }
        }
    }
    if (align > __STDCPP_DEFAULT_NEW_ALIGNMENT__)
        ::operator delete(p, bytes, std::align_val_t(align));
    else
        ::operator delete(p, bytes);
}

std::size_t BlockCount() {
    TStore& s = Store();
    std::lock_guard<std::mutex> guard(s.Lock);
    return s.Blocks.size();
}

}  // namespace rowstore

TRowBulkScope::TRowBulkScope() {
    ++gBulkDepth;
}

TRowBulkScope::~TRowBulkScope() {
    --gBulkDepth;
}

}  // namespace cb::grid
