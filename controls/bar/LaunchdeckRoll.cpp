// TLaunchdeck: the roll that slides the tabs between the open sheet and the
// one being opened to their new places before the new sheet is shown. The
// slide moves screen pixels of the bar with ScrollDC for 125 ms of the tick
// count and changes no state; RollInSheet then changes the sheet and repaints.
#include "controls/bar/Launchdeck.h"
#include "controls/shared/AnimationTicks.h"
#include "platform/gfx/Blit.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/RectUtils.h"
#include "platform/gfx/Regions.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Paint.h"

namespace ld {

namespace {

constexpr DWORD RollDuration = 125;

} // namespace

void TLaunchdeck::RollInSheet(Integer index)
{
    if (!CanChange())
        return;
    if (FActiveSheet != nullptr && !ComponentState().Contains(csDesigning) &&
        FOptions.Contains(soAnimatedSheets)) {
        const Integer active = FActiveSheet->GetVisibleSheetIndex();
        if (index < active)
            RollDown(index);
        else if (index > active)
            RollUp(index);
    }
    InternalSetActiveSheet(GetVisibleSheet(index));
}

// Tabs Index + 1 .. Active and the open sheet slide down; the band's top edge
// advances, so the strip it uncovers is never scrolled again.
void TLaunchdeck::RollDown(Integer index)
{
    Application->ProcessMessages();
    const Integer active = FActiveSheet != nullptr ? FActiveSheet->GetVisibleSheetIndex() : -1;
    TRect band = GetClientRect();
    band.Top = InternalGetGroupRect(index, false).Bottom;
    band.Bottom = InternalGetGroupRect(active + 1, false).Top - 1;
    const Integer target = band.Bottom - Metrics().Pitch() * (active - index);
    Slide(band, target, true);
}

// The open sheet and tabs Active + 1 .. Index slide up; the band's bottom edge
// advances.
void TLaunchdeck::RollUp(Integer index)
{
    Application->ProcessMessages();
    const Integer active = FActiveSheet != nullptr ? FActiveSheet->GetVisibleSheetIndex() : -1;
    TRect band = GetClientRect();
    band.Top = InternalGetGroupRect(active, false).Bottom;
    band.Bottom = InternalGetGroupRect(index, false).Bottom;
    const Integer target = band.Top + Metrics().Pitch() * (index - active);
    Slide(band, target, false);
}

// The frame loop shared by both directions: scroll the band by the step,
// fill what it uncovered with the bar's colour, move the advancing edge, wait
// for the next tick and size the next step by the speed reached so far. It
// ends on time, not on position; the repaint that follows puts right any
// difference.
void TLaunchdeck::Slide(TRect band, Integer target, bool down)
{
    TRect view = GetClientRect();
    HDC dc = GetDCEx(FHandle, nullptr, DCX_CACHE | DCX_PARENTCLIP);
    GetCanvas()->GetBrush()->SetColor(GetColor());
    AdjustRectForButtons(view);
    TRect clip;
    IntersectRect(clip, view, band);
    TTickWindow ticks(RollDuration);
    Integer& edge = down ? band.Top : band.Bottom;
    const Integer start = edge;
    if (!ticks.Empty()) {
        Integer step = 1;
        do {
            HRGN uncovered = CreateRectRgnIndirect(view);
            ScrollDC(dc, 0, down ? step : -step, &band, &clip, uncovered, nullptr);
            FillRgn(dc, uncovered, GetCanvas()->GetBrush()->GetHandle());
            DeleteObject(uncovered);
            edge += down ? step : -step;
            ticks.WaitForNextTick();
            const Integer done = down ? edge - start : start - edge;
            const Integer remaining = down ? target - edge : edge - target;
            step = ticks.NextStep(done, remaining);
        } while (ticks.Open());
    }
    ReleaseDC(FHandle, dc);
}

} // namespace ld
