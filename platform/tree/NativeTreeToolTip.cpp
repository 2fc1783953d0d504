// Tooltips: over a label the window asks itself for the tip's text (TTN_NEEDTEXTW,
// which the window's owner may answer first) and shows it in a Qt tooltip. With
// TVS_INFOTIP the parent supplies the text; otherwise a label cut off at the right
// edge shows in full.
#include <QApplication>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

#include "platform/win/WindowWidget.h"
#include "platform/tree/NativeTree.h"

namespace lxtree {

namespace {
constexpr int kToolTipDelayMs = 600;
constexpr int kInfoTipCapacity = 1024;
} // namespace

void TNativeTreeWindow::CreateToolTip()
{
    if (FToolTip)
        return;
    FToolTip = CreateWindowExA(0, TOOLTIPS_CLASSA, "", 0, 0, 0, 0, 0, FHwnd, 0);
    FOwnToolTip = FToolTip != nullptr;
}

void TNativeTreeWindow::DestroyToolTip()
{
    HideToolTip();
    if (FOwnToolTip && FToolTip)
        DestroyWindow(FToolTip);
    FToolTip = nullptr;
    FOwnToolTip = false;
}

void TNativeTreeWindow::TrackToolTip(TSlot s)
{
    if (!FToolTip)
        return;
    const HTREEITEM handle = s == kNil ? nullptr : FItems.Handle(s);
    if (handle == FTipItem)
        return;
    const bool showing = FTipShown;
    HideToolTip();
    FTipItem = handle;
    if (!handle)
        return;
    if (showing)
        ShowToolTip();
    else
        FTipTimer->start(kToolTipDelayMs);
}

void TNativeTreeWindow::HideToolTip()
{
    FTipTimer->stop();
    if (FTipShown)
        QToolTip::hideText();
    FTipShown = false;
}

void TNativeTreeWindow::ShowToolTip()
{
    const TSlot s = FItems.Resolve(FTipItem);
    if (s == kNil || !FToolTip)
        return;
    NMTTDISPINFOW request;
    request.hdr.hwndFrom = FToolTip;
    request.hdr.idFrom = UINT_PTR(FHwnd);
    request.hdr.code = TTN_NEEDTEXTW;
    request.uFlags = TTF_IDISHWND;
    const LRESULT answer = SendMessageA(FHwnd, WM_NOTIFY, request.hdr.idFrom, LPARAM(&request));
    QString text;
    if (answer == 1 || request.szText[0])
        text = QString::fromUtf16(request.szText);
    else if (request.lpszText && request.lpszText != reinterpret_cast<LPWSTR>(-1))
        text = QString::fromUtf16(request.lpszText);
    int top = 0;
    auto* tree = qobject_cast<TWindowWidget*>(WindowWidget(FHwnd));
    const TSlot again = FItems.Resolve(FTipItem);
    if (text.isEmpty() || !tree || again == kNil || !ItemTop(again, &top))
        return;
    const TItemGeometry g = Geometry(again, top);
    const QPoint at = tree->mapToGlobal(tree->ClientRect().topLeft() + QPoint(g.labelLeft, top));
    QToolTip::showText(at, text, tree);
    FTipShown = true;
}

LRESULT TNativeTreeWindow::AnswerToolTipText(NMTTDISPINFOW& info)
{
    const TSlot s = FItems.Resolve(FTipItem);
    if (s == kNil)
        return 0;
    std::string text;
    if (FStyle & TVS_INFOTIP) {
        char buffer[kInfoTipCapacity] = {};
        NMTVGETINFOTIPA tip;
        tip.pszText = buffer;
        tip.cchTextMax = kInfoTipCapacity;
        tip.hItem = FTipItem;
        tip.lParam = FItems[s].LParam();
        Notify(tip.hdr, TVN_GETINFOTIPA);
        if (tip.pszText)
            text.assign(tip.pszText, strnlen(tip.pszText, kInfoTipCapacity - 1));
    }
    const TSlot again = FItems.Resolve(FTipItem);
    int top = 0;
    if (text.empty() && again != kNil && ItemTop(again, &top) && Geometry(again, top).labelRight > ClientWidth())
        text = ItemText(again);
    FTipText = QString::fromUtf8(text.c_str()).toStdU16String();
    info.lpszText = FTipText.data();
    return 0;
}

} // namespace lxtree
