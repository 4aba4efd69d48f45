// Run-time type information: what a class publishes. Each class has one table,
// built beside its declaration in its own source file:
//
//   TClass TShortcutList::StaticClass()
//   {
//       static const TClassInfo info = TClassBuilder<TShortcutList>("TShortcutList", TCustomControl::StaticClass())
//           .Integer("Tag", &TShortcutList::GetTag, &TShortcutList::SetTag).Default(0)
//           .Enum("Style", &TShortcutList::GetStyle, &TShortcutList::SetStyle, ShortcutStyleInfo()).Default(ssLargeImages)
//           .Integer("Color", &TShortcutList::GetColor, &TShortcutList::SetColor).Idents(ColorIdents()).Default(clWindow)
//           .Object("Items", &TShortcutList::GetItems, &TShortcutList::SetItems)
//           .Event("OnClick", &TShortcutList::GetOnClick, &TShortcutList::SetOnClick)
//           .Method("ItemClick", &TShortcutList::ItemClick);
//       return &info;
//   }
//
// Properties are listed inherited first, then in declaration order. A property with
// no Default is always stored (the original's "nodefault"); strings are stored when
// not empty, objects when they have something to store.
//
// A base class may declare a property without publishing it (.Protected()), as the
// original declares ShowHint in TControl: a descendant that publishes a property of
// that name without a stored rule of its own takes the declared rule, so every
// control stores ShowHint only while ParentShowHint is False.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/core/Events.h"
#include "platform/core/Set.h"
#include "platform/core/Types.h"

namespace ld {

class TObject;
class TComponent;
class TCollection;
class TCollectionItem;
enum TOperation : int;
struct TClassInfo;
using TClass = const TClassInfo*;

enum class TTypeKind {
    tkInteger,     // Integer-like, optionally with named values (colours)
    tkEnumeration, // an enum with element names
    tkSet,         // a TSet over an enum with element names
    tkString,      // std::string (8-bit bytes)
    tkBoolean,
    tkClass,       // an owned persistent object, streamed as its own properties
    tkComponent,   // a reference to a component, streamed as its name
    tkMethod,      // an event closure, streamed as its method name
};

// Element names of an enumeration, by ordinal; also the elements of a set over it.
struct TEnumInfo {
    std::string Name;
    std::vector<std::string> Names;
    // The ordinal of Ident (case-insensitive), or -1.
    Integer ValueOf(std::string_view ident) const;
    // The name of Value, or "" when out of range.
    const std::string& NameOf(Int64 value) const;
};

// Named values of an integer type (TColor's clBtnFace and others).
struct TIntegerIdents {
    std::string TypeName;
    std::vector<std::pair<Integer, std::string>> Entries;
    bool IntToIdent(Integer value, std::string& ident) const;
    bool IdentToInt(std::string_view ident, Integer& value) const;
};

// Registers the named values of an integer type so that other code can find them
// by the type's name (an object inspector, a text form writer).
void RegisterIntegerConsts(const TIntegerIdents& idents);
const TIntegerIdents* FindIntegerConsts(std::string_view typeName);

struct TPropInfo {
    std::string Name;
    TTypeKind Kind = TTypeKind::tkInteger;
    const TEnumInfo* EnumType = nullptr;  // enum and set kinds
    const TIntegerIdents* Idents = nullptr; // integer kind, may be null
    TClass (*PropClassOf)() = nullptr;    // class and component kinds; a function,
                                          // as a class may refer to itself
    TClass PropClass() const { return PropClassOf ? PropClassOf() : nullptr; }
    const std::type_info* EventSignature = nullptr; // method kind

