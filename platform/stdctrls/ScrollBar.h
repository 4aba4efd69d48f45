// A vertical scroll bar drawn inside a control's own client area (the memo,
// the combo box's list), as the window system here has none of its own: an
// arrow button at each end, a dithered track, and a thumb whose size and
// place show the visible lines among all of them; and the tracking of a press
// on it, which scrolls the way the window system's own scroll bar does.
#pragma once

#include <functional>

#include "platform/gfx/DeviceContext.h"
#include "platform/vcl/ExtCtrls.h"

namespace ld {

// What a window's vertical scroll bar asks of it: WM_VSCROLL, the request in
// the low word of wParam and, for the thumb, the position in the high word.
constexpr UINT WM_VSCROLL = 0x0115;
enum : Word { SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBPOSITION, SB_THUMBTRACK, SB_TOP, SB_BOTTOM, SB_ENDSCROLL };

enum class TScrollHit { None, LineUp, LineDown, PageUp, PageDown, Thumb };

// What a scroll bar shows: the first visible line, how many are visible, how many there are.
struct TScrollRange {
    Integer First = 0;
    Integer Visible = 1;
    Integer Total = 0;
};

// Pressed is the part held down, drawn pushed (an arrow) or dark (the trough);
// a disabled bar has grey arrows and no thumb.
void PaintVerticalScrollBar(HDC dc, const TRect& bar, const TScrollRange& range, TScrollHit pressed = TScrollHit::None,
                            bool enabled = true);
// The part of the bar under a point.
TScrollHit VerticalScrollBarHit(const TRect& bar, const TScrollRange& range, TPoint p);
// The first line after a WM_VSCROLL request (Position for the thumb's), kept within the range.
Integer ScrolledFirst(Word request, Integer position, const TScrollRange& range);

// Follows one press on a scroll bar until the button is released:
//
//   part pressed   at once            while held (first after 400 ms, then every 50 ms)
//   arrow          SB_LINEUP/DOWN     the same, while the pointer stays on the arrow
//   trough         SB_PAGEUP/DOWN     the same, until the thumb reaches the pointer
//   thumb          -                  SB_THUMBTRACK as the pointer drags it
//
// The release sends SB_THUMBPOSITION for the thumb, then SB_ENDSCROLL. The
// owner hands on the pointer in the bar's coordinates while it holds the
// mouse capture, carries out the requests, and repaints the bar when told.
class TScrollBarTracker {
public:
    using TGetBar = std::function<void(TRect& bar, TScrollRange& range)>;
    using TRequest = std::function<void(Word request, Integer position)>;
    TScrollBarTracker(TGetBar getBar, TRequest request, std::function<void()> repaint);
    ~TScrollBarTracker();
    TScrollBarTracker(const TScrollBarTracker&) = delete;
    TScrollBarTracker& operator=(const TScrollBarTracker&) = delete;

    static constexpr Cardinal FirstRepeatDelay = 400;
    static constexpr Cardinal RepeatInterval = 50;

    // A press at P: true when it lands on a part of the bar, which is then held.
    bool Press(TPoint p);
    void Move(TPoint p);
    // The button came up or the capture went elsewhere.
    void Release();
    bool Tracking() const { return FPart != TScrollHit::None; }
    // The part to draw pressed: the one held, while the pointer is on it.
    TScrollHit PressedPart() const { return FPartHot ? FPart : TScrollHit::None; }

private:
    void Step();
    void Tick();
    void SetPartHot(bool hot);

    TGetBar FGetBar;
    TRequest FRequest;
    std::function<void()> FRepaint;
    TTimer* FTimer = nullptr;
    TScrollHit FPart = TScrollHit::None;
    bool FPartHot = false;
    TPoint FPointer{0, 0};
    Integer FThumbGrab = 0;     // pixels from the thumb's top to where it was grabbed
    Integer FThumbPosition = 0; // the first line the dragged thumb stands for
};

} // namespace ld
