#include "apps/designer/DesignerHand.h"

#include "host/DesignEdits.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ControlTypes.h"
#include "platform/win/Input.h"

namespace ld {

namespace {

bool ShowsItselfAt(TControl* control, TPoint client)
{
    TCustomForm* form = GetParentForm(control);
    if (form == nullptr)
        return false;
    const TPoint screen = control->ClientToScreen(client);
    TControl* hit = DesignedControlAt(form, form->ScreenToClient(screen));
    return (hit == control || (hit == nullptr && control == form)) &&
           control->Perform(CM_DESIGNHITTEST, MK_LBUTTON, PointToLParam(client)) == 0;
}

} // namespace

TPoint FreePointOf(TControl* control)
{
    const Integer width = control->GetClientWidth(), height = control->GetClientHeight();
    const TPoint centre{width / 2, height / 2};
    if (ShowsItselfAt(control, centre))
        return control->ClientToScreen(centre);
    for (Integer y = 1; y < height; y += 2)
        for (Integer x = 1; x < width; x += 2)
            if (ShowsItselfAt(control, {x, y}))
                return control->ClientToScreen({x, y});
    throw EInvalidOperation(control->GetName() + " shows no point of its own to take it by");
}

TSelectionFrame::THandle HandleNamed(const std::string& name)
{
    static const char* const names[] = {"tl", "t", "tr", "r", "br", "b", "bl", "l"};
    for (Integer i = 0; i < 8; ++i)
        if (SameText(name, names[i]))
            return static_cast<TSelectionFrame::THandle>(i);
    throw EConvertError("no grab handle " + name + " (tl, t, tr, r, br, b, bl, l)");
}

void TDesignerHand::Hold(TDesignModifiers modifiers, bool down)
{
    for (const auto& [held, vk] : {std::pair{modifiers.Shift, VK_SHIFT}, std::pair{modifiers.Ctrl, VK_CONTROL},
                                   std::pair{modifiers.Alt, VK_MENU}})
        if (held) {
            if (down)
                FBackend.KeyDown(vk);
            else
                FBackend.KeyUp(vk);
        }
}

void TDesignerHand::Click(TPoint screen, TDesignModifiers modifiers)
{
    Hold(modifiers, true);
    FBackend.Click(screen.X, screen.Y);
    Hold(modifiers, false);
    FBackend.RunUntilIdle();
}

void TDesignerHand::Drag(TPoint from, TPoint to, TDesignModifiers modifiers)
{
    Hold(modifiers, true);
    FBackend.MoveTo(from.X, from.Y);
    FBackend.Press();
    FBackend.DragTo(to.X, to.Y);
    FBackend.Release();
    Hold(modifiers, false);
    FBackend.RunUntilIdle();
}

void TDesignerHand::SizeBy(TControl* control, TSelectionFrame::THandle handle, TPoint delta, TDesignModifiers modifiers)
{
    THostFormDesigner& designer = FWindow.Designer();
    if (designer.GetSelection() != std::vector<TPersistent*>{control})
        Click(FreePointOf(control));
    FWindow.Sync();
    if (FWindow.Frame().SizedControl() != control)
        throw EInvalidOperation(control->GetName() + " shows no grab handles");
    const TRect r = FWindow.Frame().HandleRects().at(static_cast<size_t>(handle));
    const TPoint from = designer.GetForm()->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    Drag(from, {from.X + delta.X, from.Y + delta.Y}, modifiers);
}

void TDesignerHand::FocusDesignedForm()
{
    const HWND form = FWindow.Designer().GetForm()->GetHandle();
    const HWND focus = GetFocus();
    if (focus != form && !IsChild(form, focus))
        SetFocus(form);
    FBackend.RunUntilIdle();
}

} // namespace ld
