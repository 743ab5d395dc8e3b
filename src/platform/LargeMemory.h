// Fresh memory costs a page fault per 4 KiB page, and each fault is dear: a
// block of tens of megabytes that is about to be written whole costs more to
// fault in than to fill. Such memory is asked for in 2 MiB (transparent huge)
// pages where the system offers them: the records of a collection, the cells
// of a long list, a large file read whole.
#pragma once

#include <cstddef>
#include <limits>
#include <memory>
#include <new>

// Advises the system to back the block with large pages; only whole large
// pages inside the block are affected, and where there are none, or the
// system has no such advice, nothing happens.
void AdviseLargePages(void* block, std::size_t bytes);

// Blocks of kLargeBlockBytes and more come straight from the kernel, aligned
// to a large page; smaller ones from the heap.
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
