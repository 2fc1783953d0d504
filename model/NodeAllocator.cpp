// Memory for nodes. A big tree holds a million nodes, so nodes of exactly the base
// class come from slabs: no allocator header per node and good locality for walks.
// Nodes of application subclasses (other sizes) use the global allocator. Sanitizer
// builds always use the global allocator so that every node is tracked on its own.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include <sys/mman.h>

#include "model/lxTreeView.h"
#include "platform/memory/FreeBits.h"
#include "platform/memory/LargePages.h"

#ifndef LX_SANITIZE

namespace {

// A slab is one large page.
constexpr std::size_t SlabBytes = LargePageBytes;
constexpr std::size_t CellSize = sizeof(TlxTreeViewNode);

// A slab is a SlabBytes-aligned block: this header, then the cells. A cell's slab is
// found by masking its address. Bit i of FreeBits is set while cell i is free.
struct TSlab {
    static constexpr std::size_t MaxCells = SlabBytes / CellSize;
    static constexpr std::size_t Words = (MaxCells + 63) / 64;
    std::uint32_t Index;         // position in the pool's address-ordered list
    std::uint32_t FreeCells;
    std::size_t FirstFreeWord;   // the words before it have no free cell
    std::uint64_t FreeBits[Words];
};
constexpr std::size_t CellsOffset = (sizeof(TSlab) + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) *
                                    alignof(std::max_align_t);
constexpr std::size_t CellsPerSlab = (SlabBytes - CellsOffset) / CellSize;
// Slabs after these ask for large pages. A large page is resident as a whole, so the
// newest, partly used slab may hold up to a slab of untouched memory: small next to a
// tree that already fills this many slabs.
constexpr std::size_t SmallPageSlabs = 8;
constexpr std::size_t KeptEmptySlabs = 8;
static_assert(CellSize % alignof(TlxTreeViewNode) == 0, "cells stay aligned");
static_assert(CellsPerSlab <= TSlab::MaxCells, "the bitmap covers every cell");

// Cells are always handed out lowest address first: the first free cell of the first
// slab that has one. Trees are built in document order, so a tree built after its
// predecessor was cleared (or loaded over it) lies in memory in document order again,
// whatever order sorting, moving and deleting left the old nodes in. A LIFO free list
// would instead hand cells back in the order they were freed, and walks over the new
// tree would jump across the whole heap.
// Slabs of a big tree ask for large pages: a million nodes then cost a few hundred page
// faults instead of tens of thousands, while a smaller tree touches only the small pages
// it uses. Up to KeptEmptySlabs emptied slabs (16 MB) stay for the next tree, which is
// usually near: a tree is loaded over the old one, or cleared and built again, and then
// reuses their pages without page faults. (Offering their pages back to the system with
// MADV_FREE made every later first write to them cost as much as a fault.) Further
// empty slabs go back to the system at once.
// Everything runs on the UI thread, so the pool takes no locks.
class TNodePool {
public:
    void* Take()
    {
        TSlab* Slab = SlabWithFreeCell();
        const std::size_t Cell = FreeBits::TakeLowest(Slab->FreeBits, Slab->FirstFreeWord);
        if (Slab->FreeCells-- == CellsPerSlab)
            --FEmptySlabs;
        return CellsOf(Slab) + Cell * CellSize;
    }

    void Give(void* P)
    {
        TSlab* Slab = SlabOf(P);
        const std::size_t Cell = std::size_t(static_cast<char*>(P) - CellsOf(Slab)) / CellSize;
        FreeBits::Give(Slab->FreeBits, Slab->FirstFreeWord, Cell);
        FCursor = std::min<std::size_t>(FCursor, Slab->Index);
        if (++Slab->FreeCells == CellsPerSlab)
            SlabEmptied(Slab);
    }

private:
    static char* CellsOf(TSlab* Slab) { return reinterpret_cast<char*>(Slab) + CellsOffset; }
    static TSlab* SlabOf(void* P)
    {
        return reinterpret_cast<TSlab*>(reinterpret_cast<std::uintptr_t>(P) & ~std::uintptr_t(SlabBytes - 1));
    }

