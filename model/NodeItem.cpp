// TlxTreeViewNode and its native item: setters that store and forward, reads of the
// states that only the native item keeps, editing and display.
#include <algorithm>
#include <cstring>

#include "model/ControlBridge.h"
#include "model/lxTreeView.h"
#include "platform/win/WinApi.h"

HWND TlxTreeViewNode::GetHandle() const
{
    return lxControl::Handle(GetlxTreeView());
}

TCustomlxTreeView* TlxTreeViewNode::GetlxTreeView() const
{
    return Owner()->Owner();
}

// Sends a message about this node's item. The window is obtained (and made) first in
// every case; a node without an item gets 0 without a message, as the window would
// refuse the empty item anyway. Adding a node sets its text and data before it has
// an item, so this spares two messages per added node.
LRESULT TlxTreeViewNode::SendItemMessage(UINT Msg, WPARAM wParam, LPARAM lParam) const
{
    const HWND Wnd = GetHandle();
    if (!FItemId)
        return 0;
    return SendMessageA(Wnd, Msg, wParam, lParam);
}

void TlxTreeViewNode::SetItemFields(TVITEMEXA& Item) const
{
    Item.hItem = FItemId;
    SendItemMessage(TVM_SETITEMA, 0, LPARAM(&Item));
}

bool TlxTreeViewNode::GetItemFields(TVITEMEXA& Item) const
{
    Item.hItem = FItemId;
    return SendItemMessage(TVM_GETITEMA, 0, LPARAM(&Item)) != 0;
}

void TlxTreeViewNode::SetItemState(UINT Mask, UINT StateMask, UINT State)
{
    TVITEMEXA Item;
    Item.mask = Mask;
    Item.stateMask = StateMask;
    Item.state = State;
    SetItemFields(Item);
}

// ---- Stored and forwarded ----

void TlxTreeViewNode::SetText(const std::string& S)
{
    FText.Assign(S);
    TVITEMEXA Item;
    Item.mask = TVIF_TEXT;
    Item.pszText = LPSTR_TEXTCALLBACKA;
    SetItemFields(Item);
    ResortAfterTextChange();
}

void TlxTreeViewNode::StoreText(std::string_view S)
{
    FText.Assign(S);
    ResortAfterTextChange();
}

void TlxTreeViewNode::ResortAfterTextChange()
{
    const TSortType Sort = lxControl::SortType(GetlxTreeView());
    if ((Sort == stText || Sort == stBoth) && FInTree)
        ResortAfterChange();
}

void TlxTreeViewNode::SetData(void* Value)
{
    FData = Value;
    if (!FInTree || FDeleting)
        return;
    const TSortType Sort = lxControl::SortType(GetlxTreeView());
    if ((Sort == stData || Sort == stBoth) && lxControl::HasCompareHandler(GetlxTreeView()))
        ResortAfterChange();
}

void TlxTreeViewNode::SetImageIndex(int Value)
{
    FImageIndex = Value;
    TVITEMEXA Item;
    Item.mask = TVIF_IMAGE | TVIF_HANDLE;
    Item.iImage = I_IMAGECALLBACK;
    SetItemFields(Item);
}

void TlxTreeViewNode::SetSelectedIndex(int Value)
{
    FSelectedIndex = Value;
    TVITEMEXA Item;
    Item.mask = TVIF_SELECTEDIMAGE | TVIF_HANDLE;
    Item.iSelectedImage = I_IMAGECALLBACK;
    SetItemFields(Item);
}

// -1 clears the overlay, 0 selects overlay image 1.
void TlxTreeViewNode::SetOverlayIndex(int Value)
{
    if (FHasExtras || Value != -1)
        Extras().OverlayIndex = Value;
    // Unsigned, so that an index read from a damaged stream cannot overflow.
    SetItemState(TVIF_STATE | TVIF_HANDLE, TVIS_OVERLAYMASK, INDEXTOOVERLAYMASK(int(unsigned(Value) + 1u)));
}

void TlxTreeViewNode::SetStateIndex(int Value)
{
    FStateIndex = Value;
    SetItemState(TVIF_STATE | TVIF_HANDLE, TVIS_STATEIMAGEMASK, Value >= 0 ? INDEXTOSTATEIMAGEMASK(Value) : 0);
}

