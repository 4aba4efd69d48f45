#include "platform/backends/X11Clipboard.h"

#include <poll.h>

#include <chrono>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace ld::x11 {

// ---- text conversion ---------------------------------------------------------

std::string Latin1ToUtf8(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// A malformed sequence, like a character beyond Latin-1, becomes one '?'.
std::string Utf8ToLatin1(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (extra < 0) {
            out += '?';
            ++i;
            continue;
        }
        uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
        size_t j = 1;
        for (; j <= size_t(extra); ++j) {
            if (i + j >= text.size() || (static_cast<unsigned char>(text[i + j]) & 0xC0) != 0x80)
                break;
            code = (code << 6) | (static_cast<unsigned char>(text[i + j]) & 0x3F);
        }
        if (j <= size_t(extra)) {
            out += '?';
            i += j;
            continue;
        }
        out += code <= 0xFF ? char(code) : '?';
        i += j;
    }
    return out;
}

// ---- the selection -------------------------------------------------------------

namespace {

long long NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The largest property one request can set, in bytes, with room for the request itself.
size_t MaxPropertyBytes(Display* d)
{
    long units = XExtendedMaxRequestSize(d);
    if (units <= 0)
        units = XMaxRequestSize(d);
    return size_t(units) * 4 - 256;
}

} // namespace

TClipboard::TClipboard(Display* display, unsigned long window) : FDisplay(display), FWindow(window)
{
    FClipboard = XInternAtom(display, "CLIPBOARD", False);
    FTargets = XInternAtom(display, "TARGETS", False);
    FUtf8 = XInternAtom(display, "UTF8_STRING", False);
    FString = XA_STRING;
    FText = XInternAtom(display, "TEXT", False);
    FIncr = XInternAtom(display, "INCR", False);
    FProperty = XInternAtom(display, "LD_CLIPBOARD", False);
}

void TClipboard::SetText(const std::string& text, unsigned long time)
{
    FTextHeld = text;
    XSetSelectionOwner(FDisplay, FClipboard, FWindow, time);
    FOwned = XGetSelectionOwner(FDisplay, FClipboard) == FWindow;
}

bool TClipboard::HandleEvent(const XEvent& ev)
{
    if (ev.type == SelectionClear && ev.xselectionclear.selection == FClipboard) {
        FOwned = false;
        FTextHeld.clear();
        return true;
    }
    if (ev.type == SelectionRequest) {
        Answer(ev);
        return true;
    }
    return false;
}

// Serves one request: the list of targets, or the text as STRING or
// UTF8_STRING. Anything else, or text too large for one property, is
// refused, which tells the requestor at once rather than letting it wait.
void TClipboard::Answer(const XEvent& ev)
{
    const XSelectionRequestEvent& req = ev.xselectionrequest;
    Atom property = req.property != None ? req.property : req.target;  // as old clients expect
    bool served = false;
    if (FOwned && req.selection == FClipboard) {
        if (req.target == FTargets) {
            Atom targets[] = {FTargets, FUtf8, FString, FText};
            XChangeProperty(FDisplay, req.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(targets), 4);
            served = true;
        } else if (req.target == FUtf8 || req.target == FString || req.target == FText) {
            bool utf8 = req.target == FUtf8;
            std::string bytes = utf8 ? Latin1ToUtf8(FTextHeld) : FTextHeld;
            if (bytes.size() <= MaxPropertyBytes(FDisplay)) {
                XChangeProperty(FDisplay, req.requestor, property, utf8 ? FUtf8 : FString, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(bytes.data()), int(bytes.size()));
                served = true;
            }
        }
    }
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = FDisplay;
    reply.xselection.requestor = req.requestor;
    reply.xselection.selection = req.selection;
    reply.xselection.target = req.target;
    reply.xselection.property = served ? property : None;
    reply.xselection.time = req.time;
    XSendEvent(FDisplay, req.requestor, False, NoEventMask, &reply);
    XFlush(FDisplay);
}

