// Sorting a node's children: the native items and the child list each follow their
// own default comparison unless the caller gives one for both.
#include "model/ControlBridge.h"
#include "model/lxTreeView.h"
#include "platform/win/WinApi.h"

bool TlxTreeViewNode::AlphaSort()
{
    return CustomSort(nullptr, 0);
}

bool TlxTreeViewNode::CustomSort(TlxTreeViewCompare SortProc, LPARAM Data)
{
    TVSORTCB Sort;
    Sort.hParent = FItemId;
    Sort.lpfnCompare = SortProc ? SortProc : &lxControl::DefaultNativeCompare;
    Sort.lParam = Data;
    const bool Result = SendItemMessage(TVM_SORTCHILDRENCB, 0, LPARAM(&Sort)) != 0;
    FChildren.Sort(SortProc ? SortProc : &lxControl::DefaultModelCompare, Data);
    RenumberChildren();
    FOwner->InvalidateItemCache();
    return Result;
}
