#include "host/FormState.h"

#include <algorithm>

#include "platform/core/Collection.h"
#include "platform/core/SysUtils.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/Writer.h"

namespace ld {

namespace {

// A reader at the root's first property.
void SkipToRootProperties(TReader& reader, std::string* name)
{
    reader.ReadSignature();
    TFilerFlags flags;
    Integer childPos = 0;
    reader.ReadPrefix(flags, childPos);
    reader.ReadStr();
    const std::string rootName = reader.ReadStr();
    if (name != nullptr)
        *name = rootName;
}

// What a property that is not stored stands for.
void ResetProperty(TPersistent* instance, const TPropInfo* prop)
{
    switch (prop->Kind) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkEnumeration:
    case TTypeKind::tkBoolean:
    case TTypeKind::tkSet:
        // Without a declared default a value is left out only by a stored
        // rule of the property's own, which no value here can answer.
        if (prop->HasDefault && prop->SetOrd)
            prop->SetOrd(instance, prop->Default);
        break;
    case TTypeKind::tkString:
        if (prop->SetStr)
            prop->SetStr(instance, {});
        break;
    case TTypeKind::tkComponent:
        if (prop->SetObj)
            prop->SetObj(instance, nullptr);
        break;
    case TTypeKind::tkMethod:
        if (prop->SetMethod)
            prop->SetMethod(instance, TMethod{});
        break;
    case TTypeKind::tkClass:
        if (auto* collection = dynamic_cast<TCollection*>(prop->GetObj(instance)))
            collection->Clear();
        break;
    }
}

// Follows a dotted stored name to its property; a defined property (one no
// published property answers to) is left as it is.
void ResetStoredName(TPersistent* root, const std::string& path)
{
    TPersistent* target = root;
    size_t start = 0;
    for (;;) {
        const size_t dot = path.find('.', start);
        const TPropInfo* prop = target->ClassType()->FindProperty(path.substr(start, dot - start));
        if (prop == nullptr)
            return;
        if (dot == std::string::npos) {
            ResetProperty(target, prop);
            return;
        }
        if (prop->Kind != TTypeKind::tkClass)
            return;
        target = dynamic_cast<TPersistent*>(prop->GetObj(target));
        if (target == nullptr)
            return;
        start = dot + 1;
    }
}

// A stored form cut at its outermost components: the bytes up to the end of
// the root's own properties, and each component on the root whole.
struct TStoredPart {
    std::string Name;
    std::string_view Bytes;
};
struct TStoredForm {
    std::string_view Root;
    std::vector<TStoredPart> Parts;
    std::vector<std::string> Names; // every component, in stream order
};

TStoredForm CutStoredForm(std::string_view binary)
{
    TPointerStream stream(binary.data(), static_cast<Int64>(binary.size()));
    TReader reader(&stream);
    SkipToRootProperties(reader, nullptr);
    while (!reader.EndOfList()) {
        reader.ReadStr();
        reader.SkipValue();
    }
    reader.ReadListEnd();
    TStoredForm form;
    form.Root = binary.substr(0, static_cast<size_t>(reader.Position()));
    while (!reader.EndOfList()) {
        const size_t start = static_cast<size_t>(reader.Position());
        const size_t firstName = form.Names.size();
        SkipStoredObject(reader, &form.Names);
        const size_t end = static_cast<size_t>(reader.Position());
        form.Parts.push_back({form.Names[firstName], binary.substr(start, end - start)});
    }
    return form;
}

// The TabOrder a stored component gives itself; -1 when it stores none.
Integer StoredTabOrder(std::string_view part)
{
    TPointerStream stream(part.data(), static_cast<Int64>(part.size()));
    TReader reader(&stream);
    TFilerFlags flags;
    Integer childPos = 0;
    reader.ReadPrefix(flags, childPos);
    reader.ReadStr();
    reader.ReadStr();
    while (!reader.EndOfList()) {
        if (SameText(reader.ReadStr(), "TabOrder"))
            return reader.ReadInteger();
        reader.SkipValue();
    }
    return -1;
}

const TStoredPart* FindPart(const TStoredForm& form, const std::string& name)
{
    for (const TStoredPart& part : form.Parts)
        if (SameText(part.Name, name))
            return &part;
    return nullptr;
}

// Frees the outermost components that differ from Target and reads Target's
// ones again, then puts every component back in its place in the form's
// controls and components. False when that is no small part of the form.
bool RestoreChangedParts(TCustomForm* form, const TStoredForm& current, const TStoredForm& target)
{
    if (current.Root != target.Root)
        return false;
    std::vector<std::string> gone;
    for (const TStoredPart& part : current.Parts)
        if (const TStoredPart* other = FindPart(target, part.Name); other == nullptr || other->Bytes != part.Bytes)
            gone.push_back(part.Name);
    std::vector<const TStoredPart*> fresh;
    for (const TStoredPart& part : target.Parts)
        if (const TStoredPart* other = FindPart(current, part.Name); other == nullptr || other->Bytes != part.Bytes)
            fresh.push_back(&part);
    if (2 * (gone.size() + fresh.size()) > target.Parts.size() + current.Parts.size())
        return false;
    for (const std::string& name : gone)
        if (TComponent* c = form->FindComponent(name))
            c->Free();
    std::string list;
    for (const TStoredPart* part : fresh) {
        list.append(FilerSignature, 4);
        list.append(part->Bytes);
    }
    list.push_back(static_cast<char>(vaNull));
    TPointerStream stream(list.data(), static_cast<Int64>(list.size()));
    TReader reader(&stream);
    form->DisableAlign();
    try {
        reader.ReadComponents(form, form);
    } catch (...) {
        form->EnableAlign();
        throw;
    }
    // In the stored order: the form's controls bottom to top, its components
    // as reading the whole form would have made them. A control read into a
    // form that is not being read comes last in the tab order; its stored
    // place is taken again, lowest first, as the form sorts them when read.
    for (const TStoredPart& part : target.Parts)
        if (auto* control = dynamic_cast<TControl*>(form->FindComponent(part.Name)))
            control->BringToFront();
    std::vector<std::pair<Integer, TWinControl*>> tabOrders;
    for (const TStoredPart* part : fresh)
        if (auto* control = dynamic_cast<TWinControl*>(form->FindComponent(part->Name)))
            if (const Integer order = StoredTabOrder(part->Bytes); order >= 0)
                tabOrders.push_back({order, control});
    std::sort(tabOrders.begin(), tabOrders.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [order, control] : tabOrders)
        control->SetTabOrder(order);
    form->EnableAlign();
    for (size_t i = 0; i < target.Names.size(); ++i)
        if (TComponent* c = form->FindComponent(target.Names[i]))
            c->SetComponentIndex(static_cast<Integer>(i));
    return true;
}

} // namespace

