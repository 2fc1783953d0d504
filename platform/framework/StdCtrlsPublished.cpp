// The published properties and events of the standard controls, as form streams and text
// forms name them.
//
// Two list-valued properties are stored as the lines of one string: a combo box's
// "Items.Strings" (its items, as a string list's Text) and a status bar's "Panels.Widths"
// (one panel a line, of that width).
#include <sstream>

#include "platform/framework/Buttons.h"
#include "platform/framework/ComCtrls.h"
#include "platform/framework/PublishedControls.h"
#include "platform/framework/ScrollBox.h"
#include "platform/framework/StdCtrls.h"
#include "platform/framework/SysUtils.h"
#include "platform/framework/TextForm.h"

namespace {

// A control class with the shared properties, its caption and its hint.
template <class C>
TClassPublisher<C> PublishControl(const std::string& Name)
{
    TClassPublisher<C> p(Name, "", ComponentFactory<C>());
    PublishWinControlProperties(p);
    p.String("Caption", &C::Caption, &C::SetCaption);
    return p;
}

std::string PanelWidths(TStatusBar* Bar)
{
    std::string lines;
    for (int i = 0; i < Bar->Panels()->Count(); ++i)
        lines += (i ? "\n" : "") + std::to_string(Bar->Panels()->Items(i)->Width());
    return lines;
}

void SetPanelWidths(TStatusBar* Bar, const std::string& Lines)
{
    Bar->Panels()->Clear();
    std::istringstream widths(Lines);
    std::string width;
    while (std::getline(widths, width))
        Bar->Panels()->Add()->SetWidth(StrToInt(width));
}

void PublishButtons()
{
    PublishControl<TButton>("TButton")
        .Boolean("Default", &TButton::Default, &TButton::SetDefault, false)
        .Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel, false)
        .Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, 0);
    using S = TSpeedButton;
    PublishControl<S>("TSpeedButton")
        .Boolean("Flat", &S::Flat, &S::SetFlat, false)
        .Integer("GroupIndex", &S::GroupIndex, &S::SetGroupIndex, 0)
        .Boolean("Down", &S::Down, &S::SetDown, false)
        .Boolean("AllowAllUp", &S::AllowAllUp, &S::SetAllowAllUp, false);
    using B = TCheckBox;
    PublishControl<B>("TCheckBox")
        .Boolean("AllowGrayed", &B::AllowGrayed, &B::SetAllowGrayed, false)
        .Enumeration("State", &B::State, &B::SetState, cbUnchecked, cbGrayed + 1);
}

void PublishEdits()
{
    using E = TEdit;
    PublishControl<E>("TEdit")
        .String("Text", &E::Text, &E::SetText)
        .Integer("MaxLength", &E::MaxLength, &E::SetMaxLength, 0)
        .Boolean("ReadOnly", &E::ReadOnly, &E::SetReadOnly, false)
        .Event("OnChange", &E::OnChange);
    using C = TComboBox;
    PublishControl<C>("TComboBox")
        .Enumeration("Style", &C::Style, &C::SetStyle, csDropDown, csDropDownList + 1)
        .Integer("DropDownCount", &C::DropDownCount, &C::SetDropDownCount, 8)
        .String("Items.Strings", [](C* c) { return c->Items()->Text(); },
                [](C* c, const std::string& v) { c->Items()->SetText(v); })
        .Integer("ItemIndex", &C::ItemIndex, &C::SetItemIndex, -1)
        .Event("OnChange", &C::OnChange);
    using L = TLabel;
    PublishControl<L>("TLabel")
        .Boolean("AutoSize", &L::AutoSize, &L::SetAutoSize, true)
        .Boolean("Transparent", &L::Transparent, &L::SetTransparent, false)
        .Enumeration("Alignment", &L::Alignment, &L::SetAlignment, taLeftJustify, taCenter + 1);
}

void PublishContainers()
{
    PublishControl<TGroupBox>("TGroupBox");
    using B = TControlScrollBar;
    TClassPublisher<B>("TControlScrollBar", "")
        .Integer("Range", &B::Range, &B::SetRange, 0)
        .Integer("Position", &B::Position, &B::SetPosition, 0)
        .Boolean("Visible", &B::Visible, &B::SetVisible, true)
        .Boolean("Tracking", &B::Tracking, &B::SetTracking, false)
        .Integer("Size", &B::Size, &B::SetSize, 0)
        .Integer("ButtonSize", &B::ButtonSize, &B::SetButtonSize, 0)
        .Integer("Increment", &B::Increment, &B::SetIncrement, 8);
    using S = TScrollBox;
    TClassPublisher<S> box("TScrollBox", "", ComponentFactory<S>());
    PublishWinControlProperties(box);
    box.Object("HorzScrollBar", &S::HorzScrollBar)
        .Object("VertScrollBar", &S::VertScrollBar)
        .Boolean("AutoScroll", &S::AutoScroll, &S::SetAutoScroll, true)
        .Enumeration("BorderStyle", &S::BorderStyle, &S::SetBorderStyle, bsSingle, bsSingle + 1);
    using T = TStatusBar;
    TClassPublisher<T> bar("TStatusBar", "", ComponentFactory<T>());
    PublishWinControlProperties(bar);
    bar.Enumeration("Align", &T::Align, &T::SetAlign, alBottom, alClient + 1)
        .Boolean("SimplePanel", &T::SimplePanel, &T::SetSimplePanel, false)
        .String("SimpleText", &T::SimpleText, &T::SetSimpleText)
        .Boolean("SizeGrip", &T::SizeGrip, &T::SetSizeGrip, true)
        .String("Panels.Widths", PanelWidths, SetPanelWidths);
}

} // namespace

void PublishStandardControls()
{
    RegisterIdentifiers({{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify},
                         {"taCenter", taCenter}, {"cbUnchecked", cbUnchecked}, {"cbChecked", cbChecked},
                         {"cbGrayed", cbGrayed}, {"csDropDown", csDropDown}, {"csDropDownList", csDropDownList},
                         {"bsNone", bsNone}, {"bsSingle", bsSingle}});
    PublishButtons();
    PublishEdits();
    PublishContainers();
}
