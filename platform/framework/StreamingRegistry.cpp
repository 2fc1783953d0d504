// The registry of streamable classes, and the framework's own: the form and the size
// constraints of controls.
#include <map>
#include <mutex>

#include "platform/framework/Forms.h"
#include "platform/framework/Menus.h"
#include "platform/framework/PublishedControls.h"
#include "platform/framework/Streaming.h"
#include "platform/framework/TextForm.h"

namespace {

std::map<std::string, TPublishedClass>& Classes()
{
    static std::map<std::string, TPublishedClass> classes;
    return classes;
}

std::map<std::string, std::int64_t>& Identifiers()
{
    static std::map<std::string, std::int64_t> identifiers;
    return identifiers;
}

void RegisterFrameworkIdentifiers()
{
    RegisterIdentifiers({{"alNone", alNone}, {"alTop", alTop}, {"alBottom", alBottom}, {"alLeft", alLeft},
                         {"alRight", alRight}, {"alClient", alClient}, {"akLeft", akLeft}, {"akTop", akTop},
                         {"akRight", akRight}, {"akBottom", akBottom}, {"dmManual", dmManual},
                         {"dmAutomatic", dmAutomatic}, {"bdLeftToRight", bdLeftToRight},
                         {"bdRightToLeft", bdRightToLeft}, {"fsBold", fsBold}, {"fsItalic", fsItalic},
                         {"fsUnderline", fsUnderline}, {"fsStrikeOut", fsStrikeOut}, {"fpDefault", fpDefault},
                         {"fpVariable", fpVariable}, {"fpFixed", fpFixed}});
    RegisterIdentifiers({{"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
                         {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
                         {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
                         {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
                         {"clNone", clNone}, {"clDefault", clDefault}, {"clWindow", clWindow},
                         {"clWindowText", clWindowText}, {"clBtnFace", clBtnFace}, {"clBtnText", clBtnText},
                         {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
                         {"clGrayText", clGrayText}, {"clInfoBk", clInfoBk}, {"clInfoText", clInfoText}});
}

void PublishMenus()
{
    using P = TPopupMenu;
    TClassPublisher<P>("TPopupMenu", "", [](TComponent* Owner) -> TComponent* { return new TPopupMenu(Owner); })
        .Boolean("AutoPopup", &P::AutoPopup, &P::SetAutoPopup, true)
        .Event("OnPopup", &P::OnPopup);
    using M = TMenuItem;
    TClassPublisher<M>("TMenuItem", "", [](TComponent* Owner) -> TComponent* { return new TMenuItem(Owner); })
        .String("Caption", &M::Caption, &M::SetCaption)
        .String("Hint", &M::Hint, &M::SetHint)
        .Integer("ShortCut", &M::ShortCut, &M::SetShortCut, scNone)
        .Boolean("Enabled", &M::Enabled, &M::SetEnabled, true)
        .Boolean("Visible", &M::Visible, &M::SetVisible, true)
        .Boolean("Checked", &M::Checked, &M::SetChecked, false)
        .Event("OnClick", &M::OnClick);
}

void PublishFrameworkClasses()
{
    RegisterFrameworkIdentifiers();
    PublishForms();
    // The sub-object of every control's Constraints.
    using S = TSizeConstraints;
    TClassPublisher<S>("TSizeConstraints", "")
        .Integer("MaxHeight", &S::MaxHeight, &S::SetMaxHeight, 0)
        .Integer("MaxWidth", &S::MaxWidth, &S::SetMaxWidth, 0)
        .Integer("MinHeight", &S::MinHeight, &S::SetMinHeight, 0)
        .Integer("MinWidth", &S::MinWidth, &S::SetMinWidth, 0);
    PublishMenus();
    PublishStandardControls();
}

// The framework's classes are there before anyone asks.
void EnsureFrameworkClasses()
{
    static std::once_flag once;
    std::call_once(once, PublishFrameworkClasses);
}

} // namespace

void RegisterIdentifiers(const std::vector<std::pair<std::string, std::int64_t>>& List)
{
    for (const auto& [name, value] : List)
        Identifiers()[name] = value;
}

std::optional<std::int64_t> IdentifierValue(const std::string& Name)
{
    EnsureFrameworkClasses();
    const auto it = Identifiers().find(Name);
    if (it == Identifiers().end())
        return std::nullopt;
    return it->second;
}

TPublishedClass& RegisterPublishedClass(const std::string& Name, const std::string& BaseName,
                                        std::function<bool(TPersistent*)> IsInstance,
                                        std::function<TComponent*(TComponent* Owner)> Create)
{
    TPublishedClass& c = Classes()[Name];
    c.Name = Name;
    c.BaseName = BaseName;
    c.IsInstance = std::move(IsInstance);
    c.Create = std::move(Create);
    c.Properties.clear();
    c.Methods.clear();
    return c;
}

const TPublishedClass* FindPublishedClass(const std::string& Name)
{
    EnsureFrameworkClasses();
    const auto it = Classes().find(Name);
    return it == Classes().end() ? nullptr : &it->second;
}

const TPublishedClass* PublishedClassOf(TPersistent* Instance)
{
    return Instance ? FindPublishedClass(Instance->ClassName()) : nullptr;
}

std::vector<const TPublishedProperty*> PublishedProperties(const TPublishedClass& Class)
{
    std::vector<const TPublishedProperty*> properties;
    if (!Class.BaseName.empty())
        if (const TPublishedClass* base = FindPublishedClass(Class.BaseName))
            properties = PublishedProperties(*base);
    for (const TPublishedProperty& p : Class.Properties) {
        bool replaced = false;
        for (const TPublishedProperty*& existing : properties)
            if (existing->Name == p.Name) {
                existing = &p;
                replaced = true;
            }
        if (!replaced)
            properties.push_back(&p);
    }
    return properties;
}

std::any PublishedMethod(TPersistent* Instance, const std::string& Name)
{
    for (const TPublishedClass* c = PublishedClassOf(Instance); c;
         c = c->BaseName.empty() ? nullptr : FindPublishedClass(c->BaseName)) {
        const auto it = c->Methods.find(Name);
        if (it != c->Methods.end())
            return it->second(Instance);
    }
    return {};
}
