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
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/vcl/Forms.h"

namespace ld {

// ---- the form designer -------------------------------------------------------------

class TPropertyEditor;

// One form being designed, as design-time code sees it. GetForm() is the form
// (the owner of every component placed on it); Modified() marks it changed.
//
// A designed form has no code: an event handler is a name, bound to a handler
// that does nothing (CreateMethod), which the form file stores by its name.
class TFormDesigner : public TDesigner {
public:
    // A component name made from BaseName that no component of the form uses yet.
    virtual std::string UniqueName(const std::string& baseName) = 0;
    // Makes Instance the selection, the subject of the object inspector.
    virtual void SelectComponent(TPersistent* instance) = 0;
    // The editor of property Prop of Components: the one registered for it, else
    // the standard editor of its kind (CreateStandardPropertyEditor).
    virtual std::unique_ptr<TPropertyEditor> CreatePropertyEditor(const TPropInfo* prop,
                                                                  std::vector<TPersistent*> components);

    // The components the form owns whose class is Cls or descends from it, by name.
    std::vector<std::string> GetComponentNames(TClass cls) const;
    // The form itself or a component it owns, by name (any case); null when none.
    TComponent* GetComponent(const std::string& name) const;
    // The handler Name for the event Prop: bound to nothing, keeping its name.
    TMethod CreateMethod(const std::string& name, const TPropInfo* event) const;
    // The handler names bound on the form (the form's events and its
    // components') to events of Event's signature, by name; every name when Event is null.
    std::vector<std::string> GetMethods(const TPropInfo* event) const;
    // The signature of the events Name is bound to on the form, null when it is bound to none.
    const std::type_info* MethodSignature(const std::string& name) const;
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

// The editor of a component that has none registered. It has no verbs; a
// double-click edits the component's Items when it publishes an object
// property of that name, else names a handler for its OnCreate, OnChange or
// OnClick (the first of them it has), else for its first event.
class TDefaultEditor : public TComponentEditor {
    LD_CLASS(TDefaultEditor, TComponentEditor)
    using TComponentEditor::TComponentEditor;
    void Edit() override;
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
    paValueList,     // GetValues offers the values in a drop-down list
    paSubProperties, // the inspector offers to expand the value's own properties
    paDialog,        // the inspector shows an ellipsis button that calls Edit
    paMultiSelect,   // shown when several components are selected
    paAutoUpdate,
    paSortList,      // the drop-down list is sorted
    paReadOnly,      // the value is not typed in
    paRevertable,
};
using TPropertyAttributes = TSet<TPropertyAttribute, uint8_t>;
const TEnumInfo& PropertyAttributeInfo();

// A value a property editor refuses ("Invalid property value").
class EPropertyError : public Exception {
public:
    explicit EPropertyError(std::string message) : Exception(std::move(message)) {}
};

// Edits one published property of the selected components (Components, all of a
// class that publishes it). The object inspector shows GetName and GetValue,
// stores typed text with SetValue, offers GetValues in a drop-down list,
// expands GetProperties, and calls Edit for a double-click or the ellipsis.
// Every change goes to all the components and then marks the form modified.
class TPropertyEditor : public TObject {
    LD_CLASS(TPropertyEditor, TObject)

    TPropertyEditor(TFormDesigner* designer, std::vector<TPersistent*> components, const TPropInfo* propInfo);

    virtual TPropertyAttributes GetAttributes();
    // The value as the inspector shows it.
    virtual std::string GetValue();
    // The value from its text. EPropertyError (or the conversion's own error)
    // for text the property cannot take; nothing changes then.
    virtual void SetValue(const std::string& value);
    // The values the drop-down list offers (paValueList).
    virtual std::vector<std::string> GetValues() { return {}; }
    // The editors of the value's own properties (paSubProperties).
    virtual std::vector<std::unique_ptr<TPropertyEditor>> GetProperties() { return {}; }
    // A double-click on the value: the next of GetValues, after the last the first.
    virtual void Edit();
    // Whether the components all have the same value (the inspector shows
    // an empty value when they do not).
    virtual bool AllEqual();
    // The row's name in the inspector.
    virtual std::string GetName() const { return FPropInfo->Name; }

