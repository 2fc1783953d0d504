// TlxTreeViewNodes' selection list: the selected nodes in the order of selection.
// Each node's FMaybeSelected spares the search of the list for nodes that are
// certainly not in it, so selecting or deleting many nodes stays linear.
#include "model/ControlBridge.h"
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

// The one primitive that changes a node's selection: the application may refuse it,
// roLevelSelection keeps other levels out, the native item shows the new state, and
// the change is reported unless a bulk operation reports once at its end.
void TlxTreeViewNodes::SelectNode(TlxTreeViewNode* Node, TSelectType SelectType)
{
    if (!Node || !lxControl::CanChange(FOwner, Node))
        return;
    const bool Select = SelectType == stSet || (SelectType == stToggle && !IsInSelection(Node));
    if (Select) {
        if (lxControl::Options(FOwner).Contains(roLevelSelection) && Node->GetLevel() != FSelectionLevel)
            return;
        AddToSelection(Node);
    } else {
        RemoveFromSelection(Node);
    }
    Node->SetItemState(TVIF_STATE, TVIS_SELECTED, Select ? TVIS_SELECTED : 0);
    if (!FBulkSelecting)
        lxControl::DoChange(FOwner, Node);
}

bool TlxTreeViewNode::GetSelected() const
{
    return FOwner->IsInSelection(this);
}

void TlxTreeViewNode::SetSelected(bool Value)
{
    FOwner->SelectNode(this, Value ? stSet : stReset);
}
