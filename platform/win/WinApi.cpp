#include "platform/win/WinApi.h"

#include <utility>

#include <QApplication>
#include <QCursor>
#include <QHash>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <map>

#include "platform/memory/HandleTable.h"
#include "platform/win/WindowTable.h"
#include "platform/win/WindowWidget.h"

namespace {

struct TTable {
    THandleTable<TWindowRecord, HWND> records;
    std::vector<std::unique_ptr<TWindowRecord>> graveyard; // destroyed while a message to them ran
    QHash<const QWidget*, HWND> byWidget;
    std::map<std::string, WNDCLASSA> classes;
    HWND capture = nullptr;
    POINT lastCursor;
    bool haveCursor = false;
};

// Never freed: windows destroyed by static objects at exit still find their table.
TTable& Table()
{
    static TTable* table = new TTable;
    return *table;
}

// Keeps a record alive while a message to it runs, so that a routine may destroy its
// own window.
class TCallGuard {
public:
    explicit TCallGuard(TWindowRecord* r) : FRecord(r) { ++r->callDepth; }
    ~TCallGuard()
    {
        if (--FRecord->callDepth == 0 && FRecord->destroying && !FRecord->handle)
            ReleaseFromGraveyard(FRecord);
    }
    TCallGuard(const TCallGuard&) = delete;
    TCallGuard& operator=(const TCallGuard&) = delete;

private:
    static void ReleaseFromGraveyard(TWindowRecord* r)
    {
        auto& g = Table().graveyard;
        auto it = std::find_if(g.begin(), g.end(), [r](const auto& p) { return p.get() == r; });
        if (it != g.end())
            g.erase(it);
    }
    TWindowRecord* FRecord;
};

WNDPROC& InstallProc(TWindowRecord& r, WNDPROC proc)
{
    r.procs.push_back(std::make_unique<WNDPROC>(std::move(proc)));
    r.proc = r.procs.back().get();
    return *r.proc;
}

TWindowRecord* AllocateRecord()
{
    auto owned = std::make_unique<TWindowRecord>();
    TWindowRecord* r = owned.get();
    r->handle = Table().records.Add(std::move(owned));
    return r;
}

void ReleaseWidget(TWindowRecord& r)
{
    QWidget* w = r.widget;
    if (!w)
        return;
    Table().byWidget.remove(w);
    if (auto* ww = qobject_cast<TWindowWidget*>(w))
        ww->Detach();
    if (r.callDepth > 0) {
        // A message of this window is running, possibly inside an event of the widget.
        // Out of its parent, so that the parent's own deletion cannot take it along now.
        w->hide();
        w->setParent(nullptr);
        w->deleteLater();
    } else {
        delete w;
    }
}

// Removes the record from the table; its memory lives on while messages to it run.
void ReleaseRecord(HWND hwnd)
{
    TTable& t = Table();
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r)
        return;
    if (TWindowRecord* p = WindowTable::Find(r->parent)) {
        auto& c = p->children;
        c.erase(std::remove(c.begin(), c.end(), hwnd), c.end());
    }
    if (t.capture == hwnd)
        t.capture = nullptr;
    ReleaseWidget(*r);
    r->handle = nullptr;
    std::unique_ptr<TWindowRecord> owned = t.records.Remove(hwnd);
    if (r->callDepth > 0)
        t.graveyard.push_back(std::move(owned));
}

void DestroyRecursively(HWND hwnd)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r || r->destroying)
        return;
    r->destroying = true;
    TCallGuard guard(r);
    SendMessageA(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children = r->children;
    for (HWND child : children)
        DestroyRecursively(child);
    SendMessageA(hwnd, WM_NCDESTROY, 0, 0);
    ReleaseRecord(hwnd);
}

QRect ToQRect(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// A child window's position is in its parent's client coordinates; its widget sits in
// the parent's widget, whose client area starts this far in.
QPoint ClientOffsetIn(HWND parent)
{
    const TWindowRecord* p = WindowTable::Find(parent);
    return p ? QPoint(p->nonClient.left, p->nonClient.top) : QPoint(0, 0);
}

// Children keep their client positions when the parent's client area moves in the window.
void MoveChildWidgets(const TWindowRecord& parent, QPoint by)
{
    if (by.isNull())
        return;
    for (HWND child : parent.children)
        if (TWindowRecord* c = WindowTable::Find(child); c && c->widget)
            c->widget->move(c->widget->pos() + by);
}

} // namespace

