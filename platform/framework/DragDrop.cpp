// The drag in progress: it watches the application's mouse and key events while it
// lasts, finds the control under the mouse, talks to it through CM_DRAG, moves the
// drag image and sets the cursor.
#include "platform/framework/DragDrop.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <cstdlib>

#include "platform/framework/Cursors.h"
#include "platform/framework/ImgList.h"
#include "platform/win/FirstError.h"

namespace {

// The drag object the framework makes when OnStartDrag hands out none: drag events
// name the control itself as their source.
class TOwnDragObject : public TDragControlObject {
public:
    using TDragControlObject::TDragControlObject;
    TObject* EventSource() override { return Control(); }
};

bool HasNoInput(const QWidget* Window) { return Window->windowFlags().testFlag(Qt::WindowTransparentForInput); }

// The control whose window lies under a screen point: the active window is looked
// at first; windows that take no input (the drag image) never count.
TWinControl* ControlAtScreen(POINT Screen)
{
    const QPoint global(Screen.x, Screen.y);
    QWidgetList windows = QApplication::topLevelWidgets();
    if (QWidget* active = QApplication::activeWindow())
        windows.prepend(active);
    for (QWidget* window : windows) {
        if (!window->isVisible() || HasNoInput(window) || !window->geometry().contains(global))
            continue;
        QWidget* under = window->childAt(window->mapFromGlobal(global));
        for (QWidget* w = under ? under : window; w; w = w->parentWidget())
            if (TWinControl* control = TWinControl::FindControl(WindowFromWidget(w)))
                return control;
    }
    return nullptr;
}

// A mouse event's screen point, noted as the cursor position for GetCursorPos.
POINT NotedMousePoint(QEvent* Event)
{
    const QPoint at = static_cast<QMouseEvent*>(Event)->globalPosition().toPoint();
    NoteCursorPos(at.x(), at.y());
    return POINT{at.x(), at.y()};
}

} // namespace

// ---------------------------------------------------------------------------
// The session of one drag

class TDragSession : public QObject {
public:
    static TDragSession* Current() { return Session().get(); }
    static void Begin(TWinControl* Source, bool Immediate, int Threshold);
    // Ends the drag and frees the session: a drop when Drop and the control under
    // the mouse accepted, a cancel otherwise.
    void Finish(bool Drop);
    // A control or its window goes: a session of its drag ends without any event to it.
    void ControlGone(TWinControl* Control);
    void ImagesGone(TDragImageList* Images)
    {
        if (FImages == Images)
            FImages = nullptr;
    }
    TWinControl* Source() const { return FSource; }
    TDragObject* Object() const { return FStarted ? FObject : nullptr; }

    TDragSession(TWinControl* Source, int Threshold);
    ~TDragSession() override;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    static std::unique_ptr<TDragSession>& Session()
    {
        static std::unique_ptr<TDragSession> session;
        return session;
    }
    static void End() { Session().reset(); }
    bool Alive() const { return Current() == this && !FEnding; }
    void Start(POINT At);
    void MoveTo(POINT At);
    void ChangeTarget(TWinControl* Target, POINT At);
    bool Send(TWinControl* Target, TDragMessage Message, POINT At);
    void PlaceImage(POINT At);
    void SetCursor(TCursor Cursor);
    POINT TargetClientPoint(TWinControl* Target, POINT At) const;

    TWinControl* FSource;
    int FThreshold;
    POINT FStartPos{};
    POINT FPos{};
    bool FStarted = false;
    bool FEnding = false;
    TDragObject* FObject = nullptr;
    std::unique_ptr<TDragObject> FOwnObject;
    TDragImageList* FImages = nullptr;
    TWinControl* FTarget = nullptr;
    bool FAccepted = false;
    bool FCursorSet = false;
};

TDragSession::TDragSession(TWinControl* Source, int Threshold) : FSource(Source), FThreshold(Threshold)
{
    GetCursorPos(&FStartPos);
    FPos = FStartPos;
    qApp->installEventFilter(this);
    if (FSource->HandleAllocated())
        SetCapture(FSource->Handle());
}

TDragSession::~TDragSession()
{
    qApp->removeEventFilter(this);
    if (FImages)
        FImages->EndDrag();
    if (FCursorSet)
        QApplication::restoreOverrideCursor();
    if (FSource) {
        FSource->FDragging = false;
        // The press that began the drag gets no release of its own.
        FSource->FControlState = FSource->FControlState - TControlState{csLButtonDown, csClicked};
        if (FSource->HandleAllocated() && GetCapture() == FSource->Handle())
            ReleaseCapture();
    }
}

