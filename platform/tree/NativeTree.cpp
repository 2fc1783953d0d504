#include "platform/tree/NativeTree.h"

#include <QApplication>
#include <QTimer>

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

LRESULT TNativeTreeWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    bool handled = true;
    LRESULT result = TreeMessage(msg, wParam, lParam, &handled);
    if (handled)
        return result;
    handled = true;
    result = SettingMessage(msg, wParam, lParam, &handled);
    if (handled)
        return result;
    handled = true;
    result = WindowMessage(msg, wParam, lParam, &handled);
    if (handled)
        return result;
    return DefWindowProcA(FHwnd, msg, wParam, lParam);
}

// The messages about items.
LRESULT TNativeTreeWindow::TreeMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled)
{
    auto item = [&](LPARAM v) { return FItems.Resolve(reinterpret_cast<HTREEITEM>(v)); };
    switch (msg) {
    case TVM_INSERTITEMA:
        return lParam ? LRESULT(InsertItem(*reinterpret_cast<const TVINSERTSTRUCTA*>(lParam))) : 0;
    case TVM_DELETEITEM:
        return DeleteItem(reinterpret_cast<HTREEITEM>(lParam));
    case TVM_EXPAND: {
        const TSlot s = item(lParam);
        return IsLiveItem(s) ? Expand(s, UINT(wParam), false) : FALSE;
    }
    case TVM_GETITEMRECT:
        return GetItemRect(reinterpret_cast<RECT*>(lParam), wParam != 0);
    case TVM_GETCOUNT:
        return LRESULT(FItems.Count());
    case TVM_GETNEXTITEM:
        return LRESULT(GetNextItem(UINT(wParam), reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_SELECTITEM: {
        const TSlot s = item(lParam);
        if (lParam && !IsLiveItem(s))
            return FALSE;
        if (wParam == TVGN_CARET)
            return SelectCaret(s, TVC_UNKNOWN);
        if (wParam == TVGN_DROPHILITE) {
            SetDropHilite(s);
            return TRUE;
        }
        if (wParam == TVGN_FIRSTVISIBLE) {
            if (s == kNil || !ExpandAncestors(s))
                return FALSE;
            SetTopItem(s);
            return TRUE;
        }
        return FALSE;
    }
    case TVM_GETITEMA:
    case TVM_SETITEMA: {
        if (!lParam)
            return FALSE;
        auto* record = reinterpret_cast<TVITEMEXA*>(lParam);
        const bool extended = (record->mask & TVIF_INTEGRAL) != 0;
        return msg == TVM_GETITEMA ? GetItem(*record, extended) : SetItem(*record, extended);
    }
    case TVM_GETITEMSTATE: {
        const TSlot s = item(LPARAM(wParam));
        return s == kNil ? 0 : LRESULT(FItems[s].state & UINT(lParam));
    }
    case TVM_EDITLABELA: {
        const TSlot s = item(lParam);
        return IsLiveItem(s) ? LRESULT(EditLabel(s)) : 0;
    }
    case TVM_GETEDITCONTROL:
        return LRESULT(FEdit);
    case TVM_ENDEDITLABELNOW:
        if (!FEdit)
            return FALSE;
        EndEditLabel(wParam != 0);
        return TRUE;
    case TVM_GETVISIBLECOUNT:
        return PageRows();
    case TVM_HITTEST:
        return lParam ? LRESULT(HitTest(*reinterpret_cast<TVHITTESTINFO*>(lParam))) : 0;
    case TVM_CREATEDRAGIMAGE: {
        const TSlot s = item(lParam);
        return s == kNil ? 0 : LRESULT(CreateDragImage(s));
    }
    case TVM_SORTCHILDREN: {
        const TSlot s = lParam == 0 || reinterpret_cast<HTREEITEM>(lParam) == TVI_ROOT ? kRoot : item(lParam);
        return s == kNil && lParam ? FALSE : SortChildren(s, wParam != 0, nullptr, 0);
    }
    case TVM_SORTCHILDRENCB: {
        if (!lParam)
            return FALSE;
        const auto* sort = reinterpret_cast<const TVSORTCB*>(lParam);
        const bool root = !sort->hParent || sort->hParent == TVI_ROOT;
        const TSlot s = root ? kRoot : FItems.Resolve(sort->hParent);
        if (s == kNil && !root)
            return FALSE;
        return SortChildren(s, wParam != 0, sort->lpfnCompare, sort->lParam);
    }
    case TVM_ENSUREVISIBLE: {
        const TSlot s = item(lParam);
        if (!IsLiveItem(s))
            return FALSE;
        bool expanded = false;
        const bool scrolled = EnsureVisible(s, &expanded);
        return scrolled && !expanded;
    }
    case TVM_GETISEARCHSTRINGA:
        return GetSearchString(reinterpret_cast<char*>(lParam));
    case TVM_SETINSERTMARK: {
        const TSlot s = item(lParam);
        if (lParam && s == kNil)
            return FALSE;
        if (FInsertMark != s || FInsertMarkAfter != (wParam != 0)) {
            FInsertMark = s;
            FInsertMarkAfter = wParam != 0;
            Invalidate();
        }
        return TRUE;
    }
    default:
        *handled = false;
        return 0;
    }
}

namespace {
COLORREF SwapColor(COLORREF& field, LPARAM value)
{
    const COLORREF previous = field;
    field = COLORREF(value);
    return previous;
}
} // namespace

// The messages about the look and the settings of the window.
LRESULT TNativeTreeWindow::SettingMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled)
{
    switch (msg) {
    case TVM_GETINDENT:
        return FIndent;
    case TVM_SETINDENT:
        FIndent = std::max(5, int(wParam));
        LayoutChanged();
        return 0;
    case TVM_GETIMAGELIST:
        return LRESULT(wParam == TVSIL_STATE ? FStateImages : wParam == TVSIL_NORMAL ? FNormalImages : nullptr);
    case TVM_SETIMAGELIST: {
        if (wParam != TVSIL_NORMAL && wParam != TVSIL_STATE)
            return 0;
        HIMAGELIST& list = wParam == TVSIL_STATE ? FStateImages : FNormalImages;
        HIMAGELIST previous = list;
        list = reinterpret_cast<HIMAGELIST>(lParam);
        UpdateDefaultItemHeight();
        LayoutChanged();
        return LRESULT(previous);
    }
    case TVM_SETITEMHEIGHT: {
        const int previous = FItemHeight;
        const int height = int(static_cast<short>(wParam & 0xFFFF));
        FCustomItemHeight = height > 0;
        if (FCustomItemHeight)
            FItemHeight = height;
        UpdateDefaultItemHeight();
        LayoutChanged();
        return previous;
    }
    case TVM_GETITEMHEIGHT:
        return FItemHeight;
    case TVM_SETBKCOLOR: {
        const COLORREF previous = SwapColor(FBkColor, lParam);
        Invalidate();
        return LRESULT(LONG(previous));
    }
    case TVM_GETBKCOLOR:
        return LRESULT(LONG(FBkColor));
    case TVM_SETTEXTCOLOR: {
        const COLORREF previous = SwapColor(FTextColor, lParam);
        Invalidate();
        return LRESULT(LONG(previous));
    }
    case TVM_GETTEXTCOLOR:
        return LRESULT(LONG(FTextColor));
    case TVM_SETLINECOLOR: {
        const COLORREF previous = SwapColor(FLineColor, lParam);
        Invalidate();
        return LRESULT(LONG(previous));
    }
    case TVM_GETLINECOLOR:
        return LRESULT(LONG(FLineColor));
    case TVM_SETINSERTMARKCOLOR: {
        const COLORREF previous = SwapColor(FInsertMarkColor, lParam);
        if (FInsertMark != kNil)
            Invalidate();
        return LRESULT(LONG(previous));
    }
    case TVM_GETINSERTMARKCOLOR:
        return LRESULT(LONG(FInsertMarkColor));
    case TVM_SETSCROLLTIME: {
        const UINT previous = FScrollTime;
        FScrollTime = UINT(wParam);
        return LRESULT(previous);
    }
    case TVM_GETSCROLLTIME:
        return LRESULT(FScrollTime);
    case TVM_SETTOOLTIPS: {
        HWND previous = FToolTip;
        if (FOwnToolTip && FToolTip && HWND(wParam) != FToolTip)
            DestroyToolTip();
        FToolTip = HWND(wParam);
        FOwnToolTip = false;
        return LRESULT(previous);
    }
    case TVM_GETTOOLTIPS:
        return LRESULT(FToolTip);
    case CCM_SETUNICODEFORMAT: {
        const BOOL previous = FUnicodeFormat;
        FUnicodeFormat = wParam != 0;
        return previous;
    }
    case CCM_GETUNICODEFORMAT:
        return FUnicodeFormat;
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wParam));
        DefWindowProcA(FHwnd, msg, wParam, lParam);
        return 0;
    case WM_GETFONT:
        return LRESULT(FFont);
    default:
        *handled = false;
        return 0;
    }
}

