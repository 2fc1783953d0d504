#include "platform/framework/Forms.h"

#include "platform/framework/EventFilter.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <unordered_set>

#include "platform/framework/SysUtils.h"
#include "platform/win/Gdi.h"
#include "platform/win/WindowWidget.h"

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

// The forms not yet destroyed, so that a Release whose form was freed meanwhile does nothing.
std::unordered_set<TForm*>& LiveForms()
{
    static std::unordered_set<TForm*> forms;
    return forms;
}

Qt::WindowFlags FormWindowFlags(TFormBorderStyle Style, TBorderIcons Icons)
{
    const bool tool = Style == bsToolWindow || Style == bsSizeToolWin;
    Qt::WindowFlags flags = tool ? Qt::Tool : Style == bsDialog ? Qt::Dialog : Qt::Window;
    if (Style == TFormBorderStyle(bsNone))
        return flags | Qt::FramelessWindowHint;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (!Icons.Contains(biSystemMenu))
        return flags;
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    const bool minMax = Style == bsSizeable || Style == TFormBorderStyle(bsSingle); // dialogs and tool windows have neither
    if (minMax && Icons.Contains(biMinimize))
        flags |= Qt::WindowMinimizeButtonHint;
    if (minMax && Icons.Contains(biMaximize))
        flags |= Qt::WindowMaximizeButtonHint;
    if (Icons.Contains(biHelp))
        flags |= Qt::WindowContextHelpButtonHint;
    return flags;
}

QRect ScreenArea(bool WholeDesktop)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return WholeDesktop ? screen->virtualGeometry() : screen->geometry();
}

// Ends the modal state however ShowModal is left: the form is hidden and modeless again.
class TModalScope {
public:
    TModalScope(TForm& Form, bool& Modal, QWidget* Widget) : FForm(Form), FModal(Modal), FWidget(Widget)
    {
        FModal = true;
        FWidget->setWindowModality(Qt::ApplicationModal);
    }
    ~TModalScope()
    {
        FModal = false;
        FForm.Hide();
        if (FWidget)
            FWidget->setWindowModality(Qt::NonModal);
    }
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;

private:
    TForm& FForm;
    bool& FModal;
    QPointer<QWidget> FWidget;
};

} // namespace

TForm* GetParentForm(TWinControl* Control)
{
    while (Control && !dynamic_cast<TForm*>(Control))
        Control = Control->Parent();
    return static_cast<TForm*>(Control);
}

// The form window's Qt events that have no message: the close button asks the form
// to close, and a show tells the form before the window appears. The form is looked
// up by its window each time, since the widget may outlive it.
class TFormWindowEvents : public QObject {
public:
    TFormWindowEvents(HWND Form, QObject* Parent) : QObject(Parent), FForm(Form) {}

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        TForm* form = dynamic_cast<TForm*>(TWinControl::FindControl(FForm));
        if (!form)
            return false;
        if (Event->type() == QEvent::Close) {
            Event->ignore(); // the form hides or frees itself when it agrees to close
            CallGuarded([form] { form->Close(); });
            return true;
        }
        if (Event->type() == QEvent::Show && !Event->spontaneous())
            CallGuarded([form] { form->DoShow(); });
        return false;
    }

private:
    HWND FForm;
};

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner)
{
    RegisterFormClass();
    LiveForms().insert(this);
    SetVisible(false);
    SetBounds(0, 0, 640, 480);
    Constraints()->OnChange = [this](TObject*) {
        SetBounds(Left(), Top(), Width(), Height());
        ApplySizeLimits();
    };
}

TForm::~TForm()
{
    if (OnDestroy)
        CallGuarded([this] { OnDestroy(this); });
    LiveForms().erase(this);
    DestroyChildControls();
    if (HandleAllocated())
        DestroyWindowHandle();
}

void TForm::Loaded()
{
    TWinControl::Loaded();
    DoCreate();
}

void TForm::DoCreate()
{
    if (FCreated)
        return;
    FCreated = true;
    if (OnCreate)
        OnCreate(this);
}

void TForm::DoShow()
{
    if (OnShow)
        OnShow(this);
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
    QWidget* w = WindowWidget(handle);
    new TEventFilter(w, [handle](QObject*, QEvent* Event) { return OfferDialogKey(handle, Event); });
    w->installEventFilter(new TFormWindowEvents(handle, w));
    if (FBorderStyle != bsSizeable || FBorderIcons != DefaultBorderIcons)
        ApplyWindowFlags(); // the default frame is Qt's own
    ApplySizeLimits();
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
    DoCreate();
    PlaceForShowing();
    SetVisible(true);
    if (QWidget* w = WindowWidget(Handle())) {
        w->setWindowTitle(QString::fromStdString(Caption()));
        w->show();
    }
}

