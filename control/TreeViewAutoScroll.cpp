// Scrolling while the mouse rests near an edge: the edge zones choose the directions,
// and each tick of the scroll timer scrolls one step, sooner each time: lines at first,
// pages once the delay is down to 1 ms. A rubber band being drawn moves with the rows.
#include <cstdlib>

#include "control/lxTreeViewControl.h"

namespace {

constexpr unsigned kFirstScrollDelay = 300;
constexpr unsigned kSecondScrollDelay = 50; // shortened by a quarter before it is used
constexpr int kBandStepX = 5;               // pixels of one horizontal line step

bool AtEnd(const SCROLLINFO& Info) { return Info.nPos + int(Info.nPage) - 1 == Info.nMax; }
bool BeforeEnd(const SCROLLINFO& Info) { return Info.nPage != 0 && Info.nPos + int(Info.nPage) - 1 < Info.nMax; }

} // namespace

void TCustomlxTreeView::DoAutoScroll(int X, int Y)
{
    const int height = ItemHeight();
    const int zone = height < 1 ? std::abs(Font()->Size()) : height / 2;
    FScrollDirection = TScrollDirection{};
    const SCROLLINFO vertical = ScrollBarInfo(Handle(), SB_VERT);
    const SCROLLINFO horizontal = ScrollBarInfo(Handle(), SB_HORZ);
    const RECT client = ClientRect();
    if (X < zone && horizontal.nPos > horizontal.nMin)
        FScrollDirection.Include(sdLeft);
    if (BeforeEnd(horizontal) && X > client.right - zone)
        FScrollDirection.Include(sdRight);
    if (Y < zone && vertical.nPos > vertical.nMin)
        FScrollDirection.Include(sdUp);
    if (BeforeEnd(vertical) && Y > client.bottom - zone)
        FScrollDirection.Include(sdDown);
    FScrollTimer->SetInterval(kFirstScrollDelay);
    FScrollTimer->SetEnabled(!FScrollDirection.Empty());
}

void TCustomlxTreeView::DoScroll(TObject*)
{
    FScrollTimer->SetEnabled(false);
    unsigned delay = FScrollTimer->Interval();
    if (delay == kFirstScrollDelay)
        delay = kSecondScrollDelay;
    const bool byPages = delay <= 1;
    if (!byPages)
        delay = delay * 3 / 4;
    FScrollTimer->SetInterval(delay);
    TDragObject* const image = Dragging() ? FDragObject : nullptr;
    if (image)
        image->HideDragImage();
    const bool band = IsMouseSelecting();
    if (band)
        DrawFocusRect(FBandRect);
    ScrollVertically(byPages, band);
    ScrollHorizontally(band);
    if (band)
        DrawFocusRect(FBandRect);
    if (image)
        image->ShowDragImage();
    if (!FScrollDirection.Empty())
        FScrollTimer->SetEnabled(true);
}

// One step toward Direction while it is pending: at the limit the direction is done,
// otherwise the control sends itself the scroll message. True when it scrolled.
bool TCustomlxTreeView::ScrollStep(TScrollDirectionMember Direction, bool AtLimit, UINT Msg, WPARAM Code)
{
    if (!FScrollDirection.Contains(Direction))
        return false;
    if (AtLimit) {
        FScrollDirection.Exclude(Direction);
        return false;
    }
    Perform(Msg, Code);
    return true;
}

// A band moves with the rows: its start point and the edge away from the scroll.
void TCustomlxTreeView::ScrollVertically(bool ByPages, bool Band)
{
    const SCROLLINFO before = ScrollBarInfo(Handle(), SB_VERT);
    const auto pixelsMoved = [&] { return ItemHeight() * (ScrollBarInfo(Handle(), SB_VERT).nPos - before.nPos); };
    if (ScrollStep(sdUp, before.nPos == before.nMin, WM_VSCROLL, ByPages ? SB_PAGEUP : SB_LINEUP) && Band) {
        const int down = -pixelsMoved();
        FBandOrigin.y += down;
        FBandRect.bottom += down;
    }
    if (ScrollStep(sdDown, AtEnd(before), WM_VSCROLL, ByPages ? SB_PAGEDOWN : SB_LINEDOWN) && Band) {
        const int up = pixelsMoved();
        FBandOrigin.y -= up;
        FBandRect.top -= up;
    }
}

void TCustomlxTreeView::ScrollHorizontally(bool Band)
{
    const SCROLLINFO before = ScrollBarInfo(Handle(), SB_HORZ);
    if (ScrollStep(sdLeft, before.nPos == before.nMin, WM_HSCROLL, SB_LINELEFT) && Band) {
        FBandOrigin.x += kBandStepX;
        FBandRect.right += kBandStepX;
    }
    if (ScrollStep(sdRight, AtEnd(before), WM_HSCROLL, SB_LINERIGHT) && Band) {
        FBandOrigin.x -= kBandStepX;
        FBandRect.left -= kBandStepX;
    }
}

void TCustomlxTreeView::CMMouseLeave(TMessage& Message)
{
    FScrollTimer->SetEnabled(false);
    TWinControl::Dispatch(Message);
}
