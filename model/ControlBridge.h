#pragma once
// What the node model asks of the control that owns it. The model knows the control
// only as a forward-declared class; these calls are answered in control/.
#include "model/lxTreeView.h"

namespace lxControl {

// The control's window, created on first use (raises when the control has no parent window).
HWND Handle(TCustomlxTreeView* Control);
bool HandleAllocated(const TCustomlxTreeView* Control);
// A new node of the class OnCreateNode chooses, made for the control's collection.
TlxTreeViewNode* CreateNode(TCustomlxTreeView* Control);
// OnChange for Node, now or after ChangeDelay.
void DoChange(TCustomlxTreeView* Control, TlxTreeViewNode* Node);
void StopChangeTimer(TCustomlxTreeView* Control);
bool CanChange(TCustomlxTreeView* Control, TlxTreeViewNode* Node);
bool CanExpand(TCustomlxTreeView* Control, TlxTreeViewNode* Node);
void Expand(TCustomlxTreeView* Control, TlxTreeViewNode* Node);
bool CanCollapse(TCustomlxTreeView* Control, TlxTreeViewNode* Node);
void Collapse(TCustomlxTreeView* Control, TlxTreeViewNode* Node);
// While set, the control ignores the native expansion notifications: the model fires
// the expansion events itself.
void SetModelExpanding(TCustomlxTreeView* Control, bool Value);
// While set, the native tree reports deleted items straight to the control, not
// through the parent window; returns whether it was set before.
bool SetDirectDeletionReports(TCustomlxTreeView* Control, bool Value);
void SetCheckImage(TCustomlxTreeView* Control, TlxTreeViewNode* Node, int ImageIndex);
// OnChecking (true when no handler refuses) and OnChecked, through the control's hooks.
bool CanCheck(TCustomlxTreeView* Control, TlxTreeViewNode* Node);
void Check(TCustomlxTreeView* Control, TlxTreeViewNode* Node);
TTreeOptions Options(const TCustomlxTreeView* Control);
TSortType SortType(const TCustomlxTreeView* Control);
bool HasCompareHandler(const TCustomlxTreeView* Control);
// OnCompare when assigned; Compare keeps its value otherwise.
void Compare(TCustomlxTreeView* Control, TlxTreeViewNode* Node1, TlxTreeViewNode* Node2, int Data, int& Compare);
bool AlphaSort(TCustomlxTreeView* Control);
// OnChanging and OnChange, as a move sets them aside and puts them back.
struct TChangeHandlers {
    TTVChangingEvent OnChanging;
    TTVChangedEvent OnChange;
};
// Gives the control Handlers and returns the ones it had.
TChangeHandlers SwapChangeHandlers(TCustomlxTreeView* Control, TChangeHandlers Handlers);
// OnDeletion with the given sender; false when no handler is assigned.
bool HasDeletionHandler(const TCustomlxTreeView* Control);
void Deletion(TCustomlxTreeView* Control, TObject* Sender, TlxTreeViewNode* Node);
TColor Color(const TCustomlxTreeView* Control);
TFont* Font(TCustomlxTreeView* Control);
void Refresh(TCustomlxTreeView* Control);
// The control's fixed end of Shift ranges is dropped when it is selected (its nodes are
// about to be deleted).
void ForgetAnchorIfSelected(TCustomlxTreeView* Control);
// The control drops every reference it keeps to a node that is going away.
void ForgetNode(TCustomlxTreeView* Control, TlxTreeViewNode* Node);
// True while the control is being designed in the form designer.
bool Designing(const TCustomlxTreeView* Control);
// OnLevelError for a line of the text form read with a bad indentation; RaiseException
// comes back as the handler left it.
void LevelError(TCustomlxTreeView* Control, int Line, bool& RaiseException);

} // namespace lxControl

namespace lxControl {
// The two default comparisons of sorting, for a null sort procedure: the child lists
// use OnCompare or the SortType's rule (text folded as CompareText, data difference);
// the native items use OnCompare or a case-sensitive, locale-aware text comparison.
int DefaultModelCompare(LPARAM Node1, LPARAM Node2, LPARAM Data);
int DefaultNativeCompare(LPARAM Node1, LPARAM Node2, LPARAM Data);
// The same two with the control found once per sort: their sort parameter is a
// TSortCall, whose Data reaches OnCompare.
struct TSortCall {
    TCustomlxTreeView* Control;
    LPARAM Data;
};
int ModelCompareOf(LPARAM Node1, LPARAM Node2, LPARAM Call);
int NativeCompareOf(LPARAM Node1, LPARAM Node2, LPARAM Call);
} // namespace lxControl
