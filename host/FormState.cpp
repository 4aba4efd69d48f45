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

} // namespace

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
    const std::vector<std::string> targetNames = StoredRootProperties(target);
    const std::string targetRoot = StoredRootName(target);
    form->DestroyComponents();
    auto stored = [&](const std::string& name) {
        return std::any_of(targetNames.begin(), targetNames.end(), [&](const std::string& t) { return SameText(t, name); });
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
