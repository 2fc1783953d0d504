// TlxTreeViewNode and TlxTreeViewNodes: check types, check states and the enabled flag.
// A node's CheckType describes its children, not the node: the glyph a node shows and
// the way it reacts to a click follow its parent's CheckType (its governing type).
//
// Application handlers (OnChecking, OnChecked) may raise. A handler that raises counts
// as having answered (OnChecking: refused); the operation still runs to its end, so
// that siblings, children and three-state ancestors agree with each other, and then
// the first exception reaches the caller.
#include <algorithm>
#include <exception>

#include "model/CheckGlyphs.h"
#include "model/ControlBridge.h"
#include "model/lxTreeView.h"
#include "platform/win/FirstError.h"

using namespace lxCheckGlyph;

namespace {

// The glyph of a disabled node that was enabled with Glyph.
int DisabledGlyph(int Glyph)
{
    const int Gray = GrayGlyph(Glyph);
    return Gray != Blank ? Gray : Glyph;
}

// The glyph of an enabled node that was disabled with Glyph.
int EnabledGlyph(int Glyph, TCheckType Governing)
{
    switch (Glyph) {
    case BoxUncheckedGray: return BoxUnchecked;
    // Under a three-state parent the gray checked box also means "partly checked",
    // which an enabled node shows the same way.
    case BoxCheckedGray: return Governing == lxtCheckBox ? BoxChecked : Glyph;
    case RadioOffGray: return RadioOff;
    case RadioOnGray: return RadioOn;
    case LockedButton: return IsButtonType(Governing) ? ButtonGlyph(Governing) : Glyph;
    default: return Glyph;
    }
}

// The state of a three-state box from its children: unchecked when none is checked,
// checked when all are, partly checked otherwise. Only the presence of both kinds
// matters, so the scan stops when both were seen; it goes outward from the child that
// changed, whose neighbours are the likeliest to differ while a box's children are
// set one after the other.
TCheckState ThreeStateOf(const TlxTreeNodeList& Children, int ChangedAt)
{
    const int Count = Children.Count();
    if (Count == 0)
        return lxsUnchecked;
    bool AnyChecked = false;
    bool AnyUnchecked = false;
    auto See = [&](int I) { (IsChecked(Children.List()[I]->CheckState()) ? AnyChecked : AnyUnchecked) = true; };
    const int From = std::clamp(ChangedAt, 0, Count - 1);
    for (int Distance = 0; !(AnyChecked && AnyUnchecked); ++Distance) {
        const bool Above = From + Distance < Count;
        const bool Below = Distance > 0 && From - Distance >= 0;
        if (!Above && !Below)
            break;
        if (Above)
            See(From + Distance);
        if (Below)
            See(From - Distance);
    }
    if (AnyChecked && AnyUnchecked)
        return lxsCheckedGrayed;
    return AnyChecked ? lxsChecked : lxsUnchecked;
}

} // namespace

TCheckType TlxTreeViewNode::GoverningCheckType() const
{
    return Up() ? TCheckType(Up()->FCheckType) : lxtNone;
}

void TlxTreeViewNode::SetCheckGlyph(int Index)
{
    lxControl::SetCheckImage(GetlxTreeView(), this, Index);
}

// ---- Check type ----

// The children take the new type at once, without events; grandchildren are not
// concerned. The type itself is stored last.
void TlxTreeViewNode::SetCheckType(TCheckType Value)
{
    if (Value == FCheckType)
        return;
    for (int I = 0; I < FChildren.Count(); ++I)
        FChildren.List()[I]->TakeParentCheckType(Value);
    if (Value == lxtCheckBoxGrayed)
        FCheckState = lxsUnchecked;
    if (Value == lxtRadioButton) {
        for (int I = 0; I < FChildren.Count(); ++I) {
            TlxTreeViewNode* Child = FChildren.List()[I];
            if (Child->FEnabled) {
                Child->FCheckState = lxsChecked;
                Child->SetCheckGlyph(RadioOn);
                break;
            }
        }
    }
    FCheckType = Value;
}

// This node's state and glyph when its parent's type becomes Value.
void TlxTreeViewNode::TakeParentCheckType(TCheckType Value)
{
    switch (Value) {
    case lxtNone:
        FCheckState = lxsUnchecked;
        SetCheckGlyph(Blank);
        break;
    case lxtCheckBox:
        if (FCheckState == lxsChecked)
            SetCheckGlyph(FEnabled ? BoxChecked : BoxCheckedGray);
        else
            SetCheckGlyph(FEnabled ? BoxUnchecked : BoxUncheckedGray);
        break;
    case lxtCheckBoxGrayed:
        SetCheckGlyph(FEnabled ? BoxUnchecked : BoxUncheckedGray);
        break;
    case lxtRadioButton:
        FCheckState = lxsUnchecked;
        SetCheckGlyph(FEnabled ? RadioOff : RadioOffGray);
        break;
    default:
        FCheckState = ButtonState(Value);
        SetCheckGlyph(FEnabled ? ButtonGlyph(Value) : LockedButton);
        break;
    }
}

void TlxTreeViewNodes::SetCheckType(TCheckType Value)
{
    FCheckType = Value;
    FRoot->SetCheckType(Value);
}

// ---- Check state ----

