#pragma once
// Windowed controls: a TComponent with a window of the window layer. The window is
// made on first use of Handle(), messages reach WndProc and are dispatched to the
// handlers by id, and what no handler takes goes to the window class's own routine.
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "platform/framework/Classes.h"
#include "platform/framework/Graphics.h"
#include "platform/win/WinApi.h"

#include <QWidget>

// The framework's own messages: control messages and reflected notifications.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
// Sent by a form to its controls for Return and Escape that the focused control left;
// WParam is the key, and a control that acts on it answers 1.
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 22;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 26;
// Sent to a control when a child came, went or moved; WParam is the child.
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 36;
constexpr UINT CM_DRAG = CM_BASE + 47;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY; // 0xBC4E
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };
enum TDragMode { dmManual, dmAutomatic };
// dkDock is kept as a value; this framework has no docking, so it starts no drag.
enum TDragKind { dkDrag, dkDock };
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// Mouse cursors by number; the negative numbers are the built-in shapes.
using TCursor = short;
constexpr TCursor crDefault = 0, crArrow = -2, crCross = -3, crIBeam = -4, crHourGlass = -11, crDrag = -12,
                  crNoDrop = -13, crMultiDrag = -16, crNo = -18, crHandPoint = -21;
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
// The sides of the parent's client area whose distance a control with Align alNone keeps.
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
constexpr TAnchors DefaultAnchors{akLeft, akTop};
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// The smallest and largest size a control may take; 0 sets no limit. The largest is
// applied first, so a minimum above the maximum wins. Negative values are taken as 0.
// OnChange follows every real change.
class TSizeConstraints : public TPersistent {
public:
    void Assign(TPersistent* Source) override;
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value) { Change(FMinWidth, Value); }
    int MinHeight() const { return FMinHeight; }
    void SetMinHeight(int Value) { Change(FMinHeight, Value); }
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value) { Change(FMaxWidth, Value); }
    int MaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int Value) { Change(FMaxHeight, Value); }
    int ConstrainWidth(int Width) const { return Constrain(Width, FMinWidth, FMaxWidth); }
    int ConstrainHeight(int Height) const { return Constrain(Height, FMinHeight, FMaxHeight); }

    TNotifyEvent OnChange;

private:
    static int Constrain(int Size, int Min, int Max);
    void Change(int& Field, int Value);
    void Changed();
    int FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

enum TControlStyleItem {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
    csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents,
    csDisplayDragImage, csReflector, csActionClient, csMenuEvents
};
using TControlStyle = TSet<TControlStyleItem>;
enum TControlStateItem {
    csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
    csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking
};
using TControlState = TSet<TControlStateItem>;

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    DWORD ClassStyle = 0;
    std::string WinClassName;
};

using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

class TPopupMenu;
class TDragObject;
class TDragImageList;

// Drag events; Source is the control being dragged, or the application's drag object.
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TDragOverEvent =
    std::function<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyboardStateToShiftState();

