#include "host/DesignClipboard.h"

#include <map>

#include "host/FormState.h"
#include "platform/core/SysUtils.h"
#include "platform/stream/Reader.h"
#include "platform/stream/Stream.h"
#include "platform/stream/TextForm.h"
#include "platform/stream/Writer.h"

namespace ld {

std::string ComponentsToText(TComponent* root, const std::vector<TComponent*>& components)
{
    std::string text;
    for (TComponent* component : components) {
        TStringStream binary;
        {
            TWriter writer(&binary);
            writer.SetRoot(root);
            writer.WriteSignature();
            writer.WriteComponent(component);
        }
        text += BinaryToText(binary.DataString());
    }
    return text;
}

std::vector<std::string> TextObjectClasses(std::string_view text)
{
    const std::string list = TextToComponentList(text);
    TPointerStream stream(list.data(), static_cast<Int64>(list.size()));
    TReader reader(&stream);
    std::vector<std::string> classes;
    while (!reader.EndOfList()) {
        reader.ReadSignature();
        classes.push_back(SkipStoredObject(reader));
    }
    return classes;
}

std::vector<TComponent*> ComponentsFromText(TComponent* root, TWinControl* parent, std::string_view text,
                                            const TUniqueNameFunc& uniqueName)
{
    const std::string list = TextToComponentList(text);
    TPointerStream stream(list.data(), static_cast<Int64>(list.size()));
    TReader reader(&stream);
    std::map<std::string, std::string> renamed; // upper-case old name -> new name
    reader.OnSetName = TSetNameEvent::Lambda([&](TReader*, TComponent* component, std::string& name) {
        const TComponent* holder = name.empty() ? nullptr : root->FindComponent(name);
        if (!name.empty() && (holder == nullptr || holder == component) && !SameText(root->GetName(), name))
            return;
        const std::string fresh = uniqueName(component->ClassName());
        if (!name.empty())
            renamed[UpperCase(name)] = fresh;
        name = fresh;
    });
    reader.OnReferenceName = TReferenceNameEvent::Lambda([&](TReader*, std::string& name) {
        if (auto it = renamed.find(UpperCase(name)); it != renamed.end())
            name = it->second;
    });
    // As a form being read: the parent aligns its controls once all are there,
    // so an aligned control's stored place is not taken for a moment as its own.
    struct TAlignHold {
        TWinControl* Parent;
        explicit TAlignHold(TWinControl* parent) : Parent(parent)
        {
            if (Parent != nullptr)
                Parent->DisableAlign();
        }
        ~TAlignHold()
        {
            if (Parent != nullptr)
                Parent->EnableAlign();
        }
    } hold(parent);
    return reader.ReadComponents(root, parent);
}

} // namespace ld
