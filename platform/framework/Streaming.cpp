// Writing a form into a form image and applying a form image to a form.
#include <algorithm>
#include <set>

#include "platform/framework/Controls.h"
#include "platform/framework/Graphics.h"
#include "platform/framework/Streaming.h"

namespace {

// ---- Values, encoded as the filers encode them

std::string EncodeValue(const TWriterProc& write)
{
    TPropertyMap values;
    TWriter writer(values);
    writer.DefineProperty("", nullptr, write, true);
    return values[""];
}

} // namespace

std::string EncodeOrdinalValue(TPropertyKind Kind, std::int64_t Value)
{
    if (Kind == pkBoolean)
        return EncodeValue([Value](TWriter& w) { w.WriteBoolean(Value != 0); });
    return EncodeValue([Value](TWriter& w) { w.WriteInteger(Value); });
}

std::string EncodeStringValue(const std::string& Value)
{
    return EncodeValue([&Value](TWriter& w) { w.WriteString(Value); });
}

namespace {

template <typename T>
T DecodeValue(const std::string& name, const std::string& bytes, const std::function<T(TReader&)>& read)
{
    const TPropertyMap values{{"", bytes}};
    TReader reader(values);
    T result{};
    try {
        reader.DefineProperty("", [&](TReader& r) { result = read(r); }, nullptr, false);
    } catch (const EReadError& e) {
        throw EReadError("Property " + name + ": " + e.what());
    }
    return result;
}

std::int64_t DecodeOrdinal(const TPublishedProperty& p, const std::string& name, const std::string& bytes)
{
    if (p.Kind == pkBoolean)
        return DecodeValue<bool>(name, bytes, [](TReader& r) { return r.ReadBoolean(); }) ? 1 : 0;
    const std::int64_t value = DecodeValue<std::int64_t>(name, bytes, [](TReader& r) { return r.ReadInteger(); });
    const bool badEnum = p.Kind == pkEnumeration && (value < 0 || value >= p.EnumCount);
    const bool badSet = p.Kind == pkSet && p.SetBits != 0 && (std::uint64_t(value) & ~p.SetBits) != 0;
    const bool badInt = p.Kind != pkEnumeration && p.Kind != pkSet && (value < INT32_MIN || value > INT32_MAX);
    if (badEnum || badSet || badInt)
        throw EReadError("Invalid value " + std::to_string(value) + " for property " + name);
    return value;
}

std::string DecodeString(const std::string& name, const std::string& bytes)
{
    return DecodeValue<std::string>(name, bytes, [](TReader& r) { return r.ReadString(); });
}

// ---- Fonts: five fields under the font property's name

enum TFontField { ffName, ffHeight, ffColor, ffStyle, ffPitch, ffCount };
const char* const FontFieldNames[ffCount] = {"Name", "Height", "Color", "Style", "Pitch"};

std::string FontFieldValue(const TFont& font, int field)
{
    switch (field) {
    case ffName:
        return EncodeStringValue(font.Name());
    case ffHeight:
        return EncodeOrdinalValue(pkInteger, font.Height());
    case ffColor:
        return EncodeOrdinalValue(pkColor, font.Color());
    case ffStyle:
        return EncodeOrdinalValue(pkSet, std::int64_t(font.Style().Bits()));
    default:
        return EncodeOrdinalValue(pkEnumeration, font.Pitch());
    }
}

void SetFontField(TFont& font, int field, const std::string& name, const std::string& bytes)
{
    auto ordinal = [&](TPropertyKind kind, std::int64_t enumCount, std::uint64_t setBits) {
        TPublishedProperty p;
        p.Kind = kind;
        p.EnumCount = enumCount;
        p.SetBits = setBits;
        return DecodeOrdinal(p, name, bytes);
    };
    switch (field) {
    case ffName:
        font.SetName(DecodeString(name, bytes));
        break;
    case ffHeight:
        font.SetHeight(int(ordinal(pkInteger, 0, 0)));
        break;
    case ffColor:
        font.SetColor(TColor(ordinal(pkColor, 0, 0)));
        break;
    case ffStyle:
        font.SetStyle(TFontStyles::FromBits(std::uint64_t(ordinal(pkSet, 0, 0xF))));
        break;
    default:
        font.SetPitch(TFontPitch(ordinal(pkEnumeration, fpFixed + 1, 0)));
        break;
    }
}

std::string FontFieldPath(const std::string& prefix, const TPublishedProperty& p, int field)
{
    return prefix + p.Name + "." + FontFieldNames[field];
}

// ---- Writing

bool Differs(const TPublishedProperty& p, TPersistent* instance, TPersistent* ancestor)
{
    if (p.Kind == pkString) {
        const std::string value = p.GetString(instance);
        return ancestor ? value != p.GetString(ancestor) : !value.empty();
    }
    const std::int64_t value = p.GetOrdinal(instance);
    if (ancestor)
        return value != p.GetOrdinal(ancestor);
    return !p.Default || value != *p.Default;
}

void WriteObject(TPropertyMap& out, const std::string& prefix, TPersistent* instance, TPersistent* ancestor);

void WriteFont(TPropertyMap& out, const std::string& prefix, const TPublishedProperty& p, TPersistent* instance,
               TPersistent* ancestor)
{
    auto* font = dynamic_cast<TFont*>(p.GetObject(instance));
    auto* ancestorFont = ancestor ? dynamic_cast<TFont*>(p.GetObject(ancestor)) : nullptr;
    if (!font)
        return;
    bool differs = !ancestorFont;
    for (int field = 0; field < ffCount && !differs; ++field)
        differs = FontFieldValue(*font, field) != FontFieldValue(*ancestorFont, field);
    if (!differs)
        return;
    for (int field = 0; field < ffCount; ++field)
        out[FontFieldPath(prefix, p, field)] = FontFieldValue(*font, field);
}

void WriteProperty(TPropertyMap& out, const std::string& prefix, const TPublishedProperty& p, TPersistent* instance,
                   TPersistent* ancestor)
{
    if (p.Stored && !p.Stored(instance))
        return;
    switch (p.Kind) {
    case pkFont:
        WriteFont(out, prefix, p, instance, ancestor);
        return;
    case pkObject:
        if (TPersistent* object = p.GetObject(instance))
            WriteObject(out, prefix + p.Name + ".", object, ancestor ? p.GetObject(ancestor) : nullptr);
        return;
    case pkString:
        if (Differs(p, instance, ancestor))
            out[prefix + p.Name] = EncodeStringValue(p.GetString(instance));
        return;
    case pkMethod:
        return;
    default:
        if (Differs(p, instance, ancestor))
            out[prefix + p.Name] = EncodeOrdinalValue(p.Kind, p.GetOrdinal(instance));
        return;
    }
}

// The object's published properties, then what its DefineProperties stores.
void WriteObject(TPropertyMap& out, const std::string& prefix, TPersistent* instance, TPersistent* ancestor)
{
    if (const TPublishedClass* c = PublishedClassOf(instance)) {
        if (ancestor && !c->IsInstance(ancestor))
            ancestor = nullptr;
        for (const TPublishedProperty* p : PublishedProperties(*c))
            WriteProperty(out, prefix, *p, instance, ancestor);
    }
    TPropertyMap defined;
    TWriter writer(defined);
    writer.SetAncestor(ancestor);
    writer.WriteProperties(instance);
    for (auto& [name, value] : defined)
        out[prefix + name] = std::move(value);
}

const TPublishedClass& RegisteredClassOf(TComponent* component)
{
    const TPublishedClass* c = PublishedClassOf(component);
    if (!c)
        throw EWriteError("Class " + component->ClassName() + " is not registered for streaming");
    return *c;
}

TComponentImage ComponentImage(TComponent* component, TComponent* ancestor, TComponent* root)
{
    const TPublishedClass& c = RegisteredClassOf(component);
    TComponentImage image;
    image.ClassName = c.Name;
    image.Name = component->Name();
    if (TComponent* parent = component->GetParentComponent()) {
        if (parent == root) {
            image.ParentKind = pkRootParent;
        } else if (parent->Owner() == root && !parent->Name().empty()) {
            image.ParentKind = pkComponentParent;
            image.ParentName = parent->Name();
        }
    }
    WriteObject(image.Properties, "", component, ancestor);
    return image;
}

} // namespace

