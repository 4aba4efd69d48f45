// What the loaded packages registered with the design environment: the
// component palette, the classes without an icon, the component editors and
// the property editors, and the classes they added to the class library's
// registry for streaming. Each entry remembers the module whose Register made
// it, so that unloading a package (or refusing it halfway through its
// Register) takes exactly its registrations away.
//
// Lookups apply a registration to the class it names and to its descendants; a
// registration for a nearer ancestor wins, and among registrations for the same
// class the latest.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Resources.h"
#include "platform/vcl/DsgnIntf.h"

namespace ld {

struct TPalettePage {
    std::string Name;
    // In the order of the class arrays that filled the page.
    std::vector<TClass> Classes;
};

class TDesignRegistry : public TDesignRegistrar {
public:
    // Registrations made from now on belong to Module (null: the environment's
    // own). So do the classes that enter the class registry meanwhile, by
    // RegisterComponents or by the module's own RegisterClasses, ancestors
    // included: they are recorded when the next module (or null) is set.
    void SetRegisteringModule(HMODULE module);
    HMODULE GetRegisteringModule() const { return FModule; }

    // Puts the classes on Page (made on first use, pages in order of first use)
    // and registers them for streaming. A class already on the palette stays
    // where it is. EComponentError for a class that is not a component class.
    void RegisterComponents(const std::string& page, const std::vector<TClass>& classes) override;
    void RegisterNoIcon(const std::vector<TClass>& classes) override;
    void RegisterComponentEditor(TClass componentClass, const TComponentEditorClass& editor) override;
    void RegisterPropertyEditor(TClass propertyType, TClass componentClass, const std::string& propertyName,
                                const TPropertyEditorClass& editor) override;

    // Forgets what Module registered (its palette buttons, editors and the
    // classes it registered for streaming), and any class of the module's
    // code still in the class registry, which must not outlive the module.
    void UnregisterModule(HMODULE module);

    const std::vector<TPalettePage>& GetPalette() const { return FPalette; }
    const TPalettePage* FindPage(const std::string& name) const;
    bool IsOnPalette(TClass cls) const;
    // Registered without an icon (itself or an ancestor), and not on the palette itself.
    bool IsNoIcon(TClass cls) const;

    // The editor class for a component of class Cls; Class null when none is registered.
    TComponentEditorClass FindComponentEditor(TClass cls) const;
    // The registered editor, or the base class's editor (no verbs) when there is none.
    std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* component, TFormDesigner* designer) const;

    // The editor class for property Prop of a component of class ComponentClass;
    // Class null when none is registered.
    TPropertyEditorClass FindPropertyEditor(const TPropInfo* prop, TClass componentClass) const;
    // The registered editor, else TClassProperty for object properties and
    // TPropertyEditor for the others.
    std::unique_ptr<TPropertyEditor> GetPropertyEditor(const TPropInfo* prop, std::vector<TPersistent*> components,
                                                       TFormDesigner* designer) const;

private:
    struct TComponentEditorEntry {
        TClass ComponentClass;
        TComponentEditorClass Editor;
        HMODULE Module;
    };
    struct TPropertyEditorEntry {
        TClass PropertyType;
        TClass ComponentClass;
        std::string PropertyName;
        TPropertyEditorClass Editor;
        HMODULE Module;
    };
    struct TOwnedClass {
        TClass Class;
        HMODULE Module;
    };

    static void CheckComponentClass(TClass cls);
    static Integer Distance(TClass from, TClass ancestor);
    void RecordStreamingClasses();

    HMODULE FModule = nullptr;
    // The class registry when FModule began registering, sorted.
    std::vector<TClass> FClassesBefore;
    std::vector<TOwnedClass> FStreamingClasses;
    std::vector<TPalettePage> FPalette;
    std::vector<TOwnedClass> FPaletteOwners;
    std::vector<TOwnedClass> FNoIcon;
    std::vector<TComponentEditorEntry> FComponentEditors;
    std::vector<TPropertyEditorEntry> FPropertyEditors;
};

} // namespace ld
