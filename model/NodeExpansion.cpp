// TlxTreeViewNode expansion: the model asks and tells the application itself and then
// expands or collapses the native item.
#include "model/ControlBridge.h"
#include "model/lxTreeView.h"

namespace {

// Keeps the control from reporting the native expansion that the model causes, for
// as long as the model works on one node (also when an event handler raises).
class TModelExpansionScope {
public:
    explicit TModelExpansionScope(TCustomlxTreeView* Control)
        : FControl(Control)
    {
        lxControl::SetModelExpanding(FControl, true);
    }
    ~TModelExpansionScope() { lxControl::SetModelExpanding(FControl, false); }
    TModelExpansionScope(const TModelExpansionScope&) = delete;
    TModelExpansionScope& operator=(const TModelExpansionScope&) = delete;

private:
    TCustomlxTreeView* FControl;
};

} // namespace

bool TlxTreeViewNode::DoCanExpand(bool Expand)
{
    if (!GetChildren())
        return false;
    if (Expand)
        return lxControl::CanExpand(GetlxTreeView(), this);
    return lxControl::CanCollapse(GetlxTreeView(), this);
}

void TlxTreeViewNode::DoExpand(bool Expand)
{
    if (!GetChildren())
        return;
    if (Expand)
        lxControl::Expand(GetlxTreeView(), this);
    else
        lxControl::Collapse(GetlxTreeView(), this);
}

// The expanded or collapsed event fires before the native item changes. With Recurse,
// the children are visited after their parent, also when the parent was refused.
void TlxTreeViewNode::ExpandItem(bool Expand, bool Recurse)
{
    {
        TModelExpansionScope Scope(GetlxTreeView());
        UINT Code = 0;
        if (DoCanExpand(Expand)) {
            Code = Expand ? TVE_EXPAND : TVE_COLLAPSE;
            DoExpand(Expand);
            FExpanded = Expand;
        }
        // The window ignores code 0; the message goes out all the same.
        SendItemMessage(TVM_EXPAND, Code, LPARAM(FItemId));
    }
    if (Recurse)
        for (int I = 0; I < FChildren.Count(); ++I)
            FChildren.List()[I]->ExpandItem(Expand, true);
}

void TlxTreeViewNode::Expand(bool Recurse)
{
    ExpandItem(true, Recurse);
}

void TlxTreeViewNode::Collapse(bool Recurse)
{
    ExpandItem(false, Recurse);
}

void TlxTreeViewNode::SetExpanded(bool Value)
{
    if (Value)
        Expand(false);
    else
        Collapse(false);
}
