// The designer's selection: the components a person has picked on the
// designed form, in the order picked (the first is the one the property view
// and the component editor act on). A selected component that is freed leaves
// the selection at once, so it never holds a dangling pointer.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/Component.h"

namespace ld {

class TDesignSelection {
public:
    // OnChange is told after every change of the selection.
    explicit TDesignSelection(std::function<void()> onChange);
    ~TDesignSelection();
    TDesignSelection(const TDesignSelection&) = delete;
    TDesignSelection& operator=(const TDesignSelection&) = delete;

    const std::vector<TPersistent*>& Items() const { return FItems; }
    bool Contains(const TPersistent* item) const;
    bool Empty() const { return FItems.empty(); }
    TPersistent* First() const { return FItems.empty() ? nullptr : FItems.front(); }

    // Nulls and repeats are left out. An unchanged selection tells nobody.
    void Set(const std::vector<TPersistent*>& items);
    void Add(TPersistent* item);
    void Remove(TPersistent* item);
    // Adds Item, or removes it when it is selected already.
    void Toggle(TPersistent* item);

private:
    class TWatch;
    void Forget(TComponent* component);
    void Watch(TPersistent* item);
    void Unwatch(TPersistent* item);

    std::vector<TPersistent*> FItems;
    std::unique_ptr<TWatch> FWatch;
    std::function<void()> FOnChange;
};

} // namespace ld
