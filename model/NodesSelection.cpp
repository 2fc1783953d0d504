// TlxTreeViewNodes' selection list: the selected nodes in the order of selection.
// Each node's FInSelection answers membership without a search of the list.
#include "model/ControlBridge.h"
#include "model/lxTreeView.h"

void TlxTreeViewNodes::AddToSelection(TlxTreeViewNode* Node)
{
    if (FSelectionLock > 0 || !Node || Node->FInSelection)
        return;
    FSelection.Add(Node);
    Node->FInSelection = true;
}

void TlxTreeViewNodes::RemoveFromSelection(TlxTreeViewNode* Node)
{
    if (FSelectionLock > 0 || !Node)
        return;
    DropFromSelection(Node);
}

// The node is looked for near the place found last, then from both ends of the list
// at once: bulk deletions take the selected nodes in selection order or against it, so
// the node lies near one end, where taking it out of the list moves little.
void TlxTreeViewNodes::DropFromSelection(TlxTreeViewNode* Node)
{
    if (!Node->FInSelection)
        return;
    Node->FInSelection = false;
    int At = SelectionIndexNearCursor(Node);
    TlxTreeViewNode* const* List = FSelection.List();
    for (int Front = 0, Back = FSelection.Count() - 1; At < 0 && Front <= Back; ++Front, --Back)
        At = List[Front] == Node ? Front : List[Back] == Node ? Back : -1;
    if (At >= 0) {
        FSelection.Delete(At);
        FSelectionCursor = At;
    }
}

bool TlxTreeViewNodes::IsInSelection(const TlxTreeViewNode* Node) const
{
    return Node && Node->FInSelection;
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
    return Owner()->IsInSelection(this);
}

void TlxTreeViewNode::SetSelected(bool Value)
{
    Owner()->SelectNode(this, Value ? stSet : stReset);
}
