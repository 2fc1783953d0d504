#include "platform/framework/WidgetControl.h"

#include "platform/framework/EventFilter.h"

#include <QEvent>
#include <QWidget>

#include "platform/win/Gdi.h"
#include "platform/win/WindowWidget.h"

namespace {

// Turns the hosted widget's focus changes into the window's focus messages.
bool ForwardFocus(HWND Window, QEvent* Event)
{
    if (Event->type() == QEvent::FocusIn)
        CallGuarded([&] { SendMessageA(Window, WM_SETFOCUS, 0, 0); });
    else if (Event->type() == QEvent::FocusOut)
        CallGuarded([&] { SendMessageA(Window, WM_KILLFOCUS, WPARAM(GetFocus()), 0); });
    return false;
}

// Keys the hosted widget left pass the window widget by, to the controls around it and
// the form (whose default and cancel buttons wait for Return and Escape).
bool PassKeysOn(QEvent* Event)
{
    if (Event->type() != QEvent::KeyPress && Event->type() != QEvent::KeyRelease)
        return false;
    Event->ignore();
    return true;
}

} // namespace

TWidgetControl::TWidgetControl(TComponent* AOwner) : TWinControl(AOwner) { SetTabStop(true); }

TWidgetControl::~TWidgetControl()
{
    // The widget's signals would reach a control whose derived parts are gone.
    if (FWidget)
        FWidget->disconnect();
}

void TWidgetControl::CreateWnd()
{
    TWinControl::CreateWnd();
    QWidget* window = WindowWidget(Handle());
    // What the hosted widget leaves unpainted shows the parent, as the window paints nothing.
    window->setAttribute(Qt::WA_OpaquePaintEvent, false);
    FWidget = CreateHostedWidget(window);
    FWidget->setGeometry(HostedGeometry());
    FWidget->lower(); // child controls (of a group box) lie above it
    FollowFocus(window);
    ApplyCaption();
    ApplyColor();
    ApplyEnabled();
    InitHostedWidget();
    FWidget->show();
}

void TWidgetControl::FollowFocus(QWidget* Window)
{
    if (FWidget->focusPolicy() == Qt::NoFocus) {
        Window->setFocusPolicy(Qt::NoFocus);
        return;
    }
    Window->setFocusProxy(FWidget);
    const HWND handle = Handle();
    new TEventFilter(FWidget, [handle](QObject*, QEvent* Event) { return ForwardFocus(handle, Event); });
    new TEventFilter(Window, [](QObject*, QEvent* Event) { return PassKeysOn(Event); });
}

QRect TWidgetControl::HostedGeometry() const
{
    auto* window = qobject_cast<TWindowWidget*>(FWidget ? FWidget->parentWidget() : nullptr);
    return window ? window->ClientRect() : QRect();
}

void TWidgetControl::Notify(int Code)
{
    if (HandleAllocated())
        CallGuarded([&] { SendMessageA(Handle(), CN_COMMAND, WPARAM(Code), 0); });
}

void TWidgetControl::Dispatch(TMessage& Message)
{
    TWinControl::Dispatch(Message);
    if (!FWidget)
        return;
    switch (Message.Msg) {
    case WM_SIZE: FWidget->setGeometry(HostedGeometry()); break;
    case CN_COMMAND: Command(int(Message.WParam)); break;
    case CM_TEXTCHANGED: ApplyCaption(); break;
    case CM_COLORCHANGED: ApplyColor(); break;
    case CM_ENABLEDCHANGED: ApplyEnabled(); break;
    default: break;
    }
}

void TWidgetControl::ApplyColor()
{
    const QPalette::ColorRole role = ColorRole();
    if (role == QPalette::NoRole)
        return;
    QPalette palette = FWidget->palette();
    palette.setColor(role, ColorRefToQColor(ColorToRGB(Color())));
    FWidget->setPalette(palette);
}

void TWidgetControl::ApplyEnabled() { FWidget->setEnabled(Enabled()); }
