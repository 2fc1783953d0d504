// Memory for nodes. A big tree holds a million nodes, so nodes of exactly the base
// class come from slabs with a free list: no allocator header per node and good
// locality for walks. Nodes of application subclasses (other sizes) use the global
// allocator. Sanitizer builds always use the global allocator so that every node is
// tracked on its own.
#include <algorithm>
#include <cstdlib>
#include <new>

#include <sys/mman.h>

#include "model/lxTreeView.h"

#ifndef LX_SANITIZE

namespace {

// Cells of sizeof(TlxTreeViewNode) bytes carved from slabs. Freed cells go to a free
// list; fresh cells are handed out from the newest slab in address order, so a slab's
// memory is first touched by the node that uses it. Slabs double in size up to a
// large-page-sized block, which the kernel may back with one large page: a million
// nodes then cost a few hundred page faults instead of tens of thousands.
// Everything runs on the UI thread, so the pool takes no locks. When the last node
// goes, the slabs are released.
class TNodePool {
public:
    void* Take()
    {
        void* Cell;
        if (FFree) {
            Cell = FFree;
            FFree = FFree->Next;
        } else {
            if (FFresh == FFreshEnd)
                AddSlab();
            Cell = FFresh;
            FFresh += CellSize;
        }
        ++FLive;
        return Cell;
    }

    void Give(void* P)
    {
        TFreeCell* Cell = static_cast<TFreeCell*>(P);
        Cell->Next = FFree;
        FFree = Cell;
        if (--FLive == 0)
            ReleaseSlabs();
    }

private:
    struct TFreeCell {
        TFreeCell* Next;
    };
    // At the start of every slab; the cells follow.
    struct alignas(16) TSlab {
        TSlab* Next;
    };

    static constexpr std::size_t CellSize = sizeof(TlxTreeViewNode);
    static constexpr std::size_t FirstSlabBytes = 64 * CellSize;
    static constexpr std::size_t LargePageBytes = std::size_t(2) << 20;
    static_assert(CellSize >= sizeof(TFreeCell), "a free cell holds its link");
    static_assert(CellSize % alignof(TlxTreeViewNode) == 0 && sizeof(TSlab) % alignof(TlxTreeViewNode) == 0,
                  "cells stay aligned");

    void AddSlab()
    {
        const std::size_t Bytes = FSlabBytes;
        void* Memory = Bytes == LargePageBytes ? AllocateLargePage() : std::malloc(Bytes);
        if (!Memory)
            throw std::bad_alloc();
        TSlab* Slab = static_cast<TSlab*>(Memory);
        Slab->Next = FSlabs;
        FSlabs = Slab;
        FFresh = reinterpret_cast<char*>(Slab + 1);
        FFreshEnd = FFresh + (Bytes - sizeof(TSlab)) / CellSize * CellSize;
        FSlabBytes = std::min(2 * FSlabBytes, LargePageBytes);
    }

    static void* AllocateLargePage()
    {
        void* Memory = std::aligned_alloc(LargePageBytes, LargePageBytes);
#ifdef MADV_HUGEPAGE
        if (Memory)
            madvise(Memory, LargePageBytes, MADV_HUGEPAGE);
#endif
        return Memory;
    }

    void ReleaseSlabs()
    {
        while (FSlabs) {
            TSlab* Next = FSlabs->Next;
            std::free(FSlabs);
            FSlabs = Next;
        }
        FFree = nullptr;
        FFresh = FFreshEnd = nullptr;
        FSlabBytes = FirstSlabBytes;
    }

    TFreeCell* FFree = nullptr;
    char* FFresh = nullptr;
    char* FFreshEnd = nullptr;
    TSlab* FSlabs = nullptr;
    std::size_t FLive = 0;
    std::size_t FSlabBytes = FirstSlabBytes;
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
