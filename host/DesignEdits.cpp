#include "host/DesignEdits.h"

#include <algorithm>

#include "platform/vcl/ControlTypes.h"

namespace ld {

namespace {

bool IsShownAtDesignTime(const TControl* control)
{
    return control->GetVisible() || (control->ComponentState().Contains(csDesigning) &&
                                     !control->GetControlStyle().Contains(csNoDesignVisible));
}

bool IsInside(const TControl* control, const TControl* ancestor)
{
    for (const TControl* c = control; c != nullptr; c = c->GetParent())
        if (c == ancestor)
            return true;
    return false;
}

// Windowed children above windowless ones, the topmost of each first.
std::vector<TControl*> ChildrenTopmostFirst(const TWinControl* parent)
{
    std::vector<TControl*> windowed, windowless;
    for (Integer i = 0; i < parent->GetControlCount(); ++i) {
        TControl* c = parent->GetControl(i);
        (dynamic_cast<TWinControl*>(c) != nullptr ? windowed : windowless).push_back(c);
    }
    std::vector<TControl*> order(windowed.rbegin(), windowed.rend());
    order.insert(order.end(), windowless.rbegin(), windowless.rend());
    return order;
}

} // namespace

Integer SnapToGrid(Integer value, Integer grid)
{
    if (grid <= 1)
        return value;
    // Halves round up; the division floors, so negative values snap alike.
    const Integer shifted = value + grid / 2;
    const Integer steps = shifted >= 0 ? shifted / grid : -((-shifted + grid - 1) / grid);
    return steps * grid;
}

bool AcceptsChild(const TWinControl* parent, const TControl* child)
{
    return parent != nullptr && parent->GetControlStyle().Contains(csAcceptsControls) && !IsInside(parent, child);
}

bool IsHeldByParent(const TControl* control)
{
    const TWinControl* parent = control->GetParent();
    return parent != nullptr && !parent->GetControlStyle().Contains(csAcceptsControls);
}

TControl* DesignedControlAt(const TWinControl* parent, TPoint clientPoint, const std::vector<TControl*>& excluded)
{
    for (TControl* child : ChildrenTopmostFirst(parent)) {
        if (std::find(excluded.begin(), excluded.end(), child) != excluded.end() || !IsShownAtDesignTime(child) ||
            !PtInRect(child->GetBoundsRect(), clientPoint))
            continue;
        const TPoint inner = child->ScreenToClient(parent->ClientToScreen(clientPoint));
        if (auto* container = dynamic_cast<TWinControl*>(child))
            if (TControl* deeper = DesignedControlAt(container, inner, excluded))
                return deeper;
        return child;
    }
    return nullptr;
}

TWinControl* DropTargetAt(TCustomForm* form, TPoint screenPoint, const std::vector<TControl*>& moving)
{
    TControl* hit = DesignedControlAt(form, form->ScreenToClient(screenPoint), moving);
    for (TControl* c = hit; c != nullptr && c != form; c = c->GetParent()) {
        auto* container = dynamic_cast<TWinControl*>(c);
        if (container != nullptr &&
            std::all_of(moving.begin(), moving.end(), [&](TControl* m) { return AcceptsChild(container, m); }))
            return container;
    }
    return form;
}

std::vector<TComponent*> SelectionRoots(TCustomForm* form, const std::vector<TPersistent*>& selection)
{
    auto selected = [&](const TComponent* c) {
        return std::find(selection.begin(), selection.end(), static_cast<const TPersistent*>(c)) != selection.end();
    };
    std::vector<TComponent*> roots;
    for (Integer i = 0; i < form->ComponentCount(); ++i) {
        TComponent* c = form->Components(i);
        if (!selected(c))
            continue;
        bool inner = false;
        if (auto* control = dynamic_cast<TControl*>(c))
            for (TControl* p = control->GetParent(); p != nullptr && p != form && !inner; p = p->GetParent())
                inner = selected(p);
        if (!inner)
            roots.push_back(c);
    }
    return roots;
}

TPoint ScreenTopLeft(const TControl* control)
{
    const TWinControl* parent = control->GetParent();
    const TPoint local{control->GetLeft(), control->GetTop()};
    return parent != nullptr ? parent->ClientToScreen(local) : local;
}

void MoveControlTo(TControl* control, TWinControl* newParent, TPoint topLeft)
{
    if (control->GetParent() != newParent)
        control->SetParent(newParent);
    control->SetBounds(topLeft.X, topLeft.Y, control->GetWidth(), control->GetHeight());
}

} // namespace ld
