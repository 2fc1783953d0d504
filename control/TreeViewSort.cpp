// Sorting the whole tree: the native items and the child lists, each with its comparison.
#include "control/lxTreeViewControl.h"

bool TCustomlxTreeView::AlphaSort() { return HandleAllocated() ? CustomSort(nullptr, 0) : false; }

// The top level first, then every node with children in document order. Whether a
// node has children is read from its child list, not asked of its item: a million
// nodes cost no million messages, and an empty list has nothing to sort.
bool TCustomlxTreeView::CustomSort(TlxTreeViewCompare SortProc, LPARAM Data)
{
    bool result = false;
    if (HandleAllocated()) {
        result = FItems->Root()->SortLevel(this, TVI_ROOT, SortProc, Data);
        FItems->Root()->SortDescendantLevels(this, SortProc, Data);
    }
    FItems->InvalidateItemCache();
    return result;
}