    // Ordinal kinds (integer, enum, set bits, Boolean 0/1).
    std::function<Int64(const TObject*)> GetOrd;
    std::function<void(TObject*, Int64)> SetOrd;
    std::function<std::string(const TObject*)> GetStr;
    std::function<void(TObject*, const std::string&)> SetStr;
    std::function<TObject*(const TObject*)> GetObj;
    std::function<void(TObject*, TObject*)> SetObj;
    std::function<TMethod(const TObject*)> GetMethod;
    std::function<void(TObject*, const TMethod&)> SetMethod;

    bool HasDefault = false;
    Int64 Default = 0;
    bool StoredFlag = true;
    std::function<bool(const TObject*)> StoredWhen;
    // False for a property a class declares for its descendants to publish.
    bool Published = true;

    bool IsWritable() const { return SetOrd || SetStr || SetObj || SetMethod; }
    // The stored rule only (stored flag or predicate); the default is checked apart.
    bool IsStored(const TObject* instance) const
    {
        return StoredFlag && (!StoredWhen || StoredWhen(instance));
    }
};

// A published method: found by name when a stored form binds an event to it.
struct TMethodEntry {
    std::string Name;
    TMethodCode Code;
};

// A published field: a component pointer of the owner that is set when an owned
// component of that name is inserted or renamed, and cleared when it goes.
struct TFieldEntry {
    std::string Name;
    TClass (*FieldClassOf)() = nullptr;
    std::function<void(TObject* owner, TComponent* value)> Set;
};

class TClassBuilderBase;

// What a class is: its name, its parent, how to create one (components), and what
// it publishes. One static instance per class; never copied.
struct TClassInfo {
    TClassInfo(TClassBuilderBase& builder);
    TClassInfo(TClassBuilderBase&& builder) : TClassInfo(builder) {}
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    std::string Name;
    TClass Parent = nullptr;
    // Creates an instance with the given owner; null for abstract and non-component classes.
    TComponent* (*Construct)(TComponent* owner) = nullptr;
    // Creates a collection item inside the given collection (item classes only).
    TCollectionItem* (*ConstructItem)(TCollection* collection) = nullptr;
    // The class (or an ancestor below TComponent) overrides Notification; an
    // owner skips the others, whose inherited Notification would do nothing.
    bool OverridesNotification = false;

