// The registry of streamable classes, and the framework's own: the form and the size
// constraints of controls.
#include <map>
#include <mutex>

#include "platform/framework/Forms.h"
#include "platform/framework/PublishedControls.h"
#include "platform/framework/Streaming.h"

namespace {

std::map<std::string, TPublishedClass>& Classes()
{
    static std::map<std::string, TPublishedClass> classes;
    return classes;
}

void PublishFrameworkClasses()
{
    TClassPublisher<TForm>("TForm", "", [](TComponent* Owner) -> TComponent* { return new TForm(Owner); })
        .Integer("Left", &TForm::Left, &TForm::SetLeft, 0)
        .Integer("Top", &TForm::Top, &TForm::SetTop, 0)
        .Integer("Width", &TForm::Width, &TForm::SetWidth, 640)
        .Integer("Height", &TForm::Height, &TForm::SetHeight, 480)
        .String("Caption", &TForm::Caption, &TForm::SetCaption)
        .Color("Color", &TForm::Color, &TForm::SetColor, clBtnFace)
        .Boolean("Enabled", &TForm::Enabled, &TForm::SetEnabled, true)
        .Font("Font", &TForm::Font)
        .StoredWhen([](TForm* f) { return !f->ParentFont(); })
        .Boolean("ShowHint", &TForm::ShowHint, &TForm::SetShowHint, false);
    // The sub-object of every control's Constraints.
    using S = TSizeConstraints;
    TClassPublisher<S>("TSizeConstraints", "")
        .Integer("MaxHeight", &S::MaxHeight, &S::SetMaxHeight, 0)
        .Integer("MaxWidth", &S::MaxWidth, &S::SetMaxWidth, 0)
        .Integer("MinHeight", &S::MinHeight, &S::SetMinHeight, 0)
        .Integer("MinWidth", &S::MinWidth, &S::SetMinWidth, 0);
}

// The framework's classes are there before anyone asks.
void EnsureFrameworkClasses()
{
    static std::once_flag once;
    std::call_once(once, PublishFrameworkClasses);
}

} // namespace

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
