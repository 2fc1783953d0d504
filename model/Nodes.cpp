// TlxTreeViewNodes: the node collection of one control. Adding nodes with their native
// items, deleting and clearing, window updates and repainting, searching and copying.
#include <algorithm>

#include "model/CheckGlyphs.h"
#include "model/ControlBridge.h"
#include "model/lxTreeView.h"
#include "platform/win/FirstError.h"
#include "platform/win/WinApi.h"

TlxTreeViewNodes::TlxTreeViewNodes(TCustomlxTreeView* AOwner)
    : FOwner(AOwner)
{
    FRoot = new TlxTreeViewNode(this);
    FRoot->FExpanded = true;
}

TlxTreeViewNodes::~TlxTreeViewNodes()
{
    try {
        Clear();
    } catch (...) {
        // An application handler raised while the tree went away: nothing can take it now.
    }
    delete FRoot;
    FRoot = nullptr;
}

// ---- Native items ----

TVITEMEXA TlxTreeViewNodes::CreateItem(TlxTreeViewNode* Node)
{
    TVITEMEXA Item;
    Item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    Item.pszText = LPSTR_TEXTCALLBACKA;
    Item.iImage = I_IMAGECALLBACK;
    Item.iSelectedImage = I_IMAGECALLBACK;
    Item.cChildren = 0;
    Item.lParam = LPARAM(Node);
    Node->FInTree = true;
    // What the new item will hold.
    Node->FChildrenShown = false;
    Node->FMultiHeight = 1;
    return Item;
}

HTREEITEM TlxTreeViewNodes::AddItem(HTREEITEM ParentItem, HTREEITEM Target, const TVITEMEXA& Item, TAddMode AddMode)
{
    InvalidateItemCache();
    TVINSERTSTRUCTA Insert;
    Insert.hParent = ParentItem;
    switch (AddMode) {
    case taAddFirst: Insert.hInsertAfter = TVI_FIRST; break;
    case taAdd: Insert.hInsertAfter = TVI_LAST; break;
    case taInsert: Insert.hInsertAfter = Target; break;
    }
    Insert.item = Item;
    lxControl::StopChangeTimer(FOwner);
    return reinterpret_cast<HTREEITEM>(SendMessageA(GetHandle(), TVM_INSERTITEMA, 0, LPARAM(&Insert)));
}

// ---- Adding ----

TlxTreeViewNode* TlxTreeViewNodes::Add(TlxTreeViewNode* Sibling, const std::string& S)
{
    return AddObject(Sibling, S, nullptr);
}

TlxTreeViewNode* TlxTreeViewNodes::AddObject(TlxTreeViewNode* Sibling, const std::string& S, void* Ptr)
{
    return InternalAddObject(Sibling ? Sibling->GetParent() : nullptr, S, Ptr, taAdd);
}

TlxTreeViewNode* TlxTreeViewNodes::AddFirst(TlxTreeViewNode* Sibling, const std::string& S)
{
    return AddObjectFirst(Sibling, S, nullptr);
}

TlxTreeViewNode* TlxTreeViewNodes::AddObjectFirst(TlxTreeViewNode* Sibling, const std::string& S, void* Ptr)
{
    return InternalAddObject(Sibling ? Sibling->GetParent() : nullptr, S, Ptr, taAddFirst);
}

TlxTreeViewNode* TlxTreeViewNodes::AddChild(TlxTreeViewNode* Parent, const std::string& S)
{
    return AddChildObject(Parent, S, nullptr);
}

TlxTreeViewNode* TlxTreeViewNodes::AddChildObject(TlxTreeViewNode* Parent, const std::string& S, void* Ptr)
{
    return InternalAddObject(Parent, S, Ptr, taAdd);
}

TlxTreeViewNode* TlxTreeViewNodes::AddChildFirst(TlxTreeViewNode* Parent, const std::string& S)
{
    return AddChildObjectFirst(Parent, S, nullptr);
}

TlxTreeViewNode* TlxTreeViewNodes::AddChildObjectFirst(TlxTreeViewNode* Parent, const std::string& S, void* Ptr)
{
    return InternalAddObject(Parent, S, Ptr, taAddFirst);
}

