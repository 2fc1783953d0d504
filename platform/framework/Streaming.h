#pragma once
// Component streaming: the published properties of component classes, a factory of
// components by class name, and the form stream that stores a form with the components
// it owns.
//
// A class publishes its properties once (TClassPublisher). Writing a form stores, for the
// form and every component it owns, the class name, the name, the parent and the
// properties whose value differs from the default (or, with an ancestor form, from the
// ancestor's component of the same name), plus what the objects define themselves through
// DefineProperties. Reading creates the components by class name, sets their parents and
// properties, and calls Loaded on each once everything is read.
//
// Property names in a component's property map:
//   "Left"            an integer, boolean, enumeration, set, colour or string property
//   "Font.Height"     a field of a font property (Name, Height, Color, Style, Pitch)
//   "Items.Data"      a property of a sub-object: its published properties and whatever
//                     its DefineProperties stores, under the sub-object's property name
// Values are encoded as the filers encode them (see TWriter): vaInt64 for integers,
// enumerations, sets and colours; vaFalse / vaTrue for booleans; vaUTF8String for strings
// and for the handler names of events.
//
// Events: an event property names a method of the form that the stream is read into
// (the root), which the form's class publishes by name (TClassPublisher::Method). They
// are read, never written: a handler is a function object and has no name to store.
// Defined properties hold the bytes their writers produced.
//
// The binary form stream, version 1 (all integers little-endian):
//   signature       6 bytes "LXFORM", then the version as 2 bytes
//   records         each: kind (1 byte), payload length (4 bytes), payload
//     'R'           the root (the form); exactly one, the first record
//     'C'           a component owned by the root, in the root's component order
//     'E'           the end; payload length 0; nothing after it is read
//   payload of 'R' and 'C':
//     string        class name          (a string is a 4-byte length and the bytes)
//     string        component name
//     1 byte        parent: 0 none, 1 the root, 2 a component named by the next string
//     string        parent's name (empty unless the parent byte is 2)
//     4 bytes       number of properties, then per property: string name, string value
//   A payload must be used up exactly by its fields.
#include <cstdint>
#include <any>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/framework/Classes.h"

class TFont;

// ---------------------------------------------------------------------------
// Published properties

enum TPropertyKind { pkInteger, pkBoolean, pkEnumeration, pkSet, pkColor, pkString, pkFont, pkObject, pkMethod };

struct TPublishedProperty {
    std::string Name;
    TPropertyKind Kind = pkInteger;
    // Integer, boolean, enumeration, set and colour properties.
    std::function<std::int64_t(TPersistent*)> GetOrdinal;
    std::function<void(TPersistent*, std::int64_t)> SetOrdinal;
    // The value written when no ancestor decides; without one the property is always
    // written (strings: written when not empty).
    std::optional<std::int64_t> Default;
    // Enumerations: the valid ordinals are 0 to Count - 1. Sets: the valid bits.
    std::int64_t EnumCount = 0;
    std::uint64_t SetBits = 0;
    // String properties.
    std::function<std::string(TPersistent*)> GetString;
    std::function<void(TPersistent*, const std::string&)> SetString;
    // Font and sub-object properties: the object, owned by the instance.
    std::function<TPersistent*(TPersistent*)> GetObject;
    // Event properties: assigns a handler that a form's published method made (an empty
    // value clears the event); std::bad_any_cast when the handler is of another type.
    std::function<void(TPersistent*, const std::any&)> SetMethod;
    // When set, the property is written only when this says so (and it differs from
    // the default or the ancestor).
    std::function<bool(TPersistent*)> Stored;
};

// A class that can be streamed: its published properties (its base's first, a property
// declared again replaces the base's in place) and, for components, a factory.
struct TPublishedClass {
    std::string Name;
    std::string BaseName;
    std::function<bool(TPersistent*)> IsInstance;
    std::function<TComponent*(TComponent* Owner)> Create; // null: not made by the reader
    std::vector<TPublishedProperty> Properties;
    // Methods that form streams may name as event handlers: each makes the handler bound
    // to an instance of the class.
    std::map<std::string, std::function<std::any(TPersistent*)>> Methods;
};

// Adds or replaces the class of that name and returns it.
TPublishedClass& RegisterPublishedClass(const std::string& Name, const std::string& BaseName,
                                        std::function<bool(TPersistent*)> IsInstance,
                                        std::function<TComponent*(TComponent* Owner)> Create);
