// Sends areas of the screen surface to X windows. An area of some size
// goes through a shared memory segment (MIT-SHM) when the server offers it,
// so its pixels are copied once on each side instead of through the socket;
// small areas, and every area without MIT-SHM, go with a plain XPutImage
// read straight from the screen surface.
#pragma once

#include "platform/core/Types.h"

typedef struct _XDisplay Display;
typedef struct _XImage XImage;
union _XEvent;

namespace ld {

class TSurface;

namespace x11 {

class TPresenter {
public:
    // The windows' visual must hold pixels as the surface does (32 bits, red,
    // green, blue from the high byte down); Width and Height are the screen's.
    // Window is any window of that visual, for the drawing context.
    TPresenter(Display* display, unsigned long window, void* visual, int depth, Integer width, Integer height,
               bool allowShm);
    ~TPresenter();
    TPresenter(const TPresenter&) = delete;
    TPresenter& operator=(const TPresenter&) = delete;

    // Queues the area's pixels (screen coordinates) for Window, whose top-left
    // corner shows the screen point Origin; the caller flushes.
    void Present(const TSurface& screen, const TRect& area, unsigned long window, TPoint origin);
    bool UsesShm() const { return FShmImage != nullptr; }
    // The event loop hands every event here first: true for the one that
    // says the server has read the shared segment.
    bool TakeEvent(const _XEvent& ev);
    // Areas at least this large go through the shared segment.
    static constexpr Integer ShmMinPixels = 64 * 64;

private:
    void AttachShm();
    void DetachShm();
    void WaitForShm();
    XImage* WrapScreen(const TSurface& screen);

    Display* FDisplay;
    unsigned long FShmTarget = 0;  // the window the segment was last sent to
    void* FVisual;  // the window's Visual
    int FDepth;
    Integer FWidth;
    Integer FHeight;
    void* FGc = nullptr;
    XImage* FScreenImage = nullptr;  // over the surface's own pixels
    const void* FScreenPixels = nullptr;
    XImage* FShmImage = nullptr;
    struct TShmInfo;
    TShmInfo* FShm = nullptr;
    int FShmCompletion = -1;  // the event type that says the server is done reading
    bool FShmBusy = false;
};

} // namespace x11
} // namespace ld
