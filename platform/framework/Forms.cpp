#include "platform/framework/Forms.h"

#include "platform/framework/EventFilter.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QWidget>

#include "platform/win/Gdi.h"

namespace {

constexpr const char* FormClass = "TForm";

LRESULT FormWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SETTEXT) {
        if (QWidget* w = WindowWidget(hwnd))
            w->setWindowTitle(QString::fromUtf8(lParam ? reinterpret_cast<const char*>(lParam) : ""));
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterFormClass()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    WNDCLASSA wc;
    wc.lpszClassName = FormClass;
    wc.lpfnWndProc = FormWindowProc;
    RegisterClassA(wc);
}

WORD DialogKeyOf(const QKeyEvent* Event)
{
    if (Event->modifiers() & ~Qt::KeypadModifier)
        return 0;
    switch (Event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Escape: return VK_ESCAPE;
    default: return 0;
    }
}

// Sees the Return and Escape presses that reach the form's widget: those meant for the
// form itself and those its focused widget left. A line edit (an edit control or a
// tree's label editor) keeps them, as it ends its editing with them.
bool OfferDialogKey(HWND Form, QEvent* Event)
{
    if (Event->type() != QEvent::KeyPress)
        return false;
    const WORD key = DialogKeyOf(static_cast<QKeyEvent*>(Event));
    if (!key || qobject_cast<QLineEdit*>(QApplication::focusWidget()))
        return false;
    LRESULT taken = 0;
    CallGuarded([&] { taken = SendMessageA(Form, CM_DIALOGKEY, key, 0); });
    return taken != 0;
}

} // namespace

TForm* GetParentForm(TWinControl* Control)
{
    while (Control && !dynamic_cast<TForm*>(Control))
        Control = Control->Parent();
    return static_cast<TForm*>(Control);
}

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner)
{
    RegisterFormClass();
    SetVisible(false);
    SetBounds(0, 0, 640, 480);
}

TForm::~TForm()
{
    DestroyChildControls();
    if (HandleAllocated())
        DestroyWindowHandle();
}

void TForm::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style &= ~(WS_CHILD | WS_CLIPSIBLINGS);
    Params.WndParent = nullptr;
    CreateSubClass(Params, FormClass);
}

void TForm::CreateWnd()
{
    TWinControl::CreateWnd();
    const HWND handle = Handle();
    new TEventFilter(WindowWidget(handle),
                     [handle](QObject*, QEvent* Event) { return OfferDialogKey(handle, Event); });
}

bool TForm::SendDialogKey(TWinControl* Parent, WORD Key)
{
    for (int i = 0; i < Parent->ControlCount(); ++i) {
        TWinControl* control = Parent->Controls(i);
        if (!control->Visible() || !control->Enabled())
            continue;
        if (control->Perform(CM_DIALOGKEY, Key) || SendDialogKey(control, Key))
            return true;
    }
    return false;
}

void TForm::Show()
{
    SetVisible(true);
    if (QWidget* w = WindowWidget(Handle())) {
        w->setWindowTitle(QString::fromStdString(Caption()));
        w->show();
    }
}

int TForm::ShowModal()
{
    FModalResult = mrNone;
    FModal = true;
    Show();
    QEventLoop loop;
    while (FModalResult == mrNone && HandleAllocated() && IsWindowVisible(Handle()))
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    FModal = false;
    Hide();
    return FModalResult;
}

void TForm::Close()
{
    if (FModal && FModalResult == mrNone)
        FModalResult = mrCancel;
    Hide();
}

void TForm::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_SYSCOLORCHANGE) {
        DefaultHandler(Message);
        Invalidate();
        BroadcastToChildren(CM_SYSCOLORCHANGE, Message.WParam, Message.LParam);
        return;
    }
    if (Message.Msg == CM_DIALOGKEY) {
        Message.Result = SendDialogKey(this, WORD(Message.WParam)) ? 1 : 0;
        return;
    }
    if (Message.Msg == WM_ERASEBKGND && Message.WParam) {
        auto* dc = reinterpret_cast<HDC>(Message.WParam);
        RECT r = ClientRect();
        if (dc->painter)
            dc->painter->fillRect(0, 0, r.right, r.bottom, ColorRefToQColor(ColorToRGB(Color())));
        Message.Result = 1;
        return;
    }
    TWinControl::Dispatch(Message);
}