void TDragSession::Begin(TWinControl* Source, bool Immediate, int Threshold)
{
    Session() = std::make_unique<TDragSession>(Source, Threshold);
    if (!Immediate)
        return;
    TDragSession* session = Current();
    session->Start(session->FPos);
    if (session->Alive())
        session->MoveTo(session->FPos);
}

void TDragSession::Start(POINT At)
{
    FStarted = true;
    TDragObject* object = nullptr;
    try {
        FSource->DoStartDrag(object);
    } catch (...) {
        if (Current() == this)
            End();
        throw;
    }
    if (!Alive())
        return;
    if (!object) {
        FOwnObject = std::make_unique<TOwnDragObject>(FSource);
        object = FOwnObject.get();
    }
    FObject = object;
    FObject->FDragPos = At;
    FSource->FDragging = true;
    FImages = FObject->GetDragImages();
    if (FImages && !FImages->BeginDrag(nullptr, At.x, At.y))
        FImages = nullptr;
}

void TDragSession::MoveTo(POINT At)
{
    FPos = At;
    if (!FStarted) {
        if (std::abs(At.x - FStartPos.x) < FThreshold && std::abs(At.y - FStartPos.y) < FThreshold)
            return;
        Start(At);
        if (!Alive())
            return;
    }
    FObject->FDragPos = At;
    TWinControl* target = ControlAtScreen(At);
    if (target != FTarget) {
        ChangeTarget(target, At);
        if (!Alive())
            return;
    }
    const bool accepted = FTarget && Send(FTarget, dmDragMove, At);
    if (!Alive())
        return;
    FAccepted = accepted;
    PlaceImage(At);
    SetCursor(FObject->GetDragCursor(FAccepted, At.x, At.y));
}

void TDragSession::ChangeTarget(TWinControl* Target, POINT At)
{
    if (TWinControl* previous = std::exchange(FTarget, nullptr)) {
        FAccepted = false;
        Send(previous, dmDragLeave, At);
        if (!Alive())
            return;
    }
    FTarget = Target;
    FObject->FDragTarget = Target;
    if (Target)
        Send(Target, dmDragEnter, At);
}

bool TDragSession::Send(TWinControl* Target, TDragMessage Message, POINT At)
{
    TDragRec rec;
    rec.Pos = At;
    rec.Source = FObject;
    rec.Target = Target;
    return Target->Perform(CM_DRAG, WPARAM(Message), LPARAM(&rec)) != 0;
}

void TDragSession::PlaceImage(POINT At)
{
    if (!FImages)
        return;
    FImages->DragMove(At.x, At.y);
    if (FTarget && FTarget->ControlStyle().Contains(csDisplayDragImage))
        FImages->ShowDragImage();
    else
        FImages->HideDragImage();
}

void TDragSession::SetCursor(TCursor Cursor)
{
    const QCursor cursor(CursorShape(Cursor));
    if (FCursorSet) {
        QApplication::changeOverrideCursor(cursor);
    } else {
        QApplication::setOverrideCursor(cursor);
        FCursorSet = true;
    }
}

POINT TDragSession::TargetClientPoint(TWinControl* Target, POINT At) const
{
    if (Target && Target->HandleAllocated())
        ScreenToClient(Target->Handle(), &At);
    return At;
}

void TDragSession::Finish(bool Drop)
{
    if (FEnding)
        return;
    if (!FStarted) {
        End();
        return;
    }
    FEnding = true;
    if (FImages)
        FImages->HideDragImage();
    TWinControl* const target = FTarget;
    const bool dropped = Drop && target && FAccepted;
    FObject->FDropped = dropped;
    FObject->FCancelling = !Drop;
    const POINT at = TargetClientPoint(dropped ? target : FSource, FPos);
    TFirstError error;
    if (target)
        error.Run([&] { Send(target, dmDragLeave, FPos); });
    if (dropped && FTarget == target)
        error.Run([&] { Send(target, dmDragDrop, FPos); });
    if (FSource)
        error.Run([&] { FSource->DoEndDrag(dropped ? target : nullptr, at.x, at.y); });
    End();
    error.RethrowIfAny();
}

