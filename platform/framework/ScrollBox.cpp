#include "platform/framework/ScrollBox.h"

#include <QPainter>
#include <algorithm>

#include "platform/win/Gdi.h"

// ---------------------------------------------------------------------------
// TControlScrollBar

void TControlScrollBar::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TControlScrollBar*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    FVisible = source->FVisible;
    FTracking = source->FTracking;
    FSize = source->FSize;
    FButtonSize = source->FButtonSize;
    FIncrement = source->FIncrement;
    FRange = source->FRange;
    Update();
    SetPosition(source->FPosition);
}

int TControlScrollBar::Bar() const { return FKind == sbHorizontal ? SB_HORZ : SB_VERT; }

int TControlScrollBar::ClientSize() const
{
    const RECT client = FControl->ClientRect();
    return FKind == sbHorizontal ? client.right : client.bottom;
}

int TControlScrollBar::Extent() const
{
    return FControl->FAutoScroll ? std::max(FRange, FControl->ChildrenExtent(*this)) : FRange;
}

void TControlScrollBar::SetRange(int Value)
{
    FRange = std::max(0, Value);
    FControl->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool Value)
{
    FVisible = Value;
    FControl->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int Value)
{
    Value = std::clamp(Value, 0, MaxPosition());
    const int delta = FPosition - Value;
    if (delta == 0)
        return;
    FPosition = Value;
    if (FKind == sbHorizontal)
        FControl->ScrollBy(delta, 0);
    else
        FControl->ScrollBy(0, delta);
    Update();
}

int TControlScrollBar::PositionFor(int Code) const
{
    switch (Code) {
    case SB_LINEUP: return FPosition - FIncrement;
    case SB_LINEDOWN: return FPosition + FIncrement;
    case SB_PAGEUP: return FPosition - ClientSize();
    case SB_PAGEDOWN: return FPosition + ClientSize();
    case SB_TOP: return 0;
    case SB_BOTTOM: return MaxPosition();
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return ScrollBarInfo(FControl->Handle(), Bar()).nTrackPos;
    default: return -1;
    }
}

// Shows or hides the bar and gives it the extent, the page and the position.
void TControlScrollBar::Update()
{
    if (!FControl->HandleAllocated())
        return;
    const HWND handle = FControl->Handle();
    FShown = FVisible && Extent() > ClientSize();
    ShowScrollBar(handle, Bar(), FShown);
    if (!FShown)
        SetPosition(0);
    else if (FPosition > MaxPosition())
        SetPosition(MaxPosition());
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(0, Extent() - 1);
    info.nPage = UINT(ClientSize());
    info.nPos = FPosition;
    SetScrollInfo(handle, Bar(), &info, TRUE);
}

// ---------------------------------------------------------------------------
// TScrollBox

TScrollBox::TScrollBox(TComponent* AOwner)
    : TWinControl(AOwner), FHorzScrollBar(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      FVertScrollBar(std::make_unique<TControlScrollBar>(this, sbVertical))
{
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetBounds(0, 0, 185, 41);
}

TScrollBox::~TScrollBox()
{
    // The children go first; their moves must not reach the scroll bars being freed.
    FUpdatingBars = true;
    DestroyChildControls();
}

void TScrollBox::SetHorzScrollBar(TControlScrollBar* Value)
{
    if (Value)
        FHorzScrollBar->Assign(Value);
}

void TScrollBox::SetVertScrollBar(TControlScrollBar* Value)
{
    if (Value)
        FVertScrollBar->Assign(Value);
}

void TScrollBox::SetAutoScroll(bool Value)
{
    FAutoScroll = Value;
    UpdateScrollBars();
}

void TScrollBox::SetBorderStyle(TBorderStyle Value)
{
    if (Replace(FBorderStyle, Value))
        RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    if (FBorderStyle == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateScrollBars();
}

int TScrollBox::ChildrenExtent(const TControlScrollBar& Bar) const
{
    int extent = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        const TWinControl* child = Controls(i);
        if (!child->Visible())
            continue;
        const int reach = Bar.Kind() == sbHorizontal ? child->Left() + child->Width() : child->Top() + child->Height();
        extent = std::max(extent, reach + Bar.Position());
    }
    return extent;
}

void TScrollBox::UpdateScrollBars()
{
    if (FUpdatingBars || !HandleAllocated())
        return;
    const TFlagScope updating(FUpdatingBars);
    // A bar that shows narrows the client area along the other; the second pass sees it.
    for (int pass = 0; pass < 2; ++pass) {
        FHorzScrollBar->Update();
        FVertScrollBar->Update();
    }
}

void TScrollBox::ScrollBy(int DeltaX, int DeltaY)
{
    // The children's moves are not changes of the scrolled area.
    const bool updating = FUpdatingBars;
    FUpdatingBars = true;
    for (int i = 0; i < ControlCount(); ++i) {
        TWinControl* child = Controls(i);
        child->SetBounds(child->Left() + DeltaX, child->Top() + DeltaY, child->Width(), child->Height());
    }
    FUpdatingBars = updating;
}

void TScrollBox::ScrollMessage(TControlScrollBar& Bar, int Code)
{
    const int position = Bar.PositionFor(Code);
    if (position >= 0 || Code == SB_LINEUP || Code == SB_PAGEUP)
        Bar.SetPosition(std::max(0, position));
}

void TScrollBox::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_HSCROLL: ScrollMessage(*FHorzScrollBar, LOWORD(Message.WParam)); return;
    case WM_VSCROLL: ScrollMessage(*FVertScrollBar, LOWORD(Message.WParam)); return;
    case CM_CONTROLCHANGE: UpdateScrollBars(); return;
    case WM_ERASEBKGND:
        if (auto* dc = reinterpret_cast<HDC>(Message.WParam); dc && dc->painter) {
            const RECT r = ClientRect();
            dc->painter->fillRect(0, 0, r.right, r.bottom, ColorRefToQColor(ColorToRGB(Color())));
        }
        Message.Result = 1;
        return;
    default: break;
    }
    TWinControl::Dispatch(Message);
    if (Message.Msg == WM_SIZE)
        UpdateScrollBars();
}
