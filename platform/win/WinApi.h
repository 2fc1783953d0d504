#pragma once
// The window layer: a table of windows, each a QWidget with a replaceable message
// routine, and the calls that address windows by handle. A handle whose window is
// gone makes every call fail quietly (0, false or nothing), never crash.
#include <functional>
#include <string>
#include "platform/win/WinTypes.h"

class QWidget;
class QFont;
class QPainter;
class QPaintDevice;

using WNDPROC = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

// Makes the QWidget of a window of a registered class; the widget must send the
// window's input as messages (see WindowWidget.h).
using WIDGETFACTORY = std::function<QWidget*(HWND hwnd, QWidget* parent)>;

struct WNDCLASSA {
    DWORD style = 0;
    WNDPROC lpfnWndProc;
    std::string lpszClassName;
    WIDGETFACTORY createWidget; // empty: a plain TWindowWidget
};

struct CREATESTRUCTA {
    void* lpCreateParams = nullptr;
    HWND hwndParent = nullptr;
    DWORD style = 0;
    DWORD dwExStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string lpszClass;
    std::string lpszName;
};

bool RegisterClassA(const WNDCLASSA& wc);
bool GetClassInfoA(const std::string& className, WNDCLASSA* wc);

// Creates a window. parentWidget places the window's widget in a widget that is not a
// window of this table (a top-level window takes neither). initialProc, when given,
// replaces the class's message routine from the first message on (subclassing).
HWND CreateWindowExA(DWORD exStyle, const std::string& className, const std::string& windowName, DWORD style,
                     int x, int y, int width, int height, HWND parent, UINT_PTR id, void* param = nullptr,
                     const WNDPROC* initialProc = nullptr, QWidget* parentWidget = nullptr);
// Sends WM_DESTROY (parent first, then children) and WM_NCDESTROY (children first), then
// frees the windows and their widgets.
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues the message; it is delivered from the event loop unless the window is gone by then.
BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
LRESULT CallWindowProcA(const WNDPROC& proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Answers what no window routine handled: redraw switch, font, text, notification reflection.
LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Replaces the window's message routine and returns the previous one (which stays valid
// for the life of the window).
WNDPROC SetWindowProc(HWND hwnd, WNDPROC proc);
WNDPROC GetWindowProc(HWND hwnd);

LONG_PTR GetWindowLongA(HWND hwnd, int index);
// GWL_STYLE changes are reported to the window as WM_STYLECHANGED.
LONG_PTR SetWindowLongA(HWND hwnd, int index, LONG_PTR value);
// One pointer of private data per window, for the window class's own use.
void* GetWindowData(HWND hwnd);
void SetWindowData(HWND hwnd, void* data);

HWND GetParent(HWND hwnd);
// Moves the window (and its widget) under another parent window; returns the old parent.
HWND SetParent(HWND hwnd, HWND newParent);
int GetDlgCtrlID(HWND hwnd);
std::string GetClassName(HWND hwnd);
QWidget* WindowWidget(HWND hwnd);
HWND WindowFromWidget(const QWidget* widget);
std::string GetWindowTextA(HWND hwnd);
BOOL SetWindowTextA(HWND hwnd, const std::string& text);

BOOL GetClientRect(HWND hwnd, RECT* rect);
BOOL GetWindowRect(HWND hwnd, RECT* rect);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL ShowWindow(HWND hwnd, int cmd);
BOOL IsWindowVisible(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
BOOL ClientToScreen(HWND hwnd, POINT* pt);
BOOL ScreenToClient(HWND hwnd, POINT* pt);
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);

// Painting: a window whose redraw is off (WM_SETREDRAW 0) ignores invalidation.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND hwnd);
bool IsRedrawEnabled(HWND hwnd);

HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL GetCursorPos(POINT* pt);
// Where the last mouse event seen by any window happened, in screen coordinates; the
// cursor position that GetCursorPos reports when the platform has no pointer of its own.
void NoteCursorPos(int screenX, int screenY);
short GetKeyState(int virtualKey);
void Beep();

// Rectangle helpers.
BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b);
BOOL IsRectEmpty(const RECT* r);
BOOL PtInRect(const RECT* r, POINT pt);
BOOL OffsetRect(RECT* r, int dx, int dy);
BOOL InflateRect(RECT* r, int dx, int dy);
BOOL SetRect(RECT* r, int left, int top, int right, int bottom);

// Scroll bars belong to the window: the layer shows them at the right and bottom
// edges, keeps them out of the client rectangle, and reports the user's use of
// them to the window as WM_VSCROLL / WM_HSCROLL with the SB_* codes (SB_THUMBTRACK
// and SB_THUMBPOSITION carry the position in the high word of wParam; the full
// position is also in the scroll bar's nTrackPos).
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
// Every part of the bar's information (all zero for a window that is gone).
SCROLLINFO ScrollBarInfo(HWND hwnd, int bar);
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);

// Exceptions thrown by message handlers while Qt delivers input, paint or timer events
// cannot cross Qt's event loop; they go to the application's exception handler (by
// default a warning on standard error) and the event counts as handled.
#include <exception>
using TExceptionHandler = std::function<void(std::exception_ptr)>;
// Returns the handler it replaces.
TExceptionHandler SetApplicationExceptionHandler(TExceptionHandler handler);
void HandleApplicationException();
template <typename F>
void CallGuarded(F&& f)
{
    try {
        f();
    } catch (...) {
        HandleApplicationException();
    }
}
