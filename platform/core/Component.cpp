#include "platform/core/Component.h"

#include <algorithm>

#include "platform/core/FilerHooks.h"
#include "platform/core/SysUtils.h"

namespace ld {

const TEnumInfo& ComponentStateInfo()
{
    static const TEnumInfo info{"TComponentState",
                                {"csLoading", "csReading", "csWriting", "csDestroying", "csDesigning", "csAncestor",
                                 "csUpdating", "csFixups", "csFreeNotification", "csInline", "csDesignInstance"}};
    return info;
}

TClass TComponent::StaticClass()
{
    static const TClassInfo info = TClassBuilder<TComponent>("TComponent", TPersistent::StaticClass())
                                       .String("Name", &TComponent::GetName, &TComponent::SetName)
                                       .Stored(false)
                                       .Integer("Tag", &TComponent::GetTag, &TComponent::SetTag)
                                       .Default(0);
    return &info;
}

namespace detail {
// Set by CreateComponent for the constructor it runs, so that the component
// knows its final class while its base constructors insert it into its owner.
thread_local TClass ConstructingClass = nullptr;
} // namespace detail

TComponent::TComponent(TComponent* owner) : FCreatedAs(detail::ConstructingClass)
{
    detail::ConstructingClass = nullptr;
    if (owner != nullptr)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    NotifyFreeNotifies();
    DestroyComponents();
    if (FOwner != nullptr)
        FOwner->RemoveComponent(this);
}

void TComponent::BeforeDestruction()
{
    Destroying();
}

void TComponent::Destroying()
{
    if (FComponentState.Contains(csDestroying))
        return;
    FComponentState.Include(csDestroying);
    for (TComponent* c : FComponents)
        c->Destroying();
}

void TComponent::DestroyComponents()
{
    // Each owned component leaves the list before it is freed, so a notice sent
    // while it dies never reaches it. One that others watch is removed with a notice.
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        if (c->FComponentState.Contains(csFreeNotification))
            RemoveComponent(c);
        else
            Remove(c);
        c->Free();
    }
}

TComponent* TComponent::Components(Integer index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError(Format("List index out of bounds (%d)", {index}));
    return FComponents[static_cast<size_t>(index)];
}

Integer TComponent::GetComponentIndex() const
{
    if (FOwner == nullptr)
        return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<Integer>(it - list.begin());
}

void TComponent::SetComponentIndex(Integer value)
{
    if (FOwner == nullptr)
        return;
    auto& list = FOwner->FComponents;
    const Integer current = GetComponentIndex();
    if (current < 0)
        return;
    const Integer last = static_cast<Integer>(list.size()) - 1;
    value = std::clamp(value, 0, last);
    if (value == current)
        return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + value, this);
    if (FListening) {
        FOwner->FListeners.clear();
        for (TComponent* c : list)
            if (c->FListening)
                FOwner->FListeners.push_back(c);
    }
}

TComponent* TComponent::FindComponent(std::string_view name) const
{
    if (name.empty())
        return nullptr;
    auto it = FNameIndex.find(UpperCase(name));
    return it == FNameIndex.end() ? nullptr : it->second;
}

void TComponent::IndexName(TComponent* component)
{
    if (!component->FName.empty() && !FNameIndex.emplace(UpperCase(component->FName), component).second)
        FDuplicateNames = true;
}

void TComponent::UnindexName(TComponent* component)
{
    if (component->FName.empty())
        return;
    const std::string key = UpperCase(component->FName);
    auto it = FNameIndex.find(key);
    if (it == FNameIndex.end() || it->second != component)
        return;
    FNameIndex.erase(it);
    if (!FDuplicateNames)
        return;
    // A name given twice through ChangeName: the other one takes the slot.
    for (TComponent* c : FComponents)
        if (c != component && SameText(c->FName, key)) {
            FNameIndex.emplace(key, c);
            break;
        }
}

void TComponent::ChangeName(const std::string& newName)
{
    if (FOwner != nullptr) {
        SetReference(false);
        FOwner->UnindexName(this);
    }
    FName = newName;
    if (FOwner != nullptr) {
        FOwner->IndexName(this);
        SetReference(true);
    }
}

void TComponent::SetReference(bool enable)
{
    if (FOwner == nullptr || FName.empty())
        return;
    if (const TFieldEntry* field = FOwner->ClassType()->FindField(FName))
        field->Set(FOwner, enable ? this : nullptr);
}

void TComponent::SetName(const std::string& newName)
{
    if (FName == newName)
        return;
    if (!newName.empty() && !IsValidIdent(newName))
        throw EComponentError(Format("'%s' is not a valid component name", {newName}));
    if (FOwner != nullptr)
        FOwner->ValidateRename(this, FName, newName);
    else
        ValidateRename(nullptr, FName, newName);
    ChangeName(newName);
}

void TComponent::ValidateRename(TComponent* component, const std::string& curName, const std::string& newName)
{
    if (component != nullptr && !SameText(curName, newName)) {
        TComponent* other = FindComponent(newName);
        if (other != nullptr && other != component)
            throw EComponentError(Format("A component named %s already exists", {newName}));
    }
}