class TWinControl : public TComponent {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // The window, made on first use; raises EInvalidOperation naming the control when
    // it has no parent window.
    HWND Handle();
    bool HandleAllocated() const;
    void HandleNeeded() { Handle(); }
    void RecreateWnd();

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    TComponent* GetParentComponent() const override { return FParent; }
    // A control goes into a control only.
    void SetParentComponent(TComponent* Value) override;
    // Hosts the control's window in a plain Qt widget instead of a parent control.
    void SetParentWidget(QWidget* Widget);
    QWidget* ParentWidget() const { return FParentWidget; }
    // The Qt widget of the control's window (made on demand), for Qt layouts.
    QWidget* Widget();

    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    // Sends a framework message to every control below this one, depth first.
    void BroadcastToChildren(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    virtual void WndProc(TMessage& Message);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    // The client area: the window's less its frame, BorderWidth on every side and the
    // scroll bars (without a window: the bounds less BorderWidth).
    RECT ClientRect();
    int ClientWidth() { return ClientRect().right; }
    int ClientHeight() { return ClientRect().bottom; }
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    // Bounds and anchors set by the application (and a new parent) are where the
    // control's distances to its anchored sides are measured from.
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);
    TSizeConstraints* Constraints() const { return FConstraints.get(); }
    void SetConstraints(TSizeConstraints* Value);
    // Pixels between the window's frame and its client area on every side, painted in
    // Color; negative values are taken as 0.
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value);

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // Parent... properties: while on, the control takes the parent's value, when it gets
    // a parent and whenever the parent's changes; setting the value turns them off.
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool Value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value) { FTabStop = Value; }
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int Value) { FTabOrder = Value; }
    // The hint: "short|long" (GetShortHint, GetLongHint). The mouse entering the control
    // makes it (or the nearest parent's non-empty hint) the application's Hint; the
    // short part shows as a tooltip while ShowHint is on.
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value);
    // The hint, or the nearest parent's non-empty one.
    std::string InheritedHint() const;
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    // The widget's layout direction is right to left for bdRightToLeft.
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode Value);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool Value);
    // Text read right to left: every mode but bdLeftToRight.
    bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
    // Alignment mirrored as well: bdRightToLeft only.
    bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    TDragMode DragMode() const { return FDragMode; }
    virtual void SetDragMode(TDragMode Value) { FDragMode = Value; }
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState Value) { FControlState = Value; }

    // The menu that a right click on the control pops up (when its AutoPopup is on).
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* Value);
    // The help context that F1 asks for; 0 lets the parent control answer.
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }

    bool Focused();
    virtual void SetFocus();
    // Drag and drop (DragDrop.h tells how a drag runs). With DragMode dmAutomatic a left
    // press starts a drag once the mouse has moved the default threshold.
    TDragKind DragKind() const { return FDragKind; }
    void SetDragKind(TDragKind Value) { FDragKind = Value; }
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor Value) { FDragCursor = Value; }
    // Starts a drag of this control now, or once the mouse has moved Threshold pixels
    // (-1: the default threshold). Nothing happens while a drag is in progress or
    // when DragKind is dkDock.
    void BeginDrag(bool Immediate, int Threshold = -1);
    // Ends this control's drag: with Drop, a drop on the control under the mouse when
    // it accepts; otherwise as Escape does.
    void EndDrag(bool Drop);
    bool Dragging() const { return FDragging; }

    void Invalidate();
    void Update();
    void Repaint();
    void Refresh() { Repaint(); }

    int ControlCount() const { return int(FControls.size()); }
    TWinControl* Controls(int Index) const { return FControls.at(std::size_t(Index)); }
    // The control whose window is hwnd, or null.
    static TWinControl* FindControl(HWND hwnd);

    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TStartDragEvent OnStartDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;

protected:
    // Top-level windows (forms) need no parent.
    virtual bool IsTopLevelWindow() const { return false; }
    virtual void CreateParams(TCreateParams& Params);
    // Bases the window on a registered window class; its routine becomes the default handler.
    void CreateSubClass(TCreateParams& Params, const std::string& ClassName);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& Params);
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    void CreateHandle();
    void DestroyHandle();
    // Frees the child controls; destructors call it before the window goes.
    void DestroyChildControls();


    // A form answers true while it sees its controls' keys before they do.
    virtual bool PreviewsKeys() const { return false; }
    // Key and mouse processing; a key handler that sets Key to 0 consumes the key.
    bool DoKeyDown(TMessage& Message);
    bool DoKeyPress(TMessage& Message);
    bool DoKeyUp(TMessage& Message);
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void Click();
    virtual void DblClick();
    // Pops PopupMenu up at a client point, as a right-button release does; true when
    // a menu was shown.
    bool PopupContextMenu(int X, int Y);
    // The drag hooks: the drag start (OnStartDrag, which may hand out a drag object),
    // the end (OnEndDrag), a drag over this control (Accept starts true only when
    // OnDragOver is assigned) and a drop on it (OnDragDrop).
    virtual void DoStartDrag(TDragObject*& DragObject);
    virtual void DoEndDrag(TObject* Target, int X, int Y);
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DragDrop(TObject* Source, int X, int Y);
    // The images a drag of this control shows; none by default.
    virtual TDragImageList* GetDragImages() { return nullptr; }
    // CM_DRAG: the drag hooks for the message, the answer in Result.
    void CMDrag(TMessage& Message);
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // Message handlers of this class.
    void WMNotify(TMessage& Message);
    void WMMouse(TMessage& Message);
    void CMFontChanged(TMessage& Message);
    bool DispatchPropertyChange(TMessage& Message);
    void WMSize(TMessage& Message);
    // Places the aligned children in the client area and the anchored ones after it.
    void AlignControls();
    // The client area: the default routine's (the frame) less BorderWidth.
    void WMNCCalcSize(TMessage& Message);
    // The default routine's frame, then the inner border in Color.
    void WMNCPaint(TMessage& Message);

    WNDPROC FDefWndProc;
    bool FDragging = false; // set by the drag in progress while this control is its source