TFormImage MakeFormImage(TComponent* Root, TComponent* Ancestor)
{
    TFormImage image;
    image.Root = ComponentImage(Root, Ancestor, Root);
    for (int i = 0; i < Root->ComponentCount(); ++i) {
        TComponent* component = Root->Components(i);
        if (component->Name().empty())
            throw EWriteError("A component of class " + component->ClassName() + " has no name");
        TComponent* ancestor = Ancestor ? Ancestor->FindComponent(component->Name()) : nullptr;
        if (ancestor && ancestor->ClassName() != component->ClassName())
            ancestor = nullptr;
        image.Components.push_back(ComponentImage(component, ancestor, Root));
    }
    return image;
}

void WriteForm(TStream& Stream, TComponent* Root, TComponent* Ancestor)
{
    WriteFormImage(Stream, MakeFormImage(Root, Ancestor));
}

// ---------------------------------------------------------------------------
// Reading. A friend of TPersistent and TComponent: it calls DefineProperties and holds
// the components in csLoading for the whole read.

namespace {

// Records the names an object defines, without reading or writing anything.
class TDefinedNames : public TFiler {
public:
    void DefineProperty(const std::string& Name, TReaderProc, TWriterProc, bool) override { Names.push_back(Name); }
    void DefineBinaryProperty(const std::string& Name, TStreamProc, TStreamProc, bool) override
    {
        Names.push_back(Name);
    }
    std::vector<std::string> Names;
};

} // namespace

