// Copied text between this program and another X program through the
// CLIPBOARD selection: Latin-1 inside, STRING or UTF-8 outside, and a
// bounded wait for an owner that never answers.
#include <atomic>
#include <thread>

#include "platform/backends/X11Clipboard.h"
#include "tests/backends/X11TestSupport.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace ld::x11test {
namespace {

TEST(X11TextConversion, Latin1AndUtf8BothWays)
{
    EXPECT_EQ(x11::Latin1ToUtf8("Gr\xFC\xDF" "e"), "Gr\xC3\xBC\xC3\x9F" "e");
    EXPECT_EQ(x11::Utf8ToLatin1("Gr\xC3\xBC\xC3\x9F" "e"), "Gr\xFC\xDF" "e");
    // Beyond Latin-1, and broken sequences, one '?' each; nothing else lost.
    EXPECT_EQ(x11::Utf8ToLatin1("5 \xE2\x82\xAC, \xF0\x9F\x98\x80!"), "5 ?, ?!");
    EXPECT_EQ(x11::Utf8ToLatin1("a\xC3"), "a?");
    EXPECT_EQ(x11::Utf8ToLatin1("a\xC3z"), "a?z");
    EXPECT_EQ(x11::Utf8ToLatin1("\xFF\xFE"), "??");
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += char(c);
    EXPECT_EQ(x11::Utf8ToLatin1(x11::Latin1ToUtf8(all)), all);
}

// Another program on a connection of its own, with a window to receive into.
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
};

using X11ClipboardTest = X11Test;

TEST_F(X11ClipboardTest, OurTextReachesAnotherProgramAsUtf8OrAsString)
{
    ASSERT_TRUE(FBackend->HasSystemClipboard());
    FBackend->SetClipboardText("Gr\xFC\xDF" "e");
    TOtherProgram other;
    for (Atom target : {other.Utf8, Atom(XA_STRING)}) {
        XConvertSelection(other.D, other.Clipboard, target, other.Prop, other.W, CurrentTime);
        XFlush(other.D);
        XEvent ev;
        ASSERT_TRUE(PumpUntil([&] { return XCheckTypedWindowEvent(other.D, other.W, SelectionNotify, &ev) != 0; }));
        ASSERT_EQ(ev.xselection.property, other.Prop);
        Atom type;
        std::string got = other.Property(&type);
        EXPECT_EQ(type, target);
        EXPECT_EQ(got, target == other.Utf8 ? "Gr\xC3\xBC\xC3\x9F" "e" : "Gr\xFC\xDF" "e");
    }
    // Our own text comes back without asking the server.
    EXPECT_EQ(FBackend->GetClipboardText(), "Gr\xFC\xDF" "e");
}

TEST_F(X11ClipboardTest, AnotherProgramsTextArrivesAsLatin1)
{
    TOtherProgram other;
    XSetSelectionOwner(other.D, other.Clipboard, other.W, CurrentTime);
    XSync(other.D, False);
    std::atomic<bool> stop{false};
    std::thread owner([&] {
        while (!stop) {
            while (XPending(other.D)) {
                XEvent ev;
                XNextEvent(other.D, &ev);
                if (ev.type == SelectionRequest)
                    other.Answer(ev.xselectionrequest, "na\xC3\xAFve \xE2\x82\xAC");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    std::string text = FBackend->GetClipboardText();
    stop = true;
    owner.join();
    EXPECT_EQ(text, "na\xEFve ?");
}

// An owner with much to give sends it in pieces (INCR): each piece when the
// requestor has deleted the last one, an empty piece at the end.
TEST_F(X11ClipboardTest, ALargeTextComesInPieces)
{
    TOtherProgram other;
    XSetSelectionOwner(other.D, other.Clipboard, other.W, CurrentTime);
    XSync(other.D, False);
    std::string text;
    for (int i = 0; text.size() < 100000; ++i)
        text += "line " + std::to_string(i) + " caf\xC3\xA9\n";
    std::atomic<bool> stop{false};
    std::thread owner([&] {
        Atom incr = XInternAtom(other.D, "INCR", False);
        Window requestor = None;
        Atom property = None;
        size_t sent = 0;
        bool finished = false;
        while (!stop) {
            while (XPending(other.D)) {
                XEvent ev;
                XNextEvent(other.D, &ev);
                if (ev.type == SelectionRequest && ev.xselectionrequest.target == other.Utf8) {
                    const XSelectionRequestEvent& req = ev.xselectionrequest;
                    requestor = req.requestor;
                    property = req.property;
                    XSelectInput(other.D, requestor, PropertyChangeMask);
                    long size = long(text.size());
                    XChangeProperty(other.D, requestor, property, incr, 32, PropModeReplace,
                                    reinterpret_cast<unsigned char*>(&size), 1);
                    XEvent reply{};
                    reply.xselection.type = SelectionNotify;
                    reply.xselection.requestor = requestor;
                    reply.xselection.selection = req.selection;
                    reply.xselection.target = req.target;
                    reply.xselection.property = property;
                    reply.xselection.time = req.time;
                    XSendEvent(other.D, requestor, False, NoEventMask, &reply);
                    XFlush(other.D);
                } else if (ev.type == PropertyNotify && ev.xproperty.window == requestor &&
                           ev.xproperty.atom == property && ev.xproperty.state == PropertyDelete && !finished) {
                    size_t n = std::min<size_t>(16384, text.size() - sent);
                    XChangeProperty(other.D, requestor, property, other.Utf8, 8, PropModeReplace,
                                    reinterpret_cast<const unsigned char*>(text.data() + sent), int(n));
                    XFlush(other.D);
                    sent += n;
                    finished = n == 0;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    std::string got = FBackend->GetClipboardText();
    stop = true;
    owner.join();
    EXPECT_EQ(got.size(), x11::Utf8ToLatin1(text).size());
    EXPECT_TRUE(got == x11::Utf8ToLatin1(text));  // not printed: 100 kB
}

TEST_F(X11ClipboardTest, AnOwnerThatNeverAnswersGivesEmptyTextInBoundedTime)
{
    TOtherProgram other;
    XSetSelectionOwner(other.D, other.Clipboard, other.W, CurrentTime);
    XSync(other.D, False);
    long long start = NowMs();
    EXPECT_EQ(FBackend->GetClipboardText(), "");
    long long took = NowMs() - start;
    EXPECT_GE(took, x11::TClipboard::AnswerTimeoutMs - 10);
    EXPECT_LT(took, 2 * x11::TClipboard::AnswerTimeoutMs);
}

} // namespace
} // namespace ld::x11test
