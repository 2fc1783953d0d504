#include "platform/win/WindowWidget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QWheelEvent>

#include "platform/win/Gdi.h"
#include "platform/win/WinApi.h"
#include "platform/win/WindowTable.h"

namespace {

QKeyEvent* gCurrentKeyEvent = nullptr;

class TCurrentKeyEvent {
public:
    explicit TCurrentKeyEvent(QKeyEvent* e) : FPrevious(gCurrentKeyEvent) { gCurrentKeyEvent = e; }
    ~TCurrentKeyEvent() { gCurrentKeyEvent = FPrevious; }

private:
    QKeyEvent* FPrevious;
};

void NoteCursor(const QPointF& globalPos) { NoteCursorPos(int(globalPos.x()), int(globalPos.y())); }

UINT ButtonMessage(Qt::MouseButton button, UINT left, UINT right, UINT middle)
{
    switch (button) {
    case Qt::LeftButton: return left;
    case Qt::RightButton: return right;
    case Qt::MiddleButton: return middle;
    default: return WM_NULL;
    }
}

} // namespace

WORD VirtualKeyFromQt(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    case Qt::Key_Plus: return VK_ADD;
    case Qt::Key_Minus: return VK_SUBTRACT;
    case Qt::Key_Menu: return VK_APPS;
    default: break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return WORD(VK_F1 + (qtKey - Qt::Key_F1));
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return WORD(qtKey);
    return 0;
}

WPARAM MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    WPARAM flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

bool SendKeyPressAsMessages(HWND hwnd, QKeyEvent* e)
{
    TCurrentKeyEvent current(e);
    WORD vk = VirtualKeyFromQt(e->key());
    // Keypad + - * arrive with their own codes even though Qt names them like the main keys.
    if (e->modifiers() & Qt::KeypadModifier) {
        if (e->key() == Qt::Key_Plus)
            vk = VK_ADD;
        else if (e->key() == Qt::Key_Minus)
            vk = VK_SUBTRACT;
        else if (e->key() == Qt::Key_Asterisk)
            vk = VK_MULTIPLY;
    }
    bool sent = false;
    if (vk) {
        UINT msg = (e->modifiers() & Qt::AltModifier) ? WM_SYSKEYDOWN : WM_KEYDOWN;
        LPARAM flags = LPARAM(e->count() & 0xFFFF) | (e->isAutoRepeat() ? (LPARAM(1) << 30) : 0);
        SendMessageA(hwnd, msg, vk, flags);
        sent = true;
    }
    const QString text = e->text();
    for (char32_t c : text.toUcs4()) {
        if (!IsWindow(hwnd))
            break;
        UINT msg = (e->modifiers() & Qt::AltModifier) ? WM_SYSCHAR : WM_CHAR;
        SendMessageA(hwnd, msg, WPARAM(c), 1);
        sent = true;
    }
    return sent;
}

void SendKeyReleaseAsMessages(HWND hwnd, QKeyEvent* e)
{
    TCurrentKeyEvent current(e);
    WORD vk = VirtualKeyFromQt(e->key());
    if (!vk)
        return;
    UINT msg = (e->modifiers() & Qt::AltModifier) ? WM_SYSKEYUP : WM_KEYUP;
    SendMessageA(hwnd, msg, vk, LPARAM(1) | (LPARAM(3) << 30));
}

QKeyEvent* TWindowWidget::CurrentKeyEvent() { return gCurrentKeyEvent; }

TWindowWidget::TWindowWidget(HWND hwnd, QWidget* parent) : QWidget(parent), FHandle(hwnd)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    if (!parent)
        setAttribute(Qt::WA_DeleteOnClose, false);
}

