#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "platform/memory/SlabPool.h"

namespace {

std::uintptr_t Address(void* p) { return reinterpret_cast<std::uintptr_t>(p); }

TEST(SlabPool, CellsAreDistinctAlignedAndRefilledLowestAddressFirst)
{
    TSlabPool<48, 16> pool;
    std::vector<void*> cells;
    for (int i = 0; i < 1000; ++i) {
        void* p = pool.Take();
        ASSERT_EQ(Address(p) % 16, 0u);
        std::memset(p, 0xAB, 48); // the whole cell is usable
        cells.push_back(p);
    }
    std::vector<void*> sorted = cells;
    std::sort(sorted.begin(), sorted.end(), std::less<void*>());
    for (std::size_t i = 1; i < sorted.size(); ++i)
        ASSERT_GE(Address(sorted[i]) - Address(sorted[i - 1]), 48u); // no overlap
    EXPECT_EQ(cells, sorted); // a fresh pool hands out ascending addresses

    // Give back every third cell in a shuffled order: they come back lowest first.
    std::vector<void*> freed;
    for (std::size_t i = 0; i < cells.size(); i += 3)
        freed.push_back(cells[i]);
    std::vector<void*> order = freed;
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    for (void* p : order)
        pool.Give(p);
    for (void* expected : freed)
        ASSERT_EQ(pool.Take(), expected);
    // With no gaps left the pool continues after the highest cell handed out.
    EXPECT_GT(Address(pool.Take()), Address(cells.back()));
}

TEST(SlabPool, LowerSlabsAreFilledBeforeHigherOnesAndEmptiedSlabsServeAgain)
{
    using TPool = TSlabPool<4096, 16>;
    TPool pool;
    const std::size_t perSlab = TPool::CellsPerSlab;
    ASSERT_GT(perSlab, 100u);
    std::vector<void*> cells;
    for (std::size_t i = 0; i < 3 * perSlab; ++i)
        cells.push_back(pool.Take());
    auto slabOf = [](void* p) { return Address(p) & ~std::uintptr_t(TPool::SlabBytes - 1); };
    std::vector<std::uintptr_t> slabs;
    for (void* p : cells)
        slabs.push_back(slabOf(p));
    std::sort(slabs.begin(), slabs.end());
    slabs.erase(std::unique(slabs.begin(), slabs.end()), slabs.end());
    ASSERT_EQ(slabs.size(), 3u); // each slab holds exactly CellsPerSlab cells

    // One free cell in the highest slab, then one in the lowest: the lowest wins.
    auto lastIn = [&](std::uintptr_t slab) {
        return *std::find_if(cells.rbegin(), cells.rend(), [&](void* p) { return slabOf(p) == slab; });
    };
    void* high = lastIn(slabs[2]);
    void* low = lastIn(slabs[0]);
    pool.Give(high);
    pool.Give(low);
    EXPECT_EQ(pool.Take(), low);
    EXPECT_EQ(pool.Take(), high);

    // A whole slab given back is kept and refilled before any new memory is mapped.
    std::vector<void*> middle;
    for (void* p : cells)
        if (slabOf(p) == slabs[1])
            middle.push_back(p);
    for (void* p : middle)
        pool.Give(p);
    for (std::size_t i = 0; i < middle.size(); ++i)
        ASSERT_EQ(slabOf(pool.Take()), slabs[1]);
}

} // namespace
