// TlxTreeViewNode: construction, destruction and deletion, copying, the rarely used
// attributes and node-level update counting.
#include "model/ControlBridge.h"
#include "model/lxTreeView.h"
#include "platform/win/FirstError.h"

#include <unordered_map>

// A million-node tree holds a million of these: keep an eye on what a field costs.
static_assert(sizeof(TlxTreeViewNode) <= 64, "a node takes 64 bytes");

TlxTreeViewNode::TlxTreeViewNode(TlxTreeViewNodes* AOwner)
    : FUp(reinterpret_cast<std::uintptr_t>(AOwner) | kOwnerTag)
    , FExpanded(false)
    , FParentColor(true)
    , FParentFont(true)
    , FDeleting(false)
    , FInTree(false)
    , FEnabled(true)
    , FInSelection(false)
    , FChildrenShown(false)
    , FCheckState(lxsUnchecked)
    , FCheckType(lxtNone)
    , FHasExtras(false)
{
}

TlxTreeViewNodes* TlxTreeViewNode::Owner() const
{
    const TlxTreeViewNode* Node = this;
    while (!(Node->FUp & kOwnerTag))
        Node = reinterpret_cast<const TlxTreeViewNode*>(Node->FUp);
    return reinterpret_cast<TlxTreeViewNodes*>(Node->FUp & ~kOwnerTag);
}

void TlxTreeViewNode::SetUp(TlxTreeViewNode* Node)
{
    FUp = Node ? reinterpret_cast<std::uintptr_t>(Node) : reinterpret_cast<std::uintptr_t>(Owner()) | kOwnerTag;
}

// Destruction runs the unlinking steps unless Delete already did. A destructor cannot
// pass on an exception, so one raised by an application handler on this path is
// dropped; Delete is the path that reports it.
TlxTreeViewNode::~TlxTreeViewNode()
{
    if (!FDeleting)
        Unlink();
    // No re-sort: FDeleting is set.
    SetData(nullptr);
    DropExtras();
}

// Steps of destruction that reach the selection, the control, the parent and the
// native tree. Every step runs even when an earlier one raised; the first exception
// is returned for the caller to pass on.
std::exception_ptr TlxTreeViewNode::Unlink() noexcept
{
    FDeleting = true;
    TlxTreeViewNodes* const Nodes = Owner();
    if (!Nodes)
        return nullptr;
    TFirstError Failure;
    Nodes->NodeLeaving(this);
    if (this != Nodes->FRoot)
        Failure.Run([this, Nodes] { lxControl::ForgetNode(Nodes->Owner(), this); });
    if (Up() && !Up()->FDeleting)
        Failure.Run([this] { RemoveFromParent(); });
    if (FItemId)
        // The native tree deletes the item with its descendants and reports each one;
        // the control frees their nodes. This node's own report finds it deleting.
        Failure.Run([this] { SendItemMessage(TVM_DELETEITEM, 0, LPARAM(FItemId)); });
    // Nodes leaving without a native report must not stay in the index cache.
    Nodes->InvalidateItemCache();
    return Failure.Take();
}

void TlxTreeViewNode::RemoveFromParent()
{
    TlxTreeNodeList& Siblings = Up()->FChildren;
    const int At = GetIndex();
    if (At >= 0)
        Siblings.Delete(At);
    // Children leave from the last one when the tree is cleared, in whatever order
    // sorting left them in memory: the one that leaves a few turns later is fetched now.
    constexpr int DeletionLookAhead = 8;
    if (At >= DeletionLookAhead)
        __builtin_prefetch(Siblings.List()[At - DeletionLookAhead]);
    if (Siblings.Count() == 0)
        Up()->CollapseAsChildless();
}

// A node whose last child left closes and shows no button; collapsing asks whether
// there are children, so it comes first.
void TlxTreeViewNode::CollapseAsChildless()
{
    try {
        SetExpanded(false);
    } catch (...) {
        SetChildren(false);
        throw;
    }
    SetChildren(false);
}

void TlxTreeViewNode::Delete()
{
    if (FDeleting)
        return;
    std::exception_ptr Failure = Unlink();
    delete this;
    if (Failure)
        std::rethrow_exception(Failure);
}

void TlxTreeViewNode::DeleteChildren()
{
    if (FChildren.Count() > 0) {
        // The native tree deletes and reports every child item; the control frees the
        // child nodes, which leave this list themselves.
        try {
            SendItemMessage(TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET, LPARAM(FItemId));
        } catch (...) {
            SetChildren(false);
            FChildren.Clear();
            throw;
        }
    }
    SetChildren(false);
    FChildren.Clear();
}