QScrollBar* TWindowWidget::ScrollBar(int bar)
{
    if (bar != SB_HORZ && bar != SB_VERT)
        return nullptr;
    if (!FScrollBars[bar]) {
        auto* sb = new QScrollBar(bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, this);
        sb->setFocusPolicy(Qt::NoFocus);
        sb->hide();
        sb->setMouseTracking(true);
        sb->installEventFilter(this);
        connect(sb, &QScrollBar::actionTriggered, this, [this, bar](int action) { OnScrollAction(bar, action); });
        FScrollBars[bar] = sb;
    }
    return FScrollBars[bar];
}

QRect TWindowWidget::ClientRect() const
{
    RECT insets;
    if (TWindowRecord* r = WindowTable::Find(FHandle))
        insets = r->nonClient;
    QRect client = rect().adjusted(insets.left, insets.top, -insets.right, -insets.bottom);
    if (FScrollBars[SB_VERT] && !FScrollBars[SB_VERT]->isHidden())
        client.setRight(client.right() - ScrollBarExtent(SB_VERT));
    if (FScrollBars[SB_HORZ] && !FScrollBars[SB_HORZ]->isHidden())
        client.setBottom(client.bottom() - ScrollBarExtent(SB_HORZ));
    if (client.width() < 0)
        client.setWidth(0);
    if (client.height() < 0)
        client.setHeight(0);
    return client;
}

QPoint TWindowWidget::ClientOrigin() const { return ClientRect().topLeft(); }

int TWindowWidget::ScrollBarExtent(int bar) const
{
    if (FBarExtent[bar] < 0) {
        const QSize hint = FScrollBars[bar]->sizeHint();
        FBarExtent[bar] = bar == SB_VERT ? hint.width() : hint.height();
    }
    return FBarExtent[bar];
}

LPARAM TWindowWidget::ClientPointParam(const QPointF& widgetPos) const
{
    QPoint p = widgetPos.toPoint() - ClientOrigin();
    return MAKELPARAM(p.x(), p.y());
}

void TWindowWidget::LayoutScrollBars()
{
    QRect client = ClientRect();
    if (QScrollBar* v = FScrollBars[SB_VERT]; v && !v->isHidden())
        v->setGeometry(client.right() + 1, client.top(), ScrollBarExtent(SB_VERT), client.height());
    if (QScrollBar* h = FScrollBars[SB_HORZ]; h && !h->isHidden())
        h->setGeometry(client.left(), client.bottom() + 1, client.width(), ScrollBarExtent(SB_HORZ));
    if (client.size() != FLastClientSize && FHandle) {
        FLastClientSize = client.size();
        update(); // what the client gave up or gained at its edges, the corner between the bars too
        SendMessageA(FHandle, WM_SIZE, 0, MAKELPARAM(client.width(), client.height()));
    }
}

void TWindowWidget::UpdateAllButScrollBars()
{
    QRegion region(rect());
    for (QScrollBar* bar : FScrollBars)
        if (bar && !bar->isHidden())
            region -= bar->geometry();
    update(region);
}

void TWindowWidget::OnScrollAction(int bar, int action)
{
    QScrollBar* sb = FScrollBars[bar];
    TWindowRecord* r = WindowTable::Find(FHandle);
    if (!sb || !r)
        return;
    int code = -1;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
    }
    int track = sb->sliderPosition();
    r->scroll[bar].nTrackPos = track;
    CallGuarded([&] {
        SendMessageA(FHandle, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, track & 0xFFFF), 0);
    });
    // The window decides where the bar stands; keep Qt from applying the action again.
    if (TWindowRecord* alive = WindowTable::Find(FHandle))
        sb->setSliderPosition(alive->scroll[bar].nPos);
}

bool TWindowWidget::event(QEvent* e)
{
    // A new application palette is the desktop's colour change: the outermost window of
    // the table hears it as WM_SYSCOLORCHANGE and passes it on to its controls.
    if (e->type() == QEvent::ApplicationPaletteChange && FHandle && !qobject_cast<TWindowWidget*>(parentWidget()))
        CallGuarded([&] { SendMessageA(FHandle, WM_SYSCOLORCHANGE, 0, 0); });
    // A child's size hint changed (a scroll bar's among them): place the bars anew.
    if (e->type() == QEvent::LayoutRequest) {
        ForgetScrollBarExtents();
        CallGuarded([&] { LayoutScrollBars(); });
    }
    if (e->type() == QEvent::ShortcutOverride && FHandle) {
        // Let the window see Tab, arrows and the like before shortcuts do.
        e->accept();
        return true;
    }
    return QWidget::event(e);
}

