// Sorting the whole tree: the native items and the child lists, each with its comparison.
#include <QString>

#include "control/lxTreeViewControl.h"
#include "model/ControlBridge.h"

bool TCustomlxTreeView::AlphaSort() { return HandleAllocated() ? CustomSort(nullptr, 0) : false; }

bool TCustomlxTreeView::CustomSort(TlxTreeViewCompare SortProc, LPARAM Data)
{
    bool result = false;
    if (HandleAllocated()) {
        TVSORTCB sort;
        sort.hParent = TVI_ROOT;
        sort.lpfnCompare = SortProc ? SortProc : &lxControl::DefaultNativeCompare;
        sort.lParam = Data;
        result = SendMessageA(Handle(), TVM_SORTCHILDRENCB, 0, LPARAM(&sort)) != 0;
        FItems->Root()->FChildren.Sort(SortProc ? SortProc : &lxControl::DefaultModelCompare, Data);
        if (FItems->Count() > 0)
            for (TlxTreeViewNode* node = FItems->GetFirstNode(); node; node = node->GetNext())
                if (node->HasChildren())
                    node->CustomSort(SortProc, Data);
    }
    FItems->InvalidateItemCache();
    return result;
}
