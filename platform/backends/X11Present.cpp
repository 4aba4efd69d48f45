#include "platform/backends/X11Present.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/gfx/Surface.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

namespace ld::x11 {

struct TPresenter::TShmInfo {
    XShmSegmentInfo Segment{};
};

namespace {

// Attaching a segment the server cannot reach fails with a protocol error
// some time later; it is caught here instead of ending the program.
bool gAttachFailed = false;

int NoteAttachError(Display*, XErrorEvent*)
{
    gAttachFailed = true;
    return 0;
}

constexpr int kHostByteOrder = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;

struct TShmCompletionOf {
    int Type;
    Window Drawable;
};

Bool IsShmCompletion(Display*, XEvent* ev, XPointer arg)
{
    auto* want = reinterpret_cast<TShmCompletionOf*>(arg);
    return ev->type == want->Type && reinterpret_cast<XShmCompletionEvent*>(ev)->drawable == want->Drawable;
}

} // namespace

TPresenter::TPresenter(Display* display, unsigned long window, void* visual, int depth, Integer width,
                       Integer height, bool allowShm)
    : FDisplay(display), FVisual(visual), FDepth(depth), FWidth(width), FHeight(height)
{
    FGc = XCreateGC(display, window, 0, nullptr);
    if (allowShm && XShmQueryExtension(display))
        AttachShm();
}

TPresenter::~TPresenter()
{
    DetachShm();
    if (FScreenImage) {
        FScreenImage->data = nullptr;  // the surface's pixels are not ours to free
        XDestroyImage(FScreenImage);
    }
    XFreeGC(FDisplay, static_cast<GC>(FGc));
}

void TPresenter::AttachShm()
{
    auto* shm = new TShmInfo;
    XImage* image = XShmCreateImage(FDisplay, static_cast<Visual*>(FVisual), unsigned(FDepth), ZPixmap, nullptr, &shm->Segment,
                                    unsigned(FWidth), unsigned(FHeight));
    if (!image || image->bits_per_pixel != 32) {
        if (image)
            XDestroyImage(image);
        delete shm;
        return;
    }
    shm->Segment.shmid = shmget(IPC_PRIVATE, size_t(image->bytes_per_line) * size_t(FHeight), IPC_CREAT | 0600);
    if (shm->Segment.shmid < 0) {
        XDestroyImage(image);
        delete shm;
        return;
    }
    shm->Segment.shmaddr = image->data = static_cast<char*>(shmat(shm->Segment.shmid, nullptr, 0));
    shm->Segment.readOnly = True;
    if (shm->Segment.shmaddr == reinterpret_cast<char*>(-1)) {
        shmctl(shm->Segment.shmid, IPC_RMID, nullptr);
        image->data = nullptr;
        XDestroyImage(image);
        delete shm;
        return;
    }
    XSync(FDisplay, False);
    gAttachFailed = false;
    auto old = XSetErrorHandler(NoteAttachError);
    XShmAttach(FDisplay, &shm->Segment);
    XSync(FDisplay, False);
    XSetErrorHandler(old);
    // Marked for removal at once: it goes away with the last user, even
    // when this program is killed.
    shmctl(shm->Segment.shmid, IPC_RMID, nullptr);
    if (gAttachFailed) {
        shmdt(shm->Segment.shmaddr);
        image->data = nullptr;
        XDestroyImage(image);
        delete shm;
        return;
    }
    image->byte_order = kHostByteOrder;
    FShmImage = image;
    FShm = shm;
    FShmCompletion = XShmGetEventBase(FDisplay) + ShmCompletion;
}

void TPresenter::DetachShm()
{
    if (!FShmImage)
        return;
    WaitForShm();
    XShmDetach(FDisplay, &FShm->Segment);
    XSync(FDisplay, False);
    shmdt(FShm->Segment.shmaddr);
    FShmImage->data = nullptr;
    XDestroyImage(FShmImage);
    FShmImage = nullptr;
    delete FShm;
    FShm = nullptr;
}

// The segment is written again only after the server has read the last
// area out of it.
void TPresenter::WaitForShm()
{
    if (!FShmBusy)
        return;
    TShmCompletionOf want{FShmCompletion, FShmTarget};
    XEvent ev;
    XIfEvent(FDisplay, &ev, IsShmCompletion, reinterpret_cast<XPointer>(&want));
    FShmBusy = false;
}

bool TPresenter::TakeEvent(const XEvent& ev)
{
    if (!FShmImage || ev.type != FShmCompletion)
        return false;
    if (reinterpret_cast<const XShmCompletionEvent&>(ev).drawable == FShmTarget)
        FShmBusy = false;
    return true;
}

XImage* TPresenter::WrapScreen(const TSurface& screen)
{
    if (FScreenImage && FScreenPixels == screen.Pixels())
        return FScreenImage;
    if (FScreenImage) {
        FScreenImage->data = nullptr;
        XDestroyImage(FScreenImage);
    }
    auto* pixels = const_cast<char*>(reinterpret_cast<const char*>(screen.Pixels()));
    FScreenImage = XCreateImage(FDisplay, static_cast<Visual*>(FVisual), unsigned(FDepth), ZPixmap, 0, pixels, unsigned(screen.Width()),
                                unsigned(screen.Height()), 32, screen.Width() * 4);
    FScreenImage->byte_order = kHostByteOrder;
    FScreenPixels = screen.Pixels();
    return FScreenImage;
}

void TPresenter::Present(const TSurface& screen, const TRect& area, unsigned long window, TPoint origin)
{
    TRect r;
    r.Left = std::max(area.Left, 0);
    r.Top = std::max(area.Top, 0);
    r.Right = std::min({area.Right, screen.Width(), FWidth});
    r.Bottom = std::min({area.Bottom, screen.Height(), FHeight});
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return;
    auto gc = static_cast<GC>(FGc);
    const int x = r.Left - origin.X, y = r.Top - origin.Y;
    if (!FShmImage || int64_t(r.Width()) * r.Height() < ShmMinPixels) {
        XPutImage(FDisplay, window, gc, WrapScreen(screen), r.Left, r.Top, x, y, unsigned(r.Width()),
                  unsigned(r.Height()));
        return;
    }
    WaitForShm();
    const size_t rowBytes = size_t(r.Width()) * 4;
    for (Integer row = r.Top; row < r.Bottom; ++row)
        std::memcpy(FShmImage->data + size_t(row) * size_t(FShmImage->bytes_per_line) + size_t(r.Left) * 4,
                    screen.Row(row) + r.Left, rowBytes);
    XShmPutImage(FDisplay, window, gc, FShmImage, r.Left, r.Top, x, y, unsigned(r.Width()), unsigned(r.Height()),
                 True);
    FShmTarget = window;
    FShmBusy = true;
}

} // namespace ld::x11
