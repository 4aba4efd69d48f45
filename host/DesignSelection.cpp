#include "host/DesignSelection.h"

#include <algorithm>

namespace ld {

// Hears when a selected component is freed.
class TDesignSelection::TWatch : public TComponent {
public:
    explicit TWatch(TDesignSelection& selection) : TComponent(nullptr), FSelection(selection) {}
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove)
            FSelection.Forget(component);
    }

private:
    TDesignSelection& FSelection;
};

TDesignSelection::TDesignSelection(std::function<void()> onChange)
    : FWatch(std::make_unique<TWatch>(*this)), FOnChange(std::move(onChange))
{
}

TDesignSelection::~TDesignSelection()
{
    for (TPersistent* item : FItems)
        Unwatch(item);
    FItems.clear();
}

bool TDesignSelection::Contains(const TPersistent* item) const
{
    return std::find(FItems.begin(), FItems.end(), item) != FItems.end();
}

void TDesignSelection::Watch(TPersistent* item)
{
    if (auto* c = dynamic_cast<TComponent*>(item))
        FWatch->FreeNotification(c);
}

void TDesignSelection::Unwatch(TPersistent* item)
{
    if (auto* c = dynamic_cast<TComponent*>(item))
        FWatch->RemoveFreeNotification(c);
}

void TDesignSelection::Set(const std::vector<TPersistent*>& items)
{
    std::vector<TPersistent*> wanted;
    for (TPersistent* item : items)
        if (item != nullptr && std::find(wanted.begin(), wanted.end(), item) == wanted.end())
            wanted.push_back(item);
    if (wanted == FItems)
        return;
    for (TPersistent* item : FItems)
        if (std::find(wanted.begin(), wanted.end(), item) == wanted.end())
            Unwatch(item);
    for (TPersistent* item : wanted)
        if (!Contains(item))
            Watch(item);
    FItems = std::move(wanted);
    if (FOnChange)
        FOnChange();
}

void TDesignSelection::Add(TPersistent* item)
{
    if (item == nullptr || Contains(item))
        return;
    std::vector<TPersistent*> items = FItems;
    items.push_back(item);
    Set(items);
}

void TDesignSelection::Remove(TPersistent* item)
{
    std::vector<TPersistent*> items = FItems;
    std::erase(items, item);
    Set(items);
}

void TDesignSelection::Toggle(TPersistent* item)
{
    if (Contains(item))
        Remove(item);
    else
        Add(item);
}

void TDesignSelection::Forget(TComponent* component)
{
    if (std::erase(FItems, static_cast<TPersistent*>(component)) > 0 && FOnChange)
        FOnChange();
}

} // namespace ld
