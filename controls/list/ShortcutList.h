// TShortcutList, as far as the bar needs it: the class, its base and the
// layout entry the bar calls after each of its own layout changes. Items,
// geometry, painting and interaction are not here yet.
#pragma once

#include "platform/vcl/Controls.h"

namespace ld {

class TShortcutItem;

class TShortcutList : public TCustomControl {
    LD_CLASS(TShortcutList, TCustomControl)

    explicit TShortcutList(TComponent* owner);

    // Recomputes what depends on the list's size; callable at any time once
    // the list has a parent.
    virtual void LayoutChanged();
    // The item under the pointer; there are no items yet.
    TShortcutItem* GetActiveItem() const { return nullptr; }
};

} // namespace ld
