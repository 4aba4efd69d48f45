// The demo program on a real X display, seen from outside as a user's desktop
// sees it: its window of its form's client area (or the virtual desktop's),
// its picture (saved as a PNG), its close box, and how it fails when the
// display cannot be opened or goes away.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/gfx/Png.h"
#include "tests/backends/X11TestSupport.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace ld::x11test {
namespace {

struct TChild {
    pid_t Pid = -1;
    std::filesystem::path Out, Err;
};

// Starts the demo with its output in files; Display replaces DISPLAY when given.
TChild StartDemo(const std::vector<std::string>& args, const char* display = nullptr)
{
    static int serial = 0;
    TChild c;
    std::string stem = "demo-run-" + std::to_string(getpid()) + "-" + std::to_string(++serial);
    c.Out = OutputDir() / (stem + ".out");
    c.Err = OutputDir() / (stem + ".err");
    c.Pid = fork();
    if (c.Pid == 0) {
        int out = open(c.Out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(c.Err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        if (display)
            setenv("DISPLAY", display, 1);
        std::vector<char*> argv{const_cast<char*>(LD_DEMO_PROGRAM)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(LD_DEMO_PROGRAM, argv.data());
        _exit(127);
    }
    return c;
}

// The exit status, or -1 when the child has not ended within the time.
int WaitForExit(TChild& c, int timeoutMs)
{
    long long deadline = NowMs() + timeoutMs;
    for (;;) {
        int status = 0;
        if (waitpid(c.Pid, &status, WNOHANG) == c.Pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (NowMs() > deadline) {
            kill(c.Pid, SIGKILL);
            waitpid(c.Pid, &status, 0);
            return -1;
        }
        usleep(5000);
    }
}

std::string ReadFile(const std::filesystem::path& p)
{
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A viewable window of ours named Title anywhere in the tree (a window
// manager keeps it inside a frame of its own).
Window FindIn(Display* d, Window w, const std::string& title)
{
    char* name = nullptr;
    XClassHint cls{};
    bool ours = XGetClassHint(d, w, &cls) && cls.res_class && std::string(cls.res_class) == "Launchdeck";
    if (cls.res_name)
        XFree(cls.res_name);
    if (cls.res_class)
        XFree(cls.res_class);
    if (ours && XFetchName(d, w, &name) && name) {
        bool match = title == name;
        XFree(name);
        XWindowAttributes a;
        if (match && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable)
            return w;
    }
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    Window found = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &n)) {
        for (unsigned i = 0; i < n && !found; ++i)
            found = FindIn(d, children[i], title);
        if (children)
            XFree(children);
    }
    return found;
}

Window FindWindow(Display* d, const std::string& title, int timeoutMs)
{
    long long deadline = NowMs() + timeoutMs;
    while (NowMs() < deadline) {
        if (Window found = FindIn(d, DefaultRootWindow(d), title))
            return found;
        usleep(10000);
    }
    return 0;
}

TPoint SizeOf(Display* d, Window w)
{
    XWindowAttributes a{};
    XGetWindowAttributes(d, w, &a);
    return {a.width, a.height};
}

std::unique_ptr<TSurface> Grab(Display* d, Window w, Integer width, Integer height)
{
    XImage* image = XGetImage(d, w, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (!image)
        return nullptr;
    auto out = std::make_unique<TSurface>(width, height);
    for (Integer y = 0; y < height; ++y)
        for (Integer x = 0; x < width; ++x)
            out->Row(y)[x] = 0xFF000000u | uint32_t(XGetPixel(image, x, y) & 0xFFFFFF);
    XDestroyImage(image);
    return out;
}

std::vector<unsigned long> IconOf(Display* d, Window w)
{
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::vector<unsigned long> out;
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_ICON", False), 0, 1 << 16, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data) {
        // Format 32 comes as longs, sign-extended: the 32 bits are the value.
        auto* values = reinterpret_cast<unsigned long*>(data);
        for (unsigned long i = 0; i < count; ++i)
            out.push_back(values[i] & 0xFFFFFFFFu);
        XFree(data);
    }
    return out;
}

class X11ProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no DISPLAY: run under tests/backends/with-xvfb";
        FDisplay = XOpenDisplay(nullptr);
        ASSERT_NE(FDisplay, nullptr);
        // Walking the tree races with the window manager making and dropping
        // its frames: a window gone meanwhile is no failure.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        // The pointer away from the demo's form, so that nothing in it is hot.
        XWarpPointer(FDisplay, None, DefaultRootWindow(FDisplay), 0, 0, 0, 0, 1200, 1000);
        XSync(FDisplay, False);
    }
    void TearDown() override
    {
        if (FDisplay)
            XCloseDisplay(FDisplay);
    }
    Display* FDisplay = nullptr;
};

// The headless tour's first picture: the form as it starts.
std::unique_ptr<TSurface> HeadlessStart()
{
    std::filesystem::path tour = OutputDir() / "demo-headless";
    TChild headless = StartDemo({"--headless", "--out", tour.string()});
    EXPECT_EQ(WaitForExit(headless, 30000), 0) << ReadFile(headless.Err);
    return LoadPngFile((tour / "01-start.png").string());
}

// Whether the window shows what the headless screen shows in Area (screen
// coordinates of the headless picture), the window's top-left corner
// showing the screen point Origin. The form's tiles, caption and log do not
// move; the meter does (a real timer), so a caller leaves it out.
bool ShowsAsHeadless(Display* d, Window w, const TSurface& expected, const TRect& area, TPoint origin,
                     const std::string& picture)
{
    std::unique_ptr<TSurface> shown;
    long long deadline = NowMs() + 5000;
    bool same = false;
    const TPoint size = SizeOf(d, w);
    while (!same && NowMs() < deadline) {
        shown = Grab(d, w, size.X, size.Y);
        if (!shown)
            return false;
        same = true;
        for (Integer y = area.Top; y < area.Bottom && same; ++y)
            for (Integer x = area.Left; x < area.Right && same; ++x)
                same = (shown->Pixel(x - origin.X, y - origin.Y) | 0xFF000000u) == (expected.Pixel(x, y) | 0xFF000000u);
    }
    SavePngFile((OutputDir() / picture).string(), *shown);
    return same;
}

TEST_F(X11ProgramTest, TheDemoIsAWindowOfItsFormsClientAreaShowingWhatHeadlessShowsAndItsCloseBoxEndsIt)
{
    auto expected = HeadlessStart();
    ASSERT_NE(expected, nullptr);
    TChild demo = StartDemo({});
    Window w = FindWindow(FDisplay, "Launchdeck platform demo", 10000);
    ASSERT_NE(w, 0u) << ReadFile(demo.Err);
    // The form is 480 x 320 at (40, 40) with a sizing frame and a caption.
    const TPoint client{40 + 4, 40 + 4 + 19};
    EXPECT_EQ(SizeOf(FDisplay, w), (TPoint{480 - 8, 320 - 8 - 19}));
    // The program's icon: 32 x 32, the teal desktop at its corner, a navy caption bar.
    std::vector<unsigned long> icon = IconOf(FDisplay, w);
    ASSERT_EQ(icon.size(), 2u + 32 * 32);
    EXPECT_EQ(icon[0], 32u);
    EXPECT_EQ(icon[1], 32u);
    EXPECT_EQ(icon[2 + 0], 0xFF008080u);
    EXPECT_EQ(icon[2 + 7 * 32 + 10], 0xFF000080u);
    EXPECT_TRUE(ShowsAsHeadless(FDisplay, w, *expected, {client.X, client.Y, 520 - 4, 100}, client,
                                "x11-demo-window.png"))
        << "see " << (OutputDir() / "x11-demo-window.png");
    SendCloseRequest(FDisplay, w);
    EXPECT_EQ(WaitForExit(demo, 5000), 0) << ReadFile(demo.Err);
    EXPECT_EQ(ReadFile(demo.Err), "");
}

TEST_F(X11ProgramTest, OnTheVirtualDesktopOneWindowShowsTheWholeScreenAsHeadless)
{
    auto expected = HeadlessStart();
    ASSERT_NE(expected, nullptr);
    TChild demo = StartDemo({"--virtual-desktop"});
    Window w = FindWindow(FDisplay, "Launchdeck platform demo", 10000);
    ASSERT_NE(w, 0u) << ReadFile(demo.Err);
    EXPECT_EQ(SizeOf(FDisplay, w), (TPoint{1024, 768}));
    // The tiles with the form's caption above them, and the desktop around the form.
    EXPECT_TRUE(ShowsAsHeadless(FDisplay, w, *expected, {40, 40, 520, 100}, {0, 0}, "x11-demo-virtual-desktop.png"));
    EXPECT_TRUE(ShowsAsHeadless(FDisplay, w, *expected, {700, 600, 701, 601}, {0, 0}, "x11-demo-virtual-desktop.png"));
    SendCloseRequest(FDisplay, w);
    EXPECT_EQ(WaitForExit(demo, 5000), 0) << ReadFile(demo.Err);
    EXPECT_EQ(ReadFile(demo.Err), "");
}

TEST_F(X11ProgramTest, ALostDisplayEndsTheProgramWithOneLineAndStatusOne)
{
    TChild demo = StartDemo({});
    Window w = FindWindow(FDisplay, "Launchdeck platform demo", 10000);
    ASSERT_NE(w, 0u);
    XKillClient(FDisplay, w);  // the server drops the demo's connection
    XSync(FDisplay, False);
    EXPECT_EQ(WaitForExit(demo, 5000), 1);
    std::string err = ReadFile(demo.Err);
    EXPECT_EQ(err, std::string("demo: lost the connection to the X display ") + std::getenv("DISPLAY") + "\n");
}

TEST_F(X11ProgramTest, ADisplayThatCannotBeOpenedIsOneLineAndStatusOneWhenTheWindowWasAskedFor)
{
    TChild demo = StartDemo({"--x11"}, ":4093");
    EXPECT_EQ(WaitForExit(demo, 10000), 1);
    EXPECT_EQ(ReadFile(demo.Err), "demo: cannot open the X display \":4093\"\n");
    EXPECT_THROW(TX11Backend(TX11Layout::VirtualDesktop, 640, 480, ":4093"), EX11Error);
}

TEST_F(X11ProgramTest, WithoutAnAnsweringDisplayTheDemoPlaysItsTourHeadless)
{
    std::filesystem::path tour = OutputDir() / "demo-fallback";
    TChild demo = StartDemo({"--out", tour.string()}, ":4093");
    EXPECT_EQ(WaitForExit(demo, 30000), 0);
    EXPECT_EQ(ReadFile(demo.Err), "demo: cannot open the X display \":4093\"; running on the headless screen\n");
    EXPECT_TRUE(std::filesystem::exists(tour / "01-start.png"));
}

} // namespace
} // namespace ld::x11test
