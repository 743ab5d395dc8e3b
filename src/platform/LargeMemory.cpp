#include "platform/LargeMemory.h"

#include <sys/mman.h>

#include <cstdint>

void AdviseLargePages(void* block, std::size_t bytes) {
#if defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kLargePage = kLargeBlockBytes;
    const auto begin = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kLargePage - 1);
    if (block == nullptr || last <= first) return;
    // Advice only: a refusal leaves the block as it was.
    (void)::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)block;
    (void)bytes;
#endif
}

namespace {

std::size_t roundedUp(std::size_t bytes) {
    return (bytes + kLargeBlockBytes - 1) / kLargeBlockBytes * kLargeBlockBytes;
}

}  // namespace

void* AllocateLargeBlock(std::size_t bytes) {
    const std::size_t size = roundedUp(bytes);
    // One huge page more than needed, so that an aligned block fits; the
    // unaligned ends go back at once.
    const std::size_t mapped = size + kLargeBlockBytes;
    void* raw = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kLargeBlockBytes - 1) / kLargeBlockBytes * kLargeBlockBytes;
    const std::size_t head = aligned - start;
    const std::size_t tail = mapped - head - size;
    if (head > 0) ::munmap(raw, head);
    if (tail > 0) ::munmap(reinterpret_cast<void*>(aligned + size), tail);
    void* block = reinterpret_cast<void*>(aligned);
    AdviseLargePages(block, size);
    return block;
}

void FreeLargeBlock(void* block, std::size_t bytes) noexcept {
    if (block) ::munmap(block, roundedUp(bytes));
}
