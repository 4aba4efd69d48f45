// The standard property editors, one per kind of published property, and the
// form designer's services they rely on: the form's components by name and the
// handler names bound on the form.
#include <algorithm>
#include <array>

#include "platform/core/SysUtils.h"
#include "platform/vcl/DsgnIntf.h"

namespace ld {

namespace {

const char* const InvalidPropertyValue = "Invalid property value";

void SortByName(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    names.erase(std::unique(names.begin(), names.end(),
                            [](const std::string& a, const std::string& b) { return SameText(a, b); }),
                names.end());
}

// Calls Visit(prop, method) for every event of the form and of its components
// that has a handler.
template <class F>
void ForEachHandler(TCustomForm* form, F visit)
{
    if (form == nullptr)
        return;
    auto visitComponent = [&](TComponent* component) {
        for (const TPropInfo* prop : component->ClassType()->Properties())
            if (prop->Kind == TTypeKind::tkMethod) {
                const TMethod method = prop->GetMethod(component);
                if (method.Assigned() && !method.Name.empty())
                    visit(prop, method);
            }
    };
    visitComponent(form);
    for (Integer i = 0; i < form->ComponentCount(); ++i)
        visitComponent(form->Components(i));
}

} // namespace

// ---- TFormDesigner -----------------------------------------------------------------------

std::unique_ptr<TPropertyEditor> TFormDesigner::CreatePropertyEditor(const TPropInfo* prop,
                                                                     std::vector<TPersistent*> components)
{
    return CreateStandardPropertyEditor(this, std::move(components), prop);
}

std::vector<std::string> TFormDesigner::GetComponentNames(TClass cls) const
{
    std::vector<std::string> names;
    TCustomForm* form = GetForm();
    if (form == nullptr || cls == nullptr)
        return names;
    for (Integer i = 0; i < form->ComponentCount(); ++i) {
        TComponent* component = form->Components(i);
        if (!component->GetName().empty() && component->InheritsFrom(cls))
            names.push_back(component->GetName());
    }
    SortByName(names);
    return names;
}

TComponent* TFormDesigner::GetComponent(const std::string& name) const
{
    TCustomForm* form = GetForm();
    if (form == nullptr || name.empty())
        return nullptr;
    if (SameText(form->GetName(), name))
        return form;
    return form->FindComponent(name);
}

TMethod TFormDesigner::CreateMethod(const std::string& name, const TPropInfo* event) const
{
    TMethod method;
    method.Data = GetForm();
    method.Code = event->NoHandler;
    method.Name = name;
    return method;
}

std::vector<std::string> TFormDesigner::GetMethods(const TPropInfo* event) const
{
    std::vector<std::string> names;
    ForEachHandler(GetForm(), [&](const TPropInfo* prop, const TMethod& method) {
        if (event == nullptr || *prop->EventSignature == *event->EventSignature)
            names.push_back(method.Name);
    });
    SortByName(names);
    return names;
}

const std::type_info* TFormDesigner::MethodSignature(const std::string& name) const
{
    const std::type_info* signature = nullptr;
    ForEachHandler(GetForm(), [&](const TPropInfo* prop, const TMethod& method) {
        if (signature == nullptr && SameText(method.Name, name))
            signature = prop->EventSignature;
    });
    return signature;
}

// ---- integers and colours ----------------------------------------------------------------

TClass TIntegerProperty::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TIntegerProperty>("TIntegerProperty", TPropertyEditor::StaticClass());
    return &info;
}

TPropertyAttributes TIntegerProperty::GetAttributes()
{
    TPropertyAttributes attributes{paMultiSelect, paRevertable};
    if (GetPropInfo()->Idents != nullptr)
        attributes.Include(paValueList);
    return attributes;
}

std::string TIntegerProperty::GetValue()
{
    const Integer value = static_cast<Integer>(GetOrdValueAt(0));
    std::string ident;
    if (GetPropInfo()->Idents != nullptr && GetPropInfo()->Idents->IntToIdent(value, ident))
        return ident;
    return IntToStr(value);
}

// A name of the type, else a number ("$" for hex); the number's own message otherwise.
void TIntegerProperty::SetValue(const std::string& value)
{
    Integer number = 0;
    if (GetPropInfo()->Idents == nullptr || !GetPropInfo()->Idents->IdentToInt(value, number))
        number = StrToInt(value);
    SetOrdValues(number);
}

std::vector<std::string> TIntegerProperty::GetValues()
{
    std::vector<std::string> names;
    if (GetPropInfo()->Idents != nullptr)
        for (const auto& entry : GetPropInfo()->Idents->Entries)
            names.push_back(entry.second);
    return names;
}

