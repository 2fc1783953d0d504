#include "platform/framework/DesignIntf.h"

#include <algorithm>

#include "platform/framework/SysUtils.h"

// ---------------------------------------------------------------------------
// Editors

void TComponentEditor::Edit()
{
    if (GetVerbCount() > 0)
        ExecuteVerb(0);
}

TPropertyEditor::TPropertyEditor(IDesigner* ADesigner, TPersistent* AInstance, const TPublishedProperty* AProperty)
    : FDesigner(ADesigner), FInstance(AInstance), FProperty(AProperty)
{
}

std::intptr_t TPropertyEditor::GetOrdValue() const
{
    if (FProperty->GetObject)
        return reinterpret_cast<std::intptr_t>(FProperty->GetObject(FInstance));
    return FProperty->GetOrdinal ? std::intptr_t(FProperty->GetOrdinal(FInstance)) : 0;
}

std::string TPropertyEditor::GetValue()
{
    if (FProperty->GetString)
        return FProperty->GetString(FInstance);
    if (FProperty->GetOrdinal)
        return std::to_string(FProperty->GetOrdinal(FInstance));
    return std::string();
}

void TPropertyEditor::Modified()
{
    if (FDesigner)
        FDesigner->Modified();
}

TPropertyAttributes TClassProperty::GetAttributes() { return TPropertyAttributes{paMultiSelect, paSubProperties, paReadOnly}; }

std::string TClassProperty::GetValue()
{
    auto* object = reinterpret_cast<TObject*>(GetOrdValue());
    return object ? "(" + object->ClassName() + ")" : std::string();
}

// ---------------------------------------------------------------------------
// The registry

namespace {

struct TComponentEditorEntry {
    TComponentClass Class;
    TComponentEditorFactory Factory;
};

struct TPropertyEditorEntry {
    std::type_index Type;
    TComponentClass Class;
    std::string Name;
    TPropertyEditorFactory Factory;
};

std::vector<TPaletteEntry>& Palette()
{
    static std::vector<TPaletteEntry> palette;
    return palette;
}

std::vector<TComponentEditorEntry>& ComponentEditors()
{
    static std::vector<TComponentEditorEntry> editors;
    return editors;
}

std::vector<TPropertyEditorEntry>& PropertyEditors()
{
    static std::vector<TPropertyEditorEntry> editors;
    return editors;
}

void RequireClass(TComponentClass Class, const char* What)
{
    if (!Class)
        throw EInvalidOperation(std::string(What) + ": the component class is not registered for streaming");
}

// How closely a registration fits a property: -1 not at all, higher is closer.
int Fitness(const TPropertyEditorEntry& Entry, TPersistent* Instance, const TPublishedProperty& Property)
{
    TPersistent* object = Property.GetObject ? Property.GetObject(Instance) : nullptr;
    if (!object || std::type_index(typeid(*object)) != Entry.Type)
        return -1;
    if (Entry.Class && !Entry.Class->IsInstance(Instance))
        return -1;
    if (!Entry.Name.empty() && Entry.Name != Property.Name)
        return -1;
    return (Entry.Name.empty() ? 0 : 2) + (Entry.Class ? 1 : 0);
}

const TPublishedProperty* FindProperty(TPersistent* Instance, const std::string& Name)
{
    const TPublishedClass* published = PublishedClassOf(Instance);
    if (!published)
        return nullptr;
    for (const TPublishedProperty* property : PublishedProperties(*published))
        if (property->Name == Name)
            return property;
    return nullptr;
}

} // namespace

void RegisterComponents(const std::string& Page, std::initializer_list<TComponentClass> Classes)
{
    for (TComponentClass Class : Classes) {
        RequireClass(Class, "RegisterComponents");
        auto& palette = Palette();
        auto same = std::find_if(palette.begin(), palette.end(), [&](auto& e) { return e.Class == Class; });
        if (same != palette.end())
            same->Page = Page;
        else
            palette.push_back({Page, Class});
    }
}

const std::vector<TPaletteEntry>& RegisteredComponents() { return Palette(); }

const TPaletteEntry* FindPaletteEntry(const std::string& ClassName)
{
    for (const TPaletteEntry& entry : Palette())
        if (entry.Class->Name == ClassName)
            return &entry;
    return nullptr;
}

void RegisterComponentEditor(TComponentClass ComponentClass, TComponentEditorFactory Factory)
{
    RequireClass(ComponentClass, "RegisterComponentEditor");
    auto& editors = ComponentEditors();
    editors.erase(std::remove_if(editors.begin(), editors.end(), [&](auto& e) { return e.Class == ComponentClass; }),
                  editors.end());
    editors.push_back({ComponentClass, std::move(Factory)});
}

std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component, IDesigner* Designer)
{
    const auto& editors = ComponentEditors();
    for (auto e = editors.rbegin(); e != editors.rend(); ++e)
        if (e->Class->IsInstance(Component))
            return e->Factory(Component, Designer);
    return std::make_unique<TDefaultEditor>(Component, Designer);
}

void RegisterPropertyEditor(const std::type_info& PropertyType, TComponentClass ComponentClass,
                            const std::string& PropertyName, TPropertyEditorFactory Factory)
{
    auto& editors = PropertyEditors();
    const std::type_index type(PropertyType);
    editors.erase(std::remove_if(editors.begin(), editors.end(),
                                 [&](auto& e) { return e.Type == type && e.Class == ComponentClass && e.Name == PropertyName; }),
                  editors.end());
    editors.push_back({type, ComponentClass, PropertyName, std::move(Factory)});
}

std::unique_ptr<TPropertyEditor> GetPropertyEditor(IDesigner* Designer, TPersistent* Instance,
                                                   const std::string& PropertyName)
{
    const TPublishedProperty* property = FindProperty(Instance, PropertyName);
    if (!property)
        return nullptr;
    const TPropertyEditorEntry* best = nullptr;
    int bestFitness = -1;
    for (const TPropertyEditorEntry& entry : PropertyEditors())
        if (const int fitness = Fitness(entry, Instance, *property); fitness >= bestFitness && fitness >= 0) {
            best = &entry;
            bestFitness = fitness;
        }
    if (best)
        return best->Factory(Designer, Instance, property);
    if (property->Kind == pkObject)
        return std::make_unique<TClassProperty>(Designer, Instance, property);
    return std::make_unique<TPropertyEditor>(Designer, Instance, property);
}
