#pragma once
// A pool of fixed-size cells carved out of slabs: no allocator header per cell and good
// locality for walks over many small objects of one type.
//
// A slab is one large page: a SlabBytes-aligned block holding a header, the free-cell
// bitmap, then the cells. A cell's slab is found by masking its address.
//
// Cells are always handed out lowest address first: the first free cell of the first
// slab that has one. Objects made in order after a bulk release therefore lie in memory in
// that order again, whatever order the released ones were in. A LIFO free list would
// instead hand cells back in the order they were freed, and walks over the new objects
// would jump across the whole heap.
// Slabs after the first SmallPageSlabs ask for large pages: a big pool then costs a few
// hundred page faults instead of tens of thousands, while a small one touches only the
// small pages it uses. A large page is resident as a whole, so the newest, partly used
// slab may hold up to a slab of untouched memory: small next to that many full slabs.
// Up to KeptEmptySlabs emptied slabs stay for the next objects, which usually come soon
// (a structure is loaded over the old one, or cleared and built again) and reuse their
// pages without page faults. (Offering their pages back to the system with MADV_FREE
// made every later first write to them cost as much as a fault.) Further empty slabs go
// back to the system at once.
// A pool is used from one thread only and takes no locks. Destroying a pool returns all
// its slabs to the system, cells still in use included.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/memory/FreeBits.h"
#include "platform/memory/LargePages.h"

// The part of the pool that does not depend on the cell size: the address-ordered list of
// slabs and their mapping, filling and release.
class TSlabPoolBase {
public:
    static constexpr std::size_t SlabBytes = LargePageBytes;
    static constexpr std::size_t SmallPageSlabs = 8;
    static constexpr std::size_t KeptEmptySlabs = 8;

    TSlabPoolBase(const TSlabPoolBase&) = delete;
    TSlabPoolBase& operator=(const TSlabPoolBase&) = delete;

protected:
    // Starts every slab; the free-cell bitmap follows it. Bit i is set while cell i is free.
    struct TSlabHeader {
        std::uint32_t Index;       // position in the pool's address-ordered list
        std::uint32_t FreeCells;
        std::size_t FirstFreeWord; // the words before it have no free cell
        std::uint64_t* FreeBits() { return reinterpret_cast<std::uint64_t*>(this + 1); }
    };

    explicit TSlabPoolBase(std::size_t CellsPerSlab) : FCellsPerSlab(std::uint32_t(CellsPerSlab)) {}
    ~TSlabPoolBase();

    static TSlabHeader* SlabOf(void* P)
    {
        return reinterpret_cast<TSlabHeader*>(reinterpret_cast<std::uintptr_t>(P) & ~std::uintptr_t(SlabBytes - 1));
    }

    // Every slab before FCursor is full.
    TSlabHeader* SlabWithFreeCell()
    {
        while (FCursor < FSlabs.size() && FSlabs[FCursor]->FreeCells == 0)
            ++FCursor;
        if (FCursor == FSlabs.size())
            FCursor = AddSlab();
        return FSlabs[FCursor];
    }

    // Maps a slab with every cell free and returns its position in the list.
    std::size_t AddSlab();
    // The slab's last cell came back: keep the slab or return it to the system.
    void SlabEmptied(TSlabHeader* Slab);

    std::size_t FCursor = 0;
    std::size_t FEmptySlabs = 0;

private:
    void Renumber(std::size_t From);

    std::vector<TSlabHeader*> FSlabs; // by address
    const std::uint32_t FCellsPerSlab;
};

// Cells of CellSize bytes aligned to CellAlign. The size is a constant so that finding a
// cell's number is a multiplication, not a division.
template <std::size_t CellSize, std::size_t CellAlign>
class TSlabPool : private TSlabPoolBase {
    static constexpr std::size_t MaxCells = SlabBytes / CellSize;
    static constexpr std::size_t Words = (MaxCells + 63) / 64;
    static constexpr std::size_t HeaderBytes = sizeof(TSlabHeader) + Words * sizeof(std::uint64_t);
    static constexpr std::size_t CellsOffset =
        (HeaderBytes + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) * alignof(std::max_align_t);

public:
    using TSlabPoolBase::SlabBytes;
    static constexpr std::size_t CellsPerSlab = (SlabBytes - CellsOffset) / CellSize;
    static_assert(CellSize % CellAlign == 0 && alignof(std::max_align_t) % CellAlign == 0, "cells stay aligned");
    static_assert(CellsPerSlab > 0 && CellsPerSlab <= MaxCells, "the bitmap covers every cell");

    TSlabPool() : TSlabPoolBase(CellsPerSlab) {}

    void* Take()
    {
        TSlabHeader* Slab = SlabWithFreeCell();
        const std::size_t Cell = FreeBits::TakeLowest(Slab->FreeBits(), Slab->FirstFreeWord);
        if (Slab->FreeCells-- == CellsPerSlab)
            --FEmptySlabs;
        return CellsOf(Slab) + Cell * CellSize;
    }

    // P must have come from Take of this pool.
    void Give(void* P)
    {
        TSlabHeader* Slab = SlabOf(P);
        const std::size_t Cell = std::size_t(static_cast<char*>(P) - CellsOf(Slab)) / CellSize;
        FreeBits::Give(Slab->FreeBits(), Slab->FirstFreeWord, Cell);
        if (Slab->Index < FCursor)
            FCursor = Slab->Index;
        if (++Slab->FreeCells == CellsPerSlab)
            SlabEmptied(Slab);
    }

private:
    static char* CellsOf(TSlabHeader* Slab) { return reinterpret_cast<char*>(Slab) + CellsOffset; }
};
