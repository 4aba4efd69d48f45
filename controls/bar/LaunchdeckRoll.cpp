// TLaunchdeck: the roll that slides the tabs between the open sheet and the
// one being opened to their new places before the new sheet is shown. The
// slide moves screen pixels of the bar with ScrollDC for 125 ms of the tick
// count and changes no state; RollInSheet then changes the sheet and repaints.
//
// Requests made while a roll runs: before its first frame a slide lets
// pending messages through, and a click or accelerator among them asks for
// another sheet. Such a request asks OnChanging as every request does, and
// then only replaces the running roll's target; the roll slides once, to the
// sheet asked for last, and opens that one. So quick requests A, B, C fire
// OnChanging three times, slide once from the open sheet to C and fire
// OnChange once, as a direct change to C would.
#include "controls/bar/Launchdeck.h"
#include "controls/shared/AnimationTicks.h"
#include "platform/gfx/Blit.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Painting.h"
#include "platform/gfx/RectUtils.h"
#include "platform/gfx/Regions.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Paint.h"
#include "platform/win/Window.h"

namespace ld {

namespace {

constexpr DWORD RollDuration = 125;

} // namespace

void TLaunchdeck::RollInSheet(Integer index)
{
    if (!CanChange())
        return;
    if (FRolling) {
        FRollRequest = index;
        return;
    }
    if (FActiveSheet != nullptr && !ComponentState().Contains(csDesigning) &&
        FOptions.Contains(soAnimatedSheets) && ShownOnScreen())
        index = RollToLastRequest(index);
    InternalSetActiveSheet(GetVisibleSheet(index));
}

// Slides towards the sheet asked for last and returns its visible index. A
// slide that finds a newer request among the pending messages moves no pixel;
// the next round slides to the newer sheet, in its own direction.
Integer TLaunchdeck::RollToLastRequest(Integer index)
{
    FRolling = true;
    FRollRequest = index;
    try {
        for (;;) {
            index = FRollRequest;
            if (FActiveSheet == nullptr || !ShownOnScreen())
                break;
            const Integer active = FActiveSheet->GetVisibleSheetIndex();
            if (index < active)
                RollDown(index);
            else if (index > active)
                RollUp(index);
            if (FRollRequest == index)
                break;
        }
    } catch (...) {
        FRolling = false;
        throw;
    }
    FRolling = false;
    return index;
}

// Only a window on the screen has pixels of its own to slide; without one the
// bar's DC would reach whatever lies at those screen coordinates.
bool TLaunchdeck::ShownOnScreen() const { return HandleAllocated() && IsWindowVisible(FHandle); }

// After the pending messages: still a shown window, still an open sheet on
// the expected side of the target, and no newer request of a running roll.
bool TLaunchdeck::SlideStillWanted(Integer index, bool down) const
{
    if (!ShownOnScreen() || FActiveSheet == nullptr || (FRolling && FRollRequest != index))
        return false;
    const Integer active = FActiveSheet->GetVisibleSheetIndex();
    return down ? index < active : index > active;
}

// Tabs Index + 1 .. Active and the open sheet slide down; the band's top edge
// advances, so the strip it uncovers is never scrolled again.
void TLaunchdeck::RollDown(Integer index)
{
    Application->ProcessMessages();
    if (!SlideStillWanted(index, true))
        return;
    const Integer active = FActiveSheet->GetVisibleSheetIndex();
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
    if (!SlideStillWanted(index, false))
        return;
    const Integer active = FActiveSheet->GetVisibleSheetIndex();
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
