// Memory for nodes. A big tree holds a million nodes, so nodes of exactly the base
// class come from slabs with a free list: no allocator header per node and good
// locality for walks. Nodes of application subclasses (other sizes) use the global
// allocator. Sanitizer builds always use the global allocator so that every node is
// tracked on its own.
#include <new>

#include "model/lxTreeView.h"

#ifndef LX_SANITIZE

namespace {

// Cells of sizeof(TlxTreeViewNode) bytes carved from slabs that double in size up to
// a limit. Everything runs on the UI thread, so the pool takes no locks. When the
// last node goes, the slabs are released.
class TNodePool {
public:
    void* Take()
    {
        if (!FFree)
            AddSlab();
        TFreeCell* Cell = FFree;
        FFree = Cell->Next;
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
    // A slab's first cell-sized block holds its header; the cells follow.
    struct TSlab {
        TSlab* Next;
    };

    static constexpr std::size_t CellSize = sizeof(TlxTreeViewNode);
    static constexpr std::size_t FirstSlabCells = 64;
    static constexpr std::size_t MaxSlabCells = 8192;
    static_assert(CellSize >= sizeof(TFreeCell) && CellSize >= sizeof(TSlab), "a cell holds a link");
    static_assert(CellSize % alignof(TlxTreeViewNode) == 0, "cells stay aligned");

    void AddSlab()
    {
        char* Block = static_cast<char*>(::operator new((FSlabCells + 1) * CellSize));
        TSlab* Slab = reinterpret_cast<TSlab*>(Block);
        Slab->Next = FSlabs;
        FSlabs = Slab;
        // Thread the cells onto the free list so they are handed out in address order.
        for (std::size_t I = FSlabCells; I >= 1; --I) {
            TFreeCell* Cell = reinterpret_cast<TFreeCell*>(Block + I * CellSize);
            Cell->Next = FFree;
            FFree = Cell;
        }
        if (FSlabCells < MaxSlabCells)
            FSlabCells *= 2;
    }

    void ReleaseSlabs()
    {
        while (FSlabs) {
            TSlab* Next = FSlabs->Next;
            ::operator delete(FSlabs);
            FSlabs = Next;
        }
        FFree = nullptr;
        FSlabCells = FirstSlabCells;
    }

    TFreeCell* FFree = nullptr;
    TSlab* FSlabs = nullptr;
    std::size_t FLive = 0;
    std::size_t FSlabCells = FirstSlabCells;
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
