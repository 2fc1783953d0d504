// Moving a node with its subtree: the node objects, their fields and child lists stay;
// their native items are made anew at the new place, children in their order and with
// their own expansion.
#include <algorithm>
#include <utility>

#include "model/CheckGlyphs.h"
#include "model/ControlBridge.h"
#include "model/lxTreeView.h"
#include "platform/win/FirstError.h"
#include "platform/win/WinApi.h"

namespace {

TAddMode AddModeFor(TNodeAttachMode Mode, const TlxTreeViewNode* Destination)
{
    if (!Destination)
        return taAdd; // without a destination the node goes to the end of the top level
    switch (Mode) {
    case naAddFirst:
    case naAddChildFirst: return taAddFirst;
    case naInsert: return taInsert;
    default: return taAdd;
    }
}

// Holds a counter above 0 for a scope, also when the scope ends by an exception.
class TCountScope {
public:
    explicit TCountScope(int& Count) : FCount(Count) { ++FCount; }
    ~TCountScope() { --FCount; }
    TCountScope(const TCountScope&) = delete;
    TCountScope& operator=(const TCountScope&) = delete;

private:
    int& FCount;
};

} // namespace

// During the move OnChanging and OnChange are set aside and the selection list is
// frozen: the native caret wanders while old items go, and that must neither report
// nor change which nodes are selected. A caret inside the moved subtree is taken off
// first, so deleting the old items moves it nowhere; the remembered current node is
// made current again at the end, also when the move raised.
void TlxTreeViewNode::MoveTo(TlxTreeViewNode* Destination, TNodeAttachMode Mode)
{
    TlxTreeViewNodes* const Nodes = Owner();
    if (Destination && Destination->Owner() != Nodes)
        return;
    TCustomlxTreeView* Control = GetlxTreeView();
    TlxTreeViewNode* const Caret = CaretNode();
    TlxTreeViewNodes::TNodeWalk Remembered(*Nodes, {Caret});
    lxControl::TChangeHandlers Handlers = lxControl::SwapChangeHandlers(Control, {});
    Nodes->LockSelection();
    // Every item of the subtree is made and deleted anew: the window settles its layout
    // once at the end, unless the application holds its redrawing already.
    const bool Batch = !Nodes->IsUpdating();
    if (Batch)
        SendMessageA(GetHandle(), WM_SETREDRAW, 0, 0);
    TFirstError Failure;
    Failure.Run([&] {
        if (Destination && Destination->HasAsParent(this))
            return; // onto itself or into its own subtree: nothing happens
        if (Caret && Caret->HasAsParent(this))
            SendMessageA(GetHandle(), TVM_SELECTITEM, TVGN_CARET, 0);
        {
            TCountScope Hold(Nodes->FResortHold);
            MoveSubtree(Destination, Mode);
        }
        ResortAfterMove();
    });
    if (Batch)
        Failure.Run([&] { SendMessageA(GetHandle(), WM_SETREDRAW, 1, 0); });
    Failure.Run([&] { RestoreCaret(Remembered.At(0)); });
    Nodes->UnlockSelection();
    lxControl::SwapChangeHandlers(Control, std::move(Handlers));
    Failure.RethrowIfAny();
}

// Takes the node out of its old parent's list, makes its items under the new parent
// and enters it in the new parent's list where Mode says.
void TlxTreeViewNode::MoveSubtree(TlxTreeViewNode* Destination, TNodeAttachMode Mode)
{
    const bool AsChild = Mode == naAddChild || Mode == naAddChildFirst;
    TlxTreeViewNode* NewParent = !Destination ? Owner()->FRoot : AsChild ? Destination : Destination->Up();
    const TAddMode AddMode = AddModeFor(Mode, Destination);
    const HTREEITEM ParentItem = NewParent->FItemId;
    if (const int At = GetIndex(); At >= 0)
        Up()->FChildren.Delete(At);
    InternalMove(NewParent == Owner()->FRoot ? nullptr : NewParent, Destination, ParentItem, AddMode);
    TlxTreeNodeList& Siblings = NewParent->FChildren;
    int At = Siblings.Count();
    if (AddMode == taAddFirst)
        At = 0;
    else if (AddMode == taInsert)
        At = std::min(Destination->GetIndex() + 1, Siblings.Count());
    Siblings.Insert(At, this);
    FIndexHint = At;
    lxControl::SetCheckImage(GetlxTreeView(), this, lxCheckGlyph::PlacedUnder(NewParent->FCheckType));
    NewParent->SetChildren(true);
    NewParent->SetExpanded(true);
}

// Makes this node's native item anew under ParentItem (after Node's item for
// taInsert), and its descendants' under it. The old item loses its node before it is
// deleted, so its deletion report frees nothing. The node's position in its new
// parent's list is MoveSubtree's business; the children keep their lists.
void TlxTreeViewNode::InternalMove(TlxTreeViewNode* ParentNode, TlxTreeViewNode* Node, HTREEITEM ParentItem,
                                   TAddMode AddMode)
{
    const HTREEITEM Target = AddMode == taInsert && Node ? Node->FItemId : nullptr;
    TlxTreeViewNodes* const Nodes = Owner();
    const bool HadChildren = GetChildren();
    const bool WasSelected = GetSelected();
    const bool WasExpanded = FExpanded;
    if (Up() && Up()->FChildren.Count() == 0)
        Up()->CollapseAsChildless();
    const HTREEITEM OldItem = FItemId;
    SetItemParam(0);
    const HTREEITEM NewItem = Nodes->AddItem(ParentItem, Target, Nodes->CreateItem(this), AddMode);
    if (!NewItem) {
        SetItemParam(LPARAM(this)); // the old item keeps owning the node
        throw EOutOfResources(sInsertError);
    }
    // Each child goes first under the new item, from the last: they end in their order.
    for (int I = FChildren.Count() - 1; I >= 0; I = std::min(I - 1, FChildren.Count() - 1))
        FChildren.List()[I]->InternalMove(this, nullptr, NewItem, taAddFirst);
    SendItemMessage(TVM_DELETEITEM, 0, LPARAM(OldItem));
    FItemId = NewItem;
    SetUp(ParentNode ? ParentNode : Nodes->FRoot);
    Assign(this); // sends every attribute to the new item
    SetChildren(HadChildren);
    if (WasSelected)
        Nodes->SelectNode(this, stSet);
    SetExpanded(WasExpanded);
    Nodes->InvalidateItemCache();
}

void TlxTreeViewNode::SetItemParam(LPARAM Value)
{
    TVITEMEXA Item;
    Item.mask = TVIF_PARAM;
    Item.lParam = Value;
    SetItemFields(Item);
}

TlxTreeViewNode* TlxTreeViewNode::CaretNode() const
{
    return Owner()->GetNode(reinterpret_cast<HTREEITEM>(SendMessageA(GetHandle(), TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

// Makes Node current again when the move left another caret (or none). The selection
// list is still frozen, so the node's selected look is then set from its membership;
// the change the caret reports is not passed on later either.
void TlxTreeViewNode::RestoreCaret(TlxTreeViewNode* Node)
{
    if (CaretNode() == Node)
        return;
    SendMessageA(GetHandle(), TVM_SELECTITEM, TVGN_CARET, LPARAM(Node ? Node->FItemId : nullptr));
    if (Node)
        Node->SetItemState(TVIF_STATE, TVIS_SELECTED, Node->FInSelection ? TVIS_SELECTED : 0);
    lxControl::StopChangeTimer(GetlxTreeView());
}