TlxTreeViewNode* TlxTreeViewNodes::Insert(TlxTreeViewNode* Sibling, const std::string& S)
{
    return InsertObject(Sibling, S, nullptr);
}

// Node is the parent, null for the top level.
TlxTreeViewNode* TlxTreeViewNodes::InternalAddObject(TlxTreeViewNode* Node, const std::string& S, void* Ptr,
                                                     TAddMode AddMode)
{
    TlxTreeViewNode* Parent = Node ? Node : FRoot;
    int ListIndex = -1;
    if (AddMode == taAddFirst)
        ListIndex = 0;
    else if (AddMode == taInsert && Node)
        ListIndex = Node->GetIndex() + 1;
    return LinkNewNode(Parent, S, Ptr, nullptr, AddMode, ListIndex);
}

// The new node lands immediately before Sibling. Without a sibling there is no place
// before anything, and the node is appended at the top level.
TlxTreeViewNode* TlxTreeViewNodes::InsertObject(TlxTreeViewNode* Sibling, const std::string& S, void* Ptr)
{
    if (!Sibling)
        return InternalAddObject(nullptr, S, Ptr, taAdd);
    TlxTreeViewNode* Parent = Sibling->Up() ? Sibling->Up() : FRoot;
    if (TlxTreeViewNode* Prev = Sibling->GetPrevSibling())
        return LinkNewNode(Parent, S, Ptr, Prev->FItemId, taInsert, Prev->GetIndex() + 1);
    return LinkNewNode(Parent, S, Ptr, nullptr, taAddFirst, 0);
}

// Makes a node, gives it a native item under Parent's item (after Target for
// taInsert) and puts it at ListIndex in Parent's children (-1: at the end). When any
// step raises, application handlers included, the node is freed again, which undoes
// whatever was already linked, and the exception passes on.
TlxTreeViewNode* TlxTreeViewNodes::LinkNewNode(TlxTreeViewNode* Parent, const std::string& S, void* Ptr,
                                               HTREEITEM Target, TAddMode AddMode, int ListIndex)
{
    TlxTreeViewNode* Result = lxControl::CreateNode(FOwner);
    try {
        const HTREEITEM ParentItem = Parent->FItemId;
        Result->SetData(Ptr);
        Result->SetText(S);
        const HTREEITEM Item = AddItem(ParentItem, Target, CreateItem(Result), AddMode);
        if (!Item)
            throw EOutOfResources(sInsertError);
        Result->FItemId = Item;
        Result->SetUp(Parent);
        AddedNode(Parent);
        TlxTreeNodeList& Siblings = Parent->FChildren;
        const int At = ListIndex < 0 ? Siblings.Count() : std::min(ListIndex, Siblings.Count());
        Siblings.Insert(At, Result);
        Result->FIndexHint = At;
        lxControl::SetCheckImage(FOwner, Result, lxCheckGlyph::PlacedUnder(Parent->FCheckType));
        InvalidateItemCache();
        lxControl::DoChange(FOwner, Result);
    } catch (...) {
        delete Result;
        throw;
    }
    return Result;
}

void TlxTreeViewNodes::AddedNode(TlxTreeViewNode* Node)
{
    if (Node == FRoot)
        return;
    // The button shows already from an earlier child.
    if (!Node->FChildrenShown)
        Node->SetChildren(true);
    Repaint(Node);
}

// ---- Deleting ----

// A node that has lost its native item already (the control passes the nodes of
// deleted items here) is announced with this collection as the sender. The node is
// freed even when the application's handler raises.
void TlxTreeViewNodes::Delete(TlxTreeViewNode* Node)
{
    if (!Node)
        return;
    TFirstError Failure;
    if (!Node->FItemId && lxControl::HasDeletionHandler(FOwner))
        Failure.Run([&] { lxControl::Deletion(FOwner, this, Node); });
    Failure.Run([&] { Node->Delete(); });
    Failure.RethrowIfAny();
}

