#include "platform/tree/NativeTree.h"

#include <QApplication>
#include <QTimer>
#include <iterator>
#include <utility>

#include "platform/win/Gdi.h"
#include "platform/win/ImageList.h"

namespace lxtree {

// Counts the engine's running messages so that a window destroyed from inside one
// of its own notifications frees the engine only when the outermost message ends.
class TEngineCall {
public:
    explicit TEngineCall(TNativeTreeWindow* engine) : FEngine(engine) { ++engine->FCallDepth; }
    ~TEngineCall()
    {
        if (--FEngine->FCallDepth == 0 && FEngine->FDeleteWhenIdle)
            delete FEngine;
    }
    TEngineCall(const TEngineCall&) = delete;
    TEngineCall& operator=(const TEngineCall&) = delete;

private:
    TNativeTreeWindow* FEngine;
};

TNativeTreeWindow::TNativeTreeWindow(HWND hwnd) : FHwnd(hwnd)
{
    FQFont = QApplication::font();
    FOwnFont = CreateFontHandle(FQFont);
    FFont = FOwnFont;
    FEditTimer = new QTimer();
    FEditTimer->setSingleShot(true);
    QObject::connect(FEditTimer, &QTimer::timeout, [this] {
        const TSlot s = FItems.Resolve(FEditTimerItem);
        if (s != kNil && s == FCaret && (FStyle & TVS_EDITLABELS))
            SendMessageA(FHwnd, TVM_EDITLABELA, 0, LPARAM(FItems.Handle(s)));
    });
    FTipTimer = new QTimer();
    FTipTimer->setSingleShot(true);
    QObject::connect(FTipTimer, &QTimer::timeout, [this] { ShowToolTip(); });
    ReadStyle();
    UpdateDefaultItemHeight();
}

TNativeTreeWindow::~TNativeTreeWindow()
{
    delete FEditTimer;
    delete FTipTimer;
    DeleteObject(FOwnFont);
}

LRESULT TNativeTreeWindow::ClassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* engine = static_cast<TNativeTreeWindow*>(GetWindowData(hwnd));
    if (!engine) {
        if (msg != WM_NCCREATE && msg != WM_CREATE)
            return DefWindowProcA(hwnd, msg, wParam, lParam);
        engine = new TNativeTreeWindow(hwnd);
        SetWindowData(hwnd, engine);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowData(hwnd, nullptr);
        if (engine->FCallDepth > 0)
            engine->FDeleteWhenIdle = true;
        else
            delete engine;
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    TEngineCall call(engine);
    return engine->WndProc(msg, wParam, lParam);
}

// Messages go to one small handler per family: a switch each, the families tried in
// order, and the item messages apart from the window's own.
using TMessageFamily = LRESULT (TNativeTreeWindow::*)(UINT, WPARAM, LPARAM, bool*);

LRESULT TNativeTreeWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    static constexpr TMessageFamily kTreeFamilies[] = {&TNativeTreeWindow::ItemMessage,
                                                       &TNativeTreeWindow::ViewMessage,
                                                       &TNativeTreeWindow::EditMessage,
                                                       &TNativeTreeWindow::LookMessage};
    static constexpr TMessageFamily kWindowFamilies[] = {&TNativeTreeWindow::LifeMessage,
                                                         &TNativeTreeWindow::SurfaceMessage,
                                                         &TNativeTreeWindow::InputMessage};
    const bool treeMessage = msg >= TV_FIRST && msg <= kLastTreeMessage;
    const TMessageFamily* families = treeMessage ? kTreeFamilies : kWindowFamilies;
    const std::size_t count = treeMessage ? std::size(kTreeFamilies) : std::size(kWindowFamilies);
    for (std::size_t i = 0; i < count; ++i) {
        bool handled = true;
        const LRESULT result = (this->*families[i])(msg, wParam, lParam, &handled);
        if (handled)
            return result;
    }
    return DefWindowProcA(FHwnd, msg, wParam, lParam);
}

TSlot TNativeTreeWindow::ItemOf(LPARAM value) const { return FItems.Resolve(reinterpret_cast<HTREEITEM>(value)); }

TSlot TNativeTreeWindow::ItemOrRoot(HTREEITEM h) const
{
    if (!h || h == TVI_ROOT)
        return kRoot;
    const TSlot s = FItems.Resolve(h);
    return IsLiveItem(s) ? s : kNil;
}

