// TlxTreeViewNodes' selection list: the selected nodes in the order of selection.
#include "model/lxTreeView.h"

void TlxTreeViewNodes::AddToSelection(TlxTreeViewNode* Node)
{
    if (FSelectionLock > 0)
        return;
    if (FSelection.IndexOf(Node) < 0)
        FSelection.Add(Node);
}

void TlxTreeViewNodes::RemoveFromSelection(TlxTreeViewNode* Node)
{
    if (FSelectionLock > 0)
        return;
    FSelection.Remove(Node);
}

bool TlxTreeViewNodes::IsInSelection(const TlxTreeViewNode* Node) const
{
    return FSelection.IndexOf(Node) >= 0;
}
