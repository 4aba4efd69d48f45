// Another X program on a connection of its own, for the clipboard tests: a
// window to receive the selection into, and an owner that answers requests
// for the CLIPBOARD from a thread while the program under test waits.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace ld::x11test {

struct TOtherProgram {
    Display* D = XOpenDisplay(nullptr);
    Window W = XCreateSimpleWindow(D, DefaultRootWindow(D), 0, 0, 1, 1, 0, 0, 0);
    Atom Clipboard = XInternAtom(D, "CLIPBOARD", False);
    Atom Utf8 = XInternAtom(D, "UTF8_STRING", False);
    Atom Prop = XInternAtom(D, "OTHER_PROP", False);
    ~TOtherProgram()
    {
        XDestroyWindow(D, W);
        XCloseDisplay(D);
    }
    std::string Property(Atom* type)
    {
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        XGetWindowProperty(D, W, Prop, 0, 1 << 20, True, AnyPropertyType, type, &format, &count, &after, &data);
        std::string s(reinterpret_cast<char*>(data), count);
        XFree(data);
        return s;
    }
    // Answers a request for UTF8_STRING with Utf8; refuses any other target.
    void Answer(const XSelectionRequestEvent& req, const std::string& utf8)
    {
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = req.requestor;
        reply.xselection.selection = req.selection;
        reply.xselection.target = req.target;
        reply.xselection.time = req.time;
        reply.xselection.property = None;
        if (req.target == Utf8) {
            XChangeProperty(D, req.requestor, req.property, Utf8, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(utf8.data()), int(utf8.size()));
            reply.xselection.property = req.property;
        }
        XSendEvent(D, req.requestor, False, NoEventMask, &reply);
        XFlush(D);
    }
    void TakeClipboard()
    {
        XSetSelectionOwner(D, Clipboard, W, CurrentTime);
        XSync(D, False);
    }
};

// While it lives, a thread answers every request for Other's clipboard with
// Utf8. Other's connection belongs to the thread until then.
class TClipboardOwnerThread {
public:
    TClipboardOwnerThread(TOtherProgram& other, std::string utf8)
        : FThread([this, &other, text = std::move(utf8)] {
              while (!FStop) {
                  while (XPending(other.D)) {
                      XEvent ev;
                      XNextEvent(other.D, &ev);
                      if (ev.type == SelectionRequest)
                          other.Answer(ev.xselectionrequest, text);
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(1));
              }
          })
    {
    }
    ~TClipboardOwnerThread()
    {
        FStop = true;
        FThread.join();
    }

private:
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

} // namespace ld::x11test
