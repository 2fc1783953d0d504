// Emptying the multi-selection.
#include <vector>

#include "control/lxTreeViewControl.h"

// Every selected node is deselected with the list frozen, then the list is emptied at
// once (also of nodes whose deselection a handler refused), and one change is reported.
// A handler's exception does not stop the walk; the first one is passed on at the end.
void TCustomlxTreeView::ClearSelection()
{
    if (FItems->GetSelectedCount() == 0)
        return;
    std::vector<TlxTreeViewNode*> selected;
    for (int i = 0; i < FItems->FSelection.Count(); ++i)
        selected.push_back(FItems->FSelection.Get(i));
    std::exception_ptr failure;
    ++FItems->FSelectionLock;
    FItems->FBulkSelecting = true;
    for (TlxTreeViewNode* node : selected) {
        try {
            FItems->SelectNode(node, stReset);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    for (TlxTreeViewNode* node : selected)
        node->FMaybeSelected = false;
    FItems->FSelection.Clear();
    FItems->FBulkSelecting = false;
    try {
        DoChange(nullptr);
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    --FItems->FSelectionLock;
    if (failure)
        std::rethrow_exception(failure);
}
