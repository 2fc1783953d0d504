#pragma once
// The QWidget of a window: it turns Qt's input, focus, resize and paint events into
// the window's messages, so a window routine sees exactly what a native window would.
//   paint        WM_NCPAINT (wParam = HDC in window coordinates) when the client area
//                does not fill the window, WM_ERASEBKGND (wParam = HDC) then WM_PAINT (wParam = HDC,
//                lParam = const RECT* update rectangle); the painter's origin is the
//                client origin and it is clipped to the client rectangle
//   mouse        WM_xBUTTONDOWN / UP / DBLCLK, WM_MOUSEMOVE, WM_MOUSEWHEEL, WM_MOUSELEAVE,
//                lParam = MAKELPARAM(client x, client y), wParam = MK_* flags
//                (WM_MOUSEWHEEL: HIWORD(wParam) = delta, 120 per notch). A move with
//                no button held asks WM_NCHITTEST first (lParam = screen point) and
//                becomes WM_NCMOUSEMOVE over the border or a scroll bar; a move with
//                a button held stays with the window that was pressed, as captured.
//   keys         WM_KEYDOWN / WM_SYSKEYDOWN (wParam = VK_*), WM_CHAR (wParam = the
//                character's code point) for keys that produce text, WM_KEYUP
//   focus, size  WM_SETFOCUS / WM_KILLFOCUS, WM_SIZE (lParam = client width, height)
#include <QWidget>
#include "platform/win/WinTypes.h"

class QKeyEvent;
class QPainter;
class QScrollBar;

class TWindowWidget : public QWidget {
    Q_OBJECT
public:
    TWindowWidget(HWND hwnd, QWidget* parent);
    HWND Handle() const { return FHandle; }
    void Detach() { FHandle = nullptr; } // the window is gone; events go nowhere
    QScrollBar* ScrollBar(int bar);      // created on first use
    // In widget coordinates: inside the insets the window gave for WM_NCCALCSIZE, less
    // the visible scroll bars.
    QRect ClientRect() const;
    // The window layer's own frame, frame pixels wide (WS_BORDER 1, WS_EX_CLIENTEDGE 2).
    void PaintFrame(HDC dc, int frame) const;
    // The part of the window at a screen point: HTCLIENT, HTVSCROLL, HTHSCROLL,
    // HTBORDER, or HTNOWHERE outside the window.
    LRESULT HitTest(QPoint screen) const;
    // Places the visible scroll bars and sends WM_SIZE when the client size changed.
    void LayoutScrollBars();
    // Repaints the window, frame and client, but not its scroll bars: they repaint
    // themselves when they change.
    void UpdateAllButScrollBars();

    // The key event being delivered as messages right now (null outside delivery),
    // for window routines that hand a key to a Qt widget's own handling.
    static QKeyEvent* CurrentKeyEvent();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void OnScrollAction(int bar, int action);
    // Asks the window what lies under a move with no button held and sends the move
    // as WM_MOUSEMOVE or WM_NCMOUSEMOVE; answers whether it was a client move.
    bool SendHoverMove(QPoint screen);
    void PaintNonClient(QPainter& painter, const QRect& update);
    QPoint ClientOrigin() const;
    // A visible bar's thickness, asked of the style once: the client rectangle is read
    // for every row a window invalidates, and a scroll bar's size hint builds a style
    // option each time. Forgotten when the bars' style, font or geometry changes.
    int ScrollBarExtent(int bar) const;
    void ForgetScrollBarExtents() { FBarExtent[0] = FBarExtent[1] = -1; }
    LPARAM ClientPointParam(const QPointF& widgetPos) const;
    HWND FHandle;
    QScrollBar* FScrollBars[2] = {nullptr, nullptr};
    mutable int FBarExtent[2] = {-1, -1};
    QSize FLastClientSize{-1, -1};
};

// Shared translation of Qt input to message parameters, for widgets that cannot
// derive from TWindowWidget (the edit box is a QLineEdit).
WORD VirtualKeyFromQt(int qtKey);
WPARAM MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
// Sends the key event to the window as WM_KEYDOWN / WM_SYSKEYDOWN followed by WM_CHAR
// for each character of its text; returns true when a message was sent.
bool SendKeyPressAsMessages(HWND hwnd, QKeyEvent* e);
void SendKeyReleaseAsMessages(HWND hwnd, QKeyEvent* e);
