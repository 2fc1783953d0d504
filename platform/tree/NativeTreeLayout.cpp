// Geometry of the rows, scrolling, scroll bars and hit testing. Vertical positions
// are counted in rows (an item takes `integral` rows), horizontal ones in pixels.
#include <QApplication>
#include <QFontMetrics>
#include <algorithm>
#include <cstring>

#include "platform/win/Gdi.h"
#include "platform/win/ImageList.h"
#include "platform/tree/LabelLine.h"
#include "platform/tree/NativeTree.h"

namespace lxtree {

namespace {
constexpr int kHorizontalLine = 5;
} // namespace

void TNativeTreeWindow::ReadStyle()
{
    FStyle = DWORD(GetWindowLongA(FHwnd, GWL_STYLE));
    FContentWidth = 0;
}

void TNativeTreeWindow::SetFont(HFONT font)
{
    QFont qfont;
    if (font && FontFromHandle(font, &qfont)) {
        FFont = font;
        FQFont = qfont;
    } else {
        FFont = FOwnFont;
        FontFromHandle(FOwnFont, &FQFont);
    }
    FCustomLabelWidths.clear();
    UpdateDefaultItemHeight();
    LayoutChanged();
}

void TNativeTreeWindow::UpdateDefaultItemHeight()
{
    FContentWidth = 0;
    if (FCustomItemHeight)
        return;
    int height = QFontMetrics(FQFont).height() + 3;
    int cx = 0, cy = 0;
    if (FNormalImages && ImageList_GetIconSize(FNormalImages, &cx, &cy))
        height = std::max(height, cy);
    if (FStateImages && ImageList_GetIconSize(FStateImages, &cx, &cy))
        height = std::max(height, cy);
    if (!(FStyle & TVS_NONEVENHEIGHT) && (height & 1))
        ++height;
    FItemHeight = height;
}

int TNativeTreeWindow::ClientWidth() const
{
    RECT r;
    return GetClientRect(FHwnd, &r) ? r.right : 0;
}

int TNativeTreeWindow::ClientHeight() const
{
    RECT r;
    return GetClientRect(FHwnd, &r) ? r.bottom : 0;
}

int TNativeTreeWindow::PageRows() const { return std::max(0, ClientHeight() / std::max(1, FItemHeight)); }

std::uint32_t TNativeTreeWindow::TopRow()
{
    if (FTop == kNil)
        return 0;
    if (FTopRowEpoch != FItems.LayoutEpoch()) {
        FTopRow = FItems.RowOf(FTop);
        FTopRowEpoch = FItems.LayoutEpoch();
    }
    return FTopRow;
}

void TNativeTreeWindow::SetTopRow(std::int64_t row)
{
    const std::int64_t total = FItems.TotalRows();
    const std::int64_t page = std::max(1, PageRows());
    row = std::clamp<std::int64_t>(row, 0, std::max<std::int64_t>(0, total - page));
    const std::uint32_t before = TopRow();
    TSlot top = FItems.ItemAtRow(std::uint32_t(row));
    // A tall item covering the row starts above it: moving down must still move.
    if (top != kNil && row > std::int64_t(before) && FItems.RowOf(top) <= before)
        top = FItems.NextVisible(top) != kNil ? FItems.NextVisible(top) : top;
    if (top == FTop)
        return;
    FTop = top;
    FTopRowEpoch = 0;
    if (FEdit)
        EndEditLabel(false);
    HideToolTip();
    UpdateScrollBars();
    Invalidate();
}

void TNativeTreeWindow::SetTopItem(TSlot s)
{
    FTop = s;
    FTopRowEpoch = 0;
    ClampTop();
    UpdateScrollBars();
    Invalidate();
}

void TNativeTreeWindow::ClampTop()
{
    if (FTop == kNil || !FItems.IsVisible(FTop)) {
        FTop = FItems[kRoot].firstChild;
        FTopRowEpoch = 0;
    }
    if (FTop == kNil)
        return;
    const std::int64_t total = FItems.TotalRows();
    const std::int64_t page = std::max(1, PageRows());
    const std::int64_t maxTop = std::max<std::int64_t>(0, total - page);
    if (std::int64_t(TopRow()) > maxTop) {
        FTop = FItems.ItemAtRow(std::uint32_t(maxTop));
        FTopRowEpoch = 0;
    }
}

void TNativeTreeWindow::ScrollRows(std::int64_t rows) { SetTopRow(std::int64_t(TopRow()) + rows); }

void TNativeTreeWindow::ScrollHorizontally(int pos)
{
    pos = std::clamp(pos, 0, std::max(0, FContentWidth - ClientWidth()));
    if (pos == FXPos)
        return;
    FXPos = pos;
    if (FEdit)
        EndEditLabel(false);
    UpdateScrollBars();
    Invalidate();
}

// The thumb position of a scroll message is 16 bits wide. While the user drags the
// thumb, the bar's track position holds the same value in full, which counts for
// ranges beyond 16 bits.
int TNativeTreeWindow::ThumbPosition(int bar, int position) const
{
    SCROLLINFO info;
    info.fMask = SIF_TRACKPOS;
    if (GetScrollInfo(FHwnd, bar, &info) && (info.nTrackPos & 0xFFFF) == position)
        return info.nTrackPos;
    return position;
}

void TNativeTreeWindow::OnVScroll(int code, int position)
{
    if (FStyle & TVS_NOSCROLL)
        return;
    const int page = std::max(1, PageRows());
    switch (code) {
    case SB_LINEUP: ScrollRows(-1); break;
    case SB_LINEDOWN: ScrollRows(1); break;
    case SB_PAGEUP: ScrollRows(-page); break;
    case SB_PAGEDOWN: ScrollRows(page); break;
    case SB_TOP: SetTopRow(0); break;
    case SB_BOTTOM: SetTopRow(FItems.TotalRows()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: SetTopRow(ThumbPosition(SB_VERT, position)); break;
    default: break;
    }
}

void TNativeTreeWindow::OnHScroll(int code, int position)
{
    if (FStyle & TVS_NOSCROLL)
        return;
    switch (code) {
    case SB_LINELEFT: ScrollHorizontally(FXPos - kHorizontalLine); break;
    case SB_LINERIGHT: ScrollHorizontally(FXPos + kHorizontalLine); break;
    case SB_PAGELEFT: ScrollHorizontally(FXPos - ClientWidth()); break;
    case SB_PAGERIGHT: ScrollHorizontally(FXPos + ClientWidth()); break;
    case SB_LEFT: ScrollHorizontally(0); break;
    case SB_RIGHT: ScrollHorizontally(FContentWidth); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollHorizontally(ThumbPosition(SB_HORZ, position)); break;
    default: break;
    }
}

void TNativeTreeWindow::OnMouseWheel(int delta)
{
    if (FStyle & TVS_NOSCROLL)
        return;
    FWheelRemainder += delta;
    const int notches = FWheelRemainder / 120;
    FWheelRemainder -= notches * 120;
    if (notches)
        ScrollRows(-std::int64_t(notches) * 3);
}

void TNativeTreeWindow::UpdateScrollBars()
{
    if (!FRedraw) {
        FLayoutDirty = true;
        return;
    }
    // Showing a bar shrinks the client area, which may call for the other bar:
    // a few rounds settle it.
    for (int round = 0; round < 3; ++round) {
        const bool noScroll = (FStyle & TVS_NOSCROLL) != 0;
        const int page = PageRows();
        const std::uint32_t total = FItems.TotalRows();
        const bool showV = !noScroll && total > std::uint32_t(page);
        const int clientWidth = ClientWidth();
        const bool showH = !noScroll && !(FStyle & TVS_NOHSCROLL) && FContentWidth > clientWidth;
        if (!showH && FXPos != 0) {
            FXPos = 0;
            Invalidate();
        }
        // A bar that is not needed reports an empty range and a page of 0.
        SCROLLINFO v;
        v.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        v.nMax = showV ? int(total - 1) : 0;
        v.nPage = showV ? UINT(page) : 0;
        v.nPos = showV ? int(TopRow()) : 0;
        SetScrollInfo(FHwnd, SB_VERT, &v, TRUE);
        SCROLLINFO h;
        h.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        h.nMax = showH ? FContentWidth - 1 : 0;
        h.nPage = showH ? UINT(clientWidth) : 0;
        h.nPos = showH ? FXPos : 0;
        SetScrollInfo(FHwnd, SB_HORZ, &h, TRUE);
        const bool changed = showV != FVBarShown || showH != FHBarShown;
        if (!changed)
            break;
        FVBarShown = showV;
        FHBarShown = showH;
        ShowScrollBar(FHwnd, SB_VERT, showV);
        ShowScrollBar(FHwnd, SB_HORZ, showH);
    }
}

// Structural changes end here: while redraw is off they only mark the layout,
// and turning redraw on again settles it once.
void TNativeTreeWindow::LayoutChanged()
{
    if (!FRedraw || FLayoutBatch > 0) {
        FLayoutDirty = true;
        return;
    }
    FLayoutDirty = false;
    ClampTop();
    UpdateScrollBars();
    Invalidate();
    if (FEdit)
        PositionEditBox();
}

int TNativeTreeWindow::RootColumns() const
{
    return (FStyle & TVS_LINESATROOT) && (FStyle & (TVS_HASLINES | TVS_HASBUTTONS)) ? 1 : 0;
}

QFont TNativeTreeWindow::ItemFont(TSlot s) const
{
    QFont font = FQFont;
    if (FItems[s].state & TVIS_BOLD)
        font.setBold(true);
    return font;
}

int TNativeTreeWindow::LabelWidth(TSlot s)
{
    auto custom = FCustomLabelWidths.find(s);
    if (custom != FCustomLabelWidths.end())
        return custom->second;
    const QString text = QString::fromUtf8(ItemText(s).c_str());
    return FLabels.Get(text, ItemFont(s))->BoxWidth();
}

TItemGeometry TNativeTreeWindow::Geometry(TSlot s, int top, int labelWidth)
{
    TItemGeometry g;
    g.top = top;
    g.bottom = top + FItems[s].integral * FItemHeight;
    const int column = FItems.Level(s) + RootColumns();
    const int x = column * FIndent - FXPos;
    g.buttonLeft = column > 0 ? x - FIndent : x;
    g.buttonRight = x;
    g.stateLeft = x;
    int cx = 0, cy = 0;
    const int stateIndex = (FItems[s].state & TVIS_STATEIMAGEMASK) >> 12;
    g.imageLeft = g.stateLeft;
    if (FStateImages && stateIndex > 0 && ImageList_GetIconSize(FStateImages, &cx, &cy))
        g.imageLeft += cx;
    g.labelLeft = g.imageLeft;
    const bool noImage = !(FItems[s].flags & TItemSlot::ImageCallback) && FItems[s].image == I_IMAGENONE;
    if (FNormalImages && !noImage && ImageList_GetIconSize(FNormalImages, &cx, &cy))
        g.labelLeft += cx + kImageGap;
    g.labelRight = g.labelLeft + (labelWidth >= 0 ? labelWidth : LabelWidth(s));
    return g;
}

bool TNativeTreeWindow::ItemTop(TSlot s, int* top)
{
    if (!IsLiveItem(s) || !FItems.IsVisible(s))
        return false;
    const std::int64_t rows = std::int64_t(FItems.RowOf(s)) - std::int64_t(TopRow());
    *top = int(std::clamp<std::int64_t>(rows * FItemHeight, -0x3FFFFFFF, 0x3FFFFFFF));
    return true;
}

bool TNativeTreeWindow::ItemRow(TSlot s, RECT* row)
{
    int top = 0;
    if (!ItemTop(s, &top))
        return false;
    *row = RECT{0, top, ClientWidth(), top + FItems[s].integral * FItemHeight};
    return true;
}

bool TNativeTreeWindow::ItemGeometry(TSlot s, TItemGeometry* g)
{
    int top = 0;
    if (!ItemTop(s, &top))
        return false;
    *g = Geometry(s, top);
    return true;
}

BOOL TNativeTreeWindow::GetItemRect(RECT* rect, bool labelOnly)
{
    if (!rect)
        return FALSE;
    HTREEITEM handle;
    std::memcpy(&handle, rect, sizeof handle);
    const TSlot s = FItems.Resolve(handle);
    if (!labelOnly)
        return ItemRow(s, rect);
    TItemGeometry g;
    if (!ItemGeometry(s, &g))
        return FALSE;
    *rect = g.Label();
    return TRUE;
}

TSlot TNativeTreeWindow::ItemAtPoint(int y, int* top)
{
    if (y < 0)
        return kNil;
    const int lowest = std::max(y, ClientHeight());
    for (TVisibleRows row = VisibleRows(); row.Valid() && row.Top() <= lowest; row.Next()) {
        if (y < row.Bottom()) {
            *top = row.Top();
            return row.Item();
        }
    }
    return kNil;
}

HTREEITEM TNativeTreeWindow::HitTest(TVHITTESTINFO& info)
{
    const int x = info.pt.x, y = info.pt.y;
    UINT flags = 0;
    if (x < 0)
        flags |= TVHT_TOLEFT;
    else if (x >= ClientWidth())
        flags |= TVHT_TORIGHT;
    if (y < 0)
        flags |= TVHT_ABOVE;
    else if (y >= ClientHeight())
        flags |= TVHT_BELOW;
    info.hItem = nullptr;
    if (flags) {
        info.flags = flags;
        return nullptr;
    }
    int top = 0;
    const TSlot s = ItemAtPoint(y, &top);
    if (s == kNil) {
        info.flags = TVHT_NOWHERE;
        return nullptr;
    }
    const HTREEITEM handle = FItems.Handle(s);
    const TItemGeometry g = Geometry(s, top);
    if (x < g.buttonLeft)
        flags = TVHT_ONITEMINDENT;
    else if (x < g.buttonRight)
        flags = FItems.Resolve(handle) == s && ItemHasButton(s) ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
    else if (x < g.imageLeft)
        flags = TVHT_ONITEMSTATEICON;
    else if (x < g.labelLeft)
        flags = TVHT_ONITEMICON;
    else if (x < g.labelRight)
        flags = TVHT_ONITEMLABEL;
    else
        flags = TVHT_ONITEMRIGHT;
    info.flags = flags;
    info.hItem = FItems.Resolve(handle) == s ? handle : nullptr;
    return info.hItem;
}

const TRowsInView& TNativeTreeWindow::RowsInView()
{
    const int height = ClientHeight();
    TRowsInView& view = FRowsInView;
    if (!view.IsFor(FTop, FItems.LayoutEpoch(), height, FItemHeight)) {
        view.rows.clear();
        for (TVisibleRows row = VisibleRows(); row.Valid() && row.Top() < height; row.Next())
            view.rows.push_back({row.Item(), row.Top(), row.Bottom()});
        view.top = FTop;
        view.epoch = FItems.LayoutEpoch();
        view.clientHeight = height;
        view.itemHeight = FItemHeight;
    }
    return view;
}

// Only the item's row is painted again; an item out of view needs nothing, and
// neither does any item while the whole view waits for its paint or its layout. An
// item under a collapsed parent is out of view without a look at the rows in view
// (which asks the window for its client area): a bulk change over a collapsed tree
// costs a walk up a few parents per item.
void TNativeTreeWindow::InvalidateItem(TSlot s)
{
    if (s == kNil || !FRedraw || FLayoutDirty || FWholeViewPending || !FItems.IsVisible(s))
        return;
    if (const TRowsInView::TRow* row = RowsInView().Find(s)) {
        const RECT r{0, row->top, ClientWidth(), row->bottom};
        InvalidateRect(FHwnd, &r, TRUE);
    }
}

void TNativeTreeWindow::Invalidate()
{
    FWholeViewPending = FRedraw;
    InvalidateRect(FHwnd, nullptr, TRUE);
}

} // namespace lxtree
