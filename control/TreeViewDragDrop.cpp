// The tree as the source and the target of a drag: the drag start after the native
// tree's report, the drag image of the dragged item, the drop highlight that follows
// the mouse, the timed expansion of a collapsed target and the insertion mark.
#include "control/lxTreeViewControl.h"

// ---- Starting ----

void TCustomlxTreeView::StartNodeDrag()
{
    FDragStartDue = false;
    TlxTreeViewNode* const node = FDragNode;
    if (!FDragged || !node || DragMode() != dmAutomatic || DragKind() != dkDrag)
        return;
    if (FOptions.Contains(roMultiSelect))
        FItems->SelectNode(node, stSet);
    else
        SetSelection(node);
    if (FDragNode != node)
        return; // a selection handler deleted the node
    node->SetFocused(true);
    BeginDrag(false, -1);
}

void TCustomlxTreeView::DoStartDrag(TDragObject*& DragObject)
{
    TWinControl::DoStartDrag(DragObject);
    TlxTreeViewNode* node = std::exchange(FDragNode, nullptr);
    FLastDropTarget = nullptr;
    if (!node) {
        POINT cursor;
        GetCursorPos(&cursor);
        cursor = ScreenToClientEx(cursor);
        node = GetNodeAt(cursor.x, cursor.y);
    }
    if (!node)
        return;
    const auto image = HIMAGELIST(SendMessageA(Handle(), TVM_CREATEDRAGIMAGE, 0, LPARAM(node->ItemId())));
    if (image) {
        FDragImage->SetHandle(image);
        FDragImage->SetDragImage(0, 2, 2);
    }
    FExpandTimer->SetEnabled(true);
}

TDragImageList* TCustomlxTreeView::GetDragImages() { return FDragImage->Count() > 0 ? FDragImage.get() : nullptr; }

// ---- Over the tree ----

void TCustomlxTreeView::CMDrag(TMessage& Message)
{
    TWinControl::CMDrag(Message);
    const auto* rec = reinterpret_cast<const TDragRec*>(Message.LParam);
    if (!rec || !rec->Source)
        return;
    switch (TDragMessage(Message.WParam)) {
    case dmDragMove: {
        const POINT at = ScreenToClientEx(rec->Pos);
        DoDragOver(rec->Source, at.x, at.y, Message.Result != 0);
        break;
    }
    case dmDragLeave: DragLeft(rec->Source); break;
    case dmDragDrop:
        FDragObject = nullptr;
        FDragged = false;
        FExpandTimer->SetEnabled(false);
        break;
    default: break;
    }
}

// The drop highlight stays on the node under the mouse whether or not the drop would
// be accepted; over empty space it stays where it was.
void TCustomlxTreeView::DoDragOver(TDragObject* Source, int X, int Y, bool)
{
    FDragObject = Source;
    if (FOptions.Contains(roAutoScroll))
        DoAutoScroll(X, Y);
    TlxTreeViewNode* const node = GetNodeAt(X, Y);
    if (!node || (node == DropTarget() && node != FLastDropTarget))
        return;
    FLastDropTarget = nullptr;
    FExpandTimer->SetEnabled(false);
    Source->HideDragImage();
    node->SetDropTarget(true);
    Source->ShowDragImage();
    FExpandTimer->SetEnabled(true);
}

void TCustomlxTreeView::DragLeft(TDragObject* Source)
{
    Source->HideDragImage();
    if (TlxTreeViewNode* target = DropTarget(); target && FDragImage->Dragging())
        target->SetDropTarget(false);
    SetDropTarget(nullptr);
    Source->ShowDragImage();
}

// One tick per enabling: a collapsed drop target with children opens one level.
void TCustomlxTreeView::DoDragExpand(TObject*)
{
    FExpandTimer->SetEnabled(false);
    TlxTreeViewNode* const target = DropTarget();
    if (!target || !target->HasChildren() || target->Expanded())
        return;
    if (FDragObject)
        FDragObject->HideDragImage();
    target->Expand(false);
    UpdateWindow(Handle());
    if (FDragObject)
        FDragObject->ShowDragImage();
}

void TCustomlxTreeView::DoEndDrag(TObject* Target, int X, int Y)
{
    FExpandTimer->SetEnabled(false);
    FDragObject = nullptr; // it may go with the drag
    TWinControl::DoEndDrag(Target, X, Y);
    FLastDropTarget = nullptr;
    FItems->Repaint(DropTarget());
    FItems->Repaint(GetSelection());
}

// The window goes: no drag state and no timer outlive it.
void TCustomlxTreeView::StopDragState()
{
    FExpandTimer->SetEnabled(false);
    FScrollTimer->SetEnabled(false);
    FScrollDirection = TScrollDirection{};
    FDragObject = nullptr;
    FDragged = false;
    FDragStartDue = false;
    FDragNode = nullptr;
    FLastDropTarget = nullptr;
}

// ---- Drop target and insertion mark ----

TlxTreeViewNode* TCustomlxTreeView::GetDropTarget()
{
    if (!HandleAllocated())
        return nullptr;
    const auto item = HTREEITEM(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_DROPHILITE, 0));
    TlxTreeViewNode* const node = item ? NodeOfItem(item) : nullptr;
    return node ? node : FLastDropTarget;
}

void TCustomlxTreeView::SetDropTarget(TlxTreeViewNode* Node)
{
    if (!HandleAllocated())
        return;
    if (Node)
        Node->SetDropTarget(true);
    else
        SendMessageA(Handle(), TVM_SELECTITEM, TVGN_DROPHILITE, 0);
}

void TCustomlxTreeView::ShowMark(TlxTreeViewNode* Node, TlxMarkPlace MarkPlace)
{
    const WPARAM after = MarkPlace == lxAfter ? ~WPARAM(0) : 0;
    SendMessageA(Handle(), TVM_SETINSERTMARK, after, LPARAM(Node ? Node->ItemId() : nullptr));
}
