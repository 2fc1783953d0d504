// TlxTreeViewNodes' operations on many selected nodes at once: ranges, toggled ranges,
// select all and delete selected. Each of them sets FBulkSelecting, so that the single
// selections report nothing, and reports one change at its end. Application handlers
// run for every node (OnChanging may refuse one, which skips only that node) and may
// raise or delete nodes: the walk goes on, and the first exception reaches the caller
// once the selection list and the native items agree again.
#include <algorithm>
#include <unordered_set>
#include <utility>
#include <vector>

#include "model/ControlBridge.h"
#include "model/lxTreeView.h"
#include "platform/win/FirstError.h"


// ---- Walking a list of nodes while handlers run ----

TlxTreeViewNodes::TNodeWalk::TNodeWalk(TlxTreeViewNodes& Owner, std::vector<TlxTreeViewNode*> Nodes)
    : FOwner(Owner), FNodes(std::move(Nodes))
{
    FOwner.FWalks.push_back(this);
}

TlxTreeViewNodes::TNodeWalk::~TNodeWalk()
{
    auto& Walks = FOwner.FWalks;
    Walks.erase(std::find(Walks.begin(), Walks.end(), this));
}

TlxTreeViewNode* TlxTreeViewNodes::TNodeWalk::At(std::size_t Position) const
{
    TlxTreeViewNode* Node = FNodes[Position];
    return FGone.empty() || !FGone.count(Node) ? Node : nullptr;
}

void TlxTreeViewNodes::NodeLeaving(TlxTreeViewNode* Node)
{
    for (TNodeWalk* Walk : FWalks)
        Walk->FGone.insert(Node);
    DropFromSelection(Node);
}

// ---- Bulk operations ----

bool TlxTreeViewNodes::OwnsNode(const TlxTreeViewNode* Node) const
{
    return Node && Node->Owner() == this && Node != FRoot && !Node->FDeleting;
}

std::exception_ptr TlxTreeViewNodes::SelectEach(TNodeWalk& Walk, TSelectType SelectType)
{
    TFirstError Error;
    for (std::size_t I = 0; I < Walk.Size(); ++I)
        if (TlxTreeViewNode* Node = Walk.At(I))
            Error.Run([&] { SelectNode(Node, SelectType); });
    return Error.Take();
}

// The visible nodes from the earlier end to the later one in document order.
std::vector<TlxTreeViewNode*> TlxTreeViewNodes::VisibleRange(TlxTreeViewNode* Node1, TlxTreeViewNode* Node2) const
{
    TlxTreeViewNode* First = Node1;
    TlxTreeViewNode* Last = Node2;
    if (First->GetAbsoluteIndex() > Last->GetAbsoluteIndex())
        std::swap(First, Last);
    std::vector<TlxTreeViewNode*> Range;
    for (TlxTreeViewNode* Node = First; Node; Node = Node->GetNextVisible()) {
        Range.push_back(Node);
        if (Node == Last)
            break;
    }
    return Range;
}

void TlxTreeViewNodes::SelectNodes(TlxTreeViewNode* Node1, TlxTreeViewNode* Node2, bool AddOnly)
{
    if (!OwnsNode(Node1) || !OwnsNode(Node2))
        return;
    TFirstError Error;
    TlxTreeViewNode* const Last = Node1->GetAbsoluteIndex() > Node2->GetAbsoluteIndex() ? Node1 : Node2;
    {
        TBulkSelectingScope Bulk(*this);
        std::vector<TlxTreeViewNode*> Range = VisibleRange(Node1, Node2);
        std::vector<TlxTreeViewNode*> Outside;
        if (!AddOnly) {
            const std::unordered_set<const TlxTreeViewNode*> InRange(Range.begin(), Range.end());
            for (int I = 0; I < FSelection.Count(); ++I)
                if (!InRange.count(FSelection.List()[I]))
                    Outside.push_back(FSelection.List()[I]);
        }
        std::vector<TlxTreeViewNode*> ToSelect;
        for (TlxTreeViewNode* Node : Range)
            if (!Node->FInSelection)
                ToSelect.push_back(Node);
        TNodeWalk Deselect(*this, std::move(Outside));
        TNodeWalk Select(*this, std::move(ToSelect));
        Error.Keep(SelectEach(Deselect, stReset));
        Error.Keep(SelectEach(Select, stSet));
    }
    TNodeWalk Notified(*this, {Last});
    if (TlxTreeViewNode* Node = Notified.At(0))
        Error.Run([&] { lxControl::DoChange(FOwner, Node); });
    Error.RethrowIfAny();
}

