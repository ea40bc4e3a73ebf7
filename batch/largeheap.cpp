#include "largeheap.h"

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#endif

void PrepareLargeHeap(std::size_t bytes)
{
#if defined(__linux__) && defined(__GLIBC__)
    constexpr std::size_t kLargePage = std::size_t(2) << 20;
    if (bytes < 8 * kLargePage)
        return;
    // Blocks up to the largest threshold come from the heap rather than from mappings of
    // their own, and memory given back stays there for the next block.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    // Worker threads allocate there too, not in arenas of their own with small pages.
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_TRIM_THRESHOLD, int(std::min<std::size_t>(bytes * 2, 1u << 30)));
    const auto start = reinterpret_cast<std::uintptr_t>(sbrk(0));
    // Growing the heap block by block and freeing the blocks leaves the room reserved and
    // untouched; each block stays below the threshold so that it comes from the heap.
    constexpr std::size_t kBlock = std::size_t(16) << 20;
    std::array<void *, 64> blocks{};
    std::size_t count = 0;
    while (count < blocks.size() && count * kBlock < bytes) {
        blocks[count] = std::malloc(kBlock - 4096);
        if (!blocks[count])
            break;
        ++count;
    }
    for (std::size_t i = count; i > 0; --i)
        std::free(blocks[i - 1]);
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
    if (end > first + kLargePage)
        madvise(reinterpret_cast<void *>(first), end - first, MADV_HUGEPAGE);
#else
    (void)bytes;
#endif
}