class TFormReader {
public:
    explicit TFormReader(TComponent* Root) : FRoot(Root) {}
    void Apply(const TFormImage& Image);

private:
    void CheckClasses(const TFormImage& Image);
    static void CheckParentChains(const TFormImage& Image);
    TComponent* FindOrCreate(const TComponentImage& Image);
    void BeginLoading(TComponent* Component);
    void SetParent(TComponent* Component, const TComponentImage& Image);
    void CheckNames(TComponent* Component, const TComponentImage& Image);
    void KnownNames(TPersistent* Instance, const std::string& Prefix, std::set<std::string>& Names);
    void ReadObject(const TPropertyMap& Properties, const std::string& Prefix, TPersistent* Instance);
    void ReadProperty(const TPropertyMap& Properties, const std::string& Prefix, const TPublishedProperty& P,
                      TPersistent* Instance);
    void ReadHandler(const std::string& Path, const std::string& Method, const TPublishedProperty& P,
                     TPersistent* Instance);
    void Undo() noexcept;

    TComponent* FRoot;
    std::vector<TComponent*> FCreated;
    std::vector<TComponent*> FLoading;
    std::vector<std::pair<TComponent*, TComponent*>> FOldParents;
};

void TFormReader::Apply(const TFormImage& Image)
{
    CheckClasses(Image);
    try {
        BeginLoading(FRoot);
        if (FRoot->Name().empty() && !Image.Root.Name.empty())
            FRoot->SetName(Image.Root.Name);
        std::vector<TComponent*> components;
        for (const TComponentImage& c : Image.Components)
            components.push_back(FindOrCreate(c));
        CheckNames(FRoot, Image.Root);
        for (size_t i = 0; i < components.size(); ++i)
            CheckNames(components[i], Image.Components[i]);
        for (size_t i = 0; i < components.size(); ++i)
            SetParent(components[i], Image.Components[i]);
        ReadObject(Image.Root.Properties, "", FRoot);
        for (size_t i = 0; i < components.size(); ++i)
            ReadObject(Image.Components[i].Properties, "", components[i]);
        // Loaded once everything is read: the components, then the root (the first).
        std::rotate(FLoading.begin(), FLoading.begin() + 1, FLoading.end());
        while (!FLoading.empty()) {
            TComponent* next = FLoading.front();
            next->Loaded();
            next->ExcludeState(csLoading);
            FLoading.erase(FLoading.begin());
        }
    } catch (...) {
        Undo();
        throw;
    }
}

