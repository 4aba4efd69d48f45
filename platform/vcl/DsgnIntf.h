// The design-time interfaces of the class library: what a package's design code
// derives from and calls. A component editor adds verbs to the designer's context
// menu for one selected component; a property editor edits one property of the
// selected components in the object inspector; the form designer is the design
// environment's side of one form being designed.
//
// The environment (host/) implements TFormDesigner and receives registrations
// through TDesignRegistrar. A package links only this class library, never the
// environment: its Register calls the routines below, which pass each call on to
// the registrar the environment has installed.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/vcl/Forms.h"

namespace ld {

// ---- the form designer -------------------------------------------------------------

// One form being designed, as design-time code sees it. GetForm() is the form
// (the owner of every component placed on it); Modified() marks it changed.
class TFormDesigner : public TDesigner {
public:
    // A component name made from BaseName that no component of the form uses yet.
    virtual std::string UniqueName(const std::string& baseName) = 0;
    // Makes Instance the selection, the subject of the object inspector.
    virtual void SelectComponent(TPersistent* instance) = 0;
};

// ---- component editors ---------------------------------------------------------------

// Edits one component: the designer lists GetVerb(0) .. GetVerb(GetVerbCount() - 1)
// in its context menu and calls ExecuteVerb with the chosen index; a double-click
// calls Edit.
class TComponentEditor : public TObject {
    LD_CLASS(TComponentEditor, TObject)

    TComponentEditor(TComponent* component, TFormDesigner* designer);

    TComponent* GetComponent() const { return FComponent; }
    TFormDesigner* GetDesigner() const { return FDesigner; }

    // Runs the first verb when there is one.
    virtual void Edit();
    virtual void ExecuteVerb(Integer index) {}
    virtual std::string GetVerb(Integer index) { return {}; }
    virtual Integer GetVerbCount() { return 0; }
    virtual void Copy() {}

private:
    TComponent* FComponent;
    TFormDesigner* FDesigner;
};

// A component editor class: its class record and how to make one.
struct TComponentEditorClass {
    TClass Class = nullptr;
    TComponentEditor* (*Create)(TComponent* component, TFormDesigner* designer) = nullptr;
};

template <class E>
TComponentEditorClass ComponentEditorClass()
{
    return {E::StaticClass(), [](TComponent* c, TFormDesigner* d) -> TComponentEditor* { return new E(c, d); }};
}

// ---- property editors -----------------------------------------------------------------

enum TPropertyAttribute {
    paValueList,
    paSubProperties, // the inspector offers to expand the value's own properties
    paDialog,        // the inspector shows an ellipsis button that calls Edit
    paMultiSelect,
    paAutoUpdate,
    paSortList,
    paReadOnly,
    paRevertable,
};
using TPropertyAttributes = TSet<TPropertyAttribute, uint8_t>;
const TEnumInfo& PropertyAttributeInfo();

// Edits one published property of the selected components (Components, all of a
// class that publishes it).
class TPropertyEditor : public TObject {
    LD_CLASS(TPropertyEditor, TObject)

    TPropertyEditor(TFormDesigner* designer, std::vector<TPersistent*> components, const TPropInfo* propInfo);

    virtual TPropertyAttributes GetAttributes();
    virtual void Edit() {}
    // The value as the inspector shows it.
    virtual std::string GetValue();

    const std::string& GetName() const { return FPropInfo->Name; }
    const TPropInfo* GetPropInfo() const { return FPropInfo; }
    Integer GetPropCount() const { return static_cast<Integer>(FComponents.size()); }
    // EListError for a bad index.
    TPersistent* GetComponent(Integer index) const;
    TFormDesigner* GetDesigner() const { return FDesigner; }
    // Tells the designer the form changed (nothing without a designer).
    void Modified();

private:
    TFormDesigner* FDesigner;
    std::vector<TPersistent*> FComponents;
    const TPropInfo* FPropInfo;
};

// Edits a property whose value is an owned object (a font, a collection).
class TClassProperty : public TPropertyEditor {
    LD_CLASS(TClassProperty, TPropertyEditor)

    using TPropertyEditor::TPropertyEditor;

    // Multi-select, sub-properties, read-only text.
    TPropertyAttributes GetAttributes() override;
    // "(TClassName)".
    std::string GetValue() override;
    // The property's object on the first selected component.
    TObject* GetOrdValue() const;
    // Sets Value on every selected component, then marks the form modified.
    void SetOrdValue(TObject* value);
};

struct TPropertyEditorClass {
    TClass Class = nullptr;
    TPropertyEditor* (*Create)(TFormDesigner* designer, std::vector<TPersistent*> components,
                               const TPropInfo* propInfo) = nullptr;
};

template <class E>
TPropertyEditorClass PropertyEditorClass()
{
    return {E::StaticClass(), [](TFormDesigner* d, std::vector<TPersistent*> c, const TPropInfo* p) -> TPropertyEditor* {
                return new E(d, std::move(c), p);
            }};
}

// ---- registration -----------------------------------------------------------------------

// What the design environment does with a package's registrations.
class TDesignRegistrar {
public:
    virtual ~TDesignRegistrar() = default;
    virtual void RegisterComponents(const std::string& page, const std::vector<TClass>& classes) = 0;
    virtual void RegisterNoIcon(const std::vector<TClass>& classes) = 0;
    virtual void RegisterComponentEditor(TClass componentClass, const TComponentEditorClass& editor) = 0;
    virtual void RegisterPropertyEditor(TClass propertyType, TClass componentClass, const std::string& propertyName,
                                        const TPropertyEditorClass& editor) = 0;
};

// The environment installs its registrar while it runs; null outside one.
void SetDesignRegistrar(TDesignRegistrar* registrar);
TDesignRegistrar* GetDesignRegistrar();

// The routines a package's Register calls. Outside a design environment each
// raises EComponentError "Invalid component registration".
void RegisterComponents(const std::string& page, std::initializer_list<TClass> classes);
void RegisterNoIcon(std::initializer_list<TClass> classes);
void RegisterComponentEditor(TClass componentClass, const TComponentEditorClass& editor);
// PropertyType is the class of the property's value; ComponentClass null means any
// component; PropertyName empty means any property of that type.
void RegisterPropertyEditor(TClass propertyType, TClass componentClass, const std::string& propertyName,
                           const TPropertyEditorClass& editor);

} // namespace ld
