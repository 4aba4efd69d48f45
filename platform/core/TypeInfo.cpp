#include "platform/core/TypeInfo.h"

#include <map>

#include "platform/core/SysUtils.h"

namespace ld {

Integer TEnumInfo::ValueOf(std::string_view ident) const
{
    for (size_t i = 0; i < Names.size(); ++i)
        if (SameText(Names[i], ident))
            return static_cast<Integer>(i);
    return -1;
}

const std::string& TEnumInfo::NameOf(Int64 value) const
{
    static const std::string none;
    if (value < 0 || value >= static_cast<Int64>(Names.size()))
        return none;
    return Names[static_cast<size_t>(value)];
}

bool TIntegerIdents::IntToIdent(Integer value, std::string& ident) const
{
    for (const auto& [v, name] : Entries)
        if (v == value) {
            ident = name;
            return true;
        }
    return false;
}

bool TIntegerIdents::IdentToInt(std::string_view ident, Integer& value) const
{
    for (const auto& [v, name] : Entries)
        if (SameText(name, ident)) {
            value = v;
            return true;
        }
    return false;
}

namespace {
std::map<std::string, const TIntegerIdents*>& IntegerConsts()
{
    static std::map<std::string, const TIntegerIdents*> consts;
    return consts;
}
} // namespace

void RegisterIntegerConsts(const TIntegerIdents& idents) { IntegerConsts()[UpperCase(idents.TypeName)] = &idents; }

const TIntegerIdents* FindIntegerConsts(std::string_view typeName)
{
    auto it = IntegerConsts().find(UpperCase(typeName));
    return it == IntegerConsts().end() ? nullptr : it->second;
}

TPropInfo& TClassBuilderBase::Last()
{
    if (FProps.empty())
        throw EInvalidOperation("A property modifier needs a property before it");
    return FProps.back();
}

TClassInfo::TClassInfo(TClassBuilderBase& builder)
    : Name(std::move(builder.FName)), Parent(builder.FParent), Construct(builder.FConstruct),
      ConstructItem(builder.FConstructItem), OverridesNotification(builder.FOverridesNotification),
      FOwn(std::move(builder.FProps)), FMethods(std::move(builder.FMethods)),
      FFields(std::move(builder.FFields))
{
    if (Parent != nullptr)
        FProperties = Parent->FProperties;
    for (TPropInfo& p : FOwn)
        if (p.Published && p.StoredFlag && !p.StoredWhen)
            if (const TPropInfo* declared = Parent != nullptr ? Parent->FindDeclaration(p.Name) : nullptr)
                p.StoredWhen = declared->StoredWhen;
    for (const TPropInfo& p : FOwn) {
        if (!p.Published)
            continue;
        // A redeclared property (a descendant publishing it again with a new
        // default) takes its ancestor's place in the order.
        bool replaced = false;
        for (const TPropInfo*& q : FProperties)
            if (SameText(q->Name, p.Name)) {
                q = &p;
                replaced = true;
            }
        if (!replaced)
            FProperties.push_back(&p);
    }
    for (const TPropInfo* p : FProperties)
        FByName[p->Name] = p;
}

const TPropInfo* TClassInfo::FindDeclaration(std::string_view name) const
{
    for (TClass c = this; c != nullptr; c = c->Parent)
        for (const TPropInfo& p : c->FOwn)
            if (p.StoredWhen && SameText(p.Name, name))
                return &p;
    return nullptr;
}

bool TClassInfo::InheritsFrom(TClass other) const
{
    for (TClass c = this; c != nullptr; c = c->Parent)
        if (c == other)
            return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const
{
    auto it = FByName.find(name);
    if (it != FByName.end())
        return it->second;
    for (const TPropInfo* p : FProperties)
        if (SameText(p->Name, name))
            return p;
    return nullptr;
}

const TMethodEntry* TClassInfo::FindMethod(std::string_view name) const
{
    for (TClass c = this; c != nullptr; c = c->Parent)
        for (const TMethodEntry& m : c->FMethods)
            if (SameText(m.Name, name))
                return &m;
    return nullptr;
}

const TMethodEntry* TClassInfo::FindMethodByCode(const TMethodCode& code) const
{
    if (!code.Assigned())
        return nullptr;
    for (TClass c = this; c != nullptr; c = c->Parent)
        for (const TMethodEntry& m : c->FMethods)
            if (m.Code == code)
                return &m;
    return nullptr;
}

const TFieldEntry* TClassInfo::FindField(std::string_view name) const
{
    for (TClass c = this; c != nullptr; c = c->Parent)
        for (const TFieldEntry& f : c->FFields)
            if (SameText(f.Name, name))
                return &f;
    return nullptr;
}

TClass TClassInfo::FindFieldClass(std::string_view className) const
{
    for (TClass c = this; c != nullptr; c = c->Parent)
        for (const TFieldEntry& f : c->FFields)
            if (TClass fieldClass = f.FieldClassOf(); SameText(fieldClass->Name, className))
                return fieldClass;
    return nullptr;
}

} // namespace ld
