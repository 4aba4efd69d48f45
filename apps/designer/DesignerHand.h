// A person's hand on the designer, for scripts and tests: clicks, drags and
// keys given as real input events through the headless backend, with
// modifier keys held down around them, so they go the way a person's do
// (the input queue, design mode, the drag modes).
#pragma once

#include "apps/designer/DesignerWindow.h"
#include "platform/backends/HeadlessBackend.h"

namespace ld {

struct TDesignModifiers {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
};

// A screen point where Control shows itself: not covered by one of its
// children or a control above it, and not claimed by the control for
// itself in design mode (a closed tab of a bar). EInvalidOperation when it
// shows no such point.
TPoint FreePointOf(TControl* control);
// tl, t, tr, r, br, b, bl, l: a grab handle by its place.
TSelectionFrame::THandle HandleNamed(const std::string& name);

class TDesignerHand {
public:
    TDesignerHand(THeadlessBackend& backend, TDesignerWindow& window) : FBackend(backend), FWindow(window) {}

    void Click(TPoint screen, TDesignModifiers modifiers = {});
    // Button down at From, moved to To in small steps, up there.
    void Drag(TPoint from, TPoint to, TDesignModifiers modifiers = {});
    // Selects Control alone with a click when it is not so already, then
    // drags its handle by Delta.
    void SizeBy(TControl* control, TSelectionFrame::THandle handle, TPoint delta, TDesignModifiers modifiers = {});
    // Where a person's click would have put the focus: on the designed form,
    // for the designer's keys.
    void FocusDesignedForm();

private:
    void Hold(TDesignModifiers modifiers, bool down);

    THeadlessBackend& FBackend;
    TDesignerWindow& FWindow;
};

} // namespace ld
