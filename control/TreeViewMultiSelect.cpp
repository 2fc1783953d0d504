// What a click with modifier keys and a rubber band make of the multi-selection.
#include <algorithm>

#include "control/lxTreeViewControl.h"

// Ctrl toggles the clicked node and keeps the previous caret node's membership; Shift
// selects the visible range from the anchor; Ctrl+Shift adds the range from the
// previous caret node; a plain click selects the node alone and makes it the anchor.
void TCustomlxTreeView::HandleMultiSelection(TlxTreeViewNode* PrevNode, TSelectType PrevSelectType, TShiftState Shift,
                                             TSelectType NodeSelectType, TlxTreeViewNode* Node)
{
    const bool Ctrl = Shift.Contains(ssCtrl);
    const bool Range = Shift.Contains(ssShift);
    TlxTreeViewNodes::TNodeWalk Nodes(*FItems, {PrevNode, Node});
    if (Ctrl && !Range) {
        if (PrevNode)
            FItems->SelectNode(PrevNode, PrevSelectType);
        if (Nodes.At(1))
            FItems->SelectNode(Nodes.At(1), NodeSelectType);
    } else if (Ctrl && Range) {
        if (PrevNode && Node)
            FItems->SelectNodes(PrevNode, Node, true);
    } else if (Range) {
        if (!FAnchorNode)
            FAnchorNode = Node;
        if (FAnchorNode && Node)
            FItems->SelectNodes(FAnchorNode, Node, false);
    } else if (Node) {
        ClearSelection();
        if (Nodes.At(1))
            FItems->SelectNode(Node, stSet);
        if (Nodes.At(1)) {
            FAnchorNode = Node;
            FItems->FSelectionLevel = Node->Level();
        }
    }
    if (Nodes.At(1))
        FItems->Repaint(Nodes.At(1));
}

namespace {

bool Touches(TlxTreeViewNode* Node, const RECT& Band)
{
    const RECT Label = Node->DisplayRect(true);
    RECT Common;
    return !IsRectEmpty(&Label) && IntersectRect(&Common, &Label, &Band);
}

} // namespace

// The visible nodes whose rows lie between the band's top and bottom, as far as the
// client area shows them: rows scrolled out of view enter the band as they scroll in.
std::vector<TlxTreeViewNode*> TCustomlxTreeView::RowsUnderBand(const RECT& Rect, TlxTreeViewNode*& Last)
{
    const int Bottom = ClientHeight() - 1;
    TlxTreeViewNode* First = GetNodeAt(0, std::clamp<int>(Rect.top, 0, std::max(0, Bottom)));
    if (!First)
        First = GetTopItem();
    Last = GetNodeAt(ClientWidth() - 1, std::clamp<int>(Rect.bottom, 0, std::max(0, Bottom)));
    std::vector<TlxTreeViewNode*> Rows;
    for (TlxTreeViewNode* Node = First; Node; Node = Node->GetNextVisible()) {
        Rows.push_back(Node);
        if (Node == Last || Node->DisplayRect(false).bottom > std::min<int>(Rect.bottom, Bottom))
            break;
    }
    return Rows;
}

// The band selects the nodes whose labels it touches. Without Ctrl, nodes it leaves
// are deselected again; with Ctrl it toggles, and nodes it leaves toggle back. Only
// the rows under the band are visited, so a move costs what the band covers, not what
// the tree holds.
void TCustomlxTreeView::HandleDrawSelection(TShiftState Shift, const RECT& Rect)
{
    TlxTreeViewNode* Last = nullptr;
    std::vector<TlxTreeViewNode*> Rows = RowsUnderBand(Rect, Last);
    const bool Toggle = Shift.Contains(ssCtrl);
    bool Changed = false;
    TFirstError Error;
    {
        TBulkSelectingScope Bulk(*FItems);
        TlxTreeViewNodes::TNodeWalk Visible(*FItems, std::move(Rows));
        auto Select = [&](TlxTreeViewNode* Node, TSelectType Type) {
            Changed = true;
            Error.Run([&] { FItems->SelectNode(Node, Type); });
        };
        // Takes the band's nodes that it no longer touches out of it, from the last.
        auto DropLeft = [&](TSelectType Type) {
            for (std::size_t I = FBandNodes.size(); I-- > 0;) {
                TlxTreeViewNode* Node = FBandNodes[I];
                if (Touches(Node, Rect))
                    continue;
                FBandNodes.erase(FBandNodes.begin() + std::ptrdiff_t(I));
                FBandMembers.erase(Node);
                Select(Node, Type);
            }
        };
        if (!Toggle)
            DropLeft(stReset);
        for (std::size_t I = 0; I < Visible.Size(); ++I) {
            TlxTreeViewNode* Node = Visible.At(I);
                    if (Node && !FBandMembers.count(Node) && Touches(Node, Rect)) {
                FBandNodes.push_back(Node);
                FBandMembers.insert(Node);
                Select(Node, Toggle ? stToggle : stSet);
            }
        }
        if (Toggle)
            DropLeft(stToggle);
    }
    if (Changed) {
        TlxTreeViewNodes::TNodeWalk Reported(*FItems, {Last});
        Error.Run([&] { DoChange(Reported.At(0)); });
    }
    Error.RethrowIfAny();
}
