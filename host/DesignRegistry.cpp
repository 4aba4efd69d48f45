#include "host/DesignRegistry.h"

#include <algorithm>

#include "platform/core/ClassRegistry.h"
#include "platform/core/SysUtils.h"

namespace ld {

// Steps from From up to Ancestor, -1 when Ancestor is not one of them.
Integer TDesignRegistry::Distance(TClass from, TClass ancestor)
{
    Integer steps = 0;
    for (TClass c = from; c != nullptr; c = c->Parent, ++steps)
        if (c == ancestor)
            return steps;
    return -1;
}

void TDesignRegistry::CheckComponentClass(TClass cls)
{
    if (cls == nullptr || !cls->InheritsFrom(TComponent::StaticClass()))
        throw EComponentError("Invalid component registration");
}

// ---- registration -------------------------------------------------------------------------

void TDesignRegistry::SetRegisteringModule(HMODULE module)
{
    RecordStreamingClasses();
    FModule = module;
    FClassesBefore = RegisteredClasses();
    std::sort(FClassesBefore.begin(), FClassesBefore.end());
}

void TDesignRegistry::RecordStreamingClasses()
{
    if (FModule == nullptr)
        return; // the environment's own stay
    for (TClass cls : RegisteredClasses())
        if (!std::binary_search(FClassesBefore.begin(), FClassesBefore.end(), cls))
            FStreamingClasses.push_back({cls, FModule});
    FClassesBefore.clear();
}

void TDesignRegistry::RegisterComponents(const std::string& page, const std::vector<TClass>& classes)
{
    if (Trim(page).empty())
        throw EComponentError("Invalid component registration");
    for (TClass cls : classes)
        CheckComponentClass(cls);
    auto it = std::find_if(FPalette.begin(), FPalette.end(), [&](const TPalettePage& p) { return SameText(p.Name, page); });
    if (it == FPalette.end())
        it = FPalette.insert(FPalette.end(), TPalettePage{page, {}});
    for (TClass cls : classes) {
        if (IsOnPalette(cls))
            continue;
        // A placed component must load again from the form file.
        RegisterClass(cls);
        it->Classes.push_back(cls);
        FPaletteOwners.push_back({cls, FModule});
    }
}

void TDesignRegistry::RegisterNoIcon(const std::vector<TClass>& classes)
{
    for (TClass cls : classes)
        CheckComponentClass(cls);
    for (TClass cls : classes)
        FNoIcon.push_back({cls, FModule});
}

void TDesignRegistry::RegisterComponentEditor(TClass componentClass, const TComponentEditorClass& editor)
{
    CheckComponentClass(componentClass);
    if (editor.Class == nullptr || editor.Create == nullptr)
        throw EComponentError("Invalid component editor registration");
    FComponentEditors.push_back({componentClass, editor, FModule});
}

void TDesignRegistry::RegisterPropertyEditor(TClass propertyType, TClass componentClass,
                                             const std::string& propertyName, const TPropertyEditorClass& editor)
{
    if (propertyType == nullptr || editor.Class == nullptr || editor.Create == nullptr)
        throw EComponentError("Invalid property editor registration");
    if (componentClass != nullptr)
        CheckComponentClass(componentClass);
    FPropertyEditors.push_back({propertyType, componentClass, propertyName, editor, FModule});
}

void TDesignRegistry::UnregisterModule(HMODULE module)
{
    for (TPalettePage& page : FPalette)
        std::erase_if(page.Classes, [&](TClass cls) {
            return std::any_of(FPaletteOwners.begin(), FPaletteOwners.end(),
                               [&](const TOwnedClass& o) { return o.Class == cls && o.Module == module; });
        });
    std::erase_if(FPalette, [](const TPalettePage& page) { return page.Classes.empty(); });
    std::erase_if(FPaletteOwners, [&](const TOwnedClass& o) { return o.Module == module; });
    std::erase_if(FNoIcon, [&](const TOwnedClass& o) { return o.Module == module; });
    std::erase_if(FComponentEditors, [&](const TComponentEditorEntry& e) { return e.Module == module; });
    std::erase_if(FPropertyEditors, [&](const TPropertyEditorEntry& e) { return e.Module == module; });
    if (module != nullptr && module == FModule)
        SetRegisteringModule(nullptr); // what it registered so far is recorded, and goes
    for (const TOwnedClass& o : FStreamingClasses)
        if (o.Module == module)
            UnRegisterClass(o.Class);
    std::erase_if(FStreamingClasses, [&](const TOwnedClass& o) { return o.Module == module; });
    // The stream system must not keep class records that go away with the
    // module, however they came there.
    if (module != nullptr)
        for (TClass cls : RegisteredClasses())
            if (ModuleOf(cls) == module)
                UnRegisterClass(cls);
}

// ---- lookups --------------------------------------------------------------------------------

const TPalettePage* TDesignRegistry::FindPage(const std::string& name) const
{
    for (const TPalettePage& page : FPalette)
        if (SameText(page.Name, name))
            return &page;
    return nullptr;
}

bool TDesignRegistry::IsOnPalette(TClass cls) const
{
    return std::any_of(FPaletteOwners.begin(), FPaletteOwners.end(), [&](const TOwnedClass& o) { return o.Class == cls; });
}

bool TDesignRegistry::IsNoIcon(TClass cls) const
{
    if (IsOnPalette(cls))
        return false;
    return std::any_of(FNoIcon.begin(), FNoIcon.end(), [&](const TOwnedClass& o) { return cls->InheritsFrom(o.Class); });
}

TComponentEditorClass TDesignRegistry::FindComponentEditor(TClass cls) const
{
    const TComponentEditorEntry* best = nullptr;
    Integer bestDistance = -1;
    for (const TComponentEditorEntry& e : FComponentEditors) {
        const Integer d = Distance(cls, e.ComponentClass);
        if (d >= 0 && (best == nullptr || d <= bestDistance)) {
            best = &e;
            bestDistance = d;
        }
    }
    return best ? best->Editor : TComponentEditorClass{};
}

std::unique_ptr<TComponentEditor> TDesignRegistry::GetComponentEditor(TComponent* component,
                                                                      TFormDesigner* designer) const
{
    const TComponentEditorClass editor = FindComponentEditor(component->ClassType());
    if (editor.Create == nullptr)
        return std::make_unique<TComponentEditor>(component, designer);
    return std::unique_ptr<TComponentEditor>(editor.Create(component, designer));
}

// A registration matches a property when the property's class descends from
// its type, the component's class from its component class (if any) and the
// name is its name (if any). The nearer property type wins, then the nearer
// component class, then the latest.
TPropertyEditorClass TDesignRegistry::FindPropertyEditor(const TPropInfo* prop, TClass componentClass) const
{
    const TClass propClass = prop->PropClass();
    if (propClass == nullptr)
        return {};
    const TPropertyEditorEntry* best = nullptr;
    Integer bestType = -1, bestComponent = -1;
    for (const TPropertyEditorEntry& e : FPropertyEditors) {
        const Integer typeDistance = Distance(propClass, e.PropertyType);
        if (typeDistance < 0)
            continue;
        Integer componentDistance = 1 << 20; // any component: the farthest
        if (e.ComponentClass != nullptr) {
            componentDistance = Distance(componentClass, e.ComponentClass);
            if (componentDistance < 0)
                continue;
        }
        if (!e.PropertyName.empty() && !SameText(e.PropertyName, prop->Name))
            continue;
        if (best == nullptr || typeDistance < bestType ||
            (typeDistance == bestType && componentDistance <= bestComponent)) {
            best = &e;
            bestType = typeDistance;
            bestComponent = componentDistance;
        }
    }
    return best ? best->Editor : TPropertyEditorClass{};
}

std::unique_ptr<TPropertyEditor> TDesignRegistry::GetPropertyEditor(const TPropInfo* prop,
                                                                    std::vector<TPersistent*> components,
                                                                    TFormDesigner* designer) const
{
    if (components.empty())
        throw EInvalidOperation("A property editor needs at least one component");
    const TPropertyEditorClass editor = FindPropertyEditor(prop, components.front()->ClassType());
    if (editor.Create != nullptr)
        return std::unique_ptr<TPropertyEditor>(editor.Create(designer, std::move(components), prop));
    if (prop->Kind == TTypeKind::tkClass)
        return std::make_unique<TClassProperty>(designer, std::move(components), prop);
    return std::make_unique<TPropertyEditor>(designer, std::move(components), prop);
}

} // namespace ld
