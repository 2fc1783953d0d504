// What the control itself paints on its window besides the native tree: the background
// on the erase message, and the inverted focus rectangles of rubber-band selection.
//
// A Qt widget can only be painted inside its paint pass, so a focus rectangle is not
// inverted on the screen at once: the control keeps the rectangles that are shown and
// inverts them over every paint of the native tree. Drawing a shown rectangle again
// takes it away, which is what inverting it a second time would do.
#include <QPainter>
#include <algorithm>

#include "control/lxTreeViewControl.h"
#include "platform/win/Gdi.h"

namespace {

bool SameRect(const RECT& A, const RECT& B)
{
    return A.left == B.left && A.top == B.top && A.right == B.right && A.bottom == B.bottom;
}

// The four one-pixel edges that a focus rectangle changes.
void InvalidateFrame(HWND Window, const RECT& Rect)
{
    const RECT edges[] = {
        {Rect.left, Rect.top, Rect.right, Rect.top + 1},
        {Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom},
        {Rect.left, Rect.top, Rect.left + 1, Rect.bottom},
        {Rect.right - 1, Rect.top, Rect.right, Rect.bottom},
    };
    for (const RECT& edge : edges)
        InvalidateRect(Window, &edge, FALSE);
}

// Lends a paint pass's device context to a canvas for as long as it lives.
class TCanvasBinding {
public:
    TCanvasBinding(TCanvas& Canvas, HDC DC) : FCanvas(Canvas) { Canvas.SetHandle(DC); }
    ~TCanvasBinding() { FCanvas.SetHandle(nullptr); }
    TCanvasBinding(const TCanvasBinding&) = delete;
    TCanvasBinding& operator=(const TCanvasBinding&) = delete;

private:
    TCanvas& FCanvas;
};

} // namespace

// With roAutoEraseBackground the client area is filled with the control's colour;
// without it nothing is painted and the native tree's paint covers everything.
void TCustomlxTreeView::WMEraseBkgnd(TMessage& Message)
{
    auto* dc = reinterpret_cast<HDC>(Message.WParam);
    if (FOptions.Contains(roAutoEraseBackground) && dc && dc->painter) {
        const RECT client = ClientRect();
        dc->painter->fillRect(QRect(0, 0, client.right, client.bottom), ColorRefToQColor(ColorToRGB(Color())));
    }
    Message.Result = 1;
}

void TCustomlxTreeView::WMPaint(TMessage& Message)
{
    TWinControl::Dispatch(Message);
    auto* dc = reinterpret_cast<HDC>(Message.WParam);
    if (FFocusRects.empty() || !dc || !dc->painter)
        return;
    TCanvasBinding binding(*FControlCanvas, dc);
    FControlCanvas->Pen()->SetColor(clBlack);
    for (const RECT& rect : FFocusRects)
        FControlCanvas->DrawFocusRect(rect);
}

void TCustomlxTreeView::DrawFocusRect(const RECT& Rect)
{
    const auto shown = std::find_if(FFocusRects.begin(), FFocusRects.end(),
                                    [&](const RECT& r) { return SameRect(r, Rect); });
    if (shown != FFocusRects.end())
        FFocusRects.erase(shown);
    else
        FFocusRects.push_back(Rect);
    if (HandleAllocated())
        InvalidateFrame(Handle(), Rect);
}
