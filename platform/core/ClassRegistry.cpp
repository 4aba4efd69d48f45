#include "platform/core/ClassRegistry.h"

#include <map>
#include <string>

#include "platform/core/SysUtils.h"

namespace ld {

namespace detail {
extern thread_local TClass ConstructingClass;
}

namespace {

std::map<std::string, TClass>& Registry()
{
    static std::map<std::string, TClass> registry;
    return registry;
}

} // namespace

void RegisterClass(TClass cls)
{
    if (cls == nullptr)
        return;
    // Registering a class registers its ancestors, as the original does for
    // persistent classes, so that a stored form can name any of them.
    for (TClass c = cls; c != nullptr; c = c->Parent) {
        auto [it, inserted] = Registry().emplace(UpperCase(c->Name), c);
        if (!inserted && it->second != c)
            throw EFilerError(Format("A class named %s already exists", {c->Name}));
        if (c->Name == "TPersistent")
            break;
    }
}

void RegisterClasses(std::initializer_list<TClass> classes)
{
    for (TClass c : classes)
        RegisterClass(c);
}

void UnRegisterClass(TClass cls)
{
    if (cls == nullptr)
        return;
    auto it = Registry().find(UpperCase(cls->Name));
    if (it != Registry().end() && it->second == cls)
        Registry().erase(it);
}

void UnRegisterClasses(std::initializer_list<TClass> classes)
{
    for (TClass c : classes)
        UnRegisterClass(c);
}

TClass GetClass(std::string_view name)
{
    auto it = Registry().find(UpperCase(name));
    return it == Registry().end() ? nullptr : it->second;
}

TClass FindClass(std::string_view name)
{
    TClass cls = GetClass(name);
    if (cls == nullptr)
        throw EClassNotFound(Format("Class %s not found", {name}));
    return cls;
}

std::vector<TClass> RegisteredClasses()
{
    std::vector<TClass> out;
    for (const auto& [name, cls] : Registry())
        out.push_back(cls);
    return out;
}

TComponent* CreateComponent(TClass cls, TComponent* owner)
{
    if (cls == nullptr || cls->Construct == nullptr || !cls->InheritsFrom(TComponent::StaticClass()))
        throw EInvalidCast(Format("Class %s cannot be created as a component", {cls ? cls->Name : std::string("nil")}));
    detail::ConstructingClass = cls;
    TComponent* component = nullptr;
    try {
        component = cls->Construct(owner);
    } catch (...) {
        detail::ConstructingClass = nullptr;
        throw;
    }
    detail::ConstructingClass = nullptr;
    // A failure after the constructor (a form's stored form) leaves nothing behind.
    try {
        component->AfterConstruction();
    } catch (...) {
        component->Free();
        throw;
    }
    return component;
}

TComponent* CreateComponent(std::string_view className, TComponent* owner)
{
    return CreateComponent(FindClass(className), owner);
}

} // namespace ld
