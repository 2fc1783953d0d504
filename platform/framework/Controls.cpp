#include "platform/framework/Controls.h"

#include "platform/framework/Application.h"
#include "platform/framework/DragDrop.h"
#include "platform/framework/Menus.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <unordered_map>

#include "platform/win/Gdi.h"
#include "platform/win/WindowWidget.h"

namespace {

// The controls by their window handles. The notifications of one large operation (a
// million deletions, say) all come from one window, so the last answer is kept; any
// change of the table forgets it.
class TControlTable {
public:
    TWinControl* Find(HWND hwnd)
    {
        if (hwnd && hwnd == FLastHandle)
            return FLastControl;
        auto it = FControls.find(hwnd);
        if (it == FControls.end())
            return nullptr;
        FLastHandle = hwnd;
        FLastControl = it->second;
        return it->second;
    }
    void Set(HWND hwnd, TWinControl* control)
    {
        FControls[hwnd] = control;
        Forget();
    }
    void Erase(HWND hwnd)
    {
        FControls.erase(hwnd);
        Forget();
    }
    const std::unordered_map<HWND, TWinControl*>& All() const { return FControls; }

private:
    void Forget()
    {
        FLastHandle = nullptr;
        FLastControl = nullptr;
    }

    std::unordered_map<HWND, TWinControl*> FControls;
    HWND FLastHandle = nullptr;
    TWinControl* FLastControl = nullptr;
};

TControlTable& ControlsByHandle()
{
    static TControlTable table;
    return table;
}

UINT_PTR NextControlId()
{
    static UINT_PTR id = 100;
    return ++id;
}

constexpr const char* DefaultControlClass = "TWinControl";
constexpr const char* HostWindowClass = "TlxHostWindow";

// The controls whose windows are children of hwnd, taken before any of them is called.
std::vector<TWinControl*> HostedControls(HWND hwnd)
{
    std::vector<TWinControl*> controls;
    for (auto& [childHandle, control] : ControlsByHandle().All())
        if (GetParent(childHandle) == hwnd)
            controls.push_back(control);
    return controls;
}

// A window that only reflects its children's notifications to their controls and keeps
// them filling its client area: the parent of a control hosted by a plain Qt widget.
LRESULT HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NOTIFY && lParam) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (TWinControl* child = TWinControl::FindControl(header->hwndFrom))
            return child->Perform(CN_NOTIFY, wParam, lParam);
        return 0;
    }
    if (msg == WM_SIZE) {
        for (TWinControl* control : HostedControls(hwnd))
            control->SetBounds(0, 0, LOWORD(lParam), HIWORD(lParam));
        return 0;
    }
    if (msg == WM_SYSCOLORCHANGE) {
        for (TWinControl* control : HostedControls(hwnd)) {
            control->Perform(CM_SYSCOLORCHANGE, wParam, lParam);
            control->BroadcastToChildren(CM_SYSCOLORCHANGE, wParam, lParam);
        }
        return 0;
    }
    if (msg == WM_ERASEBKGND && wParam) {
        auto* dc = reinterpret_cast<HDC>(wParam);
        RECT r;
        GetClientRect(hwnd, &r);
        if (dc->painter)
            dc->painter->fillRect(0, 0, r.right, r.bottom, ColorRefToQColor(GetSysColor(COLOR_BTNFACE)));
        return 1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterFrameworkClasses()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    WNDCLASSA plain;
    plain.lpszClassName = DefaultControlClass;
    plain.lpfnWndProc = DefWindowProcA;
    RegisterClassA(plain);
    WNDCLASSA host;
    host.lpszClassName = HostWindowClass;
    host.lpfnWndProc = HostWindowProc;
    RegisterClassA(host);
}

} // namespace

TShiftState KeysToShiftState(WPARAM keys)
{
    TShiftState s;
    if (keys & MK_SHIFT)
        s.Include(ssShift);
    if (keys & MK_CONTROL)
        s.Include(ssCtrl);
    if (keys & MK_LBUTTON)
        s.Include(ssLeft);
    if (keys & MK_RBUTTON)
        s.Include(ssRight);
    if (keys & MK_MBUTTON)
        s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0)
        s.Include(ssAlt);
    return s;
}