TClass TColorProperty::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TColorProperty>("TColorProperty", TIntegerProperty::StaticClass());
    return &info;
}

std::string TColorProperty::GetValue()
{
    const Integer value = static_cast<Integer>(GetOrdValueAt(0));
    std::string ident;
    if (GetPropInfo()->Idents != nullptr && GetPropInfo()->Idents->IntToIdent(value, ident))
        return ident;
    return "$" + IntToHex(static_cast<uint32_t>(value), 8);
}

// ---- enumerations and sets ---------------------------------------------------------------

TClass TEnumProperty::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TEnumProperty>("TEnumProperty", TPropertyEditor::StaticClass());
    return &info;
}

TPropertyAttributes TEnumProperty::GetAttributes() { return {paMultiSelect, paValueList, paSortList, paRevertable}; }

std::string TEnumProperty::GetValue()
{
    const Int64 value = GetOrdValueAt(0);
    if (GetPropInfo()->Kind == TTypeKind::tkBoolean)
        return value != 0 ? "True" : "False";
    return GetPropInfo()->EnumType->NameOf(value);
}

void TEnumProperty::SetValue(const std::string& value)
{
    Integer ordinal = -1;
    if (GetPropInfo()->Kind == TTypeKind::tkBoolean)
        ordinal = SameText(value, "True") ? 1 : SameText(value, "False") ? 0 : -1;
    else
        ordinal = GetPropInfo()->EnumType->ValueOf(value);
    if (ordinal < 0)
        throw EPropertyError(InvalidPropertyValue);
    SetOrdValues(ordinal);
}

std::vector<std::string> TEnumProperty::GetValues()
{
    if (GetPropInfo()->Kind == TTypeKind::tkBoolean)
        return {"False", "True"};
    return GetPropInfo()->EnumType->Names;
}

TClass TSetProperty::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TSetProperty>("TSetProperty", TPropertyEditor::StaticClass());
    return &info;
}

TPropertyAttributes TSetProperty::GetAttributes() { return {paMultiSelect, paSubProperties, paReadOnly, paRevertable}; }

std::vector<std::unique_ptr<TPropertyEditor>> TSetProperty::GetProperties()
{
    std::vector<std::unique_ptr<TPropertyEditor>> elements;
    const size_t count = std::min<size_t>(GetPropInfo()->EnumType->Names.size(), 64);
    for (size_t i = 0; i < count; ++i)
        elements.push_back(std::make_unique<TSetElementProperty>(GetDesigner(), GetComponents(), GetPropInfo(),
                                                                 static_cast<Integer>(i)));
    return elements;
}

TClass TSetElementProperty::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TSetElementProperty>("TSetElementProperty", TPropertyEditor::StaticClass()).Abstract();
    return &info;
}

TSetElementProperty::TSetElementProperty(TFormDesigner* designer, std::vector<TPersistent*> components,
                                         const TPropInfo* propInfo, Integer element)
    : TPropertyEditor(designer, std::move(components), propInfo), FElement(element)
{
}

TPropertyAttributes TSetElementProperty::GetAttributes() { return {paMultiSelect, paValueList, paSortList}; }

std::string TSetElementProperty::GetName() const { return GetPropInfo()->EnumType->NameOf(FElement); }

std::string TSetElementProperty::GetValue() { return (GetOrdValueAt(0) >> FElement) & 1 ? "True" : "False"; }

// Each component keeps its other elements.
void TSetElementProperty::SetValue(const std::string& value)
{
    CheckWritable();
    const Int64 bit = Int64(1) << FElement;
    const bool include = SameText(value, "True");
    for (Integer i = 0; i < GetPropCount(); ++i) {
        const Int64 bits = GetOrdValueAt(i);
        GetPropInfo()->SetOrd(GetComponent(i), include ? bits | bit : bits & ~bit);
    }
    Modified();
}

std::vector<std::string> TSetElementProperty::GetValues() { return {"False", "True"}; }

bool TSetElementProperty::AllEqual()
{
    for (Integer i = 1; i < GetPropCount(); ++i)
        if (((GetOrdValueAt(i) ^ GetOrdValueAt(0)) >> FElement) & 1)
            return false;
    return true;
}

// ---- strings and names -------------------------------------------------------------------

TClass TStringProperty::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TStringProperty>("TStringProperty", TPropertyEditor::StaticClass());
    return &info;
}

TPropertyAttributes TStringProperty::GetAttributes() { return {paMultiSelect, paRevertable}; }

void TStringProperty::SetValue(const std::string& value) { SetStrValues(value); }

