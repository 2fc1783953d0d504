// The control's answers to what the node model asks of it.
#include "model/ControlBridge.h"

#include <cstring>

#include <algorithm>
#include <utility>

#include "control/lxTreeViewControl.h"
#include "model/NodeSortKeys.h"

namespace lxControl {

HWND Handle(TCustomlxTreeView* Control) { return Control->Handle(); }
bool HandleAllocated(const TCustomlxTreeView* Control) { return Control->HandleAllocated(); }
TlxTreeViewNode* CreateNode(TCustomlxTreeView* Control) { return Control->CreateNode(); }
void DoChange(TCustomlxTreeView* Control, TlxTreeViewNode* Node) { Control->DoChange(Node); }
void StopChangeTimer(TCustomlxTreeView* Control) { Control->FChangeDelayTimer->SetEnabled(false); }
bool CanChange(TCustomlxTreeView* Control, TlxTreeViewNode* Node) { return Control->CanChange(Node); }
bool CanExpand(TCustomlxTreeView* Control, TlxTreeViewNode* Node) { return Control->CanExpand(Node); }
void Expand(TCustomlxTreeView* Control, TlxTreeViewNode* Node) { Control->Expand(Node); }
bool CanCollapse(TCustomlxTreeView* Control, TlxTreeViewNode* Node) { return Control->CanCollapse(Node); }
void Collapse(TCustomlxTreeView* Control, TlxTreeViewNode* Node) { Control->Collapse(Node); }
void SetModelExpanding(TCustomlxTreeView* Control, bool Value) { Control->FModelExpanding = Value; }
bool SetDirectDeletionReports(TCustomlxTreeView* Control, bool Value)
{
    return Control->SetDirectDeletionReports(Value);
}
void SetCheckImage(TCustomlxTreeView* Control, TlxTreeViewNode* Node, int ImageIndex)
{
    Control->SetCheckImage(Node, ImageIndex);
}
bool CanCheck(TCustomlxTreeView* Control, TlxTreeViewNode* Node) { return Control->CanCheck(Node); }
void Check(TCustomlxTreeView* Control, TlxTreeViewNode* Node) { Control->Check(Node); }
TTreeOptions Options(const TCustomlxTreeView* Control) { return Control->Options(); }
TSortType SortType(const TCustomlxTreeView* Control) { return Control->SortType(); }
bool HasCompareHandler(const TCustomlxTreeView* Control) { return bool(Control->OnCompare); }
void Compare(TCustomlxTreeView* Control, TlxTreeViewNode* Node1, TlxTreeViewNode* Node2, int Data, int& Compare)
{
    if (Control->OnCompare)
        Control->OnCompare(Control, Node1, Node2, Data, Compare);
}
bool AlphaSort(TCustomlxTreeView* Control) { return Control->AlphaSort(); }
TChangeHandlers SwapChangeHandlers(TCustomlxTreeView* Control, TChangeHandlers Handlers)
{
    std::swap(Control->OnChanging, Handlers.OnChanging);
    std::swap(Control->OnChange, Handlers.OnChange);
    return Handlers;
}
bool HasDeletionHandler(const TCustomlxTreeView* Control) { return bool(Control->OnDeletion); }
void Deletion(TCustomlxTreeView* Control, TObject* Sender, TlxTreeViewNode* Node)
{
    if (Control->OnDeletion)
        Control->OnDeletion(Sender, Node);
}
TColor Color(const TCustomlxTreeView* Control) { return Control->Color(); }
TFont* Font(TCustomlxTreeView* Control) { return Control->Font(); }
void Refresh(TCustomlxTreeView* Control) { Control->Refresh(); }

void ForgetAnchorIfSelected(TCustomlxTreeView* Control)
{
    if (Control->FAnchorNode && Control->FAnchorNode->Selected())
        Control->FAnchorNode = nullptr;
}

void ForgetNode(TCustomlxTreeView* Control, TlxTreeViewNode* Node)
{
    if (Control->FLastDropTarget == Node)
        Control->FLastDropTarget = nullptr;
    if (Control->FDragNode == Node)
        Control->FDragNode = nullptr;
    if (Control->FAnchorNode == Node)
        Control->FAnchorNode = nullptr;
    if (Control->FCheckNode == Node)
        Control->FCheckNode = nullptr;
    if (Control->FRightClickNode == Node)
        Control->FRightClickNode = nullptr;
    if (Control->FBandMembers.erase(Node)) {
        auto& Band = Control->FBandNodes;
        Band.erase(std::find(Band.begin(), Band.end(), Node));
    }
}

bool Designing(const TCustomlxTreeView* Control) { return Control->ComponentState().Contains(csDesigning); }

void LevelError(TCustomlxTreeView* Control, int Line, bool& RaiseException)
{
    if (Control->OnLevelError)
        Control->OnLevelError(Line, RaiseException);
}

namespace {
TlxTreeViewNode* AsNode(LPARAM value) { return reinterpret_cast<TlxTreeViewNode*>(value); }
int DataDifference(const TlxTreeViewNode* a, const TlxTreeViewNode* b)
{
    return lxModel::DataDifference(lxModel::SortData(a), lxModel::SortData(b));
}
// OnCompare's answer, when the application assigned the event.
bool CompareByHandler(TCustomlxTreeView* control, TlxTreeViewNode* a, TlxTreeViewNode* b, LPARAM data, int& result)
{
    if (!control->OnCompare)
        return false;
    result = 0;
    control->OnCompare(control, a, b, int(data), result);
    return true;
}
} // namespace

int DefaultModelCompare(LPARAM Node1, LPARAM Node2, LPARAM Data)
{
    TlxTreeViewNode* a = AsNode(Node1);
    TlxTreeViewNode* b = AsNode(Node2);
    TCustomlxTreeView* control = a->TreeView();
    if (int result; CompareByHandler(control, a, b, Data, result))
        return result;
    switch (control->SortType()) {
    case stData: return DataDifference(a, b);
    case stBoth: {
        int byText = CompareText(a->TextView(), b->TextView());
        return byText != 0 ? byText : DataDifference(a, b);
    }
    default: return CompareText(a->TextView(), b->TextView());
    }
}

int DefaultNativeCompare(LPARAM Node1, LPARAM Node2, LPARAM Data)
{
    TlxTreeViewNode* a = AsNode(Node1);
    TlxTreeViewNode* b = AsNode(Node2);
    if (int result; CompareByHandler(a->TreeView(), a, b, Data, result))
        return result;
    // The C library's collation follows the application's locale, as Qt sets it up.
    int result = std::strcoll(a->Text().c_str(), b->Text().c_str());
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

namespace {
// OnCompare's answer, or (when a handler has meanwhile unassigned itself) Default's.
template <int (*Default)(LPARAM, LPARAM, LPARAM)>
int CompareOfCall(LPARAM Node1, LPARAM Node2, LPARAM Call)
{
    const TSortCall& call = *reinterpret_cast<const TSortCall*>(Call);
    if (int result; CompareByHandler(call.Control, AsNode(Node1), AsNode(Node2), call.Data, result))
        return result;
    return Default(Node1, Node2, call.Data);
}
} // namespace

int ModelCompareOf(LPARAM Node1, LPARAM Node2, LPARAM Call)
{
    return CompareOfCall<DefaultModelCompare>(Node1, Node2, Call);
}

int NativeCompareOf(LPARAM Node1, LPARAM Node2, LPARAM Call)
{
    return CompareOfCall<DefaultNativeCompare>(Node1, Node2, Call);
}

} // namespace lxControl