TShiftState KeyboardStateToShiftState()
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0)
        s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        s.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0)
        s.Include(ssAlt);
    if (GetKeyState(0x01) < 0)
        s.Include(ssLeft);
    if (GetKeyState(0x02) < 0)
        s.Include(ssRight);
    return s;
}

TWinControl::TWinControl(TComponent* AOwner)
    : TComponent(AOwner), FColor(clBtnFace), FFont(std::make_unique<TFont>()),
      FConstraints(std::make_unique<TSizeConstraints>())
{
    RegisterFrameworkClasses();
    TrackHints();
    Application(); // its error display is in place before any control handles input
    FFont->OnChange = [this](TObject* Sender) { FontOnChange(Sender); };
    FConstraints->OnChange = [this](TObject*) { SetBounds(FLeft, FTop, FWidth, FHeight); };
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};
}

TWinControl::~TWinControl()
{
    DragControlGone(this);
    DestroyChildControls();
    if (HandleAllocated())
        DestroyWindowHandle();
    if (FParent)
        FParent->RemoveControl(this);
    if (FHostWindow)
        DestroyWindow(FHostWindow);
}

void TWinControl::BroadcastToChildren(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    for (TWinControl* child : std::vector<TWinControl*>(FControls)) {
        child->Perform(Msg, WParam, LParam);
        child->BroadcastToChildren(Msg, WParam, LParam);
    }
}

void TWinControl::DestroyChildControls()
{
    // Child controls go with their parent, before its window.
    while (!FControls.empty()) {
        TWinControl* child = FControls.back();
        RemoveControl(child);
        child->FParent = nullptr;
        delete child;
    }
}

TWinControl* TWinControl::FindControl(HWND hwnd)
{
    return ControlsByHandle().Find(hwnd);
}

HWND TWinControl::Handle()
{
    if (!FHandle || !IsWindow(FHandle))
        CreateHandle();
    return FHandle;
}

bool TWinControl::HandleAllocated() const { return FHandle != nullptr && IsWindow(FHandle); }

void TWinControl::CreateHandle()
{
    if (HandleAllocated())
        return;
    FHandle = nullptr;
    if (!IsTopLevelWindow() && !FParent && !FParentWidget) {
        std::string name = Name().empty() ? ClassName() : Name();
        throw EInvalidOperation(Format("Control '%s' has no parent window", name));
    }
    if (FParent) {
        FParent->Handle(); // a new parent window makes its children's windows too
        if (HandleAllocated())
            return;
    }
    CreateWnd();
    for (TWinControl* child : std::vector<TWinControl*>(FControls))
        if (!child->HandleAllocated())
            child->CreateHandle();
}

void TWinControl::DestroyHandle()
{
    if (!HandleAllocated()) {
        FHandle = nullptr;
        return;
    }
    for (TWinControl* child : std::vector<TWinControl*>(FControls))
        child->DestroyHandle();
    DestroyWnd();
}

void TWinControl::RecreateWnd()
{
    if (!HandleAllocated())
        return;
    DestroyHandle();
    CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params = TCreateParams{};
    Params.Caption = FCaption;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FTabStop)
        Params.Style |= WS_TABSTOP;
    if (FVisible)
        Params.Style |= WS_VISIBLE;
    if (!FEnabled)
        Params.Style |= WS_DISABLED;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    Params.WndParent = FParent ? FParent->FHandle : FHostWindow;
    Params.WinClassName = DefaultControlClass;
    FDefWndProc = DefWindowProcA;
}

