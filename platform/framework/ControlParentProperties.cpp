// The properties a windowed control takes from its parent: Color, Ctl3D, ShowHint and
// BiDiMode, each with its Parent... switch. (The font follows the same rule but is an
// object of its own; Controls.cpp assigns it.) A change of a control's value is announced
// to the control by its CM_..CHANGED message, whose handler passes it on to the children.
#include "platform/framework/Controls.h"

#include <QWidget>

const TWinControl::TParentTaken<TColor> TWinControl::ColorFromParent{&TWinControl::FParentColor,
                                                                     &TWinControl::FColor, CM_COLORCHANGED};
const TWinControl::TParentTaken<bool> TWinControl::Ctl3DFromParent{&TWinControl::FParentCtl3D, &TWinControl::FCtl3D,
                                                                   CM_CTL3DCHANGED};
const TWinControl::TParentTaken<bool> TWinControl::ShowHintFromParent{&TWinControl::FParentShowHint,
                                                                      &TWinControl::FShowHint, CM_SHOWHINTCHANGED};
const TWinControl::TParentTaken<TBiDiMode> TWinControl::BiDiModeFromParent{
    &TWinControl::FParentBiDiMode, &TWinControl::FBiDiMode, CM_BIDIMODECHANGED};

template <class T>
void TWinControl::TakeFromParent(const TParentTaken<T>& Property)
{
    if (!(this->*Property.Follows) || !FParent)
        return;
    if (Replace(this->*Property.Value, FParent->*Property.Value))
        Perform(Property.Changed);
    this->*Property.Follows = true; // a handler of the change may have set the value itself
}

template <class T>
void TWinControl::SetOwnValue(const TParentTaken<T>& Property, T Value)
{
    if (!Replace(this->*Property.Value, Value))
        return;
    this->*Property.Follows = false;
    Perform(Property.Changed);
}

template <class T>
void TWinControl::SetTakesFromParent(const TParentTaken<T>& Property, bool Value)
{
    if (Replace(this->*Property.Follows, Value) && Value)
        TakeFromParent(Property);
}

void TWinControl::TakeParentProperties()
{
    TakeFromParent(ColorFromParent);
    TakeFromParent(Ctl3DFromParent);
    TakeFromParent(ShowHintFromParent);
    TakeFromParent(BiDiModeFromParent);
}

void TWinControl::ChildrenTakeFromParent(UINT Message)
{
    for (TWinControl* child : std::vector<TWinControl*>(FControls)) {
        switch (Message) {
        case CM_COLORCHANGED: child->TakeFromParent(ColorFromParent); break;
        case CM_CTL3DCHANGED: child->TakeFromParent(Ctl3DFromParent); break;
        case CM_SHOWHINTCHANGED: child->TakeFromParent(ShowHintFromParent); break;
        case CM_BIDIMODECHANGED: child->TakeFromParent(BiDiModeFromParent); break;
        default: return;
        }
    }
}

void TWinControl::SetColor(TColor Value) { SetOwnValue(ColorFromParent, Value); }

void TWinControl::SetParentColor(bool Value) { SetTakesFromParent(ColorFromParent, Value); }

void TWinControl::SetCtl3D(bool Value) { SetOwnValue(Ctl3DFromParent, Value); }

void TWinControl::SetParentCtl3D(bool Value) { SetTakesFromParent(Ctl3DFromParent, Value); }

void TWinControl::SetShowHint(bool Value) { SetOwnValue(ShowHintFromParent, Value); }

void TWinControl::SetParentShowHint(bool Value) { SetTakesFromParent(ShowHintFromParent, Value); }

void TWinControl::SetBiDiMode(TBiDiMode Value) { SetOwnValue(BiDiModeFromParent, Value); }

void TWinControl::SetParentBiDiMode(bool Value) { SetTakesFromParent(BiDiModeFromParent, Value); }

void TWinControl::ApplyBiDiModeToWidget()
{
    if (!HandleAllocated())
        return;
    if (QWidget* w = WindowWidget(FHandle))
        w->setLayoutDirection(UseRightToLeftAlignment() ? Qt::RightToLeft : Qt::LeftToRight);
}