    bool InheritsFrom(TClass other) const;
    // Published properties, inherited first.
    const std::vector<const TPropInfo*>& Properties() const { return FProperties; }
    // By name, ignoring case; null when not published.
    const TPropInfo* FindProperty(std::string_view name) const;
    // Published methods of this class and its parents.
    const TMethodEntry* FindMethod(std::string_view name) const;
    const TMethodEntry* FindMethodByCode(const TMethodCode& code) const;
    // Published fields of this class and its parents.
    const TFieldEntry* FindField(std::string_view name) const;
    // The class of a published field (of this class or a parent) whose class
    // bears ClassName; null when no field has that class.
    TClass FindFieldClass(std::string_view className) const;

private:
    // The nearest declaration of Name, published or not, that has a stored rule.
    const TPropInfo* FindDeclaration(std::string_view name) const;
    std::vector<TPropInfo> FOwn;
    std::vector<const TPropInfo*> FProperties;
    std::unordered_map<std::string_view, const TPropInfo*> FByName;
    std::vector<TMethodEntry> FMethods;
    std::vector<TFieldEntry> FFields;
};

class TClassBuilderBase {
public:
    TClassBuilderBase(std::string name, TClass parent) : FName(std::move(name)), FParent(parent) {}

protected:
    friend struct TClassInfo;
    TPropInfo& Last();
    std::string FName;
    TClass FParent;
    TComponent* (*FConstruct)(TComponent*) = nullptr;
    TCollectionItem* (*FConstructItem)(TCollection*) = nullptr;
    bool FOverridesNotification = false;
    std::vector<TPropInfo> FProps;
    std::vector<TMethodEntry> FMethods;
    std::vector<TFieldEntry> FFields;
};

namespace detail {
template <class T>
struct IsSet : std::false_type {};
template <class E, class S>
struct IsSet<TSet<E, S>> : std::true_type {};

template <class T>
Int64 ToOrd(const T& v)
{
    if constexpr (IsSet<std::decay_t<T>>::value)
        return static_cast<Int64>(v.Bits());
    else
        return static_cast<Int64>(v);
}

template <class T>
T FromOrd(Int64 v)
{
    if constexpr (IsSet<T>::value)
        return T::FromBits(static_cast<uint64_t>(v));
    else if constexpr (std::is_same_v<T, bool>)
        return v != 0;
    else
        return static_cast<T>(v);
}

// The value type a setter takes: void (C::*)(V) or void (C::*)(const V&).
template <class S>
struct SetterArg;
template <class C, class V>
struct SetterArg<void (C::*)(V)> {
    using type = std::decay_t<V>;
};
} // namespace detail

// Builds the table of class C. Getters may be const or not; a null setter makes a
// read-only property (kept for nested objects, skipped by the reader otherwise).
template <class C>
class TClassBuilder : public TClassBuilderBase {
public:
    TClassBuilder(std::string name, TClass parent) : TClassBuilderBase(std::move(name), parent)
    {
        if constexpr (std::is_constructible_v<C, TComponent*> && !std::is_abstract_v<C>)
            FConstruct = [](TComponent* owner) -> TComponent* { return new C(owner); };
        if constexpr (std::is_constructible_v<C, TCollection*> && !std::is_abstract_v<C>)
            FConstructItem = [](TCollection* collection) -> TCollectionItem* { return new C(collection); };
        if constexpr (requires { typename C::TWatchedOnlyNotification; })
            // The nearest override acts only on components it watches through
            // FreeNotification, which tell it directly: the owner need not
            // pass every notice on to it.
            FOverridesNotification = !std::is_same_v<decltype(&C::Notification),
                                                     decltype(&C::TWatchedOnlyNotification::Notification)>;
        else if constexpr (requires { &C::Notification; })
            FOverridesNotification =
                !std::is_same_v<decltype(&C::Notification), void (TComponent::*)(TComponent*, TOperation)>;
    }

    // Forbids creating this class from a stored form even if it could be built.
    TClassBuilder& Abstract()
    {
        FConstruct = nullptr;
        FConstructItem = nullptr;
        return *this;
    }

    template <class G, class S>
    TClassBuilder& Integer(std::string name, G get, S set)
    {
        return Ordinal(std::move(name), TTypeKind::tkInteger, nullptr, get, set);
    }
    template <class G, class S>
    TClassBuilder& Boolean(std::string name, G get, S set)
    {
        return Ordinal(std::move(name), TTypeKind::tkBoolean, nullptr, get, set);
    }
    template <class G, class S>
    TClassBuilder& Enum(std::string name, G get, S set, const TEnumInfo& info)
    {
        return Ordinal(std::move(name), TTypeKind::tkEnumeration, &info, get, set);
    }
    template <class G, class S>
    TClassBuilder& Set(std::string name, G get, S set, const TEnumInfo& elements)
    {
        return Ordinal(std::move(name), TTypeKind::tkSet, &elements, get, set);
    }

