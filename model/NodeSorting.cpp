// Sorting a node's children: the native items and the child list each follow their
// own default comparison unless the caller gives one for both.
#include <exception>
#include <vector>

#include "model/ControlBridge.h"
#include "model/NodeSortKeys.h"
#include "model/NodeWalk.h"
#include "model/lxTreeView.h"
#include "platform/win/WinApi.h"

bool TlxTreeViewNode::AlphaSort()
{
    return CustomSort(nullptr, 0);
}

bool TlxTreeViewNode::CustomSort(TlxTreeViewCompare SortProc, LPARAM Data)
{
    return SortLevel(GetlxTreeView(), FItemId, SortProc, Data);
}

// A comparison from the application (SortProc or OnCompare) is called as often and
// in the order it always was; the default rules are worked out on keys instead.
bool TlxTreeViewNode::SortLevel(TCustomlxTreeView* Control, HTREEITEM ParentItem, TlxTreeViewCompare SortProc,
                                LPARAM Data)
{
    if (!SortProc && !lxControl::HasCompareHandler(Control))
        return SortLevelByKeys(Control, ParentItem);
    return SortLevelByCompare(Control, ParentItem, SortProc, Data);
}

// The native items go first: the engine relinks them only after its last comparison,
// so a comparison that raises leaves them as they were. The child list is sorted in
// place; when a comparison raises there, the list is a permutation of what it was,
// and the native items are put into that order, so both still agree. A null
// ParentItem (a node without an item) sorts the list only.
bool TlxTreeViewNode::SortLevelByCompare(TCustomlxTreeView* Control, HTREEITEM ParentItem,
                                         TlxTreeViewCompare SortProc, LPARAM Data)
{
    const HWND Wnd = GetHandle();
    lxControl::TSortCall Call{Control, Data};
    const LPARAM Param = SortProc ? Data : LPARAM(&Call);
    TVSORTCB Sort;
    Sort.hParent = ParentItem;
    Sort.lpfnCompare = SortProc ? SortProc : &lxControl::NativeCompareOf;
    Sort.lParam = Param;
    const bool Result = ParentItem && SendMessageA(Wnd, TVM_SORTCHILDRENCB, 0, LPARAM(&Sort)) != 0;
    std::exception_ptr Failure;
    try {
        FChildren.Sort(SortProc ? SortProc : &lxControl::ModelCompareOf, Param);
    } catch (...) {
        Failure = std::current_exception();
    }
    RenumberChildren();
    if (Failure)
        MatchNativeOrder(ParentItem);
    Owner()->InvalidateItemCache();
    if (Failure)
        std::rethrow_exception(Failure);
    return Result;
}

// Both orders are worked out before either is made, so nothing that could raise runs
// between the two reorderings. A list of fewer than two has no keys to make (and a
// leaf gets no child list), but its native items are still told their order.
bool TlxTreeViewNode::SortLevelByKeys(TCustomlxTreeView* Control, HTREEITEM ParentItem)
{
    GetHandle();
    const int Count = FChildren.Count();
    TlxTreeViewNode* const* Children = FChildren.List();
    lxModel::TNativeRanks NativeOrder;
    std::vector<TlxTreeViewNode*> ModelOrder;
    if (Count >= 2) {
        if (ParentItem)
            NativeOrder = lxModel::NativeKeyRanks(Children, Count);
        ModelOrder = lxModel::ModelKeyOrder(Children, Count, lxControl::SortType(Control));
    } else if (Count == 1) {
        NativeOrder.Items.push_back(Children[0]->FItemId);
    }
    const bool Result = ParentItem && OrderNativeChildren(ParentItem, NativeOrder);
    if (!ModelOrder.empty()) {
        TlxTreeNodeList& List = FChildren;
        for (int I = 0; I < Count; ++I)
            List.Put(I, ModelOrder[std::size_t(I)]);
    }
    RenumberChildren();
    Owner()->InvalidateItemCache();
    return Result;
}

// The native items under ParentItem by their ranks (none: the items' given order).
// Should the engine refuse them (its items are not those of the child list) they get
// the default native comparison's order.
bool TlxTreeViewNode::OrderNativeChildren(HTREEITEM ParentItem, const lxModel::TNativeRanks& Order)
{
    TVORDERCHILDREN Request;
    Request.hParent = ParentItem;
    Request.phItems = Order.Items.data();
    Request.puKeys = Order.Ranks.empty() ? nullptr : Order.Ranks.data();
    Request.cItems = UINT(Order.Items.size());
    if (SendMessageA(GetHandle(), TVM_ORDERCHILDREN, 0, LPARAM(&Request)))
        return true;
    TVSORTCB Sort;
    Sort.hParent = ParentItem;
    Sort.lpfnCompare = &lxControl::DefaultNativeCompare;
    Sort.lParam = 0;
    return SendMessageA(GetHandle(), TVM_SORTCHILDRENCB, 0, LPARAM(&Sort)) != 0;
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
    if (!Up() || Owner()->FResortHold > 0)
        return;
    if (Up() == Owner()->FRoot)
        lxControl::AlphaSort(GetlxTreeView());
    else
        Up()->AlphaSort();
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
    if (Up() == Owner()->FRoot) {
        lxControl::AlphaSort(Control);
        return;
    }
    Up()->AlphaSort();
    if (FChildren.Count() > 0)
        SortLevel(Control, FItemId, nullptr, 0);
    SortDescendantLevels(Control, nullptr, 0);
}

// Sorting a node's children does not move the node itself, so the walk meets each
// node once, and the lists it reads are already sorted.
void TlxTreeViewNode::SortDescendantLevels(TCustomlxTreeView* Control, TlxTreeViewCompare SortProc, LPARAM Data)
{
    WalkDescendants(this, [&](TlxTreeViewNode* Node, int) {
        if (Node->FChildren.Count() > 0)
            Node->SortLevel(Control, Node->FItemId, SortProc, Data);
    });
}