bool TWindowWidget::eventFilter(QObject* watched, QEvent* e)
{
    // The scroll bars are the window's non-client area: a hover over one is a
    // non-client move of the window, and the bar itself still scrolls.
    const QEvent::Type type = e->type();
    if ((type == QEvent::StyleChange || type == QEvent::FontChange) && qobject_cast<QScrollBar*>(watched))
        ForgetScrollBarExtents();
    if (type == QEvent::MouseMove && FHandle && qobject_cast<QScrollBar*>(watched)) {
        auto* move = static_cast<QMouseEvent*>(e);
        if (move->buttons() == Qt::NoButton)
            CallGuarded([&] { SendHoverMove(move->globalPosition().toPoint()); });
    }
    return QWidget::eventFilter(watched, e);
}

LRESULT TWindowWidget::HitTest(QPoint screen) const
{
    const QPoint at = mapFromGlobal(screen);
    if (!rect().contains(at))
        return HTNOWHERE;
    if (ClientRect().contains(at))
        return HTCLIENT;
    for (int bar : {SB_VERT, SB_HORZ})
        if (QScrollBar* sb = FScrollBars[bar]; sb && !sb->isHidden() && sb->geometry().contains(at))
            return bar == SB_VERT ? HTVSCROLL : HTHSCROLL;
    return HTBORDER;
}

bool TWindowWidget::SendHoverMove(QPoint screen)
{
    const HWND hwnd = FHandle;
    const LRESULT part = SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x(), screen.y()));
    if (part == HTCLIENT)
        return true;
    SendMessageA(hwnd, WM_NCMOUSEMOVE, WPARAM(part), MAKELPARAM(screen.x(), screen.y()));
    return false;
}

void TWindowWidget::paintEvent(QPaintEvent* e)
{
    QPainter painter(this);
    TWindowRecord* r = WindowTable::Find(FHandle);
    if (!r) {
        painter.fillRect(rect(), palette().base());
        return;
    }
    const RECT& insets = r->nonClient;
    if (insets.left > 0 || insets.top > 0 || insets.right > 0 || insets.bottom > 0)
        PaintNonClient(painter, e->rect());
    if (!WindowTable::Find(FHandle))
        return;
    QRect client = ClientRect();
    // The corner between two scroll bars.
    if (FScrollBars[SB_VERT] && !FScrollBars[SB_VERT]->isHidden() && FScrollBars[SB_HORZ] &&
        !FScrollBars[SB_HORZ]->isHidden())
        painter.fillRect(QRect(client.right() + 1, client.bottom() + 1, FScrollBars[SB_VERT]->width(),
                               FScrollBars[SB_HORZ]->height()),
                         palette().button());
    painter.setClipRect(client);
    painter.translate(client.topLeft());
    TDeviceContext dc;
    dc.painter = &painter;
    dc.hwnd = FHandle;
    painter.setFont(font());
    QRect update = e->rect().translated(-client.topLeft()).intersected(QRect(QPoint(0, 0), client.size()));
    RECT updateRect{update.left(), update.top(), update.right() + 1, update.bottom() + 1};
    HWND hwnd = FHandle;
    CallGuarded([&] {
        SendMessageA(hwnd, WM_ERASEBKGND, WPARAM(&dc), 0);
        SendMessageA(hwnd, WM_PAINT, WPARAM(&dc), LPARAM(&updateRect));
    });
}

void TWindowWidget::PaintNonClient(QPainter& painter, const QRect& update)
{
    painter.save();
    painter.setClipRect(update);
    TDeviceContext dc;
    dc.painter = &painter;
    dc.hwnd = FHandle;
    HWND hwnd = FHandle;
    CallGuarded([&] { SendMessageA(hwnd, WM_NCPAINT, WPARAM(&dc), 0); });
    painter.restore();
}