void TlxTreeViewNodes::ToggleSelectionRange(TlxTreeViewNode* FromNode, TlxTreeViewNode* ToNode)
{
    if (FromNode == ToNode || !OwnsNode(FromNode) || !OwnsNode(ToNode))
        return;
    TFirstError Error;
    {
        TBulkSelectingScope Bulk(*this);
        const bool Downward = FromNode->GetAbsoluteIndex() < ToNode->GetAbsoluteIndex();
        std::vector<TlxTreeViewNode*> Between;
        for (TlxTreeViewNode* Node = Downward ? FromNode->GetNextVisible() : FromNode->GetPrevVisible();
             Node && Node != ToNode; Node = Downward ? Node->GetNextVisible() : Node->GetPrevVisible())
            Between.push_back(Node);
        TNodeWalk Walk(*this, std::move(Between));
        Error.Keep(SelectEach(Walk, stToggle));
    }
    TNodeWalk Notified(*this, {ToNode});
    if (TlxTreeViewNode* Node = Notified.At(0))
        Error.Run([&] { lxControl::DoChange(FOwner, Node); });
    Error.RethrowIfAny();
}

void TlxTreeViewNodes::SelectAll()
{
    FillCache();
    if (FCache->Count() == 0)
        return;
    const bool OneLevel = lxControl::Options(FOwner).Contains(roLevelSelection);
    std::vector<TlxTreeViewNode*> Nodes;
    Nodes.reserve(std::size_t(FCache->Count()));
    for (int I = 0; I < FCache->Count(); ++I) {
        TlxTreeViewNode* Node = FCache->List()[I];
        if (!OneLevel || Node->GetLevel() == FSelectionLevel)
            Nodes.push_back(Node);
    }
    TFirstError Error;
    TNodeWalk Notified(*this, {FCache->Last()});
    {
        TBulkSelectingScope Bulk(*this);
        TNodeWalk Walk(*this, std::move(Nodes));
        Error.Keep(SelectEach(Walk, stSet));
    }
    if (TlxTreeViewNode* Node = Notified.At(0))
        Error.Run([&] { lxControl::DoChange(FOwner, Node); });
    Error.RethrowIfAny();
}

// Deletes the nodes of a copy of the list, each only while it is still selected: a
// node whose selected ancestor went before it went with that ancestor, and a node
// that a handler deselected meanwhile stays.
void TlxTreeViewNodes::DeleteSelected()
{
    lxControl::ForgetAnchorIfSelected(FOwner);
    TNodeWalk Walk(*this, std::vector<TlxTreeViewNode*>(FSelection.List(), FSelection.List() + FSelection.Count()));
    TFirstError Error;
    for (std::size_t I = 0; I < Walk.Size(); ++I) {
        TlxTreeViewNode* Node = Walk.At(I);
        if (Node && Node->FInSelection)
            Error.Run([Node] { Node->Delete(); });
    }
    if (GetCount() == 0)
        Error.Run([this] { lxControl::DoChange(FOwner, nullptr); });
    InvalidateItemCache();
    Error.RethrowIfAny();
}

// ---- Walking the selection ----

void TlxTreeViewNodes::UnlockSelection()
{
    if (FSelectionLock > 0)
        --FSelectionLock;
}

// The node's place in the list near the place found last, or -1. The search starts
// just beyond that place, where a walk by GetNextSelected asks next, and goes down
// from there, where nodes deselected one after another in their selection order lie.
int TlxTreeViewNodes::SelectionIndexNearCursor(const TlxTreeViewNode* Node) const
{
    return FSelection.IndexNear(Node, FSelectionCursor + 1);
}

// The node's place in the list; a walk over the whole list stays linear.
int TlxTreeViewNodes::SelectionPosition(const TlxTreeViewNode* Node) const
{
    if (!IsInSelection(Node))
        return -1;
    const int Near = SelectionIndexNearCursor(Node);
    return FSelectionCursor = Near >= 0 ? Near : FSelection.IndexOf(Node);
}

TlxTreeViewNode* TlxTreeViewNode::GetNextSelected() const
{
    const TlxTreeViewNodes* Nodes = Owner();
    const int At = Nodes->SelectionPosition(this);
    if (At < 0 || At + 1 >= Nodes->FSelection.Count())
        return nullptr;
    return Nodes->FSelection.List()[At + 1];
}

TlxTreeViewNode* TlxTreeViewNode::GetPrevSelected() const
{
    const TlxTreeViewNodes* Nodes = Owner();
    const int At = Nodes->SelectionPosition(this);
    return At > 0 ? Nodes->FSelection.List()[At - 1] : nullptr;
}
