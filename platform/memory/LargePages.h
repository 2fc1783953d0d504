#pragma once
// Large pages for big blocks of memory: a block written in one pass would otherwise take
// a page fault for every 4 KiB it touches; backed by large pages it takes one per 2 MiB.
#include <cstddef>
#include <cstdint>

#include <sys/mman.h>

constexpr std::size_t LargePageBytes = std::size_t(2) << 20;

// Asks the system to back the whole large pages that lie inside the block with large pages.
inline void AdviseLargePages(void* Memory, std::size_t Bytes)
{
#ifdef MADV_HUGEPAGE
    const auto Start = reinterpret_cast<std::uintptr_t>(Memory);
    const std::uintptr_t First = (Start + LargePageBytes - 1) & ~std::uintptr_t(LargePageBytes - 1);
    const std::uintptr_t Last = (Start + Bytes) & ~std::uintptr_t(LargePageBytes - 1);
    if (Last > First)
        madvise(reinterpret_cast<void*>(First), Last - First, MADV_HUGEPAGE);
#endif
}