// ---- Copying ----

void TlxTreeViewNode::Assign(TPersistent* Source)
{
    TlxTreeViewNode* Node = dynamic_cast<TlxTreeViewNode*>(Source);
    if (!Node) {
        TPersistent::Assign(Source);
        return;
    }
    SetText(Node->Text());
    SetVarType(Node->VarType());
    SetVarName(Node->VarName());
    SetVarValue(Node->VarValue());
    SetData(Node->FData);
    SetImageIndex(Node->FImageIndex);
    SetSelectedIndex(Node->FSelectedIndex);
    SetStateIndex(Node->FStateIndex);
    SetCheckType(Node->CheckType());
    SetCheckState(Node->CheckState());
    SetEnabled(Node->Enabled());
    SetOverlayIndex(Node->OverlayIndex());
    SetExpanded(Node->GetExpanded());
    SetMultiHeight(Node->GetMultiHeight());
    SetChildren(Node->GetChildren());

    FParentColor = Node->FParentColor;
    if (!FParentColor)
        Extras().Color = Node->GetColor();

    FParentFont = Node->FParentFont;
    if (FParentFont) {
        if (TExtras* Own = FindExtras())
            Own->Font.reset();
    } else {
        TExtras& Own = Extras();
        if (!Own.Font)
            Own.Font = std::make_unique<TFont>();
        else
            Own.Font->OnChange = nullptr;
        if (const TExtras* Theirs = Node->FindExtras(); Theirs && Theirs->Font && Theirs->Font != Own.Font)
            Own.Font->Assign(Theirs->Font.get());
        Own.Font->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
    }
}

bool TlxTreeViewNode::IsEqual(TlxTreeViewNode* Node) const
{
    return FText.View() == Node->FText.View() && FData == Node->FData;
}

// ---- Rarely used attributes ----

// The extras of every node that has some, by node.
struct TlxTreeViewNode::TExtrasTable : std::unordered_map<const TlxTreeViewNode*, std::unique_ptr<TExtras>> {};

// Never destroyed: a node held by a static object may outlive any static table.
TlxTreeViewNode::TExtrasTable& TlxTreeViewNode::ExtrasTable()
{
    static TExtrasTable* const Table = new TExtrasTable;
    return *Table;
}

TlxTreeViewNode::TExtras& TlxTreeViewNode::Extras()
{
    if (FHasExtras)
        return *LookUpExtras();
    auto& Slot = ExtrasTable()[this];
    Slot = std::make_unique<TExtras>();
    FHasExtras = true;
    return *Slot;
}

TlxTreeViewNode::TExtras* TlxTreeViewNode::LookUpExtras() const
{
    return ExtrasTable().find(this)->second.get();
}

void TlxTreeViewNode::DropExtras() noexcept
{
    if (!FHasExtras)
        return;
    FHasExtras = false;
    ExtrasTable().erase(this);
}

namespace {
const std::string EmptyString;
}

const std::string& TlxTreeViewNode::VarName() const
{
    const TExtras* Own = FindExtras();
    return Own ? Own->VarName : EmptyString;
}

// Writing a default value to a node that has no extras keeps it without them, so
// that copying plain nodes costs no memory.
void TlxTreeViewNode::SetVarName(const std::string& Value)
{
    if (FHasExtras || !Value.empty())
        Extras().VarName = Value;
}

const std::string& TlxTreeViewNode::VarValue() const
{
    const TExtras* Own = FindExtras();
    return Own ? Own->VarValue : EmptyString;
}

void TlxTreeViewNode::SetVarValue(const std::string& Value)
{
    if (FHasExtras || !Value.empty())
        Extras().VarValue = Value;
}

int TlxTreeViewNode::VarType() const
{
    const TExtras* Own = FindExtras();
    return Own ? Own->VarType : 0;
}

void TlxTreeViewNode::SetVarType(int Value)
{
    if (FHasExtras || Value != 0)
        Extras().VarType = Value;
}

int TlxTreeViewNode::OverlayIndex() const
{
    const TExtras* Own = FindExtras();
    return Own ? Own->OverlayIndex : -1;
}

// ---- Update counting ----

void TlxTreeViewNode::BeginUpdate()
{
    ++Extras().UpdateCount;
}

void TlxTreeViewNode::EndUpdate()
{
    if (TExtras* Own = FindExtras(); Own && Own->UpdateCount > 0)
        --Own->UpdateCount;
}

bool TlxTreeViewNode::IsUpdating() const
{
    const TExtras* Own = FindExtras();
    return (Own && Own->UpdateCount > 0) || FDeleting || Owner()->IsUpdating();
}
