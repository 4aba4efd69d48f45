// Each visible top-level window of the window system as an X window of its
// own: forms and dialogs as windows the desktop's window manager decorates,
// moves, sizes, stacks, focuses and closes; popups (menus, drop-down lists)
// as override-redirect windows at their screen places. The window system's
// screen coordinates are the root window's, and its layout follows the X
// server's: where the window manager puts a window, its stacking order, the
// keyboard focus.
//
// The screen surface stays one surface in that layout. A window draws into
// it clipped by the windows of ours above it, exactly as headless, and each
// X window is sent the pixels of its own part of the surface. The pixels of
// two of our windows never mix because the window system's z-order follows
// the X stacking order (and raising in the window system raises the X
// window), and every change of place or order makes the window system
// repaint what was uncovered. What other programs cover stays in the
// surface and is sent again when X says it was exposed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Surface.h"
#include "platform/win/Window.h"

typedef struct _XDisplay Display;
union _XEvent;

namespace ld::x11 {

class TPresenter;

// What the windows are made with.
struct TXScreen {
    Display* D = nullptr;
    unsigned long Root = 0;
    void* Visual = nullptr;   // a Visual*
    int Depth = 0;
    unsigned long Colormap = 0;  // 0: the default one
    unsigned long Leader = 0;    // the program's hidden window: group leader, clipboard
};

class TTopLevels {
public:
    explicit TTopLevels(const TXScreen& screen);
    ~TTopLevels();
    TTopLevels(const TTopLevels&) = delete;
    TTopLevels& operator=(const TTopLevels&) = delete;

    // Makes the X windows follow the window system: made, shown, hidden,
    // moved, sized, retitled, raised, focused; the pointer grabbed while a
    // popup is open and the capture held. Time is that of the last X event.
    void Sync(unsigned long time);
    // An event about one of its windows (structure, exposure, focus, the
    // close request): handled, true. Others are left to the caller.
    bool HandleEvent(_XEvent& ev);
    // After a batch of events: the focus that left all our windows deactivates the active one.
    void EndOfBatch();
    // The screen point an X window of ours shows at its top-left corner.
    bool OriginOf(unsigned long xwindow, TPoint& origin) const;
    // Sends each X window the damaged and exposed parts of the screen it
    // shows, not covered by our windows above it; returns the pixels sent.
    uint64_t Present(TPresenter& presenter, const TSurface& screen, const std::vector<TRect>& damage);
    bool HasExposed() const;
    void SetCursor(unsigned long cursor);

    unsigned long XWindowOf(HWND window) const;
    HWND WindowOf(unsigned long xwindow) const;
    bool IsOurs(unsigned long xwindow) const;
    // Whether the pointer is over an X window of ours now (a round trip).
    bool PointerOverOurs() const;
    bool HasWindowManager() const { return FWindowManager; }

private:
    struct TView;
    TView* ViewOf(unsigned long xwindow);
    const TView* ViewOf(unsigned long xwindow) const;
    TView* ViewFor(HWND window);
    TView* ViewByFrame(unsigned long frame);

    void ForgetDeadWindows();
    void CreateView(HWND window);
    void DestroyView(TView& view);
    void UpdateProperties(TView& view);
    void SetSizeHints(TView& view);
    void SetModalState(TView& view, bool modal);
    void SetFrameHints(TView& view);
    void Place(TView& view);
    void MapOrWithdraw(TView& view, bool visible);
    void RaiseNewTop(const std::vector<TView*>& mapped);
    void PushStacking();
    void RequestFocus(unsigned long time);
    void UpdateGrab();

    void Configured(TView& view, const _XEvent& ev);
    void Reparented(TView& view);
    void FollowServerPlace(TView& view);
    void ReadStacking();
    void FocusArrived(TView& view);
    void LetGoOfKeysReleasedElsewhere();

    TXScreen FScreen;
    std::vector<std::unique_ptr<TView>> FViews;
    std::vector<unsigned long> FStack;  // our mapped X windows as X stacks them, bottom first
    std::vector<unsigned long> FIcon;   // _NET_WM_ICON, empty when the program has no icon
    unsigned long FCursor = 0;
    unsigned long FGrab = 0;            // the popup the pointer is grabbed for
    HWND FXFocus = nullptr;             // the window whose X window has the focus
    HWND FFocusAsked = nullptr;         // the window we last asked the focus for
    bool FFocusLeft = false;            // a FocusOut not yet followed by a FocusIn of ours
    bool FWindowManager = false;
    struct TAtoms;
    std::unique_ptr<TAtoms> FAtoms;
};

} // namespace ld::x11