// The window's own life, painting, input and scrolling.
LRESULT TNativeTreeWindow::WindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled)
{
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_NCCREATE:
        return TRUE;
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
        if (wParam == WPARAM(LONG_PTR(GWL_STYLE))) {
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
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        if (wParam) {
            RECT update{0, 0, ClientWidth(), ClientHeight()};
            if (lParam)
                update = *reinterpret_cast<const RECT*>(lParam);
            Paint(reinterpret_cast<HDC>(wParam), update);
        }
        return 0;
    case WM_SETFOCUS:
        OnFocus(true);
        return 0;
    case WM_KILLFOCUS:
        OnFocus(false);
        return 0;
    case WM_GETDLGCODE:
        return 0x0001 | 0x0080; // arrows and characters
    case WM_KEYDOWN:
        OnKeyDown(WORD(wParam));
        return 0;
    case WM_CHAR:
        OnChar(char32_t(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        OnButtonDown(msg == WM_RBUTTONDOWN, wParam, pt);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        OnButtonUp(msg == WM_RBUTTONUP, pt);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(pt);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, pt);
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(short(HIWORD(wParam)));
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam));
        return 0;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam));
        return 0;
    case WM_CAPTURECHANGED:
        FPressed = false;
        return 0;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr && hdr->code == TTN_NEEDTEXTW && FToolTip && hdr->hwndFrom == FToolTip)
            return AnswerToolTipText(*reinterpret_cast<NMTTDISPINFOW*>(lParam));
        *handled = false;
        return 0;
    }
    case WM_SYSCOLORCHANGE:
        Invalidate();
        return 0;
    case TVM_PRIVATE_UPDATESCROLL:
        FScrollUpdatePosted = false;
        UpdateScrollBars();
        return 0;
    default:
        *handled = false;
        return 0;
    }
}

} // namespace lxtree