void TlxTreeViewNode::SetCheckState(TCheckState Value)
{
    if (!FEnabled)
        return;
    TCustomlxTreeView* Control = GetlxTreeView();
    if (!lxControl::CanCheck(Control, this))
        return;
    TFirstError Failure;
    Failure.Keep(ApplyCheckState(Value));
    Failure.Run([&] { lxControl::Check(Control, this); });
    Failure.RethrowIfAny();
}

// The state change itself, by the governing type, with its spreading to children,
// siblings and ancestors. Returns the first exception raised by a child's handlers.
std::exception_ptr TlxTreeViewNode::ApplyCheckState(TCheckState Value)
{
    const TCheckType Governing = GoverningCheckType();
    std::exception_ptr Failure;
    switch (Governing) {
    case lxtNone:
        break;
    case lxtCheckBox:
        FCheckState = IsChecked(Value) ? lxsChecked : lxsUnchecked;
        SetCheckGlyph(IsChecked(Value) ? BoxChecked : BoxUnchecked);
        UpdateParentState();
        break;
    case lxtCheckBoxGrayed:
        FCheckState = Value;
        if (Value == lxsUnchecked)
            SetCheckGlyph(BoxUnchecked);
        else if (Value == lxsChecked)
            SetCheckGlyph(BoxChecked);
        else if (Value == lxsCheckedGrayed)
            SetCheckGlyph(BoxCheckedGray);
        // Only the definite states reach the children, and only children that are
        // boxes themselves.
        if ((FCheckType == lxtCheckBox || FCheckType == lxtCheckBoxGrayed) &&
            (Value == lxsUnchecked || Value == lxsChecked))
            Failure = PushCheckStateToChildren(Value);
        UpdateParentState();
        break;
    case lxtRadioButton:
        // A set radio button is cleared only by setting another one.
        if (IsChecked(Value))
            CheckRadioButton();
        break;
    default:
        if (Value == ButtonState(Governing)) {
            FCheckState = Value;
            SetCheckGlyph(ButtonGlyph(Governing));
            Failure = PushCheckStateToChildren(Value);
        }
        break;
    }
    return Failure;
}

// Each child gets a full SetCheckState of its own, events and refusals included.
std::exception_ptr TlxTreeViewNode::PushCheckStateToChildren(TCheckState Value)
{
    TFirstError Failure;
    // By position, checked against the count each time: handlers may add or delete
    // nodes meanwhile.
    for (int I = 0; I < FChildren.Count(); ++I)
        Failure.Run([&] { FChildren.List()[I]->SetCheckState(Value); });
    return Failure.Take();
}

// Sets this radio button and clears its siblings directly: no events, and disabled
// siblings are cleared too.
void TlxTreeViewNode::CheckRadioButton()
{
    FCheckState = lxsChecked;
    SetCheckGlyph(RadioOn);
    TlxTreeNodeList& Siblings = Up()->FChildren;
    for (int I = 0; I < Siblings.Count(); ++I) {
        TlxTreeViewNode* Sibling = Siblings.List()[I];
        if (Sibling == this)
            continue;
        Sibling->FCheckState = lxsUnchecked;
        Sibling->SetCheckGlyph(Sibling->FEnabled ? RadioOff : RadioOffGray);
    }
}

// Recomputes every three-state box above this node from its children, climbing while
// the box is itself under a three-state parent. No events, and Enabled is ignored.
void TlxTreeViewNode::UpdateParentState()
{
    const TlxTreeViewNode* Changed = this;
    for (TlxTreeViewNode* Box = Up(); Box && Box->Up() && Box->Up()->FCheckType == lxtCheckBoxGrayed;
         Changed = Box, Box = Box->Up()) {
        // The remembered position only says where to start looking.
        Box->FCheckState = ThreeStateOf(Box->FChildren, Changed->FIndexHint);
        switch (Box->FCheckState) {
        case lxsUnchecked: Box->SetCheckGlyph(BoxUnchecked); break;
        case lxsChecked: Box->SetCheckGlyph(BoxChecked); break;
        default: Box->SetCheckGlyph(BoxCheckedGray); break;
        }
    }
}

// ---- User click ----

// A three-state box cycles unchecked, partly checked, checked, unchecked.
void TlxTreeViewNode::DoCheckClick()
{
    if (!FEnabled)
        return;
    const TCheckType Governing = GoverningCheckType();
    switch (Governing) {
    case lxtNone:
        return;
    case lxtCheckBox:
        SetCheckState(FCheckState == lxsUnchecked ? lxsChecked : lxsUnchecked);
        return;
    case lxtCheckBoxGrayed:
        if (FCheckState == lxsUnchecked)
            SetCheckState(lxsCheckedGrayed);
        else if (FCheckState == lxsCheckedGrayed)
            SetCheckState(lxsChecked);
        else if (FCheckState == lxsChecked)
            SetCheckState(lxsUnchecked);
        return;
    case lxtRadioButton:
        SetCheckState(lxsChecked);
        return;
    default:
        SetCheckState(ButtonState(Governing));
        return;
    }
}

// ---- Enabled ----

// Only the glyph follows: the state, the children and the events are untouched.
void TlxTreeViewNode::SetEnabled(bool Value)
{
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    const TCheckType Governing = GoverningCheckType();
    if (Governing == lxtNone)
        return;
    const int Glyph = Value ? EnabledGlyph(FStateIndex, Governing) : DisabledGlyph(FStateIndex);
    if (Glyph != FStateIndex)
        SetCheckGlyph(Glyph);
}