TWindowRecord* WindowTable::Find(HWND hwnd) { return Table().records.Find(hwnd); }

int WindowTable::FrameWidth(const TWindowRecord& r)
{
    if (r.exStyle & WS_EX_CLIENTEDGE)
        return 2;
    return (r.style & WS_BORDER) ? 1 : 0;
}

void WindowTable::UpdateNonClient(HWND hwnd)
{
    TWindowRecord* r = Find(hwnd);
    if (!r || !r->widget)
        return;
    const int width = r->widget->width();
    const int height = r->widget->height();
    RECT client{0, 0, width, height};
    SendMessageA(hwnd, WM_NCCALCSIZE, 0, LPARAM(&client));
    TWindowRecord* alive = Find(hwnd);
    if (!alive)
        return;
    const RECT before = alive->nonClient;
    alive->nonClient = RECT{std::max(0, client.left), std::max(0, client.top), std::max(0, width - client.right),
                            std::max(0, height - client.bottom)};
    MoveChildWidgets(*alive, QPoint(alive->nonClient.left - before.left, alive->nonClient.top - before.top));
}

bool RegisterClassA(const WNDCLASSA& wc)
{
    if (wc.lpszClassName.empty() || !wc.lpfnWndProc)
        return false;
    Table().classes[wc.lpszClassName] = wc;
    return true;
}

bool GetClassInfoA(const std::string& className, WNDCLASSA* wc)
{
    auto& classes = Table().classes;
    auto it = classes.find(className);
    if (it == classes.end())
        return false;
    if (wc)
        *wc = it->second;
    return true;
}

HWND CreateWindowExA(DWORD exStyle, const std::string& className, const std::string& windowName, DWORD style,
                     int x, int y, int width, int height, HWND parent, UINT_PTR id, void* param,
                     const WNDPROC* initialProc, QWidget* parentWidget)
{
    WNDCLASSA wc;
    if (!GetClassInfoA(className, &wc))
        return nullptr;
    TWindowRecord* parentRecord = WindowTable::Find(parent);
    if (parent && !parentRecord)
        return nullptr;

    TWindowRecord* r = AllocateRecord();
    HWND hwnd = r->handle;
    r->className = className;
    r->classStyle = wc.style;
    r->style = style;
    r->exStyle = exStyle;
    r->id = id;
    r->parent = parent;
    r->text = windowName;
    InstallProc(*r, initialProc && *initialProc ? *initialProc : wc.lpfnWndProc);
    if (parentRecord)
        parentRecord->children.push_back(hwnd);

    QWidget* hostWidget = parentRecord ? parentRecord->widget.data() : parentWidget;
    QWidget* widget = wc.createWidget ? wc.createWidget(hwnd, hostWidget) : new TWindowWidget(hwnd, hostWidget);
    r->widget = widget;
    Table().byWidget.insert(widget, hwnd);
    widget->setGeometry(QRect(QPoint(x, y) + ClientOffsetIn(parent), QSize(std::max(0, width), std::max(0, height))));

    CREATESTRUCTA cs;
    cs.lpCreateParams = param;
    cs.hwndParent = parent;
    cs.style = style;
    cs.dwExStyle = exStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    bool created = false;
    try {
        created = SendMessageA(hwnd, WM_NCCREATE, 0, LPARAM(&cs)) != 0;
        if (created)
            WindowTable::UpdateNonClient(hwnd);
        created = created && IsWindow(hwnd) && SendMessageA(hwnd, WM_CREATE, 0, LPARAM(&cs)) != -1;
    } catch (...) {
        DestroyWindow(hwnd);
        throw;
    }
    if (!created) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    // A child widget that is not hidden explicitly would appear with its parent.
    if (TWindowRecord* alive = WindowTable::Find(hwnd); alive && alive->widget)
        alive->widget->setVisible((style & WS_VISIBLE) != 0);
    return hwnd;
}