TClass TComponentNameProperty::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TComponentNameProperty>("TComponentNameProperty", TStringProperty::StaticClass());
    return &info;
}

TPropertyAttributes TComponentNameProperty::GetAttributes() { return {}; }

// A designed component must keep a name: the form file and every reference to it go by it.
void TComponentNameProperty::SetValue(const std::string& value)
{
    if (value.empty())
        throw EComponentError("'' is not a valid component name");
    TStringProperty::SetValue(value);
}

// ---- objects and references --------------------------------------------------------------

TClass TClassProperty::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TClassProperty>("TClassProperty", TPropertyEditor::StaticClass());
    return &info;
}

TPropertyAttributes TClassProperty::GetAttributes() { return {paMultiSelect, paSubProperties, paReadOnly}; }

std::string TClassProperty::GetValue()
{
    const TClass cls = GetPropInfo()->PropClass();
    return "(" + (cls ? cls->Name : std::string("TObject")) + ")";
}

std::vector<std::unique_ptr<TPropertyEditor>> TClassProperty::GetProperties()
{
    std::vector<std::unique_ptr<TPropertyEditor>> editors;
    if (!GetPropInfo()->GetObj)
        return editors;
    std::vector<TPersistent*> objects;
    for (TPersistent* component : GetComponents()) {
        auto* object = dynamic_cast<TPersistent*>(GetPropInfo()->GetObj(component));
        if (object == nullptr)
            return editors;
        objects.push_back(object);
    }
    for (const TPropInfo* prop : objects.front()->ClassType()->Properties()) {
        if (GetDesigner() != nullptr)
            editors.push_back(GetDesigner()->CreatePropertyEditor(prop, objects));
        else
            editors.push_back(CreateStandardPropertyEditor(nullptr, objects, prop));
    }
    return editors;
}

TObject* TClassProperty::GetOrdValue() const
{
    const TPropInfo* prop = GetPropInfo();
    if (!prop->GetObj)
        throw EInvalidOperation(Format("Property %s holds no object", {prop->Name}));
    return prop->GetObj(GetComponent(0));
}

void TClassProperty::SetOrdValue(TObject* value)
{
    const TPropInfo* prop = GetPropInfo();
    if (!prop->SetObj)
        throw EInvalidOperation(Format("Property %s is read-only", {prop->Name}));
    for (Integer i = 0; i < GetPropCount(); ++i)
        prop->SetObj(GetComponent(i), value);
    Modified();
}

TClass TComponentProperty::StaticClass()
{
    static const TClassInfo info =
        TClassBuilder<TComponentProperty>("TComponentProperty", TPropertyEditor::StaticClass());
    return &info;
}

TPropertyAttributes TComponentProperty::GetAttributes()
{
    return {paMultiSelect, paValueList, paSortList, paRevertable};
}

void TComponentProperty::SetValue(const std::string& value)
{
    CheckWritable();
    TComponent* component = nullptr;
    if (!value.empty()) {
        component = GetDesigner() != nullptr ? GetDesigner()->GetComponent(value) : nullptr;
        if (component == nullptr || !component->InheritsFrom(GetPropInfo()->PropClass()))
            throw EPropertyError(InvalidPropertyValue);
    }
    for (TPersistent* instance : GetComponents())
        GetPropInfo()->SetObj(instance, component);
    Modified();
}

std::vector<std::string> TComponentProperty::GetValues()
{
    if (GetDesigner() == nullptr)
        return {};
    return GetDesigner()->GetComponentNames(GetPropInfo()->PropClass());
}

// ---- events ------------------------------------------------------------------------------

TClass TMethodProperty::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TMethodProperty>("TMethodProperty", TPropertyEditor::StaticClass());
    return &info;
}

TPropertyAttributes TMethodProperty::GetAttributes() { return {paMultiSelect, paValueList, paSortList, paRevertable}; }

std::string TMethodProperty::GetValue() { return GetMethodValueAt(0).Name; }

// A name already bound on the form keeps the spelling it has there; one bound to
// events of another signature cannot serve this one.
void TMethodProperty::SetValue(const std::string& value)
{
    CheckWritable();
    if (value.empty()) {
        SetMethodValues(TMethod{});
        return;
    }
    if (GetDesigner() == nullptr || !IsValidIdent(value))
        throw EPropertyError(InvalidPropertyValue);
    const std::type_info* signature = GetDesigner()->MethodSignature(value);
    if (signature != nullptr && *signature != *GetPropInfo()->EventSignature)
        throw EPropertyError(InvalidPropertyValue);
    std::string name = value;
    for (const std::string& bound : GetDesigner()->GetMethods(GetPropInfo()))
        if (SameText(bound, value))
            name = bound;
    SetMethodValues(GetDesigner()->CreateMethod(name, GetPropInfo()));
}

