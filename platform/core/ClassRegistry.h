// The class registry: classes a stored form may name. One registry per process
// (it lives in this shared library), so packages loaded later add to it.
#pragma once

#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/core/Component.h"

namespace ld {

// Registers a class and, as the original does, leaves an already registered class
// of the same name alone. A different class under a name already taken raises
// EFilerError "A class named %s already exists".
void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass cls);
// Forgets every class registered from a module's registration code (package unload).
void UnRegisterClasses(std::initializer_list<TClass> classes);

// Null when the name is not registered.
TClass GetClass(std::string_view name);
// EClassNotFound "Class %s not found" when the name is not registered.
TClass FindClass(std::string_view name);
std::vector<TClass> RegisteredClasses();

// Creates a component of the registered class Name owned by Owner. Raises
// EClassNotFound for an unknown name and EInvalidCast when the class is not a
// creatable component.
TComponent* CreateComponent(std::string_view className, TComponent* owner);
TComponent* CreateComponent(TClass cls, TComponent* owner);

} // namespace ld