BOOL DestroyWindow(HWND hwnd)
{
    if (!WindowTable::Find(hwnd))
        return FALSE;
    DestroyRecursively(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) { return WindowTable::Find(hwnd) != nullptr; }

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r)
        return 0;
    TCallGuard guard(r);
    return (*r->proc)(hwnd, msg, wParam, lParam);
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!WindowTable::Find(hwnd))
        return FALSE;
    QTimer::singleShot(0, qApp, [hwnd, msg, wParam, lParam] { SendMessageA(hwnd, msg, wParam, lParam); });
    return TRUE;
}

LRESULT CallWindowProcA(const WNDPROC& proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!proc)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    return proc(hwnd, msg, wParam, lParam);
}

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r)
        return 0;
    switch (msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_SETREDRAW:
        r->redraw = wParam != 0;
        if (r->redraw && r->widget)
            r->widget->update();
        return 0;
    case WM_SETFONT:
        r->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam) && r->widget)
            r->widget->update();
        return 0;
    case WM_GETFONT:
        return LRESULT(r->font);
    case WM_SETTEXT:
        r->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        return TRUE;
    case WM_GETTEXTLENGTH:
        return LRESULT(r->text.size());
    case WM_GETTEXT: {
        if (!lParam || wParam == 0)
            return 0;
        std::size_t n = std::min<std::size_t>(r->text.size(), wParam - 1);
        std::copy_n(r->text.data(), n, reinterpret_cast<char*>(lParam));
        reinterpret_cast<char*>(lParam)[n] = '\0';
        return LRESULT(n);
    }
    case WM_CONTEXTMENU:
        if (r->parent)
            return SendMessageA(r->parent, msg, wParam, lParam);
        return 0;
    case WM_NCCALCSIZE:
        if (lParam) {
            const int frame = WindowTable::FrameWidth(*r);
            InflateRect(reinterpret_cast<RECT*>(lParam), -frame, -frame);
        }
        return 0;
    case WM_NCPAINT:
        if (auto* ww = qobject_cast<TWindowWidget*>(r->widget.data()); ww && wParam)
            ww->PaintFrame(reinterpret_cast<HDC>(wParam), WindowTable::FrameWidth(*r));
        return 0;
    case WM_NCHITTEST: {
        const auto* widget = qobject_cast<const TWindowWidget*>(r->widget.data());
        const QPoint screen(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return widget ? widget->HitTest(screen) : HTCLIENT;
    }
    case WM_ERASEBKGND:
        return 0;
    default:
        return 0;
    }
}

WNDPROC SetWindowProc(HWND hwnd, WNDPROC proc)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r || !proc)
        return {};
    WNDPROC previous = *r->proc;
    InstallProc(*r, std::move(proc));
    return previous;
}

WNDPROC GetWindowProc(HWND hwnd)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    return r ? *r->proc : WNDPROC{};
}

struct STYLESTRUCT {
    DWORD styleOld;
    DWORD styleNew;
};

LONG_PTR GetWindowLongA(HWND hwnd, int index)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r)
        return 0;
    switch (index) {
    case GWL_STYLE: {
        DWORD style = r->style & ~WS_VISIBLE;
        if (r->widget && !r->widget->isHidden())
            style |= WS_VISIBLE;
        return LONG_PTR(style);
    }
    case GWL_EXSTYLE: return LONG_PTR(r->exStyle);
    case GWL_ID: return LONG_PTR(r->id);
    default: return 0;
    }
}

LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r)
        return 0;
    LONG_PTR previous = GetWindowLongA(hwnd, index);
    switch (index) {
    case GWL_STYLE: {
        STYLESTRUCT ss{DWORD(previous), DWORD(value)};
        r->style = DWORD(value) & ~WS_VISIBLE;
        SendMessageA(hwnd, WM_STYLECHANGED, WPARAM(GWL_STYLE), LPARAM(&ss));
        break;
    }
    case GWL_EXSTYLE: {
        STYLESTRUCT ss{DWORD(previous), DWORD(value)};
        r->exStyle = DWORD(value);
        SendMessageA(hwnd, WM_STYLECHANGED, WPARAM(LONG_PTR(GWL_EXSTYLE)), LPARAM(&ss));
        break;
    }
    case GWL_ID:
        r->id = UINT_PTR(value);
        break;
    default:
        return 0;
    }
    if (TWindowRecord* alive = WindowTable::Find(hwnd); alive && alive->widget)
        alive->widget->update();
    return previous;
}