std::vector<std::string> TMethodProperty::GetValues()
{
    if (GetDesigner() == nullptr)
        return {};
    return GetDesigner()->GetMethods(GetPropInfo());
}

// The form's own handlers are named after its class without the T; another
// component's after its name. A name bound to events of another signature
// gets the lowest number from 1 that frees it.
std::string TMethodProperty::ProposedName() const
{
    TPersistent* subject = GetComponent(0);
    std::string base;
    if (GetDesigner() != nullptr && subject == GetDesigner()->GetForm()) {
        base = subject->ClassName();
        if (base.size() > 1 && (base[0] == 'T' || base[0] == 't'))
            base.erase(0, 1);
    } else {
        for (char c : subject->GetNamePath())
            if (c != '.' && c != '[' && c != ']')
                base += c;
    }
    if (base.empty())
        throw EPropertyError("Cannot create a method for an unnamed component");
    std::string event = GetPropInfo()->Name;
    if (event.size() > 2 && SameText(event.substr(0, 2), "On"))
        event.erase(0, 2);
    const std::string name = base + event;
    if (GetDesigner() == nullptr)
        return name;
    for (Integer n = 0;; ++n) {
        const std::string candidate = n == 0 ? name : name + IntToStr(n);
        const std::type_info* signature = GetDesigner()->MethodSignature(candidate);
        if (signature == nullptr || *signature == *GetPropInfo()->EventSignature)
            return candidate;
    }
}

// The host opens the handler's code here; a designed form has none, so a
// double-click only names a handler for an event that has none.
void TMethodProperty::Edit()
{
    if (GetValue().empty())
        SetValue(ProposedName());
}

// ---- the default component editor -------------------------------------------------------

TClass TDefaultEditor::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TDefaultEditor>("TDefaultEditor", TComponentEditor::StaticClass());
    return &info;
}

void TDefaultEditor::Edit()
{
    TFormDesigner* designer = GetDesigner();
    if (designer == nullptr)
        return;
    const TPropInfo* best = nullptr;
    Integer bestRank = 4; // OnCreate 0, OnChange 1, OnClick 2, any other event 3
    for (const TPropInfo* prop : GetComponent()->ClassType()->Properties()) {
        if (prop->Kind == TTypeKind::tkClass && SameText(prop->Name, "Items")) {
            designer->CreatePropertyEditor(prop, {GetComponent()})->Edit();
            return;
        }
        if (prop->Kind != TTypeKind::tkMethod)
            continue;
        Integer rank = 3;
        for (Integer i = 0; i < 3; ++i)
            if (SameText(prop->Name, std::array<const char*, 3>{"OnCreate", "OnChange", "OnClick"}[i]))
                rank = i;
        if (rank < bestRank) {
            best = prop;
            bestRank = rank;
        }
    }
    if (best != nullptr)
        designer->CreatePropertyEditor(best, {GetComponent()})->Edit();
}

// ---- the standard editor of a kind -------------------------------------------------------

std::unique_ptr<TPropertyEditor> CreateStandardPropertyEditor(TFormDesigner* designer,
                                                              std::vector<TPersistent*> components,
                                                              const TPropInfo* prop)
{
    switch (prop->Kind) {
    case TTypeKind::tkInteger:
        if (prop->Idents != nullptr && prop->Idents->TypeName == "TColor")
            return std::make_unique<TColorProperty>(designer, std::move(components), prop);
        return std::make_unique<TIntegerProperty>(designer, std::move(components), prop);
    case TTypeKind::tkEnumeration:
    case TTypeKind::tkBoolean:
        return std::make_unique<TEnumProperty>(designer, std::move(components), prop);
    case TTypeKind::tkSet:
        return std::make_unique<TSetProperty>(designer, std::move(components), prop);
    case TTypeKind::tkString:
        if (prop->Name == "Name" && !components.empty() && dynamic_cast<TComponent*>(components.front()))
            return std::make_unique<TComponentNameProperty>(designer, std::move(components), prop);
        return std::make_unique<TStringProperty>(designer, std::move(components), prop);
    case TTypeKind::tkClass:
        return std::make_unique<TClassProperty>(designer, std::move(components), prop);
    case TTypeKind::tkComponent:
        return std::make_unique<TComponentProperty>(designer, std::move(components), prop);
    case TTypeKind::tkMethod:
        return std::make_unique<TMethodProperty>(designer, std::move(components), prop);
    }
    return std::make_unique<TPropertyEditor>(designer, std::move(components), prop);
}

} // namespace ld
