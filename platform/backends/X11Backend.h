// The X11 backend: one X window shows the whole screen surface, as a virtual
// desktop does; top-level forms, popup menus and drop-down lists are windows
// of our window system inside it. X input becomes the window system's raw
// input; the program waits in poll on the X connection with the next timer
// as its timeout.
//
// Presenting: what was drawn goes to the X server before every wait, and,
// while an animation draws outside the message loop and busy-waits on the
// tick count, at each read of the count once PresentPeriodMs have passed
// since the last present. Only the damaged areas are sent.
//
// A display that cannot be opened raises EX11Error; one lost while running
// ends the program with one line on standard error and exit status 1.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/gfx/Surface.h"
#include "platform/win/Backend.h"

typedef struct _XDisplay Display;
union _XEvent;

namespace ld {

class EX11Error : public Exception {
public:
    explicit EX11Error(std::string message) : Exception(std::move(message)) {}
};

namespace x11 {
class TPresenter;
class TCursors;
class TClipboard;
} // namespace x11

class TX11Backend : public TBackend {
public:
    // Opens DisplayName (empty: $DISPLAY) and maps a window of the screen's size.
    explicit TX11Backend(Integer width = 1024, Integer height = 768, const std::string& displayName = {},
                         bool allowShm = true);
    ~TX11Backend() override;
    TX11Backend(const TX11Backend&) = delete;
    TX11Backend& operator=(const TX11Backend&) = delete;

    bool WaitForInput(DWORD timeout) override;
    void CursorChanged(HCURSOR cursor) override;
    void TicksRead() override;
    bool HasSystemClipboard() const override { return true; }
    void SetClipboardText(const std::string& text) override;
    std::string GetClipboardText() override;

    // Sends the damaged areas to the server and flushes.
    void Present();
    // Takes every X event already waiting, without blocking.
    void HandlePendingEvents();

    Display* GetDisplay() const { return FDisplay; }
    unsigned long GetWindow() const { return FWindow; }
    bool UsesShm() const;
    HCURSOR GetShownCursor() const { return FShownCursor; }
    // The X cursor the window shows, and the one a window-system cursor maps to.
    unsigned long GetShownXCursor() const { return FShownXCursor; }
    unsigned long XCursorFor(HCURSOR cursor);
    // The window's pixels as the server has them (XGetImage).
    std::unique_ptr<TSurface> CaptureWindow(const TRect& area) const;
    const std::string& GetTitle() const { return FTitle; }
    // Presents that sent anything, and the pixels they sent in all.
    uint64_t GetPresentCount() const { return FPresents; }
    uint64_t GetPresentedPixels() const { return FPresentedPixels; }

    // A margin under the promised 4 ms for the present itself and the gap
    // between two reads of the tick count.
    static constexpr int PresentPeriodMs = 3;
    static constexpr int MapTimeoutMs = 5000;

private:
    void CreateXWindow(Integer width, Integer height);
    void WaitForMap();
    void HandleEvent(_XEvent& ev);
    void HandleKey(_XEvent& ev, bool down);
    void MovePointer(Integer x, Integer y);
    void PointerLeft(Integer x, Integer y);
    void FocusChanged(bool in);
    void CloseRequested();
    void UpdateTitle();

    Display* FDisplay = nullptr;
    unsigned long FWindow = 0;
    unsigned long FColormap = 0;
    Integer FWidth;
    Integer FHeight;
    unsigned long FDeleteAtom = 0;
    unsigned long FProtocolsAtom = 0;
    unsigned long FLastTime = 0;  // of the last X event, for the selection
    std::unique_ptr<x11::TPresenter> FPresenter;
    std::unique_ptr<x11::TCursors> FCursors;
    std::unique_ptr<x11::TClipboard> FClipboard;
    std::vector<TRect> FExposed;
    long long FLastPresentUs = 0;
    uint64_t FPresents = 0;
    uint64_t FPresentedPixels = 0;
    TPoint FPointer{-1, -1};
    HWND FDeactivated = nullptr;
    HCURSOR FShownCursor = nullptr;
    unsigned long FShownXCursor = 0;
    std::string FTitle;
    bool FTitleSet = false;
};

} // namespace ld