void* GetWindowData(HWND hwnd)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    return r ? r->data : nullptr;
}

void SetWindowData(HWND hwnd, void* data)
{
    if (TWindowRecord* r = WindowTable::Find(hwnd))
        r->data = data;
}

HWND GetParent(HWND hwnd)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    return r && WindowTable::Find(r->parent) ? r->parent : nullptr;
}

HWND SetParent(HWND hwnd, HWND newParent)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    TWindowRecord* p = WindowTable::Find(newParent);
    if (!r || (newParent && !p) || hwnd == newParent)
        return nullptr;
    HWND previous = r->parent;
    if (TWindowRecord* old = WindowTable::Find(previous)) {
        auto& c = old->children;
        c.erase(std::remove(c.begin(), c.end(), hwnd), c.end());
    }
    r->parent = newParent;
    if (p)
        p->children.push_back(hwnd);
    if (r->widget) {
        bool visible = !r->widget->isHidden();
        const QPoint at = r->widget->pos() - ClientOffsetIn(previous) + ClientOffsetIn(newParent);
        r->widget->setParent(p ? p->widget.data() : nullptr);
        r->widget->move(at);
        r->widget->setVisible(visible);
    }
    return previous;
}

int GetDlgCtrlID(HWND hwnd)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    return r ? int(r->id) : 0;
}

std::string GetClassName(HWND hwnd)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    return r ? r->className : std::string();
}

QWidget* WindowWidget(HWND hwnd)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    return r ? r->widget.data() : nullptr;
}

HWND WindowFromWidget(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        auto it = Table().byWidget.constFind(w);
        if (it != Table().byWidget.constEnd())
            return it.value();
    }
    return nullptr;
}

std::string GetWindowTextA(HWND hwnd)
{
    LRESULT length = SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0)
        return {};
    std::string text(std::size_t(length) + 1, '\0');
    LRESULT copied = SendMessageA(hwnd, WM_GETTEXT, WPARAM(text.size()), LPARAM(text.data()));
    text.resize(std::size_t(std::max<LRESULT>(0, copied)));
    return text;
}

BOOL SetWindowTextA(HWND hwnd, const std::string& text)
{
    return BOOL(SendMessageA(hwnd, WM_SETTEXT, 0, LPARAM(text.c_str())));
}

BOOL GetClientRect(HWND hwnd, RECT* rect)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r || !rect || !r->widget)
        return FALSE;
    auto* ww = qobject_cast<TWindowWidget*>(r->widget.data());
    const QRect client = ww ? ww->ClientRect() : r->widget->rect();
    *rect = RECT{0, 0, client.width(), client.height()};
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r || !rect || !r->widget)
        return FALSE;
    QPoint topLeft = r->widget->mapToGlobal(QPoint(0, 0));
    *rect = RECT{topLeft.x(), topLeft.y(), topLeft.x() + r->widget->width(), topLeft.y() + r->widget->height()};
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r || !r->widget)
        return FALSE;
    if (flags & SWP_FRAMECHANGED) {
        // The insets do not depend on the size: asked first, they hold for the new one too.
        WindowTable::UpdateNonClient(hwnd);
        r = WindowTable::Find(hwnd);
        if (!r || !r->widget)
            return FALSE;
    }
    QWidget* w = r->widget;
    if (!(flags & SWP_NOMOVE))
        w->move(QPoint(x, y) + ClientOffsetIn(r->parent));
    if (!(flags & SWP_NOSIZE))
        w->resize(std::max(0, cx), std::max(0, cy));
    if (!(flags & SWP_NOZORDER))
        w->raise();
    if (flags & SWP_SHOWWINDOW)
        w->show();
    if (flags & SWP_HIDEWINDOW)
        w->hide();
    if (QPointer<TWindowWidget> ww = qobject_cast<TWindowWidget*>(w); ww && (flags & SWP_FRAMECHANGED)) {
        ww->LayoutScrollBars(); // WM_SIZE, when the client area changed
        if (ww)
            ww->update();
    }
    (void)insertAfter;
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
    (void)repaint;
    return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL ShowWindow(HWND hwnd, int cmd)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r || !r->widget)
        return FALSE;
    bool wasVisible = !r->widget->isHidden();
    r->widget->setVisible(cmd != SW_HIDE);
    if (cmd == SW_HIDE)
        r->style &= ~WS_VISIBLE;
    else
        r->style |= WS_VISIBLE;
    return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    return r && r->widget && r->widget->isVisible();
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r || !r->widget)
        return FALSE;
    bool wasDisabled = !r->widget->isEnabled();
    r->widget->setEnabled(enable != 0);
    SendMessageA(hwnd, WM_ENABLE, WPARAM(enable), 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    return r && r->widget && r->widget->isEnabled();
}