// Null when no class of that name is registered.
const TPublishedClass* FindPublishedClass(const std::string& Name);
// The class registered under the instance's class name, or null.
const TPublishedClass* PublishedClassOf(TPersistent* Instance);
// Every property of the class, its bases' first, each name once.
std::vector<const TPublishedProperty*> PublishedProperties(const TPublishedClass& Class);
// A property value encoded as form images hold it: an ordinal of that kind, a string.
std::string EncodeOrdinalValue(TPropertyKind Kind, std::int64_t Value);
std::string EncodeStringValue(const std::string& Value);
// The handler that the instance's class (or a base) publishes under Name, bound to the
// instance; an empty value when there is none.
std::any PublishedMethod(TPersistent* Instance, const std::string& Name);

namespace lxStreaming {
template <typename T>
struct IsSet : std::false_type {};
template <typename E>
struct IsSet<TSet<E>> : std::true_type {};

template <typename T>
std::int64_t ToOrdinal(const T& Value)
{
    if constexpr (IsSet<T>::value)
        return std::int64_t(Value.Bits());
    else
        return static_cast<std::int64_t>(Value);
}

template <typename T>
T FromOrdinal(std::int64_t Value)
{
    if constexpr (IsSet<T>::value)
        return T::FromBits(std::uint64_t(Value));
    else if constexpr (std::is_same_v<T, bool>)
        return Value != 0;
    else
        return static_cast<T>(Value);
}
} // namespace lxStreaming

// The factory of a component class whose constructor takes the owner.
template <class C>
std::function<TComponent*(TComponent* Owner)> ComponentFactory()
{
    return [](TComponent* Owner) -> TComponent* { return new C(Owner); };
}

// Declares the published properties of class C. Getters and setters are member functions
// of C (or of a base) or callables taking a C*.
//
//   TClassPublisher<TForm>("TForm", "", Factory)
//       .Integer("Left", &TForm::Left, &TForm::SetLeft, 0)
//       .Font("Font", [](TForm* f) { return f->Font(); });
template <class C>
class TClassPublisher {
public:
    TClassPublisher(const std::string& Name, const std::string& BaseName,
                    std::function<TComponent*(TComponent* Owner)> Create = nullptr)
        : FClass(RegisterPublishedClass(
              Name, BaseName, [](TPersistent* p) { return dynamic_cast<C*>(p) != nullptr; }, std::move(Create)))
    {
    }

    template <class G, class S>
    TClassPublisher& Integer(const std::string& Name, G Get, S Set, std::optional<std::int64_t> Default)
    {
        return Ordinal(Name, pkInteger, Get, Set, Default);
    }
    template <class G, class S>
    TClassPublisher& Boolean(const std::string& Name, G Get, S Set, bool Default)
    {
        return Ordinal(Name, pkBoolean, Get, Set, Default ? 1 : 0);
    }
    template <class G, class S>
    TClassPublisher& Color(const std::string& Name, G Get, S Set, std::optional<std::int64_t> Default)
    {
        return Ordinal(Name, pkColor, Get, Set, Default);
    }
    template <class G, class S>
    TClassPublisher& Enumeration(const std::string& Name, G Get, S Set, std::int64_t Default, std::int64_t Count)
    {
        Ordinal(Name, pkEnumeration, Get, Set, Default);
        Last().EnumCount = Count;
        return *this;
    }
    template <class G, class S>
    TClassPublisher& Set(const std::string& Name, G Get, S Set_, std::uint64_t Default, std::uint64_t ValidBits)
    {
        Ordinal(Name, pkSet, Get, Set_, std::int64_t(Default));
        Last().SetBits = ValidBits;
        return *this;
    }
    template <class G, class S>
    TClassPublisher& String(const std::string& Name, G Get, S Set)
    {
        TPublishedProperty p;
        p.Name = Name;
        p.Kind = pkString;
        p.GetString = [Get](TPersistent* o) { return std::string(std::invoke(Get, static_cast<C*>(o))); };
        p.SetString = [Set](TPersistent* o, const std::string& v) { std::invoke(Set, static_cast<C*>(o), v); };
        return Add(std::move(p));
    }
    template <class G>
    TClassPublisher& Font(const std::string& Name, G Get)
    {
        return ObjectProperty(Name, pkFont, Get);
    }
    // A persistent object owned by the instance, stored under "Name.".
    template <class G>
    TClassPublisher& Object(const std::string& Name, G Get)
    {
        return ObjectProperty(Name, pkObject, Get);
    }
    // An event: Member is the public std::function member of the class or a base.
    template <class E, class B>
    TClassPublisher& Event(const std::string& Name, E B::*Member)
    {
        TPublishedProperty p;
        p.Name = Name;
        p.Kind = pkMethod;
        p.SetMethod = [Member](TPersistent* o, const std::any& handler) {
            static_cast<C*>(o)->*Member = handler.has_value() ? std::any_cast<E>(handler) : E();
        };
        return Add(std::move(p));
    }
    // A method that form streams may name as the handler of an event of type E.
    template <class E, class M, class B>
    TClassPublisher& Method(const std::string& Name, M B::*Function)
    {
        FClass.Methods[Name] = [Function](TPersistent* o) -> std::any {
            C* instance = static_cast<C*>(o);
            return E([instance, Function](auto&&... args) {
                return (instance->*Function)(std::forward<decltype(args)>(args)...);
            });
        };
        return *this;
    }
    // Makes the last declared property stored only when Predicate says so.
    template <class P>
    TClassPublisher& StoredWhen(P Predicate)
    {
        Last().Stored = [Predicate](TPersistent* o) { return bool(std::invoke(Predicate, static_cast<C*>(o))); };
        return *this;
    }

private:
    template <class G, class S>
    TClassPublisher& Ordinal(const std::string& Name, TPropertyKind Kind, G Get, S Set,
                             std::optional<std::int64_t> Default)
    {
        using T = std::decay_t<std::invoke_result_t<G, C*>>;
        TPublishedProperty p;
        p.Name = Name;
        p.Kind = Kind;
        p.Default = Default;
        p.GetOrdinal = [Get](TPersistent* o) { return lxStreaming::ToOrdinal(std::invoke(Get, static_cast<C*>(o))); };
        p.SetOrdinal = [Set](TPersistent* o, std::int64_t v) {
            std::invoke(Set, static_cast<C*>(o), lxStreaming::FromOrdinal<T>(v));
        };
        return Add(std::move(p));
    }
    template <class G>
    TClassPublisher& ObjectProperty(const std::string& Name, TPropertyKind Kind, G Get)
    {
        TPublishedProperty p;
        p.Name = Name;
        p.Kind = Kind;
        p.GetObject = [Get](TPersistent* o) -> TPersistent* { return std::invoke(Get, static_cast<C*>(o)); };
        return Add(std::move(p));
    }
    TClassPublisher& Add(TPublishedProperty Property)
    {
        for (TPublishedProperty& existing : FClass.Properties)
            if (existing.Name == Property.Name) {
                existing = std::move(Property);
                FLast = std::size_t(&existing - FClass.Properties.data());
                return *this;
            }
        FClass.Properties.push_back(std::move(Property));
        FLast = FClass.Properties.size() - 1;
        return *this;
    }
    TPublishedProperty& Last() { return FClass.Properties.at(FLast); }

