#pragma once
// The published properties that every windowed control shares, for the classes that
// publish them.
#include "platform/framework/Controls.h"
#include "platform/framework/Streaming.h"

// The events of every windowed control, by the handler names a form stream gives.
template <class C>
void PublishWinControlEvents(TClassPublisher<C>& Publisher)
{
    Publisher.Event("OnClick", &C::OnClick)
        .Event("OnDblClick", &C::OnDblClick)
        .Event("OnEnter", &C::OnEnter)
        .Event("OnExit", &C::OnExit)
        .Event("OnKeyDown", &C::OnKeyDown)
        .Event("OnKeyPress", &C::OnKeyPress)
        .Event("OnKeyUp", &C::OnKeyUp)
        .Event("OnMouseDown", &C::OnMouseDown)
        .Event("OnMouseMove", &C::OnMouseMove)
        .Event("OnMouseUp", &C::OnMouseUp)
        .Event("OnStartDrag", &C::OnStartDrag)
        .Event("OnDragOver", &C::OnDragOver)
        .Event("OnDragDrop", &C::OnDragDrop)
        .Event("OnEndDrag", &C::OnEndDrag);
}

// Align and anchors, bounds and their constraints, the inner border, visibility, colour,
// font, 3-D look, reading order, tab order, hints and drag mode, with the windowed
// control's defaults. Bounds have no default: they are always written. A property that
// the control can take from its parent (Color, Font, Ctl3D, ShowHint, BiDiMode) is
// written only when the control does not take it; its Parent... switch says which.
// Constraints are a sub-object (see PublishFrameworkClasses): "Constraints.MinWidth" etc.
template <class C>
void PublishWinControlProperties(TClassPublisher<C>& Publisher)
{
    constexpr std::uint64_t AllAnchorBits = TAnchors{akLeft, akTop, akRight, akBottom}.Bits();
    Publisher.Enumeration("Align", &C::Align, &C::SetAlign, alNone, alClient + 1)
        .Set("Anchors", &C::Anchors, &C::SetAnchors, DefaultAnchors.Bits(), AllAnchorBits)
        .Enumeration("BiDiMode", &C::BiDiMode, &C::SetBiDiMode, bdLeftToRight, bdRightToLeftReadingOnly + 1)
        .StoredWhen([](C* c) { return !c->ParentBiDiMode(); })
        .Integer("BorderWidth", &C::BorderWidth, &C::SetBorderWidth, 0)
        .Integer("Left", &C::Left, &C::SetLeft, std::nullopt)
        .Integer("Top", &C::Top, &C::SetTop, std::nullopt)
        .Integer("Width", &C::Width, &C::SetWidth, std::nullopt)
        .Integer("Height", &C::Height, &C::SetHeight, std::nullopt)
        .Object("Constraints", &C::Constraints)
        .Color("Color", &C::Color, &C::SetColor, std::nullopt)
        .StoredWhen([](C* c) { return !c->ParentColor(); })
        .Boolean("Ctl3D", &C::Ctl3D, &C::SetCtl3D, true)
        .StoredWhen([](C* c) { return !c->ParentCtl3D(); })
        .Enumeration("DragMode", &C::DragMode, &C::SetDragMode, dmManual, dmAutomatic + 1)
        .Boolean("Enabled", &C::Enabled, &C::SetEnabled, true)
        .Font("Font", &C::Font)
        .StoredWhen([](C* c) { return !c->ParentFont(); })
        .Boolean("ParentBiDiMode", &C::ParentBiDiMode, &C::SetParentBiDiMode, true)
        .Boolean("ParentColor", &C::ParentColor, &C::SetParentColor, true)
        .Boolean("ParentCtl3D", &C::ParentCtl3D, &C::SetParentCtl3D, true)
        .Boolean("ParentFont", &C::ParentFont, &C::SetParentFont, true)
        .Boolean("ParentShowHint", &C::ParentShowHint, &C::SetParentShowHint, true)
        .String("Hint", &C::Hint, &C::SetHint)
        .Boolean("ShowHint", &C::ShowHint, &C::SetShowHint, false)
        .StoredWhen([](C* c) { return !c->ParentShowHint(); })
        .Integer("TabOrder", &C::TabOrder, &C::SetTabOrder, -1)
        .Boolean("TabStop", &C::TabStop, &C::SetTabStop, false)
        .Boolean("Visible", &C::Visible, &C::SetVisible, true);
    PublishWinControlEvents(Publisher);
}

// Publishes the standard controls (buttons, edits, boxes, labels, scroll boxes, status
// bars) with the framework's own classes.
void PublishStandardControls();
// Publishes forms and the common dialogs.
void PublishForms();
