// TlxTreeViewNodes' selection list: the selected nodes in the order of selection.
// Each node's FMaybeSelected spares the search of the list for nodes that are
// certainly not in it, so selecting or deleting many nodes stays linear.
#include "model/lxTreeView.h"

void TlxTreeViewNodes::AddToSelection(TlxTreeViewNode* Node)
{
    if (FSelectionLock > 0 || !Node)
        return;
    if (!IsInSelection(Node))
        FSelection.Add(Node);
    Node->FMaybeSelected = true;
}

void TlxTreeViewNodes::RemoveFromSelection(TlxTreeViewNode* Node)
{
    if (FSelectionLock > 0 || !Node || !Node->FMaybeSelected)
        return;
    FSelection.Remove(Node);
    Node->FMaybeSelected = false;
}

bool TlxTreeViewNodes::IsInSelection(const TlxTreeViewNode* Node) const
{
    return Node && Node->FMaybeSelected && FSelection.IndexOf(Node) >= 0;
}
