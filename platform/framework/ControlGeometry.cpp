// Where a windowed control lies: its bounds within the size constraints, the alignment
// and anchors that place it in its parent, and the inner border around its client area.
#include "platform/framework/Controls.h"

#include <QPainter>
#include <QRegion>
#include <algorithm>

#include "platform/win/Gdi.h"

namespace {

// One axis of an anchored control after its parent's client area grew by Delta (or
// shrank, Delta < 0): anchored at both ends it stretches, at the far end only it moves,
// at neither end its centre moves by half the change.
void PlaceAlongAxis(bool NearAnchored, bool FarAnchored, int Delta, int& Position, int& Size)
{
    if (NearAnchored && FarAnchored)
        Size += Delta;
    else if (FarAnchored)
        Position += Delta;
    else if (!NearAnchored)
        Position += Delta / 2;
}

} // namespace

// ---------------------------------------------------------------------------
// Size constraints

void TSizeConstraints::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    auto* source = dynamic_cast<TSizeConstraints*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    FMinWidth = source->FMinWidth;
    FMinHeight = source->FMinHeight;
    FMaxWidth = source->FMaxWidth;
    FMaxHeight = source->FMaxHeight;
    Changed();
}

int TSizeConstraints::Constrain(int Size, int Min, int Max)
{
    if (Max > 0 && Size > Max)
        Size = Max;
    if (Min > 0 && Size < Min)
        Size = Min;
    return Size;
}

void TSizeConstraints::Change(int& Field, int Value)
{
    if (Replace(Field, std::max(0, Value)))
        Changed();
}

void TSizeConstraints::Changed()
{
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------------------
// Bounds, alignment and anchors

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FLeft = ALeft;
    FTop = ATop;
    FWidth = FConstraints->ConstrainWidth(std::max(0, AWidth));
    FHeight = FConstraints->ConstrainHeight(std::max(0, AHeight));
    if (!FApplyingAnchors)
        TakeAnchorReference();
    if (HandleAllocated())
        MoveWindow(FHandle, FLeft, FTop, FWidth, FHeight, TRUE);
    if (FHostWindow)
        MoveWindow(FHostWindow, 0, 0, FWidth, FHeight, TRUE);
    if (FParent)
        FParent->Perform(CM_CONTROLCHANGE, WPARAM(this));
}

void TWinControl::SetConstraints(TSizeConstraints* Value)
{
    if (Value)
        FConstraints->Assign(Value);
}

RECT TWinControl::ClientRect()
{
    RECT r{0, 0, std::max(0, FWidth - 2 * FBorderWidth), std::max(0, FHeight - 2 * FBorderWidth)};
    if (HandleAllocated())
        GetClientRect(FHandle, &r);
    return r;
}

void TWinControl::SetAlign(TAlign Value)
{
    FAlign = Value;
    if (Value == alNone)
        TakeAnchorReference();
    if (FParent)
        FParent->AlignControls();
}

void TWinControl::SetAnchors(TAnchors Value)
{
    FAnchors = Value;
    TakeAnchorReference();
}

void TWinControl::TakeAnchorReference()
{
    if (!FParent) {
        FAnchorReference = TAnchorReference{};
        return;
    }
    const RECT parentClient = FParent->ClientRect();
    FAnchorReference = TAnchorReference{true, FLeft, FTop, FWidth, FHeight, parentClient.right, parentClient.bottom};
}

// Measured from the reference, not from where the last resize left the control, so
// that shrinking and growing the parent again brings the control back.
void TWinControl::ApplyAnchors(int ParentWidth, int ParentHeight)
{
    const TAnchorReference& r = FAnchorReference;
    if (FAlign != alNone || FAnchors == DefaultAnchors || !r.Taken)
        return;
    int left = r.Left, top = r.Top, width = r.Width, height = r.Height;
    PlaceAlongAxis(FAnchors.Contains(akLeft), FAnchors.Contains(akRight), ParentWidth - r.ParentWidth, left, width);
    PlaceAlongAxis(FAnchors.Contains(akTop), FAnchors.Contains(akBottom), ParentHeight - r.ParentHeight, top,
                   height);
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    const TFlagScope anchoring(FApplyingAnchors);
    SetBounds(left, top, width, height);
}

void TWinControl::WMSize(TMessage& Message)
{
    DefaultHandler(Message);
    AlignControls();
}

void TWinControl::AlignControls()
{
    if (!HandleAllocated())
        return;
    const RECT client = ClientRect();
    RECT area = client;
    for (TWinControl* c : FControls) {
        switch (c->FAlign) {
        case alTop:
            c->SetBounds(area.left, area.top, area.right - area.left, c->FHeight);
            area.top += c->FHeight;
            break;
        case alBottom:
            c->SetBounds(area.left, area.bottom - c->FHeight, area.right - area.left, c->FHeight);
            area.bottom -= c->FHeight;
            break;
        case alLeft:
            c->SetBounds(area.left, area.top, c->FWidth, area.bottom - area.top);
            area.left += c->FWidth;
            break;
        case alRight:
            c->SetBounds(area.right - c->FWidth, area.top, c->FWidth, area.bottom - area.top);
            area.right -= c->FWidth;
            break;
        default:
            break;
        }
    }
    for (TWinControl* c : FControls)
        if (c->FAlign == alClient)
            c->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
    for (TWinControl* c : std::vector<TWinControl*>(FControls))
        c->ApplyAnchors(client.right, client.bottom);
}

// ---------------------------------------------------------------------------
// The inner border

void TWinControl::SetBorderWidth(int Value)
{
    if (!Replace(FBorderWidth, std::max(0, Value)))
        return;
    // The window asks again for its client area; WM_SIZE and the alignment follow.
    if (HandleAllocated())
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinControl::WMNCCalcSize(TMessage& Message)
{
    auto* client = reinterpret_cast<RECT*>(Message.LParam);
    const RECT window = client ? *client : RECT{};
    DefaultHandler(Message);
    if (!client)
        return;
    FFrameInsets = RECT{client->left - window.left, client->top - window.top, window.right - client->right,
                        window.bottom - client->bottom};
    InflateRect(client, -FBorderWidth, -FBorderWidth);
}

void TWinControl::WMNCPaint(TMessage& Message)
{
    DefaultHandler(Message);
    auto* dc = reinterpret_cast<HDC>(Message.WParam);
    RECT window;
    if (FBorderWidth == 0 || !dc || !dc->painter || !GetWindowRect(FHandle, &window))
        return;
    const QRect inFrame = QRect(0, 0, window.right - window.left, window.bottom - window.top)
                              .adjusted(FFrameInsets.left, FFrameInsets.top, -FFrameInsets.right,
                                        -FFrameInsets.bottom);
    const QRect inBorder = inFrame.adjusted(FBorderWidth, FBorderWidth, -FBorderWidth, -FBorderWidth);
    QPainter& painter = *dc->painter;
    painter.save();
    painter.setClipRegion(QRegion(inFrame).subtracted(QRegion(inBorder)), Qt::IntersectClip);
    painter.fillRect(inFrame, ColorRefToQColor(ColorToRGB(Color())));
    painter.restore();
}