    // Every slab before FCursor is full.
    TSlab* SlabWithFreeCell()
    {
        while (FCursor < FSlabs.size() && FSlabs[FCursor]->FreeCells == 0)
            ++FCursor;
        if (FCursor == FSlabs.size())
            FCursor = AddSlab();
        return FSlabs[FCursor];
    }

    std::size_t AddSlab()
    {
        FSlabs.reserve(FSlabs.size() + 1); // before the mapping, which would leak if this raised
        TSlab* Slab = static_cast<TSlab*>(MapAlignedBlock(FSlabs.size() >= SmallPageSlabs));
        Slab->FreeCells = CellsPerSlab;
        Slab->FirstFreeWord = 0;
        for (std::size_t Cell = 0; Cell < CellsPerSlab; Cell += 64) {
            const std::size_t Bits = std::min<std::size_t>(64, CellsPerSlab - Cell);
            Slab->FreeBits[Cell / 64] = Bits == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << Bits) - 1;
        }
        auto Where = std::lower_bound(FSlabs.begin(), FSlabs.end(), Slab);
        const std::size_t Index = std::size_t(Where - FSlabs.begin());
        FSlabs.insert(Where, Slab);
        Renumber(Index);
        ++FEmptySlabs;
        return Index;
    }

    void SlabEmptied(TSlab* Slab)
    {
        if (FEmptySlabs < KeptEmptySlabs) {
            ++FEmptySlabs;
            return;
        }
        const std::size_t Index = Slab->Index;
        FSlabs.erase(FSlabs.begin() + std::ptrdiff_t(Index));
        Renumber(Index);
        munmap(Slab, SlabBytes);
    }

    void Renumber(std::size_t From)
    {
        for (std::size_t I = From; I < FSlabs.size(); ++I)
            FSlabs[I]->Index = std::uint32_t(I);
    }

    // SlabBytes of zeroed memory aligned to SlabBytes: map twice the size and give back
    // the unaligned ends.
    static void* MapAlignedBlock(bool LargePages)
    {
        void* Mapped = mmap(nullptr, 2 * SlabBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (Mapped == MAP_FAILED)
            throw std::bad_alloc();
        const auto Start = reinterpret_cast<std::uintptr_t>(Mapped);
        const std::uintptr_t Aligned = (Start + SlabBytes - 1) & ~std::uintptr_t(SlabBytes - 1);
        if (Aligned > Start)
            munmap(Mapped, Aligned - Start);
        const std::uintptr_t Tail = Start + 2 * SlabBytes - (Aligned + SlabBytes);
        if (Tail > 0)
            munmap(reinterpret_cast<void*>(Aligned + SlabBytes), Tail);
        if (LargePages)
            AdviseLargePages(reinterpret_cast<void*>(Aligned), SlabBytes);
        return reinterpret_cast<void*>(Aligned);
    }

    std::vector<TSlab*> FSlabs; // by address
    std::size_t FCursor = 0;
    std::size_t FEmptySlabs = 0;
};

// Never destroyed: nodes owned by static objects may outlive any static pool.
TNodePool& Pool()
{
    static TNodePool* ThePool = new TNodePool;
    return *ThePool;
}

} // namespace

void* TlxTreeViewNode::operator new(std::size_t size)
{
    if (size == sizeof(TlxTreeViewNode))
        return Pool().Take();
    return ::operator new(size);
}

void TlxTreeViewNode::operator delete(void* p, std::size_t size)
{
    if (!p)
        return;
    if (size == sizeof(TlxTreeViewNode))
        Pool().Give(p);
    else
        ::operator delete(p);
}

#else

void* TlxTreeViewNode::operator new(std::size_t size)
{
    return ::operator new(size);
}

void TlxTreeViewNode::operator delete(void* p, std::size_t size)
{
    ::operator delete(p);
}

#endif