// Inserting, deleting, reading, changing, navigating and sorting items.
LRESULT TNativeTreeWindow::ItemMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled)
{
    switch (msg) {
    case TVM_INSERTITEMA:
        return lParam ? LRESULT(InsertItem(*reinterpret_cast<const TVINSERTSTRUCTA*>(lParam))) : 0;
    case TVM_DELETEITEM:
        return DeleteItem(reinterpret_cast<HTREEITEM>(lParam));
    case TVM_SETDELETIONREPORT:
        FDeletionReport = reinterpret_cast<TVDELETIONREPORT>(lParam);
        FDeletionReportContext = FDeletionReport ? reinterpret_cast<void*>(wParam) : nullptr;
        return TRUE;
    case TVM_GETCOUNT:
        return LRESULT(FItems.Count());
    case TVM_GETNEXTITEM:
        return LRESULT(GetNextItem(UINT(wParam), reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_GETITEMA:
    case TVM_SETITEMA: {
        if (!lParam)
            return FALSE;
        auto* record = reinterpret_cast<TVITEMEXA*>(lParam);
        const bool extended = (record->mask & TVIF_INTEGRAL) != 0;
        return msg == TVM_GETITEMA ? GetItem(*record, extended) : SetItem(*record, extended);
    }
    case TVM_GETITEMSTATE: {
        const TSlot s = ItemOf(LPARAM(wParam));
        return s == kNil ? 0 : LRESULT(FItems[s].state & UINT(lParam));
    }
    case TVM_SORTCHILDREN:
        return SortChildrenOf(reinterpret_cast<HTREEITEM>(lParam), wParam != 0, nullptr, 0);
    case TVM_SORTCHILDRENCB: {
        if (!lParam)
            return FALSE;
        const auto* sort = reinterpret_cast<const TVSORTCB*>(lParam);
        return SortChildrenOf(sort->hParent, wParam != 0, sort->lpfnCompare, sort->lParam);
    }
    case TVM_ORDERCHILDREN:
        return lParam ? OrderChildren(*reinterpret_cast<const TVORDERCHILDREN*>(lParam)) : FALSE;
    default:
        *handled = false;
        return 0;
    }
}

// Expansion, selection, scrolling into view, geometry, label editing and the marks.
LRESULT TNativeTreeWindow::ViewMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled)
{
    switch (msg) {
    case TVM_EXPAND: {
        const TSlot s = ItemOf(lParam);
        return IsLiveItem(s) ? Expand(s, UINT(wParam), false) : FALSE;
    }
    case TVM_SELECTITEM:
        return SelectItemMessage(UINT(wParam), lParam);
    case TVM_GETITEMRECT:
        return GetItemRect(reinterpret_cast<RECT*>(lParam), wParam != 0);
    case TVM_ENSUREVISIBLE:
        return EnsureVisibleMessage(ItemOf(lParam));
    case TVM_GETVISIBLECOUNT:
        return PageRows();
    case TVM_HITTEST:
        return lParam ? LRESULT(HitTest(*reinterpret_cast<TVHITTESTINFO*>(lParam))) : 0;
    case TVM_CREATEDRAGIMAGE: {
        const TSlot s = ItemOf(lParam);
        return s == kNil ? 0 : LRESULT(CreateDragImage(s));
    }
    case TVM_SETINSERTMARK:
        return SetInsertMark(lParam, wParam != 0);
    case TVM_PRIVATE_UPDATESCROLL:
        FScrollUpdatePosted = false;
        UpdateScrollBars();
        return 0;
    default:
        *handled = false;
        return 0;
    }
}

// Label editing and the incremental search.
LRESULT TNativeTreeWindow::EditMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled)
{
    switch (msg) {
    case TVM_EDITLABELA: {
        const TSlot s = ItemOf(lParam);
        return IsLiveItem(s) ? LRESULT(EditLabel(s)) : 0;
    }
    case TVM_GETEDITCONTROL:
        return LRESULT(FEdit);
    case TVM_ENDEDITLABELNOW:
        if (!FEdit)
            return FALSE;
        EndEditLabel(wParam != 0);
        return TRUE;
    case TVM_GETISEARCHSTRINGA:
        return GetSearchString(reinterpret_cast<char*>(lParam));
    default:
        *handled = false;
        return 0;
    }
}

