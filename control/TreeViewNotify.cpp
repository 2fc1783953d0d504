// The native tree's notifications, turned into model changes and events, and the
// hooks through which every event passes.
#include <cstring>

#include "control/EventHooks.h"
#include "control/lxTreeViewControl.h"

void TCustomlxTreeView::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_NOTIFY:
        CNNotify(Message);
        return;
    case WM_NOTIFY:
        WMNotify(Message);
        return;
    case WM_DESTROY:
        WMDestroy(Message);
        return;
    case WM_RBUTTONDOWN:
        WMRButtonDown(Message);
        return;
    case WM_RBUTTONUP:
        if (!std::exchange(FSwallowRightButtonUp, false))
            WMRButtonUp(Message);
        return;
    case WM_LBUTTONDOWN:
        WMLButtonDown(Message);
        return;
    case WM_LBUTTONUP:
        WMLButtonUp(Message);
        return;
    case WM_LBUTTONDBLCLK:
        WMLButtonDblClk(Message);
        return;
    case WM_KEYDOWN:
        WMKeyDown(Message);
        return;
    case WM_NCHITTEST:
        WMNCHitTest(Message);
        return;
    case CM_COLORCHANGED:
        CMColorChanged(Message);
        return;
    case CM_CTL3DCHANGED:
        CMCtl3DChanged(Message);
        return;
    case CM_SYSCOLORCHANGE:
        CMSysColorChange(Message);
        return;
    case WM_ERASEBKGND:
        WMEraseBkgnd(Message);
        return;
    case WM_PAINT:
        WMPaint(Message);
        return;
    case CM_DRAG:
        CMDrag(Message);
        return;
    case CM_MOUSELEAVE:
        CMMouseLeave(Message);
        return;
    case CM_FONTCHANGED:
        TWinControl::Dispatch(Message);
        FontChanged(nullptr);
        return;
    default:
        TWinControl::Dispatch(Message);
    }
}

TlxTreeViewNode* TCustomlxTreeView::GetNodeFromItem(const TVITEMA& Item) const
{
    if (Item.mask & TVIF_PARAM)
        return reinterpret_cast<TlxTreeViewNode*>(Item.lParam);
    return FItems->GetNode(Item.hItem);
}

void TCustomlxTreeView::CNNotify(TMessage& Message)
{
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    if (!header)
        return;
    auto& tree = *reinterpret_cast<NMTREEVIEWA*>(Message.LParam);
    auto& disp = *reinterpret_cast<NMTVDISPINFOA*>(Message.LParam);
    switch (header->code) {
    case TVN_SELCHANGINGA: Message.Result = NotifySelChanging(tree); break;
    case TVN_SELCHANGEDA: Message.Result = NotifySelChanged(tree); break;
    case TVN_GETDISPINFOA: Message.Result = NotifyGetDispInfo(disp); break;
    case TVN_SETDISPINFOA: Message.Result = NotifySetDispInfo(disp); break;
    case TVN_ITEMEXPANDINGA: Message.Result = NotifyItemExpanding(tree); break;
    case TVN_ITEMEXPANDEDA: Message.Result = NotifyItemExpanded(tree); break;
    case TVN_BEGINDRAGA:
    case TVN_BEGINRDRAGA:
        FDragged = true;
        FDragStartDue = header->code == TVN_BEGINDRAGA;
        FDragNode = GetNodeFromItem(tree.itemNew);
        Message.Result = 0;
        break;
    case TVN_DELETEITEMA: Message.Result = NotifyDeleteItem(tree); break;
    case TVN_BEGINLABELEDITA: Message.Result = NotifyBeginLabelEdit(disp); break;
    case TVN_ENDLABELEDITA:
        Edit(disp.item);
        Message.Result = 0;
        break;
    case TVN_GETINFOTIPA:
        Message.Result = NotifyGetInfoTip(*reinterpret_cast<NMTVGETINFOTIPA*>(Message.LParam));
        break;
    case TVN_SINGLEEXPAND: Message.Result = NotifySingleExpand(tree); break;
    case NM_CUSTOMDRAW:
        Message.Result = NotifyCustomDraw(*reinterpret_cast<NMTVCUSTOMDRAW*>(Message.LParam));
        break;
    case NM_RCLICK: Message.Result = NotifyRightClick(); break;
    case NM_SETFOCUS: Message.Result = NotifyFocusChange(true); break;
    case NM_KILLFOCUS: Message.Result = NotifyFocusChange(false); break;
    default: break;
    }
}

