#pragma once
// The published properties that every windowed control shares, for the classes that
// publish them.
#include "platform/framework/Controls.h"
#include "platform/framework/Streaming.h"

// Align, bounds, visibility, colour, font, 3-D look, tab order, hints and drag mode,
// with the windowed control's defaults. Bounds have no default: they are always written.
// Color is written only when the control does not take its parent's colour, Font only
// when it does not take its parent's font.
template <class C>
void PublishWinControlProperties(TClassPublisher<C>& Publisher)
{
    Publisher.Enumeration("Align", &C::Align, &C::SetAlign, alNone, alClient + 1)
        .Integer("Left", &C::Left, &C::SetLeft, std::nullopt)
        .Integer("Top", &C::Top, &C::SetTop, std::nullopt)
        .Integer("Width", &C::Width, &C::SetWidth, std::nullopt)
        .Integer("Height", &C::Height, &C::SetHeight, std::nullopt)
        .Color("Color", &C::Color, &C::SetColor, std::nullopt)
        .StoredWhen([](C* c) { return !c->ParentColor(); })
        .Boolean("Ctl3D", &C::Ctl3D, &C::SetCtl3D, true)
        .Enumeration("DragMode", &C::DragMode, &C::SetDragMode, dmManual, dmAutomatic + 1)
        .Boolean("Enabled", &C::Enabled, &C::SetEnabled, true)
        .Font("Font", &C::Font)
        .StoredWhen([](C* c) { return !c->ParentFont(); })
        .Boolean("ParentColor", &C::ParentColor, &C::SetParentColor, true)
        .Boolean("ParentFont", &C::ParentFont, &C::SetParentFont, true)
        .Boolean("ShowHint", &C::ShowHint, &C::SetShowHint, false)
        .Integer("TabOrder", &C::TabOrder, &C::SetTabOrder, -1)
        .Boolean("TabStop", &C::TabStop, &C::SetTabStop, false)
        .Boolean("Visible", &C::Visible, &C::SetVisible, true);
}