LRESULT TNativeTreeWindow::SelectItemMessage(UINT code, LPARAM value)
{
    const TSlot s = ItemOf(value);
    if (value && !IsLiveItem(s))
        return FALSE;
    switch (code) {
    case TVGN_CARET:
        return SelectCaret(s, TVC_UNKNOWN);
    case TVGN_DROPHILITE:
        SetDropHilite(s);
        return TRUE;
    case TVGN_FIRSTVISIBLE:
        if (s == kNil || !ExpandAncestors(s))
            return FALSE;
        SetTopItem(s);
        return TRUE;
    default:
        return FALSE;
    }
}

// TRUE when the item was scrolled into view without opening any of its ancestors.
LRESULT TNativeTreeWindow::EnsureVisibleMessage(TSlot s)
{
    if (!IsLiveItem(s))
        return FALSE;
    bool expanded = false;
    const bool scrolled = EnsureVisible(s, &expanded);
    return scrolled && !expanded;
}

LRESULT TNativeTreeWindow::SetInsertMark(LPARAM value, bool after)
{
    const TSlot s = ItemOf(value);
    if (value && s == kNil)
        return FALSE;
    if (FInsertMark != s || FInsertMarkAfter != after) {
        FInsertMark = s;
        FInsertMarkAfter = after;
        Invalidate();
    }
    return TRUE;
}

namespace {
template <typename T>
LRESULT Swap(T& field, T value)
{
    return LRESULT(std::exchange(field, value));
}
} // namespace

// Indent, images, item height, colours, scrolling time and the tooltip window.
LRESULT TNativeTreeWindow::LookMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled)
{
    switch (msg) {
    case TVM_GETINDENT: return FIndent;
    case TVM_SETINDENT:
        FIndent = std::max(kMinIndent, int(wParam));
        LayoutChanged();
        return 0;
    case TVM_GETIMAGELIST:
        return LRESULT(wParam == TVSIL_STATE ? FStateImages : wParam == TVSIL_NORMAL ? FNormalImages : nullptr);
    case TVM_SETIMAGELIST: return SetImageList(wParam, reinterpret_cast<HIMAGELIST>(lParam));
    case TVM_SETITEMHEIGHT: return SetItemHeight(int(static_cast<short>(LOWORD(wParam))));
    case TVM_GETITEMHEIGHT: return FItemHeight;
    case TVM_SETBKCOLOR: return ReplaceColor(FBkColor, lParam, true);
    case TVM_GETBKCOLOR: return LRESULT(LONG(FBkColor));
    case TVM_SETTEXTCOLOR: return ReplaceColor(FTextColor, lParam, true);
    case TVM_GETTEXTCOLOR: return LRESULT(LONG(FTextColor));
    case TVM_SETLINECOLOR: return ReplaceColor(FLineColor, lParam, true);
    case TVM_GETLINECOLOR: return LRESULT(LONG(FLineColor));
    case TVM_SETINSERTMARKCOLOR: return ReplaceColor(FInsertMarkColor, lParam, FInsertMark != kNil);
    case TVM_GETINSERTMARKCOLOR: return LRESULT(LONG(FInsertMarkColor));
    case TVM_SETSCROLLTIME: return Swap(FScrollTime, UINT(wParam));
    case TVM_GETSCROLLTIME: return LRESULT(FScrollTime);
    case TVM_SETTOOLTIPS: return SetToolTips(HWND(wParam));
    case TVM_GETTOOLTIPS: return LRESULT(FToolTip);
    default:
        *handled = false;
        return 0;
    }
}

LRESULT TNativeTreeWindow::ReplaceColor(COLORREF& field, LPARAM value, bool repaint)
{
    const COLORREF previous = std::exchange(field, COLORREF(value));
    if (repaint)
        Invalidate();
    return LRESULT(LONG(previous));
}

LRESULT TNativeTreeWindow::SetImageList(WPARAM kind, HIMAGELIST list)
{
    if (kind != TVSIL_NORMAL && kind != TVSIL_STATE)
        return 0;
    const HIMAGELIST previous = std::exchange(kind == TVSIL_STATE ? FStateImages : FNormalImages, list);
    UpdateDefaultItemHeight();
    LayoutChanged();
    return LRESULT(previous);
}

// A height of 0 or less goes back to the height that the font and the images call for.
LRESULT TNativeTreeWindow::SetItemHeight(int height)
{
    const int previous = FItemHeight;
    FCustomItemHeight = height > 0;
    if (FCustomItemHeight)
        FItemHeight = height;
    UpdateDefaultItemHeight();
    LayoutChanged();
    return previous;
}

