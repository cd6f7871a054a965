#pragma once
// Storage of one fact column: a std::vector whose resize() leaves new
// elements uninitialised (the reader overwrites all of them at once) and
// whose large buffers sit on 2 MiB boundaries with the kernel asked for huge
// pages, so a column of millions of facts costs a few page faults, not one
// per 4 KiB.
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

namespace cb::olap {

// Storage for n bytes, aligned on 2 MiB with huge pages asked for when n is
// large; freed with the same n.
void* AllocateFactStorage(size_t bytes);
void FreeFactStorage(void* p, size_t bytes) noexcept;

template <class T>
struct TFactAllocator {
    using value_type = T;

    TFactAllocator() = default;
    template <class U>
    TFactAllocator(const TFactAllocator<U>&) noexcept {}

    T* allocate(size_t n) {
        if (n > size_t(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(AllocateFactStorage(n * sizeof(T)));
    }
    void deallocate(T* p, size_t n) noexcept { FreeFactStorage(p, n * sizeof(T)); }

    // Default-initialisation: resize(n) does not zero what will be overwritten.
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... A>
    void construct(U* p, A&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<A>(args)...);
    }

    template <class U>
    bool operator==(const TFactAllocator<U>&) const noexcept {
        return true;
    }
};

using MemberId = uint32_t;
using FactKeyColumn = std::vector<MemberId, TFactAllocator<MemberId>>;
using FactValueColumn = std::vector<double, TFactAllocator<double>>;

}  // namespace cb::olap
