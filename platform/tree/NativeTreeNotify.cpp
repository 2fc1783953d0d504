// Notifications to the parent window and the questions asked through them
// (callback text, images and children).
#include <cstring>

#include "platform/win/WindowTable.h"
#include "platform/tree/NativeTree.h"

namespace lxtree {

namespace {
constexpr int kDispTextCapacity = 260;
}

LRESULT TNativeTreeWindow::Notify(NMHDR& hdr, int code)
{
    // One look at the window's record for its identifier and parent: a large deletion
    // sends a notification per item.
    const TWindowRecord* self = WindowTable::Find(FHwnd);
    hdr.hwndFrom = FHwnd;
    hdr.idFrom = self ? self->id : 0;
    hdr.code = code;
    const HWND parent = self ? self->parent : nullptr;
    return parent ? SendMessageA(parent, WM_NOTIFY, WPARAM(hdr.idFrom), LPARAM(&hdr)) : 0;
}

void TNativeTreeWindow::FillItemRecord(TVITEMA& item, TSlot s) const
{
    if (s == kNil || s == kRoot)
        return;
    item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    item.hItem = FItems.Handle(s);
    item.state = FItems[s].state;
    item.stateMask = 0xFFFF;
    item.lParam = FItems[s].LParam();
}

NMHDR TNativeTreeWindow::DeletionHeader() const
{
    NMHDR hdr;
    const TWindowRecord* self = FDeletionReport ? WindowTable::Find(FHwnd) : nullptr;
    hdr.hwndFrom = FHwnd;
    hdr.idFrom = self ? self->id : 0;
    hdr.code = TVN_DELETEITEMA;
    return hdr;
}

void TNativeTreeWindow::ReportDeletion(TSlot s, const NMHDR& header)
{
    if (!FDeletionReport) {
        NotifyTreeView(TVN_DELETEITEMA, 0, s, kNil);
        return;
    }
    NMTREEVIEWA nm = TreeViewRecord(0, s, kNil);
    nm.hdr = header;
    FDeletionReport(FDeletionReportContext, nm);
}

NMTREEVIEWA TNativeTreeWindow::TreeViewRecord(UINT action, TSlot oldItem, TSlot newItem, POINT pt) const
{
    NMTREEVIEWA nm;
    nm.action = action;
    FillItemRecord(nm.itemOld, oldItem);
    FillItemRecord(nm.itemNew, newItem);
    nm.ptDrag = pt;
    return nm;
}

LRESULT TNativeTreeWindow::NotifyTreeView(int code, UINT action, TSlot oldItem, TSlot newItem, POINT pt)
{
    NMTREEVIEWA nm = TreeViewRecord(action, oldItem, newItem, pt);
    return Notify(nm.hdr, code);
}

std::string TNativeTreeWindow::ItemText(TSlot s)
{
    const TItemSlot& item = FItems[s];
    if (!(item.flags & TItemSlot::TextCallback)) {
        const std::string* text = FItems.Text(s);
        return text ? *text : std::string();
    }
    char buffer[kDispTextCapacity] = {};
    NMTVDISPINFOA info;
    FillItemRecord(info.item, s);
    info.item.mask = TVIF_TEXT;
    info.item.pszText = buffer;
    info.item.cchTextMax = kDispTextCapacity;
    Notify(info.hdr, TVN_GETDISPINFOA);
    const char* answer = info.item.pszText;
    if (!answer || answer == LPSTR_TEXTCALLBACKA)
        return std::string();
    return std::string(answer, strnlen(answer, kDispTextCapacity - 1));
}

int TNativeTreeWindow::ItemImage(TSlot s, bool selected)
{
    const TItemSlot& item = FItems[s];
    const bool callback = (item.flags & (selected ? TItemSlot::SelImageCallback : TItemSlot::ImageCallback)) != 0;
    if (!callback)
        return selected ? item.selectedImage : item.image;
    NMTVDISPINFOA info;
    FillItemRecord(info.item, s);
    info.item.mask = selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE;
    Notify(info.hdr, TVN_GETDISPINFOA);
    return selected ? info.item.iSelectedImage : info.item.iImage;
}

int TNativeTreeWindow::AskChildren(TSlot s)
{
    NMTVDISPINFOA info;
    FillItemRecord(info.item, s);
    info.item.mask = TVIF_CHILDREN;
    Notify(info.hdr, TVN_GETDISPINFOA);
    return info.item.cChildren;
}

bool TNativeTreeWindow::ItemHasChildren(TSlot s)
{
    switch (FItems[s].Children()) {
    case TChildrenMode::None: return false;
    case TChildrenMode::Some: return true;
    case TChildrenMode::Callback: return AskChildren(s) != 0;
    case TChildrenMode::Auto: break;
    }
    return FItems[s].firstChild != kNil;
}

bool TNativeTreeWindow::ItemHasButton(TSlot s)
{
    if (!(FStyle & TVS_HASBUTTONS))
        return false;
    if (FItems[s].parent == kRoot && !(FStyle & TVS_LINESATROOT))
        return false;
    return ItemHasChildren(s);
}

} // namespace lxtree