LRESULT TCustomlxTreeView::NotifyGetDispInfo(NMTVDISPINFOA& Info)
{
    TlxTreeViewNode* node = GetNodeFromItem(Info.item);
    if (!node)
        return 0;
    if ((Info.item.mask & TVIF_TEXT) && Info.item.pszText && Info.item.cchTextMax > 0) {
        const std::string_view text = node->TextView(); // no copy per painted row
        std::size_t n = std::min<std::size_t>(text.size(), std::size_t(Info.item.cchTextMax - 1));
        std::memcpy(Info.item.pszText, text.data(), n);
        Info.item.pszText[n] = '\0';
    }
    if (Info.item.mask & TVIF_IMAGE) {
        GetImageIndex(node);
        Info.item.iImage = node->ImageIndex();
    }
    if (Info.item.mask & TVIF_SELECTEDIMAGE) {
        GetSelectedIndex(node);
        Info.item.iSelectedImage = node->SelectedIndex();
    }
    return 0;
}

LRESULT TCustomlxTreeView::NotifySetDispInfo(NMTVDISPINFOA& Info)
{
    TlxTreeViewNode* node = GetNodeFromItem(Info.item);
    if (node && (Info.item.mask & TVIF_TEXT) && Info.item.pszText)
        node->SetText(Info.item.pszText);
    return 0;
}

LRESULT TCustomlxTreeView::NotifySelChanging(NMTREEVIEWA& Info)
{
    return CanChange(GetNodeFromItem(Info.itemNew)) ? 0 : 1;
}

LRESULT TCustomlxTreeView::NotifySelChanged(NMTREEVIEWA& Info)
{
    TlxTreeViewNode* oldNode = Info.itemOld.hItem ? GetNodeFromItem(Info.itemOld) : nullptr;
    TlxTreeViewNode* newNode = Info.itemNew.hItem ? GetNodeFromItem(Info.itemNew) : nullptr;
    if (oldNode)
        FItems->RemoveFromSelection(oldNode);
    if (newNode) {
        FItems->AddToSelection(newNode);
        if (!FItems->FBulkSelecting)
            FItems->FSelectionLevel = newNode->Level();
    }
    DoChange(newNode);
    return 0;
}

LRESULT TCustomlxTreeView::NotifyItemExpanding(NMTREEVIEWA& Info)
{
    if (FModelExpanding)
        return 0;
    TlxTreeViewNode* node = GetNodeFromItem(Info.itemNew);
    if (!node)
        return 0;
    if (Info.action == TVE_EXPAND)
        return CanExpand(node) ? 0 : 1;
    if (Info.action == TVE_COLLAPSE)
        return CanCollapse(node) ? 0 : 1;
    return 0;
}

LRESULT TCustomlxTreeView::NotifyItemExpanded(NMTREEVIEWA& Info)
{
    if (FModelExpanding)
        return 0;
    TlxTreeViewNode* node = GetNodeFromItem(Info.itemNew);
    if (Info.action == TVE_EXPAND) {
        if (node)
            node->FExpanded = true;
        Expand(node);
    } else if (Info.action == TVE_COLLAPSE) {
        if (node)
            node->FExpanded = false;
        Collapse(node);
    }
    return 0;
}

LRESULT TCustomlxTreeView::NotifyDeleteItem(NMTREEVIEWA& Info)
{
    TlxTreeViewNode* node = GetNodeFromItem(Info.itemOld);
    if (!node)
        return 0;
    node->FItemId = nullptr;
    FChangeDelayTimer->SetEnabled(false);
    if (FRecreating)
        node->Delete();
    else
        FItems->Delete(node);
    FItems->InvalidateItemCache();
    return 0;
}

void TCustomlxTreeView::ReportDeletionToControl(void* Control, NMTREEVIEWA& Info)
{
    static_cast<TCustomlxTreeView*>(Control)->NotifyDeleteItem(Info);
}

bool TCustomlxTreeView::SetDirectDeletionReports(bool Value)
{
    const bool Was = FDirectDeletionReports;
    if (!HandleAllocated()) {
        FDirectDeletionReports = false; // a window made later starts without the routine
        return Was;
    }
    if (Value == Was)
        return Was;
    SendMessageA(Handle(), TVM_SETDELETIONREPORT, Value ? WPARAM(this) : 0,
                 Value ? reinterpret_cast<LPARAM>(&ReportDeletionToControl) : 0);
    FDirectDeletionReports = Value;
    return Was;
}