void TDragSession::ControlGone(TWinControl* Control)
{
    if (FTarget == Control)
        FTarget = nullptr;
    if (FSource != Control)
        return;
    Control->FDragging = false;
    FSource = nullptr;
    if (FEnding)
        return; // Finish is running; it frees the session
    if (FTarget && FStarted) {
        FEnding = true;
        CallGuarded([&] { Send(FTarget, dmDragLeave, FPos); });
    }
    End();
}

bool TDragSession::eventFilter(QObject* Watched, QEvent* Event)
{
    if (!Watched->isWidgetType())
        return false;
    switch (Event->type()) {
    case QEvent::MouseMove: {
        const POINT at = NotedMousePoint(Event);
        CallGuarded([&] { MoveTo(at); });
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const POINT at = NotedMousePoint(Event);
        CallGuarded([&] {
            if (at.x != FPos.x || at.y != FPos.y)
                MoveTo(at);
            if (Current() == this)
                Finish(true);
        });
        return true;
    }
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Escape)
            CallGuarded([&] { Finish(false); });
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
// Drag objects

TCursor TDragObject::GetDragCursor(bool Accepted, int, int) { return Accepted ? crDrag : crNoDrop; }

void TDragObject::HideDragImage()
{
    if (TDragImageList* images = GetDragImages())
        images->HideDragImage();
}

void TDragObject::ShowDragImage()
{
    if (TDragImageList* images = GetDragImages())
        images->ShowDragImage();
}

TDragImageList* TDragControlObject::GetDragImages() { return FControl->GetDragImages(); }

TCursor TDragControlObject::GetDragCursor(bool Accepted, int, int)
{
    return Accepted ? FControl->DragCursor() : crNoDrop;
}

// ---------------------------------------------------------------------------
// The control's side

void TWinControl::BeginDrag(bool Immediate, int Threshold)
{
    if (FDragKind != dkDrag || TDragSession::Current())
        return;
    TDragSession::Begin(this, Immediate, Threshold < 0 ? DefaultDragThreshold() : Threshold);
}

void TWinControl::EndDrag(bool Drop)
{
    if (TDragSession* session = TDragSession::Current(); session && session->Source() == this)
        session->Finish(Drop);
}

void TWinControl::DoStartDrag(TDragObject*& DragObject)
{
    if (OnStartDrag)
        OnStartDrag(this, DragObject);
}

void TWinControl::DoEndDrag(TObject* Target, int X, int Y)
{
    if (OnEndDrag)
        OnEndDrag(this, Target, X, Y);
}

void TWinControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    Accept = bool(OnDragOver);
    if (OnDragOver)
        OnDragOver(this, Source, X, Y, State, Accept);
}

void TWinControl::DragDrop(TObject* Source, int X, int Y)
{
    if (OnDragDrop)
        OnDragDrop(this, Source, X, Y);
}

void TWinControl::CMDrag(TMessage& Message)
{
    Message.Result = 0;
    const auto* rec = reinterpret_cast<const TDragRec*>(Message.LParam);
    if (!rec || !rec->Source)
        return;
    POINT at = rec->Pos;
    if (HandleAllocated())
        ScreenToClient(Handle(), &at);
    TObject* const source = rec->Source->EventSource();
    switch (TDragMessage(Message.WParam)) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
        static constexpr TDragState States[] = {dsDragEnter, dsDragLeave, dsDragMove};
        bool accept = false;
        DragOver(source, at.x, at.y, States[Message.WParam], accept);
        Message.Result = accept ? 1 : 0;
        break;
    }
    case dmDragDrop: DragDrop(source, at.x, at.y); break;
    case dmFindTarget: Message.Result = LRESULT(this); break;
    default: break;
    }
}

void DragControlGone(TWinControl* Control)
{
    if (TDragSession* session = TDragSession::Current())
        session->ControlGone(Control);
}

void DragImagesGone(TDragImageList* Images)
{
    if (TDragSession* session = TDragSession::Current())
        session->ImagesGone(Images);
}

void CancelDrag()
{
    if (TDragSession* session = TDragSession::Current())
        session->Finish(false);
}

TDragObject* DragObjectInProgress()
{
    TDragSession* session = TDragSession::Current();
    return session ? session->Object() : nullptr;
}

// The native tree has waited for Qt's start-drag distance before it reports a drag; the
// framework's own wait on top of it is kept short.
int DefaultDragThreshold() { return 5; }