void TWindowWidget::PaintFrame(HDC dc, int frame) const
{
    if (!dc || !dc->painter || frame <= 0)
        return;
    QPainter& painter = *dc->painter;
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (frame > 1) {
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void TWindowWidget::mousePressEvent(QMouseEvent* e)
{
    NoteCursor(e->globalPosition());
    UINT msg = ButtonMessage(e->button(), WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN);
    if (msg && FHandle)
        CallGuarded([&] {
            SendMessageA(FHandle, msg, MouseKeyFlags(e->buttons(), e->modifiers()), ClientPointParam(e->position()));
        });
}

void TWindowWidget::mouseReleaseEvent(QMouseEvent* e)
{
    NoteCursor(e->globalPosition());
    UINT msg = ButtonMessage(e->button(), WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP);
    if (msg && FHandle)
        CallGuarded([&] {
            SendMessageA(FHandle, msg, MouseKeyFlags(e->buttons(), e->modifiers()), ClientPointParam(e->position()));
        });
}

void TWindowWidget::mouseDoubleClickEvent(QMouseEvent* e)
{
    NoteCursor(e->globalPosition());
    UINT msg = ButtonMessage(e->button(), WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK);
    if (msg && FHandle)
        CallGuarded([&] {
            SendMessageA(FHandle, msg, MouseKeyFlags(e->buttons(), e->modifiers()), ClientPointParam(e->position()));
        });
}

void TWindowWidget::mouseMoveEvent(QMouseEvent* e)
{
    NoteCursor(e->globalPosition());
    if (!FHandle)
        return;
    const WPARAM keys = MouseKeyFlags(e->buttons(), e->modifiers());
    CallGuarded([&] {
        const bool captured = e->buttons() != Qt::NoButton || GetCapture() == FHandle;
        if (captured || SendHoverMove(e->globalPosition().toPoint()))
            SendMessageA(FHandle, WM_MOUSEMOVE, keys, ClientPointParam(e->position()));
    });
}

void TWindowWidget::wheelEvent(QWheelEvent* e)
{
    NoteCursor(e->globalPosition());
    if (!FHandle)
        return;
    int delta = e->angleDelta().y();
    WPARAM wp = MAKEWPARAM(int(MouseKeyFlags(e->buttons(), e->modifiers())), delta);
    QPoint g = e->globalPosition().toPoint();
    CallGuarded([&] { SendMessageA(FHandle, WM_MOUSEWHEEL, wp, MAKELPARAM(g.x(), g.y())); });
    e->accept();
}

void TWindowWidget::leaveEvent(QEvent*)
{
    if (FHandle)
        CallGuarded([&] { SendMessageA(FHandle, WM_MOUSELEAVE, 0, 0); });
}

void TWindowWidget::keyPressEvent(QKeyEvent* e)
{
    bool sent = false;
    if (FHandle)
        CallGuarded([&] { sent = SendKeyPressAsMessages(FHandle, e); });
    if (!sent)
        QWidget::keyPressEvent(e);
}

void TWindowWidget::keyReleaseEvent(QKeyEvent* e)
{
    if (FHandle)
        CallGuarded([&] { SendKeyReleaseAsMessages(FHandle, e); });
}

void TWindowWidget::focusInEvent(QFocusEvent*)
{
    if (FHandle)
        CallGuarded([&] { SendMessageA(FHandle, WM_SETFOCUS, 0, 0); });
}

void TWindowWidget::focusOutEvent(QFocusEvent*)
{
    if (FHandle)
        CallGuarded([&] { SendMessageA(FHandle, WM_KILLFOCUS, WPARAM(GetFocus()), 0); });
}

void TWindowWidget::resizeEvent(QResizeEvent*)
{
    CallGuarded([&] { LayoutScrollBars(); });
}
