// Memory for nodes. A big tree holds a million nodes, so nodes of exactly the base
// class come from slabs: no allocator header per node and good locality for walks.
// Nodes of application subclasses (other sizes) use the global allocator. Sanitizer
// builds always use the global allocator so that every node is tracked on its own.
#include <cstddef>
#include <new>

#include "model/lxTreeView.h"
#include "platform/memory/SlabPool.h"

#ifndef LX_SANITIZE

namespace {

// Cells are handed out lowest address first. Trees are built in document order, so a
// tree built after its predecessor was cleared (or loaded over it) lies in memory in
// document order again, whatever order sorting, moving and deleting left the old nodes in.
using TNodePool = TSlabPool<sizeof(TlxTreeViewNode), alignof(TlxTreeViewNode)>;

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
