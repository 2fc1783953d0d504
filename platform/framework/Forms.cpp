#include "platform/framework/Forms.h"

#include <QEventLoop>
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

} // namespace

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
