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

void TPropertyEditor::SetValue(const std::string&) { throw EPropertyError("Invalid property value"); }

// The host's inspector steps through the offered values on a double-click.
void TPropertyEditor::Edit()
{
    if (!GetAttributes().Contains(paValueList))
        return;
    const std::vector<std::string> values = GetValues();
    if (values.empty())
        return;
    const std::string current = GetValue();
    size_t next = 0;
    for (size_t i = 0; i < values.size(); ++i)
        if (SameText(values[i], current))
            next = (i + 1) % values.size();
    SetValue(values[next]);
}

bool TPropertyEditor::AllEqual()
{
    for (Integer i = 1; i < GetPropCount(); ++i)
        switch (FPropInfo->Kind) {
        case TTypeKind::tkString:
            if (GetStrValueAt(i) != GetStrValueAt(0))
                return false;
            break;
        case TTypeKind::tkClass:
        case TTypeKind::tkComponent:
            if (FPropInfo->GetObj(GetComponent(i)) != FPropInfo->GetObj(GetComponent(0)))
                return false;
            break;
        case TTypeKind::tkMethod:
            if (GetMethodValueAt(i).Name != GetMethodValueAt(0).Name)
                return false;
            break;
        default:
            if (GetOrdValueAt(i) != GetOrdValueAt(0))
                return false;
        }
    return true;
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

Int64 TPropertyEditor::GetOrdValueAt(Integer index) const { return FPropInfo->GetOrd(GetComponent(index)); }

std::string TPropertyEditor::GetStrValueAt(Integer index) const { return FPropInfo->GetStr(GetComponent(index)); }

TMethod TPropertyEditor::GetMethodValueAt(Integer index) const { return FPropInfo->GetMethod(GetComponent(index)); }

void TPropertyEditor::CheckWritable() const
{
    if (!FPropInfo->IsWritable())
        throw EPropertyError(Format("Property %s is read-only", {FPropInfo->Name}));
}

void TPropertyEditor::SetOrdValues(Int64 value)
{
    CheckWritable();
    for (TPersistent* component : FComponents)
        FPropInfo->SetOrd(component, value);
    Modified();
}

void TPropertyEditor::SetStrValues(const std::string& value)
{
    CheckWritable();
    for (TPersistent* component : FComponents)
        FPropInfo->SetStr(component, value);
    Modified();
}

void TPropertyEditor::SetMethodValues(const TMethod& value)
{
    CheckWritable();
    for (TPersistent* component : FComponents)
        FPropInfo->SetMethod(component, value);
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
