// Emptying the multi-selection.
#include "control/lxTreeViewControl.h"

// Every selected node is deselected with the list frozen, then the list is emptied at
// once (also of nodes whose deselection a handler refused), and one change is reported.
// A handler's exception does not stop the walk; the first one is passed on at the end.
// A handler may even delete nodes: a deleted node leaves the list, so the walk reads
// the list itself, never a copy that could hold freed nodes.
void TCustomlxTreeView::ClearSelection()
{
    if (FItems->GetSelectedCount() == 0)
        return;
    TlxTreeNodeList& selection = FItems->FSelection;
    TFirstError failure;
    ++FItems->FSelectionLock;
    FItems->FBulkSelecting = true;
    for (int i = 0; i < selection.Count();) {
        TlxTreeViewNode* node = selection.List()[i];
        failure.Run([&] { FItems->SelectNode(node, stReset); });
        if (i < selection.Count() && selection.List()[i] == node)
            ++i;
    }
    for (int i = 0; i < selection.Count(); ++i)
        selection.List()[i]->FInSelection = false;
    selection.Clear();
    FItems->FBulkSelecting = false;
    failure.Run([this] { DoChange(nullptr); });
    --FItems->FSelectionLock;
    failure.RethrowIfAny();
}