void TWinControl::CreateSubClass(TCreateParams& Params, const std::string& ClassName)
{
    WNDCLASSA wc;
    if (!GetClassInfoA(ClassName, &wc))
        throw EOutOfResources(Format("Window class '%s' is not registered", ClassName));
    FDefWndProc = wc.lpfnWndProc;
    Params.WinClassName = ClassName;
    Params.ClassStyle = wc.style;
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    CreateWindowHandle(params);
    if (!FHandle)
        throw EOutOfResources(Format("Error creating window of class '%s'", params.WinClassName));
    if (QWidget* w = WindowWidget(FHandle))
        w->setFont(FFont->ToQFont());
    ApplyBiDiModeToWidget();
    ApplyHintToWidget();
    Perform(WM_SETFONT, WPARAM(FFont->Handle()), 1);
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params)
{
    WNDPROC proc = [this](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (!FHandle)
            FHandle = hwnd; // the window's first messages arrive before CreateWindowExA returns
        TMessage message{msg, wParam, lParam, 0};
        WndProc(message);
        return message.Result;
    };
    FHandle = nullptr;
    if (FParent && !Params.WndParent)
        return;
    HWND created = nullptr;
    try {
        ControlsByHandle().Erase(nullptr);
        created = CreateWindowExA(Params.ExStyle, Params.WinClassName, Params.Caption, Params.Style, Params.X,
                                  Params.Y, Params.Width, Params.Height, Params.WndParent, NextControlId(),
                                  Params.Param, &proc, nullptr);
    } catch (...) {
        if (FHandle)
            ControlsByHandle().Erase(FHandle);
        FHandle = nullptr;
        throw;
    }
    FHandle = created;
    if (FHandle)
        ControlsByHandle().Set(FHandle, this);
}

void TWinControl::DestroyWnd() { DestroyWindowHandle(); }

void TWinControl::DestroyWindowHandle()
{
    FControlState.Include(csDestroyingHandle);
    HWND handle = FHandle;
    try {
        DestroyWindow(handle);
    } catch (...) {
        FControlState.Exclude(csDestroyingHandle);
        ControlsByHandle().Erase(handle);
        FHandle = nullptr;
        throw;
    }
    FControlState.Exclude(csDestroyingHandle);
    ControlsByHandle().Erase(handle);
    FHandle = nullptr;
}

void TWinControl::SetParentComponent(TComponent* Value)
{
    auto* parent = dynamic_cast<TWinControl*>(Value);
    if (Value && !parent)
        throw EReadError("The parent " + Value->Name() + " of control " + Name() + " is not a control");
    SetParent(parent);
}

void TWinControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent)
        return;
    if (AParent == this)
        throw EInvalidOperation("A control cannot be its own parent");
    if (FParent)
        FParent->RemoveControl(this);
    FParent = AParent;
    if (FParent) {
        FParent->FControls.push_back(this);
        ParentFontChanged();
        TakeParentProperties();
        TakeAnchorReference();
        FParent->Perform(CM_CONTROLCHANGE, WPARAM(this));
    }
    if (HandleAllocated()) {
        if (FParent)
            ::SetParent(FHandle, FParent->Handle());
        else if (!FParentWidget)
            DestroyHandle();
    } else if (FParent && FParent->HandleAllocated()) {
        CreateHandle(); // a control put on a window that exists shows without waiting to be asked
    }
}

void TWinControl::SetParentWidget(QWidget* Widget)
{
    if (FParent)
        SetParent(nullptr);
    FParentWidget = Widget;
    if (FHostWindow) {
        if (HandleAllocated())
            ::SetParent(FHandle, nullptr);
        DestroyWindow(FHostWindow);
        FHostWindow = nullptr;
    }
    if (!Widget)
        return;
    FHostWindow = CreateWindowExA(0, HostWindowClass, "", WS_VISIBLE, 0, 0, std::max(FWidth, 1),
                                  std::max(FHeight, 1), nullptr, 0, nullptr, nullptr, Widget);
    FHostWidget = WindowWidget(FHostWindow);
    if (HandleAllocated())
        ::SetParent(FHandle, FHostWindow);
}

QWidget* TWinControl::Widget()
{
    HWND handle = Handle();
    return FHostWindow ? WindowWidget(FHostWindow) : WindowWidget(handle);
}

void TWinControl::RemoveControl(TWinControl* Control)
{
    FControls.erase(std::remove(FControls.begin(), FControls.end(), Control), FControls.end());
    Perform(CM_CONTROLCHANGE, WPARAM(Control));
}

LRESULT TWinControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage message{Msg, WParam, LParam, 0};
    WndProc(message);
    return message.Result;
}

void TWinControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FDragMode == dmAutomatic && !ComponentState().Contains(csDesigning)) {
            BeginDrag(false);
            return;
        }
        FControlState.Include(csLButtonDown);
        break;
    case WM_LBUTTONUP:
        FControlState.Exclude(csLButtonDown);
        break;
    default:
        break;
    }
    if (KeyPreviewedByForm(Message))
        return;
    Dispatch(Message);
}