void TComponent::ValidateContainer(TComponent* component)
{
    component->ValidateInsert(this);
}

void TComponent::InsertComponent(TComponent* component)
{
    if (component == nullptr)
        return;
    component->ValidateContainer(this);
    ValidateRename(component, std::string(), component->FName);
    if (component->FOwner != nullptr)
        component->FOwner->RemoveComponent(component);
    Insert(component);
    if (FComponentState.Contains(csDesigning))
        component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    if (component == nullptr || component->FOwner != this)
        return;
    Notification(component, opRemove);
    Remove(component);
}

void TComponent::Insert(TComponent* component)
{
    FComponents.push_back(component);
    component->FOwner = this;
    if (!component->IsQuiet())
        AddListener(component);
    if (FOwner != nullptr)
        FOwner->AddListener(this); // it owns something now
    IndexName(component);
    component->SetReference(true);
}

void TComponent::Remove(TComponent* component)
{
    // From the end: freeing an owner removes its components last first.
    auto it = std::find(FComponents.rbegin(), FComponents.rend(), component);
    if (it != FComponents.rend())
        FComponents.erase(std::next(it).base());
    RemoveListener(component);
    component->SetReference(false);
    UnindexName(component);
    component->FOwner = nullptr;
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove && component != nullptr)
        RemoveFreeNotification(component);
    // A handler may free components of the list; walk it from the end and clamp.
    // Components that would only pass the notice on to nobody are skipped, so an
    // owner of thousands of components does not call each one per insertion.
    size_t i = FListeners.size();
    while (i > 0) {
        --i;
        FListeners[i]->Notification(component, operation);
        if (i > FListeners.size())
            i = FListeners.size();
    }
}

bool TComponent::IsQuiet() const
{
    return FCreatedAs != nullptr && !FCreatedAs->OverridesNotification && FComponents.empty() && FFreeNotifies.empty();
}

void TComponent::AddListener(TComponent* component)
{
    if (component->FListening)
        return;
    component->FListening = true;
    // Keep the order of FComponents: most are added as they are inserted, last.
    auto pos = FListeners.end();
    if (!FListeners.empty() && !FComponents.empty() && FComponents.back() != component) {
        pos = FListeners.begin();
        for (TComponent* c : FComponents) {
            if (c == component)
                break;
            if (pos != FListeners.end() && *pos == c)
                ++pos;
        }
    }
    FListeners.insert(pos, component);
}

void TComponent::RemoveListener(TComponent* component)
{
    if (!component->FListening)
        return;
    component->FListening = false;
    auto it = std::find(FListeners.rbegin(), FListeners.rend(), component);
    if (it != FListeners.rend())
        FListeners.erase(std::next(it).base());
}

void TComponent::AddFreeNotify(TComponent* component)
{
    if (FOwner != nullptr)
        FOwner->AddListener(this); // it watches something now
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
        FFreeNotifies.push_back(component);
}

void TComponent::RemoveFreeNotify(TComponent* component)
{
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component);
    if (it != FFreeNotifies.end())
        FFreeNotifies.erase(it);
}

void TComponent::FreeNotification(TComponent* component)
{
    if (component == nullptr || component == this)
        return;
    // Components of one owner hear of each other through the owner, which
    // must then pass its notices on to both even if they were quiet.
    if (FOwner == nullptr || component->FOwner != FOwner) {
        AddFreeNotify(component);
        component->AddFreeNotify(this);
        component->FComponentState.Include(csFreeNotification);
    } else {
        FOwner->AddListener(this);
        FOwner->AddListener(component);
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (component == nullptr)
        return;
    RemoveFreeNotify(component);
    component->RemoveFreeNotify(this);
}

void TComponent::NotifyFreeNotifies()
{
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->RemoveFreeNotify(this);
        other->Notification(this, opRemove);
    }
}

void TComponent::SetDesigning(bool value, bool setChildren)
{
    SetComponentStateFlag(csDesigning, value);
    if (setChildren)
        for (TComponent* c : FComponents)
            c->SetDesigning(value, true);
}

void TComponent::SetAncestor(bool value)
{
    SetComponentStateFlag(csAncestor, value);
    for (TComponent* c : FComponents)
        c->SetAncestor(value);
}

void TComponent::SetComponentStateFlag(TComponentStateItem flag, bool on)
{
    if (on)
        FComponentState.Include(flag);
    else
        FComponentState.Exclude(flag);
}

void TComponent::Loaded()
{
    FComponentState.Exclude(csLoading);
}

void TComponent::ReadState(TReader* reader)
{
    if (FilerHooks().ReadData == nullptr)
        throw EFilerError("No stream reader is loaded");
    FilerHooks().ReadData(reader, this);
}

void TComponent::WriteState(TWriter* writer)
{
    if (FilerHooks().WriteData == nullptr)
        throw EFilerError("No stream writer is loaded");
    FilerHooks().WriteData(writer, this);
}

void TComponent::GetChildren(const TGetChildProc&, TComponent*) {}

void TComponent::SetChildOrder(TComponent*, Integer) {}

void TComponent::SetParentComponent(TComponent*) {}

std::string TComponent::GetNamePath() const { return FName; }

} // namespace ld
