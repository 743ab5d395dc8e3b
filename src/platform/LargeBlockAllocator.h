// Storage for large arrays: the records of a collection, the cells of a long
// list. Blocks of 2 MiB and more come straight from the kernel, aligned to
// 2 MiB and marked for transparent huge pages: filling fresh memory then costs
// one page fault per 2 MiB instead of one per 4 KiB, which is most of the
// time a large collection takes to load. Smaller blocks come from the heap.
#pragma once

#include <cstddef>
#include <limits>
#include <memory>
#include <new>

inline constexpr std::size_t kLargeBlockBytes = std::size_t{2} << 20;

// A block of at least bytes (>= kLargeBlockBytes); std::bad_alloc when the
// kernel refuses. Freed with the same size.
void* AllocateLargeBlock(std::size_t bytes);
void FreeLargeBlock(void* block, std::size_t bytes) noexcept;

template <class T>
struct LargeBlockAllocator {
    using value_type = T;

    LargeBlockAllocator() noexcept = default;
    template <class U>
    LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}  // NOLINT: rebinding is implicit

    T* allocate(std::size_t n) {
        if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) throw std::bad_array_new_length();
        if (n * sizeof(T) >= kLargeBlockBytes) return static_cast<T*>(AllocateLargeBlock(n * sizeof(T)));
        return std::allocator<T>().allocate(n);
    }
    void deallocate(T* p, std::size_t n) noexcept {
        if (n * sizeof(T) >= kLargeBlockBytes) FreeLargeBlock(p, n * sizeof(T));
        else std::allocator<T>().deallocate(p, n);
    }

    template <class U>
    bool operator==(const LargeBlockAllocator<U>&) const noexcept {
        return true;
    }
};