bool TWinControl::KeyPreviewedByForm(TMessage& Message)
{
    const UINT msg = Message.Msg;
    const bool keyUp = msg == WM_KEYUP || msg == WM_SYSKEYUP;
    if (!keyUp && msg != WM_KEYDOWN && msg != WM_SYSKEYDOWN && msg != WM_CHAR)
        return false;
    TWinControl* form = FParent;
    while (form && !form->IsTopLevelWindow())
        form = form->FParent;
    if (!form || !form->PreviewsKeys())
        return false;
    if (msg == WM_CHAR)
        return form->DoKeyPress(Message);
    return keyUp ? form->DoKeyUp(Message) : form->DoKeyDown(Message);
}

void TWinControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NOTIFY:
        WMNotify(Message);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
        WMMouse(Message);
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!DoKeyDown(Message))
            DefaultHandler(Message);
        return;
    case WM_CHAR:
        if (!DoKeyPress(Message))
            DefaultHandler(Message);
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (!DoKeyUp(Message))
            DefaultHandler(Message);
        return;
    case WM_SETFOCUS:
        DefaultHandler(Message);
        if (OnEnter)
            OnEnter(this);
        return;
    case WM_KILLFOCUS:
        DefaultHandler(Message);
        if (OnExit)
            OnExit(this);
        return;
    case WM_SIZE:
        WMSize(Message);
        return;
    case WM_NCCALCSIZE:
        WMNCCalcSize(Message);
        return;
    case WM_NCPAINT:
        WMNCPaint(Message);
        return;
    case CM_DRAG:
        CMDrag(Message);
        return;
    case WM_MOUSELEAVE:
        DefaultHandler(Message);
        Perform(CM_MOUSELEAVE);
        return;
    case WM_NCDESTROY:
        DragControlGone(this);
        DefaultHandler(Message);
        ControlsByHandle().Erase(FHandle);
        FHandle = nullptr;
        return;
    default:
        if (!DispatchPropertyChange(Message))
            DefaultHandler(Message);
    }
}

