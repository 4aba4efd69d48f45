// TComponent: a named object with an owner. An owner frees what it owns, keeps
// its components' names unique, and tells its components (and every component
// that asked with FreeNotification) when a component is inserted or removed.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/core/Persistent.h"
#include "platform/core/Set.h"

namespace ld {

class TReader;
class TWriter;
class TComponent;

enum TOperation : int { opInsert, opRemove };

enum TComponentStateItem {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance,
};
using TComponentState = TSet<TComponentStateItem, uint16_t>;

enum TComponentStyleItem { csInheritable, csCheckPropAvail, csSubComponent };
using TComponentStyle = TSet<TComponentStyleItem, uint8_t>;

// Called by GetChildren once per child to store, in order.
using TGetChildProc = std::function<void(TComponent* child)>;

const TEnumInfo& ComponentStateInfo();

class TComponent : public TPersistent {
    LD_CLASS(TComponent, TPersistent)

    // Inserts the new component into Owner (which may be null).
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    Integer ComponentCount() const { return static_cast<Integer>(FComponents.size()); }
    // The owned component at Index; EListError for a bad index.
    TComponent* Components(Integer index) const;
    // This component's position in its owner's list, -1 without an owner.
    Integer GetComponentIndex() const;
    void SetComponentIndex(Integer value);
    // An owned component by name (case-insensitive), or null.
    TComponent* FindComponent(std::string_view name) const;

    const std::string& GetName() const { return FName; }
    // Raises EComponentError for an invalid identifier or a name already used
    // among the owner's components.
    virtual void SetName(const std::string& newName);
    Integer GetTag() const { return FTag; }
    void SetTag(Integer value) { FTag = value; }
    TComponentState ComponentState() const { return FComponentState; }
    TComponentStyle ComponentStyle() const { return FComponentStyle; }

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, last first.
    void DestroyComponents();
    // Marks this component and what it owns as being destroyed.
    void Destroying();

    // Asks to be told (opRemove) when Component is freed; the request is mutual.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Design-time state, for this component and everything it owns.
    void SetDesigning(bool value, bool setChildren = true);

    // Streaming hooks.
    virtual void Loaded();
    virtual void ReadState(TReader* reader);
    virtual void WriteState(TWriter* writer);
    virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
    virtual void SetChildOrder(TComponent* child, Integer order);
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* value);
    // The component that owns children stored under this one (a frame, a form).
    virtual TComponent* GetChildOwner() { return nullptr; }
    virtual TComponent* GetChildParent() { return this; }

    std::string GetNamePath() const override;
    void BeforeDestruction() override;

    // For the filer: state flags set and cleared while reading and writing.
    void SetComponentStateFlag(TComponentStateItem flag, bool on);
    void SetInline(bool value) { SetComponentStateFlag(csInline, value); }
    void SetAncestor(bool value);

    // Told of every component inserted into or removed from the owner, and of the
    // freeing of a component this one asked FreeNotification of. Overrides call the
    // inherited one, which passes the notice on to the owned components.
    virtual void Notification(TComponent* component, TOperation operation);

protected:
    virtual void ValidateRename(TComponent* component, const std::string& curName, const std::string& newName);
    virtual void ValidateInsert(TComponent* component) {}
    virtual void ValidateContainer(TComponent* component);
    // Changes the name without validation.
    void ChangeName(const std::string& newName);
    TPersistent* GetOwner() const override { return FOwner; }
    TComponentStyle FComponentStyle;

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void AddFreeNotify(TComponent* component);
    void RemoveFreeNotify(TComponent* component);
    void NotifyFreeNotifies();

    TComponent* FOwner = nullptr;
    std::string FName;
    Integer FTag = 0;
    // Points the owner's published field of this name at this component (or clears it).
    void SetReference(bool enable);
    void IndexName(TComponent* component);
    void UnindexName(TComponent* component);
    // Owned components that may act on a notice, in the order of FComponents.
    // One created from its class record (CreateComponent, the stream reader) is
    // left out while its class keeps the inherited Notification and it owns and
    // watches nothing, so inserting thousands of them stays linear.
    void AddListener(TComponent* component);
    void RemoveListener(TComponent* component);
    bool IsQuiet() const;
    std::vector<TComponent*> FComponents;
    // Owned components by upper-case name, so that finding one (and checking a new
    // name) stays cheap for owners of thousands of components.
    std::unordered_map<std::string, TComponent*> FNameIndex;
    bool FDuplicateNames = false; // ChangeName gave two owned components one name
    std::vector<TComponent*> FFreeNotifies;
    std::vector<TComponent*> FListeners;
    TClass FCreatedAs = nullptr; // the class CreateComponent made, null for a plain new
    bool FListening = false;     // in the owner's FListeners
    TComponentState FComponentState;
};

} // namespace ld
