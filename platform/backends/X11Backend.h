// The X11 backend. By default each top-level window of the window system is
// an X window of its own, managed by the desktop's window manager, and popups
// are override-redirect windows (X11TopLevels.h). With the virtual desktop
// one X window of a fixed size shows the whole screen surface, and top-level
// forms, popup menus and drop-down lists are windows of our window system
// inside it, with frames of its own. X input becomes the window system's raw
// input at screen coordinates; the program waits in poll on the X connection
// with the next timer as its timeout.
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
class TTopLevels;
} // namespace x11

enum class TX11Layout {
    DesktopWindows,  // each top-level window an X window; the screen is the root window's size
    VirtualDesktop,  // one X window of Width x Height shows the screen
};

class TX11Backend : public TBackend {
public:
    // Opens DisplayName (empty: $DISPLAY). The virtual desktop maps its
    // window (of the screen's size) before it returns.
    explicit TX11Backend(TX11Layout layout = TX11Layout::DesktopWindows, Integer width = 1024, Integer height = 768,
                         const std::string& displayName = {}, bool allowShm = true);
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
    TX11Layout GetLayout() const { return FLayout; }
    // The virtual desktop's window, or the X window of the main form.
    unsigned long GetWindow() const;
    // The X window that shows a top-level window; 0 when it has none (yet).
    unsigned long XWindowOf(HWND window) const;
    // Whether a window manager runs on the display.
    bool HasWindowManager() const;
    // Whether the X window is one this backend made.
    bool IsOurWindow(unsigned long xwindow) const;
    bool UsesShm() const;
    HCURSOR GetShownCursor() const { return FShownCursor; }
    // The X cursor the window shows, and the one a window-system cursor maps to.
    unsigned long GetShownXCursor() const { return FShownXCursor; }
    unsigned long XCursorFor(HCURSOR cursor);
    // The screen's pixels as the server shows them (XGetImage): of the
    // virtual desktop's window, or of the root window.
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
    void ChooseVisual();
    void CreateLeader();
    void CreateXWindow(Integer width, Integer height);
    void WaitForMap();
    void HandleEvent(_XEvent& ev);
    void HandlePointer(_XEvent& ev);
    void HandleKey(_XEvent& ev, bool down);
    bool OriginOf(unsigned long xwindow, TPoint& origin) const;
    void MovePointer(Integer x, Integer y);
    void PointerLeft(unsigned long xwindow, Integer x, Integer y, unsigned state);
    void FocusChanged(bool in);
    void CloseRequested();
    void UpdateTitle();

    TX11Layout FLayout;
    Display* FDisplay = nullptr;
    unsigned long FRoot = 0;
    void* FVisual = nullptr;
    int FDepth = 0;
    unsigned long FLeader = 0;  // never mapped: the clipboard's window and the windows' group leader
    unsigned long FWindow = 0;  // the virtual desktop's window
    unsigned long FColormap = 0;
    Integer FWidth;
    Integer FHeight;
    std::unique_ptr<x11::TTopLevels> FTopLevels;
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