// The framework's own notes that a property changed, passed on to the children that
// take that property from this control.
bool TWinControl::DispatchPropertyChange(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_FONTCHANGED:
        CMFontChanged(Message);
        return true;
    case CM_COLORCHANGED:
        Invalidate();
        ChildrenTakeFromParent(Message.Msg);
        return true;
    case CM_BIDIMODECHANGED:
        ApplyBiDiModeToWidget();
        ChildrenTakeFromParent(Message.Msg);
        return true;
    case CM_SHOWHINTCHANGED:
        ApplyHintToWidget();
        ChildrenTakeFromParent(Message.Msg);
        return true;
    case CM_CTL3DCHANGED:
        ChildrenTakeFromParent(Message.Msg);
        return true;
    default:
        return false;
    }
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    if (!FHandle) {
        Message.Result = 0;
        return;
    }
    if (Message.Msg >= CM_BASE && Message.Msg < CM_BASE + 0x2000) {
        // The framework's own messages mean nothing to a window class.
        Message.Result = 0;
        return;
    }
    Message.Result = CallWindowProcA(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::WMNotify(TMessage& Message)
{
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    if (header) {
        TWinControl* child = FindControl(header->hwndFrom);
        if (child && child != this) {
            Message.Result = child->Perform(CN_NOTIFY, Message.WParam, Message.LParam);
            return;
        }
    }
    DefaultHandler(Message);
}

void TWinControl::WMMouse(TMessage& Message)
{
    DefaultHandler(Message);
    const TShiftState shift = KeysToShiftState(Message.WParam);
    const int x = GET_X_LPARAM(Message.LParam);
    const int y = GET_Y_LPARAM(Message.LParam);
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        if (FControlStyle.Contains(csCaptureMouse))
            SetCapture(FHandle);
        FControlState.Include(csClicked);
        MouseDown(mbLeft, shift, x, y);
        break;
    case WM_LBUTTONDBLCLK:
        if (FControlStyle.Contains(csCaptureMouse))
            SetCapture(FHandle);
        DblClick();
        MouseDown(mbLeft, shift + TShiftState{ssDouble}, x, y);
        break;
    case WM_LBUTTONUP: {
        bool clicked = FControlState.Contains(csClicked);
        FControlState.Exclude(csClicked);
        if (GetCapture() == FHandle)
            ReleaseCapture();
        RECT client = ClientRect();
        if (clicked && PtInRect(&client, POINT{x, y}))
            Click();
        MouseUp(mbLeft, shift, x, y);
        break;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        MouseDown(mbRight, Message.Msg == WM_RBUTTONDBLCLK ? shift + TShiftState{ssDouble} : shift, x, y);
        break;
    case WM_RBUTTONUP:
        MouseUp(mbRight, shift, x, y);
        PopupContextMenu(x, y);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(mbMiddle, shift, x, y);
        break;
    case WM_MBUTTONUP:
        MouseUp(mbMiddle, shift, x, y);
        break;
    case WM_MOUSEMOVE:
        MouseMove(shift, x, y);
        break;
    default:
        break;
    }
}

void TWinControl::CMFontChanged(TMessage& Message)
{
    if (HandleAllocated()) {
        if (QWidget* w = WindowWidget(FHandle))
            w->setFont(FFont->ToQFont());
        Perform(WM_SETFONT, WPARAM(FFont->Handle()), 0);
    }
    for (TWinControl* child : FControls)
        child->ParentFontChanged();
    Message.Result = 0;
}

bool TWinControl::DoKeyDown(TMessage& Message)
{
    WORD key = WORD(Message.WParam);
    KeyDown(key, KeyboardStateToShiftState());
    if (key == 0)
        return true;
    Message.WParam = key;
    return false;
}

bool TWinControl::DoKeyPress(TMessage& Message)
{
    if (Message.WParam > 0x7F) // the event carries one byte; other characters pass untouched
        return false;
    char key = char(Message.WParam);
    KeyPress(key);
    if (key == 0)
        return true;
    Message.WParam = WPARAM(static_cast<unsigned char>(key));
    return false;
}

bool TWinControl::DoKeyUp(TMessage& Message)
{
    WORD key = WORD(Message.WParam);
    KeyUp(key, KeyboardStateToShiftState());
    if (key == 0)
        return true;
    Message.WParam = key;
    return false;
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TWinControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TWinControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TWinControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TWinControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TWinControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

void TWinControl::SetPopupMenu(TPopupMenu* Value)
{
    if (Value == FPopupMenu)
        return;
    if (FPopupMenu)
        RemoveFreeNotification(FPopupMenu);
    FPopupMenu = Value;
    if (Value)
        FreeNotification(Value);
}

bool TWinControl::PopupContextMenu(int X, int Y)
{
    if (!FPopupMenu || !FPopupMenu->AutoPopup() || !FHandle)
        return false;
    POINT at{X, Y};
    ClientToScreen(FHandle, &at);
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(at.x, at.y);
    return true;
}

void TWinControl::SetVisible(bool Value)
{
    FVisible = Value;
    if (HandleAllocated())
        ShowWindow(FHandle, Value ? SW_SHOW : SW_HIDE);
}

void TWinControl::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    if (HandleAllocated())
        EnableWindow(FHandle, Value);
    Perform(CM_ENABLEDCHANGED);
}

void TWinControl::SetFont(TFont* Value)
{
    if (Value)
        FFont->Assign(Value);
}

void TWinControl::SetParentFont(bool Value)
{
    if (FParentFont == Value)
        return;
    FParentFont = Value;
    if (Value)
        ParentFontChanged();
}

void TWinControl::ParentFontChanged()
{
    if (!FParentFont || !FParent)
        return;
    const TFlagScope applying(FApplyingParentFont);
    FFont->Assign(FParent->FFont.get());
}

void TWinControl::FontOnChange(TObject*)
{
    if (!FApplyingParentFont)
        FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TWinControl::SetCaption(const std::string& Value)
{
    if (FCaption == Value)
        return;
    FCaption = Value;
    if (HandleAllocated())
        SetWindowTextA(FHandle, Value);
    Perform(CM_TEXTCHANGED);
}

bool TWinControl::Focused() { return HandleAllocated() && GetFocus() == FHandle; }

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

void TWinControl::Invalidate()
{
    if (HandleAllocated())
        InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Update()
{
    if (HandleAllocated())
        UpdateWindow(FHandle);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}