std::string TClipboard::GetText(unsigned long time)
{
    Window owner = XGetSelectionOwner(FDisplay, FClipboard);
    if (owner == FWindow && FOwned)
        return FTextHeld;
    if (owner == None)
        return {};
    std::string bytes;
    TAnswer answer = Convert(FUtf8, time, bytes);
    if (answer == TAnswer::Text)
        return Utf8ToLatin1(bytes);
    // An owner that refuses UTF-8 may still give Latin-1; a silent one is not asked twice.
    if (answer == TAnswer::Refused && Convert(FString, time, bytes) == TAnswer::Text)
        return bytes;
    return {};
}

// Waits for an event of the type for our window, serving requests for our
// own selection meanwhile (another program may ask us while we ask it).
bool TClipboard::WaitForEvent(int type, XEvent& ev, long long deadlineMs)
{
    for (;;) {
        if (XCheckTypedWindowEvent(FDisplay, FWindow, type, &ev))
            return true;
        XEvent request;
        if (XCheckTypedWindowEvent(FDisplay, FWindow, SelectionRequest, &request)) {
            Answer(request);
            continue;
        }
        long long left = deadlineMs - NowMs();
        if (left <= 0)
            return false;
        pollfd p{ConnectionNumber(FDisplay), POLLIN, 0};
        poll(&p, 1, int(left));
        XEventsQueued(FDisplay, QueuedAfterReading);
    }
}

// Reads our receiving property whole and deletes it, which also tells an
// incremental owner to go on. False when it cannot be read or holds no bytes.
bool TClipboard::TakeProperty(std::string& bytes, unsigned long& type)
{
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Atom got = None;
    if (XGetWindowProperty(FDisplay, FWindow, FProperty, 0, long(MaxText / 4), True, AnyPropertyType, &got, &format,
                           &count, &after, &data) != Success)
        return false;
    type = got;
    bool ok = (format == 8 || got == FIncr) && after == 0;
    if (ok && format == 8)
        bytes.assign(reinterpret_cast<char*>(data), count);
    if (data)
        XFree(data);
    return ok;
}

TClipboard::TAnswer TClipboard::Convert(unsigned long target, unsigned long time, std::string& out)
{
    long long deadline = NowMs() + AnswerTimeoutMs;
    XDeleteProperty(FDisplay, FWindow, FProperty);
    XConvertSelection(FDisplay, FClipboard, target, FProperty, FWindow, time);
    XFlush(FDisplay);
    XEvent ev;
    for (;;) {
        if (!WaitForEvent(SelectionNotify, ev, deadline))
            return TAnswer::Silent;
        if (ev.xselection.selection == FClipboard && ev.xselection.target == target)
            break;
    }
    if (ev.xselection.property == None)
        return TAnswer::Refused;
    unsigned long type = None;
    if (!TakeProperty(out, type))
        return TAnswer::Refused;
    if (type == FIncr)
        return ReadIncremental(out, deadline) ? TAnswer::Text : TAnswer::Silent;
    return TAnswer::Text;
}

// A large text comes in pieces: each new value of the property is one,
// deleting it asks for the next, and an empty one ends it.
bool TClipboard::ReadIncremental(std::string& bytes, long long deadlineMs)
{
    bytes.clear();
    for (;;) {
        XEvent ev;
        do {
            if (!WaitForEvent(PropertyNotify, ev, deadlineMs))
                return false;
        } while (ev.xproperty.atom != FProperty || ev.xproperty.state != PropertyNewValue);
        std::string piece;
        unsigned long type = None;
        bool read = TakeProperty(piece, type);
        if (type == None)
            continue;  // a notice from before the transfer began: the property is gone
        if (!read || type == FIncr || bytes.size() + piece.size() > MaxText)
            return false;
        if (piece.empty())
            return true;
        bytes += piece;
        deadlineMs = NowMs() + AnswerTimeoutMs;  // each piece gets its own time
    }
}

} // namespace ld::x11
