#include "platform/vcl/DsgnIntf.h"

#include "platform/core/SysUtils.h"

namespace ld {

namespace {

TDesignRegistrar* CurrentRegistrar = nullptr;

TDesignRegistrar& Registrar()
{
    if (CurrentRegistrar == nullptr)
        throw EComponentError("Invalid component registration");
    return *CurrentRegistrar;
}

} // namespace

// ---- TComponentEditor -------------------------------------------------------------------

TClass TComponentEditor::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TComponentEditor>("TComponentEditor", TObject::StaticClass());
    return &info;
}

TComponentEditor::TComponentEditor(TComponent* component, TFormDesigner* designer)
    : FComponent(component), FDesigner(designer)
{
}

void TComponentEditor::Edit()
{
    if (GetVerbCount() > 0)
        ExecuteVerb(0);
}

// ---- TPropertyEditor ----------------------------------------------------------------------

const TEnumInfo& PropertyAttributeInfo()
{
    static const TEnumInfo info{"TPropertyAttribute",
                                {"paValueList", "paSubProperties", "paDialog", "paMultiSelect", "paAutoUpdate",
                                 "paSortList", "paReadOnly", "paRevertable"}};
    return info;
}

TClass TPropertyEditor::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TPropertyEditor>("TPropertyEditor", TObject::StaticClass());
    return &info;
}

TPropertyEditor::TPropertyEditor(TFormDesigner* designer, std::vector<TPersistent*> components,
                                 const TPropInfo* propInfo)
    : FDesigner(designer), FComponents(std::move(components)), FPropInfo(propInfo)
{
    if (FPropInfo == nullptr || FComponents.empty())
        throw EInvalidOperation("A property editor needs a property and at least one component");
}

TPropertyAttributes TPropertyEditor::GetAttributes() { return {paRevertable}; }

std::string TPropertyEditor::GetValue()
{
    const TObject* first = FComponents.front();
    switch (FPropInfo->Kind) {
    case TTypeKind::tkString:
        return FPropInfo->GetStr(first);
    case TTypeKind::tkBoolean:
        return FPropInfo->GetOrd(first) != 0 ? "True" : "False";
    case TTypeKind::tkEnumeration:
        return FPropInfo->EnumType->NameOf(FPropInfo->GetOrd(first));
    case TTypeKind::tkInteger: {
        const Int64 value = FPropInfo->GetOrd(first);
        std::string ident;
        if (FPropInfo->Idents && FPropInfo->Idents->IntToIdent(static_cast<Integer>(value), ident))
            return ident;
        return IntToStr(value);
    }
    case TTypeKind::tkSet: {
        const Int64 bits = FPropInfo->GetOrd(first);
        std::string text;
        for (size_t i = 0; i < FPropInfo->EnumType->Names.size() && i < 64; ++i)
            if (bits & (Int64(1) << i))
                text += (text.empty() ? "" : ",") + FPropInfo->EnumType->Names[i];
        return "[" + text + "]";
    }
    case TTypeKind::tkComponent: {
        const TObject* value = FPropInfo->GetObj(first);
        const auto* component = dynamic_cast<const TComponent*>(value);
        return component ? component->GetName() : std::string();
    }
    case TTypeKind::tkMethod:
        return FPropInfo->GetMethod(first).Name;
    case TTypeKind::tkClass:
        break;
    }
    return "(unknown)";
}

TPersistent* TPropertyEditor::GetComponent(Integer index) const
{
    if (index < 0 || index >= GetPropCount())
        throw EListError(Format("List index out of bounds (%d)", {index}));
    return FComponents[static_cast<size_t>(index)];
}

void TPropertyEditor::Modified()
{
    if (FDesigner != nullptr)
        FDesigner->Modified();
}

// ---- TClassProperty -----------------------------------------------------------------------

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

// ---- registration ---------------------------------------------------------------------------

void SetDesignRegistrar(TDesignRegistrar* registrar) { CurrentRegistrar = registrar; }

TDesignRegistrar* GetDesignRegistrar() { return CurrentRegistrar; }

void RegisterComponents(const std::string& page, std::initializer_list<TClass> classes)
{
    Registrar().RegisterComponents(page, std::vector<TClass>(classes));
}

void RegisterNoIcon(std::initializer_list<TClass> classes) { Registrar().RegisterNoIcon(std::vector<TClass>(classes)); }

void RegisterComponentEditor(TClass componentClass, const TComponentEditorClass& editor)
{
    Registrar().RegisterComponentEditor(componentClass, editor);
}

void RegisterPropertyEditor(TClass propertyType, TClass componentClass, const std::string& propertyName,
                            const TPropertyEditorClass& editor)
{
    Registrar().RegisterPropertyEditor(propertyType, componentClass, propertyName, editor);
}

} // namespace ld