// The top-level nodes go from the last to the first. The hidden root is marked as
// deleting, so they do not leave its list one by one; the list is emptied at the
// end. Handlers that raise do not stop the clearing: the first exception is passed
// on once the tree is empty.
void TlxTreeViewNodes::Clear()
{
    if (!lxControl::HandleAllocated(FOwner) || GetCount() == 0)
        return;
    FDeleting = true;
    FRoot->FDeleting = true;
    TFirstError Failure;
    // Every native item of the tree goes: their reports come straight to the control.
    const bool WasDirect = lxControl::SetDirectDeletionReports(FOwner, true);
    TlxTreeNodeList& TopLevel = FRoot->FChildren;
    for (int I = TopLevel.Count() - 1; I >= 0; I = std::min(I - 1, TopLevel.Count() - 1)) {
        TlxTreeViewNode* Node = TopLevel.List()[I];
        Failure.Run([Node] { Node->DeleteChildren(); });
        Failure.Run([Node] { Node->Delete(); });
    }
    Failure.Run([this, WasDirect] { lxControl::SetDirectDeletionReports(FOwner, WasDirect); });
    TopLevel.Clear();
    InvalidateItemCache();
    FDeleting = false;
    FRoot->FDeleting = false;
    Failure.RethrowIfAny();
}

// ---- Window ----

int TlxTreeViewNodes::GetCount() const
{
    if (!lxControl::HandleAllocated(FOwner))
        return 0;
    return int(SendMessageA(GetHandle(), TVM_GETCOUNT, 0, 0));
}

HWND TlxTreeViewNodes::GetHandle() const
{
    return lxControl::Handle(FOwner);
}

void TlxTreeViewNodes::BeginUpdate()
{
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

// Also without a matching BeginUpdate the window's redrawing is switched on.
void TlxTreeViewNodes::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    if (FUpdateCount == 0)
        SetUpdateState(false);
}

void TlxTreeViewNodes::SetUpdateState(bool Updating)
{
    SendMessageA(GetHandle(), WM_SETREDRAW, Updating ? 0 : 1, 0);
    if (Updating)
        lxControl::Refresh(FOwner);
}

// Invalidates the row of the node, or of the collapsed ancestor that hides it.
void TlxTreeViewNodes::Repaint(TlxTreeViewNode* Node)
{
    if (FUpdateCount != 0)
        return;
    while (Node && Node != FRoot && !Node->IsNodeVisible())
        Node = Node->Up();
    if (!Node || Node == FRoot)
        return;
    const RECT R = Node->DisplayRect(false);
    InvalidateRect(GetHandle(), &R, TRUE);
}

// ---- Lookup ----

TlxTreeViewNode* TlxTreeViewNodes::GetFirstNode() const
{
    return FRoot->GetFirstChild();
}

TlxTreeViewNode* TlxTreeViewNodes::GetNode(HTREEITEM ItemId) const
{
    if (!ItemId)
        return nullptr;
    TVITEMEXA Item;
    Item.mask = TVIF_PARAM;
    Item.hItem = ItemId;
    if (!SendMessageA(GetHandle(), TVM_GETITEMA, 0, LPARAM(&Item)))
        return nullptr;
    return reinterpret_cast<TlxTreeViewNode*>(Item.lParam);
}

TlxTreeViewNode* TlxTreeViewNodes::Find(TFindOptions Options, const std::string& S, const void* Data) const
{
    const bool ByText = Options.Contains(lxfoText);
    const bool ByData = Options.Contains(lxfoData);
    if (!ByText && !ByData)
        return nullptr;
    for (TlxTreeViewNode* Node = GetFirstNode(); Node; Node = Node->GetNext()) {
        if (ByText && CompareText(Node->FText.View(), S) != 0)
            continue;
        if (ByData && Node->FData != Data)
            continue;
        return Node;
    }
    return nullptr;
}

// ---- Copying ----

// Copies Source's tree by writing it to a memory stream in the binary form and
// reading it back, inside one update of the window.
void TlxTreeViewNodes::Assign(TPersistent* Source)
{
    TlxTreeViewNodes* Nodes = dynamic_cast<TlxTreeViewNodes*>(Source);
    if (!Nodes) {
        TPersistent::Assign(Source);
        return;
    }
    if (Nodes == this)
        return;
    Clear();
    BeginUpdate();
    try {
        TMemoryStream Stream;
        Nodes->WriteData(&Stream);
        Stream.SetPosition(0);
        ReadData(&Stream);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}