// A right click that the native tree reports. With RightClickSelect the clicked node
// stands for the selection while the right-button handling runs.
LRESULT TCustomlxTreeView::NotifyRightClick()
{
    FRightClickTaken = true;
    if (!FOptions.Contains(roRightClickSelect)) {
        FRightClickNode = RightClickMarker();
        return 0;
    }
    POINT pt;
    GetCursorPos(&pt);
    ScreenToClient(Handle(), &pt);
    FRightClickNode = GetNodeAt(pt.x, pt.y);
    if (FRightClickNode && !FRightClickNode->GetState(nsSelected))
        ClearSelection();
    Perform(WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    return 0;
}

// The right-button press: the native tree reports the click (NM_RCLICK) while it
// handles the press; the clicked node stands for the selection only meanwhile.
void TCustomlxTreeView::WMRButtonDown(TMessage& Message)
{
    EndBand();
    FRightClickNode = nullptr;
    FRightClickTaken = false;
    try {
        if (FOptions.Contains(roRightClickSelect)) {
            DefaultHandler(Message);
        } else {
            TWinControl::Dispatch(Message);
            if (FRightClickNode == RightClickMarker() && HandleAllocated()) {
                POINT pt;
                GetCursorPos(&pt);
                ScreenToClient(Handle(), &pt);
                Perform(WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
            }
        }
    } catch (...) {
        FRightClickNode = nullptr;
        throw;
    }
    FRightClickNode = nullptr;
    // The native tree took the whole click at the press; the release of the button that
    // is still down belongs to it (a popup menu, which takes the release itself, may
    // already have seen the button go up).
    FSwallowRightButtonUp = FRightClickTaken && GetKeyState(VK_RBUTTON) < 0;
}

TlxTreeViewNode* TCustomlxTreeView::RightClickMarker()
{
    static char marker;
    return reinterpret_cast<TlxTreeViewNode*>(&marker);
}

LRESULT TCustomlxTreeView::NotifyFocusChange(bool Gained)
{
    Invalidate();
    if (Gained && !FAnchorNode)
        FAnchorNode = GetSelection();
    return 0;
}

LRESULT TCustomlxTreeView::NotifySingleExpand(NMTREEVIEWA& Info)
{
    const bool autoCollapse = AskHandler(OnAutoExpanded, this, GetNodeFromItem(Info.itemNew));
    return autoCollapse ? 0 : TVNRET_SKIPOLD;
}

// ---- Hooks ----
// While the control is being destroyed its nodes go one by one; only OnDeletion
// reports that, the selection and expansion events stay quiet. They are quiet too
// while a tree that a handler interrupted is read back once more after a window
// re-creation.

bool TCustomlxTreeView::CanChange(TlxTreeViewNode* Node)
{
    return EventsQuiet() || AskHandler(OnChanging, this, Node);
}

void TCustomlxTreeView::Change(TlxTreeViewNode* Node)
{
    if (OnChange && !EventsQuiet())
        OnChange(this, Node);
}

bool TCustomlxTreeView::CanExpand(TlxTreeViewNode* Node)
{
    return EventsQuiet() || AskHandler(OnExpanding, this, Node);
}

void TCustomlxTreeView::Expand(TlxTreeViewNode* Node)
{
    if (OnExpanded && !EventsQuiet())
        OnExpanded(this, Node);
}

bool TCustomlxTreeView::CanCollapse(TlxTreeViewNode* Node)
{
    return EventsQuiet() || AskHandler(OnCollapsing, this, Node);
}

void TCustomlxTreeView::Collapse(TlxTreeViewNode* Node)
{
    if (OnCollapsed && !EventsQuiet())
        OnCollapsed(this, Node);
}

bool TCustomlxTreeView::CanCheck(TlxTreeViewNode* Node)
{
    return EventsQuiet() || AskHandler(OnChecking, this, Node);
}

void TCustomlxTreeView::Check(TlxTreeViewNode* Node)
{
    if (OnChecked && !EventsQuiet())
        OnChecked(this, Node);
}

void TCustomlxTreeView::GetImageIndex(TlxTreeViewNode* Node)
{
    if (OnGetImageIndex)
        OnGetImageIndex(this, Node);
}

void TCustomlxTreeView::GetSelectedIndex(TlxTreeViewNode* Node)
{
    if (OnGetSelectedIndex)
        OnGetSelectedIndex(this, Node);
}

TlxTreeViewNode* TCustomlxTreeView::CreateNode()
{
    TlxTreeViewNodeClass nodeClass = &NodeClassOf<TlxTreeViewNode>;
    if (OnCreateNode)
        OnCreateNode(this, nodeClass);
    return nodeClass(FItems.get());
}

void TCustomlxTreeView::DoChange(TlxTreeViewNode* Node)
{
    if (GetChangeDelay() > 0) {
        FChangeDelayTimer->SetEnabled(false);
        FChangeDelayTimer->SetTag(reinterpret_cast<std::intptr_t>(Node));
        FChangeDelayTimer->SetEnabled(true);
    } else {
        Change(Node);
    }
}

void TCustomlxTreeView::OnChangeTimer(TObject*)
{
    FChangeDelayTimer->SetEnabled(false);
    Change(reinterpret_cast<TlxTreeViewNode*>(FChangeDelayTimer->Tag()));
}