namespace {
QPoint ClientOriginOf(const TWindowRecord& r)
{
    if (auto* ww = qobject_cast<TWindowWidget*>(r.widget.data()))
        return ww->ClientRect().topLeft();
    return QPoint(0, 0);
}
} // namespace

BOOL ClientToScreen(HWND hwnd, POINT* pt)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r || !r->widget || !pt)
        return FALSE;
    QPoint g = r->widget->mapToGlobal(ClientOriginOf(*r) + QPoint(pt->x, pt->y));
    *pt = POINT{g.x(), g.y()};
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r || !r->widget || !pt)
        return FALSE;
    QPoint l = r->widget->mapFromGlobal(QPoint(pt->x, pt->y)) - ClientOriginOf(*r);
    *pt = POINT{l.x(), l.y()};
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count)
{
    for (UINT i = 0; i < count; ++i) {
        if (from)
            ClientToScreen(from, &points[i]);
        if (to)
            ScreenToClient(to, &points[i]);
    }
    return 0;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
    (void)erase;
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r || !r->widget)
        return FALSE;
    if (!r->redraw)
        return TRUE;
    if (!rect) {
        auto* ww = qobject_cast<TWindowWidget*>(r->widget.data());
        ww ? ww->UpdateAllButScrollBars() : r->widget->update();
        return TRUE;
    }
    r->widget->update(ToQRect(*rect).translated(ClientOriginOf(*r)));
    return TRUE;
}

BOOL UpdateWindow(HWND hwnd)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r || !r->widget)
        return FALSE;
    if (r->widget->isVisible())
        r->widget->repaint();
    return TRUE;
}

bool IsRedrawEnabled(HWND hwnd)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    return r && r->redraw;
}

HWND SetFocus(HWND hwnd)
{
    HWND previous = GetFocus();
    if (QWidget* w = WindowWidget(hwnd))
        w->setFocus(Qt::OtherFocusReason);
    return previous;
}

HWND GetFocus() { return WindowFromWidget(QApplication::focusWidget()); }

HWND SetCapture(HWND hwnd)
{
    TTable& t = Table();
    HWND previous = t.capture;
    if (!WindowTable::Find(hwnd))
        return previous;
    t.capture = hwnd;
    return previous;
}

BOOL ReleaseCapture()
{
    TTable& t = Table();
    HWND previous = t.capture;
    t.capture = nullptr;
    if (previous)
        SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture()
{
    TTable& t = Table();
    if (!WindowTable::Find(t.capture))
        t.capture = nullptr;
    return t.capture;
}

void NoteCursorPos(int screenX, int screenY)
{
    TTable& t = Table();
    t.lastCursor = POINT{screenX, screenY};
    t.haveCursor = true;
}

BOOL GetCursorPos(POINT* pt)
{
    if (!pt)
        return FALSE;
    TTable& t = Table();
    if (t.haveCursor) {
        *pt = t.lastCursor;
    } else {
        QPoint p = QCursor::pos();
        *pt = POINT{p.x(), p.y()};
    }
    return TRUE;
}

short GetKeyState(int virtualKey)
{
    const Qt::KeyboardModifiers mods = QApplication::keyboardModifiers();
    const Qt::MouseButtons buttons = QApplication::mouseButtons();
    bool down = false;
    switch (virtualKey) {
    case VK_SHIFT: down = mods & Qt::ShiftModifier; break;
    case VK_CONTROL: down = mods & Qt::ControlModifier; break;
    case VK_MENU: down = mods & Qt::AltModifier; break;
    case 0x01: down = buttons & Qt::LeftButton; break;  // VK_LBUTTON
    case 0x02: down = buttons & Qt::RightButton; break; // VK_RBUTTON
    case 0x04: down = buttons & Qt::MiddleButton; break;
    default: break;
    }
    return down ? short(0x8000) : short(0);
}

void Beep() { QApplication::beep(); }

BOOL IsRectEmpty(const RECT* r) { return !r || r->right <= r->left || r->bottom <= r->top; }

BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b)
{
    RECT out{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
             std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&out)) {
        *dst = RECT{};
        return FALSE;
    }
    *dst = out;
    return TRUE;
}

