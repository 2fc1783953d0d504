// Sorting a node's children: the native items and the child list each follow their
// own default comparison unless the caller gives one for both.
#include <exception>

#include "model/ControlBridge.h"
#include "model/lxTreeView.h"
#include "platform/win/WinApi.h"

bool TlxTreeViewNode::AlphaSort()
{
    return CustomSort(nullptr, 0);
}

bool TlxTreeViewNode::CustomSort(TlxTreeViewCompare SortProc, LPARAM Data)
{
    return SortLevel(FItemId, SortProc, Data);
}

// The native items go first: the engine relinks them only after its last comparison,
// so a comparison that raises leaves them as they were. The child list is sorted in
// place; when a comparison raises there, the list is a permutation of what it was,
// and the native items are put into that order, so both still agree. A null
// ParentItem (a node without an item) sorts the list only.
bool TlxTreeViewNode::SortLevel(HTREEITEM ParentItem, TlxTreeViewCompare SortProc, LPARAM Data)
{
    const HWND Wnd = GetHandle();
    TVSORTCB Sort;
    Sort.hParent = ParentItem;
    Sort.lpfnCompare = SortProc ? SortProc : &lxControl::DefaultNativeCompare;
    Sort.lParam = Data;
    const bool Result = ParentItem && SendMessageA(Wnd, TVM_SORTCHILDRENCB, 0, LPARAM(&Sort)) != 0;
    std::exception_ptr Failure;
    try {
        FChildren.Sort(SortProc ? SortProc : &lxControl::DefaultModelCompare, Data);
    } catch (...) {
        Failure = std::current_exception();
    }
    RenumberChildren();
    if (Failure)
        MatchNativeOrder(ParentItem);
    FOwner->InvalidateItemCache();
    if (Failure)
        std::rethrow_exception(Failure);
    return Result;
}

// Sorts the native items under ParentItem by their nodes' renumbered positions: cheap
// integer comparisons that cannot raise.
void TlxTreeViewNode::MatchNativeOrder(HTREEITEM ParentItem)
{
    if (!ParentItem)
        return;
    TVSORTCB Sort;
    Sort.hParent = ParentItem;
    Sort.lpfnCompare = [](LPARAM Node1, LPARAM Node2, LPARAM) {
        return reinterpret_cast<const TlxTreeViewNode*>(Node1)->FIndexHint -
               reinterpret_cast<const TlxTreeViewNode*>(Node2)->FIndexHint;
    };
    Sort.lParam = 0;
    SendMessageA(GetHandle(), TVM_SORTCHILDRENCB, 0, LPARAM(&Sort));
}

// A top-level node re-sorts the whole tree; a deeper one only its siblings. While
// nodes move nothing re-sorts: the move sorts once they have their places.
void TlxTreeViewNode::ResortAfterChange()
{
    if (!FParent || FOwner->FResortHold > 0)
        return;
    if (FParent == FOwner->FRoot)
        lxControl::AlphaSort(GetlxTreeView());
    else
        FParent->AlphaSort();
}

// What the moved nodes' own Text and Data would have re-sorted, done once they are in
// place: the new siblings (the whole tree for a top-level node) and every level of the
// moved subtree. So the child lists and the native items agree after a move.
void TlxTreeViewNode::ResortAfterMove()
{
    TCustomlxTreeView* Control = GetlxTreeView();
    const TSortType Sort = lxControl::SortType(Control);
    const bool ByText = Sort == stText || Sort == stBoth;
    const bool ByData = (Sort == stData || Sort == stBoth) && lxControl::HasCompareHandler(Control);
    if (!ByText && !ByData)
        return;
    if (FParent == FOwner->FRoot) {
        lxControl::AlphaSort(Control);
        return;
    }
    FParent->AlphaSort();
    const TlxTreeViewNode* End = NextOutsideSubtree();
    for (TlxTreeViewNode* Node = this; Node && Node != End; Node = Node->GetNext())
        if (Node->FChildren.Count() > 0)
            Node->AlphaSort();
}
