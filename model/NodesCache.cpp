// TlxTreeViewNodes' flat index cache: every node in document order, for index access.
#include <vector>

#include "model/lxTreeView.h"

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

    struct TLevel {
        const TlxTreeViewNode* Parent;
        int Next;
    };
    std::vector<TLevel> Path{{FRoot, 0}};
    while (!Path.empty()) {
        TLevel& Level = Path.back();
        if (Level.Next >= Level.Parent->FChildren.Count()) {
            Path.pop_back();
            continue;
        }
        TlxTreeViewNode* Node = Level.Parent->FChildren.List()[Level.Next];
        Node->FIndexHint = Level.Next;
        ++Level.Next;
        Node->FAbsoluteIndexHint = Cache->Add(Node);
        if (Node->FChildren.Count() > 0)
            Path.push_back({Node, 0});
    }
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