void TFormReader::CheckClasses(const TFormImage& Image)
{
    const TPublishedClass* rootClass = FindPublishedClass(Image.Root.ClassName);
    if (!rootClass)
        throw EReadError("Class " + Image.Root.ClassName + " is not registered for streaming");
    if (!rootClass->IsInstance(FRoot))
        throw EReadError("The stream holds a " + Image.Root.ClassName + ", not a " + FRoot->ClassName());
    for (const TComponentImage& c : Image.Components) {
        const TPublishedClass* cls = FindPublishedClass(c.ClassName);
        if (!cls || !cls->Create)
            throw EReadError("Class " + c.ClassName + " of component " + c.Name + " is not registered for streaming");
        TComponent* existing = FRoot->FindComponent(c.Name);
        if (existing && !cls->IsInstance(existing))
            throw EReadError("Component " + c.Name + " is a " + existing->ClassName() + ", the stream holds a " +
                             c.ClassName);
        if (c.ParentKind == pkComponentParent && !Image.Find(c.ParentName) && !FRoot->FindComponent(c.ParentName))
            throw EReadError("The parent " + c.ParentName + " of component " + c.Name + " does not exist");
    }
    CheckParentChains(Image);
}

// Following the stored parents from any component must end, not come back round.
void TFormReader::CheckParentChains(const TFormImage& Image)
{
    for (const TComponentImage& c : Image.Components) {
        const TComponentImage* step = &c;
        for (size_t n = 0; step && step->ParentKind == pkComponentParent; ++n) {
            if (n > Image.Components.size())
                throw EReadError("The parents of component " + c.Name + " form a loop");
            step = Image.Find(step->ParentName);
        }
    }
}

TComponent* TFormReader::FindOrCreate(const TComponentImage& Image)
{
    if (TComponent* existing = FRoot->FindComponent(Image.Name)) {
        BeginLoading(existing);
        return existing;
    }
    TComponent* created = FindPublishedClass(Image.ClassName)->Create(FRoot);
    FCreated.push_back(created);
    if (created->Owner() != FRoot)
        throw EReadError("Class " + Image.ClassName + " does not make components owned by the form");
    BeginLoading(created);
    if (FRoot->ComponentState().Contains(csDesigning))
        created->SetDesigning(true);
    created->SetName(Image.Name);
    return created;
}

void TFormReader::BeginLoading(TComponent* Component)
{
    Component->IncludeState(csLoading);
    FLoading.push_back(Component);
}

void TFormReader::SetParent(TComponent* Component, const TComponentImage& Image)
{
    TComponent* parent = nullptr;
    if (Image.ParentKind == pkRootParent)
        parent = FRoot;
    else if (Image.ParentKind == pkComponentParent)
        parent = FRoot->FindComponent(Image.ParentName);
    TComponent* old = Component->GetParentComponent();
    if (!parent || parent == old)
        return;
    if (std::find(FCreated.begin(), FCreated.end(), Component) == FCreated.end())
        FOldParents.emplace_back(Component, old);
    Component->SetParentComponent(parent);
}

// Every stored name must be a published property (a font field, a property of a
// sub-object) or a property that the object or a sub-object defines.
void TFormReader::CheckNames(TComponent* Component, const TComponentImage& Image)
{
    std::set<std::string> known;
    KnownNames(Component, "", known);
    for (const auto& entry : Image.Properties)
        if (!known.count(entry.first))
            throw EReadError("Unknown property " + entry.first + " of " + Image.Name + " (" + Image.ClassName + ")");
}

void TFormReader::KnownNames(TPersistent* Instance, const std::string& Prefix, std::set<std::string>& Names)
{
    if (const TPublishedClass* c = PublishedClassOf(Instance))
        for (const TPublishedProperty* p : PublishedProperties(*c)) {
            if (p->Kind == pkFont) {
                for (int field = 0; field < ffCount; ++field)
                    Names.insert(FontFieldPath(Prefix, *p, field));
            } else if (p->Kind == pkObject) {
                if (TPersistent* object = p->GetObject(Instance))
                    KnownNames(object, Prefix + p->Name + ".", Names);
            } else {
                Names.insert(Prefix + p->Name);
            }
        }
    TDefinedNames defined;
    Instance->DefineProperties(&defined);
    for (const std::string& name : defined.Names)
        Names.insert(Prefix + name);
}

