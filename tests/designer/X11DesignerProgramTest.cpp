// The designer program on a real X display, its palette, form and property
// view each a window of the desktop, driven by a hand through XTest as a
// person would: a palette button, a click on the form that places the bar,
// the Save button, and the palette window's close box that ends the program.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include "platform/gfx/Png.h"
#include "platform/gfx/Surface.h"

namespace ld::test {
namespace {

long long NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::filesystem::path OutputDir()
{
    const char* env = std::getenv("LD_TEST_OUTPUT");
    std::filesystem::path dir = std::filesystem::path(env ? env : "/tmp") / "designer";
    std::filesystem::create_directories(dir);
    return dir;
}

std::string ReadAll(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class X11DesignerProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no DISPLAY: run under tests/backends/with-xvfb";
        FDisplay = XOpenDisplay(nullptr);
        ASSERT_NE(FDisplay, nullptr);
        FErr = OutputDir() / ("x11-designer-" + std::to_string(getpid()) + ".err");
    }
    void TearDown() override
    {
        if (FPid > 0) {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
        }
        if (FDisplay)
            XCloseDisplay(FDisplay);
    }

    void Start(const std::vector<std::string>& args)
    {
        FPid = fork();
        if (FPid == 0) {
            int err = open(FErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            int out = open("/dev/null", O_WRONLY);
            dup2(out, 1);
            dup2(err, 2);
            std::vector<char*> argv{const_cast<char*>(LD_DESIGNER_PROGRAM)};
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(LD_DESIGNER_PROGRAM, argv.data());
            _exit(127);
        }
    }

    int WaitForExit(int timeoutMs)
    {
        const long long deadline = NowMs() + timeoutMs;
        for (;;) {
            int status = 0;
            if (waitpid(FPid, &status, WNOHANG) == FPid) {
                FPid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            if (NowMs() > deadline)
                return -1;
            usleep(5000);
        }
    }

    // A viewable window named Title anywhere in the tree (a window manager
    // keeps it inside a frame of its own).
    Window FindIn(Window w, const std::string& title)
    {
        char* name = nullptr;
        if (XFetchName(FDisplay, w, &name) && name) {
            const bool match = title == name;
            XFree(name);
            XWindowAttributes a;
            if (match && XGetWindowAttributes(FDisplay, w, &a) && a.map_state == IsViewable)
                return w;
        }
        Window root, parent, *children = nullptr, found = 0;
        unsigned n = 0;
        if (XQueryTree(FDisplay, w, &root, &parent, &children, &n)) {
            for (unsigned i = 0; i < n && !found; ++i)
                found = FindIn(children[i], title);
            if (children)
                XFree(children);
        }
        return found;
    }

    Window FindWindow(const std::string& title, int timeoutMs)
    {
        const long long deadline = NowMs() + timeoutMs;
        while (NowMs() < deadline) {
            if (Window found = FindIn(DefaultRootWindow(FDisplay), title))
                return found;
            usleep(10000);
        }
        return 0;
    }

    // A left click at a point of one of the program's windows.
    void ClickAt(Window w, int x, int y)
    {
        int rootX = 0, rootY = 0;
        Window child;
        XTranslateCoordinates(FDisplay, w, DefaultRootWindow(FDisplay), x, y, &rootX, &rootY, &child);
        XTestFakeMotionEvent(FDisplay, DefaultScreen(FDisplay), rootX, rootY, CurrentTime);
        XTestFakeButtonEvent(FDisplay, 1, True, CurrentTime);
        XTestFakeButtonEvent(FDisplay, 1, False, CurrentTime);
        XSync(FDisplay, False);
        usleep(300000);
    }

    void SaveWindowPicture(Window w, const std::string& name)
    {
        XWindowAttributes a{};
        ASSERT_TRUE(XGetWindowAttributes(FDisplay, w, &a));
        XImage* image = XGetImage(FDisplay, w, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
        ASSERT_NE(image, nullptr);
        TSurface picture(a.width, a.height);
        for (Integer y = 0; y < a.height; ++y)
            for (Integer x = 0; x < a.width; ++x)
                picture.Row(y)[x] = 0xFF000000u | uint32_t(XGetPixel(image, x, y) & 0xFFFFFF);
        XDestroyImage(image);
        SavePngFile((OutputDir() / name).string(), picture);
    }

    Display* FDisplay = nullptr;
    pid_t FPid = -1;
    std::filesystem::path FErr;
};

TEST_F(X11DesignerProgramTest, APersonPlacesABarSavesTheFormAndClosesTheDesigner)
{
    const std::filesystem::path saved = OutputDir() / ("x11-designed-" + std::to_string(getpid()) + ".dfm");
    std::filesystem::remove(saved);
    Start({LD_PACKAGE_FILE, "--save", saved.string()});
    const Window w = FindWindow("Launchdeck Designer", 10000);
    ASSERT_NE(w, 0u) << ReadAll(FErr);
    const Window form = FindWindow("Form1", 10000);
    ASSERT_NE(form, 0u);
    ASSERT_NE(FindWindow("Properties", 10000), 0u);
    usleep(300000);

    ClickAt(w, 18, 36);     // the first button of the palette: the bar
    ClickAt(form, 146, 57); // on the form, where the bar goes
    ClickAt(w, 530, 46);    // Save
    const long long deadline = NowMs() + 10000;
    while (!std::filesystem::exists(saved) && NowMs() < deadline)
        usleep(20000);
    SaveWindowPicture(form, "x11-designer-window.png");
    const std::string form = ReadAll(saved);
    EXPECT_NE(form.find("TLaunchdeck"), std::string::npos) << "see x11-designer-window.png; " << ReadAll(FErr);
    EXPECT_NE(form.find("Launchdeck1"), std::string::npos);

    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(FDisplay, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(XInternAtom(FDisplay, "WM_DELETE_WINDOW", False));
    XSendEvent(FDisplay, w, False, NoEventMask, &ev);
    XFlush(FDisplay);
    EXPECT_EQ(WaitForExit(10000), 0) << ReadAll(FErr);
    std::filesystem::remove(saved);
}

TEST_F(X11DesignerProgramTest, WithoutADisplayOnlyAScriptedSessionRuns)
{
    FPid = fork();
    if (FPid == 0) {
        int err = open(FErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(err, 2);
        unsetenv("DISPLAY");
        execl(LD_DESIGNER_PROGRAM, LD_DESIGNER_PROGRAM, LD_PACKAGE_FILE, static_cast<char*>(nullptr));
        _exit(127);
    }
    EXPECT_EQ(WaitForExit(10000), 2);
    EXPECT_NE(ReadAll(FErr).find("give a script (--script FILE)"), std::string::npos) << ReadAll(FErr);
}

} // namespace
} // namespace ld::test
