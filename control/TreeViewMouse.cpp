// The mouse on the tree: presses on nodes with Ctrl and Shift, the rubber band over
// empty space, presses on check glyphs (the click counts where the button is released),
// double clicks on the row area, and the band's outline while the mouse moves.
#include <algorithm>

#include "control/lxTreeViewControl.h"
#include "model/CheckGlyphs.h"

using namespace lxCheckGlyph;

namespace {

POINT PointOf(const TMessage& Message) { return POINT{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)}; }

} // namespace

// ---- Left button ----

void TCustomlxTreeView::WMLButtonDown(TMessage& Message)
{
    if (IsEditing()) {
        TWinControl::Dispatch(Message);
        return;
    }
    SetFocus();
    const POINT At = PointOf(Message);
    const THitTests HitTests = GetHitTestInfoAt(At.x, At.y);
    const TShiftState Shift = KeysToShiftState(Message.WParam) * TShiftState{ssShift, ssCtrl};
    if (HitTests.Contains(htOnStateIcon)) {
        PressCheckGlyph(At);
    } else if (HitTests.Contains(htOnItem) || FOptions.Contains(roRowSelect)) {
        PressNode(Message, At, Shift);
    } else if (FOptions.Contains(roMultiSelect) && !(HitTests * THitTests{htNowhere, htOnIndent, htOnRight}).Empty()) {
        StartBand(At, Shift);
        TWinControl::Dispatch(Message);
    } else {
        TWinControl::Dispatch(Message);
    }
}

// A press on a node: the native tree moves its caret, then the modifiers decide what
// the multi-selection makes of the click. Handlers may delete the nodes meanwhile.
void TCustomlxTreeView::PressNode(TMessage& Message, POINT At, TShiftState Shift)
{
    FDragged = false;
    FDragStartDue = false;
    FDragNode = nullptr;
    TlxTreeViewNode* const Prev = GetSelection();
    TlxTreeViewNode* const Pressed = GetNodeAt(At.x, At.y);
    const TSelectType NodeSelectType = Pressed && Pressed->Selected() ? stReset : stSet;
    if (!Pressed || (!Pressed->Selected() && Shift.Empty()))
        ClearSelection();
    const TSelectType PrevSelectType = Prev && Prev->Selected() ? stSet : stReset;
    TlxTreeViewNodes::TNodeWalk Nodes(*FItems, {Prev, Pressed});
    {
        TBulkSelectingScope Bulk(*FItems, !Shift.Empty());
        if (!Shift.Empty())
            SetSelection(nullptr);
        TWinControl::Dispatch(Message);
        if (FOptions.Contains(roLevelSelection) && Nodes.At(1))
            FItems->SelectNode(Nodes.At(1), stReset);
    }
    if (FOptions.Contains(roMultiSelect))
        HandleMultiSelection(Nodes.At(0), PrevSelectType, Shift, NodeSelectType, Nodes.At(1));
}

void TCustomlxTreeView::PressCheckGlyph(POINT At)
{
    SetCapture(Handle());
    FCheckNode = GetNodeAt(At.x, At.y);
    if (!FCheckNode)
        return;
    SetSelection(FCheckNode);
    if (!FCheckNode)
        return; // a selection handler deleted it
    const int Glyph = FCheckNode->StateIndex();
    if (const int Pressed = GrayGlyph(Glyph))
        ShowStateImage(FCheckNode, Pressed);
    if (!IsValueButton(Glyph))
        return;
    ButtonEditing = true;
    try {
        if (CanCheck(FCheckNode))
            FCheckNode->EditText();
    } catch (...) {
        ButtonEditing = false;
        throw;
    }
    ButtonEditing = false;
}

void TCustomlxTreeView::WMLButtonUp(TMessage& Message)
{
    EndBand();
    if (TlxTreeViewNode* Node = std::exchange(FCheckNode, nullptr)) {
        if (GetCapture() == Handle())
            ReleaseCapture();
        ShowStateImage(Node, Node->StateIndex());
        Node->DoCheckClick();
    }
    TWinControl::Dispatch(Message);
}

void TCustomlxTreeView::WMLButtonDblClk(TMessage& Message)
{
    TWinControl::Dispatch(Message);
    if (!FOptions.Contains(roRowSelect) || FOptions.Contains(roAutoExpand) || !HandleAllocated())
        return;
    const POINT At = PointOf(Message);
    if (!GetHitTestInfoAt(At.x, At.y).Contains(htOnRight))
        return;
    if (TlxTreeViewNode* Node = GetNodeAt(At.x, At.y)) {
        if (Node->Expanded())
            Node->Collapse(false);
        else
            Node->Expand(false);
    }
}

// The native item shows Glyph without the node's StateIndex changing.
void TCustomlxTreeView::ShowStateImage(TlxTreeViewNode* Node, int Glyph)
{
    if (!HandleAllocated() || !Node->ItemId())
        return;
    TVITEMA Item{};
    Item.mask = TVIF_STATE | TVIF_HANDLE;
    Item.hItem = Node->ItemId();
    Item.stateMask = TVIS_STATEIMAGEMASK;
    Item.state = Glyph > 0 ? INDEXTOSTATEIMAGEMASK(Glyph) : 0;
    SendMessageA(Handle(), TVM_SETITEMA, 0, LPARAM(&Item));
}

// ---- The rubber band ----

bool TCustomlxTreeView::IsMouseSelecting() const { return FBandSelecting && !IsRectEmpty(&FBandRect); }

void TCustomlxTreeView::StartBand(POINT At, TShiftState Shift)
{
    FBandSelecting = true;
    FBandOrigin = At;
    FBandRect = RECT{};
    FBandNodes.clear();
    FBandMembers.clear();
    SetCapture(Handle());
    if (Shift.Empty())
        ClearSelection();
}

// Ends a running band; the selection it made stays.
void TCustomlxTreeView::EndBand()
{
    if (!FBandSelecting)
        return;
    FBandSelecting = false;
    FBandNodes.clear();
    FBandMembers.clear();
    if (!IsRectEmpty(&FBandRect))
        DrawFocusRect(FBandRect);
    if (HandleAllocated() && GetCapture() == Handle())
        ReleaseCapture();
}

void TCustomlxTreeView::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FOptions.Contains(roAutoScroll))
        DoAutoScroll(X, Y);
    if (FDragStartDue)
        StartNodeDrag();
    if (!FBandSelecting) {
        TWinControl::MouseMove(Shift, X, Y);
        return;
    }
    if (IsMouseSelecting())
        DrawFocusRect(FBandRect);
    FBandRect = RECT{std::min<LONG>(FBandOrigin.x, X), std::min<LONG>(FBandOrigin.y, Y),
                     std::max<LONG>(FBandOrigin.x, X), std::max<LONG>(FBandOrigin.y, Y)};
    if (FItems->Count() > 0)
        HandleDrawSelection(Shift, FBandRect);
    UpdateWindow(Handle());
    if (FBandSelecting && !IsRectEmpty(&FBandRect))
        DrawFocusRect(FBandRect);
}

POINT TCustomlxTreeView::ScreenToClientEx(POINT Screen)
{
    MapWindowPoints(nullptr, Handle(), &Screen, 1);
    return Screen;
}

// ---- Non-client area ----

void TCustomlxTreeView::WMNCHitTest(TMessage& Message)
{
    TWinControl::Dispatch(Message);
    if (Message.Result != HTCLIENT && FScrollTimer)
        FScrollTimer->SetEnabled(false);
}