void TFormReader::ReadObject(const TPropertyMap& Properties, const std::string& Prefix, TPersistent* Instance)
{
    if (const TPublishedClass* c = PublishedClassOf(Instance))
        for (const TPublishedProperty* p : PublishedProperties(*c))
            ReadProperty(Properties, Prefix, *p, Instance);
    TPropertyMap defined;
    for (const auto& [name, value] : Properties)
        if (name.size() > Prefix.size() && name.compare(0, Prefix.size(), Prefix) == 0)
            defined.emplace(name.substr(Prefix.size()), value);
    TReader reader(defined);
    Instance->DefineProperties(&reader);
}

void TFormReader::ReadProperty(const TPropertyMap& Properties, const std::string& Prefix,
                               const TPublishedProperty& P, TPersistent* Instance)
{
    if (P.Kind == pkObject) {
        if (TPersistent* object = P.GetObject(Instance))
            ReadObject(Properties, Prefix + P.Name + ".", object);
        return;
    }
    if (P.Kind == pkFont) {
        auto* font = dynamic_cast<TFont*>(P.GetObject(Instance));
        for (int field = 0; font && field < ffCount; ++field) {
            const std::string path = FontFieldPath(Prefix, P, field);
            const auto it = Properties.find(path);
            if (it != Properties.end())
                SetFontField(*font, field, path, it->second);
        }
        return;
    }
    const std::string path = Prefix + P.Name;
    const auto it = Properties.find(path);
    if (it == Properties.end())
        return;
    if (P.Kind == pkString)
        P.SetString(Instance, DecodeString(path, it->second));
    else if (P.Kind == pkMethod)
        ReadHandler(path, DecodeString(path, it->second), P, Instance);
    else
        P.SetOrdinal(Instance, DecodeOrdinal(P, path, it->second));
}

void TFormReader::ReadHandler(const std::string& Path, const std::string& Method, const TPublishedProperty& P,
                              TPersistent* Instance)
{
    std::any handler;
    if (!Method.empty()) {
        handler = PublishedMethod(FRoot, Method);
        if (!handler.has_value())
            throw EReadError("Property " + Path + ": the form has no method " + Method);
    }
    try {
        P.SetMethod(Instance, handler);
    } catch (const std::bad_any_cast&) {
        throw EReadError("Property " + Path + ": method " + Method + " does not fit the event");
    }
}

void TFormReader::Undo() noexcept
{
    auto created = [this](TComponent* c) { return std::find(FCreated.begin(), FCreated.end(), c) != FCreated.end(); };
    for (TComponent* c : FLoading)
        if (!created(c))
            c->ExcludeState(csLoading);
    FLoading.clear();
    // Components the read moved under new parents go back first, so that freeing a new
    // parent cannot take them along.
    for (auto it = FOldParents.rbegin(); it != FOldParents.rend(); ++it) {
        try {
            it->first->SetParentComponent(it->second);
        } catch (...) {
        }
    }
    for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it) {
        try {
            (*it)->SetParentComponent(nullptr);
        } catch (...) {
        }
        delete *it;
    }
    FCreated.clear();
}

void ApplyFormImage(const TFormImage& Image, TComponent* Root)
{
    TFormReader(Root).Apply(Image);
}

void ReadForm(TStream& Stream, TComponent* Root)
{
    ApplyFormImage(ReadFormImage(Stream), Root);
}

TComponent* CreateForm(TStream& Stream, TComponent* Owner)
{
    const TFormImage image = ReadFormImage(Stream);
    const TPublishedClass* c = FindPublishedClass(image.Root.ClassName);
    if (!c || !c->Create)
        throw EReadError("Class " + image.Root.ClassName + " is not registered for streaming");
    std::unique_ptr<TComponent> root(c->Create(Owner));
    ApplyFormImage(image, root.get());
    return root.release();
}
