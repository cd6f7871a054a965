#pragma once
// Storage for the grid's rows. Rows made in bulk (a grid grown by
// thousands of rows at once, as an import does) are carved out of large
// blocks that ask the system for huge pages, instead of one heap allocation
// per row: fresh memory is then faulted in 2 MB steps rather than 4 KB
// ones, which is most of the cost of a large import. A block goes back to
// the system when its last row is freed. Every other row allocation is an
// ordinary one.
#include <cstddef>
#include <new>

namespace cb::grid {

namespace rowstore {
void* Allocate(std::size_t bytes, std::size_t align);
void Deallocate(void* p, std::size_t bytes, std::size_t align) noexcept;
// Blocks alive and the bytes they hold (for tests and benchmarks).
std::size_t BlockCount();
}  // namespace rowstore

// Growing a grid by this many rows at once is a bulk growth.
constexpr int BulkRowCount = 1024;

// While one lives, rows allocated on this thread come from the blocks.
class TRowBulkScope {
public:
    TRowBulkScope();
    ~TRowBulkScope();
    TRowBulkScope(const TRowBulkScope&) = delete;
    TRowBulkScope& operator=(const TRowBulkScope&) = delete;
};

template <class T>
struct TRowAllocator {
    using value_type = T;
    TRowAllocator() noexcept = default;
    template <class U>
    TRowAllocator(const TRowAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if (n > std::size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(rowstore::Allocate(n * sizeof(T), alignof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { rowstore::Deallocate(p, n * sizeof(T), alignof(T)); }
    template <class U>
    bool operator==(const TRowAllocator<U>&) const noexcept {
        return true;
    }
};

}  // namespace cb::grid