private:
    friend class TDragSession;
    friend class TDragControlObject;
    // A property that the control takes from its parent while Follows is on; Changed is
    // the message that tells the control its value changed.
    template <class T>
    struct TParentTaken {
        bool TWinControl::*Follows;
        T TWinControl::*Value;
        UINT Changed;
    };
    static const TParentTaken<TColor> ColorFromParent;
    static const TParentTaken<bool> Ctl3DFromParent;
    static const TParentTaken<bool> ShowHintFromParent;
    static const TParentTaken<TBiDiMode> BiDiModeFromParent;
    template <class T>
    void TakeFromParent(const TParentTaken<T>& Property);
    template <class T>
    void SetOwnValue(const TParentTaken<T>& Property, T Value);
    template <class T>
    void SetTakesFromParent(const TParentTaken<T>& Property, bool Value);
    // Every Parent... property, for a new parent.
    void TakeParentProperties();
    // Children that follow the property whose change Message announces take the new value.
    void ChildrenTakeFromParent(UINT Message);
    void ApplyBiDiModeToWidget();
    void ApplyHintToWidget();
    // Watches the mouse entering and leaving every control's widgets (once per Qt
    // application) to keep the application's Hint.
    static void TrackHints();

    // Where the control stood when its anchors were last measured, and the parent's
    // client size then.
    struct TAnchorReference {
        bool Taken = false;
        int Left = 0, Top = 0, Width = 0, Height = 0;
        int ParentWidth = 0, ParentHeight = 0;
    };
    void TakeAnchorReference();
    void ApplyAnchors(int ParentWidth, int ParentHeight);

    // Hands a key message to the form around the control when it previews keys; true
    // when the form consumed the key.
    bool KeyPreviewedByForm(TMessage& Message);
    void ParentFontChanged();
    void FontOnChange(TObject* Sender);
    void RemoveControl(TWinControl* Control);
    void ApplyParentWidget();

    HWND FHandle = nullptr;
    TWinControl* FParent = nullptr;
    QPointer<QWidget> FParentWidget;
    std::vector<TWinControl*> FControls;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor;
    bool FParentColor = true;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    bool FTabStop = false;
    int FTabOrder = -1;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    TAnchors FAnchors = DefaultAnchors;
    TAnchorReference FAnchorReference;
    bool FApplyingAnchors = false;
    std::unique_ptr<TSizeConstraints> FConstraints;
    int FBorderWidth = 0;
    RECT FFrameInsets; // what the default routine took for the frame, edge by edge
    std::string FCaption;
    std::string FHint;
    TDragMode FDragMode = dmManual;
    TDragKind FDragKind = dkDrag;
    TCursor FDragCursor = crDrag;
    TControlStyle FControlStyle;
    TControlState FControlState;
    QPointer<QWidget> FHostWidget; // the widget of FHostWindow
    HWND FHostWindow = nullptr;     // reflects notifications when hosted by a plain Qt widget
    bool FApplyingParentFont = false;
    TPopupMenu* FPopupMenu = nullptr;
    int FHelpContext = 0;
};