    template <class G, class S>
    TClassBuilder& String(std::string name, G get, S set)
    {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::tkString;
        p.GetStr = [get](const TObject* o) -> std::string { return std::invoke(get, Self(o)); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetStr = [set](TObject* o, const std::string& v) { std::invoke(set, Self(o), v); };
        FProps.push_back(std::move(p));
        return *this;
    }

    // An owned persistent object (Font, Items): streamed as its own properties.
    template <class G, class S>
    TClassBuilder& Object(std::string name, G get, S set)
    {
        return ObjectLike(std::move(name), TTypeKind::tkClass, get, set);
    }
    // A reference to another component (Images, PopupMenu): streamed by name.
    template <class G, class S>
    TClassBuilder& Component(std::string name, G get, S set)
    {
        return ObjectLike(std::move(name), TTypeKind::tkComponent, get, set);
    }

    template <class G, class S>
    TClassBuilder& Event(std::string name, G get, S set)
    {
        using Closure = std::decay_t<std::invoke_result_t<G, C*>>;
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = TTypeKind::tkMethod;
        p.EventSignature = &Closure::Signature();
        p.GetMethod = [get](const TObject* o) -> TMethod { return std::invoke(get, Self(o)).ToMethod(); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetMethod = [set](TObject* o, const TMethod& m) { std::invoke(set, Self(o), Closure::FromMethod(m)); };
        FProps.push_back(std::move(p));
        return *this;
    }

    template <class M>
    TClassBuilder& Method(std::string name, M method)
    {
        FMethods.push_back({std::move(name), EraseMethod(method)});
        return *this;
    }

    // A published component field (a form's Button1): set by name as components
    // owned by an instance of C are named, cleared when they leave.
    template <class T>
    TClassBuilder& Field(std::string name, T* C::*field)
    {
        TFieldEntry f;
        f.Name = std::move(name);
        f.FieldClassOf = &T::StaticClass;
        f.Set = [field](TObject* owner, TComponent* value) { Self(owner)->*field = dynamic_cast<T*>(value); };
        FFields.push_back(std::move(f));
        return *this;
    }

    // Modifiers of the property added last.
    template <class T>
    TClassBuilder& Default(T value)
    {
        Last().HasDefault = true;
        Last().Default = detail::ToOrd(value);
        return *this;
    }
    TClassBuilder& Idents(const TIntegerIdents& idents)
    {
        Last().Idents = &idents;
        return *this;
    }
    TClassBuilder& Stored(bool stored)
    {
        Last().StoredFlag = stored;
        return *this;
    }
    TClassBuilder& Stored(bool (C::*predicate)() const)
    {
        Last().StoredWhen = [predicate](const TObject* o) { return (Self(o)->*predicate)(); };
        return *this;
    }
    // Declares the property without publishing it: descendants that publish it
    // inherit its stored rule.
    TClassBuilder& Protected()
    {
        Last().Published = false;
        return *this;
    }

private:
    static C* Self(const TObject* o) { return static_cast<C*>(const_cast<TObject*>(o)); }

    template <class R, class... Args>
    static TMethodCode EraseMethod(R (C::*method)(Args...))
    {
        static_assert(std::is_void_v<R>, "published methods return nothing");
        return TMethodCode::Of(static_cast<void (TObject::*)(Args...)>(method));
    }

    template <class G, class S>
    TClassBuilder& Ordinal(std::string name, TTypeKind kind, const TEnumInfo* info, G get, S set)
    {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = kind;
        p.EnumType = info;
        p.GetOrd = [get](const TObject* o) -> Int64 { return detail::ToOrd(std::invoke(get, Self(o))); };
        if constexpr (!std::is_null_pointer_v<S>) {
            using V = typename detail::SetterArg<S>::type;
            p.SetOrd = [set](TObject* o, Int64 v) { std::invoke(set, Self(o), detail::FromOrd<V>(v)); };
        }
        FProps.push_back(std::move(p));
        return *this;
    }

    template <class G, class S>
    TClassBuilder& ObjectLike(std::string name, TTypeKind kind, G get, S set)
    {
        using Ptr = std::invoke_result_t<G, C*>;
        using T = std::remove_pointer_t<std::decay_t<Ptr>>;
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = kind;
        p.PropClassOf = &T::StaticClass;
        p.GetObj = [get](const TObject* o) -> TObject* { return std::invoke(get, Self(o)); };
        if constexpr (!std::is_null_pointer_v<S>)
            p.SetObj = [set](TObject* o, TObject* v) { std::invoke(set, Self(o), dynamic_cast<T*>(v)); };
        FProps.push_back(std::move(p));
        return *this;
    }
};

} // namespace ld