    const TPropInfo* GetPropInfo() const { return FPropInfo; }
    Integer GetPropCount() const { return static_cast<Integer>(FComponents.size()); }
    // EListError for a bad index.
    TPersistent* GetComponent(Integer index) const;
    const std::vector<TPersistent*>& GetComponents() const { return FComponents; }
    TFormDesigner* GetDesigner() const { return FDesigner; }
    // Tells the designer the form changed (nothing without a designer).
    void Modified();

protected:
    // The value on component Index.
    Int64 GetOrdValueAt(Integer index) const;
    std::string GetStrValueAt(Integer index) const;
    TMethod GetMethodValueAt(Integer index) const;
    // Sets the value on every component, then marks the form modified.
    void SetOrdValues(Int64 value);
    void SetStrValues(const std::string& value);
    void SetMethodValues(const TMethod& value);
    // EPropertyError when the property has no setter.
    void CheckWritable() const;

private:
    TFormDesigner* FDesigner;
    std::vector<TPersistent*> FComponents;
    const TPropInfo* FPropInfo;
};

// An integer; with named values (a cursor, a charset) the name is shown and
// the names are offered, and a name or a number is taken.
class TIntegerProperty : public TPropertyEditor {
    LD_CLASS(TIntegerProperty, TPropertyEditor)
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    std::string GetValue() override;
    void SetValue(const std::string& value) override;
    std::vector<std::string> GetValues() override;
};

// A colour: its name, else "$" and eight hex digits ($00BBGGRR).
class TColorProperty : public TIntegerProperty {
    LD_CLASS(TColorProperty, TIntegerProperty)
    using TIntegerProperty::TIntegerProperty;
    std::string GetValue() override;
};

// An enumeration or a Boolean: one of its names, chosen from the sorted list.
class TEnumProperty : public TPropertyEditor {
    LD_CLASS(TEnumProperty, TPropertyEditor)
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    std::string GetValue() override;
    void SetValue(const std::string& value) override;
    std::vector<std::string> GetValues() override;
};

// A set, "[a,b]": expanded, one True/False row per element of its type.
class TSetProperty : public TPropertyEditor {
    LD_CLASS(TSetProperty, TPropertyEditor)
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    std::vector<std::unique_ptr<TPropertyEditor>> GetProperties() override;
};

// One element of a set: True when the set holds it.
class TSetElementProperty : public TPropertyEditor {
    LD_CLASS(TSetElementProperty, TPropertyEditor)
    TSetElementProperty(TFormDesigner* designer, std::vector<TPersistent*> components, const TPropInfo* propInfo,
                        Integer element);
    TPropertyAttributes GetAttributes() override;
    std::string GetValue() override;
    // "True" (any case) puts the element in, anything else takes it out.
    void SetValue(const std::string& value) override;
    std::vector<std::string> GetValues() override;
    bool AllEqual() override;
    std::string GetName() const override;
    Integer GetElement() const { return FElement; }

private:
    Integer FElement;
};

// Text, stored as typed.
class TStringProperty : public TPropertyEditor {
    LD_CLASS(TStringProperty, TPropertyEditor)
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    void SetValue(const std::string& value) override;
};

// A component's Name: one component at a time, never empty.
class TComponentNameProperty : public TStringProperty {
    LD_CLASS(TComponentNameProperty, TStringProperty)
    using TStringProperty::TStringProperty;
    TPropertyAttributes GetAttributes() override;
    void SetValue(const std::string& value) override;
};

// Edits a property whose value is an owned object (a font, a collection): its
// published properties are its sub-properties.
class TClassProperty : public TPropertyEditor {
    LD_CLASS(TClassProperty, TPropertyEditor)

    using TPropertyEditor::TPropertyEditor;

    // Multi-select, sub-properties, read-only text.
    TPropertyAttributes GetAttributes() override;
    // "(TClassName)".
    std::string GetValue() override;
    std::vector<std::unique_ptr<TPropertyEditor>> GetProperties() override;
    bool AllEqual() override { return true; }
    // The property's object on the first selected component.
    TObject* GetOrdValue() const;
    // Sets Value on every selected component, then marks the form modified.
    void SetOrdValue(TObject* value);
};

// A reference to another component of the form, chosen by name from those of
// a fitting class; empty for none.
class TComponentProperty : public TPropertyEditor {
    LD_CLASS(TComponentProperty, TPropertyEditor)
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    void SetValue(const std::string& value) override;
    std::vector<std::string> GetValues() override;
};

// An event: the name of its handler. A name is an identifier not bound to an
// event of another signature; empty takes the handler away. A double-click on
// an empty value names a new handler after the component and the event
// (ShortcutList1Click; the form's own events FormCreate, as its class is TForm).
class TMethodProperty : public TPropertyEditor {
    LD_CLASS(TMethodProperty, TPropertyEditor)
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() override;
    std::string GetValue() override;
    void SetValue(const std::string& value) override;
    std::vector<std::string> GetValues() override;
    void Edit() override;
    // The name a double-click gives an empty value.
    std::string ProposedName() const;
};

// The standard editor of a property's kind: what the inspector uses when no
// editor is registered for the property.
std::unique_ptr<TPropertyEditor> CreateStandardPropertyEditor(TFormDesigner* designer,
                                                              std::vector<TPersistent*> components,
                                                              const TPropInfo* prop);

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