LRESULT TNativeTreeWindow::SetToolTips(HWND tip)
{
    const HWND previous = FToolTip;
    if (FOwnToolTip && FToolTip && tip != FToolTip)
        DestroyToolTip();
    FToolTip = tip;
    FOwnToolTip = false;
    return LRESULT(previous);
}

// The window's own life: creation, style, redraw switch, size and destruction.
LRESULT TNativeTreeWindow::LifeMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled)
{
    switch (msg) {
    case WM_NCCREATE: return TRUE;
    case WM_CREATE:
        ReadStyle();
        if (!(FStyle & TVS_NOTOOLTIPS))
            CreateToolTip();
        UpdateScrollBars();
        return 0;
    case WM_DESTROY:
        if (FEdit)
            EndEditLabel(true);
        HideToolTip();
        DeleteAll();
        return DefWindowProcA(FHwnd, msg, wParam, lParam);
    case WM_STYLECHANGED:
        if (wParam == WPARAM(LONG_PTR(GWL_STYLE)))
            OnStyleChanged();
        return 0;
    case WM_SETREDRAW:
        FRedraw = wParam != 0;
        DefWindowProcA(FHwnd, msg, wParam, lParam);
        if (FRedraw && FLayoutDirty)
            LayoutChanged();
        return 0;
    case WM_SIZE:
        if (FEdit)
            PositionEditBox();
        UpdateScrollBars();
        Invalidate();
        return 0;
    default:
        *handled = false;
        return 0;
    }
}

// Painting, the font, the character set of the notifications and the child windows' notifications.
LRESULT TNativeTreeWindow::SurfaceMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled)
{
    switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
        if (wParam)
            Paint(reinterpret_cast<HDC>(wParam),
                  lParam ? *reinterpret_cast<const RECT*>(lParam) : RECT{0, 0, ClientWidth(), ClientHeight()});
        return 0;
    case WM_SYSCOLORCHANGE:
        Invalidate();
        return 0;
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wParam));
        DefWindowProcA(FHwnd, msg, wParam, lParam);
        return 0;
    case WM_GETFONT: return LRESULT(FFont);
    case CCM_SETUNICODEFORMAT: return Swap(FUnicodeFormat, BOOL(wParam != 0));
    case CCM_GETUNICODEFORMAT: return FUnicodeFormat;
    case WM_NOTIFY: return ChildNotify(reinterpret_cast<NMHDR*>(lParam), handled);
    default:
        *handled = false;
        return 0;
    }
}

void TNativeTreeWindow::OnStyleChanged()
{
    const DWORD old = FStyle;
    ReadStyle();
    if ((old ^ FStyle) & TVS_NOTOOLTIPS) {
        if (FStyle & TVS_NOTOOLTIPS)
            DestroyToolTip();
        else
            CreateToolTip();
    }
    LayoutChanged();
}

// Our tooltip window asks for the text of the item under the mouse.
LRESULT TNativeTreeWindow::ChildNotify(NMHDR* hdr, bool* handled)
{
    if (hdr && hdr->code == TTN_NEEDTEXTW && FToolTip && hdr->hwndFrom == FToolTip)
        return AnswerToolTipText(*reinterpret_cast<NMTTDISPINFOW*>(hdr));
    *handled = false;
    return 0;
}

// Focus, keys, the mouse and the scroll bars.
LRESULT TNativeTreeWindow::InputMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled)
{
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: OnFocus(msg == WM_SETFOCUS); break;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN: OnKeyDown(WORD(wParam)); break;
    case WM_CHAR: OnChar(char32_t(wParam)); break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: OnButtonDown(msg == WM_RBUTTONDOWN, wParam, pt); break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: OnButtonUp(msg == WM_RBUTTONUP, pt); break;
    case WM_LBUTTONDBLCLK: OnDoubleClick(pt); break;
    case WM_MOUSEMOVE: OnMouseMove(wParam, pt); break;
    case WM_MOUSELEAVE: OnMouseLeave(); break;
    case WM_MOUSEWHEEL: OnMouseWheel(short(HIWORD(wParam))); break;
    case WM_VSCROLL: OnVScroll(LOWORD(wParam), HIWORD(wParam)); break;
    case WM_HSCROLL: OnHScroll(LOWORD(wParam), HIWORD(wParam)); break;
    case WM_CAPTURECHANGED: FPressed = false; break;
    default: *handled = false; break;
    }
    return 0;
}

} // namespace lxtree
