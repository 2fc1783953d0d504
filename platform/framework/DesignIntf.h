#pragma once
// The form designer's side of components: the palette, component editors (the commands a
// component adds to its context menu and what a double click on it does) and property
// editors (how the property inspector shows and edits a property). A package registers
// them when the designer loads it; the designer asks the registry for the editors of the
// component or property in hand. Registering the same class, or the same property key,
// again replaces the earlier registration, so a package loaded twice registers once.
#include <functional>
#include <memory>
#include <string>
#include <typeindex>
#include <vector>

#include "platform/framework/Classes.h"
#include "platform/framework/Streaming.h"

// The designer that hosts the form being edited.
class IDesigner {
public:
    virtual ~IDesigner() = default;
    // The form changed: its stored image must be written again.
    virtual void Modified() = 0;
};

// A component class as the designer knows it: its published class (name, factory, test
// for instances).
using TComponentClass = const TPublishedClass*;

// ---------------------------------------------------------------------------
// Component editors

class TComponentEditor {
public:
    TComponentEditor(TComponent* AComponent, IDesigner* ADesigner) : FComponent(AComponent), FDesigner(ADesigner) {}
    virtual ~TComponentEditor() = default;

    // A double click on the component; runs the first command when there is one.
    virtual void Edit();
    // The commands of the component's context menu, from 0.
    virtual void ExecuteVerb(int Index) {}
    virtual std::string GetVerb(int Index) { return std::string(); }
    virtual int GetVerbCount() { return 0; }

    TComponent* Component() const { return FComponent; }
    IDesigner* Designer() const { return FDesigner; }

private:
    TComponent* FComponent;
    IDesigner* FDesigner;
};

// The editor of components that bring none of their own.
class TDefaultEditor : public TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
};

// ---------------------------------------------------------------------------
// Property editors

enum TPropertyAttribute {
    paValueList, paSubProperties, paDialog, paMultiSelect, paAutoUpdate, paSortList, paReadOnly, paRevertable
};
using TPropertyAttributes = TSet<TPropertyAttribute>;

// Edits one published property of one instance.
class TPropertyEditor {
public:
    TPropertyEditor(IDesigner* ADesigner, TPersistent* AInstance, const TPublishedProperty* AProperty);
    virtual ~TPropertyEditor() = default;

    // What the inspector's ellipsis button runs (paDialog).
    virtual void Edit() {}
    virtual TPropertyAttributes GetAttributes() { return TPropertyAttributes{paRevertable}; }
    // The text the inspector shows.
    virtual std::string GetValue();

    // The value as an ordinal: the number of an ordinal property, the address of the
    // object of an object property.
    std::intptr_t GetOrdValue() const;
    // Tells the designer that the property changed.
    void Modified();

    const std::string& Name() const { return FProperty->Name; }
    TPersistent* Instance() const { return FInstance; }
    IDesigner* Designer() const { return FDesigner; }

private:
    IDesigner* FDesigner;
    TPersistent* FInstance;
    const TPublishedProperty* FProperty;
};

// An object property: shown as "(ClassName)", edited through its sub-properties.
class TClassProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    std::string GetValue() override;
};

// ---------------------------------------------------------------------------
// The registry

using TComponentEditorFactory = std::function<std::unique_ptr<TComponentEditor>(TComponent*, IDesigner*)>;
using TPropertyEditorFactory =
    std::function<std::unique_ptr<TPropertyEditor>(IDesigner*, TPersistent*, const TPublishedProperty*)>;

struct TPaletteEntry {
    std::string Page;
    TComponentClass Class;
};

// Puts the classes on the palette page; EInvalidOperation for a null class.
void RegisterComponents(const std::string& Page, std::initializer_list<TComponentClass> Classes);
// The palette, in registration order.
const std::vector<TPaletteEntry>& RegisteredComponents();
// The palette entry of a class of that name, or null.
const TPaletteEntry* FindPaletteEntry(const std::string& ClassName);

void RegisterComponentEditor(TComponentClass ComponentClass, TComponentEditorFactory Factory);
// The editor of the most recently registered class that the component is an instance
// of, or a TDefaultEditor.
std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component, IDesigner* Designer);

// An editor for the properties whose object is of PropertyType: of components of
// ComponentClass only (null: any) and of that name only (empty: any name).
void RegisterPropertyEditor(const std::type_info& PropertyType, TComponentClass ComponentClass,
                            const std::string& PropertyName, TPropertyEditorFactory Factory);
// The editor of the instance's published property of that name: the most specific
// registration that matches (class and name over name over class over type alone), a
// TClassProperty for other object properties, a TPropertyEditor for the rest; null when
// the instance publishes no such property.
std::unique_ptr<TPropertyEditor> GetPropertyEditor(IDesigner* Designer, TPersistent* Instance,
                                                   const std::string& PropertyName);
