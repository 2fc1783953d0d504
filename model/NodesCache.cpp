// TlxTreeViewNodes' flat index cache: every node in document order, for index access.
#include "model/NodeWalk.h"

// Lists every node in document order, without recursion, so that deep trees cannot
// exhaust the stack. Each node learns its place in the cache and among its siblings.
void TlxTreeViewNodes::FillCache()
{
    if (FCache)
        return;
    auto Cache = std::make_unique<TlxTreeNodeList>();
    const int Expected = GetCount();
    if (Expected > 0)
        Cache->SetCapacity(Expected);

    TlxTreeViewNode::WalkDescendants(FRoot, [&Cache](TlxTreeViewNode* Node, int Index) {
        Node->FIndexHint = Index;
        Cache->Add(Node);
    });
    FCache = std::move(Cache);
}

void TlxTreeViewNodes::InvalidateItemCache()
{
    FCache.reset();
}

TlxTreeViewNode* TlxTreeViewNodes::GetNodeFromIndex(int Index)
{
    FillCache();
    return FCache->Get(Index);
}

void TlxTreeViewNodes::SetItem(int Index, TlxTreeViewNode* Value)
{
    GetNodeFromIndex(Index)->Assign(Value);
}
