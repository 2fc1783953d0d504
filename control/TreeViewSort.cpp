// Sorting the whole tree: the native items and the child lists, each with its comparison.
#include "control/lxTreeViewControl.h"

bool TCustomlxTreeView::AlphaSort() { return HandleAllocated() ? CustomSort(nullptr, 0) : false; }

// The top level first, then every node with children in document order: sorting a
// node's children does not move the node itself, so the walk meets each node once.
// Whether a node has children is read from its child list, not asked of its item:
// a million nodes cost no million messages, and an empty list has nothing to sort.
bool TCustomlxTreeView::CustomSort(TlxTreeViewCompare SortProc, LPARAM Data)
{
    bool result = false;
    if (HandleAllocated()) {
        result = FItems->Root()->SortLevel(TVI_ROOT, SortProc, Data);
        if (FItems->Count() > 0)
            for (TlxTreeViewNode* node = FItems->GetFirstNode(); node; node = node->GetNext())
                if (node->Count() > 0)
                    node->CustomSort(SortProc, Data);
    }
    FItems->InvalidateItemCache();
    return result;
}
