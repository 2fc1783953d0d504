#pragma once
// Drag and drop between the controls of one application.
//
// A drag starts with TWinControl::BeginDrag, at once or once the mouse has moved a
// threshold away from where it was. From then on the drag owns the mouse: moves,
// releases and Escape go to the drag and not to the controls under the mouse. Each
// move finds the control under the mouse and sends it CM_DRAG (wParam: a
// TDragMessage, lParam: a TDragRec) — dmDragEnter when the mouse comes over it, then
// dmDragMove, and dmDragLeave when it goes; the answer (nonzero: accepted) chooses
// the cursor. A release over a control that accepted sends it dmDragLeave and then
// dmDragDrop; a release anywhere else, Escape, CancelDrag or EndDrag(false) sends
// the current control dmDragLeave only. Then the source's DoEndDrag runs (OnEndDrag)
// with the control dropped on, or none.
//
// The drag image of the drag object follows the mouse over controls whose
// ControlStyle has csDisplayDragImage and is hidden elsewhere.
#include <functional>
#include <memory>

#include "platform/framework/Controls.h"

class TDragImageList;

// What travels with a drag. A drag object that OnStartDrag hands out stays the
// application's; the one the framework makes when none is handed out is freed when
// the drag has ended.
class TDragObject : public TObject {
public:
    // The images shown under the mouse while dragging; null for none.
    virtual TDragImageList* GetDragImages() { return nullptr; }
    // The cursor while the control under the mouse accepts the drag, or refuses it.
    virtual TCursor GetDragCursor(bool Accepted, int X, int Y);
    void HideDragImage();
    void ShowDragImage();
    // The mouse position in screen coordinates, the control under it, and whether the
    // drag ended with a drop or was cancelled (Escape, CancelDrag).
    POINT DragPos() const { return FDragPos; }
    TWinControl* DragTarget() const { return FDragTarget; }
    bool Dropped() const { return FDropped; }
    bool Cancelling() const { return FCancelling; }
    // What drag events name as their Source: the drag object itself, or for the
    // framework's own object the control being dragged.
    virtual TObject* EventSource() { return this; }

private:
    friend class TDragSession;
    POINT FDragPos{};
    TWinControl* FDragTarget = nullptr;
    bool FDropped = false;
    bool FCancelling = false;
};

// The drag of a control: its drag images and its DragCursor.
class TDragControlObject : public TDragObject {
public:
    explicit TDragControlObject(TWinControl* AControl) : FControl(AControl) {}
    TWinControl* Control() const { return FControl; }
    TDragImageList* GetDragImages() override;
    TCursor GetDragCursor(bool Accepted, int X, int Y) override;

private:
    TWinControl* FControl;
};

// The payload of CM_DRAG.
struct TDragRec {
    POINT Pos{};                  // the mouse, in screen coordinates
    TDragObject* Source = nullptr;
    TWinControl* Target = nullptr;
    bool Docking = false;
};

// Ends the drag in progress as Escape does: no drop, OnEndDrag without a target.
void CancelDrag();
// The drag object of the drag in progress (once it has started), or null.
TDragObject* DragObjectInProgress();
// A control or its window goes: a drag of it ends at once, without OnEndDrag, and a
// drag over it forgets it.
void DragControlGone(TWinControl* Control);
// An image list goes: a drag showing its images goes on without them.
void DragImagesGone(TDragImageList* Images);
// How far (pixels) the mouse moves before a drag that waits for it starts.
int DefaultDragThreshold();