    TPublishedClass& FClass;
    std::size_t FLast = 0;
};

// ---------------------------------------------------------------------------
// Form images: what a form stream holds, decoded.

enum TParentKind : std::uint8_t { pkNoParent = 0, pkRootParent = 1, pkComponentParent = 2 };

struct TComponentImage {
    std::string ClassName;
    std::string Name;
    TParentKind ParentKind = pkNoParent;
    std::string ParentName;
    TPropertyMap Properties;
};

struct TFormImage {
    TComponentImage Root;
    std::vector<TComponentImage> Components;
    const TComponentImage* Find(const std::string& Name) const;
};

constexpr std::uint16_t FormStreamVersion = 1;

// Encodes the image at the stream's position.
void WriteFormImage(TStream& Stream, const TFormImage& Image);
// Decodes an image from the stream's position up to and including its end record.
// A stream that is not a form stream, or is cut short or damaged, raises EReadError;
// the stream's position is then unspecified.
TFormImage ReadFormImage(TStream& Stream);
// A readable listing of an image, one line per property, for debugging.
std::string FormImageToText(const TFormImage& Image);

// ---------------------------------------------------------------------------
// Writing and reading forms

// Writes Root (a form) and every component it owns; a parent that is neither the root
// nor one of its components is not stored. With an Ancestor (a form of the same
// make that Root descends from), properties equal to those of the ancestor's component of
// the same name are left out, and DefineProperties sees the ancestor's object. A component
// whose class is not registered, or that has no name, raises EWriteError.
void WriteForm(TStream& Stream, TComponent* Root, TComponent* Ancestor = nullptr);
TFormImage MakeFormImage(TComponent* Root, TComponent* Ancestor = nullptr);

// Reads a form stream into Root: components the root already owns under a stored name
// are updated, the others are created. Root and the components are in csLoading while the
// stream is applied and get Loaded at the end. Unknown classes and properties and damaged
// streams raise EReadError; the components this read created are then freed again (the
// root and components it already had may keep some of the values read before the error).
void ReadForm(TStream& Stream, TComponent* Root);
void ApplyFormImage(const TFormImage& Image, TComponent* Root);
// Reads a form stream into a new root of the stored class, owned by Owner (or, when Owner
// is null, by the caller). Nothing is left behind when reading fails.
TComponent* CreateForm(TStream& Stream, TComponent* Owner);
