#pragma once
// The strip of check glyphs a node's StateIndex points into, and how the check types
// and states map onto it. Index 0 is blank: the native tree treats state image 0 as
// no state image at all.
#include "model/lxTreeView.h"

namespace lxCheckGlyph {

enum : int {
    Blank = 0,
    BoxUnchecked = 1,
    BoxChecked = 2,
    BoxUncheckedGray = 3,
    // Also the partly checked three-state box.
    BoxCheckedGray = 4,
    RadioOff = 5,
    RadioOn = 6,
    RadioOffGray = 7,
    RadioOnGray = 8,
    TextButton = 9,
    NumberButton = 10,
    DateButton = 11,
    TimeButton = 12,
    // Any value button that is disabled or pressed.
    LockedButton = 13
};

inline bool IsValueButton(int Glyph) { return Glyph >= TextButton && Glyph <= TimeButton; }

// The gray glyph that stands for Glyph when its node is disabled, and also while the
// glyph is pressed; Blank for a glyph without a gray form (blank and the gray glyphs).
inline int GrayGlyph(int Glyph)
{
    switch (Glyph) {
    case BoxUnchecked: return BoxUncheckedGray;
    case BoxChecked: return BoxCheckedGray;
    case RadioOff: return RadioOffGray;
    case RadioOn: return RadioOnGray;
    default: return IsValueButton(Glyph) ? LockedButton : Blank;
    }
}

inline bool IsButtonType(TCheckType Type) { return Type >= lxtTextButton && Type <= lxtTimeButton; }

// The state and glyph of a node under a value-button type (text, number, date, time).
inline TCheckState ButtonState(TCheckType Type)
{
    return TCheckState(lxsTextButton + (Type - lxtTextButton));
}
inline int ButtonGlyph(TCheckType Type) { return TextButton + (Type - lxtTextButton); }

// The glyph a node gets when it is placed under a parent of the given check type,
// whatever its own state.
inline int PlacedUnder(std::uint8_t ParentCheckType)
{
    switch (ParentCheckType) {
    case lxtCheckBox:
    case lxtCheckBoxGrayed: return BoxUnchecked;
    case lxtRadioButton: return RadioOff;
    case lxtTextButton:
    case lxtNumberButton:
    case lxtDateButton:
    case lxtTimeButton: return ButtonGlyph(TCheckType(ParentCheckType));
    default: return Blank;
    }
}

// lxsCheckedGrayed counts as checked; lxsGrayed does not.
inline bool IsChecked(TCheckState State) { return State == lxsChecked || State == lxsCheckedGrayed; }

} // namespace lxCheckGlyph