BOOL PtInRect(const RECT* r, POINT pt)
{
    return r && pt.x >= r->left && pt.x < r->right && pt.y >= r->top && pt.y < r->bottom;
}

BOOL OffsetRect(RECT* r, int dx, int dy)
{
    if (!r)
        return FALSE;
    r->left += dx;
    r->right += dx;
    r->top += dy;
    r->bottom += dy;
    return TRUE;
}

BOOL InflateRect(RECT* r, int dx, int dy)
{
    if (!r)
        return FALSE;
    r->left -= dx;
    r->right += dx;
    r->top -= dy;
    r->bottom += dy;
    return TRUE;
}

BOOL SetRect(RECT* r, int left, int top, int right, int bottom)
{
    if (!r)
        return FALSE;
    *r = RECT{left, top, right, bottom};
    return TRUE;
}

// Scroll bars.

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r || !info || (bar != SB_HORZ && bar != SB_VERT))
        return 0;
    SCROLLINFO& s = r->scroll[bar];
    if (info->fMask & SIF_RANGE) {
        s.nMin = info->nMin;
        s.nMax = info->nMax;
    }
    if (info->fMask & SIF_PAGE)
        s.nPage = info->nPage;
    if (info->fMask & SIF_POS)
        s.nPos = info->nPos;
    int maxPos = std::max(s.nMin, s.nMax - std::max(0, int(s.nPage) - 1));
    s.nPos = std::clamp(s.nPos, s.nMin, maxPos);
    if (auto* ww = qobject_cast<TWindowWidget*>(r->widget.data())) {
        QScrollBar* sb = ww->ScrollBar(bar);
        const QSignalBlocker block(sb);
        sb->setRange(s.nMin, maxPos);
        sb->setPageStep(std::max(1, int(s.nPage)));
        sb->setValue(s.nPos);
        sb->setSliderPosition(s.nPos);
    }
    (void)redraw;
    return s.nPos;
}

SCROLLINFO ScrollBarInfo(HWND hwnd, int bar)
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(hwnd, bar, &info);
    return info;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r || !info || (bar != SB_HORZ && bar != SB_VERT))
        return FALSE;
    const SCROLLINFO& s = r->scroll[bar];
    if (info->fMask & SIF_RANGE) {
        info->nMin = s.nMin;
        info->nMax = s.nMax;
    }
    if (info->fMask & SIF_PAGE)
        info->nPage = s.nPage;
    if (info->fMask & SIF_POS)
        info->nPos = s.nPos;
    if (info->fMask & SIF_TRACKPOS)
        info->nTrackPos = s.nTrackPos;
    return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show)
{
    TWindowRecord* r = WindowTable::Find(hwnd);
    if (!r || (bar != SB_HORZ && bar != SB_VERT))
        return FALSE;
    if (r->scrollShown[bar] == bool(show))
        return TRUE;
    r->scrollShown[bar] = show != 0;
    if (auto* ww = qobject_cast<TWindowWidget*>(r->widget.data())) {
        ww->ScrollBar(bar)->setVisible(show != 0);
        ww->LayoutScrollBars();
    }
    return TRUE;
}

namespace {
TExceptionHandler& ExceptionHandler()
{
    static TExceptionHandler handler;
    return handler;
}
} // namespace

TExceptionHandler SetApplicationExceptionHandler(TExceptionHandler handler)
{
    return std::exchange(ExceptionHandler(), std::move(handler));
}

void HandleApplicationException()
{
    std::exception_ptr e = std::current_exception();
    if (ExceptionHandler()) {
        ExceptionHandler()(e);
        return;
    }
    try {
        if (e)
            std::rethrow_exception(e);
    } catch (const std::exception& ex) {
        qWarning("Unhandled exception in an event handler: %s", ex.what());
    } catch (...) {
        qWarning("Unhandled exception in an event handler");
    }
}