int TForm::ShowModal()
{
    if (FModal || WindowShown())
        throw EInvalidOperation("Cannot make a visible window modal");
    FModalResult = mrNone;
    TCloseAction action = caHide;
    {
        const TModalScope modal(*this, FModal, WindowWidget(Handle()));
        Show();
        RunModalLoop(action);
    }
    if (action == caFree)
        Release();
    return FModalResult;
}

void TForm::RunModalLoop(TCloseAction& Action)
{
    QEventLoop loop;
    for (;;) {
        while (FModalResult == mrNone && WindowShown())
            loop.processEvents(QEventLoop::WaitForMoreEvents);
        if (!WindowShown()) { // hidden or destroyed from elsewhere
            if (FModalResult == mrNone)
                FModalResult = mrCancel;
            return;
        }
        if (CloseModal(Action))
            return;
    }
}

bool TForm::CloseModal(TCloseAction& Action)
{
    Action = CloseQuery() ? caHide : caNone;
    if (Action != caNone && OnClose)
        OnClose(this, Action);
    if (Action != caNone)
        return true;
    FModalResult = mrNone;
    return false;
}

void TForm::Close()
{
    if (FModal) {
        FModalResult = mrCancel; // the modal loop asks OnCloseQuery and OnClose
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    if (OnClose)
        OnClose(this, action);
    ApplyCloseAction(action);
}

bool TForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::ApplyCloseAction(TCloseAction Action)
{
    switch (Action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        if (HandleAllocated())
            WindowWidget(Handle())->showMinimized();
        break;
    case caFree:
        Hide();
        Release();
        break;
    default:
        break;
    }
}

void TForm::Release()
{
    QTimer::singleShot(0, qApp, [this] {
        if (LiveForms().count(this))
            delete this;
    });
}

bool TForm::WindowShown() { return HandleAllocated() && IsWindowVisible(Handle()); }

void TForm::PlaceForShowing()
{
    QRect area;
    auto* ownerForm = dynamic_cast<TForm*>(Owner());
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        area = ScreenArea(FPosition == poDesktopCenter);
        break;
    case poMainFormCenter: // the owner stands for the main form: the application keeps none
    case poOwnerFormCenter:
        area = ownerForm && ownerForm->WindowShown()
                   ? QRect(ownerForm->Left(), ownerForm->Top(), ownerForm->Width(), ownerForm->Height())
                   : ScreenArea(false);
        break;
    default:
        return;
    }
    SetBounds(area.x() + (area.width() - Width()) / 2, area.y() + (area.height() - Height()) / 2, Width(), Height());
}

void TForm::SetBorderIcons(TBorderIcons Value)
{
    FBorderIcons = Value;
    ApplyWindowFlags();
}

void TForm::SetBorderStyle(TFormBorderStyle Value)
{
    FBorderStyle = Value;
    ApplyWindowFlags();
}

void TForm::ApplyWindowFlags()
{
    if (!HandleAllocated())
        return;
    QWidget* w = WindowWidget(Handle());
    const Qt::WindowFlags flags = FormWindowFlags(FBorderStyle, FBorderIcons);
    if (w->windowFlags() == flags)
        return;
    const bool shown = w->isVisible();
    w->setWindowFlags(flags); // Qt hides a window whose flags change
    if (shown)
        w->show();
}

void TForm::ApplySizeLimits()
{
    if (!HandleAllocated())
        return;
    const TSizeConstraints* limits = Constraints();
    QWidget* w = WindowWidget(Handle());
    w->setMinimumSize(limits->MinWidth(), limits->MinHeight());
    w->setMaximumSize(limits->MaxWidth() > 0 ? limits->MaxWidth() : QWIDGETSIZE_MAX,
                      limits->MaxHeight() > 0 ? limits->MaxHeight() : QWIDGETSIZE_MAX);
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

TForm* ActiveModalForm()
{
    auto* window = qobject_cast<TWindowWidget*>(QApplication::activeModalWidget());
    return window ? dynamic_cast<TForm*>(TWinControl::FindControl(window->Handle())) : nullptr;
}