void TlxTreeViewNode::SetChildren(bool Value)
{
    TVITEMEXA Item;
    Item.mask = TVIF_CHILDREN;
    Item.cChildren = Value ? 1 : 0;
    SetItemFields(Item);
    if (FItemId)
        FChildrenShown = Value;
}

void TlxTreeViewNode::SetCut(bool Value)
{
    SetItemState(TVIF_STATE, TVIS_CUT, Value ? TVIS_CUT : 0);
}

void TlxTreeViewNode::SetExpandedPartial(bool Value)
{
    SetItemState(TVIF_STATE, TVIS_EXPANDPARTIAL, Value ? TVIS_EXPANDPARTIAL : 0);
}

void TlxTreeViewNode::SetFocused(bool Value)
{
    SetItemState(TVIF_STATE | TVIF_HANDLE, TVIS_FOCUSED, Value ? TVIS_FOCUSED : 0);
}

void TlxTreeViewNode::SetMultiHeight(int Value)
{
    TVITEMEXA Item;
    Item.mask = TVIF_INTEGRAL;
    Item.iIntegral = Value;
    SetItemFields(Item);
    if (FItemId)
        FMultiHeight = std::uint8_t(std::clamp(Value, 1, 255)); // as the window keeps it
    // Rows below the node move: the whole control repaints.
    InvalidateRect(GetHandle(), nullptr, TRUE);
}

void TlxTreeViewNode::SetDropTarget(bool Value)
{
    if (Value)
        SendItemMessage(TVM_SELECTITEM, TVGN_DROPHILITE, LPARAM(FItemId));
    else if (GetDropTarget())
        SendMessageA(GetHandle(), TVM_SELECTITEM, TVGN_DROPHILITE, 0);
}

// ---- Read from the native item ----

bool TlxTreeViewNode::GetChildren() const
{
    TVITEMEXA Item;
    Item.mask = TVIF_CHILDREN;
    return GetItemFields(Item) && Item.cChildren > 0;
}

int TlxTreeViewNode::GetMultiHeight() const
{
    return FItemId ? FMultiHeight : 0;
}

bool TlxTreeViewNode::GetState(TNodeState NodeState) const
{
    if (!FItemId)
        return false;
    TVITEMEXA Item;
    Item.mask = TVIF_STATE;
    Item.stateMask = 0xFFFF; // the window reports only the state bits asked for
    if (!GetItemFields(Item))
        return false;
    UINT Bit = 0;
    switch (NodeState) {
    case nsCut: Bit = TVIS_CUT; break;
    case nsDropHilited: Bit = TVIS_DROPHILITED; break;
    case nsExpanded: Bit = TVIS_EXPANDED; break;
    case nsExpandedOnce: Bit = TVIS_EXPANDEDONCE; break;
    case nsExpandPartial: Bit = TVIS_EXPANDPARTIAL; break;
    case nsFocused: Bit = TVIS_FOCUSED; break;
    case nsSelected: Bit = TVIS_SELECTED; break;
    default: return false;
    }
    return (Item.state & Bit) != 0;
}

// ---- Editing and display ----

bool TlxTreeViewNode::EditText()
{
    return SendItemMessage(TVM_EDITLABELA, 0, LPARAM(FItemId)) != 0;
}

void TlxTreeViewNode::EndEdit(bool Cancel)
{
    SendMessageA(GetHandle(), TVM_ENDEDITLABELNOW, Cancel ? 1 : 0, 0);
}

// The window takes the item in the rectangle it fills (its first bytes).
RECT TlxTreeViewNode::DisplayRect(bool TextOnly) const
{
    RECT R;
    static_assert(sizeof(RECT) >= sizeof(HTREEITEM), "the item fits the rectangle");
    std::memcpy(static_cast<void*>(&R), &FItemId, sizeof FItemId);
    if (!SendItemMessage(TVM_GETITEMRECT, TextOnly ? 1 : 0, LPARAM(&R)))
        R = RECT();
    return R;
}

void TlxTreeViewNode::MakeVisible()
{
    SendItemMessage(TVM_ENSUREVISIBLE, 0, LPARAM(FItemId));
}