std::string SkipStoredObject(TReader& reader, std::vector<std::string>* names)
{
    TFilerFlags flags;
    Integer childPos = 0;
    reader.ReadPrefix(flags, childPos);
    std::string className = reader.ReadStr();
    std::string name = reader.ReadStr();
    if (names != nullptr)
        names->push_back(std::move(name));
    while (!reader.EndOfList()) {
        reader.ReadStr();
        reader.SkipValue();
    }
    reader.ReadListEnd();
    while (!reader.EndOfList())
        SkipStoredObject(reader, names);
    reader.ReadListEnd();
    return className;
}

std::string StoreForm(TCustomForm* form)
{
    TStringStream binary;
    TWriter(&binary).WriteRootComponent(form);
    return binary.DataString();
}

std::string StoredRootName(std::string_view binary)
{
    TPointerStream stream(binary.data(), static_cast<Int64>(binary.size()));
    TReader reader(&stream);
    std::string name;
    SkipToRootProperties(reader, &name);
    return name;
}

std::vector<std::string> StoredRootProperties(std::string_view binary)
{
    TPointerStream stream(binary.data(), static_cast<Int64>(binary.size()));
    TReader reader(&stream);
    SkipToRootProperties(reader, nullptr);
    std::vector<std::string> names;
    while (!reader.EndOfList()) {
        names.push_back(reader.ReadStr());
        reader.SkipValue();
    }
    return names;
}

void ReadFormStream(TCustomForm* form, std::string_view binary, const std::vector<TTextMark>* marks)
{
    TPointerStream stream(binary.data(), static_cast<Int64>(binary.size()));
    TReader reader(&stream);
    reader.SetTextMarks(marks);
    reader.ReadRootComponent(form);
}

void RestoreForm(TCustomForm* form, std::string_view current, std::string_view target)
{
    if (RestoreChangedParts(form, CutStoredForm(current), CutStoredForm(target)) && StoreForm(form) == target)
        return;
    const std::vector<std::string> targetNames = StoredRootProperties(target);
    const std::string targetRoot = StoredRootName(target);
    form->DestroyComponents();
    auto stored = [&](const std::string& name) {
        return std::any_of(targetNames.begin(), targetNames.end(),
                           [&](const std::string& t) { return SameText(t, name); });
    };
    for (const std::string& name : StoredRootProperties(current))
        if (!stored(name))
            ResetStoredName(form, name);
    ReadFormStream(form, target);
    // A designed root keeps its name while it is read.
    if (!SameText(form->GetName(), targetRoot))
        form->SetName(targetRoot);
}

} // namespace ld
